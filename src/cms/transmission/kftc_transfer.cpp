#include "cms/transmission/kftc_transfer.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "cms/eb11/expired_eb11_list.h"
#include "cms/transmission/open_transmission.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_summary.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "db/work_tables.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "platform/trim.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr int kLogCode = 5;

std::vector<std::string> SplitBar(const std::string& text) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, '|')) parts.push_back(part);
    if (!text.empty() && text.back() == '|') return parts;
    return parts;
}

std::vector<int> Numbers(const std::string& text) {
    std::vector<int> out;
    for (const std::string& p : [&] {
             std::vector<std::string> v;
             std::istringstream in(text);
             for (std::string x; std::getline(in, x, ',');) v.push_back(x);
             return v;
         }())
        out.push_back(std::stoi(p));
    return out;
}

// "a|b|c" headers as the list shows them (a leading empty header kept).
std::vector<std::string> Headers(const std::string& text) {
    std::vector<std::string> out;
    size_t from = 0;
    for (;;) {
        const auto bar = text.find('|', from);
        out.push_back(text.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos) break;
        from = bar + 1;
    }
    return out;
}

bool Digits(const std::string& t) {
    return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
}

std::string ShowDate(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8 || !Digits(yyyymmdd)) return yyyymmdd;
    return yyyymmdd.substr(0, 4) + "-" + yyyymmdd.substr(4, 2) + "-" + yyyymmdd.substr(6, 2);
}

std::string ShowTime(const std::string& stamp) {
    if (stamp.size() != 14 || !Digits(stamp)) return stamp;
    return ShowDate(stamp.substr(0, 8)) + " " + stamp.substr(8, 2) + ":" + stamp.substr(10, 2) +
           ":" + stamp.substr(12, 2);
}

// A disk name the clearing house could have issued: two capitals, two
// digits, MMDD. Anything else (paths, "..") never reaches a folder.
bool ValidDiskName(const std::string& name) {
    return name.size() == 8 && std::isupper(static_cast<unsigned char>(name[0])) &&
           std::isupper(static_cast<unsigned char>(name[1])) && Digits(name.substr(2));
}

bool ValidDate(const std::string& yyyymmdd) {
    return yyyymmdd.size() == 8 && Digits(yyyymmdd) && ParseDate(ShowDate(yyyymmdd)).has_value();
}

std::optional<std::string> ReceiveStateText(const std::string& code) {
    if (code == "06") return "미수신";
    if (code == "08") return "수신완료";
    if (code == "09") return "기간만료파일";
    return std::nullopt;
}

}  // namespace

std::string KftcPartnerId(const SessionContext& session) {
    const char* override = std::getenv("QUORISDEX_KFTC_PARTNER");
    if (override && *override) return override;
    const std::string configured =
        Trim(ProfileIni(JoinPath(session.AppPath, "Login.ini")).read("SYSTEM", "KFTCPARTNER", ""));
    return configured.empty() ? "QRSD260315" : configured;
}

void EnsureKftcAddservTable(Database& db, long long inx) {
    EnsureInstitutionTable(db, inx, "kftc_addserv");
    auto rs = db.OpenRecordset(
        "select ifnull(character_maximum_length,0) n from information_schema.columns where "
        "table_schema=? and table_name='kftc_addserv' and column_name='kas_resultcode'",
        {InstitutionSchema(inx)});
    if (!rs.empty() && rs[0].asInt("n") < 20)
        db.ExecuteSql("alter table " + InstitutionSchema(inx) +
                      ".kftc_addserv modify `kas_resultcode` varchar(20) default ''");
}

std::string ExpiredListSavedText(const std::string& file, const std::string& listPath) {
    return "[" + file + "] 기간 만료된 파일의 내역을 저장하였습니다.\r\n" + listPath;
}

std::string KftcLibraryPath(const SessionContext& session) {
    return JoinPath(session.AppPath, kKftcLibraryFile);
}

KftcTransfer::KftcTransfer(Database& db, SessionContext& session, Interaction& ui, KftcLibrary& lib)
    : db_(db), s_(session), ui_(ui), lib_(lib) {
    pause = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
}

void KftcTransfer::busy(const std::string& text) {
    ui_.progress(text + kCrLf + kPleaseWait, 0, 0);
}

void KftcTransfer::wait(int times, int ms) {
    for (int i = 0; i < times; ++i)
        if (pause) pause(ms);
}

bool KftcTransfer::Start() {
    if (s_.org_code.size() != 10) {
        ui_.inform(kBadInstitutionCodeText);
        return false;
    }
    if (s_.add_in_code.empty()) {
        auto rs = db_.OpenRecordset(
            "select mid(concat(trim(admin_company.add_info6),'        '),1,8) addinpwd "
            "from quorisdex.admin_company where inx=?",
            {s_.institution_number});
        if (!rs.empty()) s_.add_in_code = rs[0]["addinpwd"];
    }
    ui_.progress(std::string(kCrLf) + "금결원 송수신 초기화중입니다." + kPleaseWait, 0, 0);
    last_ = lib_.Init(ExchangeFolder(s_), s_.org_code, s_.add_in_code, KftcPartnerId(s_));
    if (last_ != 0) {
        ShowCmsError(kInitJob);
        return false;
    }
    open_ = true;
    return true;
}

void KftcTransfer::Close() {
    if (!open_) return;
    open_ = false;
    last_ = lib_.Logout(last_);
}

std::string KftcTransfer::ShowCmsError(const std::string& job) {
    const std::string message = lib_.LastError();
    const std::string code = std::to_string(last_);
    std::string text = std::string("에러가 발생하였습니다.") + kCrLf + kCrLf + "작업명 : " + job +
                       kCrLf + "에러코드 : " + code + kCrLf + "에러메세지 : " + message + kCrLf +
                       kCrLf + "※ 같은 에러가 여러번 발생할 경우" + kCrLf +
                       "에러코드와 에러메세지를 확인하신 후" + kCrLf +
                       "쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
    if (job == kInitJob) text += std::string(kCrLf) + "금결원 파일 송수신 프로그램을 종료합니다.";
    if (job == kRealtimeRequestJob && realtimeRow_ > 0)
        db_.ExecuteSql("update " + InstitutionSchema(s_.institution_number) +
                           ".kftc_addserv set kas_responsecode=left(?,4), "
                           "kas_responsestr=left(?,250) where kas_inx=?",
                       {code, message, realtimeRow_});
    ui_.inform(text);
    db_.WriteProcessLog("작업명 : " + job + ", 에러코드 : " + code + ", 에러메세지 : " + message,
                        kLogCode);
    return message;
}

void KftcTransfer::SetFileSendStat(const std::string& table, const std::string& databaseName,
                                   int newValue, int oldValue) {
    if (table.empty()) return;  // EB12 answers have no file row
    db_.ExecuteSql("update " + InstitutionSchema(s_.institution_number) + "." + table +
                       " set send_stat=? where filename=? and send_stat=?",
                   {std::to_string(newValue), databaseName, std::to_string(oldValue)});
}

std::string KftcTransfer::tableOf(const std::string& file) const {
    const std::string kind = file.substr(0, 4);
    if (kind == "EB13") return "ea13";
    if (kind == "EB21") return "ea21";
    if (kind == "EI13") return "ei13";
    return {};
}

void KftcTransfer::Send(const std::vector<std::string>& files) {
    if (files.empty()) {
        ui_.inform(kNoFileChosenText);
        return;
    }
    for (const std::string& f : files) SendOne(f);
}

bool KftcTransfer::SendOne(const std::string& file) {
    const std::string kind = file.substr(0, 4);
    if (!ValidDiskName(file) ||
        (kind != "EB12" && kind != "EB13" && kind != "EB21" && kind != "EI13")) {
        ui_.inform("[" + file + "] 송신할 수 없는 파일입니다.");
        return false;
    }
    const std::string path = JoinPath(ExchangeFolder(s_, kind), file);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        ui_.inform("[" + file + "] 파일이 없습니다.");
        return false;
    }
    const std::string fileDate = ReadHeaderDate(path, ui_);
    if (fileDate.empty()) return false;
    const std::string yymmdd = fileDate.substr(2);
    const std::string schema = InstitutionSchema(s_.institution_number);
    if (kind == "EB13") {
        auto rs = db_.OpenRecordset(
            "select count(1) n from " + schema + ".ei13 where mid(filename, 5)=? and send_stat='5'",
            {yymmdd});
        if (rs.empty() || rs[0]["n"] == "0") {
            ui_.inform(file + " 파일의 동의자료인 EI13" + file.substr(4) +
                       " 파일이 송신되지 않았습니다.");
            return false;
        }
    }
    const std::string table = tableOf(file);
    const std::string dbName = kind + yymmdd;
    busy(file + " 파일송신 중입니다.");
    SetFileSendStat(table, dbName, 1, 0);
    const CmsAnswer sent = lib_.SendFile(path, static_cast<double>(fs::file_size(path, ec)));
    last_ = sent.code;
    SetFileSendStat(table, dbName, 2, 1);
    if (last_ != 0) {
        const std::string text = ShowCmsError("[" + path + "] 파일송신");
        const bool held =
            last_ == 8 && (text == kAlreadySentText || text == kAlreadySentByInstitutionText ||
                           (kind == "EB12" && text == kEb12AssembledText));
        SetFileSendStat(table, dbName, held ? 5 : 0, 2);
        if (held) sentEffects(file, fileDate);
        return held;
    }
    wait(2, 1000);
    const CmsAnswer result = lib_.ResultOfSend(fileDate, file);
    last_ = result.code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 파일송신 결과");
        const bool held = last_ == 8;
        SetFileSendStat(table, dbName, held ? 5 : 0, 2);
        if (held) sentEffects(file, fileDate);
        return held;
    }
    wait(6, 500);
    const auto f = SplitBar(result.text);
    auto at = [&](size_t i) { return i < f.size() ? Trim(f[i]) : std::string(); };
    std::string shown = "파일명 : " + at(0) + kCrLf + "송신결과 : " + at(2) + kCrLf +
                        "에러메시지 : " + at(10) + kCrLf + "송신시간 : " + ShowTime(at(11));
    if (kind == "EB21") shown += std::string(kCrLf) + "잔여한도조회 : " + FormatAmount(at(12));
    ui_.inform(shown, "파일송신 결과확인");
    SetFileSendStat(table, dbName, 5, 2);
    sentEffects(file, fileDate);
    return true;
}

bool KftcTransfer::sentEffects(const std::string& file, const std::string& fileDate) {
    const std::string schema = InstitutionSchema(s_.institution_number);
    const std::string kind = file.substr(0, 4);
    if (kind == "EB12") {
        Database::Transaction tx(db_);
        db_.ExecuteSql("update " + schema +
                           ".file_ea11 set pross_stat='1' where reg_date=? and pross_stat='0'",
                       {fileDate});
        db_.ExecuteSql(
            "update quorisdex.admin_company set eb11chk=CONCAT(LEFT(eb11chk, 9), '●[', "
            "SUBSTRING_INDEX(eb11chk, '[', -1)) where inx=?",
            {s_.institution_number});
        tx.commit();
        db_.WriteProcessLog(file + " 파일 처리 완료", kLogCode);
    }
    if (kind == "EI13") {
        db_.ExecuteSql("update " + schema +
                           ".member_user set cms_agree_status='3' where "
                           "member_inx in (select user_no from " +
                           schema + ".file_ei13 where reg_date=?)",
                       {fileDate.substr(2)});
    }
    return true;
}

bool KftcTransfer::Cancel(const std::string& file, const std::string& fileDate) {
    if (!ValidDiskName(file) || !ValidDate(fileDate)) {
        ui_.inform("[" + file + "] 송신취소할 수 없는 파일입니다.");
        return false;
    }
    if (!ui_.confirm(file + " 파일을 송신취소 하시겠습니까?")) return false;
    busy(file + " 파일송신취소 중입니다.");
    last_ = lib_.CancelSend(fileDate, file).code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 파일 송신 취소");
        return false;
    }
    ui_.inform("[" + file + "] 파일 송신 취소완료", "파일 송신 취소확인");
    const std::string table = tableOf(file);
    if (!table.empty()) {
        const auto date = ParseDate(ShowDate(fileDate));
        const std::string dayBefore = FormatShortDate(AddDays(*date, -1));  // yy-mm-dd
        const std::string yymmdd =
            dayBefore.substr(0, 2) + dayBefore.substr(3, 2) + dayBefore.substr(6, 2);
        db_.ExecuteSql("update " + InstitutionSchema(s_.institution_number) + "." + table +
                           " set send_stat='0' where mid(filename,7) = ? and mid(filename,5) > ? "
                           "and send_stat='5'",
                       {file.substr(4), yymmdd});
    }
    return true;
}

bool KftcTransfer::Receive(const std::string& file, const std::string& fileDate) {
    if (!ValidDiskName(file) || !ValidDate(fileDate)) {
        ui_.inform("[" + file + "] 수신할 수 없는 파일입니다.");
        return false;
    }
    MakeExchangeFolder(s_, file.substr(0, 4));
    busy(file + " 파일수신 중입니다.");
    last_ = lib_.GetFile(file, fileDate).code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 파일수신");
        return false;
    }
    return true;
}

bool KftcTransfer::ReceiveExpired(const std::string& file, const std::string& fileDate) {
    expiredList_.clear();
    if (!ValidDiskName(file) || file.substr(0, 4) != "EB11" || !ValidDate(fileDate)) {
        ui_.inform("[" + file + "] 수신할 수 없는 파일입니다.");
        return false;
    }
    const std::string folder = MakeExchangeFolder(s_, "EB11");
    const fs::path received = fs::path(folder) / file;
    std::error_code ec;
    // The library writes under the ordinary name; an unapplied ordinary file
    // of that name would be overwritten and lost.
    if (fs::exists(received, ec)) {
        ui_.inform("[" + file +
                   "] 파일이 수신폴더에 있습니다. 먼저 처리한 후 기간 만료된 파일을 "
                   "수신하여 주십시오.");
        return false;
    }
    busy(file + " 기간 만료된 파일수신 중입니다.");
    last_ = lib_.GetExpiredFile(file, fileDate).code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 기간 만료된 파일수신");
        fs::remove(received, ec);
        return false;
    }
    fs::rename(received, fs::path(folder) / ("Expired" + file), ec);
    if (ec) {
        fs::remove(received, ec);
        ui_.inform("[" + file + "] 기간 만료된 파일을 저장할 수 없습니다.");
        return false;
    }
    // The file is kept whatever becomes of its list; a failed list says so.
    expiredList_ =
        WriteExpiredEb11List(db_, s_, ui_, (fs::path(folder) / ("Expired" + file)).string(), file);
    return true;
}

bool KftcTransfer::ReverseReceive(const std::string& file, const std::string& fileDate) {
    if (!ValidDiskName(file) || !ValidDate(fileDate)) {
        ui_.inform("[" + file + "] 수신할 수 없는 파일입니다.");
        return false;
    }
    MakeExchangeFolder(s_, file.substr(0, 4));
    busy(file + " 역수신 파일수신 중입니다.");
    last_ = lib_.GetReverseFile(file, fileDate).code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 역수신 파일 수신");
        return false;
    }
    ui_.inform("[" + file + "] 역수신 파일 수신 완료");
    return true;
}

bool KftcTransfer::DepositNotice(const std::string& file, const std::string& fileDate) {
    if (!ValidDiskName(file) || file.substr(0, 4) != "EB22" || !ValidDate(fileDate)) {
        ui_.inform("[" + file + "] 는 출금이체 입금 통지서 내역조회에 적합한 파일이 아닙니다.");
        return false;
    }
    busy(file + " 출금이체 입금 통지서 내역 조회 중입니다.");
    const CmsAnswer a = lib_.ReceiptInfo(file, fileDate);
    last_ = a.code;
    if (last_ != 0) {
        ShowCmsError("[" + file + "] 출금이체 입금 통지서 내역조회");
        return false;
    }
    const auto rows = split(a, 9);
    if (!rows || rows->size() != 1) return false;
    const auto& f = rows->front();
    ui_.inform("파일명 : " + f[0] + kCrLf + "은행명 : " + f[1] + kCrLf +
                   "입금예정일 : " + ShowDate(f[2]) + kCrLf + "청구건수 : " + FormatAmount(f[3]) +
                   kCrLf + "청구금액 : " + FormatAmount(f[4]) + kCrLf +
                   "출금건수 : " + FormatAmount(f[5]) + kCrLf + "출금금액 : " + FormatAmount(f[6]) +
                   kCrLf + "출금 은행수수료 : " + FormatAmount(f[7]) + kCrLf +
                   "실입금액 : " + FormatAmount(f[8]),
               "출금이체 입금 통지서 내역조회");
    return true;
}

bool KftcTransfer::MonthLimit(const std::string& yyyymm) {
    busy("월 출금한도 조회 중입니다.");
    CmsAnswer a = lib_.MonthLimit(s_.org_code, yyyymm);
    last_ = a.code;
    if (last_ != 0) {
        ShowCmsError("월 출금한도 조회");
        return false;
    }
    a.count = 1;
    const auto rows = split(a, 3);
    if (!rows || rows->size() != 1) return false;
    const auto& f = rows->front();
    ui_.inform("월 한도 : " + FormatAmount(f[0]) + kCrLf + "사용금액 : " + FormatAmount(f[1]) +
                   kCrLf + "잔여한도 : " + FormatAmount(f[2]),
               "월 출금한도 조회");
    return true;
}

std::optional<std::vector<std::vector<std::string>>> KftcTransfer::split(const CmsAnswer& a,
                                                                         size_t fields) {
    std::vector<std::string> parts = SplitBar(a.text);
    // An answer is exactly count records of `fields` fields; anything else is
    // not trusted.
    if (a.count < 0 || parts.size() != static_cast<size_t>(a.count) * fields) {
        ui_.inform(kUnreadableAnswerText);
        return std::nullopt;
    }
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < parts.size(); i += fields) {
        std::vector<std::string> row;
        for (size_t j = 0; j < fields; ++j) row.push_back(Trim(parts[i + j]));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<KftcList> KftcTransfer::Notices() {
    busy("금결원 공지 초기화중입니다.");
    const CmsAnswer a = lib_.Notices();
    last_ = a.code;
    if (last_ != 0) {
        ShowCmsError("금결원 공지 조회");
        return std::nullopt;
    }
    auto rows = split(a, 2);
    if (!rows) return std::nullopt;
    KftcList list{{"공지일자", "공지내용"}, {1300, 6000}, {2, 0}, {}};
    for (auto& r : *rows) list.rows.push_back({ShowDate(r[0]), r[1]});
    return list;
}

std::optional<KftcList> KftcTransfer::SendResults(const std::string& from, const std::string& to) {
    busy("파일송신 결과확인내역 조회 중입니다.");
    const CmsAnswer a = lib_.SendResults(from, to);
    last_ = a.code;
    if (last_ != 0) {
        ShowCmsError("파일송신 결과확인(" + from + "-" + to + ")");
        return std::nullopt;
    }
    auto rows = split(a, 12);
    if (!rows) return std::nullopt;
    KftcList list{Headers("|파일명|업무형태|송신결과|전체건수|전체금액|정상건수|정상금액|"
                          "센터오류건수|센터오류금액|오류확인|에러메시지|송신시각"),
                  Numbers("0,1000,0,900,900,1200,900,1200,1300,1300,1000,2000,1800"),
                  Numbers("0,2,0,0,1,1,1,1,1,1,2,0,2"),
                  {}};
    for (auto& r : *rows) {
        std::vector<std::string> shown{""};
        for (size_t i = 0; i < r.size(); ++i)
            shown.push_back(i >= 3 && i <= 8 ? FormatAmount(r[i])
                            : i == 11        ? ShowTime(r[i])
                                             : r[i]);
        list.rows.push_back(std::move(shown));
    }
    return list;
}

std::optional<KftcList> KftcTransfer::fileList(const CmsAnswer& a, const std::string& job,
                                               const char* headers, const char* widths,
                                               const char* aligns, bool stateCodes) {
    last_ = a.code;
    if (last_ != 0) {
        ShowCmsError(job);
        return std::nullopt;
    }
    auto rows = split(a, 10);
    if (!rows) return std::nullopt;
    KftcList list{Headers(headers), Numbers(widths), Numbers(aligns), {}};
    for (auto& r : *rows) {
        std::string state = r[4];
        if (stateCodes) {
            const auto text = ReceiveStateText(r[4]);
            if (!text) {
                ui_.inform(
                    "[" + r[4] +
                    "] : 알수없는 상태값입니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.");
                return std::nullopt;
            }
            state = *text;
        }
        list.rows.push_back({"", r[0], r[1], ShowDate(r[2]), FormatAmount(r[3]) + " byte", state,
                             FormatAmount(r[5]), FormatAmount(r[6]), FormatAmount(r[7]),
                             FormatAmount(r[8]), ShowTime(r[9])});
    }
    return list;
}

std::optional<KftcList> KftcTransfer::Cancellable(const std::string& from, const std::string& to) {
    busy("송신취소 가능파일내역 조회 중입니다.");
    return fileList(lib_.Cancellable(from, to), "파일취소 가능 내역 조회(" + from + "-" + to + ")",
                    "0|파일명|파일경로|파일처리일자|파일크기|수신결과|전체건수|전체금액|정상건수|"
                    "정상금액|송신시간",
                    "0,1000,0,1300,1400,1200,1000,1400,1000,1400,1800", "0,2,0,2,1,2,1,1,1,1,2",
                    false);
}

std::optional<KftcList> KftcTransfer::ReverseReceivable(const std::string& from,
                                                        const std::string& to) {
    busy("역수신 파일 가능내역 조회 중입니다.");
    return fileList(
        lib_.ReverseReceivable(from, to), "역수신 파일 가능내역 조회(" + from + "-" + to + ")",
        "|파일명|파일경로|파일처리일자|파일크기|수신결과|전체건수|전체금액|정상건수|"
        "정상금액|송신시간",
        "300,1000,0,1300,1300,1200,900,1200,900,1200,1800", "0,2,0,2,1,2,1,1,1,1,2", true);
}

std::optional<KftcList> KftcTransfer::Receivable(const std::string& from, const std::string& to,
                                                 ReceiveKind kind) {
    busy("파일 수신 가능내역 조회 중입니다.");
    const char letter = kind == ReceiveKind::All ? 'A' : kind == ReceiveKind::New ? 'M' : 'E';
    return fileList(
        lib_.Receivable(from, to, letter), "파일수신가능내역 조회(" + from + "-" + to + ")",
        "|파일명|파일경로|파일처리일자|파일크기|수신결과|전체건수|전체금액|부분출금건수|"
        "부분출금금액|수신완료시각",
        "300,1000,0,1300,1300,1200,900,1200,1300,1300,1800", "0,2,0,2,1,2,1,1,1,1,2", true);
}

namespace {
KftcList FolderList(const SessionContext& s, std::initializer_list<const char*> kinds) {
    KftcList list{
        {"파일명", "파일종류", "파일크기", "변경일시"}, {1400, 1000, 1300, 2000}, {2, 2, 1, 2}, {}};
    for (const char* kind : kinds) {
        const std::string folder = MakeExchangeFolder(s, kind);
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder, ec))
            if (e.is_regular_file() && e.path().filename().string().rfind(kind, 0) == 0)
                files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& p : files) {
            const auto when = fs::last_write_time(p, ec);
            const auto sys = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
                when - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
            const std::time_t t = std::chrono::system_clock::to_time_t(sys);
            std::tm tm{};
            localtime_r(&t, &tm);
            char stamp[24];
            std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &tm);
            list.rows.push_back(
                {p.filename().string(), kind,
                 FormatAmount(static_cast<long long>(fs::file_size(p, ec))) + " byte", stamp});
        }
    }
    return list;
}
}  // namespace

KftcList KftcTransfer::LocalSendList() {
    busy("송신할 파일 내역 조회 중입니다.");
    return FolderList(s_, {"EB12", "EB13", "EB21", "EI13"});
}

KftcList KftcTransfer::LocalReceivedList() {
    busy("수신된 파일 내역 조회 중입니다.");
    return FolderList(s_, {"EB11", "EB14", "EB22"});
}

}  // namespace qx
