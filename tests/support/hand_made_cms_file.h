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

}  // namespace qx::test
