// The members due for an EB13 registration or cancellation request, as the
// creation screen lists them.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"

namespace qx {

class Database;
struct SessionContext;

struct Eb13Target {
    long long member_inx = 0;
    std::string username, client_company, payday, bank_name, account_no, account_name,
        account_jumin;
    std::string request_kind;  // "신규" for a new application, else "해지"
    std::string payer_number;  // ten digits
    std::string cms_error;     // shown for members in state 2
    std::string signdate;      // yyyy-mm-dd
    std::string bank_code;     // bank part + "0000"
    std::string cms_status;    // before the request
    std::string certificate_kind, certificate_number;

    bool isNew() const { return request_kind == "신규"; }
    // Shown in the relay's authentication column.
    std::string certificateMethod() const;
    // The phone number for authentication by mobile phone, else empty.
    std::string contactNumber() const;
};

// The grid's visible columns (the relay adds the authentication columns).
std::vector<StatusColumn> Eb13GridColumns(const SessionContext& session);
// One cell of a row, by its index in Eb13GridColumns (the grid asks cell by
// cell while it paints).
std::string Eb13GridCell(const Eb13Target& target, std::size_t column);
// The cells of one row in the order of Eb13GridColumns.
std::vector<std::string> Eb13GridCells(const Eb13Target& target, const SessionContext& session);

// Cleans line breaks and tabs out of member text, marks the members that
// cannot be requested (state 2 with the reason) and returns the targets:
// new applications first, then by payer number.
std::vector<Eb13Target> SearchEb13Targets(Database& db, const SessionContext& session);

// Marks the new applications that cannot be requested: state 2 with the
// reason (bank code, holder number, with the relay also the phone).
void MarkUnrequestableMembers(Database& db, const SessionContext& session);

// The condition on member_user that selects the targets (no "where").
std::string Eb13TargetCondition(const SessionContext& session);

// How many members await a request, by the same selection, without touching
// any member.
long long CountEb13Targets(Database& db, const SessionContext& session);

}  // namespace qx
