#include "platform/sha256.h"

#include <openssl/evp.h>

#include <fstream>
#include <memory>

namespace qx {
namespace {

class Digest {
  public:
    Digest() : ctx_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
        ok_ = ctx_ && EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) == 1;
    }
    void add(std::string_view bytes) {
        ok_ = ok_ && EVP_DigestUpdate(ctx_.get(), bytes.data(), bytes.size()) == 1;
    }
    std::optional<std::string> hex() {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        if (!ok_ || EVP_DigestFinal_ex(ctx_.get(), digest, &length) != 1) return std::nullopt;
        static const char* digits = "0123456789abcdef";
        std::string out;
        for (unsigned int i = 0; i < length; ++i) {
            out += digits[digest[i] >> 4];
            out += digits[digest[i] & 15];
        }
        return out;
    }

  private:
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx_;
    bool ok_ = false;
};

}  // namespace

std::string Sha256Hex(std::string_view bytes) {
    Digest d;
    d.add(bytes);
    return d.hex().value_or("");
}

std::optional<std::string> FileSha256Hex(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    Digest d;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        d.add(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
    }
    if (in.bad()) return std::nullopt;
    return d.hex();
}

}  // namespace qx
