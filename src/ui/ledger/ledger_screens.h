// The batch screens of the ledger: batch sale (frmDoc23), the sale and
// collection histories with their cancellation (frmDoc24, frmDoc26), batch
// collection (frmDoc25) and the bulk removals (frmDoc27, frmDoc27_1).
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "ledger/batch_collection.h"
#include "ledger/batch_runs.h"
#include "ledger/batch_sales.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class MemberFilterBar;
struct ScreenContext;

class SaleRunScreen : public QWidget {
    Q_OBJECT
  public:
    SaleRunScreen(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                  QWidget* parent = nullptr);
    void search();
    SaleRunResult runSale();
    QTableWidget* table() const { return table_; }
    QLabel* totals() const { return totals_; }
    MemberFilterBar* filterBar() const { return filter_; }

  signals:
    void finished(AfterSaleRun next);

  private:
    SaleQuery query() const;

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    MemberFilterBar* filter_;
    QCheckBox* unbilled_;
    QLineEdit* date_;
    QTableWidget* table_;
    QLabel* totals_;
    std::optional<SaleCandidates> searched_;
    SaleQuery searchedQuery_;
};

class CollectionRunScreen : public QWidget {
    Q_OBJECT
  public:
    CollectionRunScreen(Database& db, SessionContext& session, Interaction& ui,
                        QWidget* parent = nullptr);
    void search();
    CollectionRunResult runCollection();
    QTableWidget* table() const { return table_; }
    MemberFilterBar* filterBar() const { return filter_; }

  signals:
    void finished(bool openHistory);

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    MemberFilterBar* filter_;
    QComboBox* mode_;
    QLineEdit *date_, *item_, *title_;
    QTableWidget* table_;
    bool searched_ = false;
    BatchFilter searchedFilter_;
};

class RunHistoryScreen : public QWidget {
    Q_OBJECT
  public:
    RunHistoryScreen(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                     RunKind kind, QWidget* parent = nullptr);
    void search();
    void showDetail();
    bool cancelSelected();
    // Opens the batch sale or collection window; it reloads this list when
    // its run is done.
    QWidget* openRunWindow();
    QTableWidget* runs() const { return runs_; }
    QTableWidget* detail() const { return detail_; }
    void setEb21Opener(std::function<void()> open) { openEb21_ = std::move(open); }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    RunKind kind_;
    QLineEdit *from_, *to_;
    QComboBox* rowFilter_;
    QTableWidget *runs_, *detail_;
    std::vector<long long> keys_;
    std::function<void()> openEb21_;
};

class BulkRemovalScreen : public QWidget {
    Q_OBJECT
  public:
    // `outstanding`: frmDoc27, else frmDoc27_1.
    BulkRemovalScreen(Database& db, SessionContext& session, Interaction& ui, bool outstanding,
                      QWidget* parent = nullptr);
    void search();
    long long removeAll();
    QTableWidget* table() const { return table_; }
    MemberFilterBar* filterBar() const { return filter_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    bool outstanding_;
    MemberFilterBar* filter_;
    QTableWidget* table_;
    bool searched_ = false;
    BatchFilter searchedFilter_;
};

// The ledger screen of a menu identifier, nullptr for other identifiers.
QWidget* CreateLedgerScreen(const std::string& id, ScreenContext& context, QWidget* parent);

// SYSTEM/WEBHOST of the program folder's Login.ini.
std::string ScreenWebHost(const SessionContext& session);

}  // namespace qx::ui
