// What every CLI command shares: the global options, the printed
// interaction, the database and the logged-in session.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cms/transmission/open_transmission.h"
#include "cms/workspace/cms_status.h"
#include "cms/workspace/result_screen.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"

namespace CLI {
class App;
}

namespace qx {
class KftcTransfer;
}

namespace qx::cli {

enum ExitCode : int { kExitDone = 0, kExitStopped = 1, kExitFailure = 2 };

// Prints "[title] text"; answers questions from --yes/--no/--answers.
class PrintedInteraction : public Interaction {
  public:
    void inform(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    void progress(const std::string& text, long long done, long long total) override;
    std::string chooseFolder(const std::string& caption, const std::string& start) override;

    std::vector<bool> answers;  // taken in order; then the default
    bool defaultAnswer = false;

  private:
    std::size_t next_ = 0;
};

struct CliContext {
    std::string appPathOption;
    std::string id, password;
    bool yes = false, no = false;
    std::string answers;
    int exitCode = kExitDone;

    PrintedInteraction ui;
    Database db;
    SessionContext session;
    std::unique_ptr<ProfileIni> ini;

    // Applies the options: program folder, Login.ini, answers.
    void prepare();
    // Connects with the Login.ini settings; false after printing the message.
    bool connect(bool withSharedSchema = true);
    // Connects and logs in with --id/--password, running the post-login
    // start-up. Returns kExitDone or the code to exit with.
    int login();
    // Runs `body` and turns exceptions into messages and exit codes.
    int guarded(const std::function<int()>& body);

    // Registers every command on an application; an export runs a list
    // command through it.
    std::function<void(CLI::App&, CliContext&)> registerCommands;
};

// While one lives, PrintTabRow hands its rows to `sink` instead of
// printing them.
class RedirectTabRows {
  public:
    using Sink = std::function<void(const std::vector<std::string>&)>;
    explicit RedirectTabRows(Sink sink);
    ~RedirectTabRows();
    RedirectTabRows(const RedirectTabRows&) = delete;
    RedirectTabRows& operator=(const RedirectTabRows&) = delete;

  private:
    Sink previous_;
};

// "COLUMN=VALUE" of --where and --set; throws std::invalid_argument otherwise.
std::pair<std::string, std::string> SplitAssignment(const std::string& text);
// Prints one line of tab-separated fields.
void PrintTabRow(const std::vector<std::string>& fields);
// The captions of grid columns, as a header row.
std::vector<std::string> ColumnCaptions(const std::vector<StatusColumn>& columns);

// A day typed as YYYY-MM-DD, or `fallback` when nothing was typed; throws
// std::invalid_argument with the message to print otherwise.
CivilDate DateOption(const std::string& text, const CivilDate& fallback);
// The server's day for the logged-in session.
CivilDate ServerToday(CliContext& ctx);
// A file's detail printed as title, header, rows and count.
void PrintFileDetail(const FileDetail& detail);
// A rollback command: the maintenance password, the login, the head-office
// gate, then `rollBack`, which returns the number of files taken back.
int RunRollback(CliContext& ctx, const std::string& password, const std::function<int()>& rollBack);

void RegisterLoginCommand(CLI::App& app, CliContext& ctx);
void RegisterAdminCommands(CLI::App& app, CliContext& ctx);
void RegisterMemberCommands(CLI::App& app, CliContext& ctx);
void RegisterSummaryCommand(CLI::App& app, CliContext& ctx);
void RegisterSettingsCommand(CLI::App& app, CliContext& ctx);
void RegisterEb13Commands(CLI::App& app, CliContext& ctx);
// eb13 files / eb13 detail, under the eb13 command.
void RegisterEb13FileCommands(CLI::App& eb13, CliContext& ctx);
void RegisterEb14Commands(CLI::App& app, CliContext& ctx);
void RegisterEb21Commands(CLI::App& app, CliContext& ctx);
// eb21 files / eb21 detail, under the eb21 command.
void RegisterEb21FileCommands(CLI::App& eb21, CliContext& ctx);
// rollback eb21, under the rollback command that RegisterEb14Commands adds.
void RegisterEb21RollbackCommand(CLI::App& app, CliContext& ctx);
void RegisterEb22Commands(CLI::App& app, CliContext& ctx);
void RegisterCmsCommand(CLI::App& app, CliContext& ctx);
void RegisterLedgerCommands(CLI::App& app, CliContext& ctx);
void RegisterExportCommand(CLI::App& app, CliContext& ctx);
void RegisterTransmitCommands(CLI::App& app, CliContext& ctx);
// bills: the e-mailed bills.
void RegisterBillCommands(CLI::App& app, CliContext& ctx);
// Runs `body` with an open clearing-house session (head office, the
// clearing-house path, the library in the program folder).
int WithTransfer(CliContext& ctx, const std::function<bool(KftcTransfer&)>& body);
void RegisterRelayCommands(CLI::App& app, CliContext& ctx);
// eb11 list/apply/detail and eb12 create/mark-sent.
void RegisterEb11Commands(CLI::App& app, CliContext& ctx);
// What the closing "send?" of a file creation opens from the command line.
TransmissionLaunchers CommandLineLaunchers(CliContext& ctx);
// ei13 status/attach/create/send.
void RegisterEi13Commands(CLI::App& app, CliContext& ctx);

// realtime inquiry | register | cancel | history | list
void RegisterRealtimeCommands(CLI::App& app, CliContext& ctx);

// sms send | file | history | settings
void RegisterSmsCommands(CLI::App& app, CliContext& ctx);
void RegisterGiroCommands(CLI::App& app, CliContext& ctx);
// report channel | channel-detail | monthly | daily | member | annual
void RegisterReportCommands(CLI::App& app, CliContext& ctx);

// card members|pay|cancel|send, and rollback cmem|cpay (after the rollback command).
void RegisterCardCommands(CLI::App& app, CliContext& ctx);

}  // namespace qx::cli
