#include "ui/cms/status_grid.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

Qt::Alignment GridAlignment(int alignment) {
    switch (alignment) {
        case kAlignCentre:
            return Qt::AlignCenter;
        case kAlignRight:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

void SetUpStatusGrid(QTableWidget* grid, const std::vector<StatusColumn>& columns) {
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const auto& c : columns) headers << Q(c.caption);
    grid->setHorizontalHeaderLabels(headers);
    // An empty grid still shows its captions whole.
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const int twips = columns[static_cast<std::size_t>(c)].width;
        grid->setColumnHidden(c, twips == 0);
        // 15 twips to a pixel.
        grid->setColumnWidth(c, std::max(twips / 15, grid->horizontalHeader()->sectionSizeHint(c)));
    }
}

QTableWidget* NewStatusGrid(QWidget* parent, const char* name,
                            const std::vector<StatusColumn>& columns) {
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    SetUpStatusGrid(grid, columns);
    return grid;
}

void FillStatusGrid(QTableWidget* grid, const std::vector<StatusColumn>& columns,
                    const std::vector<std::vector<std::string>>& rows) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()) && c < static_cast<int>(columns.size());
             ++c) {
            auto* item = new QTableWidgetItem(Q(row[static_cast<std::size_t>(c)]));
            item->setTextAlignment(GridAlignment(columns[static_cast<std::size_t>(c)].alignment));
            grid->setItem(r, c, item);
        }
    }
    // The stored widths are the least; a column grows to show its texts whole.
    for (int c = 0; c < grid->columnCount(); ++c) {
        if (grid->isColumnHidden(c)) continue;
        const int least = columns[static_cast<std::size_t>(c)].width / 15;
        grid->resizeColumnToContents(c);
        if (grid->columnWidth(c) < least) grid->setColumnWidth(c, least);
    }
}

QTableWidget* NewTextGrid(QWidget* parent, const char* name, const QStringList& captions) {
    auto* grid = new QTableWidget(0, static_cast<int>(captions.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(captions);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setVisible(false);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void FillTextGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows) {
    grid->setRowCount(0);
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(row.size()) && c < grid->columnCount(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(Q(row[static_cast<std::size_t>(c)])));
    }
}

CmsSearchRow NewCmsSearchRow(QWidget* parent) {
    // Wide enough for a payer number and an account number typed whole.
    constexpr int kSearchMinimumWidth = 240;
    CmsSearchRow r;
    r.row = new QHBoxLayout;
    r.row->addWidget(
        new QLabel(QStringLiteral("검색(납부자번호,계좌번호,예금주번호,외부참조키)"), parent));
    r.text = new QLineEdit(parent);
    r.text->setObjectName("txtSearch");
    r.text->setMinimumWidth(kSearchMinimumWidth);
    r.row->addWidget(r.text, 1);
    r.toggle = new QPushButton(QStringLiteral("설정"), parent);
    r.toggle->setObjectName("cmdSearchSet");
    r.row->addWidget(r.toggle);
    r.row->addStretch(1);
    return r;
}

LabelRow NewLabelRow(QWidget* parent, const char* labelName) {
    LabelRow r;
    r.row = new QHBoxLayout;
    r.label = new QLabel(parent);
    r.label->setObjectName(labelName);
    r.row->addWidget(r.label);
    r.row->addStretch(1);
    return r;
}

QComboBox* AddDetailFilter(QHBoxLayout* row, QWidget* parent, const QStringList& items) {
    auto* filter = new QComboBox(parent);
    filter->setObjectName("cboFilter");
    filter->addItems(items);
    row->addWidget(filter);
    return filter;
}

void FillDetailGrid(QTableWidget* grid, const FileDetail& detail) {
    grid->clear();
    grid->setColumnCount(static_cast<int>(detail.columns.size()));
    QStringList captions;
    for (const auto& c : detail.columns) captions << Q(c);
    grid->setHorizontalHeaderLabels(captions);
    grid->setRowCount(static_cast<int>(detail.rows.size()));
    for (int r = 0; r < static_cast<int>(detail.rows.size()); ++r) {
        const auto& cells = detail.rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < static_cast<int>(cells.size()); ++c)
            grid->setItem(r, c, new QTableWidgetItem(Q(cells[static_cast<std::size_t>(c)])));
    }
}

std::string SelectedCellText(const QTableWidget* grid, int column) {
    const int row = grid->currentRow();
    const QTableWidgetItem* item = row >= 0 ? grid->item(row, column) : nullptr;
    if (!item || !grid->selectionModel()->hasSelection()) return {};
    return S(item->text());
}

}  // namespace qx::ui
