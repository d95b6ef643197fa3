// Grids of the CMS screens: columns with captions, widths in twips and the
// stored alignments (1 left, 4 centre, 7 right); zero-width columns are hidden.
#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "cms/workspace/result_screen.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace qx::ui {

// Read-only, whole rows selected, no row numbers.
void SetUpStatusGrid(QTableWidget* grid, const std::vector<StatusColumn>& columns);
// A new grid so set up, named for tests and screenshots.
QTableWidget* NewStatusGrid(QWidget* parent, const char* name,
                            const std::vector<StatusColumn>& columns);
// Replaces the rows; cells take the alignment of their column.
void FillStatusGrid(QTableWidget* grid, const std::vector<StatusColumn>& columns,
                    const std::vector<std::vector<std::string>>& rows);
// A read-only grid of plain text columns (whole rows selected, no row
// numbers, the last column stretched), named for tests and screenshots.
QTableWidget* NewTextGrid(QWidget* parent, const char* name, const QStringList& captions);
// Replaces the rows by `rows`, cells as text; cells beyond the columns are left out.
void FillTextGrid(QTableWidget* grid, const std::vector<std::vector<std::string>>& rows);
// The search across the files of a CMS file screen: its caption, the text
// ("txtSearch") and the button that turns the search on ("cmdSearchSet").
struct CmsSearchRow {
    QHBoxLayout* row = nullptr;
    QLineEdit* text = nullptr;
    QPushButton* toggle = nullptr;
};
CmsSearchRow NewCmsSearchRow(QWidget* parent);
// A row with a label named `labelName` on the left (a detail's title, the
// waiting figures), then a stretch: what the caller adds goes to the right edge.
struct LabelRow {
    QHBoxLayout* row = nullptr;
    QLabel* label = nullptr;
};
LabelRow NewLabelRow(QWidget* parent, const char* labelName);
// The detail's filter ("cboFilter") with `items`, added to `row`.
QComboBox* AddDetailFilter(QHBoxLayout* row, QWidget* parent, const QStringList& items);
// Replaces the columns and rows by those of a file's detail.
void FillDetailGrid(QTableWidget* grid, const FileDetail& detail);
// The text in `column` of the selected row; empty when no row is selected.
std::string SelectedCellText(const QTableWidget* grid, int column);

}  // namespace qx::ui
