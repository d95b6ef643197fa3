// Moving finished CMS files out of the exchange folders: each routine asks
// the institution's file tables whether the file of a date is done with and
// then deletes the exchange copies or archives them (copy into
// <file folder>/<login>/<kind>/<yyyy>, then delete). Every routine takes the
// file date as yyyymmdd; an empty or malformed date touches nothing, and a
// file is only deleted or archived when its own header carries that date, so
// an undated file (or one of another year with the same MMDD) is never
// deleted or archived by mistake.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
struct SessionContext;

struct HousekeepingResult {
    bool acted = false;                 // the database test held
    std::vector<std::string> deleted;   // exchange paths removed without a copy
    std::vector<std::string> archived;  // archive paths written
    // Exchange files kept because the archive copy could not be made.
    std::vector<std::string> failed;
    // Exchange files of the name whose header names another day (or none).
    std::vector<std::string> kept;
};

// Copies <exchange>/<kind><mmdd> into the archive folder of the kind and year,
// then deletes the exchange file; a missing file is skipped. The exchange
// file is kept when the copy fails or its header is not of that date.
void ArchiveExchangeFile(const SessionContext& session, const std::string& kind,
                         const std::string& yyyymmdd, HousekeepingResult& result);

// EB11: archived when file_ea11 holds rows of the date; files dated before
// 2004-03-03 without asking.
HousekeepingResult ArchiveEb11(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EB12: archived when no file_ea11 row of the date still waits for its answer.
HousekeepingResult ArchiveEb12(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EB13 and EB14 deleted when the EB13 of the date is no longer open.
HousekeepingResult CleanUpEb13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EB14 and EB13 archived when the EB13 of the date is no longer waiting.
HousekeepingResult ArchiveEb13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EB22 and EB21 deleted when the EB21 of the date is no longer open.
HousekeepingResult CleanUpEb21(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EB22 and EB21 archived when the EB21 of the date has been applied.
HousekeepingResult ArchiveEb21(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// EI13 archived once its file has been sent.
HousekeepingResult ArchiveEi13(Database& db, const SessionContext& session,
                               const std::string& yyyymmdd);
// True when the database is done with the exchange file of the kind and
// date: no request row of an EB13/EB14 or EB21/EB22 still waits for or is
// applying its result, an EB11 has been applied, an EB12 answered, an EI13
// sent. A kind not listed is never finished.
bool ExchangeFileFinished(Database& db, const SessionContext& session, const std::string& kind,
                          const std::string& yyyymmdd);
// After a file was applied: the code is kk + yyyy + rest (e.g. "1320261204");
// archives "EB" + kk + rest into the EBkk archive of year yyyy. A code that is
// not two digits, a four-digit year and a four-digit MMDD touches nothing.
HousekeepingResult ArchiveByCode(const SessionContext& session, const std::string& code);

}  // namespace qx
