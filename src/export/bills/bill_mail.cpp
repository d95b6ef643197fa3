#include "export/bills/bill_mail.h"

#include "db/database.h"
#include "export/bills/bills.h"
#include "ledger/server_scripts.h"
#include "platform/amount_text.h"
#include "platform/http.h"

namespace qx {

namespace {

std::string Row(const std::string& caption, const std::string& value, bool strong = false) {
    const std::string v = HtmlEscape(value);
    return "<tr><th style=\"text-align:left;padding:6px 12px;background:#f3f5f8;"
           "border:1px solid #d5dae1\">" +
           HtmlEscape(caption) +
           "</th><td style=\"text-align:right;padding:6px 12px;border:1px solid #d5dae1\">" +
           (strong ? "<b>" + v + "</b>" : v) + "</td></tr>";
}

std::string Paragraph(const std::string& text) {
    if (text.empty()) return {};
    std::string escaped = HtmlEscape(text);
    // Line breaks the user typed stay line breaks.
    std::string out;
    for (const char c : escaped) {
        if (c == '\n')
            out += "<br>";
        else if (c != '\r')
            out += c;
    }
    return "<p style=\"margin:12px 0\">" + out + "</p>";
}

}  // namespace

std::string BillMailSubject(const BillView& b) {
    const std::string title = b.title1.empty() ? std::string("청구서") : b.title1;
    return title + " (" + BillingMonthCaption(b.month) + ")";
}

std::string RenderBillHtml(const BillView& b) {
    std::string body;
    body +=
        "<div style=\"max-width:640px;margin:0 auto;font-family:'Malgun Gothic',"
        "'NanumGothic',sans-serif;font-size:14px;color:#222\">";
    body += "<h2 style=\"text-align:center\">" + HtmlEscape(b.title1) + "</h2>";
    body += "<p style=\"text-align:center\">" + HtmlEscape(BillingMonthCaption(b.month)) +
            " 청구서</p>";
    if (!b.institution.empty()) body += "<p>" + HtmlEscape(b.institution) + "</p>";
    body += Paragraph(b.title2);
    body += "<table style=\"border-collapse:collapse;width:100%\">";
    body += Row("청구월", BillingMonthCaption(b.month));
    body += Row("납부자번호", b.payer_number);
    body += Row("성명(상호)", b.name);
    body += Row("전월미납액", FormatAmount(b.outstanding) + "원");
    body += Row("당월청구액", FormatAmount(b.month_amount) + "원");
    body += Row("총청구액", FormatAmount(b.total) + "원", true);
    body += Row("출금일", b.payday.empty() || b.payday == "0" ? "-" : "매월 " + b.payday + "일");
    body += Row("대체입금계좌", b.account);
    body += "</table>";
    body += Paragraph(b.title3);
    body += Paragraph(b.title4);
    body += "</div>";
    return "<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\"><title>" +
           HtmlEscape(BillMailSubject(b)) + "</title></head><body>" + body + "</body></html>";
}

std::vector<BillMail> PendingBillMails(Database& db, long long inx, const std::string& crdate) {
    const std::string schema = InstitutionSchema(inx);
    const Recordset rs = db.OpenRecordset(
        "select c.crinx, c.cryymm, c.cr0, c.cr1, c.cr3, c.cr4, c.cr5, c.cr6, c.cr7, c.cr9, "
        "ifnull(t.title1,'') title1, ifnull(t.title2,'') title2, ifnull(t.title3,'') title3, "
        "ifnull(t.title4,'') title4, ifnull(a.company,'') company from " +
            schema +
            ".cashrender c left join quorisdex.cash_title t on t.inx=c.cashtitle_code "
            "left join quorisdex.admin_company a on a.inx=? "
            "where c.crdate=? and c.mailcnt=0 order by c.crinx",
        {inx, crdate});
    std::vector<BillMail> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        BillMail m;
        m.crinx = rs[i].asInt("crinx");
        m.address = rs[i]["cr9"];
        BillView& v = m.view;
        v.title1 = rs[i]["title1"];
        v.title2 = rs[i]["title2"];
        v.title3 = rs[i]["title3"];
        v.title4 = rs[i]["title4"];
        v.month = rs[i]["cryymm"];
        v.institution = rs[i]["company"];
        char buf[16];
        std::snprintf(buf, sizeof buf, "%010lld", rs[i].asInt("cr0"));
        v.payer_number = buf;
        v.name = rs[i]["cr1"];
        v.payday = rs[i]["cr6"];
        v.account = rs[i]["cr7"];
        v.outstanding = rs[i].asInt("cr3");
        v.month_amount = rs[i].asInt("cr4");
        v.total = rs[i].asInt("cr5");
        out.push_back(std::move(m));
    }
    return out;
}

void CountBillMailed(Database& db, long long inx, long long crinx) {
    db.ExecuteSql(
        "update " + InstitutionSchema(inx) + ".cashrender set mailcnt=mailcnt+1 where crinx=?",
        {crinx});
}

BillMailOutcome MailBills(const std::vector<BillMail>& bills, const std::string& from,
                          const MailSender& send, const std::function<void(long long)>& delivered) {
    BillMailOutcome out;
    bool unreachable = false;
    for (const BillMail& b : bills) {
        if (!IsMailAddress(b.address)) {
            ++out.invalid;
            continue;
        }
        if (unreachable) {
            ++out.failed;
            continue;
        }
        const SmtpResult r =
            send(MailMessage{from, b.address, BillMailSubject(b.view), RenderBillHtml(b.view)});
        if (r.ok) {
            ++out.sent;
            delivered(b.crinx);
        } else {
            ++out.failed;
            unreachable = r.unreachable;
        }
    }
    return out;
}

std::string BillMailReply(const BillMailOutcome& o) {
    return std::string(kScriptDoneReply) + "\nsent=" + std::to_string(o.sent) +
           "\nfailed=" + std::to_string(o.failed) + "\ninvalid=" + std::to_string(o.invalid);
}

}  // namespace qx
