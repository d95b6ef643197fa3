#include "ui/frozen_columns.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace qx::ui {

FrozenColumns::FrozenColumns(QTableView* table, int count)
    : QObject(table), table_(table), frozen_(new QTableView(table)), count_(count) {
    frozen_->setObjectName("frozenColumns");
    frozen_->setModel(table_->model());
    frozen_->setSelectionModel(table_->selectionModel());
    frozen_->setSelectionBehavior(table_->selectionBehavior());
    frozen_->setEditTriggers(table_->editTriggers());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollMode(table_->verticalScrollMode());
    frozen_->setStyleSheet("QTableView { border: none; }");
    table_->viewport()->stackUnder(frozen_);

    connect(table_->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < count_) {
                    frozen_->setColumnWidth(column, size);
                    place();
                }
            });
    connect(table_->verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            table_->verticalScrollBar(), &QAbstractSlider::setValue);
    connect(table_->verticalScrollBar(), &QAbstractSlider::valueChanged,
            frozen_->verticalScrollBar(), &QAbstractSlider::setValue);
    // A double click on a frozen cell means the same as one on the table.
    connect(frozen_, &QTableView::doubleClicked, table_, &QTableView::doubleClicked);
    // The row-number header changes width with the number of rows (a search
    // that finds fewer rows needs fewer digits) after the table has laid
    // itself out again: the overlay follows the viewport wherever it moves.
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);
    table_->verticalHeader()->installEventFilter(this);
    connect(table_->verticalHeader(), &QHeaderView::geometriesChanged, this, &FrozenColumns::place);
    connect(table_->horizontalHeader(), &QHeaderView::geometriesChanged, this,
            &FrozenColumns::place);
    refresh();
}

void FrozenColumns::refresh() {
    const int columns = table_->model()->columnCount();
    for (int c = 0; c < columns; ++c) {
        frozen_->setColumnHidden(c, c >= count_);
        if (c < count_) frozen_->setColumnWidth(c, table_->columnWidth(c));
    }
    for (int r = 0; r < table_->model()->rowCount(); ++r)
        frozen_->setRowHeight(r, table_->rowHeight(r));
    frozen_->setVisible(count_ > 0 && columns > 0);
    place();
}

void FrozenColumns::place() {
    int width = 0;
    for (int c = 0; c < count_ && c < table_->model()->columnCount(); ++c)
        width += table_->columnWidth(c);
    // Never wider than the viewport, so no slice of a column shows twice.
    const QRect view = table_->viewport()->geometry();
    const int header =
        !table_->horizontalHeader()->isHidden() ? table_->horizontalHeader()->height() : 0;
    frozen_->horizontalHeader()->setFixedHeight(header);
    frozen_->horizontalHeader()->setVisible(header > 0);
    frozen_->setGeometry(view.left(), view.top() - header, std::min(width, view.width()),
                         view.height() + header);
}

bool FrozenColumns::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if ((watched == table_ || watched == table_->viewport() ||
         watched == table_->verticalHeader()) &&
        (type == QEvent::Resize || type == QEvent::Move || type == QEvent::Show))
        place();
    return QObject::eventFilter(watched, event);
}

}  // namespace qx::ui
