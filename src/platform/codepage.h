// Korean code page (CP949) conversions. Every fixed-width field of the CMS
// files is measured in CP949 bytes: a Hangul syllable takes two.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// UTF-8 text to CP949 bytes. Characters CP949 cannot hold become '?'.
std::string ToCp949(std::string_view utf8);
// CP949 bytes to UTF-8. Bytes that do not form a character become '?'.
std::string FromCp949(std::string_view cp949);
// True when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view bytes);

// Bytes of the text in CP949.
long long ByteLength(std::string_view utf8);
// `length` CP949 bytes from byte `start` (1-based), back in UTF-8. A Hangul
// syllable cut in half becomes a blank, as does any NUL.
std::string ByteMid(std::string_view utf8, long long start, long long length);
// Same cut on bytes already in CP949 (for reading fixed-width records);
// returns UTF-8.
std::string MidBytes(std::string_view cp949, long long start, long long length);

}  // namespace qx
