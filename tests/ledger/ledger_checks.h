// What every ledger test checks after a writer: the member's totals agree
// with its ledger rows.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "db/database.h"

namespace qx::test {

// `opening` is the outstanding amount the member had before any ledger row.
// The latest row carries the member's outstanding amount unless a
// cancellation removed rows after it (`latestCurrent` false).
inline void ExpectTotalsAgree(Database& db, const std::string& schema, long long member,
                              long long opening = 0, bool latestCurrent = true) {
    const Recordset m =
        db.OpenRecordset("select pay_nonpayment, total_prosspay, total_payment from " + schema +
                             ".member_user where member_inx=?",
                         {member});
    const Recordset l = db.OpenRecordset(
        "select ifnull(sum(if(paystat='0',input_pay,0)),0) sales, "
        "ifnull(sum(if(paystat='1',input_pay,0)),0) collections, count(*) n from " +
            schema + ".pay_pross where userlink_inx=?",
        {member});
    ASSERT_EQ(m.size(), 1u);
    const long long sales = l[0].asInt("sales"), collections = l[0].asInt("collections");
    EXPECT_EQ(m[0].asInt("total_prosspay"), sales) << "member " << member;
    EXPECT_EQ(m[0].asInt("total_payment"), collections) << "member " << member;
    EXPECT_EQ(m[0].asInt("pay_nonpayment"), opening + sales - collections) << "member " << member;
    if (latestCurrent && l[0].asInt("n") > 0) {
        EXPECT_EQ(db.scalarInt("select pros_nonpayment from " + schema +
                                   ".pay_pross where userlink_inx=? order by pay_inx desc limit 1",
                               {member}),
                  m[0].asInt("pay_nonpayment"))
            << "latest row of member " << member;
    }
}

inline long long Count(Database& db, const std::string& sql, const SqlParams& params = {}) {
    return db.scalarInt(sql, params);
}

}  // namespace qx::test
