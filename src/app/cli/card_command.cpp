// card members / pay / cancel / send, and rollback cmem|cpay: the card
// member and card payment requests without windows.
#include <CLI/CLI.hpp>
#include <chrono>
#include <iostream>
#include <thread>

#include "app/cli/cli_context.h"
#include "app/cli/eb21_choices.h"
#include "channels/card/card_members.h"
#include "channels/card/card_payments.h"
#include "channels/card/card_request_lists.h"
#include "cms/rollback/card_rollback.h"
#include "cms/transmission/open_transmission.h"
#include "cms/transmission/relay_send.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/head_office_gate.h"
#include "platform/amount_text.h"

namespace qx::cli {

namespace {

inline constexpr const char* kNoCardIdText =
    "신용카드 미사용 업체인 경우 송수신프로그램을 실행 할 수 없습니다.";

struct CardCli {
    std::string date, from, to, filter;
    std::vector<std::string> files;
    std::vector<long long> keys;
    Eb21CliOptions choices;
    int waitSeconds = 60;
};

CardCli& Options() {
    static CardCli o;
    return o;
}

CardDetailFilter Filter(const std::string& f) {
    if (f.empty() || f == "all") return CardDetailFilter::All;
    if (f == "ok") return CardDetailFilter::Successes;
    if (f == "failed") return CardDetailFilter::Failures;
    throw std::invalid_argument("--filter 는 all, ok, failed 중 하나입니다: " + f);
}

void PrintRows(const std::vector<std::string>& columns,
               const std::vector<std::vector<std::string>>& rows) {
    PrintTabRow(columns);
    for (const auto& r : rows) PrintTabRow(r);
    std::cout << "count=" << rows.size() << std::endl;
}

// Runs `body` after the login.
void OnCall(CLI::App* cmd, CliContext& ctx, const std::function<int()>& body) {
    cmd->callback([&ctx, body]() {
        ctx.exitCode = ctx.guarded([&ctx, &body]() {
            const int code = ctx.login();
            return code != kExitDone ? code : body();
        });
    });
}

// The card relay: a card account and the head office; then each request
// registered and watched until the relay has it.
int SendCardRequests(CliContext& ctx, const std::vector<std::string>& names, int waitSeconds) {
    if (ctx.session.credit_id.empty()) {
        ctx.ui.inform(kNoCardIdText, kDefaultTitle);
        return kExitStopped;
    }
    if (!ctx.session.isHeadOffice()) {
        ctx.ui.inform(kBranchTransmissionRefusedText, kDefaultTitle);
        return kExitStopped;
    }
    const auto keys = RelaySendFiles(ctx.db, ctx.session, ctx.ui, names, RelayChannel::Cards);
    if (keys.size() != names.size()) return kExitStopped;
    bool allDone = true;
    for (const long long key : keys) {
        RelayRunState state = RelayRunState::Waiting;
        for (int s = 0; s <= waitSeconds && state == RelayRunState::Waiting; ++s) {
            if (s > 0) std::this_thread::sleep_for(std::chrono::seconds(1));
            state = PollRelayRun(ctx.db, ctx.ui, key, RelayChannel::Cards);
        }
        if (state == RelayRunState::Waiting) std::cout << "run=" << key << " 송신중" << std::endl;
        allDone = allDone && state == RelayRunState::Done;
    }
    return allDone ? kExitDone : kExitStopped;
}

void RegisterMembers(CLI::App* card, CliContext& ctx) {
    CardCli& o = Options();
    auto* members = card->add_subcommand("members", "card member requests (CMEM)");
    members->require_subcommand(1);

    OnCall(members->add_subcommand("targets", "members to register or cancel"), ctx, [&ctx]() {
        std::vector<std::vector<std::string>> rows;
        for (const auto& t : ListCardMemberTargets(ctx.db, ctx.session))
            rows.push_back(CardMemberCells(t));
        PrintRows(CardMemberColumns(), rows);
        return int(kExitDone);
    });

    auto* create = members->add_subcommand("create", "write the day's card member request");
    create->add_option("--date", o.date, "request date YYYY-MM-DD (default: today)");
    OnCall(create, ctx, [&ctx, &o]() {
        const CivilDate date = DateOption(o.date, ServerToday(ctx));
        const auto r = CreateCardMemberRequest(
            ctx.db, ctx.session, ctx.ui, date, ListCardMemberTargets(ctx.db, ctx.session),
            [&ctx, date]() {
                SendCardRequests(ctx, {"CMEM" + Yymmdd(date)}, Options().waitSeconds);
            });
        if (!r.created) return int(kExitStopped);
        std::cout << "file=CMEM" << Yymmdd(date) << "\ncount=" << r.count << "\nnew=" << r.news
                  << "\ncancel=" << r.cancellations << std::endl;
        return int(kExitDone);
    });

    auto* files = members->add_subcommand("files", "card member requests and their results");
    files->add_option("--from", o.from, "first creation day (default: a month ago)");
    files->add_option("--to", o.to, "last creation day (default: today)");
    OnCall(files, ctx, [&ctx, &o]() {
        const CivilDate today = ServerToday(ctx);
        PrintRows(
            CardMemberRequestColumns(),
            ListCardMemberRequests(ctx.db, ctx.session, DateOption(o.from, AddDays(today, -31)),
                                   DateOption(o.to, today)));
        return int(kExitDone);
    });

    auto* detail = members->add_subcommand("detail", "the members of one request");
    detail->add_option("FILE", o.files, "CMEM + YYMMDD")->required()->expected(1);
    detail->add_option("--filter", o.filter, "all|ok|failed");
    OnCall(detail, ctx, [&ctx, &o]() {
        PrintFileDetail(
            CardMemberRequestDetail(ctx.db, ctx.session, o.files.at(0), Filter(o.filter)));
        return int(kExitDone);
    });
}

void RegisterPayments(CLI::App* card, CliContext& ctx) {
    CardCli& o = Options();
    auto* pay = card->add_subcommand("pay", "card payment requests (CPAY)");
    pay->require_subcommand(1);

    auto* targets = pay->add_subcommand("targets", "what card members owe on the request date");
    AddEb21ChoiceOptions(targets, o.choices);
    OnCall(targets, ctx, [&ctx, &o]() {
        if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
        const CivilDate date = Eb21CliFileDate(ctx, o.choices.date);
        const auto rows = Eb21CliRows(ctx, date, o.choices, BillingChannel::Card);
        if (!rows) return int(kExitStopped);
        std::vector<std::vector<std::string>> cells;
        for (const auto& r : *rows) cells.push_back(CardPaymentCells(r));
        PrintRows(CardPaymentColumns(), cells);
        const Eb21Selection sel = SelectedOf(*rows);
        const Eb21MonthFigures f =
            LoadMonthFigures(ctx.db, ctx.session, date, BillingChannel::Card);
        std::cout << SelectionText(sel) << "\n월출금한도 : " << FormatAmount(f.limit)
                  << " / 금월사용액 : " << FormatAmount(f.used)
                  << " / 잔여한도 : " << FormatAmount(f.remaining()) << std::endl;
        return int(kExitDone);
    });

    auto* create = pay->add_subcommand("create", "write the day's card payment request");
    AddEb21ChoiceOptions(create, o.choices);
    create->add_option("--deselect", o.choices.deselect, "payer numbers left out");
    OnCall(create, ctx, [&ctx, &o]() {
        if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
        const CivilDate date = Eb21CliFileDate(ctx, o.choices.date);
        const auto rows = Eb21CliRows(ctx, date, o.choices, BillingChannel::Card);
        if (!rows) return int(kExitStopped);
        const auto r = CreateCardPaymentRequest(ctx.db, ctx.session, ctx.ui,
                                                {date, *rows, [&ctx, date]() {
                                                     SendCardRequests(ctx, {"CPAY" + Yymmdd(date)},
                                                                      Options().waitSeconds);
                                                 }});
        if (!r.created) return int(kExitStopped);
        std::cout << "file=CPAY" << Yymmdd(date) << "\npayments=" << r.payments
                  << "\npayment_money=" << r.paymentMoney << "\ncancellations=" << r.cancellations
                  << "\ncancel_money=" << r.cancelMoney << std::endl;
        return int(kExitDone);
    });

    auto* files = pay->add_subcommand("files", "card payment requests and their results");
    files->add_option("--from", o.from, "first creation day (default: a month ago)");
    files->add_option("--to", o.to, "last creation day (default: today)");
    OnCall(files, ctx, [&ctx, &o]() {
        const CivilDate today = ServerToday(ctx);
        PrintRows(
            CardPaymentRequestColumns(),
            ListCardPaymentRequests(ctx.db, ctx.session, DateOption(o.from, AddDays(today, -31)),
                                    DateOption(o.to, today)));
        return int(kExitDone);
    });

    auto* detail = pay->add_subcommand("detail", "the payments and cancellations of one request");
    detail->add_option("FILE", o.files, "CPAY + YYMMDD")->required()->expected(1);
    detail->add_option("--filter", o.filter, "all|ok|failed");
    OnCall(detail, ctx, [&ctx, &o]() {
        PrintFileDetail(
            CardPaymentRequestDetail(ctx.db, ctx.session, o.files.at(0), Filter(o.filter)));
        return int(kExitDone);
    });
}

void RegisterCancellations(CLI::App* card, CliContext& ctx) {
    CardCli& o = Options();
    auto* cancel = card->add_subcommand("cancel", "cancellations of approved card payments");
    cancel->require_subcommand(1);
    auto* list =
        cancel->add_subcommand("list", "approved payments of a request day, and those scheduled");
    list->add_option("--date", o.date, "request day YYYY-MM-DD")->required();
    OnCall(list, ctx, [&ctx, &o]() {
        const auto date = ParseDate(o.date);
        if (!date || o.date.size() != 10)
            throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + o.date);
        std::vector<std::string> header = {"cdp_inx"};
        for (const auto& c : ApprovedPaymentColumns()) header.push_back(c);
        auto print = [&](const std::vector<ApprovedPayment>& list) {
            std::vector<std::vector<std::string>> rows;
            for (const auto& p : list) {
                std::vector<std::string> cells = {std::to_string(p.cdp_inx)};
                for (auto& c : ApprovedPaymentCells(p)) cells.push_back(std::move(c));
                rows.push_back(std::move(cells));
            }
            PrintRows(header, rows);
        };
        print(ListCancellationCandidates(ctx.db, ctx.session, *date));
        std::cout << "취소 예정 내역" << std::endl;
        print(ListScheduledCancellations(ctx.db, ctx.session));
        return int(kExitDone);
    });
    auto* add = cancel->add_subcommand("add", "schedule payments for cancellation");
    add->add_option("CDP_INX", o.keys, "payment keys")->required();
    OnCall(add, ctx, [&ctx, &o]() {
        return int(ScheduleCancellations(ctx.db, ctx.session, ctx.ui, o.keys) ==
                           static_cast<long long>(o.keys.size())
                       ? kExitDone
                       : kExitStopped);
    });
    auto* remove = cancel->add_subcommand("remove", "take payments off the schedule");
    remove->add_option("CDP_INX", o.keys, "payment keys")->required();
    OnCall(remove, ctx, [&ctx, &o]() {
        return int(UnscheduleCancellations(ctx.db, ctx.session, ctx.ui, o.keys) ==
                           static_cast<long long>(o.keys.size())
                       ? kExitDone
                       : kExitStopped);
    });
}

}  // namespace

void RegisterCardCommands(CLI::App& app, CliContext& ctx) {
    CardCli& o = Options();
    auto* card = app.add_subcommand("card", "card members and card payments");
    card->require_subcommand(1);
    RegisterMembers(card, ctx);
    RegisterPayments(card, ctx);
    RegisterCancellations(card, ctx);

    auto* send = card->add_subcommand("send", "hand card requests to the card relay");
    send->add_option("FILE", o.files, "CMEM/CPAY + YYMMDD")->required();
    send->add_option("--wait", o.waitSeconds, "seconds to watch the runs (default 60)");
    OnCall(send, ctx, [&ctx, &o]() { return SendCardRequests(ctx, o.files, o.waitSeconds); });

    // rollback cmem|cpay, under the rollback command.
    CLI::App* rollback = app.get_subcommand("rollback");
    static std::string password;
    const std::pair<const char*, CardRollbackKind> kinds[] = {{"cmem", CardRollbackKind::Members},
                                                              {"cpay", CardRollbackKind::Payments}};
    for (const auto& [name, kind] : kinds) {
        auto* cmd =
            rollback->add_subcommand(name, "take back a card request whose answer is not applied");
        cmd->add_option("FILE", o.files, "CMEM/CPAY + YYMMDD")->required()->expected(1);
        cmd->add_option("--maintenance-password", password, "the maintenance password")->required();
        cmd->callback([&ctx, &o, kind = kind]() {
            ctx.exitCode = RunRollback(ctx, password, [&ctx, &o, kind]() {
                return RollbackCardRequests(ctx.db, ctx.session, ctx.ui, kind, {o.files.at(0)});
            });
        });
    }
}

}  // namespace qx::cli
