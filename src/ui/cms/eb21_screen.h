// frmDoc32: the institution's EB21 files with their transmission state and
// result figures, the requests of a file with their results, applying the
// received EB22 files, the way to the EB21 creation and, behind Ctrl+F10,
// the EB21 rollback.
#pragma once

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb21Screen : public QWidget {
    Q_OBJECT
  public:
    Eb21Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);

    void refresh();
    // Opens frmDoc32_1 when some member is due for a withdrawal; false when
    // it did not open.
    bool openCreation();
    // Applies every EB22 of the exchange folder, then lists again.
    void applyEb22();
    // Ctrl+F10: the maintenance password, then the EB21 rollback screen.
    void openRollback();
    // frmLMS2 on the members of the chosen file.
    void openSms();
    // The detail grid: the selected file's requests, or the search's rows.
    void showDetail();

  private:
    void toggleSearch();

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* from_;
    QDateEdit* to_;
    QLineEdit* search_;
    QPushButton* searchToggle_;
    QLabel* waiting_;
    QTableWidget* files_;
    QLabel* detailTitle_;
    QComboBox* filter_;
    QTableWidget* details_;
    bool searchSet_ = false;
};

// frmDoc32 in a window of its own over `parent`, until the user closes it.
void ShowEb21Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

}  // namespace qx::ui
