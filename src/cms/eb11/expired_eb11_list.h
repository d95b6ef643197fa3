// The Excel list of an EB11 file received after its period ran out: kept as
// "ExpiredEB11" + MMDD and never applied, its records are handed to the
// user as a list instead, written by the export writer into the excel
// folder.
#pragma once

#include <string>
#include <vector>

#include "export/export_table.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kExpiredEb11Remark = "기관만료내역-파일 미적용";

std::vector<ExportColumn> ExpiredEb11Columns();

// "[EB110319] Excel파일 생성이 중단 또는 실패했습니다. 다시 시도해주십시오."
std::string ExpiredEb11ListFailedText(const std::string& fileName);

// Writes the list of the expired file at `expiredPath` (received as
// `fileName`, "EB11" + MMDD) into the excel folder, the personal columns
// only when the institution permits them. Returns the path written, or ""
// after showing the failure (unreadable file, folder or disk).
std::string WriteExpiredEb11List(Database& db, const SessionContext& session, Interaction& ui,
                                 const std::string& expiredPath, const std::string& fileName);

}  // namespace qx
