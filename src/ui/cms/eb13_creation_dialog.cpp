#include "ui/cms/eb13_creation_dialog.h"

#include <QAbstractTableModel>
#include <QDateEdit>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/session_context.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/main/business_screen.h"

namespace qx::ui {

// The grid over the listed targets; a model rather than cells, because an
// institution may list a hundred thousand members.
class Eb13TargetModel : public QAbstractTableModel {
  public:
    Eb13TargetModel(const SessionContext& session, QObject* parent)
        : QAbstractTableModel(parent), columns_(Eb13GridColumns(session)) {}

    void reset(const std::vector<Eb13Target>* targets) {
        beginResetModel();
        targets_ = targets;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !targets_ ? 0 : static_cast<int>(targets_->size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!targets_ || role != Qt::DisplayRole) return {};
        return Q(Eb13GridCell((*targets_)[static_cast<std::size_t>(index.row())],
                              static_cast<std::size_t>(index.column())));
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (o == Qt::Vertical) return section + 1;
        return Q(columns_[static_cast<std::size_t>(section)].caption);
    }
    // Grid widths are kept in twips like every screen; 15 twips to a pixel.
    int pixelWidth(int section) const {
        return columns_[static_cast<std::size_t>(section)].width / 15;
    }

  private:
    std::vector<StatusColumn> columns_;
    const std::vector<Eb13Target>* targets_ = nullptr;
};

Eb13CreationDialog::Eb13CreationDialog(Database& db, SessionContext& session, Interaction& ui,
                                       Eb13ClosingQuestion question, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), question_(question) {
    setObjectName("frmDoc31_1");
    setWindowTitle(QStringLiteral("신규/해지 신청파일(EB13) 생성"));
    resize(1200, 700);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("파일일자"), this));
    date_ = new QDateEdit(this);
    date_->setObjectName("dtpFileDate");
    date_->setCalendarPopup(true);
    date_->setDisplayFormat("yyyy-MM-dd");
    bar->addWidget(date_);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    bar->addWidget(count_);
    bar->addStretch(1);
    auto* createButton = new QPushButton(QStringLiteral("파일생성"), this);
    createButton->setObjectName("cmdCreate");
    auto* searchButton = new QPushButton(QStringLiteral("조회"), this);
    searchButton->setObjectName("cmdSearch");
    auto* closeButton = new QPushButton(QStringLiteral("닫기"), this);
    closeButton->setObjectName("cmdClose");
    // Creating a file cannot be undone: Enter (in the date box or anywhere)
    // searches again and never creates.
    for (QPushButton* b : {createButton, searchButton, closeButton}) b->setAutoDefault(false);
    searchButton->setDefault(true);
    bar->addWidget(createButton);
    bar->addWidget(searchButton);
    bar->addWidget(closeButton);
    layout->addLayout(bar);

    model_ = new Eb13TargetModel(session_, this);
    grid_ = new QTableView(this);
    grid_->setObjectName("grdTargets");
    grid_->setModel(model_);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    for (int c = 0; c < model_->columnCount({}); ++c)
        grid_->setColumnWidth(c, model_->pixelWidth(c));
    AttachExcelExport(*grid_, "신규해지신청대상", db_, session_, ui_);
    layout->addWidget(grid_, 1);

    connect(createButton, &QPushButton::clicked, this, &Eb13CreationDialog::create);
    connect(searchButton, &QPushButton::clicked, this, &Eb13CreationDialog::search);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    Guarded(ui_, [this] { date_->setDate(ToQDate(Eb13DefaultFileDate(db_, session_))); });
    search();
}

void Eb13CreationDialog::search() {
    Guarded(ui_, [this] {
        model_->reset(nullptr);
        targets_ = SearchEb13Targets(db_, session_);
        model_->reset(&targets_);
        fitColumns();
        count_->setText(QString::number(targets_.size()) + QStringLiteral(" 건"));
    });
}

void Eb13CreationDialog::fitColumns() {
    // The stored widths are the least; Hangul often needs more. Only the first
    // rows are measured: a long list must not be walked for its widths.
    const QFontMetrics metrics(grid_->font());
    const int sample = std::min(model_->rowCount({}), 200);
    for (int c = 0; c < model_->columnCount({}); ++c) {
        int width =
            std::max(model_->pixelWidth(c),
                     metrics.horizontalAdvance(
                         model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) +
                         16);
        for (int r = 0; r < sample; ++r) {
            width =
                std::max(width, metrics.horizontalAdvance(
                                    model_->data(model_->index(r, c), Qt::DisplayRole).toString()) +
                                    12);
        }
        grid_->setColumnWidth(c, width);
    }
}

void Eb13CreationDialog::create() {
    Guarded(ui_, [this] {
        Eb13Request request;
        request.fileDate = FromQDate(date_->date());
        request.targets = targets_;
        request.question = question_;
        request.launch.openKftcScreen = [this] { ShowKftcSendScreen(db_, session_, ui_, this); };
        const Eb13Result r = CreateEb13File(db_, session_, ui_, request);
        switch (r.outcome) {
            case Eb13Outcome::DateReset:
                date_->setDate(ToQDate(r.fileDate));
                break;
            case Eb13Outcome::OpenEi13Screen:
                emit ei13ScreenWanted();
                reject();
                return;
            case Eb13Outcome::Created:
                if (r.closeScreen) {
                    accept();
                    return;
                }
                search();
                break;
            case Eb13Outcome::Refused:
                break;
        }
    });
}

}  // namespace qx::ui
