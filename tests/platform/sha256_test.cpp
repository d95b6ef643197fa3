#include "platform/sha256.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qx {
namespace {

// Published test vectors, across the one- and two-block padding boundary.
TEST(Sha256, KnownDigests) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : cases) EXPECT_EQ(Sha256Hex(text), digest) << text.size();
}

TEST(Sha256, FileDigestMatchesTheBytesAndAMissingFileHasNone) {
    const auto path = std::filesystem::temp_directory_path() / "qx_sha256_file";
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_EQ(FileSha256Hex(path.string()), Sha256Hex(bytes));
    std::filesystem::remove(path);
    EXPECT_EQ(FileSha256Hex(path.string()), std::nullopt);
}

}  // namespace
}  // namespace qx
