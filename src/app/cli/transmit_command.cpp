#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/transmission/kftc_transfer.h"
#include "cms/transmission/open_transmission.h"
#include "cms/workspace/head_office_gate.h"
#include "db/business_days.h"

namespace qx::cli {

namespace {

struct TransmitOptions {
    std::vector<std::string> files;
    std::string from, to, kind = "all", date;
};

void PrintList(const KftcList& list) {
    PrintTabRow(list.headers);
    for (const auto& row : list.rows) PrintTabRow(row);
    std::cout << list.rows.size() << " 건" << std::endl;
}

// YYYY-MM-DD (or YYYYMMDD) to yyyymmdd; throws on anything else.
std::string CompactDate(const std::string& text, const char* option) {
    std::string digits;
    for (char c : text)
        if (c != '-' && c != '/') digits += c;
    if (digits.size() != 8 ||
        !ParseDate(digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2)))
        throw std::invalid_argument(std::string(option) +
                                    " 날짜를 YYYY-MM-DD 로 입력하십시오: " + text);
    return digits;
}

// The date a held file goes by at the clearing house: --date, or the newest
// entry of that name in the receivable (or sent) list of the last 60 days.
std::optional<std::string> HeldDate(KftcTransfer& t, Database& db, const std::string& file,
                                    bool sent, const std::string& given) {
    if (!given.empty()) return CompactDate(given, "--date");
    auto rs = db.OpenRecordset(
        "select date_format(now() - interval 60 day,'%Y%m%d') f, "
        "date_format(now() + interval 7 day,'%Y%m%d') t");
    const std::string from = rs[0]["f"], to = rs[0]["t"];
    const auto list =
        sent ? t.ReverseReceivable(from, to) : t.Receivable(from, to, ReceiveKind::All);
    if (!list) return std::nullopt;
    std::optional<std::string> date;
    for (const auto& row : list->rows)
        if (row.size() > 3 && row[1] == file) {
            std::string d = row[3];
            d.erase(std::remove(d.begin(), d.end(), '-'), d.end());
            date = d;
        }
    return date;
}

}  // namespace

int WithTransfer(CliContext& ctx, const std::function<bool(KftcTransfer&)>& body) {
    return ctx.guarded([&]() {
        const int code = ctx.login();
        if (code != kExitDone) return code;
        if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
        if (ctx.session.cmsrunprg != 1) {
            ctx.ui.inform("금결원 송수신을 사용하지 않는 기관입니다.", kDefaultTitle);
            return int(kExitStopped);
        }
        KftcLibrary lib;
        std::error_code ec;
        if (!std::filesystem::exists(KftcLibraryPath(ctx.session), ec) ||
            !lib.load(KftcLibraryPath(ctx.session))) {
            ctx.ui.inform(kKftcLibraryMissingText, kDefaultTitle);
            return int(kExitStopped);
        }
        KftcTransfer t(ctx.db, ctx.session, ctx.ui, lib);
        if (!t.Start()) return int(kExitStopped);
        const bool ok = body(t);
        t.Close();
        return ok ? int(kExitDone) : int(kExitStopped);
    });
}

void RegisterTransmitCommands(CLI::App& app, CliContext& ctx) {
    static TransmitOptions o;
    auto* cmd = app.add_subcommand("transmit", "send and receive files through the clearing house");
    cmd->require_subcommand(1);

    cmd->add_subcommand("list", "files waiting to be sent and files received")->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            std::cout << "[송신할 파일]" << std::endl;
            PrintList(t.LocalSendList());
            std::cout << "[수신된 파일]" << std::endl;
            PrintList(t.LocalReceivedList());
            return true;
        });
    });

    auto* send = cmd->add_subcommand("send", "send files (disk names, e.g. EB130303)");
    send->add_option("FILE", o.files)->required();
    send->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            bool all = true;
            for (const std::string& f : o.files) all = t.SendOne(f) && all;
            return all;
        });
    });

    auto period = [](CLI::App* sub) {
        sub->add_option("--from", o.from, "YYYY-MM-DD")->required();
        sub->add_option("--to", o.to, "YYYY-MM-DD")->required();
    };
    auto* results = cmd->add_subcommand("results", "send results of the clearing house");
    period(results);
    results->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            const auto l = t.SendResults(CompactDate(o.from, "--from"), CompactDate(o.to, "--to"));
            if (l) PrintList(*l);
            return l.has_value();
        });
    });
    auto* cancellable = cmd->add_subcommand("cancellable", "sends that can still be cancelled");
    period(cancellable);
    cancellable->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            const auto l = t.Cancellable(CompactDate(o.from, "--from"), CompactDate(o.to, "--to"));
            if (l) PrintList(*l);
            return l.has_value();
        });
    });
    auto* receivable = cmd->add_subcommand("receivable", "files the clearing house holds for us");
    period(receivable);
    receivable->add_option("--kind", o.kind, "all|new|received")
        ->check(CLI::IsMember({"all", "new", "received"}));
    receivable->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            const ReceiveKind k = o.kind == "new"        ? ReceiveKind::New
                                  : o.kind == "received" ? ReceiveKind::Received
                                                         : ReceiveKind::All;
            const auto l =
                t.Receivable(CompactDate(o.from, "--from"), CompactDate(o.to, "--to"), k);
            if (l) PrintList(*l);
            return l.has_value();
        });
    });

    auto* cancel = cmd->add_subcommand("cancel", "cancel a send");
    cancel->add_option("FILE", o.files)->required()->expected(1);
    cancel->add_option("--date", o.date, "file date YYYY-MM-DD (default: found in the list)");
    cancel->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [&ctx](KftcTransfer& t) {
            const auto date = HeldDate(t, ctx.db, o.files.at(0), true, o.date);
            if (!date) {
                ctx.ui.inform("[" + o.files.at(0) + "] 송신내역이 없습니다.", kDefaultTitle);
                return false;
            }
            return t.Cancel(o.files.at(0), *date);
        });
    });

    struct Fetch {
        const char* name;
        const char* help;
        bool (KftcTransfer::*call)(const std::string&, const std::string&);
        bool sent;
    };
    static const Fetch fetches[] = {
        {"receive", "receive a result file", &KftcTransfer::Receive, false},
        {"receive-expired", "receive an expired EB11 file", &KftcTransfer::ReceiveExpired, false},
        {"reverse", "receive back a file that was sent", &KftcTransfer::ReverseReceive, true},
        {"deposit-notice", "deposit notice of an EB22 file", &KftcTransfer::DepositNotice, false},
    };
    for (const Fetch& f : fetches) {
        auto* sub = cmd->add_subcommand(f.name, f.help);
        sub->add_option("FILE", o.files)->required()->expected(1);
        sub->add_option("--date", o.date, "file date YYYY-MM-DD (default: found in the list)");
        sub->callback([&ctx, &f]() {
            ctx.exitCode = WithTransfer(ctx, [&ctx, &f](KftcTransfer& t) {
                const std::string file = o.files.at(0);
                const auto date = HeldDate(t, ctx.db, file, f.sent, o.date);
                if (!date) {
                    ctx.ui.inform("[" + file + "] 파일이 금결원 목록에 없습니다.", kDefaultTitle);
                    return false;
                }
                const bool ok = (t.*f.call)(file, *date);
                if (ok && (f.call == &KftcTransfer::Receive))
                    std::cout << "received=" << file << std::endl;
                return ok;
            });
        });
    }

    cmd->add_subcommand("notices", "notices of the clearing house")->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [](KftcTransfer& t) {
            const auto l = t.Notices();
            if (l) PrintList(*l);
            return l.has_value();
        });
    });
    cmd->add_subcommand("month-limit", "the month's withdrawal limit")->callback([&ctx]() {
        ctx.exitCode = WithTransfer(ctx, [&ctx](KftcTransfer& t) {
            auto rs = ctx.db.OpenRecordset("select date_format(now(),'%Y%m') m");
            return t.MonthLimit(rs[0]["m"]);
        });
    });
}

}  // namespace qx::cli
