// What a CMS file says about itself: the date of its header and the counts
// of its trailer.
#pragma once

#include <string>

namespace qx {

class Interaction;

inline constexpr const char* kUnreadableFileText = "처리할 수 없는 형식의 파일입니다.";

// The header date as yyyymmdd; the kind comes from the file name (EA, EB or
// EI). A header without a numeric, real date is reported through `ui` and
// gives the empty text, as does an empty path.
std::string ReadHeaderDate(const std::string& path, Interaction& ui);
// The same without a message: empty when the header has no real date.
std::string HeaderDate(const std::string& path);

// The trailer's counts joined by ",": five fields for EB11-EB14 and EB21/EB22,
// the EI13 count twice then ",0,0,0". Empty for an empty path, a kind without
// a trailer, a missing file or one whose length is not a whole number of
// records.
std::string ReadTrailerCounts(const std::string& path);

}  // namespace qx
