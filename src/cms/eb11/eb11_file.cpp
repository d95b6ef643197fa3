#include "cms/eb11/eb11_file.h"

#include <algorithm>
#include <filesystem>

#include "cms/eb11/bank_succession.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_record.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "platform/codepage.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

std::optional<long long> Eb11Record::payerNumber() const {
    if (payer.empty() || !IsAllDigits(payer)) return std::nullopt;
    const auto first = payer.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    // More than ten significant digits is beyond every payer number; keep
    // it representable and above the limit.
    if (payer.size() - first > 10) return 99999999999LL;
    return std::stoll(payer.substr(first));
}

namespace {

Eb11Record ParseRecord(const std::string& bytes) {
    const RecordReader r(bytes);
    Eb11Record rec;
    rec.serial = r.number(2, 8).value_or(0);
    rec.orgCode = r.field(10, 10);
    rec.applied = r.field(20, 6);
    rec.kind = r.field(26, 1);
    rec.payer = r.field(27, 20);
    rec.bankCode = SucceedingBankCode(r.field(47, 3) + "0000");
    rec.account = r.field(54, 16);
    rec.idNumber = r.field(70, 16);
    rec.channel = r.field(86, 4);
    rec.moneyKind = r.field(90, 2);
    rec.phone = r.field(99, 12);
    rec.original = FromCp949(bytes);
    return rec;
}

bool KnownKind(const std::string& kind) {
    return kind == "1" || kind == "3" || kind == "7";
}

}  // namespace

Eb11Reading ReadEb11File(Database& db, const SessionContext& s, const std::string& path) {
    Eb11Reading out = ParseEb11File(s, path);
    if (out.error.empty() &&
        db.scalarInt("select count(*) from " + s.schema() + ".file_ea11 where reg_date=?",
                     {out.yyyymmdd}) > 0) {
        out.error = kEb11AlreadyAppliedText;
        out.records.clear();
    }
    return out;
}

Eb11Reading ParseEb11File(const SessionContext& s, const std::string& path) {
    Eb11Reading out;
    const std::string lastEight = NameInHeader(path);
    RecordVisitor visitor;
    visitor.header = [&](const RecordReader& r, const std::string&) -> std::string {
        const auto date = ParseDate(r.field(28, 6));
        if (r.field(20, 8) != lastEight || !date || r.field(28, 6).size() != 6 ||
            r.field(28, 6).substr(2) != lastEight.substr(4))
            return kEb11NameDateText;
        if (r.field(10, 10) != s.org_code) return kEb11OtherInstitutionText;
        out.yyyymmdd = Yyyymmdd(*date);
        return {};
    };
    visitor.data = [&](const RecordReader&, const std::string& bytes) -> std::string {
        Eb11Record rec = ParseRecord(bytes);
        // The answer returns the record as received: it must survive the
        // trip through the table byte for byte.
        if (!KnownKind(rec.kind) || ToCp949(rec.original) != bytes) return kEb11BadRecordText;
        out.records.push_back(std::move(rec));
        return {};
    };
    visitor.trailer = [&](const RecordReader& r, const std::string&) -> std::string {
        out.mac = r.field(111, 10);
        return {};
    };
    out.error = VisitCmsFile(path, kShortRecordLength, kEb11BadRecordText, visitor);
    if (!out.error.empty()) out.records.clear();
    return out;
}

std::string Eb11KindText(const std::string& kind) {
    if (kind == "1") return "신규";
    if (kind == "3") return "해지";
    if (kind == "7") return "임의해지";
    return kind;
}

std::string Eb11ChannelText(const std::string& channel, const std::string& kind) {
    const char* what = channel == kEb11AccountChangeChannel ? "계좌변경"
                       : channel == "CNCL"                  ? "접수처리"
                                                            : nullptr;
    if (!what) return "접수채널 정보없음";
    return std::string(kind == "7" ? "통합관리서비스 " : "참가기관 ") + what;
}

std::vector<Eb11FileEntry> ListEb11Files(Database& db, const SessionContext& s) {
    std::vector<Eb11FileEntry> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ExchangeFolder(s, kEb11Kind), ec)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(ec) || name.rfind(kEb11Kind, 0) != 0) continue;
        out.push_back({name, entry.path().string(), {}, HeaderDate(entry.path().string())});
    }
    std::sort(out.begin(), out.end(),
              [](const Eb11FileEntry& a, const Eb11FileEntry& b) { return a.name < b.name; });
    for (Eb11FileEntry& e : out) {
        const Eb11Reading r = ReadEb11File(db, s, e.path);
        e.state = r.error.empty() ? kEb11NotAppliedState : r.error;
    }
    return out;
}

std::vector<Eb11FileEntry> ListEb11FilesAndDays(Database& db, const SessionContext& s,
                                                const std::string& yyyy) {
    std::vector<Eb11FileEntry> out = ListEb11Files(db, s);
    const Recordset rs = db.OpenRecordset(
        "select reg_date, min(pross_stat) stat from " + s.schema() +
            ".file_ea11 where mid(reg_date,1,4)=? group by reg_date order by reg_date desc",
        {yyyy});
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const std::string day = rs[i]["reg_date"];
        const bool inFolder = std::any_of(out.begin(), out.end(), [&](const Eb11FileEntry& e) {
            return !e.path.empty() && e.day == day;
        });
        if (inFolder || day.size() != 8) continue;
        out.push_back({std::string(kEb11Kind) + day.substr(4),
                       {},
                       rs[i]["stat"] == "1" ? "EB12 완료" : "EB12 미완료",
                       day});
    }
    return out;
}

std::vector<std::string> Eb11Years(Database& db, const SessionContext& s) {
    const Recordset rs = db.OpenRecordset("select mid(reg_date,1,4) cboyear from " + s.schema() +
                                          ".file_ea11 group by mid(reg_date,1,4) order by "
                                          "mid(reg_date,1,4) desc");
    std::vector<std::string> out;
    for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(rs[i][0]);
    return out;
}

std::vector<std::string> Eb11DetailColumns() {
    return {"구분",     "납부자번호", "은행코드", "계좌번호", "생년월일(사업자번호)",
            "처리결과", "신청일자",   "접수채널", "상태"};
}

std::vector<std::vector<std::string>> Eb11Detail(Database& db, const SessionContext& s,
                                                 const std::string& yyyymmdd) {
    const Recordset rs = db.OpenRecordset(
        "select reg_kind, user_no, bank_code, account_no, id_no, result, reg_date, "
        "file_orig_msg, pross_stat from " +
            s.schema() + ".file_ea11 where reg_date=? order by ea11_inx asc",
        {yyyymmdd});
    std::vector<std::vector<std::string>> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto row = rs[i];
        std::string payer = row["user_no"];
        if (IsAllDigits(payer) && payer.size() < 10) payer.insert(0, 10 - payer.size(), '0');
        std::string bank = row["bank_code"];
        std::replace(bank.begin(), bank.end(), ' ', '0');
        const std::string channel = RecordReader(ToCp949(row["file_orig_msg"])).field(86, 4);
        out.push_back({Eb11KindText(row["reg_kind"]), payer, bank, row["account_no"], row["id_no"],
                       row["result"], row["reg_date"], Eb11ChannelText(channel, row["reg_kind"]),
                       row["pross_stat"] == "1" ? "EB12 완료" : "EB12 미완료"});
    }
    return out;
}

}  // namespace qx
