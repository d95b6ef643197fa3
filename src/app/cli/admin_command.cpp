#include <CLI/CLI.hpp>
#include <iostream>

#include "admin/provisioning.h"
#include "app/cli/cli_context.h"

namespace qx::cli {

void RegisterAdminCommands(CLI::App& app, CliContext& ctx) {
    auto* admin = app.add_subcommand("admin", "the service operator's provisioning");
    admin->require_subcommand(1);

    admin->add_subcommand("init-db", "create the shared schemas and reference data")
        ->callback([&ctx]() {
            ctx.exitCode = ctx.guarded([&ctx]() {
                if (!ctx.connect(false)) return int(kExitFailure);
                InitSharedDatabase(ctx.db);
                std::cout << "shared schemas ready" << std::endl;
                return int(kExitDone);
            });
        });

    static InstitutionRequest inst;
    auto* ci = admin->add_subcommand("create-institution", "add an institution and its schema");
    ci->add_option("--inx", inst.inx)->required();
    ci->add_option("--id", inst.id)->required();
    ci->add_option("--password", inst.password)->required();
    ci->add_option("--org-code", inst.org_code)->required();
    ci->add_option("--company", inst.company);
    ci->add_option("--cmsrunprg", inst.cmsrunprg);
    ci->add_option("--stat-company", inst.stat_company);
    ci->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (!ctx.connect()) return int(kExitFailure);
            CreateInstitution(ctx.db, inst);
            std::cout << "institution " << inst.inx << " created (tps_" << inst.inx << ")"
                      << std::endl;
            return int(kExitDone);
        });
    });

    static BranchRequest branch;
    auto* cb = admin->add_subcommand("create-branch", "add a branch account");
    cb->add_option("--inx", branch.inx)->required();
    cb->add_option("--brinx", branch.brinx)->required();
    cb->add_option("--id", branch.id)->required();
    cb->add_option("--password", branch.password)->required();
    cb->add_option("--company", branch.company);
    cb->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (!ctx.connect()) return int(kExitFailure);
            CreateBranch(ctx.db, branch);
            std::cout << "branch " << branch.brinx << " created" << std::endl;
            return int(kExitDone);
        });
    });

    static BranchRequest agency;
    auto* ca = admin->add_subcommand("create-agency", "add an agency account");
    ca->add_option("--inx", agency.inx)->required();
    ca->add_option("--brinx", agency.brinx)->required();
    ca->add_option("--aginx", agency.aginx)->required();
    ca->add_option("--id", agency.id)->required();
    ca->add_option("--password", agency.password)->required();
    ca->add_option("--company", agency.company);
    ca->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (!ctx.connect()) return int(kExitFailure);
            CreateAgency(ctx.db, agency);
            std::cout << "agency " << agency.aginx << " created" << std::endl;
            return int(kExitDone);
        });
    });

    static long long seedInx = 0;
    auto* sd = admin->add_subcommand("seed-demo", "fill an institution with demo content");
    sd->add_option("--inx", seedInx)->required();
    sd->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            if (!ctx.connect()) return int(kExitFailure);
            const long long n = SeedDemo(ctx.db, seedInx);
            std::cout << "demo content added: " << n << " members" << std::endl;
            return int(kExitDone);
        });
    });
}

}  // namespace qx::cli
