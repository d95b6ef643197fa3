#include "cms/realtime/realtime_service.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "cms/ei13/agreement_evidence.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/bank_rules.h"
#include "db/business_days.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/role_filter.h"
#include "db/sql_quote.h"
#include "members/member_record.h"
#include "members/member_row_support.h"
#include "platform/interaction.h"
#include "platform/trim.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kRegistrationHead = "[신규신청(출금이체신청등록)]";
constexpr const char* kCancellationHead = "[해지신청(출금이체해지등록)]";
constexpr const char* kLogHead = ")  [CMS 실시간 부가서비스] ";
// An unanswered request of a member blocks another for this long; after a
// crash the member is free again, and the clearing house answers a second
// registration of the same account with "0016".
constexpr int kOpenRequestSeconds = 600;
constexpr int kAnswerDelayMs = 500;

bool Digits(const std::string& t) {
    return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
}

std::string Payer10(long long payer) {
    std::string t = std::to_string(payer);
    return std::string(t.size() < 10 ? 10 - t.size() : 0, '0') + t;
}

std::string Lower(std::string t) {
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
    return t;
}

// "a|b|c|" → fields.
std::vector<std::string> Bars(const std::string& text) {
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '|')) out.push_back(part);
    return out;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> out;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep)) out.push_back(part);
    return out;
}

std::vector<int> Ints(const std::string& text) {
    std::vector<int> out;
    for (const auto& p : Split(text, ',')) out.push_back(std::stoi(p));
    return out;
}

KftcList Layout(const char* headers, const char* widths, const char* aligns) {
    KftcList l;
    l.headers = Split(headers, '|');
    l.widths = Ints(widths);
    l.alignments = Ints(aligns);
    return l;
}

std::string ShowDate(const std::string& d) {
    return d.size() == 8 ? d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) : d;
}

const std::set<std::string> kCancellable = {"3", "7", "8", "11", "12", "14"};

}  // namespace

namespace {

// The three services with the texts of the choice box and of the result list.
struct RealtimeKindTexts {
    RealtimeKind kind;
    const char* choice;
    const char* list;
};
constexpr RealtimeKindTexts kRealtimeKinds[] = {
    {RealtimeKind::Inquiry, "계좌실명조회", "계좌조회"},
    {RealtimeKind::Registration, "신규신청(출금이체신청등록)", "출금이체신청"},
    {RealtimeKind::Cancellation, "해지신청(출금이체해지등록)", "출금해지"},
};

const RealtimeKindTexts* TextsOf(RealtimeKind kind) {
    for (const auto& k : kRealtimeKinds)
        if (k.kind == kind) return &k;
    return nullptr;
}

}  // namespace

std::string RealtimeKindChoiceText(RealtimeKind kind) {
    const auto* k = TextsOf(kind);
    return k ? k->choice : std::string();
}

std::string RealtimeKindListText(RealtimeKind kind) {
    const auto* k = TextsOf(kind);
    return k ? k->list : std::string();
}

std::optional<RealtimeKind> RealtimeKindOf(const std::string& code) {
    for (const auto& k : kRealtimeKinds)
        if (code == std::to_string(static_cast<int>(k.kind))) return k.kind;
    return std::nullopt;
}

const std::vector<std::pair<std::string, std::string>>& RealtimeBanks() {
    static const std::vector<std::pair<std::string, std::string>> banks = {
        {"002", "산업"}, {"003", "기업"}, {"004", "국민"},      {"007", "수협"},
        {"011", "농협"}, {"020", "우리"}, {"023", "SC제일"},    {"031", "대구"},
        {"032", "부산"}, {"034", "광주"}, {"039", "경남"},      {"071", "우체국"},
        {"081", "하나"}, {"088", "신한"}, {"090", "카카오뱅크"}};
    return banks;
}

struct RealtimeService::Member {
    long long number = 0;
    std::string remove, cmsStatus, agree, extKey, accountName;
};

RealtimeService::RealtimeService(Database& db, SessionContext& session, Interaction& ui,
                                 KftcTransfer& transfer)
    : db_(db), s_(session), ui_(ui), transfer_(transfer) {
    pause = [this](int ms) {
        if (transfer_.pause) transfer_.pause(ms);
    };
}

std::string RealtimeService::EvidenceFolder() const {
    return ExchangeFolder(s_, "EVDC");
}

std::vector<std::string> RealtimeService::EvidenceFiles(long long payer) const {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(EvidenceFolder(), ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        const std::string ext = Lower(entry.path().extension().string());
        if (ext.size() < 2 || !IsAgreementExtension(ext.substr(1))) continue;
        const auto parts = Split(entry.path().stem().string(), '_');
        if (parts.size() < 2 || !Digits(parts[0]) || parts[0].size() > 10) continue;
        if (std::stoll(parts[0]) != payer) continue;
        const std::string& d = parts[1];
        if (d.size() != 8 || !Digits(d) || !ParseDate(ShowDate(d))) continue;
        out.push_back(entry.path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string RealtimeService::bankName(const std::string& bank3) {
    for (const auto& e : LoadSharedCodeList(db_, s_.relay_prefix))
        if (e.data.substr(0, 3) == bank3) return e.text;
    return MergedBankName(bank3);
}

std::string RealtimeService::cmsStatusText(const std::string& code) {
    for (const auto& e : LoadSharedCodeList(db_, "cmsstat"))
        if (e.data == code) return e.text;
    return code;
}

std::optional<std::string> RealtimeService::refusal(const RealtimeRequest& r, const Member* m,
                                                    std::string& evidence) {
    if (!r.kind || r.bankCode.empty() || r.accountNo.empty() || r.holderId.empty())
        return kRealtimeRequiredText;
    if (!Digits(r.accountNo) || r.accountNo.size() < 8 || r.accountNo.size() > 16)
        return kRealtimeAccountDigitsText;
    if (!Digits(r.holderId) || (r.holderId.size() != 6 && r.holderId.size() != 10))
        return kRealtimeHolderDigitsText;
    // The bank code is a bank (3 digits) or a bank with its branch part (7).
    const bool bankShape = Digits(r.bankCode) && (r.bankCode.size() == 3 || r.bankCode.size() == 7);
    if (*r.kind == RealtimeKind::Inquiry) {
        if (!bankShape) return kRealtimeRequiredText;
        return std::nullopt;
    }
    if (r.payerNumber.empty())
        return std::string("[신규신청(출금이체신청등록)], [해지신청(출금이체해지등록)]") + kCrLf +
               "서비스 이용시 납부자번호는 반드시 입력해야합니다.";
    if (*r.kind == RealtimeKind::Registration) {
        const std::string head = std::string(kRegistrationHead) + kCrLf;
        if (!m || m->remove != "1" || m->cmsStatus != "0")
            return head + "서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다." + kCrLf +
                   "이용가능 회원상태 : 정상, CMS상태 : 신규";
        const std::string bank3 = bankShape ? r.bankCode.substr(0, 3) : "";
        const bool main = bankShape && (r.bankCode.size() == 3 || r.bankCode.substr(5) == "00");
        const auto& banks = RealtimeBanks();
        const bool listed = std::any_of(banks.begin(), banks.end(),
                                        [&](const auto& b) { return b.first == bank3; });
        if (!main || !listed) {
            std::string list;
            for (const auto& [code, name] : banks)
                list += (list.empty() ? "" : ", ") + name + "(" + code + ")";
            return head + "서비스 이용시 은행대표코드만 사용가능합니다." + kCrLf +
                   "고객카드에서 은행대표코드로 수정 후 사용해주시기 바랍니다." + kCrLf +
                   "이용가능 은행(은행대표코드) : " + list;
        }
        if (m->agree != "1")
            return head + "서비스 이용시 동의자료설정상태가 설정함인 경우에만 사용가능합니다." +
                   kCrLf + "고객카드에서 동의자료를 설정 후 사용해주시기 바랍니다.";
        const auto files = EvidenceFiles(m->number);
        if (files.size() >= 2)
            return head + "서비스 이용가능한 동의자료가 서버에 2건 이상 존재합니다." + kCrLf +
                   "중복파일 정리를 위해 쿼리스(0000-0000)으로 연락주시기 바랍니다.";
        if (files.empty())
            return head + "서비스 이용가능한 동의자료가 없습니다." + kCrLf +
                   "고객카드에서 동의자료를 설정후 사용해주시기 바랍니다.";
        evidence = files.front();
        return std::nullopt;
    }
    if (!m || !kCancellable.count(m->cmsStatus))
        return std::string(kCancellationHead) + kCrLf + "서비스 이용가능한 CMS상태가 아닙니다." +
               kCrLf +
               "이용가능 CMS상태 : 신규신청완료, 출금불능, 출금완료, 해지, 해지신청중, 해지불능";
    if (!bankShape) return kRealtimeRequiredText;
    return std::nullopt;
}

bool RealtimeService::failed(int16_t code, RealtimeOutcome& out) {
    transfer_.noteResult(code);
    if (code == 0) return false;
    transfer_.setRealtimeRow(out.row);
    transfer_.ShowCmsError(kRealtimeRequestJob);
    transfer_.setRealtimeRow(0);
    return true;
}

RealtimeOutcome RealtimeService::Request(const RealtimeRequest& r) {
    RealtimeOutcome out;
    const std::string schema = InstitutionSchema(s_.institution_number);
    std::optional<Member> member;
    std::string evidence;
    std::optional<std::string> stop;
    {
        // The member row is locked from the checks to the new request row, so
        // that two desks asking for one member at once make one request.
        Database::Transaction t(db_);
        const bool needsPayer = r.kind && *r.kind != RealtimeKind::Inquiry;
        if (Digits(r.payerNumber) && r.payerNumber.size() <= 10) {
            auto rs = db_.OpenRecordset(
                "select member_inx+0 n, remove, cms_status, cms_agree_status, ext_key, "
                "account_name from " +
                    schema +
                    ".member_user where member_inx=? and remove<>'4' and settle_accounts='1'" +
                    (needsPayer ? " for update" : ""),
                {r.payerNumber});
            if (!rs.empty())
                member = Member{rs[0].asInt("n"),          rs[0]["remove"],  rs[0]["cms_status"],
                                rs[0]["cms_agree_status"], rs[0]["ext_key"], rs[0]["account_name"]};
        }
        stop = refusal(r, member ? &*member : nullptr, evidence);
        // The first plain read of this transaction: it sees what the desk
        // that held the member row before us has committed.
        if (!stop && needsPayer &&
            db_.scalarInt("select count(*) from " + schema +
                              ".kftc_addserv where kas_member_inx=? and kas_divcode in "
                              "('51','52') and kas_etime=0 and kas_responsecode='' and "
                              "kas_stime > unix_timestamp() - ?",
                          {member->number, kOpenRequestSeconds}) > 0)
            stop = kRealtimeBusyText;
        if (!stop) {
            ui_.progress(
                std::string("CMS 실시간 부가서비스 정보 조회 중입니다.") + kCrLf + kPleaseWait, 0,
                0);
            const std::string divcode = std::to_string(static_cast<int>(*r.kind));
            db_.ExecuteSql(
                "insert into " + schema +
                    ".kftc_addserv (`kas_member_inx`, `kas_extkey`, `kas_bank_code`, "
                    "`kas_account_no`, `kas_account_name`, `kas_account_jumin`, `kas_remove`, "
                    "`kas_cms_status`, `kas_divcode`, `kas_stime`) values "
                    "(?,?,?,?,left(?,32),?,?,?,?,UNIX_TIMESTAMP())",
                {member ? member->number : 0LL, member ? member->extKey : std::string(),
                 r.bankCode.substr(0, 3) + "0000", r.accountNo,
                 member && !member->accountName.empty() ? member->accountName : r.name, r.holderId,
                 member ? member->remove : std::string("1"),
                 member ? member->cmsStatus : std::string(), divcode});
            out.row = db_.lastInsertId();
            t.commit();
        }
    }
    if (stop) {
        // Told only after the lock is gone; nothing was written.
        ui_.inform(*stop, kDefaultTitle);
        return out;
    }
    const std::string divcode = std::to_string(static_cast<int>(*r.kind));
    const std::string key = std::to_string(out.row);
    const std::string payer = member ? Payer10(member->number) : r.payerNumber;
    KftcLibrary& lib = transfer_.library();

    if (*r.kind == RealtimeKind::Registration) {
        std::error_code ec;
        const auto size = fs::file_size(evidence, ec);
        const CmsAnswer a = lib.AdditionalServiceEvidence(
            evidence, ec ? -1.0 : static_cast<double>(size), divcode, key, payer);
        if (failed(a.code, out)) return out;
    }
    const CmsAnswer submitted = lib.AdditionalServiceRequest(divcode, r.bankCode.substr(0, 3),
                                                             r.accountNo, payer, r.holderId, key);
    if (failed(submitted.code, out)) return out;
    db_.ExecuteSql(
        "update " + schema + ".kftc_addserv set kas_resultcode=left(?,20) where kas_inx=?",
        {submitted.text, out.row});

    if (pause) pause(kAnswerDelayMs);
    const CmsAnswer answer = lib.AdditionalServiceAnswer(divcode, key, payer);
    if (failed(answer.code, out)) return out;
    const auto fields = Bars(answer.text);
    out.responseCode = fields.size() > 0 ? Trim(fields[0]) : "";
    out.responseText = fields.size() > 1 ? Trim(fields[1]) : "";
    out.registeredName = fields.size() > 2 ? Trim(fields[2]) : "";
    if (out.responseText.empty())
        out.responseText =
            db_.scalar("SELECT `restext` FROM quorisdex.`addservice_code` WHERE `rescode`=?",
                       {out.responseCode});
    out.answered = true;
    db_.ExecuteSql("update " + schema +
                       ".kftc_addserv set kas_responsecode=left(?,4),kas_etime=UNIX_TIMESTAMP() "
                       "where kas_inx=?",
                   {out.responseCode, out.row});

    const std::string bank3 = r.bankCode.substr(0, 3);
    ui_.inform(std::string("거래구분 : ") + RealtimeKindChoiceText(*r.kind) + kCrLf +
                   "은행(코드) : " + bankName(bank3) + "(" + bank3 + ")" + kCrLf +
                   "지정출금계좌번호 : " + r.accountNo + kCrLf + "납부자번호 : " + payer + kCrLf +
                   "고객명 : " + r.name + kCrLf + "예금주번호 : " + r.holderId + kCrLf +
                   "고객실명 : " + out.registeredName + kCrLf + "응답코드 : " + out.responseCode +
                   kCrLf + "응답메세지 : " + out.responseText,
               kRealtimeResultTitle);

    {
        // The member, its log line, its history and the request row: all or nothing.
        Database::Transaction t(db_);
        out.postCmsStatus = member ? member->cmsStatus : "";
        if (member && *r.kind != RealtimeKind::Inquiry) apply(r, *member, out);
        db_.ExecuteSql(
            "update " + schema +
                ".kftc_addserv set kas_post_cms_status=?, kas_responsestr=left(?,250), "
                "kas_account_name=if(?='', kas_account_name, left(?,32)) where kas_inx=?",
            {out.postCmsStatus, out.responseText, out.registeredName, out.registeredName, out.row});
        t.commit();
    }
    out.closing = "CMS 실시간 부가서비스 결과 (응답코드:" + out.responseCode + ")";
    ui_.progress(out.closing, 0, 0);
    return out;
}

void RealtimeService::apply(const RealtimeRequest& r, const Member& m, RealtimeOutcome& out) {
    const std::string table = InstitutionSchema(s_.institution_number) + ".member_user";
    const bool ok = out.responseCode == "0000";
    const std::string who = " (" + Payer10(m.number) + kLogHead;
    const std::string oldRemove = MemberStateText(m.remove), oldCms = cmsStatusText(m.cmsStatus);
    std::string newStatus, log, combo, note;
    long long changed = 0;
    if (*r.kind == RealtimeKind::Cancellation) {
        newStatus = ok ? "13" : "14";
        changed = db_.ExecuteSql(
            "update " + table +
                " set remove='2', cms_status=?, cms_error=left(?,250) where member_inx=? and "
                "cms_status in ('3','7','8','11','12','14')",
            {newStatus, ok ? std::string() : out.responseText, m.number});
        log = who + (ok ? "출금해지 정상완료, 회원상태 해지, CMS상태 해지완료 수정"
                        : "출금해지 실패, 회원상태 해지, CMS상태 해지불능 수정");
        combo = "CMS 실시간 부가서비스 출금해지 처리결과";
        note = "회원상태 (" + oldRemove + ") 에서 (해지), CMS상태 (" + oldCms + ") 에서 " +
               (ok ? "(해지완료) 로 변경" : "(해지불능) 으로 변경");
    } else if (ok) {
        newStatus = "3";
        changed = db_.ExecuteSql("update " + table +
                                     " set cms_status='3', cms_error='', cms_agree_status='3' "
                                     "where member_inx=? and remove='1' and cms_status<3",
                                 {m.number});
        log = who + "출금이체신청 정상완료, CMS상태 신규신청완료 수정";
        combo = "CMS 실시간 부가서비스 출금이체신청 처리결과";
        note = "CMS상태 (" + oldCms + ") 에서 (신규신청완료) 로 변경";
    } else if (out.responseCode == "0016") {
        newStatus = "3";
        changed = db_.ExecuteSql(
            "update " + table +
                " set cms_status='3', cms_error=left(?,250), cms_agree_status='P' where "
                "member_inx=? and remove='1' and cms_status<=3",
            {out.responseText, m.number});
        log = who + "출금이체신청 실패, CMS상태 신규신청완료 수정";
        combo = "CMS 실시간 부가서비스 출금이체신청 처리결과";
        note = "CMS상태 (" + oldCms + ") 에서 (신규신청완료) 로 변경";
    } else {
        newStatus = "2";
        changed = db_.ExecuteSql("update " + table +
                                     " set cms_status='2', cms_error=left(?,250) where "
                                     "member_inx=? and remove='1' and cms_status<3",
                                 {out.responseText, m.number});
        log = who + "출금이체신청 실패, CMS상태 신규신청불능 수정";
        combo = "CMS 실시간 부가서비스 출금이체신청 처리결과";
        note = "CMS상태 (" + oldCms + ") 에서 (신규신청불능) 로 변경";
    }
    if (changed == 0) {
        // Someone else moved the member meanwhile: their change stands.
        out.postCmsStatus =
            db_.scalar("select cms_status from " + table + " where member_inx=?", {m.number});
        db_.WriteProcessLog(who + RealtimeKindListText(*r.kind) + " 응답 " + out.responseCode +
                                ", 회원상태 변경으로 회원 미반영",
                            member_rows::kMemberLog);
        ui_.inform(kRealtimeMemberChangedText, kDefaultTitle);
        return;
    }
    out.memberChanged = true;
    out.postCmsStatus = newStatus;
    db_.WriteProcessLog(log, member_rows::kMemberLog);
    member_rows::AddNote(db_, s_, m.number, combo, note);
}

std::optional<KftcList> RealtimeService::ResultList(std::optional<RealtimeKind> kind,
                                                    const std::string& from,
                                                    const std::string& to) {
    if (!kind) {
        ui_.inform(kRealtimeKindMissingText, kDefaultTitle);
        return std::nullopt;
    }
    ui_.progress(std::string("CMS 실시간 부가서비스 내역 조회") + "(금결원제공) 중입니다." + kCrLf +
                     kPleaseWait,
                 0, 0);
    const CmsAnswer a = transfer_.library().AdditionalServiceList(
        std::to_string(static_cast<int>(*kind)), from, to);
    transfer_.noteResult(a.code);
    if (a.code != 0) {
        transfer_.ShowCmsError("CMS 실시간 부가서비스 내역 조회(금결원제공) 결과 (" + from + "-" +
                               to + ")");
        return std::nullopt;
    }
    KftcList list =
        Layout("0|작업일자|은행코드|납부자번호|계좌번호|예금주번호|결과(코드)|오류메시지",
               "0,1100,1100,1400,1600,1400,1600,3600", "0,2,2,2,0,0,2,0");
    const auto fields = Bars(a.text);
    constexpr size_t kFields = 8;
    if (fields.size() != static_cast<size_t>(a.count) * kFields) {
        ui_.inform(kUnreadableAnswerText, kDefaultTitle);
        return std::nullopt;
    }
    for (size_t i = 0; i + kFields <= fields.size(); i += kFields) {
        const std::string& code = fields[i + 6];
        list.rows.push_back({fields[i], ShowDate(fields[i + 1]), fields[i + 2], fields[i + 3],
                             fields[i + 4], fields[i + 5],
                             code == "0000" ? "승인(" + code + ")" : "승인실패(" + code + ")",
                             fields[i + 7]});
    }
    return list;
}

namespace {

std::string CaseOf(const std::string& column, const std::vector<CodeEntry>& entries) {
    std::string s = " CASE " + column + " WHEN '-1' THEN '' ";
    for (const auto& e : entries)
        s += "WHEN " + SqlQuote(e.data) + " THEN " + SqlQuote(e.text) + " ";
    return s + " ELSE " + column + " END ";
}

std::string BankCase(const std::string& column, const std::vector<CodeEntry>& banks) {
    std::string s = " CASE mid(" + column + ",1,3) WHEN '-1' THEN '' ";
    for (const auto& e : banks)
        s += "WHEN " + SqlQuote(e.data.substr(0, 3)) + " THEN " + SqlQuote(e.text) + " ";
    return s + " ELSE '' END ";
}

constexpr const char* kRemoveCase =
    "CASE %s WHEN 1 THEN '정상' WHEN 2 THEN '해지' WHEN 3 THEN '보류' WHEN 4 THEN '삭제' END";

std::string RemoveCase(const std::string& column) {
    std::string s = kRemoveCase;
    s.replace(s.find("%s"), 2, column);
    return s;
}

}  // namespace

KftcList RealtimeService::History(const RealtimeHistoryFilter& f) {
    const auto statuses = LoadSharedCodeList(db_, "cmsstat");
    const auto banks = LoadSharedCodeList(db_, s_.relay_prefix);
    std::string sql =
        "select kas_inx, right(concat('0000000000',`kas_member_inx`),10) kas_member_inx, "
        "`kas_account_name`, " +
        BankCase("kas_bank_code", banks) +
        " bank_name, `kas_bank_code`, kas_account_no, if(length(`kas_account_jumin`) >= 13, "
        "mid(`kas_account_jumin`,1,6) ,`kas_account_jumin`) kas_account_jumin, CASE kas_divcode "
        "WHEN 50 THEN '계좌조회'  WHEN 51 THEN '출금이체신청' WHEN 52 THEN '출금해지' END "
        "kind_text, " +
        RemoveCase("kas_remove") + " remove_text, " + CaseOf("kas_cms_status", statuses) +
        " cms_text, " + CaseOf("kas_post_cms_status", statuses) +
        " post_text, `kas_responsestr`, `kas_extkey`, from_unixtime(`kas_stime`) kas_stime, "
        "if(kas_etime=0,'',from_unixtime(`kas_etime`)) kas_etime, `kas_resultcode` from " +
        InstitutionSchema(s_.institution_number) + ".kftc_addserv where kas_remove>='1'";
    SqlParams params;
    auto equals = [&](const char* column, const std::string& value) {
        if (value.empty()) return;
        sql += std::string(" and ") + column + "=?";
        params.emplace_back(value);
    };
    equals("kas_cms_status", f.cmsStatusBefore);
    equals("kas_divcode", f.kind);
    equals("kas_post_cms_status", f.cmsStatusAfter);
    if (!f.search.empty()) {
        sql +=
            " and (kas_account_jumin like concat('%',?,'%') or "
            "right(concat('0000000000',kas_member_inx),10) like "
            "concat('%',?,'%') or kas_extkey like concat('%',?,'%') or kas_account_name like "
            "concat('%',?,'%'))";
        for (int i = 0; i < 4; ++i) params.emplace_back(f.search);
    }
    sql += " order by kas_inx desc";
    KftcList list = Layout(
        "0|납부자번호|예금주명|은행|은행코드|계좌번호|예금주번호|처리구분|회원상태|CMS상태|"
        "처리후CMS상태|결과메세지|외부참조키|시작시간|종료시간",
        "0,1200,1200,1000,900,1500,1100,1200,900,1200,1300,2500,1200,1800,1800",
        "0,2,0,0,2,0,2,2,2,2,2,0,0,2,2");
    const auto rs = db_.OpenRecordset(sql, params);
    for (size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> row;
        for (size_t c = 0; c < list.headers.size(); ++c) row.push_back(rs[i][c]);
        list.rows.push_back(std::move(row));
    }
    return list;
}

KftcList RealtimeService::SearchMembers(const RealtimeMemberFilter& f) {
    std::string sql =
        "select client_company, username, account_no, " +
        (s_.case_sql.bank_name.empty() ? std::string("bank_code") : s_.case_sql.bank_name) +
        " bank_name, bank_code, if(length(account_jumin) >= 13, mid(account_jumin,1,6) "
        ",account_jumin) account_jumin, right(concat('0000000000',member_inx),10) member_inx, " +
        CaseOf("member_user.cms_status", LoadSharedCodeList(db_, "cmsstat")) + " cms_text, " +
        RemoveCase("remove") + " remove_text, ext_key, remove, cms_status, cms_agree_status from " +
        InstitutionSchema(s_.institution_number) +
        ".member_user member_user where settle_accounts='1' and remove<>'4'";
    SqlParams params;
    AppendRoleFilter(sql, params, s_, "member_user");
    if (!f.text.empty()) {
        static const char* const columns[] = {"client_company", "username",      "account_no",
                                              "member_inx",     "account_jumin", "ext_key"};
        sql +=
            std::string(" and ") + columns[static_cast<int>(f.field)] + " like concat('%',?,'%')";
        params.emplace_back(f.text);
    }
    if (!f.cmsStatus.empty()) {
        sql += " and cms_status=?";
        params.emplace_back(f.cmsStatus);
    }
    sql += " order by member_inx desc";
    KftcList list = Layout(
        "상호|고객명|계좌번호|은행|은행코드|예금주번호|납부자번호|CMS상태|회원상태|외부참조키|"
        "remove|cms_status|cms_agree_status",
        "1200,1000,1500,1000,900,1100,1200,1200,900,1200,0,0,0", "0,0,0,0,2,2,2,2,2,0,0,0,0");
    const auto rs = db_.OpenRecordset(sql, params);
    for (size_t i = 0; i < rs.size(); ++i) {
        std::vector<std::string> row;
        for (size_t c = 0; c < list.headers.size(); ++c) row.push_back(rs[i][c]);
        list.rows.push_back(std::move(row));
    }
    return list;
}

}  // namespace qx
