#include "cms/rollback/eb13_rollback.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

namespace {

// Files at '9' are included: a result file refused by its checks leaves its
// EB13 there, and only a rollback takes it back.
constexpr const char* kOpenStates = "('0','9')";

const RequestFileKind& Eb13Kind() {
    static const RequestFileKind kind{
        "EB13",
        "ea13",
        "file_ea13",
        kOpenStates,
        ", m.certificate_status=if(m.remove=1,0,m.certificate_status)",
        true,
        {"EB13"}};
    return kind;
}

}  // namespace

std::vector<Eb13RollbackCandidate> ListEb13RollbackCandidates(Database& db,
                                                              const SessionContext& session) {
    const Recordset rs = db.OpenRecordset(
        "select from_unixtime(makedate) created, filename, create_cnt, delete_cnt, total_cnt, "
        "if(pross_stat='9','eb14파일 적용중','eb14파일 적용전') state from " +
        InstitutionSchema(session.institution_number) + ".ea13 where pross_stat in " + kOpenStates +
        " order by pross_stat asc, makedate desc");
    std::vector<Eb13RollbackCandidate> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto row = rs[i];
        out.push_back({row["created"], row["filename"], row.asInt("create_cnt"),
                       row.asInt("delete_cnt"), row.asInt("total_cnt"), row["state"]});
    }
    return out;
}

int RollbackEb13Files(Database& db, const SessionContext& session, Interaction& ui,
                      const std::vector<std::string>& filenames) {
    return RollbackRequestFiles(db, session, ui, Eb13Kind(), filenames);
}

}  // namespace qx
