#include "channels/giro/gr15_apply.h"

#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_quote.h"
#include "db/work_tables.h"
#include "ledger/collection_booking.h"
#include "platform/interaction.h"

namespace qx {

namespace {

constexpr long long kSteps = 5;

std::string Tuple(const Gr15Payment& p, const std::string& name) {
    const std::string stat = p.processing_kind == ' ' ? "" : std::string(1, p.processing_kind);
    return "(" + std::to_string(p.seq_num) + "," + SqlQuote(p.wondate) + "," +
           SqlQuote(p.filedate) + "," + SqlQuote(p.bank_code) + "," + SqlQuote(p.bank_code_ext) +
           "," + SqlQuote(p.giro_idx) + "," + SqlQuote(p.giro_no) + "," + std::to_string(p.amount) +
           "," + std::to_string(p.fee) + "," + SqlQuote(Gr15ReceiptKindText(p.receipt_kind)) + "," +
           SqlQuote(stat) + ",0," + SqlQuote(name) + ")";
}

constexpr const char* kStoringText = "파일내역을 저장중입니다.";

void StoreRows(Database& db, Interaction& ui, const std::string& schema, const Gr15File& file) {
    const std::string head = "insert into " + schema +
                             ".file_gr15 (`seq_num`, `wondate`, `filedate`, `bank_code`, "
                             "`bank_code_ext`, `giro_idx`, `giro_no`, `amount`, `su_commi`, "
                             "`su_title`, `su_stat`, `lnk_inx`, `filename`) values ";
    std::string sql;
    std::size_t inBatch = 0;
    long long stored = 0;
    const auto total = static_cast<long long>(file.payments.size());
    for (const auto& p : file.payments) {
        sql += (inBatch == 0 ? head : ",") + Tuple(p, file.name);
        ++stored;
        if (++inBatch == kGr15InsertBatch || stored == total) {
            db.ExecuteSql(sql);
            ui.progress(kStoringText, stored, total);
            sql.clear();
            inBatch = 0;
        }
    }
}

// Leading zeros of either number do not count, and the numbers are compared
// as text: a customer number has up to 19 digits, more than a floating-point
// conversion keeps exactly.
void MatchMembers(Database& db, const std::string& schema, const std::string& name) {
    const std::string match = schema + ".gr15_match";
    db.ExecuteSql("drop temporary table if exists " + match);
    db.ExecuteSql("create temporary table " + match +
                  " (number varchar(32) not null primary key, member bigint not null) "
                  "DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci");
    // Two giro members with one number: the older payer number takes it.
    db.ExecuteSql("insert ignore into " + match +
                  " (number, member) select trim(leading '0' from trim(account_name)), "
                  "member_inx from " +
                  schema +
                  ".member_user where remove<>4 and settle_accounts='3' and "
                  "trim(leading '0' from trim(account_name))<>'' order by member_inx");
    db.ExecuteSql("update " + schema + ".file_gr15 f join " + match +
                      " g on g.number=trim(leading '0' from f.giro_no) set f.lnk_inx=g.member "
                      "where f.filename=?",
                  {name});
    db.ExecuteSql("update " + schema +
                      ".file_gr15 set su_stat='X', su_err=? where filename=? and lnk_inx=0 and "
                      "su_stat=''",
                  {kGr15UnmatchedText, name});
    db.ExecuteSql("drop temporary table " + match);
}

}  // namespace

void EnsureGr15Tables(Database& db, const SessionContext& s) {
    EnsureInstitutionTable(db, s.institution_number, "gr15");
    EnsureInstitutionTable(db, s.institution_number, "file_gr15");
    // Tables made before the rows named their file get the column.
    const long long has = db.scalarInt(
        "select count(*) from information_schema.columns where table_schema=? and "
        "table_name='file_gr15' and column_name='filename'",
        {s.schema()});
    if (has == 0) {
        db.ExecuteSql("alter table " + s.schema() +
                      ".file_gr15 add column `filename` char(25) DEFAULT '', add key `filename` "
                      "(`filename`)");
    }
}

bool Gr15Applied(Database& db, const SessionContext& s, const std::string& name) {
    return db.scalarInt("select count(*) from " + s.schema() + ".gr15 where filename=?", {name}) >
           0;
}

std::optional<Gr15File> OpenGr15File(Database& db, const SessionContext& s, Interaction& ui,
                                     const std::string& path) {
    const std::string name = Gr15NameOf(path);
    if (name.empty()) {
        ui.inform(kGr15NameText);
        return std::nullopt;
    }
    EnsureGr15Tables(db, s);
    if (Gr15Applied(db, s, name)) {
        ui.inform(kGr15AppliedText);
        return std::nullopt;
    }
    Gr15File file = ReadGr15File(path, s.giro_account);
    if (!file.error.empty()) {
        ui.inform(file.error);
        return std::nullopt;
    }
    ui.inform(std::to_string(file.payments.size()) + " 건이 조회 되었습니다.");
    return file;
}

Gr15ApplyResult ApplyGr15File(Database& db, const SessionContext& s, Interaction& ui,
                              const Gr15File& file) {
    Gr15ApplyResult result;
    if (!file.error.empty() || file.payments.empty()) {
        ui.inform(file.error.empty() ? kGr15NoDataText : file.error);
        return result;
    }
    if (!ui.confirm(file.name + " 을 적용 하시겠습니까?")) return result;
    EnsureGr15Tables(db, s);
    const std::string schema = s.schema();
    Database::Transaction tx(db);
    // The claim: a second desk's row waits for this transaction and then
    // finds the file taken.
    ui.progress("파일내역의 요약정보를 입력중입니다.", 0, kSteps);
    const Gr15Totals& t = file.totals;
    if (db.ExecuteSql(
            "insert ignore into " + schema +
                ".gr15 (`makedate`, `filename`, `a_cnt`, `a_money`, `a_commi`, "
                "`a_fmoney`, `total_money`) values (unix_timestamp(sysdate()),?,?,?,?,?,?)",
            {file.name, t.count, t.amount, t.fee, t.deduction, t.total}) == 0) {
        ui.inform(kGr15AppliedText);
        return result;
    }
    StoreRows(db, ui, schema, file);
    result.stored = static_cast<long long>(file.payments.size());

    ui.progress("파일내역을 정리중입니다.", 2, kSteps);
    MatchMembers(db, schema, file.name);
    result.unmatched = db.scalarInt(
        "select count(*) from " + schema + ".file_gr15 where filename=? and su_stat='X'",
        {file.name});

    ui.progress("고객정보에 적용중입니다.", 3, kSteps);
    const std::string amounts = schema + ".gr15_amounts";
    db.ExecuteSql("drop temporary table if exists " + amounts);
    db.ExecuteSql("create temporary table " + amounts +
                  " (member bigint not null primary key, amount bigint not null)");
    db.ExecuteSql("insert into " + amounts + " (member, amount) select lnk_inx, sum(amount) from " +
                      schema +
                      ".file_gr15 where filename=? and su_stat='' and lnk_inx<>0 group by lnk_inx",
                  {file.name});
    result.booked = db.scalarInt("select ifnull(sum(amount),0) from " + amounts);

    ui.progress("고객원장에 적용중입니다.", 4, kSteps);
    CollectionTexts texts;
    texts.title = kGr15CollectionTitle;
    texts.date =
        file.yymmdd.substr(0, 2) + "-" + file.yymmdd.substr(2, 2) + "-" + file.yymmdd.substr(4, 2);
    texts.memo = "[" + file.name + "] OCR지로 수금처리";
    texts.item = kGr15CollectionItem;
    result.members = BookCollectionsFrom(db, s, amounts, texts);
    db.ExecuteSql("drop temporary table " + amounts);

    db.WriteProcessLog(file.name + " 파일처리 완료", kGr15LogCode);
    tx.commit();
    result.applied = true;
    ui.inform(kGr15AppliedDoneText);
    return result;
}

}  // namespace qx
