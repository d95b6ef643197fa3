#include "cms/workspace/file_names.h"

#include <fmt/format.h>

namespace qx {

std::string Yymmdd(const CivilDate& d) {
    return fmt::format("{:02}{:02}{:02}", d.year % 100, d.month, d.day);
}

std::string Yyyymmdd(const CivilDate& d) {
    return fmt::format("{:04}{:02}{:02}", d.year, d.month, d.day);
}

std::string DiskFileName(const std::string& kind, const CivilDate& d) {
    return kind + fmt::format("{:02}{:02}", d.month, d.day);
}

std::string DatabaseFileName(const std::string& kind, const CivilDate& d) {
    return kind + Yymmdd(d);
}

std::string RelayFileName(const std::string& databaseName) {
    return databaseName.size() > 2 ? databaseName.substr(2, 8) : std::string();
}

std::string PartnerKey(const std::string& fileName) {
    return fileName.size() >= 4 ? fileName.substr(fileName.size() - 4) : fileName;
}

}  // namespace qx
