// The names a CMS file goes by: on disk kind + MMDD, in the file tables
// kind + YYMMDD, in the relay table the database name from its third
// character. Partners (EB13/EB14, EB21/EB22) share their last four characters.
#pragma once

#include <string>

#include "db/business_days.h"

namespace qx {

std::string DiskFileName(const std::string& kind, const CivilDate& date);      // EB131204
std::string DatabaseFileName(const std::string& kind, const CivilDate& date);  // EB13261204
std::string RelayFileName(const std::string& databaseName);                    // 13261204
std::string Yymmdd(const CivilDate& date);
std::string Yyyymmdd(const CivilDate& date);
// The MMDD that pairs a request file with its result file.
std::string PartnerKey(const std::string& fileName);

}  // namespace qx
