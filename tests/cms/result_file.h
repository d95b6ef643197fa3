// What every received result file written by hand for the tests has: a
// header naming the file and its date, a trailer naming it again, records
// of one length, and the bytes put where a desk finds them.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "cms/workspace/cms_record.h"

namespace qx::test {

inline std::string ResultFileHeader(int length, const std::string& name, const std::string& yymmdd,
                                    const std::string& type = "H") {
    return RecordBuilder(length)
        .text(type, 1)
        .number(0, 8)
        .text("9900001234", 10)
        .text(name, 8)
        .text(yymmdd, 6)
        .finish();
}

inline std::string ResultFileTrailer(int length, const std::string& name) {
    return RecordBuilder(length)
        .text("T", 1)
        .number(99999999, 8)
        .text("9900001234", 10)
        .text(name, 8)
        .finish();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace qx::test
