// CMS files written by hand from the layouts, never by the client's writers,
// so that a test compares the client's work with an independent reading.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qx::test {

inline std::string Pad(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

inline std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream o;
    o << in.rdbuf();
    return o.str();
}

// An EB13 written by hand from the layout, not by the client's writer.
struct HandMadeEb13 {
    std::string org, mmdd, yymmdd;
    std::vector<std::string> rows;  // kind(1) + payer(20) + bank(7) + account(16) + id(16)
    std::string name() const { return "EB13" + mmdd; }
    std::string header(const std::string& kind) const {
        return Pad("H00000000" + Pad(org, 10) + kind + mmdd + yymmdd, 120);
    }
    std::string data(size_t i, const std::string& answer) const {
        char serial[9];
        std::snprintf(serial, sizeof serial, "%08zu", i + 1);
        std::string rec = "R" + std::string(serial) + Pad(org, 10) + yymmdd + rows[i];
        rec = Pad(rec, 120);
        if (!answer.empty()) rec.replace(91, answer.size(), answer);
        return rec;
    }
    std::string trailer(const std::string& kind, int total, int created, int cancelled) const {
        char counts[41];
        std::snprintf(counts, sizeof counts, "%08d%08d00000000%08d00000000", total, created,
                      cancelled);
        return Pad("T99999999" + Pad(org, 10) + kind + mmdd + counts, 120);
    }
};

// An EI13 agreement file laid out by hand: header block, one record per
// agreement file filling whole 1024-byte blocks, trailer block.
struct HandMadeEi13 {
    std::string org, yyyymmdd;
    std::vector<std::string> payers;    // one record each
    std::vector<std::string> contents;  // the agreement files' bytes
    long long headerCount = -1, trailerCount = -1, trailerBlocks = -1;

    static std::string Zero(long long v, size_t width) {
        std::string d = std::to_string(v);
        return std::string(width > d.size() ? width - d.size() : 0, '0') + d;
    }
    std::string record(size_t i) const {
        std::string rec = "AE111222" + Zero(static_cast<long long>(i + 1), 7) +
                          std::string(10, ' ') + Pad(org, 20) + Pad(payers[i], 30) + "004" +
                          Pad("11122233344", 20) + "20261201" + "1" + Pad("jpg", 5) +
                          Zero(static_cast<long long>(contents[i].size()), 7) + contents[i];
        rec.resize((rec.size() + 1023) / 1024 * 1024, ' ');
        return rec;
    }
    std::string bytes() const {
        std::string data;
        for (size_t i = 0; i < contents.size(); ++i) data += record(i);
        const long long n = static_cast<long long>(contents.size());
        const long long blocks = static_cast<long long>(data.size() / 1024);
        return Pad("AE1112110000000" + yyyymmdd + Pad(org, 20) +
                       Zero(headerCount < 0 ? n : headerCount, 7),
                   1024) +
               data +
               Pad("AE1112339999999" + Pad(org, 20) + Zero(trailerCount < 0 ? n : trailerCount, 7) +
                       Zero(trailerBlocks < 0 ? blocks : trailerBlocks, 10),
                   1024);
    }
};

}  // namespace qx::test
