// Saving any grid of the program as an Excel file: the columns chosen in
// frmMSHtoExcel less the personal ones the institution does not permit, a
// file name in the excel folder, and the writer of the chosen format.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "export/export_table.h"

class QTableView;
class QWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

// The person's two choices, replaceable for tests.
struct GridExportDialogs {
    // The ticked columns, or std::nullopt when cancelled.
    std::function<std::optional<std::vector<int>>(const std::vector<ExportColumn>& columns,
                                                  const std::vector<int>& offered,
                                                  const std::vector<int>& ticked)>
        chooseColumns;
    // The file to write (empty when cancelled): caption, proposed path,
    // filters.
    std::function<QString(const QString& caption, const QString& proposed, const QString& filters)>
        chooseFile;
};

// The dialogs a person sees: frmMSHtoExcel and the save dialog.
GridExportDialogs StandardExportDialogs(QWidget* parent, Interaction& ui);

// The columns of a grid as the exporters see them: header titles, widths
// (pixels as twips), alignment of the first row's cells.
std::vector<ExportColumn> GridExportColumns(const QTableView& grid);

// Exports the rows of a grid (title row, then every row of its model).
// Reports every failure itself. True when a file was written.
bool ExportGridToExcel(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui,
                       const GridExportDialogs& dialogs);
bool ExportGridToExcel(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui);
// The list grids are table views too: one routine serves both.
inline bool ExportListGridToExcel(QTableView& grid, const QString& title, Database& db,
                                  const SessionContext& session, Interaction& ui) {
    return ExportGridToExcel(grid, title, db, session, ui);
}

// Gives a grid the menu entry "엑셀 저장" (right mouse button) that exports
// it under `title`: one line for every list screen.
void AttachExcelExport(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui);

}  // namespace qx::ui
