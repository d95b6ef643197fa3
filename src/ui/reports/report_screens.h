// The report screens: frmDoc41 (per collection file), frmDoc42 (per month),
// frmDoc43 (per day), frmDoc44 (per member) and frmDoc45 (a member's year).
// Each gathers the period and the branch, agency and manager, shows what the
// domain computes, saves its grids as Excel and prints them. All but the
// year's report show the default period as they open; that one asks the
// service web server first, so it waits for 조회.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "reports/ledger_report.h"
#include "reports/print_list.h"
#include "reports/report_filter.h"
#include "ui/export/grid_export.h"

class QComboBox;
class QDateEdit;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class ReportScreen : public QWidget {
    Q_OBJECT
  public:
    ReportScreen(Database& db, SessionContext& session, Interaction& ui, QString title,
                 PrintLayout layout, QWidget* parent = nullptr);
    virtual void refresh() = 0;
    // Prints the grids shown: "인쇄할 데이타가 없습니다." when they are empty.
    // The PDF's path, empty when nothing was printed.
    QString print();
    bool exportToExcel();
    QTableWidget* grid() const { return grid_; }
    QTableWidget* detail() const { return detail_; }
    // Where the print list and the PDF go (default: the program folder).
    void setWorkFolder(const QString& folder) { workFolder_ = folder; }
    // Tests answer the column and file choice of the Excel button.
    void setExportDialogs(GridExportDialogs dialogs) { dialogs_ = std::move(dialogs); }

  protected:
    // The bar: period fields first, then the filters and the buttons.
    void addPeriod(QWidget* from, QWidget* to);
    void finishBar();
    void addDetailGrid();
    ReportFilter filter() const;
    // The same as the drop-downs show it, for the printed criteria line.
    ReportFilter shownFilter() const;
    virtual std::string criteria() const = 0;
    virtual std::vector<PrintSection> sections() const;

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    QString title_;
    PrintLayout layout_;
    QHBoxLayout* bar_;
    QComboBox* branch_;
    QComboBox* agency_;
    QComboBox* manager_;
    QTableWidget* grid_;
    QTableWidget* detail_ = nullptr;
    QString workFolder_;
    std::optional<GridExportDialogs> dialogs_;
};

class ChannelReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    ChannelReportScreen(Database& db, SessionContext& session, Interaction& ui,
                        QWidget* parent = nullptr);
    void refresh() override;
    void showDetail();

  private:
    std::string criteria() const override;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* kind_;
    QComboBox* show_;
};

class LedgerReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    // frmDoc42 when `monthly`, frmDoc43 otherwise.
    LedgerReportScreen(Database& db, SessionContext& session, Interaction& ui, bool monthly,
                       QWidget* parent = nullptr);
    void refresh() override;
    void showDetail();

  private:
    std::string criteria() const override;
    LedgerQuery query() const;
    bool monthly_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* by_;
};

class MemberReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    MemberReportScreen(Database& db, SessionContext& session, Interaction& ui,
                       QWidget* parent = nullptr);
    void refresh() override;

  private:
    std::string criteria() const override;
    QDateEdit* from_;
    QDateEdit* to_;
};

class AnnualReportScreen : public ReportScreen {
    Q_OBJECT
  public:
    AnnualReportScreen(Database& db, SessionContext& session, Interaction& ui, MonthdivRequest fill,
                       QWidget* parent = nullptr);
    void refresh() override;

  private:
    std::string criteria() const override;
    MonthdivRequest fill_;
    QLineEdit* year_;
};

}  // namespace qx::ui
