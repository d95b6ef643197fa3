#include <CLI/CLI.hpp>
#include <iostream>

#include "app/cli/cli_context.h"
#include "members/program_settings.h"

namespace qx::cli {

namespace {

const char* YesNo(bool on) {
    return on ? "Y" : "N";
}

void PrintSettings(const ProgramSettings& s, const SessionContext& session) {
    std::cout << "cms_set=" << s.cms_set << "\n";
    for (const auto& sel : CmsSetSelectors()) {
        const int digit = CmsSetDigit(s.cms_set, sel.position);
        const std::string entry = static_cast<std::size_t>(digit) < sel.entries.size()
                                      ? sel.entries[static_cast<std::size_t>(digit)]
                                      : "(알 수 없음)";
        std::cout << "cms_set[" << sel.position << "] " << sel.caption << " = " << digit << " "
                  << entry << "\n";
    }
    std::cout << "monthdivide 정기분 선택 = " << (s.month_current ? "Y 금월" : "N 전월") << "\n"
              << "vir_prgcre 가상계좌 등록방식 = " << s.vir_prgcre << " "
              << (s.vir_prgcre == 1 ? "관리자 지정 등록" : "신규등록시 자동등록") << "\n"
              << "installment_chk_use 할부완납시 회원상태 자동 해지 처리 = "
              << YesNo(s.installment_chk_use) << "\n"
              << "ignorenonpay_use 출금신청시 정기분 원장매출 무시하고 일괄매출 발생 = "
              << YesNo(s.ignorenonpay_use) << "\n"
              << "checkexcept_use 출금신청시 생성일자 이후 매출 자동제외 = "
              << YesNo(s.checkexcept_use) << "\n";
    for (int i = 0; i < 3; ++i) {
        const AutoSchedule& a = s.schedules[static_cast<std::size_t>(i)];
        std::cout << "자동출금 " << kAutoServiceNames[static_cast<std::size_t>(i)] << " = "
                  << AutoDayText(a.days) << " " << kAutoTargetNames[a.target == 1 ? 1 : 0] << " "
                  << YesNo(a.used) << "\n";
    }
    std::cout << "month_max 신규등록시 월청구 제한 기본값 = " << s.month_max << "\n"
              << "sendname 회사명 = " << s.sendname << "\n"
              << "account_title = " << s.account_title << "\n"
              << "settle_div = " << s.settle_div << "\n"
              << "kftc_auto_use = " << s.kftc_auto_use << "\n"
              << "kftc_autofileflags = " << s.kftc_autofileflags << "\n";
    for (int i = 0; i < 6; ++i) {
        std::cout << "PRGSTAT/" << DesktopSwitchKey(i) << " " << DesktopSwitchCaption(i) << " = "
                  << (session.prgstat[static_cast<std::size_t>(i)] ? "YES" : "NO") << "\n";
    }
    std::cout << "PRGSTAT/FIXINGCOL 회원정보 틀고정수 = " << session.fixing_columns << "\n"
              << "FILEFOLDER/FILEBACK CMS파일 백업폴더 = " << session.fileback_folder << "\n"
              << "FILEFOLDER/EXCEL 엑셀저장 폴더 = " << session.excel_folder << "\n"
              << "FILEFOLDER/TOLVEX 송신프로그램 폴더 = " << session.tolvex_folder << std::endl;
}

}  // namespace

void RegisterSettingsCommand(CLI::App& app, CliContext& ctx) {
    auto* cmd = app.add_subcommand("settings", "show or change the program settings");
    cmd->require_subcommand(1);

    auto* show = cmd->add_subcommand("show", "print every setting of the settings screen");
    show->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!CheckSettingsAccess(ctx.session, ctx.ui)) return int(kExitStopped);
            // As the settings screen does on opening: position 7 reads "미사용"
            // while billing takes the previous month.
            ForceAutoSalesOffForPreviousMonth(ctx.db, ctx.session);
            PrintSettings(LoadProgramSettings(ctx.db, ctx.session), ctx.session);
            return int(kExitDone);
        });
    });

    static int position = 0, index = 0;
    auto* set = cmd->add_subcommand(
        "cms-set", "choose entry INDEX (0 = first) of the selector of cms_set POSITION");
    set->add_option("POSITION", position, "1 to 11, or 15")->required();
    set->add_option("INDEX", index, "index of the chosen entry")->required();
    set->callback([&ctx]() {
        ctx.exitCode = ctx.guarded([&ctx]() {
            const int code = ctx.login();
            if (code != kExitDone) return code;
            if (!CheckSettingsAccess(ctx.session, ctx.ui)) return int(kExitStopped);
            const CmsSetChange change =
                ChangeCmsSetSelector(ctx.db, ctx.session, ctx.ui, position, index);
            std::cout << "cms_set=" << change.cms_set << std::endl;
            return int(change.applied ? kExitDone : kExitStopped);
        });
    });
}

}  // namespace qx::cli
