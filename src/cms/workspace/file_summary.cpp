#include "cms/workspace/file_summary.h"

#include <fstream>

#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "db/business_days.h"
#include "platform/codepage.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

// The last eight characters of the path: the on-disk name kind + MMDD.
std::string LastEight(const std::string& path) {
    return path.size() >= 8 ? path.substr(path.size() - 8) : path;
}

}  // namespace

std::string HeaderDate(const std::string& path) {
    if (path.empty()) return {};
    std::string first(kShortRecordLength, ' ');
    {
        std::ifstream in(path, std::ios::binary);
        if (in) in.read(first.data(), kShortRecordLength);
    }
    const std::string prefix = LastEight(path).substr(0, 2);
    int at = 0;
    if (prefix == "EA") at = 27;
    if (prefix == "EB") at = 28;
    if (prefix == "EI") at = 18;
    const std::string six = at > 0 ? first.substr(at - 1, 6) : std::string();
    if (IsAllDigits(six)) {
        if (auto date = ParseDate(six)) return Yyyymmdd(*date);
    }
    return {};
}

std::string ReadHeaderDate(const std::string& path, Interaction& ui) {
    if (path.empty()) return {};
    std::string date = HeaderDate(path);
    if (date.empty()) ui.inform(kUnreadableFileText);
    return date;
}

std::string ReadTrailerCounts(const std::string& path) {
    if (path.empty()) return {};
    const std::string name = LastEight(path);
    const std::string number = name.size() >= 6 ? name.substr(2, 2) : std::string();
    const std::string prefix = name.substr(0, 2);
    auto join = [](const std::string& r, std::initializer_list<std::pair<int, int>> fields) {
        std::string out;
        for (const auto& [start, length] : fields) {
            if (!out.empty()) out += ",";
            out += MidBytes(r, start, length);
        }
        return out;
    };
    if (prefix == "EI" && number == "13") {
        auto file = ReadCmsFile(path, kShortRecordLength);
        if (!file || file->records.empty()) return {};
        const std::string count = MidBytes(file->records.front(), 44, 7);
        return count + "," + count + ",0,0,0";
    }
    if (prefix != "EB") return {};
    if (number == "21" || number == "22") {
        auto file = ReadCmsFile(path, kLongRecordLength);
        if (!file || file->truncated || file->records.empty()) return {};
        return join(file->records.back(), {{28, 8}, {36, 8}, {44, 13}, {57, 8}, {65, 13}});
    }
    if (number == "11" || number == "12" || number == "13" || number == "14") {
        auto file = ReadCmsFile(path, kShortRecordLength);
        if (!file || file->truncated || file->records.empty()) return {};
        return join(file->records.back(), {{28, 8}, {36, 8}, {44, 8}, {52, 8}, {60, 8}});
    }
    return {};
}

}  // namespace qx
