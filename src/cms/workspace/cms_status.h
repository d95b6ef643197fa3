// The CMS file status screen (frmDoc30) as data: three panels of open files
// with their state and the advice what to do next, and the housekeeping that
// runs before each panel is built. The desktop shows the panels in grids, the
// CLI prints them.
#pragma once

#include <string>
#include <vector>

#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

// Grid alignments as the screens store them: 1 left, 4 centre, 7 right.
inline constexpr int kAlignLeft = 1;
inline constexpr int kAlignCentre = 4;
inline constexpr int kAlignRight = 7;

struct StatusColumn {
    std::string caption;
    int width = 0;  // twips
    int alignment = kAlignLeft;
};

struct StatusPanel {
    std::string title;
    std::vector<StatusColumn> columns;
    std::vector<std::vector<std::string>> rows;
    bool highlighted = false;  // the EB11 panel's caption, when it holds rows
};

struct CmsStatus {
    StatusPanel eb11, eb13, eb21;
    bool refused = false;  // not a head-office login: nothing was built or tidied
};

inline constexpr const char* kEb11BadFileText = "잘못된 승인의뢰(EB11)파일 입니다.(처리불가능)";
inline constexpr const char* kForeignInstitutionText = "이용기관코드가 다른파일입니다.(처리불가능)";
inline constexpr const char* kUnprocessedFileText =
    "파일 미처리 상태 입니다. 조속한 처리 바랍니다.";
inline constexpr const char* kAppliedText = "파일처리 완료";
inline constexpr const char* kApplyingText = "파일적용중";
inline constexpr const char* kKftcDeletionWarning =
    "경고 : 금융결제원에서 파일이 삭제 될 수 있습니다.";
inline constexpr const char* kRelayWarning = "경고 : 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
inline constexpr const char* kEb14TimeAdvice = "오후 2시 이후 파일을 수신하여 주십시오.";
inline constexpr const char* kEb22TimeAdvice = "오전 10시 이후 파일을 수신하여 주십시오.";
inline constexpr const char* kRelayAdvice = "자동 처리됩니다.";

// The status screen's text of ea13/ea21/ei13.send_stat.
std::string SendStatText(const std::string& sendStat);
// The status screen's text of sdsi.filerun.stat; state 5 names the receipt
// day from recvdate (YYMMDD) with the EB13 or EB21 wording.
std::string RelayStatText(const std::string& stat, const std::string& recvdate,
                          const std::string& requestKind);

// The server's date (never the desktop's).
CivilDate ServerToday(Database& db);

// Each builder first moves finished files out of the panel's exchange folders.
// For a branch or agency login they touch nothing and give the empty panel.
StatusPanel BuildEb11Panel(Database& db, const SessionContext& session, Interaction& ui);
StatusPanel BuildEb13Panel(Database& db, const SessionContext& session, Interaction& ui,
                           const CivilDate& today);
StatusPanel BuildEb21Panel(Database& db, const SessionContext& session, Interaction& ui,
                           const CivilDate& today);
// All three, in the screen's order; a branch or agency login is told it may
// not and gets `refused`.
CmsStatus BuildCmsStatus(Database& db, const SessionContext& session, Interaction& ui);

}  // namespace qx
