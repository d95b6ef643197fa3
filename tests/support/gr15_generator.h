// GR15 receipt statements for tests, measurements and the demo, written
// byte by byte from the record layout (not with the reader's helpers, so
// that a reader's mistake shows).
#pragma once

#include <string>
#include <vector>

namespace qx::test {

struct Gr15Line {
    long long seq = 0;  // 0: numbered in order
    std::string wondate = "20261204";
    std::string filedate;  // empty: 20 + the file's YYMMDD
    std::string bankCode = "0880123";
    std::string bankCodeExt = "0880456";
    std::string giroIdx = "000000000001";
    std::string giroNo;  // written as given, left-aligned in 19 bytes
    long long amount = 0;
    char receiptKind = ' ';
    long long fee = 0;
    char processingKind = ' ';
};

// "11", blanks, the giro code from byte 5, the date YYMMDD at byte 20.
std::string Gr15HeaderRecord(const std::string& giroCode, const std::string& yymmdd);
std::string Gr15DataRecord(const Gr15Line& line, const std::string& yymmdd);
// "33" and the five 14-digit totals from byte 17.
std::string Gr15TrailerRecord(long long count, long long amount, long long fee, long long deduction,
                              long long total);

// The whole file, its trailer computed from the lines.
std::string Gr15FileBytes(const std::string& giroCode, const std::string& yymmdd,
                          const std::vector<Gr15Line>& lines);

// `count` payments spread over the customer numbers given (the number is
// written with leading zeros to 10 digits), amounts 1,000 to 99,000 won.
std::vector<Gr15Line> Gr15Payments(const std::vector<std::string>& giroNumbers, long long count);

// Writes the bytes to `folder`/GR15<yymmdd>; returns the path.
std::string WriteGr15File(const std::string& folder, const std::string& yymmdd,
                          const std::string& bytes);

}  // namespace qx::test
