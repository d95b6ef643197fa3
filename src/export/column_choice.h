// Which columns of a list go into an exported file: what the chooser offers,
// what the institution's permission for personal data leaves of the ticked
// ones, and the column list text that travels to the writer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kNothingTickedText = "하나 이상의 항목을 체크 하십시오.";
inline constexpr const char* kPersonalDataInfoText =
    "계좌정보 또는 주민번호 엑셀변환을 원하시는 경우\r\n"
    "쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";

// Whether the account, holder and resident number columns may be exported:
// the program was started with the launch code, or the institution's
// xls_acnt_permit is set to anything but "0". A missing setting forbids.
bool MayExportPersonalColumns(Database& db, const SessionContext& session);
// The same rule on the values already read.
bool MayExportPersonalColumns(const std::string& xlsAcntPermit, bool launched);

// True for the titles "계좌번호", "예금주번호" and "주민번호".
bool IsPersonalColumn(const std::string& title);

// Indexes of the columns the chooser offers: every column with a title,
// except the helper columns of the withdrawal target list "출금대상내역".
std::vector<int> OfferedColumns(const std::string& listTitle,
                                const std::vector<ExportColumn>& columns);

// The ticked columns less the personal ones when they are not permitted.
// Indexes outside the list are left out.
std::vector<int> PermittedColumns(const std::vector<int>& ticked,
                                  const std::vector<ExportColumn>& columns, bool personalAllowed);

// "0,3,5" and back. Parsing refuses anything but indexes separated by ","
// (std::nullopt).
std::string ColumnListText(const std::vector<int>& indexes);
std::optional<std::vector<int>> ParseColumnList(const std::string& text);

// Indexes of the columns named by titles ("고객명,미수금"); std::nullopt
// with the unknown title in `unknown` when one is not a column of the list.
std::optional<std::vector<int>> ColumnsByTitle(const std::vector<std::string>& titles,
                                               const std::vector<ExportColumn>& columns,
                                               std::string* unknown = nullptr);

}  // namespace qx
