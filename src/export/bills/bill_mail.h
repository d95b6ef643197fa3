// The service web server's side of e-mailed bills: each bill of a batch as
// a Korean HTML mail, sent over SMTP and counted in `mailcnt`.
//
// A bill is counted only after its mail was accepted by the mail server,
// and a mailing request sends only the bills of the batch not mailed yet:
// repeating the request after a failure mails the rest, never a bill twice.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/smtp.h"

namespace qx {

class Database;

// What a bill shows.
struct BillView {
    std::string title1, title2, title3, title4;  // the institution's texts
    std::string month;                           // "yyyy-mm"
    std::string institution;                     // the institution's name
    std::string payer_number, name, payday, account;
    long long outstanding = 0, month_amount = 0, total = 0;
};

// The bill as a whole HTML page; every text is escaped.
std::string RenderBillHtml(const BillView& bill);
// "청구서 (yyyy년 mm월)" and the like: the mail's subject.
std::string BillMailSubject(const BillView& bill);

struct BillMail {
    long long crinx = 0;
    std::string address;
    BillView view;
};

// The bills of the batch `crdate` of institution `inx` that were not mailed
// yet, with the text set each was issued with. Empty for an unknown
// institution.
std::vector<BillMail> PendingBillMails(Database& db, long long inx, const std::string& crdate);
// Counts one delivered mail of the bill.
void CountBillMailed(Database& db, long long inx, long long crinx);

struct BillMailOutcome {
    long long sent = 0, failed = 0, invalid = 0;
};
using MailSender = std::function<SmtpResult(const MailMessage&)>;
// Sends each bill through `send`; `delivered` is called for each mail the
// server accepted. An address that is no address is skipped and counted;
// once the server cannot be reached the remaining bills count as failed
// without further attempts.
BillMailOutcome MailBills(const std::vector<BillMail>& bills, const std::string& from,
                          const MailSender& send, const std::function<void(long long)>& delivered);

// "처리완료\nsent=N\nfailed=N\ninvalid=N": the mailer's answer.
std::string BillMailReply(const BillMailOutcome& outcome);

}  // namespace qx
