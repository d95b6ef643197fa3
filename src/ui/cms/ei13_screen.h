// frmDoc34: the EI13 files with their members, the agreement figures, and
// the buttons that create and send the day's file; Ctrl+F10 leads through
// frmRollBack to frmEi13roolback. popupFrm21_EI: the member card's chooser
// of an agreement file.
#pragma once

#include <QDialog>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Ei13Screen : public QWidget {
    Q_OBJECT
  public:
    Ei13Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);

    void refresh();
    void showDetail();
    void create();
    void send();
    void openRollback();

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* from_;
    QDateEdit* to_;
    QDateEdit* fileDate_;
    QLabel* figures_;
    QTableWidget* files_;
    QTableWidget* details_;
};

// frmEi13roolback: the one file that may be taken back.
class Ei13RollbackScreen : public QDialog {
    Q_OBJECT
  public:
    Ei13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                       QWidget* parent = nullptr);
    void refill();
    void rollBack();

  private:
    Database& db_;
    const SessionContext& session_;
    Interaction& ui_;
    QTableWidget* files_;
};

// popupFrm21_EI: the kind of agreement and its file for one member.
class AgreementChooserDialog : public QDialog {
    Q_OBJECT
  public:
    AgreementChooserDialog(Database& db, const SessionContext& session, Interaction& ui,
                           long long member, QWidget* parent = nullptr);
    void browse();
    // Attaches the chosen file; closes on success.
    void attach();

  private:
    Database& db_;
    const SessionContext& session_;
    Interaction& ui_;
    long long member_;
    QComboBox* kind_;
    QLineEdit* path_;
};

}  // namespace qx::ui
