// Base of every business screen (frmDoc…): its identifier as object name and
// its title line on top; the screen fills the space below.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "session/menu_catalogue.h"

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class BusinessScreen : public QWidget {
    Q_OBJECT
  public:
    BusinessScreen(const QString& id, const QString& title, QWidget* parent = nullptr);

    QString id() const { return objectName(); }
    QString title() const;
    // Asked again by the menu while open (frmDoc60 switches its board).
    virtual void reopen(const MenuChoice&) {}
    // Opens a window that belongs to this screen (frmDoc31_1 over frmDoc31).
    bool openSubScreen(const std::string& id) { return subScreens_ && subScreens_(id); }
    void setSubScreenOpener(std::function<bool(const std::string&)> opener) {
        subScreens_ = std::move(opener);
    }
    // Screens that list members answer for the member-change entry.
    virtual MemberListState memberList() const {
        return memberList_ ? memberList_() : MemberListState{};
    }
    void setMemberList(std::function<MemberListState()> f) { memberList_ = std::move(f); }

    // The space below the title line.
    QVBoxLayout* body() const { return body_; }

  private:
    std::function<bool(const std::string&)> subScreens_;
    QLabel* title_;
    QScrollArea* scroll_;
    QVBoxLayout* body_;
    std::function<MemberListState()> memberList_;
};

// What a screen may use of the running program.
struct ScreenContext {
    Database& db;
    SessionContext& session;
    Interaction& ui;
    std::function<void(const std::string& url)> openUrl;
    // Opens another business screen by its identifier (closing this one).
    std::function<bool(const std::string& screen)> openScreen;
    // Opens the member card on a member (a row chosen in the member list).
    std::function<void(long long member)> openMember;
};

// Builds the screen a menu choice opens; a screen whose work comes later is
// its titled frame only.
BusinessScreen* CreateBusinessScreen(const MenuChoice& choice, ScreenContext& context,
                                     QWidget* parent = nullptr);

}  // namespace qx::ui
