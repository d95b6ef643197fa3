#include "messaging/sms_send.h"

#include <functional>

#include "core/session_context.h"
#include "db/sql_quote.h"
#include "members/member_record.h"
#include "messaging/messaging_db.h"
#include "messaging/sms_settings.h"
#include "platform/profile_ini.h"
#include "platform/text_checks.h"
#include "platform/trim.h"

namespace qx {

namespace {

std::string LineFeedsOnly(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

struct Tuple {
    long long ordinal = 0;  // among the marked rows
    long long sequence = 0;
    std::string values;
};

// Takes a send key nobody holds: the stamp of now, or of the next free
// second when another desk of the institution started a send in this one
// (the key and every CMID under it must be unique).
void ClaimSendKey(MessagingDb& messaging, const SessionContext& s, SmsSendProgress& progress) {
    for (int ahead = 0; ahead < 600; ++ahead) {
        const std::string stamp = messaging.db().scalar(
            "select date_format(now() + interval ? second,'%y%m%d%H%i%s')", {ahead});
        const std::string key = stamp + s.inx;
        if (messaging.ExecuteMessagingSql(
                "insert ignore into bizclient.BIZ_SEND (SEND_KEY, CINFO, DONE_SEQ, "
                "CREATED) values (?,?,0,now())",
                {key, s.inx}) == 1) {
            progress.stamp = stamp;
            progress.sendKey = key;
            return;
        }
    }
    throw std::runtime_error("발송 번호를 정하지 못했습니다. 잠시후 다시 시도 하십시오.");
}

}  // namespace

std::vector<SmsRecipient> RecipientsFromMemberList(const std::vector<MemberListRow>& members) {
    std::vector<SmsRecipient> rows;
    rows.reserve(members.size());
    for (const auto& m : members) {
        SmsRecipient r;
        r.payer = m.payer_number;
        r.mobile = m.get("private_tel");
        r.values = {m.get("username"), m.get("pay_monthdefault"), m.get("pay_nonpayment"),
                    m.get("inday")};
        rows.push_back(std::move(r));
    }
    return rows;
}

long long ApplyMessage(std::vector<SmsRecipient>& rows, const std::string& message, SmsKind kind,
                       const SessionContext& s, const SmsSender& sender, Interaction& ui) {
    const std::string text = NormaliseTemplate(message);
    const std::string company = SenderDisplayName(s, sender);
    long long cut = 0;
    for (auto& row : rows) {
        const CutMessage m =
            CutToLimit(PersonaliseMessage(text, company, row.values), SmsKindLimit(kind));
        row.message = m.text;
        row.bytes = m.bytes;
        cut += m.cut;
    }
    if (cut > 0) ui.inform(CutRowsNotice(cut, kind), kCutRowsTitle);
    return cut;
}

SmsSendOutcome SendMessages(MessagingDb& messaging, const SessionContext& s, const SmsSender& from,
                            const ProfileIni& ini, SmsSendRequest request,
                            const std::vector<SmsRecipient>& rows, SmsSendProgress& progress,
                            Interaction& ui) {
    SmsSendOutcome out;
    for (const auto& r : rows) out.total += r.marked;
    if (out.total == 0) {
        ui.inform(kNoTargetsText, kDefaultTitle);
        return out;
    }
    if (Trim(request.message).empty()) {
        ui.inform(request.emptyMessageText, kDefaultTitle);
        return out;
    }
    const std::string sender = WithoutDashes(Trim(from.SendPhone));
    if (!IsAllDigits(sender)) {
        ui.inform(kBadSenderNumberText, kDefaultTitle);
        return out;
    }
    const bool lms = request.kind == SmsKind::Lms;
    if (lms) {
        request.title = Trim(request.title);
        if (!CheckLmsTitle(request.title, from.SendName, ui)) return out;
        ini.write("SMS", kLmsSubjectKey, request.title);
    }
    out.started = true;

    // The tuples are numbered before anything is written, so that a repeat
    // of the same send numbers them the same way.
    std::vector<Tuple> tuples;
    std::string all;
    long long ordinal = 0;
    for (const auto& r : rows) {
        if (!r.marked) continue;
        ++ordinal;
        const std::string phone = WithoutDashes(Trim(r.mobile));
        if (!IsMobileNumber(phone) || r.message.empty()) {
            ++out.skipped;
            continue;
        }
        Tuple t;
        t.ordinal = ordinal;
        t.sequence = static_cast<long long>(tuples.size()) + 1;
        t.values = SqlQuote(phone) + "," + SqlQuote(r.values.name) + "," + SqlQuote(sender) + "," +
                   SqlQuote(from.SendName) + "," + (lms ? SqlQuote(request.title) + "," : "") +
                   SqlQuote(LineFeedsOnly(r.message)) + "," + SqlQuote(s.inx);
        all += t.values + "\n";
        tuples.push_back(std::move(t));
    }
    if (tuples.empty()) {
        ui.inform(kNothingSentText, kDefaultTitle);
        return out;
    }
    all += SmsKindCode(request.kind);

    Database& db = messaging.db();
    const std::size_t fingerprint = std::hash<std::string>{}(all);
    long long done = 0;
    if (!progress.sendKey.empty() && progress.fingerprint == fingerprint) {
        done = db.scalarInt("select DONE_SEQ from bizclient.BIZ_SEND where SEND_KEY=?",
                            {progress.sendKey});
    } else {
        ClaimSendKey(messaging, s, progress);
        progress.fingerprint = fingerprint;
    }

    const std::string head =
        std::string(
            " INSERT INTO bizclient.BIZ_MSG (MSG_TYPE, CMID, REQUEST_TIME, SEND_TIME, "
            "DEST_PHONE, DEST_NAME, SEND_PHONE, SEND_NAME, ") +
        (lms ? "SUBJECT, " : "") + "MSG_BODY, CINFO) VALUES ";
    const std::string kindCode = SqlQuote(SmsKindCode(request.kind));
    std::string statement;
    long long inStatement = 0, lastInStatement = 0;
    // Runs the statement together with the send's progress mark: both or neither.
    auto flush = [&] {
        if (inStatement == 0) return;
        Database::Transaction tx(db);
        db.ExecuteSql(head + statement);
        if (db.ExecuteSql("update bizclient.BIZ_SEND set DONE_SEQ=? where SEND_KEY=? and "
                          "DONE_SEQ=?",
                          {lastInStatement, progress.sendKey, done}) != 1) {
            // Another attempt of this send queued these rows meanwhile.
            throw std::runtime_error("같은 발송이 다른 곳에서 진행 중입니다.");
        }
        tx.commit();
        out.batches.push_back(inStatement);
        done = lastInStatement;
        statement.clear();
        inStatement = 0;
    };
    const long long alreadyQueued = done;
    std::size_t next = 0;
    ordinal = 0;
    for (const auto& r : rows) {
        if (!r.marked) continue;
        ++ordinal;
        if (next < tuples.size() && tuples[next].ordinal == ordinal) {
            const Tuple& t = tuples[next++];
            if (t.sequence > alreadyQueued) {
                if (inStatement > 0) statement += ",";
                statement += "(" + kindCode + "," +
                             SqlQuote(MakeCmid(progress.stamp, s.institution_number, t.sequence)) +
                             ",NOW(),NOW()," + t.values + ")";
                ++inStatement;
                lastInStatement = t.sequence;
                if (inStatement == kTuplesPerStatement) flush();
            }
        }
        ui.progress("(" + std::to_string(ordinal) + " / " + std::to_string(out.total) + ") 건 처리",
                    ordinal, out.total);
    }
    flush();
    out.sent = done;
    ui.inform(
        std::to_string(out.total) + "건 중 " + std::to_string(out.sent) + " 건을 전송 하였습니다.",
        kDefaultTitle);
    return out;
}

}  // namespace qx
