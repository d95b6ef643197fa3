#include "messaging/sms_file_members.h"

#include <stdexcept>

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

std::vector<SmsRecipient> LoadFileRecipients(Database& db, const SessionContext& s,
                                             const SmsFileQuery& q) {
    const std::string schema = InstitutionSchema(s.institution_number);
    std::string amount, table, having;
    SqlParams params{q.regDate};
    if (q.kind == SmsFileKind::Eb13) {
        amount = "m.pay_monthdefault";
        table = "file_ea13";
    } else if (q.kind == SmsFileKind::CardPayment) {
        table = "cdpay_detail";
        // Payments (purchase_kind 0) and cancellations (1), by their answer.
        const std::string kind =
            q.amountColumn == kCancelledColumn || q.amountColumn == kCancelFailedColumn ? "1" : "0";
        std::string result;
        if (q.amountColumn == kWithdrawnColumn || q.amountColumn == kCancelledColumn)
            result = " and f.result=''";
        else if (q.amountColumn == kFailedColumn || q.amountColumn == kCancelFailedColumn)
            result = " and f.result='N'";
        else if (q.amountColumn != kBilledColumn)
            throw std::invalid_argument("금액 항목을 선택하세요.");
        amount = "sum(if(f.purchase_kind='" + kind + "'" + result + ",f.amount,0))";
        having = " having amount_value > 0";
    } else {
        table = "file_ea21";
        if (q.amountColumn == kWithdrawnColumn) {
            amount =
                "sum(case f.result when '' then f.amount when 'P' then f.div_amount else 0 end)";
        } else if (q.amountColumn == kFailedColumn) {
            amount =
                "sum(case f.result when 'N' then f.amount when 'P' then "
                "f.amount-f.div_amount else 0 end)";
        } else if (q.amountColumn == kBilledColumn) {
            amount = "sum(f.amount)";
        } else {
            throw std::invalid_argument("금액 항목을 선택하세요.");
        }
        having = " having amount_value > 0";
    }
    std::string sql =
        "select if(m.username='',m.client_company,m.username) name, m.member_inx, "
        "right(concat('0000000000',m.member_inx),10) payer, m.private_tel, m.pay_nonpayment, " +
        amount + " amount_value, m.inday from " + schema + "." + table + " f join " + schema +
        ".member_user m on f.user_no=m.member_inx where f.reg_date=?";
    if (q.kind == SmsFileKind::Eb13) {
        sql += " and f.reg_kind=?";
        params.emplace_back(q.cancelled ? "3" : "1");
    }
    sql += " and replace(m.private_tel,'-','') regexp '[0-9]' group by m.member_inx" + having +
           " order by m.member_inx asc";
    const Recordset rs = db.OpenRecordset(sql, params);
    std::vector<SmsRecipient> rows;
    rows.reserve(rs.size());
    for (std::size_t i = 0; i < rs.size(); ++i) {
        SmsRecipient r;
        r.payer = rs[i]["payer"];
        r.mobile = rs[i]["private_tel"];
        r.values.name = rs[i]["name"];
        r.values.scheduled = rs[i]["amount_value"];
        r.values.outstanding = rs[i]["pay_nonpayment"];
        r.values.transferDay = rs[i]["inday"];
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<std::string> SmsAmountColumns(SmsFileKind kind) {
    switch (kind) {
        case SmsFileKind::Eb13:
            return {};
        case SmsFileKind::Eb21:
            return {kWithdrawnColumn, kFailedColumn, kBilledColumn};
        case SmsFileKind::CardPayment:
            return {kWithdrawnColumn, kFailedColumn, kCancelledColumn, kCancelFailedColumn,
                    kBilledColumn};
    }
    return {};
}

std::string FileRecipientsText(const std::vector<SmsRecipient>& rows) {
    if (rows.empty()) return "조회 대상이 없거나 조회된 회원 중 핸드폰이 등록된 회원이 없습니다.";
    long long marked = 0;
    for (const auto& r : rows) marked += r.marked;
    return "총 " + std::to_string(rows.size()) + " 건 중 " + std::to_string(marked) + " 건 선택됨";
}

}  // namespace qx
