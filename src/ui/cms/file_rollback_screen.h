// The rollback screens of request files (frmEa13roolback, frmEa21roolback):
// the files whose result is not applied, a tick column, "롤백" and "닫기".
// Enter never takes a file back: only a click (or Space) on "롤백" does.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

class QBoxLayout;
class QPushButton;
class QTableWidget;

namespace qx {
class Interaction;
}

namespace qx::ui {

// "롤백" ("cmdRollback") and "닫기" ("cmdClose", accepting `dialog`) at the
// right of a row added to `layout`; returns the rollback button. Neither
// answers Enter: taking files back must be a deliberate click.
QPushButton* AddRollbackButtons(QDialog* dialog, QBoxLayout* layout);

struct FileRollbackSetup {
    QString id, title;
    QStringList captions;    // after the tick column
    int fileNameColumn = 0;  // among `captions`
    // The candidate rows, one text per caption.
    std::function<std::vector<QStringList>()> list;
    // Takes back the ticked files (their names), reporting through the screen's Interaction.
    std::function<void(const std::vector<std::string>&)> rollBack;
};

class FileRollbackScreen : public QDialog {
    Q_OBJECT
  public:
    FileRollbackScreen(Interaction& ui, FileRollbackSetup setup, QWidget* parent = nullptr);

    void refill();
    void rollBack();

  private:
    Interaction& ui_;
    FileRollbackSetup setup_;
    QTableWidget* files_;
};

}  // namespace qx::ui
