#include "ui/board/board_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "platform/http.h"
#include "session/service_web.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

BoardWindow::BoardWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmBoard");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel(this);
    QFont f = caption_->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    caption_->setFont(f);
    view_ = new QTextBrowser(this);
    view_->setOpenExternalLinks(true);
    layout->addWidget(caption_);
    layout->addWidget(view_);
    resize(640, 480);
}

void BoardWindow::showNotice(const QString& caption, const std::string& webHost,
                             const QString& number) {
    caption_->setText(caption);
    setWindowTitle(caption);
    const std::string url = NoticePageUrl(webHost, S(number));
    // Links and pictures of the page are relative to its own address.
    view_->document()->setBaseUrl(QUrl(Q(url)));
    view_->setHtml(Q(HttpGetTextInteractive(url)));
    if (auto* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    exec();
}

}  // namespace qx::ui
