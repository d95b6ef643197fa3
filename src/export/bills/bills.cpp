#include "export/bills/bills.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "core/session_context.h"
#include "db/named_lock.h"
#include "db/role_filter.h"
#include "ledger/server_scripts.h"
#include "members/member_rules.h"
#include "platform/http.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "session/service_web.h"

namespace qx {

namespace {

// The business number without '-'; a member with one is billed as a company.
constexpr const char* kBusinessNumber = "replace(ifnull(member_user.company_number,''),'-','')";

std::string BilledName() {
    return std::string("if(") + kBusinessNumber +
           "='', member_user.username, member_user.client_company)";
}

std::string BilledId() {
    return std::string("if(") + kBusinessNumber +
           "='', replace(ifnull(member_user.jumin,''),'-',''), " + kBusinessNumber + ")";
}

// "농협 1234-5678-901234": the virtual account grouped 4-4-6.
std::string AlternativeAccount() {
    const std::string no = "replace(ifnull(member_user.virtual_no,''),'-','')";
    return "if(" + no + "='', '" + kNoAlternativeAccount +
           "', concat(member_user.virtual_bank,' ',mid(" + no + ",1,4),'-',mid(" + no +
           ",5,4),'-',mid(" + no + ",9)))";
}

// This month's amount: nothing for an instalment that is fully paid.
constexpr const char* kMonthAmount =
    "if(member_user.account_divide='3' and "
    "member_user.pay_agreement<=member_user.pay_prossagreement, 0, "
    "ifnull(member_user.pay_monthdefault,0))";

// The outstanding amount less what this month's sales put into it. The one
// bound value is the month's ledger-date prefix "yy-mm-".
constexpr const char* kOutstanding =
    "if(member_user.pay_nonpayment<=0, 0, member_user.pay_nonpayment - "
    "least(member_user.pay_nonpayment, (select ifnull(sum(p.input_pay),0) from {schema}.pay_pross "
    "p where p.userlink_inx=member_user.member_inx and p.paystat='0' and p.signdate like ?)))";

std::string WithSchema(std::string sql, const std::string& schema) {
    for (auto at = sql.find("{schema}"); at != std::string::npos; at = sql.find("{schema}"))
        sql.replace(at, 8, schema);
    return sql;
}

std::string LedgerMonthPrefix(const std::string& month) {
    return month.substr(2, 5) + "-%";
}

// The select list shared by the list and the insert, its one value first.
std::string BillColumns(const SessionContext& s, const std::string& month, SqlParams& params) {
    params.emplace_back(LedgerMonthPrefix(month));
    return "member_user.member_inx, " + BilledName() + " cr1, " + BilledId() + " cr2, " +
           WithSchema(kOutstanding, s.schema()) + " cr3, " + kMonthAmount + " cr4, " +
           "ifnull(member_user.payday,0) cr6, " + AlternativeAccount() +
           " cr7, ifnull(member_user.user_email,'') cr9";
}

// " from … where …" of the members the selection bills.
std::string BillConditions(const SessionContext& s, const BillSelection& sel, SqlParams& params) {
    std::string sql = " from " + s.schema() + ".member_user member_user where ";
    switch (sel.state) {
        case BillMemberState::kNormal:
            sql += "member_user.remove='1'";
            break;
        case BillMemberState::kOnHold:
            sql += "member_user.remove='3'";
            break;
        case BillMemberState::kNormalAndCancelled:
            sql += "member_user.remove in ('1','2')";
            break;
    }
    sql +=
        " and (member_user.pay_nonpayment>0 or member_user.pay_monthdefault>0)"
        " and not (member_user.pay_nonpayment<1 and member_user.pay_monthdefault<1)"
        " and member_user.p_tax>0 and ifnull(member_user.start_date,'')<=?";
    params.emplace_back(sel.month);
    sql += " and " + BilledId() + " regexp '^[0-9]{10}([0-9]{3})?$'";
    // Checked inside the statement that writes the bills, so that a second
    // issue of the month, from this desk or another, skips the member.
    sql += " and not exists (select 1 from " + s.schema() +
           ".cashrender c where c.cr0=member_user.member_inx and c.cryymm=?)";
    params.emplace_back(sel.month);
    AppendRoleFilter(sql, params, s, "member_user");
    sql += BatchFilterSql(sel.filter, params, "member_user");
    if (sel.nonpayment == "Y") sql += " and member_user.pay_nonpayment>0";
    if (sel.nonpayment == "N") sql += " and member_user.pay_nonpayment<1";
    if (!sel.p_tax.empty()) {
        sql += " and member_user.p_tax=?";
        params.emplace_back(sel.p_tax);
    }
    if (!sel.cms_status.empty()) {
        sql += " and member_user.cms_status=?";
        params.emplace_back(sel.cms_status);
    }
    if (!sel.text.empty()) {
        const auto& cols = BillTextColumns();
        const auto col = std::find_if(cols.begin(), cols.end(), [&](const BillTextColumn& c) {
            return sel.textColumn == c.column;
        });
        if (col == cols.end())
            throw std::invalid_argument("조회할 수 없는 항목입니다: " + sel.textColumn);
        const std::string column = std::string("member_user.") + col->column;
        if (sel.textEquals) {
            sql += " and " + column + "=?";
            params.emplace_back(sel.text);
        } else {
            sql += " and " + column + " like concat('%',?,'%') escape '!'";
            params.emplace_back(EscapeLikePattern(sel.text, '!'));
        }
    }
    return sql;
}

void CheckSelection(const BillSelection& sel) {
    if (!IsBillingMonth(sel.month)) throw std::invalid_argument(kBillMonthText);
}

long long ReplyNumber(const std::string& reply, const std::string& key) {
    const auto at = reply.find(key + "=");
    if (at == std::string::npos) return -1;
    return std::atoll(reply.c_str() + at + key.size() + 1);
}

}  // namespace

const std::vector<BillTextColumn>& BillTextColumns() {
    static const std::vector<BillTextColumn> columns = {
        {"username", "고객명"},    {"client_company", "상호"},       {"member_inx", "납부자번호"},
        {"ext_key", "외부참조키"}, {"company_number", "사업자번호"}, {"jumin", "주민/법인번호"},
        {"user_email", "이메일"},  {"private_tel", "휴대폰"},        {"tel", "전화"},
        {"comment", "비고"},
    };
    return columns;
}

void SetBillCondition(BillSelection& sel, const std::string& name, const std::string& value) {
    if (name == "remove") {
        if (value == "1")
            sel.state = BillMemberState::kNormal;
        else if (value == "3")
            sel.state = BillMemberState::kOnHold;
        else if (value == "12")
            sel.state = BillMemberState::kNormalAndCancelled;
        else
            throw std::invalid_argument("remove 는 1(정상), 3(보류) 또는 12(정상+해지) 입니다.");
        return;
    }
    if (name == "pay_nonpayment") {
        if (value != "Y" && value != "N" && !value.empty())
            throw std::invalid_argument("pay_nonpayment 는 Y(미수 있음) 또는 N(미수 없음) 입니다.");
        sel.nonpayment = value;
        return;
    }
    if (name == "p_tax" || name == "cms_status") {
        if (!value.empty() && (value.size() > 2 || !IsAllDigits(value)))
            throw std::invalid_argument("조회 조건 값이 잘못 되었습니다: " + name + "=" + value);
        (name == "p_tax" ? sel.p_tax : sel.cms_status) = value;
        return;
    }
    SetBatchFilter(sel.filter, name, value);
}

bool IsBillingMonth(const std::string& month) {
    if (month.size() != 7 || month[4] != '-') return false;
    if (!IsAllDigits(month.substr(0, 4)) || !IsAllDigits(month.substr(5, 2))) return false;
    const int m = std::stoi(month.substr(5, 2));
    return m >= 1 && m <= 12 && month.substr(0, 4) >= "1900";
}

std::string BillingMonthCaption(const std::string& month) {
    if (!IsBillingMonth(month)) return month;
    return month.substr(0, 4) + "년 " + month.substr(5, 2) + "월";
}

std::vector<BillCandidate> ListBillCandidates(Database& db, const SessionContext& s,
                                              const BillSelection& sel) {
    CheckSelection(sel);
    SqlParams params;
    std::string sql = "select " + BillColumns(s, sel.month, params) +
                      ", ifnull(member_user.start_date,'') start_date";
    sql += BillConditions(s, sel, params) + " order by member_user.member_inx desc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<BillCandidate> out;
    out.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        BillCandidate c;
        c.member_inx = rs[i].asInt("member_inx");
        char buf[16];
        std::snprintf(buf, sizeof buf, "%010lld", c.member_inx);
        c.payer_number = buf;
        c.name = rs[i]["cr1"];
        c.id = rs[i]["cr2"];
        c.account = rs[i]["cr7"];
        c.email = rs[i]["cr9"];
        c.payday = rs[i]["cr6"];
        c.start_date = rs[i]["start_date"];
        c.outstanding = rs[i].asInt("cr3");
        c.month_amount = rs[i].asInt("cr4");
        c.total = c.outstanding + c.month_amount;
        out.push_back(std::move(c));
    }
    return out;
}

BillIssueResult IssueBills(Database& db, const SessionContext& s, Interaction& ui,
                           const std::string& webHost, const BillSelection& sel) {
    BillIssueResult result;
    if (!IsBillingMonth(sel.month)) {
        ui.inform(kBillMonthText);
        return result;
    }
    if (!ui.confirm(kBillIssueQuestionText)) return result;
    const auto texts = CurrentBillTexts(db, s);
    if (!texts) {
        ui.inform(kNoBillTextsText);
        return result;
    }
    try {
        // Two desks issuing at once take turns; the statement's own check
        // then finds the other's bills.
        const NamedLock lock(db, "quorisdex_bills_" + s.schema(), 30);
        if (!lock.held()) {
            ui.inform(kBillsBusyText);
            return result;
        }
        Database::Transaction tx(db);
        // A batch is known by its issue time alone (listing, mailing): a
        // batch issued within the second of another takes the next free
        // second, so that no two batches ever share one. The issue lock
        // keeps two desks from choosing at once.
        result.crdate = db.scalar(
            "select date_format(greatest(now(), coalesce((select str_to_date(max(crdate),"
            "'%Y-%m-%d %H:%i:%s') + interval 1 second from " +
            s.schema() +
            ".cashrender where crdate>=date_format(now(),'%Y-%m-%d %H:%i:%s')), now())),"
            "'%Y-%m-%d %H:%i:%s')");
        SqlParams params = {sel.month, result.crdate, texts->inx};
        const std::string columns = BillColumns(s, sel.month, params);
        // One statement: the bills of a batch are written whole or not at all.
        const std::string sql =
            "insert into " + s.schema() +
            ".cashrender (cryymm, crdate, mailcnt, cr0, cr1, cr2, cr3, cr4, cr5, cr6, cr7, cr8, "
            "cr9, cashtitle_code) select ?, ?, 0, b.member_inx, b.cr1, b.cr2, b.cr3, b.cr4, "
            "b.cr3+b.cr4, b.cr6, b.cr7, '', b.cr9, ? from (select " +
            columns + BillConditions(s, sel, params) + ") b order by b.member_inx";
        result.issued = db.ExecuteSql(sql, params);
        tx.commit();
        result.done = true;
    } catch (const std::invalid_argument& e) {
        ui.inform(e.what());
        return result;
    } catch (const DatabaseError&) {
        ui.inform(kBillIssueFailedText);
        return result;
    }
    if (result.issued > 0) {
        result.mailRequested = true;
        result.mailReply = RequestBillMailing(webHost, result.crdate, s.institution_number);
        if (const std::string notice = BillMailingNotice(result.mailReply); !notice.empty())
            ui.inform(notice);
    }
    result.backToList = ui.confirm(std::to_string(result.issued) + kBillsIssuedSuffix);
    return result;
}

std::string RequestBillMailing(const std::string& webHost, const std::string& crdate,
                               long long inx) {
    return RequestScriptReply(webHost, kBillMailerPath,
                              "crdate=" + UrlEncodeUtf8(crdate) + "&dbinx=" + std::to_string(inx));
}

std::string BillMailingNotice(const std::string& reply) {
    const long long sent = ReplyNumber(reply, "sent");
    const long long failed = ReplyNumber(reply, "failed");
    const long long invalid = ReplyNumber(reply, "invalid");
    if (reply.rfind(kScriptDoneReply, 0) != 0 || sent < 0 || failed < 0 || invalid < 0) {
        return "청구서 메일 발송을 요청하지 못했습니다. 청구서는 발행되었으며 [청구서 목록]에서 "
               "다시 발송할 수 있습니다.";
    }
    if (failed == 0 && invalid == 0) return {};
    std::string text = "메일 발송 " + std::to_string(sent) + "건, 발송 실패 " +
                       std::to_string(failed) + "건, 메일주소 오류 " + std::to_string(invalid) +
                       "건";
    if (failed > 0)
        text +=
            "\n메일 서버에 연결할 수 없거나 거절되었습니다. [청구서 목록]에서 다시 발송하십시오.";
    return text;
}

std::vector<BillBatch> ListBillBatches(Database& db, const SessionContext& s,
                                       const std::string& fromMonth, const std::string& toMonth) {
    if (!IsBillingMonth(fromMonth) || !IsBillingMonth(toMonth))
        throw std::invalid_argument(kBillMonthText);
    SqlParams params = {fromMonth, toMonth};
    std::string sql =
        "select c.cryymm, c.crdate, count(*) n, sum(c.mailcnt>0) mailed, sum(c.cr5) total from " +
        s.schema() + ".cashrender c left join " + s.schema() +
        ".member_user member_user on member_user.member_inx=c.cr0 where c.cryymm between ? and ?";
    AppendRoleFilter(sql, params, s, "member_user");
    sql += " group by c.cryymm, c.crdate order by c.crdate desc, c.cryymm desc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<BillBatch> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        out.push_back({rs[i]["cryymm"], rs[i]["crdate"], rs[i].asInt("n"), rs[i].asInt("mailed"),
                       rs[i].asInt("total")});
    }
    return out;
}

std::vector<BillRow> ListBills(Database& db, const SessionContext& s, const std::string& crdate) {
    SqlParams params = {crdate};
    std::string sql = "select c.* from " + s.schema() + ".cashrender c left join " + s.schema() +
                      ".member_user member_user on member_user.member_inx=c.cr0 where c.crdate=?";
    AppendRoleFilter(sql, params, s, "member_user");
    sql += " order by c.crinx desc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<BillRow> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        BillRow r;
        r.crinx = rs[i].asInt("crinx");
        r.month = rs[i]["cryymm"];
        r.crdate = rs[i]["crdate"];
        r.name = rs[i]["cr1"];
        r.id = rs[i]["cr2"];
        r.email = rs[i]["cr9"];
        r.outstanding = rs[i].asInt("cr3");
        r.month_amount = rs[i].asInt("cr4");
        r.total = rs[i].asInt("cr5");
        r.mailcnt = rs[i].asInt("mailcnt");
        out.push_back(std::move(r));
    }
    return out;
}

std::optional<BillTexts> CurrentBillTexts(Database& db, const SessionContext& s) {
    const Recordset rs = db.OpenRecordset(
        "select inx, title1, title2, title3, title4 from quorisdex.cash_title where prg_code=? "
        "order by inx desc limit 1",
        {std::to_string(s.institution_number)});
    if (rs.empty()) return std::nullopt;
    return BillTexts{rs[0].asInt("inx"), rs[0]["title1"], rs[0]["title2"], rs[0]["title3"],
                     rs[0]["title4"]};
}

bool SaveBillTexts(Database& db, const SessionContext& s, Interaction& ui, const BillTexts& t) {
    const std::string* texts[] = {&t.title1, &t.title2, &t.title3, &t.title4};
    for (int i = 0; i < 4; ++i) {
        const std::string field = "청구서 문구" + std::to_string(i + 1);
        if (!IsStorableText(*texts[i])) {
            ui.inform(UnstorableTextMessage(field));
            return false;
        }
        if (CharacterCount(*texts[i]) > 255) {
            ui.inform(field + "은(는) 255자 이내로 입력하십시요.");
            return false;
        }
    }
    db.ExecuteSql(
        "insert into quorisdex.cash_title (prg_code,title1,title2,title3,title4) values "
        "(?,?,?,?,?)",
        {std::to_string(s.institution_number), t.title1, t.title2, t.title3, t.title4});
    ui.inform(kBillTextsSavedText);
    return true;
}

std::string BillPreviewUrl(const std::string& webHost, const SessionContext& s, const BillTexts& t,
                           const std::string& month) {
    return ServiceUrl(
        webHost, std::string(kBillPreviewPath) + "?mycode=" + std::to_string(s.institution_number) +
                     "&msg1=" + UrlEncodeUtf8(t.title1) + "&msg2=" + UrlEncodeUtf8(t.title2) +
                     "&msg3=" + UrlEncodeUtf8(t.title3) + "&msg4=" + UrlEncodeUtf8(t.title4) +
                     "&msg5=" + UrlEncodeUtf8(month));
}

}  // namespace qx
