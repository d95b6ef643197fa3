#include "platform/profile_ini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/codepage.h"

namespace qx {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The desktop reads a value into a 255-byte buffer; one byte holds the NUL.
constexpr size_t kMaxValueBytes = 254;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// Section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

// Key of a "key=value" line, or nullopt for comments and other lines.
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

enum class Encoding { kCp949, kUtf8, kUtf16le };

constexpr std::string_view kUtf16leBom = "\xFF\xFE";

struct DecodedFile {
    Encoding encoding = Encoding::kCp949;
    bool bom = false;
    std::string body;  // UTF-8 for kUtf8 and kUtf16le, else the bytes as stored
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Notepad's "Unicode": UTF-16 little-endian. A lone surrogate or an odd last
// byte becomes U+FFFD rather than a cut character.
std::string Utf16leToUtf8(std::string_view bytes) {
    std::string out;
    const auto unit = [&](size_t i) -> char32_t {
        return static_cast<unsigned char>(bytes[i]) |
               (static_cast<char32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
        AppendUtf8(out, c);
    }
    if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
    return out;
}

std::string Utf8ToUtf16le(std::string_view utf8) {
    std::string out;
    const auto put = [&](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = len == 1   ? lead
                     : len == 2 ? (lead & 0x1F)
                     : len == 3 ? (lead & 0x0F)
                                : (lead & 0x07);
        for (size_t k = 1; k < len && i + k < utf8.size(); ++k) {
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += len;
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

// An all-ASCII file reads the same either way; it counts as CP949 so that
// the desktop's encoding is kept when Hangul is first written to it.
DecodedFile Detect(std::string_view bytes) {
    if (bytes.substr(0, kUtf16leBom.size()) == kUtf16leBom) {
        return {Encoding::kUtf16le, true, Utf16leToUtf8(bytes.substr(kUtf16leBom.size()))};
    }
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        return {Encoding::kUtf8, true, std::string(bytes.substr(kUtf8Bom.size()))};
    }
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return {!ascii && IsValidUtf8(bytes) ? Encoding::kUtf8 : Encoding::kCp949, false,
            std::string(bytes)};
}

// The file's bytes for its text, in the encoding it came in.
std::string Encoded(const DecodedFile& file, const std::string& text) {
    switch (file.encoding) {
        case Encoding::kUtf16le:
            return std::string(kUtf16leBom) + Utf8ToUtf16le(text);
        case Encoding::kUtf8:
            return (file.bom ? std::string(kUtf8Bom) : std::string()) + text;
        case Encoding::kCp949:
            break;
    }
    return text;
}

// Keeps whole characters of `utf8` while they fit in `max_bytes` as stored.
std::string CapStoredBytes(const std::string& utf8, Encoding encoding, size_t max_bytes) {
    size_t stored = 0, i = 0;
    while (i < utf8.size()) {
        size_t len = 1;
        while (i + len < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + len]) & 0xC0) == 0x80) {
            ++len;
        }
        const size_t size =
            encoding != Encoding::kCp949
                ? len
                : static_cast<size_t>(ByteLength(std::string_view(utf8).substr(i, len)));
        if (stored + size > max_bytes) break;
        stored += size;
        i += len;
    }
    return utf8.substr(0, i);
}

}  // namespace

IniText::IniText(std::string_view bytes, std::string_view new_eol) : eol_(new_eol) {
    if (bytes.empty()) return;
    const auto first_nl = bytes.find('\n');
    if (first_nl != std::string_view::npos) {
        eol_ = first_nl > 0 && bytes[first_nl - 1] == '\r' ? "\r\n" : "\n";
    }
    final_eol_ = bytes.back() == '\n';
    if (final_eol_) bytes.remove_suffix(1);
    size_t start = 0;
    while (true) {
        const auto nl = bytes.find('\n', start);
        std::string_view line = bytes.substr(start, nl == std::string_view::npos ? nl : nl - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
}

std::optional<std::string> IniText::get(std::string_view section, std::string_view key) const {
    bool in_section = false;
    for (const std::string& line : lines_) {
        if (const auto name = SectionOf(line)) {
            in_section = EqualsNoCase(*name, section);
        } else if (const auto k = KeyOf(line); in_section && k && EqualsNoCase(*k, key)) {
            std::string_view value = Trim(std::string_view(line).substr(line.find('=') + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front()) {
                value = value.substr(1, value.size() - 2);
            }
            return std::string(value);
        }
    }
    return std::nullopt;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string line = std::string(key) + "=" + std::string(value);
    bool in_section = false;
    std::optional<size_t> insert_at;  // after the last non-blank line of the section
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionOf(lines_[i])) {
            if (insert_at) break;  // left the first matching section
            in_section = EqualsNoCase(*name, section);
            if (in_section) insert_at = i + 1;
        } else if (in_section) {
            if (const auto k = KeyOf(lines_[i]); k && EqualsNoCase(*k, key)) {
                lines_[i] = std::move(line);
                return;
            }
            if (!Trim(lines_[i]).empty()) insert_at = i + 1;
        }
    }
    if (insert_at) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insert_at), std::move(line));
        if (*insert_at == lines_.size() - 1) final_eol_ = true;
        return;
    }
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(line));
    final_eol_ = true;
}

std::string IniText::bytes() const {
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i];
        if (i + 1 < lines_.size() || final_eol_) out += eol_;
    }
    return out;
}

bool IniText::IsWritable(std::string_view section, std::string_view key, std::string_view value) {
    const auto has = [](std::string_view s, std::string_view chars) {
        return s.find_first_of(chars) != std::string_view::npos;
    };
    return !Trim(section).empty() && !Trim(key).empty() && !has(section, "\r\n]") &&
           !has(key, "\r\n=") && Trim(key).front() != ';' && Trim(key).front() != '[' &&
           !has(value, "\r\n");
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return false;
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = fchmod(fd, mode) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

std::optional<std::string> CreateUniqueFile(const std::string& prefix) {
    std::string path = prefix + "XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) return std::nullopt;
    ::close(fd);
    return path;
}

std::string ProfileIni::read(const std::string& section, const std::string& key,
                             const std::string& fallback) const {
    const auto bytes = ReadWholeFile(path_);
    if (!bytes) return fallback;
    const DecodedFile file = Detect(*bytes);
    const bool cp949 = file.encoding == Encoding::kCp949;
    const auto encode = [&](const std::string& s) { return cp949 ? ToCp949(s) : s; };
    std::optional<std::string> raw = IniText(file.body).get(encode(section), encode(key));
    if (!raw) return fallback;
    raw->resize(std::min(raw->find('\0'), raw->size()));
    if (raw->empty()) return fallback;
    const std::string value = cp949 ? FromCp949(*raw) : *raw;
    return CapStoredBytes(value, file.encoding, kMaxValueBytes);
}

bool ProfileIni::write(const std::string& section, const std::string& key,
                       const std::string& value) const {
    if (!IniText::IsWritable(section, key, value)) return false;
    std::string existing;
    std::error_code ec;
    if (std::filesystem::exists(path_, ec)) {
        auto bytes = ReadWholeFile(path_);
        if (!bytes) return false;
        existing = std::move(*bytes);
    }
    const DecodedFile file = Detect(existing);
    const auto encode = [&](const std::string& s) {
        return file.encoding == Encoding::kCp949 ? ToCp949(s) : s;
    };
    IniText text(file.body);
    text.set(encode(section), encode(key), encode(value));
    return WriteFileAtomically(path_, Encoded(file, text.bytes()));
}

bool IsYes(const std::string& value) {
    return EqualsNoCase(value, "YES");
}

}  // namespace qx
