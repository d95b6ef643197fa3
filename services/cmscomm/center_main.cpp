// quorisdex-center: the operator's side of the simulated clearing house.
//   quorisdex-center --dir DIR rule "refuse 12345678 0012"   (add a rule)
//     rules: "refuse ACCOUNT CODE" (EB13 registration refused),
//            "withdraw-refuse ACCOUNT CODE" (EB21 withdrawal refused),
//            "withdraw-partial ACCOUNT AMOUNT" (only AMOUNT won withdrawn)
//   quorisdex-center --dir DIR rules | list ORG
//   quorisdex-center --dir DIR expire ORG NAME YYYYMMDD
//   quorisdex-center --dir DIR state ORG NAME YYYYMMDD CODE
//   quorisdex-center --dir DIR issue-eb11 ORG YYYYMMDD MAC RECORDFILE
//   quorisdex-center --dir DIR notice YYYYMMDD TITLE
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "center.h"
#include "file_check.h"

namespace {

int Usage() {
    std::cerr << "usage: quorisdex-center --dir DIR (rule TEXT | rules | list ORG | "
                 "expire ORG NAME YYYYMMDD | state ORG NAME YYYYMMDD CODE | "
                 "issue-eb11 ORG YYYYMMDD MAC RECORDFILE | notice YYYYMMDD TITLE)\n";
    return 2;
}

int Report(const center::Answer& a) {
    if (a.code == 0) return 0;
    std::cerr << a.text << " (" << a.code << ")\n";
    return 1;
}

// An EB11 from given data records (the part after the institution code,
// 101 bytes each, one a line), framed with header and trailer.
int IssueEb11(center::Center& c, const std::string& org, const std::string& date,
              const std::string& mac, const std::string& recordFile) {
    using center::PadRight;
    using center::ZeroPad;
    if (date.size() != 8 || !center::AllDigits(date)) return Usage();
    std::ifstream in(recordFile);
    if (!in) {
        std::cerr << recordFile << ": cannot read\n";
        return 1;
    }
    const std::string name = "EB11" + date.substr(4);
    std::string bytes = PadRight("H00000000" + PadRight(org, 10) + name + date.substr(2), 120);
    long long n = 0, created = 0, cancelled = 0, arbitrary = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        ++n;
        const std::string rec = PadRight("R" + ZeroPad(n, 8) + PadRight(org, 10) + line, 120);
        const char kind = rec.size() > 25 ? rec[25] : ' ';
        if (kind == '1')
            ++created;
        else if (kind == '3')
            ++cancelled;
        else if (kind == '7')
            ++arbitrary;
        bytes += rec;
    }
    bytes +=
        PadRight("T99999999" + PadRight(org, 10) + name + ZeroPad(n, 8) + ZeroPad(created, 8) +
                     "00000000" + ZeroPad(cancelled, 8) + ZeroPad(arbitrary, 8) + PadRight(mac, 10),
                 120);
    return Report(c.IssueFile(org, name, date, bytes));
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 3 || args[0] != "--dir") return Usage();
    center::Center c(args[1]);
    const std::string command = args[2];
    const std::vector<std::string> rest(args.begin() + 3, args.end());
    if (command == "rule" && rest.size() == 1) {
        c.AddRule(rest[0]);
        return 0;
    }
    if (command == "rules" && rest.empty()) {
        for (const std::string& r : c.Rules()) std::cout << r << "\n";
        return 0;
    }
    if (command == "list" && rest.size() == 1) {
        for (const auto& f : c.SentFiles(rest[0], "", ""))
            std::cout << "sent " << f.name << " " << f.fileDate << " " << f.size << "\n";
        for (const auto& f : c.Receivable(rest[0], "", ""))
            std::cout << "result " << f.name << " " << f.fileDate << " " << f.state << "\n";
        return 0;
    }
    if (command == "expire" && rest.size() == 3)
        return Report(c.SetState(rest[0], rest[1], rest[2], "09"));
    if (command == "state" && rest.size() == 4)
        return Report(c.SetState(rest[0], rest[1], rest[2], rest[3]));
    if (command == "issue-eb11" && rest.size() == 4)
        return IssueEb11(c, rest[0], rest[1], rest[2], rest[3]);
    if (command == "notice" && rest.size() == 2) {
        std::string all;
        for (const std::string& n : c.Notices()) all += n + "\n";
        all += rest[0] + "|" + rest[1] + "\n";
        return center::WriteAtomically(c.folder() + "/notices.txt", all) ? 0 : 1;
    }
    return Usage();
}
