#include "support/gr15_generator.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace qx::test {

namespace {

std::string Digits(long long value, std::size_t width) {
    std::string s = std::to_string(value);
    if (s.size() > width) throw std::invalid_argument("field too narrow: " + s);
    return std::string(width - s.size(), '0') + s;
}

std::string Text(const std::string& value, std::size_t width) {
    if (value.size() > width) throw std::invalid_argument("field too narrow: " + value);
    return value + std::string(width - value.size(), ' ');
}

std::string Finish(std::string record) {
    if (record.size() > 120) throw std::invalid_argument("record longer than 120 bytes");
    record.resize(120, ' ');
    return record;
}

}  // namespace

std::string Gr15HeaderRecord(const std::string& giroCode, const std::string& yymmdd) {
    // 1-2 kind, 3-4 blank, 5-11 giro code, 12-19 blank, 20-25 date.
    return Finish("11  " + Text(giroCode, 7) + std::string(8, ' ') + Text(yymmdd, 6));
}

std::string Gr15DataRecord(const Gr15Line& l, const std::string& yymmdd) {
    std::string r = "22";
    r += Digits(l.seq, 7);                                          // 3
    r += Text(l.wondate, 8);                                        // 10
    r += Text(l.filedate.empty() ? "20" + yymmdd : l.filedate, 8);  // 18
    r += Text(l.bankCode, 7);                                       // 26
    r += Text(l.bankCodeExt, 7);                                    // 33
    r += Text(l.giroIdx, 12);                                       // 40
    r += Text(l.giroNo, 19);                                        // 52
    r += ' ';                                                       // 71
    r += Digits(l.amount, 13);                                      // 72
    r += l.receiptKind;                                             // 85
    r += Digits(l.fee, 4);                                          // 86
    r += l.processingKind;                                          // 90
    return Finish(r);
}

std::string Gr15TrailerRecord(long long count, long long amount, long long fee, long long deduction,
                              long long total) {
    return Finish("33" + std::string(14, ' ') + Digits(count, 14) + Digits(amount, 14) +
                  Digits(fee, 14) + Digits(deduction, 14) + Digits(total, 14));
}

std::string Gr15FileBytes(const std::string& giroCode, const std::string& yymmdd,
                          const std::vector<Gr15Line>& lines) {
    std::string bytes = Gr15HeaderRecord(giroCode, yymmdd);
    long long amount = 0, fee = 0, seq = 0;
    for (Gr15Line l : lines) {
        ++seq;
        if (l.seq == 0) l.seq = seq;
        amount += l.amount;
        fee += l.fee;
        bytes += Gr15DataRecord(l, yymmdd);
    }
    const auto n = static_cast<long long>(lines.size());
    return bytes + Gr15TrailerRecord(n, amount, fee, fee, amount - fee);
}

std::vector<Gr15Line> Gr15Payments(const std::vector<std::string>& giroNumbers, long long count) {
    std::vector<Gr15Line> lines;
    if (giroNumbers.empty()) return lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i) {
        Gr15Line l;
        const std::string& n = giroNumbers[static_cast<std::size_t>(i) % giroNumbers.size()];
        l.giroNo = n.size() < 10 ? std::string(10 - n.size(), '0') + n : n;
        l.amount = 1000 * (1 + (i * 37) % 99);
        l.fee = 150;
        l.giroIdx = Digits(i + 1, 12);
        l.receiptKind = "  FGJEH"[static_cast<std::size_t>(i % 7)];
        lines.push_back(std::move(l));
    }
    return lines;
}

std::string WriteGr15File(const std::string& folder, const std::string& yymmdd,
                          const std::string& bytes) {
    std::filesystem::create_directories(folder);
    const std::string path = (std::filesystem::path(folder) / ("GR15" + yymmdd)).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
    return path;
}

}  // namespace qx::test
