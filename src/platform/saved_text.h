// Scrambling of the login id and password kept in the per-user settings: four
// hexadecimal digits per code-page byte, two of them random, so the stored
// text is not readable at a glance. It is no protection against anyone who
// knows the scheme.
#pragma once

#include <random>
#include <string>
#include <string_view>

namespace qx {

// Trims blanks; an empty text stays empty. Each CP949 byte b of the text
// becomes one group: with t = hex(b, two digits) + hex(r), r random in
// 16..259, the group is t[2..3] + t[1] + the last digit of t (1-based). An
// ASCII text therefore gives four characters per character; a Hangul
// syllable (two CP949 bytes) gives two groups.
std::string EncodeSavedText(std::string_view text, std::mt19937& random);
std::string EncodeSavedText(std::string_view text);  // seeded from the system

// Trims blanks; each group of four gives the byte whose hex digits are the
// group's third and first characters; the bytes are read as CP949. A text
// that is not made of such groups decodes to empty.
std::string DecodeSavedText(std::string_view text);

}  // namespace qx
