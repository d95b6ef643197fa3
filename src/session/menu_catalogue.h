// The navigation rules of the main window: which screen a menu code opens,
// the role gates and their messages, the menu captions, the quick-button
// gates, and where the main window starts. No windows here: the frame asks
// and shows what comes back.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qx {

struct SessionContext;

enum class MenuAction {
    kOpen,       // open `screen`, close every other business screen
    kRefuse,     // show `message`, change nothing
    kMessage,    // show `message`, change nothing (a fixed notice, not a gate)
    kCloseOnly,  // no such screen: close the open one, leave the frame empty
    kIgnore,     // a code no menu sends: nothing happens
};

struct MenuChoice {
    MenuAction action = MenuAction::kIgnore;
    std::string screen;     // identifier, also for kCloseOnly ("frmDoc47", "frmDoc00")
    std::string title;      // the screen's title line
    std::string message;    // kRefuse / kMessage
    std::string boardAct;   // frmDoc60: the board page shown ("quorboard1"...)
    int externalSite = -1;  // 60,4-8: which outside site also opens, 0-4
    long long member = 0;   // frmDoc22: the member chosen in the list
};

// What the member list shows, for the member-change entry.
struct MemberListState {
    long long rows = 0;
    long long selectedMember = 0;  // 0 = none selected
};

MenuChoice ChooseMenuScreen(const SessionContext& session, int group, int item,
                            const MemberListState& memberList = {});

// The menu code that leads to a screen identifier, for opening a screen by
// name; nullopt for an identifier no menu opens.
std::optional<std::pair<int, int>> MenuCodeOf(const std::string& screen);

// The title line of a screen; empty for an unknown identifier.
std::string ScreenTitle(const std::string& screen);

// Menu captions.
inline constexpr const char* kMenuGroupCaptions =
    "기초환경|회원관리|파일관리|통계,보고서|부가서비스|자료실|종료";
std::vector<std::string> SplitCaptions(const std::string& text);
struct MenuEntry {
    std::string caption;
    int item = 0;
};
// The sub-menu of a group (10, 20, ... 60), in item order.
std::vector<MenuEntry> SubMenu(int group);
// The group numbers behind the captions, 0 for the closing entry.
std::vector<int> MenuGroups();

// Buttons outside the menu that carry their own gates.
enum class QuickAction {
    kCreateFiles,
    kKftcTransmission,
    kCompanionProgram,
    kCardTransmission,
    kBatchUpload,
    kTaxInvoiceProgram,
};
struct Gate {
    bool allowed = true;
    std::string message;
};
Gate QuickActionGate(const SessionContext& session, QuickAction action);

// KFTC send/receive of an institution still in test only writes EA12.
inline constexpr const char* kTestAccountEa12Question =
    "테스트 계정인경우 EA12 작성만 처리합니다. EA12파일을 작성 하시겠습니까?";
bool KftcTransmissionAsksForEa12(const SessionContext& session);

// Where the main window starts: the file screen when the switch is on, the
// user is the head office and result files wait in the EB14 or EB22
// exchange folder; the member list otherwise.
bool ResultFilesWaiting(const SessionContext& session);
std::pair<int, int> StartScreen(const SessionContext& session);

// Remote support: the client program when installed, else empty.
inline constexpr const char* kRemoteSupportProgram = "NSProClientDirect.exe";
inline constexpr const char* kRemoteSupportMissing = "설치된 원격지원 프로그램이 없습니다.";
inline constexpr const char* kRemoteSupportInstall = "프로그램을 설치해주시기 바랍니다.";
std::string FindRemoteSupportClient(const std::string& systemDrive);

inline constexpr const char* kCloseQuestion = "프로그램을 종료 하시겠습니까?";

// Web addresses: the board pages of the service site, the outside sites of
// group 60, and the logout page of the tax-invoice web module.
std::string BoardUrl(const SessionContext& session, const std::string& act);
std::string ExternalSiteUrl(const SessionContext& session, int site);
std::string TaxModuleLogoutUrl(const SessionContext& session);
// Leaving the tax-invoice module's screen while its web session is open
// ends that session.
bool NeedsTaxModuleLogout(const std::string& newScreen, bool moduleInUse);

}  // namespace qx
