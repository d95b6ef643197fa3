// Collections booked for many members in two set statements: each member's
// totals move as every collection moves them, then one ledger row per member
// carries the outstanding amount after it.
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;
struct SessionContext;

// What every row of one booking carries.
struct CollectionTexts {
    std::string title;  // settle_title
    // settle_title of members paying by an institution-defined method (10
    // and above); none: `title` for every member.
    std::optional<std::string> ownMethodTitle;
    std::string date;  // signdate, yy-mm-dd
    std::string memo;
    std::string item;
    long long runKey = 0;  // addmuskey; 0 outside batch runs
};

// Books one collection for every member listed in `amounts`, a table of the
// statement's own (temporary or work table, schema-qualified if need be)
// with the columns `member` and `amount`, one row per member. Deleted
// members are left out. Runs in the caller's transaction; returns the
// number of rows booked.
long long BookCollectionsFrom(Database& db, const SessionContext& session,
                              const std::string& amounts, const CollectionTexts& texts);

}  // namespace qx
