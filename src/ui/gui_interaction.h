// Message boxes and progress for the desktop.
#pragma once

#include <QDate>
#include <QPointer>
#include <QWidget>

#include "db/business_days.h"
#include "platform/interaction.h"

class QProgressDialog;

namespace qx::ui {

class GuiInteraction : public Interaction {
  public:
    explicit GuiInteraction(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    void progress(const std::string& text, long long done, long long total) override;
    std::string chooseFolder(const std::string& caption, const std::string& start) override;
    std::string chooseFile(const std::string& caption, const std::string& filter) override;

  private:
    QPointer<QWidget> parent_;
    QPointer<QProgressDialog> progress_;
};

QString Q(const std::string& s);
std::string S(const QString& s);
QDate ToQDate(const CivilDate& d);
CivilDate FromQDate(const QDate& d);

}  // namespace qx::ui
