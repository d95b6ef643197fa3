// Received EB22 files written byte by byte for the tests: the shape of the
// EB21 request with the result flag at byte 69, the code at 70-73 and a
// Hangul passbook text after them (two CP949 bytes a syllable).
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cms/workspace/cms_record.h"

namespace qx::test {

struct Eb22Line {
    long long serial;
    long long amount;    // the request's, or for "P" the amount withdrawn
    std::string result;  // " " withdrawn, "N", "P"
    std::string code;
};

inline std::string Eb22Header(const std::string& name, const std::string& yymmdd,
                              const std::string& type = "H") {
    return RecordBuilder(150)
        .text(type, 1)
        .number(0, 8)
        .text("9900001234", 10)
        .text(name, 8)
        .text(yymmdd, 6)
        .finish();
}

inline std::string Eb22Record(const Eb22Line& line, const std::string& type = "R") {
    return RecordBuilder(150)
        .text(type, 1)
        .number(line.serial, 8)
        .text("9900001234", 10)
        .text("0040000", 7)
        .text("12345678901", 16)
        .number(line.amount, 13)  // bytes 43-55
        .text("800101", 13)
        .text(line.result, 1)    // byte 69
        .text(line.code, 4)      // bytes 70-73
        .text("쿼리스회비", 16)  // bytes 74-89
        .blanks(2)
        .text(std::to_string(line.serial), 20)
        .blanks(5)
        .text("2", 1)
        .finish();
}

inline std::string Eb22Trailer(const std::string& name) {
    return RecordBuilder(150)
        .text("T", 1)
        .number(99999999, 8)
        .text("9900001234", 10)
        .text(name, 8)
        .finish();
}

inline std::string Eb22Bytes(const std::string& name, const std::string& yymmdd,
                             const std::vector<Eb22Line>& lines) {
    std::string bytes = Eb22Header(name, yymmdd);
    for (const auto& l : lines) bytes += Eb22Record(l);
    return bytes + Eb22Trailer(name);
}

inline void WriteEb22(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace qx::test
