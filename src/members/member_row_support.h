// What the member operations share inside this module: the columns a user
// gives with their captions and lengths, and the row-level steps that
// registration, change, re-issue and account change all take (copy a row,
// move its dependants, add a history note, the edit-conflict test).
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/database.h"
#include "members/member_record.h"

namespace qx {

struct SessionContext;

namespace member_rows {

inline constexpr int kMemberLog = 3;

struct ColumnRule {
    const char* name;
    const char* label;
    int maxChars;  // 0 = a whole number
};

// The columns a user types or chooses, with the length the table allows.
const std::vector<ColumnRule>& Columns();
const ColumnRule* FindColumn(const std::string& name);

std::string Table(const SessionContext& s, const char* table);

// Receipt-kind codes by their texts in the institution's 'tallysheet' list.
struct ReceiptCodes {
    std::string cash = "999", receipt = "998", donation;
};
ReceiptCodes LoadReceiptCodes(Database& db, const SessionContext& s);

// One message of several lines.
std::string Lines(std::initializer_list<const char*> lines);

// Trims the fields whose blanks never mean anything.
void TrimInput(MemberInput& in);

// The 3-digit bank part of a bank code.
std::string Bank3(const std::string& bankCode);

// Whether the 3-digit bank code is in the bank list the screens offer.
bool IsListedBank(Database& db, const SessionContext& s, const std::string& bank3);

// The number of months shown for a stored instalment member: total /
// monthly amount, at least 1; empty without a monthly amount.
std::string RebuiltInstalmentMonths(const MemberRecord& member);

// The first month of a period member: the start month given, else the
// current month ("yyyy-mm").
std::string PeriodStartMonth(const SessionContext& s, const MemberInput& in);

// The current month as "yymm" from the server date "yy-mm-dd".
std::string CurrentYymm(const SessionContext& s);

void AddNote(Database& db, const SessionContext& s, long long member, const std::string& combo,
             const std::string& text);

// Moves every row that hangs on `from` to `to`.
void MoveDependants(Database& db, const SessionContext& s, long long from, long long to);

// Copies the row with `overrides` (column -> SQL expression with '?' and
// its values) and returns the new number.
long long CopyMemberRow(Database& db, const SessionContext& s, long long from,
                        const std::map<std::string, std::pair<std::string, SqlParams>>& overrides);

void WriteItems(Database& db, const SessionContext& s, long long member,
                const std::vector<MemberItem>& items);

// The edit-conflict test on the row as stored now.
bool StateUnchanged(Database& db, const SessionContext& s, long long member,
                    const OpenedState& opened, bool lock);

// Code columns hold what the screens offer (the institution's code lists,
// its branches and agencies); anything else is refused before a check or a
// write looks at it.
// `given`, on change, names the fields the user gave; the others come from
// the stored row and are taken as they are.
void CheckCodes(Database& db, const SessionContext& s, const MemberInput& in,
                const MemberInput* given = nullptr);
void CheckItems(const std::vector<MemberItem>& items);

}  // namespace member_rows
}  // namespace qx
