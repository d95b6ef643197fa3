// Received EB11 files written byte by byte for the tests, by the positions
// of the clearing house's layout (not with the client's reader).
#pragma once

#include <fmt/format.h>

#include <string>
#include <vector>

namespace qx::test {

struct Eb11Line {
    std::string kind;   // "1", "3", "7"
    std::string payer;  // as written into bytes 27-46
    std::string bank3;  // bytes 47-49
    std::string account, idNumber;
    std::string org;  // empty: the file's institution
    std::string channel = "CNCL";
    std::string phone = "01012345678";
};

inline std::string Eb11Header(const std::string& org, const std::string& name,
                              const std::string& yymmdd, char type = 'H') {
    return fmt::format("{}00000000{:<10}{:<8}{:<6}{:87}", type, org, name, yymmdd, "");
}

inline std::string Eb11Data(const std::string& org, const std::string& yymmdd, long long serial,
                            const Eb11Line& l, char type = 'R') {
    // 1 type, 2-9 serial, 10-19 org, 20-25 date, 26 kind, 27-46 payer,
    // 47-49 bank, 50-53 branch, 54-69 account, 70-85 id, 86-89 channel,
    // 90-91 money kind, 92 flag, 93-96 code, 97-98, 99-110 phone, 111-120.
    return fmt::format(
        "{}{:08}{:<10}{:<6}{:1}{:<20}{:<3}{:4}{:<16}{:<16}{:<4}{:<2}{:1}{:4}{:2}"
        "{:<12}{:10}",
        type, serial, l.org.empty() ? org : l.org, yymmdd, l.kind, l.payer, l.bank3, "", l.account,
        l.idNumber, l.channel, "01", "", "", "", l.phone, "");
}

inline std::string Eb11Trailer(const std::string& org, const std::string& name, long long total,
                               long long news, long long cancels, long long arbitrary,
                               const std::string& mac) {
    return fmt::format("T99999999{:<10}{:<8}{:08}{:08}{:08}{:08}{:08}{:43}{:<10}", org, name, total,
                       news, 0, cancels, arbitrary, "", mac);
}

// A whole file of `lines` for the day yymmdd.
inline std::string Eb11Bytes(const std::string& org, const std::string& yymmdd,
                             const std::vector<Eb11Line>& lines, const std::string& mac) {
    const std::string name = "EB11" + yymmdd.substr(2);
    std::string out = Eb11Header(org, name, yymmdd);
    long long serial = 0, news = 0, cancels = 0, arbitrary = 0;
    for (const Eb11Line& l : lines) {
        out += Eb11Data(org, yymmdd, ++serial, l);
        news += l.kind == "1";
        cancels += l.kind == "3";
        arbitrary += l.kind == "7";
    }
    return out + Eb11Trailer(org, name, serial, news, cancels, arbitrary, mac);
}

}  // namespace qx::test
