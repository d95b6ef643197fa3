// Agreement evidence: the figures of the EI13 screen, attaching a member's
// file, creating and sending the day's EI13.
#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "cms/ei13/agreement_evidence.h"
#include "cms/ei13/ei13_creation.h"
#include "cms/rollback/ei13_rollback.h"
#include "cms/rollback/maintenance_password.h"
#include "db/business_days.h"

namespace qx::cli {

namespace {

CivilDate DateOf(const std::string& text) {
    const auto d = ParseDate(text);
    if (!d) throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + text);
    return *d;
}

}  // namespace

void RegisterEi13Commands(CLI::App& app, CliContext& ctx) {
    auto* ei13 = app.add_subcommand("ei13", "EI13 agreement evidence");
    ei13->require_subcommand(1);

    auto* status = ei13->add_subcommand("status", "members with a file set and files on this PC");
    status->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            std::cout << LoadEi13Figures(ctx.db, ctx.session).text() << std::endl;
            return int(kExitDone);
        });
    });

    static std::string payer, file, kind = "1";
    auto* attach = ei13->add_subcommand("attach", "attach a member's agreement file");
    attach->add_option("PAYER", payer, "payer number")->required();
    attach->add_option("FILE", file, "the agreement file")->required();
    attach->add_option("--kind", kind, "agreement kind 1-6 (1 written form)");
    attach->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (payer.empty() || payer.size() > 10 ||
                payer.find_first_not_of("0123456789") != std::string::npos)
                throw std::invalid_argument("납부자번호는 숫자입니다: " + payer);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            return int(
                AttachAgreementFile(ctx.db, ctx.session, ctx.ui, std::stoll(payer), file, kind)
                    ? kExitDone
                    : kExitStopped);
        });
    });

    static std::string day;
    auto* create = ei13->add_subcommand("create", "create the day's EI13");
    create->add_option("--date", day, "YYYY-MM-DD")->required();
    create->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const CivilDate d = DateOf(day);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!ctx.ui.confirm(Ei13CreateQuestion(d), "확인")) return int(kExitStopped);
            const Ei13Result r =
                CreateEi13File(ctx.db, ctx.session, ctx.ui, d, CommandLineLaunchers(ctx));
            if (!r.created) return int(kExitStopped);
            std::cout << "count=" << r.count << std::endl;
            if (!r.path.empty()) std::cout << "path=" << r.path << std::endl;
            return int(kExitDone);
        });
    });

    auto* send = ei13->add_subcommand("send", "hand the day's EI13 over for sending");
    send->add_option("--date", day, "YYYY-MM-DD")->required();
    send->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const CivilDate d = DateOf(day);
            const int code = ctx.login();
            if (code != kExitDone) return code;
            return int(SendEi13File(ctx.db, ctx.session, ctx.ui, d) ? kExitDone : kExitStopped);
        });
    });

    // Under the rollback command of the other file kinds.
    static std::string file13, password;
    auto* rollback = app.get_subcommand("rollback")
                         ->add_subcommand("ei13", "take back the latest EI13 of the last 15 days");
    rollback->add_option("FILE", file13, "EI13 + YYMMDD")->required();
    rollback->add_option("--maintenance-password", password, "the maintenance password")
        ->required();
    rollback->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (!IsMaintenancePassword(password)) {
                ctx.ui.inform(kWrongMaintenancePasswordText, kPasswordDialogTitle);
                return int(kExitStopped);
            }
            const int code = ctx.login();
            if (code != kExitDone) return code;
            return int(RollbackEi13File(ctx.db, ctx.session, ctx.ui, file13) ? kExitDone
                                                                             : kExitStopped);
        });
    });
}

}  // namespace qx::cli
