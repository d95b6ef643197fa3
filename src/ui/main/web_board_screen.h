// frmDoc60: the service's boards. Until the service pages can be shown here
// they open in the default browser from this screen.
#pragma once

#include "ui/main/business_screen.h"

class QLabel;

namespace qx::ui {

class WebBoardScreen : public BusinessScreen {
    Q_OBJECT
  public:
    WebBoardScreen(const QString& id, const QString& title, ScreenContext& context,
                   QWidget* parent = nullptr);
    void reopen(const MenuChoice& choice) override;
    QString url() const { return url_; }

  private:
    ScreenContext& context_;
    QLabel* address_;
    QString url_;
};

}  // namespace qx::ui
