// Private-profile files (Login.ini and its kind): [section] key=value lines.
// A value is read into a 255-byte buffer (at most 254 bytes as stored, cut
// back to a whole character) and cut at the first NUL; a key that is missing
// or empty yields the caller's default. Files are ANSI (CP949) as written by
// the desktop, but a UTF-8 file and a UTF-16 LE file with its byte-order
// mark (Notepad's "Unicode") are read correctly too; writes keep the encoding
// the file already has (CP949 for a new or all-ASCII file).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qx {

class ProfileIni {
  public:
    explicit ProfileIni(std::string path) : path_(std::move(path)) {}
    const std::string& path() const { return path_; }

    // Values are handed in and out as UTF-8.
    std::string read(const std::string& section, const std::string& key,
                     const std::string& fallback = "") const;
    // True when the file could be written. Sections and keys are matched
    // case-insensitively; other lines of the file are kept as they are. A
    // section, key or value holding a line break (or a section with "]", a
    // key with "=") is refused, as it would break the file apart.
    bool write(const std::string& section, const std::string& key, const std::string& value) const;

  private:
    std::string path_;
};

// A "YES"/"NO" switch value: on when it reads "YES" in any case.
bool IsYes(const std::string& value);

// The line structure under ProfileIni and the per-user settings file, on raw
// bytes of any ASCII-compatible encoding. Lines that are not touched are kept
// byte for byte; the file's line ending (CRLF or LF) is kept.
class IniText {
  public:
    // `new_eol` is the line ending used when the text has none yet.
    explicit IniText(std::string_view bytes, std::string_view new_eol = "\r\n");
    // The value of the first matching key in the first matching section,
    // trimmed of blanks and of one pair of enclosing quotes; nullopt when
    // there is no such key.
    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Replaces the key's line, or adds it at the end of its section (adding
    // the section at the end of the file when missing).
    void set(std::string_view section, std::string_view key, std::string_view value);
    std::string bytes() const;

    // False for names and values that cannot be written as one line.
    static bool IsWritable(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::vector<std::string> lines_;
    std::string eol_;
    bool final_eol_ = true;
};

// Whole file as bytes; nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Writes a temporary file beside `path` and renames it over `path`, so a
// reader never sees half a file.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
// Creates a new empty file named `prefix` followed by six random characters
// and returns its path, so two writers never share one; nullopt when it
// cannot be made.
std::optional<std::string> CreateUniqueFile(const std::string& prefix);

}  // namespace qx
