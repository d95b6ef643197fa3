// frmMain: the frame holding one business screen at a time, with the menus,
// the summary panel and the quick buttons.
#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/user_settings.h"
#include "session/menu_catalogue.h"
#include "ui/main/business_screen.h"

class QMdiArea;
class QToolButton;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class SummaryPanel;

// What the frame hands to the desktop; tests put recorders in their place.
struct MainFrameHooks {
    std::function<void(const std::string& url)> openUrl;
    std::function<bool(const std::string& program)> startProgram;
    // The KFTC status query; it comes with the transmission. Unset: the
    // question is asked and nothing is queried yet.
    std::function<std::optional<std::string>()> kftcStatusQuery;
    // Windows the frame opens outside the business screens (the KFTC
    // transmission, EB12 creation, the companion program...).
    std::function<void(const std::string& title)> openToolWindow;
    // Loads a page in the hidden web window of the tax-invoice module; set
    // together with that module, which opens the web session it ends.
    std::function<void(const std::string& url)> hiddenNavigate;
};

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kMinimumWidth = 640;
    static constexpr int kMinimumHeight = 480;

    MainFrame(Database& db, SessionContext& session, Interaction& ui, UserSettings settings,
              MainFrameHooks hooks = {}, QWidget* parent = nullptr);

    // Restores the saved placement and shows the window.
    void showPlaced();
    // The first screen: the file screen when results wait, else the members.
    void startUp();

    // Opens a screen by menu code under the role gates; false when nothing
    // was opened or closed.
    bool OpenMenuScreen(int group, int item);
    // The same by screen identifier, e.g. "frmDoc14".
    bool openScreenById(const std::string& screen);
    // Opens the member card on a member through the member list, as the
    // member-change entry does for the list's current row.
    bool openMemberCard(long long member);

    std::string currentScreen() const { return current_; }
    QStringList openScreens() const;
    BusinessScreen* currentBusinessScreen() const;
    SummaryPanel* summaryPanel() const { return panel_; }
    int highlightedGroup() const { return highlightedGroup_; }

    // The page other screens ask the file screen to show first.
    void setFileSubPage(int page) { fileSubPage_ = page; }
    int fileSubPage() const { return fileSubPage_; }
    void setTaxModuleInUse(bool inUse) { taxModuleInUse_ = inUse; }

    void refreshSummary();
    void refreshEb11();
    void onEb11Clicked();
    void runQuickAction(QuickAction action);
    void startRemoteSupport();
    void savePlacement();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    void buildButtonBar();
    void highlightGroup(int group);
    void closeOtherScreens();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    UserSettings settings_;
    MainFrameHooks hooks_;
    ScreenContext screenContext_;
    QMdiArea* area_;
    SummaryPanel* panel_;
    std::map<int, QToolButton*> groupButtons_;
    std::string current_;
    int highlightedGroup_ = 0;
    int fileSubPage_ = 0;
    bool taxModuleInUse_ = false;
};

}  // namespace qx::ui
