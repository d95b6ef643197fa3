// Shown while the session is prepared after login.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

namespace qx::ui {

class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SplashWindow(QWidget* parent = nullptr);
    void setStatus(const QString& text);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* status_;
    QLabel* blink_;
    QTimer* timer_;
};

}  // namespace qx::ui
