// Card members and sessions for the card request tests.
#pragma once

#include <string>

#include "cms/eb21/eb21_preparation.h"
#include "cms/eb21/eb21_targets.h"
#include "ledger/server_scripts.h"
#include "support/institution_fixture.h"

namespace qx::test {

struct CardMember {
    std::string cardNo = "4111222233334444";
    std::string expiry = "2912";
    std::string holder = "카드주";
    std::string mobile = "01012345678";
    std::string status = "0";
    std::string remove = "1";
    long long nonpayment = 0;
    std::string username = "회원";
    std::string inday = "15";  // the transfer day
};

inline long long InsertCardMember(Database& db, long long inx, const CardMember& c) {
    MemberRow r;
    r.settle_accounts = "5";
    r.remove = c.remove;
    r.cms_status = c.status;
    r.pay_nonpayment = c.nonpayment;
    r.username = c.username;
    const long long m = InsertMember(db, inx, r);
    db.ExecuteSql("update " + InstitutionSchema(inx) +
                      ".member_user set account_no=?, account_jumin=?, account_name=?, "
                      "certificate_number=?, inday=?, card_cancel_status='0' where member_inx=?",
                  {c.cardNo, c.expiry, c.holder, c.mobile, c.inday, m});
    return m;
}

// The server's preparation run in process, as the stand-in would run it.
inline BillablePreparer CardPreparerIn(Database& db, long long inx) {
    return [&db, inx](const std::string& nuday, const std::string& setmonth) {
        PrepareBillableItems(db, inx, nuday, setmonth, BillingChannel::Card);
        return std::string(kScriptDoneReply);
    };
}

}  // namespace qx::test
