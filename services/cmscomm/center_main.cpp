// quorisdex-center: the operator's side of the simulated clearing house.
//   quorisdex-center --dir DIR rule "refuse 12345678 0012"   (add a rule)
//     rules: "refuse ACCOUNT CODE" (EB13 registration refused),
//            "withdraw-refuse ACCOUNT CODE" (EB21 withdrawal refused),
//            "withdraw-partial ACCOUNT AMOUNT" (only AMOUNT won withdrawn),
//            "holder ACCOUNT NAME [ID]" (real-time: the account's registered holder),
//            "realtime-refuse KIND ACCOUNT CODE" (real-time request refused)
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
#include "center_issue.h"
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
    std::ifstream in(recordFile);
    if (!in) {
        std::cerr << recordFile << ": cannot read\n";
        return 1;
    }
    std::vector<std::string> records;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) records.push_back(line);
    }
    std::string bytes, error;
    if (!center::BuildEb11(org, date, mac, records, bytes, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    return Report(c.IssueFile(org, "EB11" + date.substr(4), date, bytes));
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
