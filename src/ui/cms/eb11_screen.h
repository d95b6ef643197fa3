// frmDoc33 / frmDoc33_1: the received EB11 files with their states, the
// applied rows of the chosen file's day, and the buttons that apply the
// file, write its EB12 and mark the EB12 sent. frmEa12Create: the test
// institution's EA12.
#pragma once

#include <QDialog>
#include <QWidget>

class QComboBox;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb11Screen : public QWidget {
    Q_OBJECT
  public:
    Eb11Screen(Database& db, const SessionContext& session, Interaction& ui,
               QWidget* parent = nullptr);
    // "frmDoc33_1" for institutions that take new members from banks.
    static const char* ScreenId(const SessionContext& session);

    void refresh();
    void showDetail();
    void apply();
    void writeEb12();
    void markSent();

  private:
    // The selected file's day (yyyymmdd): from the file, or for an archived
    // one from the year box and its name.
    std::string selectedDay() const;
    std::string selectedPath() const;

    Database& db_;
    const SessionContext& session_;
    Interaction& ui_;
    QComboBox* years_;
    QTableWidget* files_;
    QTableWidget* details_;
    // frmDoc33 only: the relay's account-change and cancellation notices.
    QTableWidget* notices_ = nullptr;
};

class Ea12Dialog : public QDialog {
    Q_OBJECT
  public:
    Ea12Dialog(const SessionContext& session, Interaction& ui, QWidget* parent = nullptr);
    void refresh();
    void create();

  private:
    const SessionContext& session_;
    Interaction& ui_;
    QTableWidget* files_;
    QLineEdit* news_;
    QLineEdit* cancels_;
};

// The EB11/EB12 button of the status screen: a live institution gets its
// EB11 screen in a window, a test institution the question and the EA12.
void OpenEb11FromStatus(Database& db, const SessionContext& session, Interaction& ui,
                        QWidget* parent);

}  // namespace qx::ui
