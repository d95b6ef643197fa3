// The window that shows the update check at start.
#pragma once

#include <QDialog>

#include "session/update_check.h"

class QLabel;
class QProgressBar;

namespace qx::ui {

class UpdateWindow : public QDialog, public UpdateDisplay {
    Q_OBJECT
  public:
    explicit UpdateWindow(QWidget* parent = nullptr);
    void caption(const std::string& text) override;
    void status(const std::string& text) override;
    void notice(const std::string& text) override;
    bool progress(long long done, long long total) override;

  private:
    QLabel* status_;
    QProgressBar* bar_;
};

}  // namespace qx::ui
