#include "ui/cms/kftc_list_grid.h"

#include "ui/cms/status_grid.h"

namespace qx::ui {

std::vector<StatusColumn> KftcListColumns(const KftcList& list) {
    std::vector<StatusColumn> out;
    for (std::size_t i = 0; i < list.headers.size(); ++i) {
        const int align = i < list.alignments.size() ? list.alignments[i] : 0;
        out.push_back({list.headers[i], i < list.widths.size() ? list.widths[i] : 1000,
                       align == 1   ? kAlignRight
                       : align == 2 ? kAlignCentre
                                    : kAlignLeft});
    }
    return out;
}

void ShowKftcList(QTableWidget* grid, const KftcList& list) {
    const auto columns = KftcListColumns(list);
    SetUpStatusGrid(grid, columns);
    FillStatusGrid(grid, columns, list.rows);
}

}  // namespace qx::ui
