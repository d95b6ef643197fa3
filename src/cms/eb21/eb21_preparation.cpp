#include "cms/eb21/eb21_preparation.h"

#include <stdexcept>

#include "db/business_days.h"
#include "db/database.h"
#include "platform/text_checks.h"

namespace qx {

namespace {

std::string BillableMember(BillingChannel channel) {
    return std::string("m.settle_accounts='") + (channel == BillingChannel::Card ? "5" : "1") +
           "' and m.remove='1' and m.cms_status in ('3','7','8') and m.pay_nonpayment>0";
}

}  // namespace

std::optional<std::string> ScriptNuday(const std::string& nuday) {
    if (nuday.size() != 12 || !IsAllDigits(nuday)) return std::nullopt;
    if (!ParseDate(nuday.substr(0, 6))) return std::nullopt;
    const int hh = std::stoi(nuday.substr(6, 2)), mm = std::stoi(nuday.substr(8, 2)),
              ss = std::stoi(nuday.substr(10, 2));
    if (hh > 23 || mm > 59 || ss > 59) return std::nullopt;
    return nuday;
}

std::optional<std::string> ScriptSetMonth(const std::string& setmonth) {
    if (setmonth.size() != 5 || setmonth[2] != '-') return std::nullopt;
    if (!ParseDate(setmonth + "-01")) return std::nullopt;
    return setmonth;
}

long long PrepareBillableItems(Database& db, long long inx, const std::string& nuday,
                               const std::string& setmonth, BillingChannel channel) {
    if (!ScriptNuday(nuday) || !ScriptSetMonth(setmonth))
        throw std::invalid_argument("billable items: bad day or month");
    const std::string s = InstitutionSchema(inx);
    const std::string day =
        nuday.substr(0, 2) + "-" + nuday.substr(2, 2) + "-" + nuday.substr(4, 2);
    const std::string billableMember = BillableMember(channel);
    const bool exceptLater =
        db.scalar("select checkexcept_use from quorisdex.admin_company where inx=?", {inx}) == "Y";

    Database::Transaction tx(db);
    db.ExecuteSql("delete from " + s + ".newpay");
    // The newest sales take the outstanding amount first: a sale's unpaid
    // part is what is left of the outstanding amount after the newer sales,
    // at most the sale itself.
    long long rows = db.ExecuteSql(
        "insert into " + s +
            ".newpay (userinx,rep_day,firstpay,addcount,repmon) "
            "select u,d,part,seq,'0' from ("
            " select t.*, dense_rank() over (partition by u order by mid(d,1,5) desc) mrank from ("
            "  select p.u, p.d, p.seq, p.mm,"
            "   least(p.amount, greatest(0, p.nonpay-(p.cum-p.amount))) part from ("
            "   select pp.userlink_inx u, pp.signdate d, pp.input_pay amount,"
            "    m.pay_nonpayment nonpay, m.month_max mm,"
            "    row_number() over (partition by pp.userlink_inx order by pp.signdate, pp.pay_inx) "
            "seq,"
            "    sum(pp.input_pay) over (partition by pp.userlink_inx order by pp.signdate desc,"
            "     pp.pay_inx desc rows between unbounded preceding and current row) cum"
            "   from " +
            s + ".pay_pross pp join " + s +
            ".member_user m on m.member_inx=pp.userlink_inx"
            "   where pp.paystat='0' and pp.input_pay>0 and " +
            billableMember +
            ") p"
            "  ) t where t.part>0 and (?='N' or t.d<=?)"
            " ) r where r.mm<=0 or r.mrank<=r.mm",
        {exceptLater ? "Y" : "N", day});
    // What no sale explains: one older row, unless the member's months are used up.
    rows += db.ExecuteSql(
        "insert into " + s +
            ".newpay (userinx,rep_day,firstpay,addcount,repmon) "
            "select m.member_inx,"
            " if(x.oldest is null,"
            "  date_format(str_to_date(concat('20',?,'-01'),'%Y-%m-%d') - interval 1 month"
            "   - interval 1 day,'%y-%m-%d'),"
            "  date_format(str_to_date(concat('20',x.oldest),'%Y-%m-%d') - interval 1 day,"
            "   '%y-%m-%d')),"
            " m.pay_nonpayment-coalesce(x.total,0),0,'0'"
            " from " +
            s +
            ".member_user m left join ("
            "  select userlink_inx u, sum(input_pay) total, min(signdate) oldest from " +
            s +
            ".pay_pross where paystat='0' and input_pay>0 group by userlink_inx) x"
            "  on x.u=m.member_inx"
            " where " +
            billableMember +
            " and m.pay_nonpayment>coalesce(x.total,0)"
            " and (m.month_max<=0 or (select count(distinct mid(n.rep_day,1,5)) from " +
            s + ".newpay n where n.userinx=m.member_inx)<m.month_max)",
        {setmonth});
    tx.commit();
    return rows;
}

}  // namespace qx
