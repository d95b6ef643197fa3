// Lays a print list out on A4 pages of a PDF: the title, the criteria line,
// each section as a ruled table whose columns share the page width (cells
// wrap when a column is narrow), amounts right-aligned, page numbers below.
#pragma once

#include <QString>

#include "reports/print_list.h"

namespace qx::print {

// Pages written; throws std::runtime_error when the PDF cannot be written.
int WritePdf(const PrintList& list, int layout, const QString& pdfPath);

// Layout number of a layout name "Quorisdex<n>" with n one of 0, 2, 3, 4,
// 5, 9, 10; -1 otherwise.
int LayoutNumber(const std::string& name);

}  // namespace qx::print
