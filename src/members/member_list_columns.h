// Which columns the member list shows: the payer number and the name always,
// then the optional columns numbered in Login.ini V1/VIEW, the first
// FIXINGCOL of them frozen; and the text of each cell.
#pragma once

#include <string>
#include <vector>

#include "platform/amount_text.h"

namespace qx {

struct MemberListRow;

inline constexpr const char* kDefaultMemberView = "1/2/3/4/12/33/34/35/36";

struct MemberListColumn {
    int number = 0;   // 0 for the columns always shown
    const char* key;  // a MemberListRow value or a display key of MemberListCell
    const char* caption;
};

// Every optional column with its number, in number order.
const std::vector<MemberListColumn>& OptionalMemberColumns();

struct MemberListLayout {
    std::vector<MemberListColumn> columns;
    int frozen = 0;  // leading columns that stay in place while scrolling
};

// The columns for a VIEW value ("/"-separated numbers; unknown, repeated or
// malformed entries are left out) in number order after the two fixed ones,
// with the frozen count held between 0 and the number of columns.
MemberListLayout MemberListColumns(const std::string& view, int fixingColumns);

// The text a cell shows. The channel columns follow the member record's
// overloading: bank, account and holder number only for CMS members, the
// holder name for every method but phone payment. Payer numbers have ten
// digits; the holder number arrives already masked by the list.
// Amounts are shown "#,0".
std::string MemberListCell(const MemberListRow& row, const std::string& key);

// True for the columns that hold amounts (shown right-aligned).
bool IsAmountColumn(const std::string& key);

}  // namespace qx
