#include "cms/rollback/eb21_rollback.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

namespace {

// Only files at '0'. A file at '9' is being applied or was refused while
// being applied; taking it back then could race the booking of its
// collections, so it is left to the help desk.
constexpr const char* kOpenStates = "('0')";

const RequestFileKind& Eb21Kind() {
    static const RequestFileKind kind{"EB21", "ea21", "file_ea21",     kOpenStates,
                                      "",     false,  {"EA21", "EB21"}};
    return kind;
}

}  // namespace

std::vector<Eb21RollbackCandidate> ListEb21RollbackCandidates(Database& db,
                                                              const SessionContext& session) {
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(makedate) created, filename, total_cnt, total_money from " +
        session.schema() + ".ea21 where pross_stat in " + kOpenStates +
        " order by pross_stat asc, makedate desc");
    std::vector<Eb21RollbackCandidate> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto row = rs[i];
        out.push_back({row["created"], row["filename"], row.asInt("total_cnt"),
                       row.asInt("total_money"), kEb21RollbackStateText});
    }
    return out;
}

int RollbackEb21Files(Database& db, const SessionContext& session, Interaction& ui,
                      const std::vector<std::string>& filenames) {
    return RollbackRequestFiles(db, session, ui, Eb21Kind(), filenames);
}

}  // namespace qx
