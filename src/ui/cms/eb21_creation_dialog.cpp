#include "ui/cms/eb21_creation_dialog.h"

#include <QAbstractTableModel>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "cms/eb21/eb21_creation.h"
#include "core/session_context.h"
#include "members/program_settings.h"
#include "platform/amount_text.h"
#include "ui/cms/eb21_choice_panel.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/ledger/auto_sale_dialog.h"
#include "ui/ledger/ledger_screens.h"

namespace qx::ui {

// The grid over the rows; the first column is the row's check box. A model
// rather than cells, because an institution may list a hundred thousand rows.
class Eb21RowModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    std::function<void()> changed;

    void reset(std::vector<Eb21Row>* rows) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    }
    void refresh() {
        if (rows_ && !rows_->empty())
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, 0), {Qt::CheckStateRole});
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !rows_ ? 0 : static_cast<int>(rows_->size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(Eb21GridColumns().size()) + 1;
    }
    QVariant data(const QModelIndex& i, int role) const override {
        if (!rows_) return {};
        const Eb21Row& r = (*rows_)[static_cast<std::size_t>(i.row())];
        if (i.column() == 0)
            return role == Qt::CheckStateRole ? QVariant(r.selected ? Qt::Checked : Qt::Unchecked)
                                              : QVariant();
        if (role != Qt::DisplayRole) return {};
        return Q(Eb21GridCells(r)[static_cast<std::size_t>(i.column() - 1)]);
    }
    bool setData(const QModelIndex& i, const QVariant& v, int role) override {
        if (!rows_ || i.column() != 0 || role != Qt::CheckStateRole) return false;
        (*rows_)[static_cast<std::size_t>(i.row())].selected =
            v.toInt() == static_cast<int>(Qt::Checked);
        emit dataChanged(i, i, {Qt::CheckStateRole});
        if (changed) changed();
        return true;
    }
    Qt::ItemFlags flags(const QModelIndex& i) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (i.column() == 0) f |= Qt::ItemIsUserCheckable;
        return f;
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (o == Qt::Vertical) return section + 1;
        if (section == 0) return QStringLiteral("선택");
        return Q(Eb21GridColumns()[static_cast<std::size_t>(section - 1)]);
    }

  private:
    std::vector<Eb21Row>* rows_ = nullptr;
};

Eb21CreationDialog::Eb21CreationDialog(Database& db, SessionContext& session, Interaction& ui,
                                       std::string webHost, BillablePreparer prepare,
                                       QWidget* parent)
    : QDialog(parent),
      db_(db),
      session_(session),
      ui_(ui),
      webHost_(std::move(webHost)),
      prepare_(std::move(prepare)) {
    setObjectName("frmDoc32_1");
    setWindowTitle(QStringLiteral("CMS 출금파일 생성"));
    resize(1280, 760);
    auto* layout = new QVBoxLayout(this);

    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(new QLabel(QStringLiteral("이체일자"), this));
    date_ = new QDateEdit(this);
    date_->setObjectName("DT1");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("yyyy-MM-dd");
    dateRow->addWidget(date_);
    dateRow->addStretch(1);
    layout->addLayout(dateRow);
    choices_ = new Eb21ChoicePanel(ui_, true, this);
    layout->addWidget(choices_);

    auto* searchButton = new QPushButton(QStringLiteral("조회"), this);
    searchButton->setObjectName("cmdSearch");
    auto* createButton = new QPushButton(QStringLiteral("파일생성"), this);
    createButton->setObjectName("cmdCreate");
    auto* closeButton = new QPushButton(QStringLiteral("닫기"), this);
    closeButton->setObjectName("cmdClose");
    // Creating a file cannot be undone: Enter searches and never creates.
    for (QPushButton* b : {searchButton, createButton, closeButton}) b->setAutoDefault(false);
    searchButton->setDefault(true);
    choices_->bar()->addWidget(searchButton);
    choices_->bar()->addWidget(createButton);
    choices_->bar()->addWidget(closeButton);

    model_ = new Eb21RowModel(this);
    model_->changed = [this] { showFigures(); };
    grid_ = new QTableView(this);
    grid_->setObjectName("grdRows");
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    AttachExcelExport(*grid_, "출금대상내역", db_, session_, ui_);
    layout->addWidget(grid_, 1);

    auto* foot = new QHBoxLayout;
    selection_ = new QLabel(this);
    selection_->setObjectName("lblSelection");
    figures_ = new QLabel(this);
    figures_->setObjectName("lblFigures");
    excess_ = new QLabel(this);
    excess_->setObjectName("lblExcess");
    excess_->setStyleSheet("color: #b00000;");
    foot->addWidget(selection_);
    foot->addStretch(1);
    foot->addWidget(figures_);
    foot->addWidget(excess_);
    layout->addLayout(foot);

    connect(searchButton, &QPushButton::clicked, this, [this] { search(); });
    connect(createButton, &QPushButton::clicked, this, &Eb21CreationDialog::create);
    connect(choices_->excludeButton(), &QPushButton::clicked, this, &Eb21CreationDialog::exclude);
    connect(choices_->selectAllButton(), &QPushButton::clicked, this,
            &Eb21CreationDialog::toggleAll);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    Guarded(ui_, [this] {
        choices_->setSettings(LoadProgramSettings(db_, session_).cms_set);
        date_->setDate(ToQDate(Eb21DefaultFileDate(db_, session_)));
    });
}

bool Eb21CreationDialog::start() {
    bool ok = true;
    Guarded(ui_, [this, &ok] {
        const ProgramSettings settings = LoadProgramSettings(db_, session_);
        if (!settings.month_current ||
            CmsSetDigit(settings.cms_set, kPosAutoSales) == kAutoSalesUnused)
            return;
        AutoSaleDialog sale(db_, session_, ui_, webHost_,
                            date_->date().toString("yyyy-MM-dd").toStdString(), this);
        ok = sale.exec() == QDialog::Accepted;
    });
    return ok && search();
}

bool Eb21CreationDialog::search() {
    bool ok = false;
    Guarded(ui_, [this, &ok] {
        model_->reset(nullptr);
        Eb21Search s = SearchEb21Targets(db_, session_, ui_, FromQDate(date_->date()),
                                         choices_->options(), prepare_);
        rows_ = std::move(s.rows);
        model_->reset(&rows_);
        ok = !s.failed;
    });
    showFigures();
    if (!ok) reject();
    return ok;
}

void Eb21CreationDialog::showFigures() {
    const Eb21Selection sel = SelectedOf(rows_);
    selection_->setText(Q(SelectionText(sel)));
    Guarded(ui_, [this, &sel] {
        const Eb21MonthFigures f = LoadMonthFigures(db_, session_, FromQDate(date_->date()));
        figures_->setText(Q("월출금한도 : " + FormatAmount(f.limit) +
                            " 원  / 금월사용액 : " + FormatAmount(f.used) +
                            " 원  / 잔여한도 : " + FormatAmount(f.remaining()) + " 원"));
        const long long over = f.excess(sel.amount);
        excess_->setText(over > 0 ? Q(FormatAmount(over) + " 원 월이체한도 초과") : QString());
    });
}

void Eb21CreationDialog::exclude() {
    choices_->exclude(rows_, FromQDate(date_->date()));
    model_->refresh();
    showFigures();
}

void Eb21CreationDialog::toggleAll() {
    Eb21ChoicePanel::toggleAll(rows_);
    model_->refresh();
    showFigures();
}

void Eb21CreationDialog::create() {
    Eb21Result r;
    Guarded(ui_, [this, &r] {
        Eb21Request request;
        request.fileDate = FromQDate(date_->date());
        request.rows = rows_;
        request.launch.openKftcScreen = [this] { ShowKftcSendScreen(db_, session_, ui_, this); };
        r = CreateEb21File(db_, session_, ui_, request);
    });
    if (r.outcome != Eb21Outcome::Created) return;
    if (r.closeScreen) {
        accept();
        return;
    }
    search();
}

bool OpenEb21Creation(Database& db, SessionContext& session, Interaction& ui, QWidget* parent) {
    const std::string webHost = ScreenWebHost(session);
    auto* dialog = new Eb21CreationDialog(
        db, session, ui, webHost, ServiceBillablePreparer(webHost, session.institution_number),
        parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->start()) {
        dialog->deleteLater();
        return false;
    }
    dialog->show();
    return true;
}

}  // namespace qx::ui
