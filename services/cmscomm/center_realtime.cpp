#include "center_realtime.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "file_check.h"

namespace center {

namespace fs = std::filesystem;

namespace {

using Fields = std::map<std::string, std::string>;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// Keys reach file names: digits only, as the client issues them.
bool SafeKey(const std::string& key) {
    return !key.empty() && key.size() <= 20 && AllDigits(key);
}

std::string Pack(const Fields& f) {
    std::string out;
    for (const auto& [k, v] : f) out += k + "=" + v + "\n";
    return out;
}

Fields Unpack(const std::string& text) {
    Fields f;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto eq = line.find('=');
        if (eq != std::string::npos) f[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return f;
}

std::string Bank3(const std::string& bank) {
    return bank.substr(0, 3);
}

// Newlines or "|" in a field would break the kept record and the list answer.
bool CleanField(const std::string& text) {
    return text.find_first_of("\r\n|=") == std::string::npos;
}

}  // namespace

std::string RealtimeMessage(const std::string& code) {
    static const std::map<std::string, std::string> texts = {
        {"0000", "정상처리"},
        {"0013", "계좌번호 오류"},
        {"0014", "해지된 계좌"},
        {"0015", "예금주 실명번호 불일치"},
        {"0016", "기 등록된 출금이체 계좌"},
        {"0017", "출금동의자료 미수신"},
        {"0018", "출금이체 미신청 계좌"},
    };
    const auto it = texts.find(code);
    return it == texts.end() ? "기타 오류" : it->second;
}

std::string RealtimeDesk::folder(const std::string& org) const {
    return center_.Box(org, "realtime");
}

Answer RealtimeDesk::ReceiveEvidence(const std::string& org, const std::string& key,
                                     const std::string& bytes) {
    if (!SafeKey(key)) return {kBadRequest, "요청키가 올바르지 않습니다."};
    if (bytes.empty()) return {kRefused, "동의자료 파일이 비어 있습니다."};
    if (!WriteOnce(folder(org) + "/evidence_" + key, bytes))
        return {kAlreadySent, "동의자료가 이미 송신되었습니다."};
    return {};
}

Answer RealtimeDesk::Submit(const std::string& org, const RealtimeRequest& r) {
    if (!SafeKey(r.key)) return {kBadRequest, "요청키가 올바르지 않습니다."};
    if (r.kind != "50" && r.kind != "51" && r.kind != "52")
        return {kBadRequest, "부가서비스 구분이 올바르지 않습니다."};
    if ((r.bank.size() != 3 && r.bank.size() != 7) || !AllDigits(r.bank) || r.account.size() < 8 ||
        r.account.size() > 16 || !AllDigits(r.account) ||
        (r.holderId.size() != 6 && r.holderId.size() != 10) || !AllDigits(r.holderId) ||
        (r.kind != "50" && (r.payer.empty() || r.payer.size() > 20 || !AllDigits(r.payer))) ||
        !CleanField(r.payer))
        return {kBadRequest, "요청 항목이 올바르지 않습니다."};

    const std::string box = folder(org);
    std::string code = "0000", name;
    // Rules first: the operator's refusals and registered holders.
    std::string ruleName, ruleId;
    for (const std::string& line : center_.Rules()) {
        const auto w = Words(line);
        if (w.size() >= 3 && w[0] == "holder" && w[1] == r.account) {
            ruleName = w[2];
            ruleId = w.size() >= 4 ? w[3] : "";
        }
        if (w.size() == 4 && w[0] == "realtime-refuse" && w[1] == r.kind && w[2] == r.account)
            code = PadRight(w[3], 4).substr(0, 4);
    }
    if (code == "0000" && !ruleId.empty() && ruleId != r.holderId) code = "0015";
    if (r.kind == "50" && code == "0000")
        name = ruleName.empty() ? "예금주" + r.account.substr(r.account.size() - 4) : ruleName;

    const std::string registration =
        box + "/registered_" + Bank3(r.bank) + "_" + r.account + "_" + r.payer;
    std::error_code ec;
    if (r.kind == "51" && code == "0000") {
        if (!fs::exists(box + "/evidence_" + r.key, ec))
            code = "0017";
        else if (!WriteOnce(registration, r.key + "\n"))
            code = "0016";  // the debit is already registered
    }
    if (r.kind == "52" && code == "0000") fs::remove(registration, ec);

    const std::string date = NowStamp().substr(0, 8);
    const Fields kept = {{"kind", r.kind},       {"date", date},
                         {"bank", r.bank},       {"payer", r.payer},
                         {"account", r.account}, {"holder", r.holderId},
                         {"code", code},         {"message", RealtimeMessage(code)},
                         {"name", name}};
    if (!WriteOnce(box + "/request_" + r.key, Pack(kept))) {
        if (r.kind == "51" && code == "0000") fs::remove(registration, ec);
        return {kAlreadySent, "이미 접수된 요청입니다."};
    }
    return {};
}

Answer RealtimeDesk::AnswerOf(const std::string& org, const std::string& key,
                              RealtimeAnswer& out) const {
    if (!SafeKey(key)) return {kBadRequest, "요청키가 올바르지 않습니다."};
    std::string text;
    if (!ReadWhole(folder(org) + "/request_" + key, text))
        return {kNotFound, "접수된 요청이 없습니다."};
    const Fields f = Unpack(text);
    out.code = f.count("code") ? f.at("code") : "";
    out.message = f.count("message") ? f.at("message") : "";
    out.holderName = f.count("name") ? f.at("name") : "";
    return {};
}

std::vector<RealtimeResult> RealtimeDesk::Results(const std::string& org, const std::string& kind,
                                                  const std::string& from,
                                                  const std::string& to) const {
    std::vector<std::pair<long long, RealtimeResult>> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder(org), ec)) {
        const std::string base = entry.path().filename().string();
        if (base.rfind("request_", 0) != 0 || !SafeKey(base.substr(8))) continue;
        std::string text;
        if (!ReadWhole(entry.path().string(), text)) continue;
        Fields f = Unpack(text);
        if (f["kind"] != kind || f["date"] < from || f["date"] > to) continue;
        found.emplace_back(std::stoll(base.substr(8)),
                           RealtimeResult{f["kind"], f["date"], f["bank"], f["payer"], f["account"],
                                          f["holder"], f["code"], f["message"]});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<RealtimeResult> out;
    for (auto& [key, r] : found) out.push_back(std::move(r));
    return out;
}

}  // namespace center
