// Received EB14 files written byte by byte for the tests: a header naming
// the file and its date, result records with a Hangul holder name before
// the result flag (two CP949 bytes a syllable), and a trailer.
#pragma once

#include <string>
#include <vector>

#include "cms/result_file.h"
#include "cms/workspace/cms_record.h"

namespace qx::test {

struct Eb14Line {
    long long serial;
    std::string flag;  // "N" refused, anything else accepted
    std::string code;
};

inline std::string Eb14Header(const std::string& name, const std::string& yymmdd,
                              const std::string& type = "H") {
    return ResultFileHeader(120, name, yymmdd, type);
}

inline std::string Eb14Record(const Eb14Line& line, const std::string& type = "R") {
    return RecordBuilder(120)
        .text(type, 1)
        .number(line.serial, 8)
        .text("9900001234", 10)
        .text("홍길동예금주", 20)  // 12 bytes of Hangul, padded
        .blanks(52)
        .text(line.flag, 1)  // byte 92
        .text(line.code, 4)  // bytes 93-96
        .finish();
}

inline std::string Eb14Trailer(const std::string& name) {
    return ResultFileTrailer(120, name);
}

inline std::string Eb14Bytes(const std::string& name, const std::string& yymmdd,
                             const std::vector<Eb14Line>& lines) {
    std::string bytes = Eb14Header(name, yymmdd);
    for (const auto& l : lines) bytes += Eb14Record(l);
    return bytes + Eb14Trailer(name);
}

}  // namespace qx::test
