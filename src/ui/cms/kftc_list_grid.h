// A list of the clearing-house screens (headers, widths in twips, alignments
// 0 left, 1 right, 2 centre) shown in a grid.
#pragma once

#include <vector>

#include "cms/transmission/kftc_transfer.h"
#include "cms/workspace/cms_status.h"

class QTableWidget;

namespace qx::ui {

std::vector<StatusColumn> KftcListColumns(const KftcList& list);
// Replaces the grid's columns and rows by the list's.
void ShowKftcList(QTableWidget* grid, const KftcList& list);

}  // namespace qx::ui
