#include "db/work_tables.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"
#include "db/sql_script.h"
#include "platform/profile_ini.h"

namespace qx {

namespace {

constexpr const char* kScratchTail =
    ") ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci";

// The member columns a withdrawal result can change; the backup of kind
// kWorkMemberMoney holds these of every member.
constexpr const char* kMemberMoneyColumns =
    "`member_inx`, `pay_nonpayment`, `total_payment`, `pay_prossagreement`, `cms_status`, "
    "`cms_error`";

// Columns of the scratch kinds other than the member copy.
const char* ScratchColumns(int kind) {
    switch (kind) {
        case kWorkMemberMoney:
            // No secondary keys: the copy is made on every application.
            return "`member_inx` bigint(10) unsigned zerofill NOT NULL, "
                   "`pay_nonpayment` bigint(20) default 0, `total_payment` bigint(20) default 0, "
                   "`pay_prossagreement` int(11) default 0, `cms_status` varchar(2) default '', "
                   "`cms_error` varchar(250) default '', PRIMARY KEY (`member_inx`)";
        case kWorkMemberItems:
            return "`bk_inx` int(10) unsigned NOT NULL auto_increment, "
                   "`member_inx` bigint(10) unsigned zerofill NOT NULL default 0, "
                   "`ext_key` varchar(32) default '', `ui_name` varchar(64) default '', "
                   "`ui_stan` varchar(64) default '', `ui_cnt` int(11) default 1, "
                   "`ui_pay` int(11) default 1000, "
                   "PRIMARY KEY (`bk_inx`), KEY `member_inx` (`member_inx`)";
        case kWorkBatchRows:
            // Everything as text: the rows come from files and are checked here.
            return "`bk_inx` int(10) unsigned NOT NULL auto_increment, "
                   "`member_inx` varchar(20) default '', `ext_key` varchar(32) default '', "
                   "`pay_text` varchar(32) default '', `pmserror` varchar(255) default '', "
                   "`sortlimits` int(11) default 0, `ui_name` varchar(64) default '', "
                   "`ui_stan` varchar(64) default '', `ui_cnt` varchar(16) default '', "
                   "`ui_pay` varchar(16) default '', "
                   "PRIMARY KEY (`bk_inx`), KEY `member_inx` (`member_inx`), "
                   "KEY `sortlimits` (`sortlimits`)";
        case kWorkMemberInfo:
            return "`member_inx` bigint(10) unsigned zerofill NOT NULL, "
                   "`client_info1` varchar(32) default '', `client_info2` varchar(32) default '', "
                   "`client_info3` varchar(32) default '', `client_info4` varchar(32) default '', "
                   "`client_info5` varchar(32) default '', `client_info6` varchar(32) default '', "
                   "PRIMARY KEY (`member_inx`)";
    }
    return nullptr;
}

long long NewScratchNumber(Database& db, const SessionContext& s) {
    db.ExecuteSql("insert into quorisdex.back_table (`back_loginid`) values (?)", {s.LoginId});
    const long long n = db.lastInsertId();
    if (n <= 0) throw std::runtime_error("back_table gave no number");
    return n;
}

std::string ScratchName(long long n) {
    return "quorisdex.back_" + std::to_string(n);
}

WorkTable CreateScratch(Database& db, const SessionContext& s, int kind) {
    WorkTable t;
    t.key = NewScratchNumber(db, s);
    t.name = ScratchName(t.key);
    if (kind == kWorkMemberCopy) {
        // The member layout as it stands, keys and auto-number included.
        const std::string members = s.schema() + ".member_user";
        db.ExecuteSql("CREATE TABLE " + t.name + " LIKE " + members);
        db.ExecuteSql("insert into " + t.name + " select * from " + members);
    } else {
        db.ExecuteSql(" CREATE TABLE " + t.name + "  (" + ScratchColumns(kind) + kScratchTail);
        if (kind == kWorkMemberMoney) {
            db.ExecuteSql("insert into " + t.name + " (" + kMemberMoneyColumns + ") select " +
                          kMemberMoneyColumns + " from " + s.schema() + ".member_user");
        }
    }
    return t;
}

// Made ready and left without rows: they carry one run's rows only.
WorkTable EmptiedTables(Database& db, long long inx, std::initializer_list<const char*> tables) {
    for (const char* table : tables) {
        EnsureInstitutionTable(db, inx, table);
        db.ExecuteSql("delete from " + InstitutionSchema(inx) + "." + table);
    }
    return {InstitutionSchema(inx) + "." + *tables.begin(), 0};
}

WorkTable KeptTables(Database& db, long long inx, std::initializer_list<const char*> tables) {
    for (const char* table : tables) EnsureInstitutionTable(db, inx, table);
    return {InstitutionSchema(inx) + "." + *tables.begin(), 0};
}

}  // namespace

std::string InstitutionTableDdl(long long inx, const std::string& table) {
    const std::string path = SqlDirectory() + "/institution.sql";
    const auto script = ReadWholeFile(path);
    if (!script) throw std::runtime_error("cannot read " + path);
    const std::string head = "CREATE TABLE IF NOT EXISTS {schema}." + table + " (";
    for (std::string stmt : SplitSqlScript(*script)) {
        const auto start = stmt.find_first_not_of(" \t\n");
        if (start == std::string::npos || stmt.compare(start, head.size(), head) != 0) continue;
        stmt.erase(0, start);
        const std::string schema = InstitutionSchema(inx);
        for (auto p = stmt.find("{schema}"); p != std::string::npos;
             p = stmt.find("{schema}", p + schema.size())) {
            stmt.replace(p, 8, schema);
        }
        return stmt;
    }
    throw std::runtime_error("institution.sql has no table " + table);
}

void EnsureInstitutionTable(Database& db, long long inx, const std::string& table) {
    db.ExecuteSql(InstitutionTableDdl(inx, table));
}

WorkTable CreateWorkTable(Database& db, const SessionContext& s, int kind) {
    const long long inx = s.institution_number;
    switch (kind) {
        case kWorkMemberCopy:
        case kWorkMemberItems:
        case kWorkBatchRows:
        case kWorkMemberInfo:
        case kWorkMemberMoney:
            return CreateScratch(db, s, kind);
        case kWorkEb14Results:
            return EmptiedTables(db, inx, {"file_ea13_run"});
        case kWorkEb22Results:
            return EmptiedTables(db, inx, {"file_ea21_run"});
        case kWorkBatchSales:
            return EmptiedTables(db, inx, {"newpay", "newpay2"});
        case kWorkDonationReceipts:
            return KeptTables(db, inx, {"giftbill", "giftsubbill"});
        case kWorkTextBatch:
            return KeptTables(db, inx, {"txtadd"});
        case kWorkPayerNumbers:
            return KeptTables(db, inx, {"cmsinx_list"});
    }
    throw std::invalid_argument("no work table of kind " + std::to_string(kind));
}

void DropWorkTable(Database& db, long long key) {
    if (key < 1) return;
    db.ExecuteSql("Drop table if exists " + ScratchName(key));
}

void EnsurePayerNumberTable(Database& db, long long inx) {
    EnsureInstitutionTable(db, inx, "cmsinx_list");
}

}  // namespace qx
