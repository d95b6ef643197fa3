// The bill mailer and the bill preview. The mailer sends the bills of one
// batch that were not mailed yet and counts each mail the mail server
// accepted; a second request for a batch still being mailed is turned away,
// so that no bill goes out twice.
#include <mutex>
#include <set>
#include <string>

#include "export/bills/bill_mail.h"
#include "export/bills/bills.h"
#include "ledger/server_scripts.h"
#include "platform/text_checks.h"
#include "service_web.h"

namespace qx::web {

namespace {

BillMailSettings& Settings() {
    static BillMailSettings settings;
    return settings;
}

Reply Refused(int status, const std::string& text) {
    Reply r = Reply::Text(text);
    r.status = status;
    return r;
}

// "yyyy-mm-dd hh:mm:ss"
bool IsIssueTime(const std::string& t) {
    if (t.size() != 19) return false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char want = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : '0';
        if (want == '0' ? !(t[i] >= '0' && t[i] <= '9') : t[i] != want) return false;
    }
    return true;
}

// Batches being mailed right now, "inx/crdate".
class MailingBatches {
  public:
    bool claim(const std::string& key) {
        std::lock_guard<std::mutex> lock(mutex_);
        return keys_.insert(key).second;
    }
    void release(const std::string& key) {
        std::lock_guard<std::mutex> lock(mutex_);
        keys_.erase(key);
    }

  private:
    std::mutex mutex_;
    std::set<std::string> keys_;
};

MailingBatches& Mailing() {
    static MailingBatches batches;
    return batches;
}

}  // namespace

void ConfigureBillMail(BillMailSettings settings) {
    Settings() = std::move(settings);
}

Reply BillMailerPage(ServiceDatabase& db, const Request& request) {
    const std::string crdate = request.param("crdate");
    const std::string dbinx = request.param("dbinx");
    if (!IsIssueTime(crdate)) return Refused(400, "잘못된 발행일시");
    if (dbinx.empty() || dbinx.size() > 9 || !IsAllDigits(dbinx))
        return Refused(400, "잘못된 기관");
    const auto inx = db.run([&](Database& d) { return ScriptInstitution(d, "tps_" + dbinx); });
    if (!inx) return Refused(400, "잘못된 기관");

    const std::string key = std::to_string(*inx) + "/" + crdate;
    if (!Mailing().claim(key)) return Refused(409, "발송중");
    struct Release {
        std::string key;
        ~Release() { Mailing().release(key); }
    } release{key};

    const auto bills = db.run([&](Database& d) { return PendingBillMails(d, *inx, crdate); });
    const BillMailSettings settings = Settings();
    const auto send = [&](const MailMessage& m) {
        if (settings.smtpUrl.empty()) {
            SmtpResult none;
            none.unreachable = true;
            none.error = "no mail server configured";
            return none;
        }
        return SendMail(settings.smtpUrl, m);
    };
    const BillMailOutcome outcome = MailBills(bills, settings.from, send, [&](long long crinx) {
        db.run([&](Database& d) { CountBillMailed(d, *inx, crinx); });
    });
    return Reply::Text(BillMailReply(outcome));
}

Reply BillPreviewPage(ServiceDatabase& db, const Request& request) {
    const std::string mycode = request.param("mycode");
    if (mycode.empty() || mycode.size() > 9 || !IsAllDigits(mycode))
        return Refused(400, "잘못된 기관");
    BillView v;
    v.title1 = request.param("msg1");
    v.title2 = request.param("msg2");
    v.title3 = request.param("msg3");
    v.title4 = request.param("msg4");
    v.month = request.param("msg5");
    if (!v.month.empty() && !IsBillingMonth(v.month)) return Refused(400, "잘못된 청구월");
    v.institution = db.run([&](Database& d) {
        return d.scalar("select company from quorisdex.admin_company where inx=?", {mycode});
    });
    // A sample member, so that the texts can be judged in place.
    v.payer_number = "0000000001";
    v.name = "홍길동";
    v.payday = "25";
    v.account = kNoAlternativeAccount;
    v.outstanding = 20000;
    v.month_amount = 10000;
    v.total = 30000;
    return Reply::Html(RenderBillHtml(v));
}

}  // namespace qx::web
