#include "app/cli/cli_context.h"

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "cms/rollback/maintenance_password.h"
#include "cms/workspace/head_office_gate.h"
#include "db/server_clock.h"
#include "platform/system_drive.h"
#include "platform/trim.h"
#include "session/login.h"
#include "session/post_login.h"
#include "session/service_web.h"
#include "session/startup.h"

namespace qx::cli {

void PrintedInteraction::inform(const std::string& text, const std::string& title) {
    std::cout << "[" << title << "] " << text << std::endl;
}

bool PrintedInteraction::confirm(const std::string& text, const std::string& title) {
    const bool answer = next_ < answers.size() ? answers[next_++] : defaultAnswer;
    std::cout << "[" << title << "] " << text << " -> " << (answer ? "y" : "n") << std::endl;
    return answer;
}

void PrintedInteraction::progress(const std::string& text, long long done, long long total) {
    if (total > 0 && done == total) std::cerr << text << " " << done << "/" << total << std::endl;
}

std::string PrintedInteraction::chooseFolder(const std::string&, const std::string& start) {
    return start;
}

void CliContext::prepare() {
    session.AppPath = ResolveAppPath(appPathOption);
    session.SystemDrive = GetSystemDrive();
    ini = std::make_unique<ProfileIni>(session.AppPath + "Login.ini");
    ui.defaultAnswer = yes && !no;
    std::stringstream in(answers);
    std::string item;
    while (std::getline(in, item, ',')) {
        ui.answers.push_back(item == "y" || item == "Y" || item == "yes" || item == "YES");
    }
    ReadDesktopSettings(session, *ini);
}

bool CliContext::connect(bool withSharedSchema) {
    DbConfig config = DbConfig::FromServerEntry(ini->read("SYSTEM", "DBCONNIP", "127.0.0.1"),
                                                ini->read("SYSTEM", "DBCONNUSER", ""),
                                                ini->read("SYSTEM", "DBCONNPW", ""));
    if (!withSharedSchema) config.defaultSchema.clear();
    if (!db.ConnectDatabase(config)) {
        ui.inform(kConnectFailedMessage, kDefaultTitle);
        std::cerr << db.lastConnectError() << std::endl;
        return false;
    }
    return true;
}

int CliContext::login() {
    if (!connect()) return kExitFailure;
    // Trimmed as the login window trims what is typed.
    const std::string loginId = Trim(id);
    const std::string loginPassword = Trim(password);
    if (const auto problem = CheckLoginInput(loginId, loginPassword);
        problem.field != LoginInputProblem::kNone) {
        ui.inform(problem.message, kDefaultTitle);
        return kExitStopped;
    }
    session.LoginId = loginId;
    session.LoginPassword = loginPassword;
    const int code =
        ValidateLogin(db, session, loginId, loginPassword, ServiceIpLookup(ReadWebHost(*ini)));
    if (code != kLoginAccepted) {
        ui.inform(LoginRefusalMessage(code), kDefaultTitle);
        return kExitStopped;
    }
    if (!InitSessionAfterLogin(db, session, *ini, ui, nullptr)) return kExitFailure;
    return kExitDone;
}

int CliContext::guarded(const std::function<int()>& body) {
    try {
        prepare();
        return body();
    } catch (const DatabaseError& e) {
        ui.inform(e.userMessage(), kDefaultTitle);
        return kExitFailure;
    } catch (const std::invalid_argument& e) {
        ui.inform(e.what(), kDefaultTitle);
        return kExitStopped;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << std::endl;
        return kExitFailure;
    }
}

std::pair<std::string, std::string> SplitAssignment(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) {
        throw std::invalid_argument("COLUMN=VALUE 형식으로 입력하십시오: " + text);
    }
    return {text.substr(0, eq), text.substr(eq + 1)};
}

namespace {
RedirectTabRows::Sink& TabRowSink() {
    static RedirectTabRows::Sink sink;
    return sink;
}
}  // namespace

RedirectTabRows::RedirectTabRows(Sink sink) : previous_(std::move(TabRowSink())) {
    TabRowSink() = std::move(sink);
}

RedirectTabRows::~RedirectTabRows() {
    TabRowSink() = std::move(previous_);
}

void PrintTabRow(const std::vector<std::string>& fields) {
    if (const auto& sink = TabRowSink()) {
        sink(fields);
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) std::cout << (i ? "\t" : "") << fields[i];
    std::cout << "\n";
}

std::vector<std::string> ColumnCaptions(const std::vector<StatusColumn>& columns) {
    std::vector<std::string> out;
    for (const auto& c : columns) out.push_back(c.caption);
    return out;
}

CivilDate DateOption(const std::string& text, const CivilDate& fallback) {
    if (text.empty()) return fallback;
    const auto parsed = ParseDate(text);
    if (!parsed) throw std::invalid_argument("날짜를 YYYY-MM-DD 로 입력하십시오: " + text);
    return *parsed;
}

CivilDate ServerToday(CliContext& ctx) {
    const auto today = ParseDate(ReadServerDate(ctx.db, ctx.session));
    if (!today) throw std::runtime_error("서버 일자를 읽지 못했습니다.");
    return *today;
}

void PrintFileDetail(const FileDetail& d) {
    if (!d.title.empty()) std::cout << d.title << std::endl;
    PrintTabRow(d.columns);
    for (const auto& row : d.rows) PrintTabRow(row);
    std::cout << d.rows.size() << " 건" << std::endl;
}

int RunRollback(CliContext& ctx, const std::string& password,
                const std::function<int()>& rollBack) {
    return ctx.guarded([&]() {
        if (!IsMaintenancePassword(password)) {
            ctx.ui.inform(kWrongMaintenancePasswordText, kPasswordDialogTitle);
            return int(kExitStopped);
        }
        const int code = ctx.login();
        if (code != kExitDone) return code;
        if (!HeadOfficeMayWorkOnFiles(ctx.session, ctx.ui)) return int(kExitStopped);
        return int(rollBack() == 1 ? kExitDone : kExitStopped);
    });
}

}  // namespace qx::cli
