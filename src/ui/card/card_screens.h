// The card screens: frmDoc38 (card member requests and their results) with
// frmDoc38_1 (the card member request), frmDoc39 (card payment requests and
// their results) with frmDoc39_1 (the card payment request) and frmDoc39_2
// (the cancellation selection); Ctrl+F10 on the result screens opens the
// card rollbacks behind the maintenance password.
#pragma once

#include <QDialog>
#include <QWidget>
#include <vector>

#include "channels/card/card_payments.h"
#include "cms/eb21/eb21_targets.h"
#include "ui/cms/file_rollback_screen.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb21ChoicePanel;

// frmCMEMroolback / frmCPAYroolback.
class CardRollbackScreen : public FileRollbackScreen {
    Q_OBJECT
  public:
    CardRollbackScreen(Database& db, const SessionContext& session, Interaction& ui, bool members,
                       QWidget* parent = nullptr);
};

// frmDoc38_1.
class CardMemberRequestDialog : public QDialog {
    Q_OBJECT
  public:
    CardMemberRequestDialog(Database& db, SessionContext& session, Interaction& ui,
                            QWidget* parent = nullptr);
    void refresh();
    void create();
    QTableWidget* grid() const { return grid_; }
    QDateEdit* date() const { return date_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* date_;
    QTableWidget* grid_;
    QLabel* count_;
};

// frmDoc39_1: listed as the EB21 screen lists, with the card columns.
class CardPaymentRequestDialog : public QDialog {
    Q_OBJECT
  public:
    // `prepare` asks the server for the billable items (the service web
    // server's script when empty).
    CardPaymentRequestDialog(Database& db, SessionContext& session, Interaction& ui,
                             BillablePreparer prepare = {}, QWidget* parent = nullptr);
    // Asks the server to prepare and lists; false when the preparation failed.
    bool search();
    void create();
    // Deselects the rows the exclusion criterion matches.
    void exclude();
    void toggleAll();
    const std::vector<Eb21Row>& rows() const { return rows_; }
    QTableWidget* grid() const { return grid_; }
    QDateEdit* date() const { return date_; }
    QLabel* figures() const { return figures_; }

  private:
    void showTicks();
    void showFigures();
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QDateEdit* date_;
    Eb21ChoicePanel* choices_;
    QTableWidget* grid_;
    QLabel* figures_;
    BillablePreparer prepare_;
    std::vector<Eb21Row> rows_;
};

// frmDoc39_2.
class CardCancellationDialog : public QDialog {
    Q_OBJECT
  public:
    CardCancellationDialog(Database& db, SessionContext& session, Interaction& ui,
                           QWidget* parent = nullptr);
    void refresh();
    void add();
    void remove();
    // Unticks the candidates the exclusion criterion matches.
    void exclude();
    void toggleAll();
    QTableWidget* candidates() const { return candidates_; }
    QTableWidget* scheduled() const { return scheduled_; }
    QDateEdit* date() const { return date_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::vector<Eb21Row> tickedRows() const;
    void showTicks(const std::vector<Eb21Row>& rows);
    QDateEdit* date_;
    Eb21ChoicePanel* exclusions_;
    QTableWidget* candidates_;
    QTableWidget* scheduled_;
    std::vector<ApprovedPayment> found_;
};

// frmDoc38 and frmDoc39.
class CardResultScreen : public QWidget {
    Q_OBJECT
  public:
    CardResultScreen(Database& db, SessionContext& session, Interaction& ui, bool members,
                     QWidget* parent = nullptr);
    void refresh();
    void showDetail();
    CardMemberRequestDialog* openMemberRequest();
    CardPaymentRequestDialog* openPaymentRequest(BillablePreparer prepare = {});
    CardCancellationDialog* openCancellations();
    void openRollback();
    // frmLMS2 on the chosen card payment request.
    void openSms();
    QTableWidget* files() const { return files_; }
    QTableWidget* details() const { return details_; }
    QComboBox* filter() const { return filter_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    bool members_;
    QDateEdit* from_;
    QDateEdit* to_;
    QTableWidget* files_;
    QTableWidget* details_;
    QComboBox* filter_;
    QLabel* detailTitle_;
};

}  // namespace qx::ui
