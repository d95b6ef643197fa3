// The EB13 files of the institution as the EB13/EB14 screen lists them.
#pragma once

#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "db/business_days.h"

namespace qx {

class Database;
struct SessionContext;

// "미처리: N건 / 미수신: M건": members awaiting a request, files awaiting their result.
std::string Eb13WaitingText(Database& db, const SessionContext& session);

// The list's columns: name, counts, results, state, creation time, and the
// hidden pross_stat.
std::vector<StatusColumn> Eb13FileColumns();

// ea13 rows created between the two days (inclusive), applied files last.
// A non-empty search keeps the files holding a request for that payer
// number, account number, holder number or external key.
std::vector<std::vector<std::string>> ListEb13Files(Database& db, const SessionContext& session,
                                                    const CivilDate& from, const CivilDate& to,
                                                    const std::string& search = {});

// The state column: applied, being applied, or the transmission state in
// this screen's wording.
std::string Eb13FileStateText(const std::string& prossStat, const std::string& sendStat,
                              const std::string& relayStat, const std::string& recvdate,
                              const std::string& filename, int cmsrunprg);

}  // namespace qx
