#include "center_issue.h"

#include "file_check.h"

namespace center {

bool BuildEb11(const std::string& org, const std::string& date, const std::string& mac,
               const std::vector<std::string>& records, std::string& bytes, std::string& error) {
    if (date.size() != 8 || !AllDigits(date)) {
        error = "날짜는 YYYYMMDD 여야 합니다: " + date;
        return false;
    }
    if (org.empty() || org.size() > 10) {
        error = "이용기관코드가 올바르지 않습니다: " + org;
        return false;
    }
    // A longer value would be cut, and the EB12 would carry a MAC nobody issued.
    if (mac.size() > kMacLength) {
        error = "MAC 값은 10바이트 이하여야 합니다: " + mac;
        return false;
    }
    const std::string name = "EB11" + date.substr(4);
    std::string out = PadRight("H00000000" + PadRight(org, 10) + name + date.substr(2), 120);
    long long n = 0, created = 0, cancelled = 0, arbitrary = 0;
    for (const std::string& tail : records) {
        ++n;
        if (tail.size() > kEb11RecordTail) {
            error = "레코드 " + std::to_string(n) + ": 101바이트를 넘습니다.";
            return false;
        }
        const std::string rec = PadRight("R" + ZeroPad(n, 8) + PadRight(org, 10) + tail, 120);
        const char kind = rec[25];
        if (kind == '1')
            ++created;
        else if (kind == '3')
            ++cancelled;
        else if (kind == '7')
            ++arbitrary;
        out += rec;
    }
    out += PadRight("T99999999" + PadRight(org, 10) + name + ZeroPad(n, 8) + ZeroPad(created, 8) +
                        "00000000" + ZeroPad(cancelled, 8) + ZeroPad(arbitrary, 8),
                    110) +
           PadRight(mac, kMacLength);
    bytes = std::move(out);
    return true;
}

}  // namespace center
