#include "platform/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "platform/codepage_html.h"

namespace qx {
namespace {

// One converter per direction and thread; opening iconv for every field of a
// large file would cost more than the conversion.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character; false when the target cannot hold it.
    bool convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buf[16];
        char* src = const_cast<char*>(in.data());
        size_t src_left = in.size();
        char* dst = buf;
        size_t dst_left = sizeof buf;
        if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1) ||
            src_left != 0) {
            return false;
        }
        out.append(buf, dst);
        return true;
    }

  private:
    iconv_t cd_;
};

Converter& ToCp949Converter() {
    thread_local Converter c("CP949", "UTF-8");
    return c;
}

Converter& FromCp949Converter() {
    thread_local Converter c("UTF-8", "CP949");
    return c;
}

unsigned char Byte(std::string_view s, size_t i) {
    return static_cast<unsigned char>(s[i]);
}

bool IsCp949Lead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}
bool IsCp949Trail(unsigned char b) {
    return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A) || (b >= 0x81 && b <= 0xFE);
}

// Length of the CP949 character starting at i, by byte shape alone: 2 for a
// lead byte followed by a trail byte, else 1.
size_t Cp949CharLength(std::string_view s, size_t i) {
    return IsCp949Lead(Byte(s, i)) && i + 1 < s.size() && IsCp949Trail(Byte(s, i + 1)) ? 2 : 1;
}

// Length of the well-formed UTF-8 sequence at i, or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
    const unsigned char b = Byte(s, i);
    if (b < 0x80) return 1;
    size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        if (b == 0xE0) lo = 0xA0;  // overlong
        if (b == 0xED) hi = 0x9F;  // surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        if (b == 0xF0) lo = 0x90;  // overlong
        if (b == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    if (Byte(s, i + 1) < lo || Byte(s, i + 1) > hi) return 0;
    for (size_t k = 2; k < len; ++k) {
        if ((Byte(s, i + k) & 0xC0) != 0x80) return 0;
    }
    return len;
}

}  // namespace

std::string ToCp949(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t len = Utf8SequenceLength(utf8, i);
        if (len == 1) {
            out += utf8[i];
        } else if (len == 0 || !ToCp949Converter().convert(utf8.substr(i, len), out)) {
            out += '?';
        }
        i += std::max<size_t>(len, 1);
    }
    return out;
}

std::string ToCp949WithReferences(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const size_t len = Utf8SequenceLength(utf8, i);
        if (len == 1) {
            out += utf8[i];
        } else if (len == 0) {
            out += '?';
        } else if (!ToCp949Converter().convert(utf8.substr(i, len), out)) {
            // Decode the well-formed sequence into its code point.
            unsigned long cp = Byte(utf8, i) & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
            for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (Byte(utf8, i + k) & 0x3F);
            out += "&#" + std::to_string(cp) + ";";
        }
        i += std::max<size_t>(len, 1);
    }
    return out;
}

std::string FromCp949(std::string_view cp949) {
    std::string out;
    out.reserve(cp949.size() * 3 / 2);
    for (size_t i = 0; i < cp949.size();) {
        const size_t len = Cp949CharLength(cp949, i);
        if (Byte(cp949, i) < 0x80) {
            out += cp949[i];
        } else if (len == 1 || !FromCp949Converter().convert(cp949.substr(i, len), out)) {
            out += '?';
        }
        i += len;
    }
    return out;
}

bool IsValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t len = Utf8SequenceLength(bytes, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

long long ByteLength(std::string_view utf8) {
    return static_cast<long long>(ToCp949(utf8).size());
}

std::string ByteMid(std::string_view utf8, long long start, long long length) {
    return MidBytes(ToCp949(utf8), start, length);
}

std::string MidBytes(std::string_view cp949, long long start, long long length) {
    const long long size = static_cast<long long>(cp949.size());
    const long long first = std::max(start, 1LL) - 1;  // 0-based, inclusive
    if (length <= 0 || first >= size) return {};
    const long long end = first + std::min(length, size - first);  // exclusive

    // Character boundaries only show when the bytes are walked from a known
    // boundary: a CP949 trail byte may look like an ASCII letter. A byte that
    // cannot be a trail byte always starts a character.
    long long i = first;
    while (i > 0 && IsCp949Trail(Byte(cp949, static_cast<size_t>(i)))) --i;

    std::string picked;
    picked.reserve(static_cast<size_t>(end - first));
    while (i < end) {
        const long long len =
            static_cast<long long>(Cp949CharLength(cp949, static_cast<size_t>(i)));
        const long long from = std::max(i, first), to = std::min(i + len, end);
        if (from < to) {
            if (to - from == len) {
                picked.append(cp949.substr(static_cast<size_t>(i), static_cast<size_t>(len)));
            } else {
                picked.append(static_cast<size_t>(to - from), ' ');  // half a character
            }
        }
        i += len;
    }
    std::replace(picked.begin(), picked.end(), '\0', ' ');
    return FromCp949(picked);
}

}  // namespace qx
