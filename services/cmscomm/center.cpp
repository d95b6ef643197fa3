#include "center.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "file_check.h"

namespace center {

namespace fs = std::filesystem;

namespace {

std::string TempBeside(const std::string& path) {
    static std::atomic<unsigned> serial{0};
    return path + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(++serial);
}

bool WriteTemp(const std::string& temp, const std::string& bytes) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

using Meta = std::map<std::string, std::string>;

Meta ReadMeta(const std::string& path) {
    Meta m;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) m[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return m;
}

std::string MetaText(const HeldFile& f) {
    std::ostringstream o;
    o << "size=" << f.size << "\nrecords=" << f.records << "\namount=" << f.amount
      << "\nok_records=" << f.okRecords << "\nok_amount=" << f.okAmount << "\nstamp=" << f.stamp
      << "\nstate=" << f.state << "\n";
    return o.str();
}

long long MetaNumber(const Meta& m, const std::string& key) {
    const auto it = m.find(key);
    if (it == m.end() || !AllDigits(it->second)) return 0;
    return std::stoll(it->second);
}

// <name>_<yyyymmdd> with its .meta beside it.
std::vector<HeldFile> List(const std::string& folder, const std::string& from,
                           const std::string& to) {
    std::vector<HeldFile> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string base = entry.path().filename().string();
        if (base.size() != 17 || base[8] != '_') continue;
        HeldFile f;
        f.name = base.substr(0, 8);
        f.fileDate = base.substr(9);
        if (!AllDigits(f.fileDate)) continue;
        if ((!from.empty() && f.fileDate < from) || (!to.empty() && f.fileDate > to)) continue;
        const Meta m = ReadMeta(entry.path().string() + ".meta");
        f.size = MetaNumber(m, "size");
        f.records = MetaNumber(m, "records");
        f.amount = MetaNumber(m, "amount");
        f.okRecords = MetaNumber(m, "ok_records");
        f.okAmount = MetaNumber(m, "ok_amount");
        f.stamp = m.count("stamp") ? m.at("stamp") : "";
        f.state = m.count("state") ? m.at("state") : "";
        out.push_back(f);
    }
    std::sort(out.begin(), out.end(), [](const HeldFile& a, const HeldFile& b) {
        return std::tie(a.fileDate, a.name) < std::tie(b.fileDate, b.name);
    });
    return out;
}

std::string Key(const std::string& name, const std::string& fileDate) {
    return name + "_" + fileDate;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

}  // namespace

bool WriteAtomically(const std::string& path, const std::string& bytes) {
    const std::string temp = TempBeside(path);
    if (!WriteTemp(temp, bytes)) {
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WriteOnce(const std::string& path, const std::string& bytes) {
    const std::string temp = TempBeside(path);
    if (!WriteTemp(temp, bytes)) {
        ::unlink(temp.c_str());
        return false;
    }
    // link() refuses an existing name: of two senders only one wins.
    const bool won = ::link(temp.c_str(), path.c_str()) == 0;
    ::unlink(temp.c_str());
    return won;
}

bool ReadWhole(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream o;
    o << in.rdbuf();
    bytes = o.str();
    return true;
}

std::string NowStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    char text[16];
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &tm);
    return text;
}

std::string ResultName(const std::string& sentName) {
    if (sentName.size() < 4) return sentName;
    const std::string kind = sentName.substr(0, 4);
    return (kind == "EB21" ? "EB22" : kind == "EB13" ? "EB14" : kind) + sentName.substr(4);
}

Center::Center(std::string folder) : folder_(std::move(folder)) {}

std::string Center::orgFolder(const std::string& org, const std::string& box) const {
    std::string safe;
    for (char c : org)
        if (std::isalnum(static_cast<unsigned char>(c))) safe += c;
    const fs::path p = fs::path(folder_) / (safe.empty() ? "_" : safe) / box;
    std::error_code ec;
    fs::create_directories(p, ec);
    return p.string();
}

Answer Center::Accept(const std::string& org, const std::string& name, const std::string& bytes,
                      HeldFile* held) {
    const CheckedFile checked = CheckFile(name, bytes, org);
    if (!checked.ok) return {kRefused, checked.error};
    HeldFile f;
    f.name = name;
    f.fileDate = checked.fileDate;
    if (f.fileDate.empty()) {
        // Files without a dated header take the year of the day they arrive.
        f.fileDate = NowStamp().substr(0, 4) + name.substr(4, 4);
    }
    f.size = static_cast<long long>(bytes.size());
    f.records = checked.records;
    f.amount = checked.amount;
    f.okRecords = checked.records;
    f.okAmount = checked.amount;
    f.stamp = NowStamp();
    f.state = "00";
    const std::string path = orgFolder(org, "sent") + "/" + Key(name, f.fileDate);
    const std::string metaTemp = TempBeside(path + ".meta");
    if (!WriteTemp(metaTemp, MetaText(f)) || !WriteOnce(path, bytes)) {
        ::unlink(metaTemp.c_str());
        return {kAlreadySent, "파일이 이미 송신되었습니다."};
    }
    ::rename(metaTemp.c_str(), (path + ".meta").c_str());
    if (held) *held = f;
    return {};
}

bool Center::Sent(const std::string& org, const std::string& name, const std::string& fileDate,
                  HeldFile& out) const {
    for (const HeldFile& f : SentFiles(org, fileDate, fileDate))
        if (f.name == name) {
            out = f;
            return true;
        }
    return false;
}

std::vector<HeldFile> Center::SentFiles(const std::string& org, const std::string& from,
                                        const std::string& to) const {
    return List(orgFolder(org, "sent"), from, to);
}

bool Center::HasResult(const std::string& org, const std::string& name,
                       const std::string& fileDate) const {
    if (name.rfind("EB13", 0) != 0 && name.rfind("EB21", 0) != 0) return false;
    std::error_code ec;
    return fs::exists(orgFolder(org, "result") + "/" + Key(ResultName(name), fileDate), ec);
}

Answer Center::Cancel(const std::string& org, const std::string& name,
                      const std::string& fileDate) {
    const std::string sent = orgFolder(org, "sent") + "/" + Key(name, fileDate);
    std::error_code ec;
    if (!fs::exists(sent, ec)) return {kNotFound, "송신취소할 파일이 없습니다."};
    if (HasResult(org, name, fileDate))
        return {kCancelRefused, "처리결과가 생성되어 송신취소할 수 없습니다."};
    // Moved aside first so that a result cannot be produced from a half-removed send.
    const std::string aside = sent + ".cancelled" + NowStamp();
    if (::rename(sent.c_str(), aside.c_str()) != 0)
        return {kNotFound, "송신취소할 파일이 없습니다."};
    ::unlink((sent + ".meta").c_str());
    return {};
}

std::vector<std::string> Center::Rules() const {
    std::vector<std::string> rules;
    std::ifstream in(fs::path(folder_) / "rules.txt");
    for (std::string line; std::getline(in, line);)
        if (!Words(line).empty()) rules.push_back(line);
    return rules;
}

void Center::AddRule(const std::string& line) {
    std::string all;
    for (const std::string& r : Rules()) all += r + "\n";
    all += line + "\n";
    std::error_code ec;
    fs::create_directories(folder_, ec);
    WriteAtomically((fs::path(folder_) / "rules.txt").string(), all);
}

namespace {

// The operator's rules, by account number.
struct ResultRules {
    std::map<std::string, std::string> refusals;            // EB13: account → code
    std::map<std::string, std::string> withdrawalRefusals;  // EB21: account → code
    std::map<std::string, long long> partials;              // EB21: account → amount taken
};

ResultRules ReadRules(const std::vector<std::string>& lines) {
    ResultRules r;
    for (const std::string& rule : lines) {
        const auto w = Words(rule);
        if (w.size() != 3) continue;
        if (w[0] == "refuse") r.refusals[w[1]] = w[2];
        if (w[0] == "withdraw-refuse") r.withdrawalRefusals[w[1]] = w[2];
        if (w[0] == "withdraw-partial" && AllDigits(w[2]) && w[2].size() <= 13)
            r.partials[w[1]] = std::stoll(w[2]);
    }
    return r;
}

std::string TrimmedField(const std::string& rec, size_t position, size_t length) {
    std::string f = Field(rec, position, length);
    f.erase(f.find_last_not_of(' ') + 1);
    return f;
}

// EB14: every registration accepted ("Y") unless a rule refuses its account.
std::string Eb14Of(std::string bytes, const std::string& resultName, const ResultRules& rules) {
    const size_t n = bytes.size() / 120;
    for (size_t i = 0; i < n; ++i) {
        std::string rec = bytes.substr(i * 120, 120);
        if (rec[0] == 'H' || rec[0] == 'T') {
            rec.replace(19, 8, resultName);
        } else {
            const auto it = rules.refusals.find(TrimmedField(rec, 54, 16));
            rec.replace(91, 1, it == rules.refusals.end() ? "Y" : "N");
            rec.replace(92, 4, PadRight(it == rules.refusals.end() ? "0000" : it->second, 4));
        }
        bytes.replace(i * 120, 120, rec);
    }
    return bytes;
}

// EB22: every request withdrawn in full (result blank, code "0000") unless
// a rule refuses its account ("N" + code) or lets only part of it be taken.
// A partial answer carries the amount actually withdrawn in the amount field
// ("P", code "0011"); a request that allows no partial withdrawal (kind "1")
// fails instead. The trailer gets the count and sum of what was withdrawn.
std::string Eb22Of(std::string bytes, const std::string& resultName, const ResultRules& rules,
                   long long& okRecords, long long& okAmount) {
    okRecords = okAmount = 0;
    const size_t n = bytes.size() / 150;
    for (size_t i = 0; i < n; ++i) {
        std::string rec = bytes.substr(i * 150, 150);
        if (rec[0] == 'H') {
            rec.replace(19, 8, resultName);
        } else if (rec[0] == 'R') {
            const std::string account = TrimmedField(rec, 27, 16);
            const std::string amountText = Field(rec, 43, 13);
            const long long requested = AllDigits(amountText) ? std::stoll(amountText) : 0;
            std::string result = " ", code = "0000";
            long long taken = requested;
            const auto refused = rules.withdrawalRefusals.find(account);
            const auto partial = rules.partials.find(account);
            if (refused != rules.withdrawalRefusals.end()) {
                result = "N";
                code = PadRight(refused->second, 4).substr(0, 4);
                taken = 0;
            } else if (partial != rules.partials.end() && partial->second < requested) {
                if (Field(rec, 117, 1) == "2" && partial->second > 0) {
                    result = "P";
                    taken = partial->second;
                    rec.replace(42, 13, ZeroPad(taken, 13));
                } else {
                    result = "N";
                    taken = 0;
                }
                code = "0011";
            }
            rec.replace(68, 1, result);
            rec.replace(69, 4, code);
            if (taken > 0) {
                ++okRecords;
                okAmount += taken;
            }
        }
        bytes.replace(i * 150, 150, rec);
    }
    for (size_t i = 0; i < n; ++i) {
        if (bytes[i * 150] != 'T') continue;
        bytes.replace(i * 150 + 19, 8, resultName);
        bytes.replace(i * 150 + 56, 21, ZeroPad(okRecords, 8) + ZeroPad(okAmount, 13));
    }
    return bytes;
}

}  // namespace

std::string Center::resultOf(const std::string& org, const HeldFile& sent, long long& okRecords,
                             long long& okAmount) const {
    std::string bytes;
    if (!ReadWhole(orgFolder(org, "sent") + "/" + Key(sent.name, sent.fileDate), bytes)) return {};
    const ResultRules rules = ReadRules(Rules());
    const std::string resultName = ResultName(sent.name);
    if (sent.name.rfind("EB21", 0) == 0)
        return Eb22Of(std::move(bytes), resultName, rules, okRecords, okAmount);
    bytes = Eb14Of(std::move(bytes), resultName, rules);
    okRecords = okAmount = 0;
    for (size_t i = 1; i + 1 < bytes.size() / 120; ++i)
        if (bytes[i * 120 + 91] != 'N') ++okRecords;
    return bytes;
}

void Center::produceResults(const std::string& org) {
    const std::string results = orgFolder(org, "result");
    for (const HeldFile& sent : SentFiles(org, "", "")) {
        if (sent.name.rfind("EB13", 0) != 0 && sent.name.rfind("EB21", 0) != 0) continue;
        const std::string resultName = ResultName(sent.name);
        const std::string path = results + "/" + Key(resultName, sent.fileDate);
        std::error_code ec;
        if (fs::exists(path, ec)) continue;
        HeldFile r = sent;
        const std::string bytes = resultOf(org, sent, r.okRecords, r.okAmount);
        if (bytes.empty()) continue;
        r.name = resultName;
        r.state = "06";
        r.stamp = NowStamp();
        WriteAtomically(path + ".meta", MetaText(r));
        WriteOnce(path, bytes);
    }
}

std::vector<HeldFile> Center::Receivable(const std::string& org, const std::string& from,
                                         const std::string& to) {
    produceResults(org);
    return List(orgFolder(org, "result"), from, to);
}

Answer Center::Fetch(const std::string& org, const std::string& name, const std::string& fileDate,
                     bool expired, std::string& bytes) {
    produceResults(org);
    const std::string path = orgFolder(org, "result") + "/" + Key(name, fileDate);
    if (!ReadWhole(path, bytes)) return {kNotFound, "수신할 파일이 없습니다."};
    Meta m = ReadMeta(path + ".meta");
    const bool isExpired = m["state"] == "09";
    if (isExpired != expired)
        return {kNotFound,
                isExpired ? "기간이 만료된 파일입니다." : "기간이 만료된 파일이 아닙니다."};
    if (!expired) {
        HeldFile f;
        for (const HeldFile& h : List(orgFolder(org, "result"), fileDate, fileDate))
            if (h.name == name) f = h;
        f.state = "08";
        WriteAtomically(path + ".meta", MetaText(f));
    }
    return {};
}

Answer Center::FetchSent(const std::string& org, const std::string& name,
                         const std::string& fileDate, std::string& bytes) {
    if (!ReadWhole(orgFolder(org, "sent") + "/" + Key(name, fileDate), bytes))
        return {kNotFound, "역수신할 파일이 없습니다."};
    return {};
}

Answer Center::SetState(const std::string& org, const std::string& name,
                        const std::string& fileDate, const std::string& state) {
    produceResults(org);
    for (HeldFile f : List(orgFolder(org, "result"), fileDate, fileDate)) {
        if (f.name != name) continue;
        f.state = state;
        WriteAtomically(orgFolder(org, "result") + "/" + Key(name, fileDate) + ".meta",
                        MetaText(f));
        return {};
    }
    return {kNotFound, "파일이 없습니다."};
}

Answer Center::IssueFile(const std::string& org, const std::string& name,
                         const std::string& fileDate, const std::string& bytes) {
    HeldFile f;
    f.name = name;
    f.fileDate = fileDate;
    f.size = static_cast<long long>(bytes.size());
    f.records = bytes.size() / 120 >= 2 ? static_cast<long long>(bytes.size() / 120 - 2) : 0;
    f.okRecords = f.records;
    f.state = "06";
    f.stamp = NowStamp();
    const std::string path = orgFolder(org, "result") + "/" + Key(name, fileDate);
    WriteAtomically(path + ".meta", MetaText(f));
    if (!WriteOnce(path, bytes)) return {kAlreadySent, "이미 발행된 파일입니다."};
    return {};
}

std::vector<std::string> Center::Notices() const {
    std::vector<std::string> notices;
    std::ifstream in(fs::path(folder_) / "notices.txt");
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) notices.push_back(line);
    return notices;
}

long long Center::MonthLimit(const std::string& /*org*/) const {
    long long limit = 100000000;
    for (const std::string& rule : Rules()) {
        const auto w = Words(rule);
        if (w.size() == 2 && w[0] == "limit" && AllDigits(w[1])) limit = std::stoll(w[1]);
    }
    return limit;
}

long long Center::MonthUsed(const std::string& org, const std::string& yyyymm) const {
    long long used = 0;
    for (const HeldFile& f : SentFiles(org, yyyymm + "01", yyyymm + "31"))
        if (f.name.rfind("EB21", 0) == 0) used += f.amount;
    return used;
}

}  // namespace center
