// The OCR giro screens: popupGIRO opens a GR15 receipt statement, shows its
// rows and applies it; frmDoc37 lists the applied files and their rows.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

#include "channels/giro/gr15_file.h"

class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

// The file dialog: caption, starting folder, filter; empty when cancelled.
using Gr15FileChooser =
    std::function<QString(const QString& caption, const QString& folder, const QString& filter)>;

class GiroReceiptDialog : public QDialog {
    Q_OBJECT
  public:
    GiroReceiptDialog(Database& db, SessionContext& session, Interaction& ui,
                      QWidget* parent = nullptr);
    // Tests choose the file without a dialog.
    void setFileChooser(Gr15FileChooser chooser) { chooser_ = std::move(chooser); }

    // Asks for a file, starting in the last giro folder or the file folder
    // of the settings, and shows its rows when it may be applied.
    void openFile();
    // Shows the rows of the file at `path` when it may be applied.
    void load(const QString& path);
    // Applies the shown file after the user's yes; true when applied.
    bool apply();
    QTableWidget* grid() const { return grid_; }

  signals:
    void applied();

  private:
    QString startFolder() const;

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    Gr15FileChooser chooser_;
    QLabel* path_;
    QLabel* count_;
    QTableWidget* grid_;
    QPushButton* apply_;
    std::optional<Gr15File> file_;
};

class Gr15ReportScreen : public QWidget {
    Q_OBJECT
  public:
    Gr15ReportScreen(Database& db, SessionContext& session, Interaction& ui,
                     QWidget* parent = nullptr);
    void refresh();
    void showDetail();
    // popupGIRO over this screen; the list follows what it applied.
    GiroReceiptDialog* openReceipts();
    QTableWidget* files() const { return files_; }
    QTableWidget* details() const { return details_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* from_;
    QDateEdit* to_;
    QTableWidget* files_;
    QLabel* detailTitle_;
    QLabel* unbooked_;
    QTableWidget* details_;
};

}  // namespace qx::ui
