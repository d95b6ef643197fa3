#include "cms/workspace/cms_record.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "cms/workspace/file_names.h"
#include "platform/codepage.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

int RecordLength(const std::string& kind) {
    return kind == "EB21" || kind == "EB22" ? kLongRecordLength : kShortRecordLength;
}

RecordBuilder::RecordBuilder(int length) : length_(length) {
    bytes_.reserve(length);
}

RecordBuilder& RecordBuilder::text(std::string_view utf8, int width) {
    std::string cp = ToCp949(utf8);
    if (static_cast<int>(cp.size()) > width) {
        // Walk the characters so that a double-byte one is never split.
        int kept = 0;
        while (kept < width) {
            const int step = static_cast<unsigned char>(cp[kept]) >= 0x81 ? 2 : 1;
            if (kept + step > width) break;
            kept += step;
        }
        cp.resize(kept);
    }
    bytes_ += cp;
    bytes_.append(width - cp.size(), ' ');
    return *this;
}

RecordBuilder& RecordBuilder::number(long long value, int width) {
    const std::string digits = fmt::format("{:0{}}", value, width);
    if (value < 0 || static_cast<int>(digits.size()) > width) {
        throw std::out_of_range(fmt::format("{} does not fit in {} digits", value, width));
    }
    bytes_ += digits;
    return *this;
}

RecordBuilder& RecordBuilder::blanks(int width) {
    bytes_.append(width, ' ');
    return *this;
}

std::string RecordBuilder::finish() const {
    if (static_cast<int>(bytes_.size()) > length_) {
        throw std::logic_error(
            fmt::format("record of {} bytes overran {}", bytes_.size(), length_));
    }
    std::string out = bytes_;
    out.append(length_ - out.size(), ' ');
    return out;
}

namespace {

RecordBuilder Opening(char type, const char* fill, const std::string& kind,
                      const std::string& orgCode, const CivilDate& date) {
    RecordBuilder b(RecordLength(kind));
    b.text(std::string(1, type), 1)
        .text(fill, 8)
        .text(orgCode, 10)
        .text(DiskFileName(kind, date), 8);
    return b;
}

}  // namespace

std::string HeaderRecord(const std::string& kind, const std::string& orgCode,
                         const CivilDate& fileDate) {
    return Opening('H', "00000000", kind, orgCode, fileDate).text(Yymmdd(fileDate), 6).finish();
}

std::string TrailerRecord(const std::string& kind, const std::string& orgCode,
                          const CivilDate& fileDate,
                          const std::vector<std::pair<long long, int>>& numbers) {
    RecordBuilder b = Opening('T', "99999999", kind, orgCode, fileDate);
    for (const auto& [value, width] : numbers) b.number(value, width);
    return b.finish();
}

std::string RecordReader::field(int start, int length) const {
    return Trim(MidBytes(bytes_, start, length));
}

std::optional<long long> RecordReader::number(int start, int length) const {
    const std::string text = field(start, length);
    if (text.size() > 18 || !IsAllDigits(text)) {
        return std::nullopt;
    }
    return std::stoll(text);
}

std::optional<CmsFile> ReadCmsFile(const std::string& path, int recordLength) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    const std::string& all = *bytes;
    CmsFile file;
    file.size = all.size();
    file.truncated = all.size() % recordLength != 0;
    const std::size_t whole = all.size() / recordLength;
    file.records.reserve(whole);
    for (std::size_t i = 0; i < whole; ++i) {
        file.records.push_back(all.substr(i * recordLength, recordLength));
    }
    return file;
}

std::string VisitCmsFile(const std::string& path, int recordLength, const std::string& badRecord,
                         const RecordVisitor& visitor) {
    const auto file = ReadCmsFile(path, recordLength);
    if (!file || file->truncated || file->records.empty()) return badRecord;
    bool header = false, trailer = false;
    for (const std::string& bytes : file->records) {
        const RecordReader r(bytes);
        const char type = r.type();
        if (trailer || (type == 'H') == header || (type != 'H' && type != 'R' && type != 'T'))
            return badRecord;
        header = header || type == 'H';
        trailer = type == 'T';
        const auto& visit = type == 'H'   ? visitor.header
                            : type == 'R' ? visitor.data
                                          : visitor.trailer;
        if (!visit) continue;
        if (std::string error = visit(r, bytes); !error.empty()) return error;
    }
    return trailer ? std::string() : badRecord;
}

std::string NameInHeader(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    return name.size() >= 8 ? name.substr(name.size() - 8) : name;
}

}  // namespace qx
