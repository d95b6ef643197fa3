#include "ui/login/splash_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace qx::ui {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmSplash");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Quorisdex CMS"), this);
    QFont f = title->font();
    f.setPointSize(f.pointSize() + 10);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    blink_ = new QLabel(QStringLiteral("●"), this);
    blink_->setAlignment(Qt::AlignCenter);
    status_ = new QLabel(this);
    status_->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(blink_);
    layout->addWidget(status_);
    setFixedSize(420, 180);
    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { blink_->setVisible(!blink_->isVisible()); });
    timer_->start(400);
}

void SplashWindow::setStatus(const QString& text) {
    status_->setText(text);
}

void SplashWindow::closeEvent(QCloseEvent* event) {
    timer_->stop();
    QWidget::closeEvent(event);
}

}  // namespace qx::ui
