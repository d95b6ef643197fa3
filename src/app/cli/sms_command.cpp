// sms send | file | history | settings: the send screens and the history
// report without windows.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>

#include "app/cli/cli_context.h"
#include "members/member_record.h"
#include "messaging/messaging_db.h"
#include "messaging/sms_file_members.h"
#include "messaging/sms_history.h"
#include "messaging/sms_send.h"
#include "messaging/sms_settings.h"
#include "platform/text_checks.h"

namespace qx::cli {

namespace {

struct SmsOptions {
    std::string message, title, file, amount = kWithdrawnColumn, month;
    std::string result, kind, field, text;
    std::string phone, name;
    bool lms = false, cancelled = false, phoneGiven = false, nameGiven = false;
    int templateIndex = -1;
    std::vector<std::string> where;
};

// "yyyy-mm-dd" of the month's last day; the month itself when it is no month.
std::string LastDayOfMonth(const std::string& month) {
    int y = 0, m = 0;
    if (month.size() != 7 || std::sscanf(month.c_str(), "%4d-%2d", &y, &m) != 2 || m < 1 ||
        m > 12) {
        return month;
    }
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return month + "-" + std::to_string(m == 2 && leap ? 29 : kDays[m - 1]);
}

// Personalises and queues the rows: the steps of the send button.
int SendRows(CliContext& ctx, const SmsOptions& o, std::vector<SmsRecipient> rows,
             const SmsSettings& settings, const char* emptyMessageText) {
    std::string message = o.message;
    if (o.templateIndex >= 0) {
        if (o.templateIndex >= kTemplateCount) {
            ctx.ui.inform("서식 번호는 0 부터 5 까지입니다.", kDefaultTitle);
            return kExitStopped;
        }
        message = settings.templates[static_cast<std::size_t>(o.templateIndex)];
    }
    SmsKind kind = o.lms ? SmsKind::Lms : SmsKind::Sms;
    kind = AskKindSwitch(NormaliseTemplate(message), kind, ctx.ui);
    ApplyMessage(rows, message, kind, ctx.session, settings.sender, ctx.ui);
    MessagingDb messaging(MessagingDbConfig(*ctx.ini));
    if (!messaging.ConnectMessagingDb(ctx.ui)) {
        ctx.ui.inform(kSmsServerUnreachableText, kDefaultTitle);
        return kExitFailure;
    }
    SmsSendRequest request;
    request.kind = kind;
    request.message = message;
    request.title = o.title;
    request.emptyMessageText = emptyMessageText;
    SmsSendProgress progress;
    const auto out = SendMessages(messaging, ctx.session, settings.sender, *ctx.ini, request, rows,
                                  progress, ctx.ui);
    if (!progress.sendKey.empty()) std::cout << "send=" << progress.sendKey << "\n";
    std::cout << "kind=" << (kind == SmsKind::Lms ? "LMS" : "SMS") << "\ntotal=" << out.total
              << "\nsent=" << out.sent << "\nskipped=" << out.skipped << std::endl;
    return out.sent > 0 ? kExitDone : kExitStopped;
}

}  // namespace

void RegisterSmsCommands(CLI::App& app, CliContext& ctx) {
    auto o = std::make_shared<SmsOptions>();
    auto* sms = app.add_subcommand("sms", "SMS/LMS: send, file, history, settings");
    sms->require_subcommand(1);

    auto* send = sms->add_subcommand("send", "send to the members of the member list");
    send->add_option("--message", o->message, "text with placeholders [@C] [@U] [@PM] …");
    send->add_option("--title", o->title, "LMS title");
    send->add_flag("--lms", o->lms, "start as LMS");
    send->add_option("--template", o->templateIndex, "template MSG0..MSG5 instead of --message");
    send->add_option("--where", o->where, "COLUMN=VALUE filter of the member list (repeatable)");
    send->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            MemberFilter filter;
            for (const auto& w : o->where) {
                auto [column, value] = SplitAssignment(w);
                SetMemberFilter(filter, column, value);
            }
            if (int code = ctx.login(); code != kExitDone) return code;
            const SmsSettings settings = LoadSmsSettings(ctx.db, ctx.session, *ctx.ini);
            auto rows = RecipientsFromMemberList(ListMembers(ctx.db, ctx.session, filter));
            return SendRows(ctx, *o, std::move(rows), settings, kEmptyMessageText);
        });
    });

    auto* file = sms->add_subcommand("file", "send to the members of a result file");
    file->add_option("FILE", o->file, "EB13YYMMDD, EB21YYMMDD or CPAYYYMMDD")->required();
    file->add_option("--message", o->message, "text with placeholders");
    file->add_option("--title", o->title, "LMS title");
    file->add_flag("--lms", o->lms, "start as LMS");
    file->add_option("--template", o->templateIndex, "template MSG1..MSG5 instead of --message");
    file->add_flag("--cancelled", o->cancelled, "EB13: the cancelled members instead of new ones");
    file->add_option("--amount", o->amount, "EB21: 출금액, 불능금액 or 청구금액 for [@PM]");
    file->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            SmsFileQuery q;
            const std::string kind = o->file.substr(0, 4);
            q.regDate = o->file.size() > 4 ? o->file.substr(4) : "";
            if ((kind != "EB13" && kind != "EB21" && kind != "CPAY") || q.regDate.size() != 6 ||
                !IsAllDigits(q.regDate)) {
                ctx.ui.inform("[" + o->file + "] 결과 파일 이름이 아닙니다. (예: EB13261207)",
                              kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            q.kind = kind == "EB13"   ? SmsFileKind::Eb13
                     : kind == "EB21" ? SmsFileKind::Eb21
                                      : SmsFileKind::CardPayment;
            q.cancelled = o->cancelled;
            q.amountColumn = o->amount;
            if (int code = ctx.login(); code != kExitDone) return code;
            const SmsSettings settings = LoadSmsSettings(ctx.db, ctx.session, *ctx.ini);
            auto rows = LoadFileRecipients(ctx.db, ctx.session, q);
            ctx.ui.inform(FileRecipientsText(rows), kDefaultTitle);
            if (rows.empty()) return static_cast<int>(kExitStopped);
            return SendRows(ctx, *o, std::move(rows), settings, kEmptyFileMessageText);
        });
    });

    auto* history = sms->add_subcommand("history", "what was sent in a month and how it went");
    history->add_option("--month", o->month, "YYYY-MM")->required();
    history->add_option("--result", o->result, "전송완료, 결과대기, 기타에러 or a result code");
    history->add_option("--kind", o->kind, "SMS or LMS");
    history->add_option("--field", o->field, "SEND_PHONE, DEST_PHONE, DEST_NAME or MSG_BODY");
    history->add_option("--text", o->text, "text searched in --field");
    history->callback([&ctx, o]() {
        ctx.exitCode = ctx.guarded([&ctx, o]() {
            SmsHistoryQuery q;
            q.from = o->month + "-01";
            q.to = LastDayOfMonth(o->month);
            q.result = o->result;
            q.kind = o->kind;
            q.searchField = o->field;
            q.searchText = o->text;
            if (LogTableNames(q.from, q.to).empty()) {
                ctx.ui.inform("조회할 월을 YYYY-MM 으로 입력하세요.", kDefaultTitle);
                return static_cast<int>(kExitStopped);
            }
            if (int code = ctx.login(); code != kExitDone) return code;
            MessagingDb messaging(MessagingDbConfig(*ctx.ini));
            if (!messaging.ConnectMessagingDb(ctx.ui)) {
                ctx.ui.inform(kSmsServerUnreachableText, kDefaultTitle);
                return static_cast<int>(kExitFailure);
            }
            const auto rs = LoadSmsHistory(messaging, ctx.session, q, ctx.ui);
            if (!rs) return static_cast<int>(kExitStopped);
            PrintTabRow(rs->columns);
            for (const auto& row : rs->values) PrintTabRow(row);
            std::cout << rs->size() << " 건 " << std::endl;
            return static_cast<int>(kExitDone);
        });
    });

    auto* settings =
        sms->add_subcommand("settings", "sender and templates; --phone/--name change the sender");
    auto* phone = settings->add_option("--phone", o->phone, "sender number of the user's level");
    auto* name = settings->add_option("--name", o->name, "sender name of the user's level");
    settings->callback([&ctx, o, phone, name]() {
        ctx.exitCode = ctx.guarded([&ctx, o, phone, name]() {
            if (int code = ctx.login(); code != kExitDone) return code;
            SmsSettings s = LoadSmsSettings(ctx.db, ctx.session, *ctx.ini);
            if (phone->count() > 0 || name->count() > 0) {
                if (!SaveSenderSettings(ctx.db, ctx.session, s.sender,
                                        phone->count() ? o->phone : s.sender.SendPhone,
                                        name->count() ? o->name : s.sender.SendName, ctx.ui)) {
                    return static_cast<int>(kExitStopped);
                }
            }
            std::cout << "sendphone=" << s.sender.SendPhone << "\nsendname=" << s.sender.SendName
                      << "\n";
            for (int i = 0; i < kTemplateCount; ++i)
                std::cout << "MSG" << i << "=" << s.templates[static_cast<std::size_t>(i)] << "\n";
            std::cout.flush();
            return static_cast<int>(kExitDone);
        });
    });
}

}  // namespace qx::cli
