#include "ui/institution/organisation_screen.h"

#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include "db/database.h"
#include "session/institution_info.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

QTableWidget* MakeTable(const QString& name, QWidget* parent) {
    auto* t = new QTableWidget(parent);
    t->setObjectName(name);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

}  // namespace

OrganisationScreen::OrganisationScreen(const QString& id, const QString& title,
                                       ScreenContext& context, QWidget* parent)
    : BusinessScreen(id, title, parent), context_(context) {
    body()->addWidget(new QLabel(QStringLiteral("지사"), this));
    branches_ = MakeTable("grdBranch", this);
    body()->addWidget(branches_, 1);
    body()->addWidget(new QLabel(QStringLiteral("대리점 (지사를 선택하십시오)"), this));
    agencies_ = MakeTable("grdAgency", this);
    body()->addWidget(agencies_, 1);
    connect(branches_, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int, int) { showAgenciesOfRow(row); });
    Guarded(context_.ui,
            [this] { fill(branches_, LoadBranchList(context_.db, context_.session)); });
    fill(agencies_, Recordset{});
}

void OrganisationScreen::fill(QTableWidget* table, const Recordset& rows) {
    static const QStringList captions = {
        QStringLiteral("관리코드"),     QStringLiteral("상호"), QStringLiteral("사업자번호"),
        QStringLiteral("주민법인번호"), QStringLiteral("업태"), QStringLiteral("업종"),
        QStringLiteral("전화번호"),     QStringLiteral("팩스")};
    table->clear();
    table->setColumnCount(captions.size());
    table->setHorizontalHeaderLabels(captions);
    table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows.columns.size() && c < std::size_t(captions.size()); ++c) {
            table->setItem(static_cast<int>(r), static_cast<int>(c),
                           new QTableWidgetItem(Q(rows.values[r][c])));
        }
    }
    // The widths are kept in twips, 15 to a pixel.
    const QStringList widths = QString(kOrganisationColumnWidths).split(',');
    for (int c = 0; c < widths.size(); ++c) table->setColumnWidth(c, widths[c].toInt() / 15);
}

void OrganisationScreen::showAgenciesOfRow(int row) {
    auto* item = row >= 0 ? branches_->item(row, 0) : nullptr;
    if (!item) {
        fill(agencies_, Recordset{});
        return;
    }
    const long long brinx = item->text().toLongLong();
    Guarded(context_.ui,
            [&] { fill(agencies_, LoadAgencyList(context_.db, context_.session, brinx)); });
}

}  // namespace qx::ui
