#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"

namespace qx::cli {

namespace {

void PrintSession(const SessionContext& s) {
    auto p = [](const char* name, const auto& value) { std::cout << name << "=" << value << "\n"; };
    p("AppPath", s.AppPath);
    p("ProgramVersion", s.ProgramVersion);
    p("SystemDrive", s.SystemDrive);
    p("LoginId", s.LoginId);
    p("head_office_id", s.head_office_id);
    p("inx", s.inx);
    p("brinx", s.brinx);
    p("aginx", s.aginx);
    p("company", s.company);
    p("org_code", s.org_code);
    p("company_number", s.company_number);
    p("stat_company", s.stat_company);
    p("cmsrunprg", s.cmsrunprg);
    p("TOLVEX_abled", s.TOLVEX_abled);
    p("alter_db_structure", s.alter_db_structure);
    p("cash_receipt_use", s.cash_receipt_use);
    p("cmsinx_style", s.cmsinx_style);
    p("fast_sel_use", s.fast_sel_use);
    p("installment_chk_use", s.installment_chk_use);
    p("giro_account", s.giro_account);
    p("phn_account", s.phn_account);
    p("credit_id", s.credit_id);
    p("credit_bank_code", s.credit_bank_code);
    p("credit_account", s.credit_account);
    p("credit_month_out_limit", s.credit_month_out_limit);
    p("add_in_code", "[" + s.add_in_code + "]");
    p("month_max", s.month_max);
    p("acntphn_use", s.account_phone_switch ? "Y" : "N");
    p("bank_receipt", s.bank_receipt_switch ? "Y" : "N");
    p("vir_prgcre", s.virtual_account_switch ? "Y" : "N");
    p("monthdivide", s.month_divide_switch ? "Y" : "N");
    p("prgset9", s.prgset9);
    p("agreement_evidence", s.agreement_evidence_switch ? "Y" : "N");
    p("payer_number_length", s.payer_number_length);
    p("client_ip", s.client_ip);
    p("relay_prefix", s.relay_prefix);
    std::string switches;
    for (int v : s.prgstat) switches += std::to_string(v);
    p("prgstat", switches);
    p("FILEBACK", s.fileback_folder);
    p("EXCEL", s.excel_folder);
    p("FIXINGCOL", s.fixing_columns);
    p("server_date", s.server_date);
    p("server_datetime", s.server_datetime);
    p("month_current", s.month_current);
    p("month_previous", s.month_previous);
    p("month_before_previous", s.month_before_previous);
    p("cash_receipt_code", s.cash_receipt_code);
    p("receipt_code", s.receipt_code);
    p("caption", s.caption());
}

}  // namespace

void RegisterLoginCommand(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("login", "log in, run the start-up and print the session");
    cmd->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            int code = ctx.login();
            if (code == kExitDone) PrintSession(ctx.session);
            return code;
        });
    });
}

}  // namespace qx::cli
