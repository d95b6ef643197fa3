// SHA-256 of bytes and of files, as lower-case hex: the check of a
// downloaded program against the value published with its release.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qx {

std::string Sha256Hex(std::string_view bytes);
// The file's digest; nullopt when it cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path);

}  // namespace qx
