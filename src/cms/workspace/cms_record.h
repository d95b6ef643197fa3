// The common record shape of the EB files: fixed-length CP949 records written
// back to back, a header "H", data records "R" and a trailer "T". Every
// position is a 1-based byte position in CP949.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/business_days.h"

namespace qx {

inline constexpr int kShortRecordLength = 120;  // EB11, EB12, EB13, EB14
inline constexpr int kLongRecordLength = 150;   // EB21, EB22

// 150 for EB21 and EB22, 120 for the other kinds.
int RecordLength(const std::string& kind);

// Builds one record field by field, in CP949 bytes. Text is left-aligned and
// blank-padded, cut on whole characters (a Hangul syllable that does not fit
// becomes a blank); numbers are right-aligned with zeros and must fit.
class RecordBuilder {
  public:
    explicit RecordBuilder(int length);
    RecordBuilder& text(std::string_view utf8, int width);
    RecordBuilder& number(long long value, int width);
    RecordBuilder& blanks(int width);
    // Next byte position to be written (1-based).
    int position() const { return static_cast<int>(bytes_.size()) + 1; }
    // The record, blank-filled to its length; throws when the fields overran it.
    std::string finish() const;

  private:
    int length_;
    std::string bytes_;
};

// "H" 00000000 <org code> <kind+MMDD> <YYMMDD>, blanks to the record length.
std::string HeaderRecord(const std::string& kind, const std::string& orgCode,
                         const CivilDate& fileDate);
// "T" 99999999 <org code> <kind+MMDD>, then from byte 28 the given numbers
// with their widths, blanks to the record length.
std::string TrailerRecord(const std::string& kind, const std::string& orgCode,
                          const CivilDate& fileDate,
                          const std::vector<std::pair<long long, int>>& numbers);

// Reads fields of one received record by byte position.
class RecordReader {
  public:
    explicit RecordReader(std::string_view cp949) : bytes_(cp949) {}
    char type() const { return bytes_.empty() ? '\0' : bytes_[0]; }
    // The field as text, trimmed.
    std::string field(int start, int length) const;
    // The field as a whole number; nullopt unless it is all digits.
    std::optional<long long> number(int start, int length) const;

  private:
    std::string_view bytes_;
};

// A received or written file split into records.
struct CmsFile {
    std::vector<std::string> records;
    std::uintmax_t size = 0;
    bool truncated = false;  // the length is not a multiple of the record length
};
// nullopt when the file cannot be opened. A trailing partial record is left out
// and flagged, never read as a record.
std::optional<CmsFile> ReadCmsFile(const std::string& path, int recordLength);

// What a reader does with each record of a received file; each returns the
// error text to stop with, or "" to go on.
struct RecordVisitor {
    using Visit = std::function<std::string(const RecordReader&, const std::string& bytes)>;
    Visit header, data, trailer;
};
// Reads the file and hands its records over in order: the header first,
// the data records, the trailer last. Returns "" for a sound file, the first
// text a visitor returned, or `badRecord` for a file that cannot be read,
// is empty, ends in a partial record, or breaks that order (a second
// header, anything before the header or after the trailer, an unknown type,
// no trailer).
std::string VisitCmsFile(const std::string& path, int recordLength, const std::string& badRecord,
                         const RecordVisitor& visitor);
// The last eight characters of a file's name (kind and MMDD), which its
// header must repeat; the whole name when it is shorter.
std::string NameInHeader(const std::string& path);

}  // namespace qx
