#include "cms/ei13/ei13_creation.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <tuple>

#include "cms/eb13/eb13_targets.h"
#include "cms/ei13/agreement_evidence.h"
#include "cms/workspace/cms_folders.h"
#include "cms/workspace/cms_status.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "cms/workspace/partial_file.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "db/sql_quote.h"
#include "members/agreement_file.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRowsPerStatement = 100;
// Content bytes per relay detail row: 20 + 2 + 2 x 116 fits its 255 characters.
constexpr std::size_t kRelayChunk = 116;

struct Candidate {
    fs::path path;
    AgreementFileName name;
};

struct Kept {
    Candidate file;
    long long member = 0;
    std::string content;
};

std::string FileDate(const CivilDate& d) {
    return Yyyymmdd(d);
}

bool Afternoon(Database& db) {
    return db.scalarInt("select hour(now())") > 11;
}

// The agreement files the folder offers, by their names.
std::vector<fs::path> FolderFiles(const SessionContext& s) {
    std::vector<fs::path> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(AgreementFolder(s), ec)) {
        if (!entry.is_regular_file(ec)) continue;
        std::string ext = entry.path().extension().string();
        if (!ext.empty()) ext.erase(0, 1);
        if (IsAgreementExtension(ext)) out.push_back(entry.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

void Remove(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

class Checker {
  public:
    Checker(Database& db, const SessionContext& s) : db_(db), s_(s) {}

    std::vector<std::string> report;

    // The files that stay, one per payer; the others deleted and reported.
    std::vector<Kept> Check() {
        std::map<std::string, std::vector<Candidate>> byPayer;
        for (const fs::path& p : FolderFiles(s_)) {
            const std::string file = p.filename().string();
            const auto name = ParseAgreementFileName(file);
            if (!name) {
                Refuse(p, "", file, {}, "] 제거(실패:파일확인불가-파일명)");
                continue;
            }
            byPayer[name->payer].push_back({p, *name});
        }
        std::vector<Kept> kept;
        for (auto& [payer, files] : byPayer) {
            // The latest agreement wins; on one day the higher kind.
            std::sort(files.begin(), files.end(), [](const Candidate& a, const Candidate& b) {
                return std::tie(a.name.date, a.name.kind) < std::tie(b.name.date, b.name.kind);
            });
            const Recordset rs = db_.OpenRecordset(
                "select member_inx, mid(`bank_code`,1,3) bank3, `account_no`, `remove`, "
                "`cms_status`, `cms_agree_status`, `username` from " +
                    s_.schema() + ".member_user where member_inx=? and settle_accounts='1'",
                {IsAllDigits(payer) && !payer.empty() && payer.size() <= 18 ? payer
                                                                            : std::string("-1")});
            const std::string username = rs.empty() ? std::string() : rs[0]["username"];
            for (std::size_t i = 0; i + 1 < files.size(); ++i) {
                report.push_back("[" + username + "] (" + payer + ") 출금동의자료[" +
                                 files[i].path.filename().string() + "] 제거, 중복 파일");
                Remove(files[i].path);
            }
            const Candidate& last = files.back();
            const std::string file = last.path.filename().string();
            if (rs.empty()) {
                Refuse(last.path, username, file, {}, "] 제거(실패:파일확인불가-회원없음)", payer);
                continue;
            }
            const auto m = rs[0];
            std::vector<std::string> reasons;
            if (m["bank3"] != last.name.bank3)
                reasons.push_back("은행(" + m["bank3"] + "/" + last.name.bank3 + ") 다름");
            if (m["account_no"] != last.name.account)
                reasons.push_back("계좌번호(" + m["account_no"] + "/" + last.name.account +
                                  ") 다름");
            if (m["remove"] != "1") reasons.push_back("회원상태(" + m["remove"] + ") 정상외");
            if (!IsAllDigits(m["cms_status"]) || m["cms_status"].empty() ||
                std::stoll(m["cms_status"]) > 2)
                reasons.push_back("CMS상태(" + m["cms_status"] + ") 신규완료이상");
            if (last.name.kind.size() != 1 || !IsAllDigits(last.name.kind) || last.name.kind == "0")
                reasons.push_back("파일구분(" + last.name.kind + ") 오류");
            if (last.name.date.size() != 8 || !IsAllDigits(last.name.date) ||
                !ParseDate(last.name.date))
                reasons.push_back("신청일자(" + last.name.date + ") 오류");
            const long long size = GetFileSize(last.path.string());
            if (size < kAgreementMinimumSize || size >= kAgreementFileLimit)
                reasons.push_back("파일크기(" + std::to_string(size) + " byte) 오류");
            if (!reasons.empty()) {
                std::string joined;
                for (const auto& r : reasons) joined += (joined.empty() ? "" : ", ") + r;
                Refuse(last.path, username, file, m["member_inx"], "] 제거 : " + joined, payer);
                continue;
            }
            auto content = ReadWholeFile(last.path.string());
            if (!content || static_cast<long long>(content->size()) != size) {
                Refuse(last.path, username, file, m["member_inx"],
                       "] 제거(실패:파일확인불가-읽기오류)", payer);
                continue;
            }
            kept.push_back({last, m.asInt("member_inx"), std::move(*content)});
        }
        return kept;
    }

  private:
    void Refuse(const fs::path& p, const std::string& username, const std::string& file,
                const std::string& member, const std::string& tail,
                const std::string& payer = std::string()) {
        Remove(p);
        std::string line = "[" + username + "] (" + payer + ") 출금동의자료[" + file + tail;
        if (!member.empty()) {
            db_.ExecuteSql("update " + s_.schema() +
                               ".member_user set cms_agree_status='0' where member_inx=?",
                           {member});
            line += " (상태값 미설정으로 변경됨)";
        }
        report.push_back(line);
    }

    Database& db_;
    const SessionContext& s_;
};

std::string Hex(std::string_view bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The relay's rows of the file, written in batches.
class RelayWriter {
  public:
    RelayWriter(Database& db, const SessionContext& s, long long key)
        : db_(db), key_(key), sender_(fmt::format("{:<20}", s.LoginId.substr(0, 20))) {}

    void Add(const std::string& seq, const std::string& code, std::string_view bytes) {
        for (std::size_t at = 0; at < bytes.size() || at == 0; at += kRelayChunk) {
            Row(seq, code + Hex(bytes.substr(at, std::min(kRelayChunk, bytes.size() - at))));
            if (bytes.empty()) break;
        }
    }
    void Row(const std::string& seq, const std::string& text) {
        if (count_ > 0) values_ += ",";
        values_ +=
            "(" + std::to_string(key_) + "," + SqlQuote(seq) + "," + SqlQuote(sender_ + text) + ")";
        if (++count_ == kRowsPerStatement) Flush();
    }
    void Finish() {
        Flush();
        db_.ExecuteSql(
            "update sdsi.agreefiledetail set u_rtn=space(35),u_end=concat(left(concat(d_inx,"
            "space(10)),10),0x0D0A) where u_inx=?",
            {key_});
    }

  private:
    void Flush() {
        if (count_ == 0) return;
        db_.ExecuteSql("insert into sdsi.agreefiledetail (u_inx, u_seq, u_detail) values " +
                       values_);
        values_.clear();
        count_ = 0;
    }
    Database& db_;
    long long key_;
    std::string sender_, values_;
    std::size_t count_ = 0;
};

void InsertFileRows(Database& db, const SessionContext& s, const std::vector<Kept>& kept,
                    const std::string& yymmdd) {
    for (std::size_t from = 0; from < kept.size(); from += kRowsPerStatement) {
        std::string values, members;
        for (std::size_t i = from; i < std::min(kept.size(), from + kRowsPerStatement); ++i) {
            const Kept& k = kept[i];
            if (i > from) {
                values += ",";
                members += ",";
            }
            values += "(" + std::to_string(i + 1) + "," + SqlQuote(yymmdd) + "," +
                      std::to_string(k.member) + "," + SqlQuote(k.file.name.bank3 + "0000") + "," +
                      SqlQuote(k.file.name.account) + "," + SqlQuote(k.file.name.date) + ")";
            members += std::to_string(k.member);
        }
        db.ExecuteSql("insert into " + s.schema() +
                      ".file_ei13 (`seq_num`, `reg_date`, `user_no`, `bank_code`, `account_no`, "
                      "`sign_date`)  VALUES " +
                      values);
        db.ExecuteSql("update " + s.schema() +
                      ".member_user set cms_agree_status=2 where member_inx in (" + members + ")");
    }
}

std::string CreatedText(long long count, const CivilDate& date, bool relay) {
    return "총 '" + std::to_string(count) + "' 건의 [" + DiskFileName(kEi13Kind, date) +
           "] 파일을 생성하였습니다.\r\n\r\n" +
           (relay ? "생성한 파일을 바로 송신하시지 않으면,"
                  : "생성한 파일을 바로 올려주시지 않으면,") +
           "\r\n송신시 데이터 오류가 발생할 수 있습니다.";
}

}  // namespace

std::string PackedAgreementFolder(const SessionContext& s, const std::string& filename) {
    return ExchangeFolder(s, kEi13Kind) + "/agree_packed/" + filename + "/";
}

std::vector<std::string> MoveAgreementFiles(const std::string& from, const std::string& to) {
    std::vector<std::string> moved;
    std::error_code ec;
    if (!fs::is_directory(from, ec)) return moved;
    fs::create_directories(to, ec);
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        std::error_code mv;
        fs::rename(entry.path(), fs::path(to) / entry.path().filename(), mv);
        if (!mv) moved.push_back(entry.path().filename().string());
    }
    return moved;
}

std::string Ei13Figures::text() const {
    return "설정함: " + std::to_string(members) + "건 (PC: " + std::to_string(files) + " 건)";
}

Ei13Figures LoadEi13Figures(Database& db, const SessionContext& s) {
    Ei13Figures f;
    f.members = db.scalarInt("select count(*) from " + s.schema() +
                             ".member_user where remove='1' and settle_accounts='1' and "
                             "cms_status='0' and cms_agree_status='1'");
    f.files = static_cast<long long>(FolderFiles(s).size());
    return f;
}

std::string Ei13CreateQuestion(const CivilDate& date) {
    return DiskFileName(kEi13Kind, date) + " 파일을 생성 하시겠습니까?";
}

Ei13Result CreateEi13File(Database& db, SessionContext& s, Interaction& ui, const CivilDate& date,
                          const TransmissionLaunchers& launch) {
    Ei13Result result;
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return result;
    const bool relay = s.cmsrunprg == 2;
    if (relay && Afternoon(db)) {
        ui.inform(kEi13AfternoonText, kDefaultTitle);
        return result;
    }
    std::optional<CreationLock> lock;
    lock.emplace(db, s, kEi13Kind);
    if (!lock->held()) {
        ui.inform(kCreationBusyText, kDefaultTitle);
        return result;
    }
    const std::string yymmdd = Yymmdd(date);
    auto exists = [&](const std::string& table) {
        return db.scalarInt(
                   "select count(*) from " + s.schema() + "." + table + " where mid(filename,5)=?",
                   {yymmdd}) > 0;
    };
    if (!relay && exists("ea13")) {
        ui.inform(kEi13AfterEb13Text, kDefaultTitle);
        return result;
    }
    if (exists("ei13")) {
        ui.inform(kEi13DuplicateText, kDefaultTitle);
        return result;
    }
    MarkUnrequestableMembers(db, s);
    Checker checker(db, s);
    std::vector<Kept> kept = checker.Check();
    result.report = checker.report;
    if (!result.report.empty()) {
        std::string text;
        for (const auto& line : result.report) text += (text.empty() ? "" : "\r\n") + line;
        ui.inform(text, kDefaultTitle);
    }
    if (kept.empty()) {
        ui.inform(kEi13NoFilesText, kDefaultTitle);
        return result;
    }
    const std::string diskName = DiskFileName(kEi13Kind, date);
    const std::string folder = MakeExchangeFolder(s, kEi13Kind);
    if (!relay) {
        const fs::path existing = fs::path(folder) / diskName;
        std::error_code ec;
        if (fs::exists(existing, ec)) {
            if (!ui.confirm(diskName + " 파일이 이미 생성되어 있습니다. 재생성 하시겠습니까?",
                            kDefaultTitle))
                return result;
            fs::remove(existing, ec);
        }
    }
    const PayerNumberMaker filePayer(db, s);
    const auto count = static_cast<long long>(kept.size());
    try {
        std::optional<PartialFile> file;
        if (!relay) file.emplace(folder, diskName);
        Database::Transaction tx(db);
        std::optional<RelayWriter> rows;
        if (relay) {
            db.ExecuteSql(
                "insert into sdsi.agreefilerun (filename, cominx, id, company, userno, stat, "
                "senddate) values (?,?,?,?,?,0,date_format(now(),'%Y%m%d'))",
                {DatabaseFileName(kEi13Kind, date), s.institution_number, s.org_code, s.company,
                 count});
            rows.emplace(db, s, db.scalarInt("select last_insert_id();"));
            rows->Add("", "S ", DatabaseFileName(kEi13Kind, date));
        }
        auto put = [&](const std::string& seq, const std::string& code, const std::string& bytes) {
            if (file) file->write(bytes);
            if (rows) rows->Add(seq, code, bytes);
        };
        put("", "01", Ei13HeaderBlock(FileDate(date), s.org_code, count));
        long long blocks = 0, serial = 0;
        for (Kept& k : kept) {
            Ei13Entry e;
            e.serial = ++serial;
            e.payer = filePayer(std::to_string(k.member));
            e.bank3 = k.file.name.bank3;
            e.account = k.file.name.account;
            e.signDate = k.file.name.date;
            e.kind = k.file.name.kind;
            e.ext = k.file.name.ext;
            e.content = std::move(k.content);
            blocks += Ei13RecordBlocks(static_cast<long long>(e.content.size()));
            put(std::to_string(serial), "02", Ei13DataRecord(s.org_code, e));
            ui.progress("EI13 파일 생성", serial, count);
        }
        put("", "03", Ei13TrailerBlock(s.org_code, count, blocks));
        if (rows) rows->Finish();
        InsertFileRows(db, s, kept, yymmdd);
        db.ExecuteSql("insert into " + s.schema() +
                          ".ei13 (makedate, filename, total_cnt, send_stat) values "
                          "(unix_timestamp(sysdate()),?,?,'0')",
                      {DatabaseFileName(kEi13Kind, date), count});
        db.WriteProcessLog(DatabaseFileName(kEi13Kind, date) + " 파일생성", kEi13LogCode);
        if (file) {
            file->close();
            // Published before the commit: committed rows always have their file.
            file->publish();
        }
        try {
            tx.commit();
        } catch (...) {
            if (file) file->withdraw();
            throw;
        }
        if (file) result.path = file->path();
    } catch (const FileNotWritten& e) {
        ui.inform(e.what(), kDefaultTitle);
        return result;
    }
    // Packed files leave the folder, so that the next file does not pack
    // them again; a rollback brings them back.
    {
        const std::string packed = PackedAgreementFolder(s, DatabaseFileName(kEi13Kind, date));
        std::error_code ec;
        fs::create_directories(packed, ec);
        for (const Kept& k : kept)
            fs::rename(k.file.path, fs::path(packed) / k.file.path.filename(), ec);
    }
    lock.reset();
    result.created = true;
    result.count = count;
    if (ui.confirm(CreatedText(count, date, relay) + "\r\n\r\n" + kEi13SendQuestion,
                   kDefaultTitle)) {
        OpenTransmission(db, s, ui, launch);
    }
    return result;
}

bool SendEi13File(Database& db, SessionContext& s, Interaction& ui, const CivilDate& date) {
    if (!HeadOfficeMayWorkOnFiles(s, ui)) return false;
    const std::string name = DatabaseFileName(kEi13Kind, date);
    Database::Transaction tx(db);
    // One statement decides, so two desks cannot both send the day's file.
    if (db.ExecuteSql(
            "update " + s.schema() + ".ei13 set send_stat='1' where filename=? and send_stat='0'",
            {name}) == 0) {
        ui.inform(kEi13NothingToSendText, kDefaultTitle);
        return false;
    }
    db.ExecuteSql(
        "update sdsi.agreefilerun set stat='1' where filename=? and cominx=? and stat='0'",
        {name, s.institution_number});
    tx.commit();
    const std::string sent = "[" + DiskFileName(kEi13Kind, date) + "] 파일을 전송하였습니다.";
    ui.inform(Afternoon(db) ? "※ 오후에 송신한 파일은 다음날 새벽에 송신됩니다.\r\n" + sent : sent,
              kDefaultTitle);
    return true;
}

std::vector<Ei13FileRow> ListEi13Files(Database& db, const SessionContext& s, const CivilDate& from,
                                       const CivilDate& to) {
    const Recordset rs = db.OpenRecordset(
        "select ei13.filename, from_unixtime(ei13.makedate) created, ei13.total_cnt, "
        "ei13.send_stat from " +
            s.schema() +
            ".ei13 where from_unixtime(makedate) >= ? and from_unixtime(makedate) < "
            "date_add(?, interval 1 day) order by ei13.send_stat asc, ei13.makedate desc",
        {FormatDate(from), FormatDate(to)});
    std::vector<Ei13FileRow> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        out.push_back(
            {r["filename"], r["created"], r.asInt("total_cnt"), SendStatText(r["send_stat"])});
    }
    return out;
}

std::vector<std::string> Ei13DetailColumns() {
    return {"고객명", "상호",     "납부자번호", "외부참조키",
            "은행명", "계좌번호", "예금주명",   "신청일"};
}

std::vector<std::vector<std::string>> Ei13FileDetail(Database& db, const SessionContext& s,
                                                     const std::string& filename) {
    const std::string bank = s.case_sql.bank_name.empty() ? "f.bank_code" : s.case_sql.bank_name;
    const Recordset rs = db.OpenRecordset(
        "select member_user.username, member_user.client_company, lpad(f.user_no,10,'0') payer, "
        "member_user.ext_key, " +
            bank + " bank_name, f.account_no, member_user.account_name, f.sign_date from " +
            s.schema() + ".file_ei13 f left join " + s.schema() +
            ".member_user on member_user.member_inx=f.user_no where f.reg_date=? order by "
            "f.seq_num desc",
        {filename.size() > 4 ? filename.substr(4) : std::string("-")});
    std::vector<std::vector<std::string>> out;
    for (std::size_t i = 0; i < rs.size(); ++i) out.push_back(rs.values[i]);
    return out;
}

}  // namespace qx
