// Received EB22 files written byte by byte for the tests: the shape of the
// EB21 request with the result flag at byte 69, the code at 70-73 and a
// Hangul passbook text after them (two CP949 bytes a syllable).
#pragma once

#include <string>
#include <vector>

#include "cms/result_file.h"
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
    return ResultFileHeader(150, name, yymmdd, type);
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
    return ResultFileTrailer(150, name);
}

inline std::string Eb22Bytes(const std::string& name, const std::string& yymmdd,
                             const std::vector<Eb22Line>& lines) {
    std::string bytes = Eb22Header(name, yymmdd);
    for (const auto& l : lines) bytes += Eb22Record(l);
    return bytes + Eb22Trailer(name);
}

}  // namespace qx::test
