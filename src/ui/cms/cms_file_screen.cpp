#include "ui/cms/cms_file_screen.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "session/menu_catalogue.h"
#include "ui/cms/rollback_password_dialog.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/period_row.h"

namespace qx::ui {

CmsFileScreen::CmsFileScreen(Database& db, SessionContext& session, Interaction& ui,
                             QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {}

void CmsFileScreen::build(const CmsFileScreenLayout& setup) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // Three short rows rather than one long one: at 1024 pixels the search
    // box and the buttons keep their size.
    const PeriodRow period = AddListPeriodRow(layout, this, QStringLiteral("생성일자"));
    from_ = period.from;
    to_ = period.to;

    const CmsSearchRow searchRow = NewCmsSearchRow(this);
    search_ = searchRow.text;
    searchToggle_ = searchRow.toggle;
    layout->addLayout(searchRow.row);

    const LabelRow actions = NewLabelRow(this, "lblWaiting");
    waiting_ = actions.label;
    addActions(actions.row);
    layout->addLayout(actions.row);

    files_ = NewStatusGrid(this, "grdFiles", setup.fileColumns);
    AttachExcelExport(*files_, setup.filesTitle, db_, session_, ui_);
    layout->addWidget(files_, 1);

    const LabelRow detailBar = NewLabelRow(this, "lblDetail");
    detailTitle_ = detailBar.label;
    filter_ = AddDetailFilter(detailBar.row, this, setup.filters);
    layout->addLayout(detailBar.row);
    details_ = new QTableWidget(this);
    details_->setObjectName("grdDetail");
    details_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    details_->setSelectionBehavior(QAbstractItemView::SelectRows);
    AttachExcelExport(*details_, setup.detailsTitle, db_, session_, ui_);
    layout->addWidget(details_, 1);

    connect(period.list, &QPushButton::clicked, this, [this] { refresh(); });
    connect(searchToggle_, &QPushButton::clicked, this, &CmsFileScreen::toggleSearch);
    connect(files_, &QTableWidget::itemSelectionChanged, this, [this] { showDetail(); });
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { showDetail(); });
    OnRollbackKey(this, [this] { openRollback(); });

    Guarded(ui_, [this] {
        const QDate today = ServerQDate(db_, session_);
        from_->setDate(today);
        to_->setDate(today);
    });
}

CivilDate CmsFileScreen::from() const {
    return FromQDate(from_->date());
}

CivilDate CmsFileScreen::to() const {
    return FromQDate(to_->date());
}

std::string CmsFileScreen::searchText() const {
    return searchSet_ ? S(search_->text()) : std::string();
}

void CmsFileScreen::toggleSearch() {
    searchSet_ = !searchSet_;
    searchToggle_->setText(searchSet_ ? QStringLiteral("설정 취소") : QStringLiteral("설정"));
    search_->setReadOnly(searchSet_);
    refresh();
}

void ShowScreenWindow(const char* id, QWidget* parent,
                      const std::function<QWidget*(QWidget* window)>& makeScreen) {
    QDialog window(parent);
    window.setObjectName(id);
    window.setWindowTitle(Q(ScreenTitle(id)));
    window.resize(1200, 700);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(makeScreen(&window));
    window.exec();
}

}  // namespace qx::ui
