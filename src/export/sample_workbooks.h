// The sample workbooks of the program folder that a user fills in for a
// batch of new members ("expexcel/adduser.xls") or of changes to members'
// customer information ("expexcel/editmeminfo.xls"): title rows only,
// written by the export writer so that they open like every exported list.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

enum class SampleWorkbook { kAddUser, kEditMemberInfo };

inline constexpr SampleWorkbook kSampleWorkbooks[] = {SampleWorkbook::kAddUser,
                                                      SampleWorkbook::kEditMemberInfo};

// Path under the program folder, "expexcel/adduser.xls" or
// "expexcel/editmeminfo.xls".
const char* SampleWorkbookPath(SampleWorkbook which);
// The window's caption: "일괄등록 양식" or "일괄변경 양식".
const char* SampleWorkbookTitle(SampleWorkbook which);
// The columns a user fills in, in the sheet's order.
std::vector<ExportColumn> SampleWorkbookColumns(SampleWorkbook which);

// The message when the program folder lacks the workbook.
std::string SampleWorkbookMissingText(const std::string& fullPath);

// Writes the workbook's page; false when the stream failed.
bool WriteSampleWorkbook(SampleWorkbook which, std::ostream& out);

}  // namespace qx
