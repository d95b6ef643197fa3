#include "cms/eb21/eb21_targets.h"

#include <algorithm>

#include "cms/eb21/eb21_preparation.h"
#include "cms/eb21/eb21_record.h"
#include "cms/workspace/creation_lock.h"
#include "cms/workspace/file_names.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/payer_number.h"
#include "ledger/server_scripts.h"
#include "members/program_settings.h"
#include "platform/amount_text.h"
#include "platform/interaction.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

// The key all desks of an institution take while the work tables are filled and read.
constexpr const char* kSearchLockKind = "EB21.search";

std::string YearMonth(const CivilDate& d) {  // "yy-mm"
    return Yymmdd(d).substr(0, 2) + "-" + Yymmdd(d).substr(2, 2);
}

CivilDate PreviousMonth(const CivilDate& d) {
    return d.month == 1 ? CivilDate{d.year - 1, 12, 1} : CivilDate{d.year, d.month - 1, 1};
}

std::string Or(const std::string& caseSql, const std::string& column) {
    return caseSql.empty() ? column : caseSql;
}

// The grouped items of one method, from newpay or newpay2, as
// userinx, amount, rep_day, addcount, repmon, shown date, summed.
std::string GroupedItems(Eb21Method method, const std::string& s, const std::string& filter) {
    switch (method) {
        case Eb21Method::Monthly:
            return "select userinx,sum(firstpay) amount,max(rep_day) rep_day,max(addcount) "
                   "addcount,max(repmon) repmon,concat('20',mid(max(rep_day),1,5)) shown,0 summed "
                   "from " +
                   s + ".newpay where " + filter + " group by userinx,mid(rep_day,1,5)";
        case Eb21Method::Item:
            return "select userinx,firstpay amount,rep_day,addcount,repmon,concat('20',rep_day) "
                   "shown,0 summed from " +
                   s + ".newpay where " + filter;
        case Eb21Method::Sum:
            return "select userinx,sum(firstpay) amount,max(rep_day) rep_day,max(addcount) "
                   "addcount,min(repmon) repmon,'' shown,1 summed from " +
                   s + ".newpay where " + filter + " group by userinx";
        case Eb21Method::MergeBoth:
            return "select userinx,firstpay amount,rep_day,addcount,repmon,'' shown,1 summed "
                   "from " +
                   s + ".newpay2 where " + filter;
        case Eb21Method::MergeSplit:
            return "select userinx,firstpay amount,rep_day,addcount,repmon,"
                   "if(repmon='1','',concat('20',rep_day)) shown,if(repmon='1',1,0) summed "
                   "from " +
                   s + ".newpay2 where " + filter;
    }
    return {};
}

// Regular and unpaid amounts of the two mixed methods, merged apart.
void MergeIntoNewpay2(Database& db, const std::string& s, Eb21Method method) {
    db.ExecuteSql("delete from " + s + ".newpay2");
    if (method == Eb21Method::MergeBoth) {
        db.ExecuteSql("insert into " + s +
                      ".newpay2 (userinx,rep_day,firstpay,addcount,repmon) select "
                      "userinx,max(rep_day),sum(firstpay),0,repmon from " +
                      s + ".newpay group by userinx,repmon");
    } else {
        db.ExecuteSql("insert into " + s +
                      ".newpay2 (userinx,rep_day,firstpay,addcount,repmon) select "
                      "userinx,max(rep_day),sum(firstpay),0,'1' from " +
                      s + ".newpay where repmon='1' group by userinx");
        db.ExecuteSql("insert into " + s +
                      ".newpay2 (userinx,rep_day,firstpay,addcount,repmon) select "
                      "userinx,rep_day,firstpay,addcount,'0' from " +
                      s + ".newpay where repmon='0'");
    }
}

std::string AmountKind(const Eb21Options& o, bool unpaid) {
    switch (o.kind) {
        case Eb21Kind::Full:
            return "1";
        case Eb21Kind::Partial:
            return "2";
        case Eb21Kind::UnpaidPartial:
            if (o.amounts == Eb21Amounts::Unpaid) return "2";
            if (o.amounts == Eb21Amounts::Both && o.method != Eb21Method::Sum)
                return unpaid ? "2" : "1";
            return "1";
    }
    return "1";
}

bool UsesCashReceipts(const std::string& flag) {
    if (flag == "Y") return true;
    return !flag.empty() && IsAllDigits(flag) && std::stoll(flag) > 0;
}

std::string ServerNuday(Database& db) {
    return db.scalar("select date_format(now(),'%y%m%d%H%i%s')");
}

}  // namespace

const char* Eb21AmountsCaption(Eb21Amounts a) {
    static const char* names[] = {"정기+미납분", "정기분", "미납분"};
    return names[static_cast<int>(a)];
}
const char* Eb21MethodCaption(Eb21Method m) {
    static const char* names[] = {"월단위청구", "분할청구", "합산청구", "미납합산/정기합산",
                                  "미납합산/정기분할"};
    return names[static_cast<int>(m)];
}
const char* Eb21KindCaption(Eb21Kind k) {
    static const char* names[] = {"완전출금", "부분출금", "미납분부분"};
    return names[static_cast<int>(k)];
}
const char* Eb21PassbookCaption(Eb21Passbook p) {
    static const char* names[] = {"설정값사용", "회차표기", "월분표기"};
    return names[static_cast<int>(p)];
}

std::vector<Eb21Method> Eb21MethodsFor(Eb21Amounts a) {
    switch (a) {
        case Eb21Amounts::Both:
            return {Eb21Method::Monthly, Eb21Method::Item, Eb21Method::Sum, Eb21Method::MergeBoth,
                    Eb21Method::MergeSplit};
        case Eb21Amounts::Regular:
            return {Eb21Method::Sum, Eb21Method::Item};
        case Eb21Amounts::Unpaid:
            return {Eb21Method::Monthly, Eb21Method::Item, Eb21Method::Sum};
    }
    return {};
}

std::vector<Eb21Kind> Eb21KindsFor(Eb21Amounts a) {
    if (a == Eb21Amounts::Both) return {Eb21Kind::Full, Eb21Kind::Partial, Eb21Kind::UnpaidPartial};
    return {Eb21Kind::Full, Eb21Kind::Partial};
}

Eb21Options Eb21DefaultOptions(const std::string& cmsSet, Eb21Amounts amounts) {
    Eb21Options o;
    o.amounts = amounts;
    const int methodPos = amounts == Eb21Amounts::Both      ? 1
                          : amounts == Eb21Amounts::Regular ? 2
                                                            : 3;
    const auto methods = Eb21MethodsFor(amounts);
    const auto m = static_cast<std::size_t>(CmsSetDigit(cmsSet, methodPos));
    o.method = methods[m < methods.size() ? m : 0];
    const auto kinds = Eb21KindsFor(amounts);
    const auto k = static_cast<std::size_t>(CmsSetDigit(cmsSet, 3 + methodPos));
    o.kind = kinds[k < kinds.size() ? k : 0];
    const int p = CmsSetDigit(cmsSet, 9);
    o.passbook = p == 1   ? Eb21Passbook::Instalment
                 : p == 2 ? Eb21Passbook::Month
                          : Eb21Passbook::Setting;
    return o;
}

const std::vector<std::string>& Eb21GridColumns() {
    static const std::vector<std::string> columns = {
        "납부자번호", "고객명/상호",      "출금신청액",  "매출일자", "회차",         "구분",
        "CMS상태",    "CMS에러",          "은행명",      "계좌번호", "통장기장내역", "은행코드",
        "예금주번호", "완전부분",         "CMS상태코드", "지사",     "대리점",       "이체예정일",
        "매출예정액", "현금영수발행정보", "담당자"};
    return columns;
}

std::vector<std::string> Eb21GridCells(const Eb21Row& r) {
    return {r.payerNumber,
            r.name,
            std::to_string(r.amount),
            r.saleDate,
            r.addcount,
            r.unpaid ? "미납분" : "정기분",
            r.cmsStatusText,
            r.cmsError,
            r.bankName,
            r.accountNo,
            r.passbook,
            r.bankCode,
            r.holderNumber,
            r.amountKind,
            r.cmsStatus,
            r.branchName,
            r.agencyName,
            r.inday,
            std::to_string(r.expected),
            r.cashReceipt,
            r.manager};
}

BillablePreparer ServiceBillablePreparer(const std::string& webHost, long long inx,
                                         BillingChannel channel) {
    return [webHost, inx, channel](const std::string& nuday, const std::string& setmonth) {
        return RequestScriptReply(
            webHost, channel == BillingChannel::Card ? kCardBillableItemsPath : kBillableItemsPath,
            "loginuserid=tps_" + std::to_string(inx) + "&nuday=" + nuday + "&setmonth=" + setmonth);
    };
}

Eb21Search SearchEb21Targets(Database& db, SessionContext& s, Interaction& ui,
                             const CivilDate& fileDate, const Eb21Options& o,
                             const BillablePreparer& prepare) {
    Eb21Search out;
    const std::string schema = InstitutionSchema(s.institution_number);
    const bool card = o.channel == BillingChannel::Card;
    const auto company = db.OpenRecordset(
        "select cms_print,account_title,credit_account_title,cash_receipt_use,one_out_limit,"
        "credit_one_out_limit from quorisdex.admin_company where inx=?",
        {s.institution_number});
    if (company.empty()) return out;
    const PassbookTexts texts(company[0][card ? "credit_account_title" : "account_title"],
                              company[0]["cms_print"]);
    // The card statement keeps fewer characters before the month or instalment.
    const std::size_t keep = card ? 4 : 6;
    const bool cashReceipts = !card && UsesCashReceipts(company[0]["cash_receipt_use"]);
    const long long oneOutLimit = company[0].asInt(card ? "credit_one_out_limit" : "one_out_limit");

    CreationLock lock(db, s, kSearchLockKind);
    if (!lock.held()) {
        ui.inform(kCreationBusyText);
        out.failed = true;
        return out;
    }
    ui.progress(kEb21PreparingText, 0, 0);
    const std::string nuday = ServerNuday(db);
    const std::string setmonth = YearMonth(fileDate);
    const std::string started = db.scalar("select date_format(now(),'%H:%i:%s')");
    const std::string reply = Trim(prepare(nuday, setmonth));
    if (reply != kScriptDoneReply) {
        const std::string ended = db.scalar("select date_format(now(),'%H:%i:%s')");
        ui.inform(kEb21PreparationFailedText);
        db.WriteProcessLog(std::string("출금대상조회중 오류발생 ") +
                               (card ? "updatepms39" : "updatepms21") + "내용:" + reply +
                               "/URL내용: &nuday=" + nuday + "&setmonth=" + setmonth +
                               "/처리시간(시작:" + started + ")~(종료:" + ended + ")",
                           5);
        db.WriteProcessLog("DB_WebSend rtn :[" + reply + "]", 5);
        out.failed = true;
        return out;
    }

    if (s.month_divide_switch) {
        db.ExecuteSql("update " + schema + ".newpay set repmon=if(mid(rep_day,1,5)=?,0,1)",
                      {setmonth});
    } else {
        db.ExecuteSql("delete from " + schema + ".newpay where mid(rep_day,1,5)=?", {setmonth});
        db.ExecuteSql("update " + schema + ".newpay set repmon=if(mid(rep_day,1,5)=?,0,1)",
                      {YearMonth(PreviousMonth(fileDate))});
    }
    if (o.method == Eb21Method::MergeBoth || o.method == Eb21Method::MergeSplit)
        MergeIntoNewpay2(db, schema, o.method);

    const std::string filter = o.amounts == Eb21Amounts::Regular  ? "repmon='0'"
                               : o.amounts == Eb21Amounts::Unpaid ? "repmon='1'"
                                                                  : "repmon in ('0','1')";
    const std::string sql =
        "select n.userinx,n.amount,n.rep_day,n.addcount,n.repmon,n.shown,n.summed,"
        "member_user.username,member_user.client_company,member_user.cms_status,"
        "member_user.cms_error,member_user.bank_code,member_user.account_no,"
        "member_user.account_jumin,member_user.cms_printkey,member_user.branch_inx,"
        "member_user.agency_inx,member_user.inday,member_user.pay_monthdefault,member_user.p_tax,"
        "member_user.cash_receipt_info,member_user.client_manager," +
        Or(s.case_sql.cms_status, "member_user.cms_status") + " status_text," +
        Or(s.case_sql.bank_name, "member_user.bank_code") + " bank_name," +
        Or(s.case_sql.branch_name, "''") + " branch_name," + Or(s.case_sql.agency_name, "''") +
        " agency_name from (" + GroupedItems(o.method, schema, filter) + ") n join " + schema +
        ".member_user member_user on member_user.member_inx=n.userinx "
        "order by n.userinx desc,n.addcount asc,n.repmon desc,n.rep_day asc";
    const auto rs = db.OpenRecordset(sql);
    out.rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        Eb21Row row;
        row.member_inx = r.asInt("userinx");
        row.payerNumber = PadPayerNumber(r["userinx"], 10);
        row.name =
            r["client_company"].empty() ? r["username"] : r["username"] + "/" + r["client_company"];
        row.amount = r.asInt("amount");
        const bool summed = r["summed"] == "1";
        row.saleDate = r["shown"];
        row.addcount = summed ? "" : r["addcount"];
        row.repDay = r["rep_day"];
        row.unpaid = r["repmon"] == "1";
        row.cmsStatus = r["cms_status"];
        row.cmsStatusText = r["status_text"];
        row.cmsError = row.cmsStatus == "8" ? r["cms_error"] : "";
        row.bankName = r["bank_name"];
        row.accountNo = r["account_no"];
        row.bankCode = Trim(r["bank_code"]).substr(0, 3) + "0000";
        row.holderNumber = r["account_jumin"];
        const std::string& text = texts.forKey(r["cms_printkey"]);
        if (o.passbook == Eb21Passbook::Month) {
            const std::string month = row.repDay.size() >= 5 ? row.repDay.substr(3, 2) : "0";
            row.passbook =
                PassbookWithNumber(text, IsAllDigits(month) ? std::stoll(month) : 0, keep);
        } else if (o.passbook == Eb21Passbook::Instalment) {
            row.passbook = PassbookWithNumber(text, r.asInt("addcount"), keep);
        } else {
            row.passbook = text;
        }
        row.amountKind = AmountKind(o, row.unpaid);
        row.branch_inx = r.asInt("branch_inx");
        row.agency_inx = r.asInt("agency_inx");
        row.branchName = r["branch_name"];
        row.agencyName = r["agency_name"];
        row.inday = r["inday"];
        row.expected = r.asInt("pay_monthdefault");
        row.cashReceipt = cashReceipts && r["p_tax"] == s.cash_receipt_code ? r["cash_receipt_info"]
                                                                            : std::string();
        row.manager = r["client_manager"];
        out.rows.push_back(std::move(row));
    }
    out.rows = SplitByWithdrawalLimit(std::move(out.rows), oneOutLimit, s.prgstat[kDevidePay]);
    return out;
}

std::vector<Eb21Row> SplitByWithdrawalLimit(std::vector<Eb21Row> rows, long long limit,
                                            bool byLimit) {
    if (limit <= 0) return rows;
    std::vector<Eb21Row> out;
    out.reserve(rows.size());
    for (auto& row : rows) {
        if (row.amount <= limit) {
            out.push_back(std::move(row));
            continue;
        }
        const long long part =
            byLimit || row.expected <= 0 || row.expected > limit ? limit : row.expected;
        long long left = row.amount;
        while (left > 0) {
            Eb21Row piece = row;
            piece.amount = std::min(part, left);
            left -= piece.amount;
            out.push_back(std::move(piece));
        }
    }
    return out;
}

Eb21MonthFigures LoadMonthFigures(Database& db, const SessionContext& s, const CivilDate& date,
                                  BillingChannel channel) {
    const bool card = channel == BillingChannel::Card;
    Eb21MonthFigures f;
    const auto company = db.OpenRecordset(
        "select month_out_limit,one_out_limit,credit_month_out_limit,credit_one_out_limit from "
        "quorisdex.admin_company where inx=?",
        {s.institution_number});
    if (!company.empty()) {
        f.limit = company[0].asInt(card ? "credit_month_out_limit" : "month_out_limit");
        f.oneOutLimit = company[0].asInt(card ? "credit_one_out_limit" : "one_out_limit");
    }
    const std::string schema = InstitutionSchema(s.institution_number);
    const std::string yymm = Yymmdd(date).substr(0, 4);
    f.used = db.scalarInt("select coalesce(sum(input_pay),0) from " + schema +
                              ".pay_pross where paystat='1' and mid(signdate,1,5)=? and " +
                              (card ? "settle_title='신용카드결제' and settle_code=5"
                                    : "settle_title='CMS' and settle_code=1"),
                          {YearMonth(date)}) +
             db.scalarInt("select coalesce(sum(total_money-rtnok_money),0) from " + schema +
                              (card ? ".cdpay" : ".ea21") +
                              " where mid(filename,5,4)=? and pross_stat='0'",
                          {yymm});
    return f;
}

Eb21Selection SelectedOf(const std::vector<Eb21Row>& rows) {
    Eb21Selection s;
    for (const auto& r : rows)
        if (r.selected) {
            ++s.count;
            s.amount += r.amount;
        }
    return s;
}

std::string SelectionText(const Eb21Selection& sel) {
    return "신청금액 : ( " + FormatAmount(sel.amount) + " 원)  / 신청건수 : ( " +
           FormatAmount(sel.count) + " 건)";
}

const std::vector<std::pair<Eb21Exclusion, std::string>>& Eb21Exclusions() {
    static const std::vector<std::pair<Eb21Exclusion, std::string>> list = {
        {Eb21Exclusion::TransferDay, "이체예정일"},
        {Eb21Exclusion::AmountAtLeast, "출금액(이상)"},
        {Eb21Exclusion::AmountAtMost, "출금액(이하)"},
        {Eb21Exclusion::CmsState, "CMS상태"},
        {Eb21Exclusion::Branch, "지사"},
        {Eb21Exclusion::Agency, "대리점"},
        {Eb21Exclusion::CmsError, "CMS오류메세지"},
        {Eb21Exclusion::OutsideMonths, "지정개월수외"},
        {Eb21Exclusion::None, "제외안함"}};
    return list;
}

std::optional<Eb21Exclusion> FindEb21Exclusion(const std::string& caption) {
    for (const auto& [e, name] : Eb21Exclusions())
        if (name == caption) return e;
    return std::nullopt;
}

std::optional<long long> ApplyEb21Exclusion(std::vector<Eb21Row>& rows, Eb21Exclusion c,
                                            const std::string& rawValue, const CivilDate& fileDate,
                                            Interaction& ui) {
    const std::string value = Trim(rawValue);
    std::function<bool(const Eb21Row&)> match;
    switch (c) {
        case Eb21Exclusion::None:
            return 0;
        case Eb21Exclusion::TransferDay: {
            if (value.empty() || value.size() > 2 || !IsAllDigits(value)) {
                ui.inform("잘못된 이체예정일입니다.");
                return std::nullopt;
            }
            const long long day = std::stoll(value);
            match = [day](const Eb21Row& r) {
                return IsAllDigits(r.inday) && r.inday.size() <= 2 && std::stoll(r.inday) == day;
            };
            break;
        }
        case Eb21Exclusion::AmountAtLeast:
        case Eb21Exclusion::AmountAtMost: {
            std::string digits;
            for (char ch : value)
                if (ch != ',') digits += ch;
            if (value.empty()) {
                ui.inform(kEb21AmountMissingText);
                return std::nullopt;
            }
            if (!IsAllDigits(digits) || digits.size() > 15) {
                ui.inform(kEb21AmountInvalidText);
                return std::nullopt;
            }
            const long long amount = std::stoll(digits);
            const bool atLeast = c == Eb21Exclusion::AmountAtLeast;
            match = [amount, atLeast](const Eb21Row& r) {
                return atLeast ? r.amount >= amount : r.amount <= amount;
            };
            break;
        }
        case Eb21Exclusion::CmsState: {
            const std::string code = value == "신규신청완료" ? "3"
                                     : value == "출금완료"   ? "7"
                                     : value == "출금불능"   ? "8"
                                                             : "";
            if (code.empty()) {
                ui.inform("잘못된 CMS상태입니다.");
                return std::nullopt;
            }
            match = [code](const Eb21Row& r) { return r.cmsStatus == code; };
            break;
        }
        case Eb21Exclusion::Branch:
            if (value.empty()) return std::nullopt;
            match = [value](const Eb21Row& r) {
                return value == "본점" ? r.branch_inx == 0 : r.branchName == value;
            };
            break;
        case Eb21Exclusion::Agency:
            if (value.empty()) return std::nullopt;
            match = [value](const Eb21Row& r) { return r.agency_inx > 0 && r.agencyName == value; };
            break;
        case Eb21Exclusion::CmsError:
            if (value.empty()) {
                ui.inform(kEb21ErrorMissingText);
                return std::nullopt;
            }
            match = [value](const Eb21Row& r) {
                return r.cmsError.find(value) != std::string::npos;
            };
            break;
        case Eb21Exclusion::OutsideMonths: {
            if (value.empty()) {
                ui.inform(kEb21MonthsMissingText);
                return std::nullopt;
            }
            if (!IsAllDigits(value) || value.size() > 3 || std::stoll(value) == 0) {
                ui.inform(kEb21MonthsInvalidText);
                return std::nullopt;
            }
            // Months counted back from the file's month: 1 keeps only that month.
            const long long months = std::stoll(value);
            const long long fileMonth = fileDate.year * 12LL + fileDate.month - 1;
            match = [months, fileMonth](const Eb21Row& r) {
                const auto d = ParseDate(r.repDay);
                if (!d) return false;
                return fileMonth - (d->year * 12LL + d->month - 1) >= months;
            };
            break;
        }
    }
    long long n = 0;
    for (auto& r : rows)
        if (r.selected && match(r)) {
            r.selected = false;
            ++n;
        }
    return n;
}

}  // namespace qx
