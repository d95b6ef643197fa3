// The member list a page at a time, for lists too long to hold at once
// (exports): the members numbered above `afterMember`, in number order.
#pragma once

#include <vector>

#include "members/member_record.h"

namespace qx {

std::vector<MemberListRow> ListMembersAfter(Database& db, const SessionContext& session,
                                            const MemberFilter& filter, long long afterMember,
                                            bool fullHolderNumbers, int limit);

}  // namespace qx
