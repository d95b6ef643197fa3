#include "ui/update/update_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/gui_interaction.h"

namespace qx::ui {

UpdateWindow::UpdateWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("frmUpdate");
    auto* layout = new QVBoxLayout(this);
    status_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setRange(0, 0);
    layout->addWidget(status_);
    layout->addWidget(bar_);
    resize(420, 110);
}

void UpdateWindow::caption(const std::string& text) {
    setWindowTitle(Q(text));
    show();
    QApplication::processEvents();
}

void UpdateWindow::status(const std::string& text) {
    status_->setText(Q(text));
    bar_->setRange(0, 0);
    QApplication::processEvents();
}

void UpdateWindow::notice(const std::string& text) {
    status(text);
    GuiInteraction(this).inform(text, kDefaultTitle);
}

bool UpdateWindow::progress(long long done, long long total) {
    // The bar counts kilobytes so that big files stay within int.
    if (total > 0) {
        bar_->setRange(0, static_cast<int>(total / 1024 + 1));
        bar_->setValue(static_cast<int>(done / 1024));
    }
    QApplication::processEvents();
    return true;
}

}  // namespace qx::ui
