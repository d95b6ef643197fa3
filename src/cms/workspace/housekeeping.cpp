#include "cms/workspace/housekeeping.h"

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <system_error>

#include "cms/workspace/cms_folders.h"
#include "cms/workspace/file_names.h"
#include "cms/workspace/file_summary.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "platform/system_drive.h"
#include "platform/text_checks.h"

namespace qx {

namespace fs = std::filesystem;

namespace {

// Only a real yyyymmdd date names a file; anything else leaves the folders
// alone.
std::optional<CivilDate> FileDate(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::nullopt;
    return ParseDate(yyyymmdd);
}

std::string Mmdd(const CivilDate& d) {
    return Yyyymmdd(d).substr(4);
}

std::string ExchangePath(const SessionContext& s, const std::string& kind, const CivilDate& d) {
    return JoinPath(ExchangeFolder(s, kind), kind + Mmdd(d));
}

// The exchange file of the kind for the day, when it is there and its own
// header carries that day. Names hold only MMDD: a file of the same day of
// another year, or one with a broken header, is not the file the database
// test was about and stays where it is.
bool IsFileOf(const std::string& path, const CivilDate& d, HousekeepingResult& result) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    if (HeaderDate(path) != Yyyymmdd(d)) {
        result.kept.push_back(path);
        return false;
    }
    return true;
}

void DeleteExchangeFile(const SessionContext& s, const std::string& kind, const CivilDate& d,
                        HousekeepingResult& result) {
    const std::string path = ExchangePath(s, kind, d);
    std::error_code ec;
    if (IsFileOf(path, d, result) && fs::remove(path, ec)) result.deleted.push_back(path);
}

void Archive(const SessionContext& s, const std::string& kind, const CivilDate& d,
             HousekeepingResult& result) {
    ArchiveExchangeFile(s, kind, Yyyymmdd(d), result);
}

std::string Schema(const SessionContext& s) {
    return InstitutionSchema(s.institution_number);
}

// True when no row of the request table for the file is still open: '0'
// waits for its result, '9' is being applied (a result file whose
// application was interrupted is still needed).
bool RequestClosed(Database& db, const SessionContext& s, const std::string& table,
                   const std::string& kind, const CivilDate& d) {
    return db.scalarInt("select count(*) from " + Schema(s) + "." + table +
                            " where filename=? and pross_stat in ('0','9')",
                        {DatabaseFileName(kind, d)}) == 0;
}

bool Eb11Applied(Database& db, const SessionContext& s, const std::string& yyyymmdd) {
    return yyyymmdd < "20040303" ||
           db.scalarInt("select count(*) from " + Schema(s) + ".file_ea11 where reg_date=?",
                        {yyyymmdd}) > 0;
}

bool Eb12Answered(Database& db, const SessionContext& s, const std::string& yyyymmdd) {
    return db.scalarInt("select count(*) from " + Schema(s) +
                            ".file_ea11 where reg_date=? and pross_stat='0'",
                        {yyyymmdd}) == 0;
}

bool Ei13Sent(Database& db, const SessionContext& s, const CivilDate& d) {
    return db.scalarInt("select count(*) from " + Schema(s) +
                            ".ei13 where mid(filename,5)=? and send_stat='5'",
                        {Yymmdd(d)}) > 0;
}

using FileAction = void (*)(const SessionContext&, const std::string& kind, const CivilDate&,
                            HousekeepingResult&);

// Applies `action` to the day's files of the kinds, in that order (the
// answer before its request), once `done` says the database has finished
// with the day. A name that is not a real date touches nothing.
HousekeepingResult Housekeep(const SessionContext& s, const std::string& yyyymmdd,
                             const std::function<bool(const CivilDate&)>& done, FileAction action,
                             std::initializer_list<const char*> kinds) {
    HousekeepingResult r;
    const auto d = FileDate(yyyymmdd);
    if (!d) return r;
    r.acted = done(*d);
    if (r.acted)
        for (const char* kind : kinds) action(s, kind, *d, r);
    return r;
}

}  // namespace

void ArchiveExchangeFile(const SessionContext& session, const std::string& kind,
                         const std::string& yyyymmdd, HousekeepingResult& result) {
    const auto date = FileDate(yyyymmdd);
    if (!date) return;
    const std::string source = ExchangePath(session, kind, *date);
    std::error_code ec;
    if (!IsFileOf(source, *date, result)) return;
    const std::string folder = ArchiveFolder(session, kind, yyyymmdd.substr(0, 4));
    const std::string target = JoinPath(folder, kind + Mmdd(*date));
    if (!MakeFolderIfMissing(folder) ||
        !fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec) || ec ||
        fs::file_size(source, ec) != fs::file_size(target, ec) || ec) {
        // Without a complete copy the exchange file is the only one left.
        result.failed.push_back(source);
        return;
    }
    result.archived.push_back(target);
    if (!fs::remove(source, ec)) result.failed.push_back(source);
}

HousekeepingResult ArchiveEb11(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(session, yyyymmdd,
                     [&](const CivilDate&) { return Eb11Applied(db, session, yyyymmdd); }, Archive,
                     {"EB11"});
}

HousekeepingResult ArchiveEb12(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(session, yyyymmdd,
                     [&](const CivilDate&) { return Eb12Answered(db, session, yyyymmdd); }, Archive,
                     {"EB12"});
}

HousekeepingResult CleanUpEb13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(
        session, yyyymmdd,
        [&](const CivilDate& d) { return RequestClosed(db, session, "ea13", "EB13", d); },
        DeleteExchangeFile, {"EB14", "EB13"});
}

HousekeepingResult ArchiveEb13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(
        session, yyyymmdd,
        [&](const CivilDate& d) { return RequestClosed(db, session, "ea13", "EB13", d); }, Archive,
        {"EB14", "EB13"});
}

HousekeepingResult CleanUpEb21(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(
        session, yyyymmdd,
        [&](const CivilDate& d) { return RequestClosed(db, session, "ea21", "EB21", d); },
        DeleteExchangeFile, {"EB22", "EB21"});
}

HousekeepingResult ArchiveEb21(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(session, yyyymmdd,
                     [&](const CivilDate& d) {
                         return db.scalarInt("select count(*) from " + Schema(session) +
                                                 ".ea21 where filename=? and pross_stat='1'",
                                             {DatabaseFileName("EB21", d)}) > 0;
                     },
                     Archive, {"EB22", "EB21"});
}

HousekeepingResult ArchiveEi13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd) {
    return Housekeep(session, yyyymmdd,
                     [&](const CivilDate& d) { return Ei13Sent(db, session, d); }, Archive,
                     {"EI13"});
}

bool ExchangeFileFinished(Database& db, const SessionContext& session, const std::string& kind,
                          const std::string& yyyymmdd) {
    const auto d = FileDate(yyyymmdd);
    if (!d) return false;
    if (kind == "EB13" || kind == "EB14") return RequestClosed(db, session, "ea13", "EB13", *d);
    if (kind == "EB21" || kind == "EB22") return RequestClosed(db, session, "ea21", "EB21", *d);
    if (kind == "EB11") return Eb11Applied(db, session, yyyymmdd);
    if (kind == "EB12") return Eb12Answered(db, session, yyyymmdd);
    if (kind == "EI13") return Ei13Sent(db, session, *d);
    return false;
}

HousekeepingResult ArchiveByCode(const SessionContext& session, const std::string& code) {
    HousekeepingResult r;
    const bool digits =
        code.size() == 10 && code.find_first_not_of("0123456789") == std::string::npos;
    if (!digits) return r;
    const std::string kind = "EB" + code.substr(0, 2);
    const std::string yyyymmdd = code.substr(2);
    if (!FileDate(yyyymmdd)) return r;
    r.acted = true;
    ArchiveExchangeFile(session, kind, yyyymmdd, r);
    return r;
}

}  // namespace qx
