#include "platform/saved_text.h"

#include "platform/codepage.h"

namespace qx {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string Hex(unsigned value) {
    std::string out;
    do {
        out.insert(out.begin(), kHexDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

// Encoding byte by byte (not character by character) is what lets Hangul
// come back: the decoder reads two hex digits per group, which can never
// hold a two-byte CP949 code.
std::string EncodeSavedText(std::string_view text, std::mt19937& random) {
    std::uniform_int_distribution<unsigned> pick(16, 259);
    std::string out;
    for (const char c : ToCp949(TrimBlanks(text))) {
        const unsigned byte = static_cast<unsigned char>(c);
        const std::string t =
            std::string{kHexDigits[byte / 16], kHexDigits[byte % 16]} + Hex(pick(random));
        out += t.substr(1, 2);
        out += t.front();
        out += t.back();
    }
    return out;
}

std::string EncodeSavedText(std::string_view text) {
    thread_local std::mt19937 random{std::random_device{}()};
    return EncodeSavedText(text, random);
}

std::string DecodeSavedText(std::string_view text) {
    text = TrimBlanks(text);
    if (text.size() % 4 != 0) return {};
    std::string bytes;
    for (size_t i = 0; i < text.size(); i += 4) {
        const int high = HexValue(text[i + 2]), low = HexValue(text[i]);
        if (high < 0 || low < 0) return {};
        bytes += static_cast<char>(high * 16 + low);
    }
    return FromCp949(bytes);
}

}  // namespace qx
