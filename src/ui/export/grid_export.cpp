#include "ui/export/grid_export.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QTableView>

#include "core/session_context.h"
#include "export/column_choice.h"
#include "export/excel_export.h"
#include "export/html_xls_writer.h"
#include "platform/interaction.h"
#include "ui/export/column_chooser_dialog.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

// The column list of the last export and the title of its grid: offered
// ticked the next time the same list is exported (one session per process).
struct Remembered {
    QString title, columns;
};
Remembered& RememberedColumns() {
    static Remembered last;
    return last;
}

class ModelRowSource : public ExportRowSource {
  public:
    ModelRowSource(const QAbstractItemModel& model, std::vector<ExportColumn> columns)
        : model_(model), columns_(std::move(columns)) {}
    const std::vector<ExportColumn>& columns() const override { return columns_; }
    long long rowCount() const override { return model_.rowCount(); }
    bool next(std::vector<std::string>& cells) override {
        if (row_ >= model_.rowCount()) return false;
        cells.assign(columns_.size(), {});
        for (int c = 0; c < static_cast<int>(columns_.size()); ++c)
            cells[static_cast<std::size_t>(c)] = S(model_.index(row_, c).data().toString());
        ++row_;
        return true;
    }

  private:
    const QAbstractItemModel& model_;
    std::vector<ExportColumn> columns_;
    int row_ = 0;
};

}  // namespace

std::vector<ExportColumn> GridExportColumns(const QTableView& grid) {
    std::vector<ExportColumn> out;
    const QAbstractItemModel* model = grid.model();
    if (!model) return out;
    for (int c = 0; c < model->columnCount(); ++c) {
        ExportColumn col;
        col.title = S(model->headerData(c, Qt::Horizontal).toString());
        col.widthTwips = grid.horizontalHeader()->sectionSize(c) * 15;
        const QVariant align =
            model->rowCount() > 0 ? model->index(0, c).data(Qt::TextAlignmentRole) : QVariant();
        const int flags = align.isValid() ? align.toInt() : 0;
        col.alignment = (flags & Qt::AlignRight)     ? ColumnAlignment::kRight
                        : (flags & Qt::AlignHCenter) ? ColumnAlignment::kCentre
                                                     : ColumnAlignment::kLeft;
        out.push_back(std::move(col));
    }
    return out;
}

GridExportDialogs StandardExportDialogs(QWidget* parent, Interaction& ui) {
    GridExportDialogs d;
    d.chooseColumns = [parent, &ui](
                          const std::vector<ExportColumn>& columns, const std::vector<int>& offered,
                          const std::vector<int>& ticked) -> std::optional<std::vector<int>> {
        ColumnChooserDialog dialog(columns, offered, ticked, ui, parent);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.chosen();
    };
    d.chooseFile = [parent](const QString& caption, const QString& proposed,
                            const QString& filters) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filters);
    };
    return d;
}

bool ExportGridToExcel(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui) {
    return ExportGridToExcel(grid, title, db, session, ui, StandardExportDialogs(&grid, ui));
}

bool ExportGridToExcel(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui,
                       const GridExportDialogs& dialogs) {
    bool written = false;
    Guarded(ui, [&] {
        const QAbstractItemModel* model = grid.model();
        auto columns = GridExportColumns(grid);
        const auto offered = OfferedColumns(S(title), columns);
        // An empty grid exports nothing.
        if (!model || model->rowCount() == 0 || offered.empty()) return;
        const bool personal = MayExportPersonalColumns(db, session);
        std::vector<int> ticked = offered;
        if (RememberedColumns().title == title) {
            if (const auto remembered = ParseColumnList(S(RememberedColumns().columns));
                remembered && !remembered->empty())
                ticked = *remembered;
        }
        const auto choice = dialogs.chooseColumns(columns, offered, ticked);
        if (!choice) return;
        const auto chosen = PermittedColumns(*choice, columns, personal);
        if (chosen.empty()) {
            ui.inform(kNothingTickedText, kDefaultTitle);
            return;
        }
        RememberedColumns() = {title, Q(ColumnListText(*choice))};

        const std::string folder = PrepareExcelFolder(session);
        const QString stamp = QDateTime::currentDateTime().toString("yyMMddhhmmss");
        const QString proposed = QDir(Q(folder)).filePath(
            Q(ProposedExportName(S(title), S(stamp), ExportFormat::kHtmlXls)));
        const QString filters = "Excel 파일(*.xls);;Excel 통합 문서(*.xlsx)";
        const QString path = dialogs.chooseFile(title + " Excel 파일", proposed, filters);
        if (path.isEmpty()) return;
        ModelRowSource source(*model, std::move(columns));
        written = ExportToFile(source, chosen, S(path), FormatOfFileName(S(path)), ui).written;
    });
    return written;
}

void AttachExcelExport(QTableView& grid, const QString& title, Database& db,
                       const SessionContext& session, Interaction& ui) {
    auto* action = new QAction("엑셀 저장", &grid);
    action->setObjectName("actExcel");
    QObject::connect(action, &QAction::triggered, &grid, [&grid, title, &db, &session, &ui] {
        ExportGridToExcel(grid, title, db, session, ui);
    });
    grid.addAction(action);
    grid.setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace qx::ui
