#include "ui/gui_interaction.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <stdexcept>
#include <utility>

#include "db/database.h"

namespace qx::ui {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
std::string S(const QString& s) {
    return s.toStdString();
}

QDate ToQDate(const CivilDate& d) {
    return QDate(d.year, d.month, d.day);
}

CivilDate FromQDate(const QDate& d) {
    return CivilDate{d.year(), d.month(), d.day()};
}

bool Guarded(Interaction& ui, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::invalid_argument& e) {
        ui.inform(e.what(), kDefaultTitle);
    } catch (const DatabaseError& e) {
        ui.inform(e.userMessage(), kDefaultTitle);
        // Every open loop returns, the main one with this code: the program ends.
        QApplication::exit(1);
    } catch (const std::exception& e) {
        ui.inform(std::string(kUnexpectedFailureText) + "\n> 오류 정보 : " + e.what(),
                  kDefaultTitle);
    }
    return false;
}

void GuiInteraction::inform(const std::string& text, const std::string& title) {
    QMessageBox::information(parent_, Q(title), Q(text));
}

bool GuiInteraction::confirm(const std::string& text, const std::string& title) {
    return QMessageBox::question(parent_, Q(title), Q(text), QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void GuiInteraction::progress(const std::string& text, long long done, long long total) {
    if (!progress_) {
        progress_ = new QProgressDialog(parent_);
        progress_->setCancelButton(nullptr);
        progress_->setMinimumDuration(300);
        progress_->setWindowModality(Qt::WindowModal);
    }
    progress_->setLabelText(Q(text));
    progress_->setMaximum(static_cast<int>(std::min<long long>(total, INT32_MAX)));
    progress_->setValue(static_cast<int>(std::min<long long>(done, INT32_MAX)));
    // Keep the window painting while the work goes on.
    QApplication::processEvents();
    // Forget the finished window now: a next task starts a window of its own
    // rather than reusing one already on its way out.
    if (done >= total) std::exchange(progress_, nullptr)->deleteLater();
}

std::string GuiInteraction::chooseFolder(const std::string& caption, const std::string& start) {
    return S(QFileDialog::getExistingDirectory(parent_, Q(caption), Q(start)));
}

std::string GuiInteraction::chooseFile(const std::string& caption, const std::string& filter) {
    return S(QFileDialog::getOpenFileName(parent_, Q(caption), QString(), Q(filter)));
}

}  // namespace qx::ui
