// Tables made ready on demand: scratch tables in the shared schema, named
// after the auto-number of back_table so two desktops never share one, and
// the working tables of an institution's schema.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

enum WorkTableKind : int {
    kWorkMemberCopy = 1,         // quorisdex.back_<n>: a copy of every member row
    kWorkMemberItems = 2,        // quorisdex.back_<n>: item lists of members
    kWorkBatchRows = 3,          // quorisdex.back_<n>: batch registration rows
    kWorkMemberMoney = 4,        // quorisdex.back_<n>: every member's amounts and CMS state
    kWorkMemberInfo = 5,         // quorisdex.back_<n>: member information exports
    kWorkEb14Results = 8,        // tps_<inx>.file_ea13_run, emptied
    kWorkEb22Results = 9,        // tps_<inx>.file_ea21_run, emptied
    kWorkBatchSales = 10,        // tps_<inx>.newpay and newpay2, emptied
    kWorkDonationReceipts = 11,  // tps_<inx>.giftbill and giftsubbill
    kWorkTextBatch = 12,         // tps_<inx>.txtadd
    kWorkPayerNumbers = 13,      // tps_<inx>.cmsinx_list
};

struct WorkTable {
    std::string name;   // schema-qualified, ready to stand in a statement
    long long key = 0;  // n of a scratch table back_<n>; 0 for institution tables
};

// Makes the table of `kind` ready. Throws std::invalid_argument for a kind
// that names no table.
WorkTable CreateWorkTable(Database& db, const SessionContext& session, int kind);

// Drops the scratch table back_<key>; a key below 1 names none and is ignored.
void DropWorkTable(Database& db, long long key);

// The payer-number translation table, created when missing.
void EnsurePayerNumberTable(Database& db, long long inx);

// Creates one table of the institution's schema when missing, from its
// definition in sql/institution.sql (the one place the layout is kept).
void EnsureInstitutionTable(Database& db, long long inx, const std::string& table);

// That definition with the schema filled in; throws std::runtime_error when
// the file holds no such table.
std::string InstitutionTableDdl(long long inx, const std::string& table);

}  // namespace qx
