// The institution's program settings (the cms_set flag string and the
// switch columns of admin_company) and the desktop switches of Login.ini.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
class ProfileIni;
struct SessionContext;

inline constexpr const char* kSettingsTitle = "▶  기초환경 > 프로그램 설정";
inline constexpr const char* kSettingsHeadOfficeOnlyText =
    "지사/대리점은 프로그램 설정을 하실 수 없습니다.";
inline constexpr const char* kSummedWithUnpaidPartialText =
    "정기+미납분을 합산청구하는경우 미납분만 부분출금 하실 수 없습니다.";
inline constexpr const char* kAutoWithdrawalNotAutomaticText =
    "[자동출금 처리방법]이 [이체파일 자동생성]이 아닌 경우 [자동출금] 관련 설정을 적용 할 수 "
    "없습니다.";
inline constexpr const char* kAutoWithdrawalAppliedText = " 자동출금 설정을 정상 적용 하였습니다.";
inline constexpr const char* kMonthCountInvalidText = "개월수를 잘못 입력하셨습니다.";
inline constexpr const char* kSettingsAppliedText = "정상 적용 하였습니다.";
inline constexpr const char* kItemsUnusedCaption = "신규등록/변경시 품목 사용안함.";
// The program folder may be read-only; the desktop settings were not kept then.
inline constexpr const char* kLoginIniWriteFailedText = "Login.ini 파일에 저장하지 못했습니다.";
// Position 7 cannot be switched on while billing takes the previous month.
inline constexpr const char* kAutoSalesNeedsCurrentMonthText =
    "정기분 선택이 [전월]인 경우 출금신청시 자동매출은 [미사용]만 선택할 수 있습니다.";

// One position of cms_set that the settings screen offers; the stored digit
// is the index of the chosen entry.
struct CmsSetSelector {
    int position;
    std::string caption;
    std::vector<std::string> entries;
};

// Positions 1 to 11 and 15, in that order.
const std::vector<CmsSetSelector>& CmsSetSelectors();
const CmsSetSelector* FindCmsSetSelector(int position);

// Positions whose meaning the screen knows.
inline constexpr int kPosRegularAndUnpaidBilling = 1;
inline constexpr int kPosRegularAndUnpaidPartial = 4;
inline constexpr int kPosAutoSales = 7;
inline constexpr int kPosAutoWithdrawalMethod = 8;
inline constexpr int kPosSearchStyle = 10;
inline constexpr int kPosItems = 15;
inline constexpr int kSummedBilling = 2;      // "합산 청구" at position 1
inline constexpr int kUnpaidOnlyPartial = 2;  // "미납분만 부분출금" at position 4
inline constexpr int kAutoSalesUnused = 1;    // "미사용" at position 7
inline constexpr int kAutoFileCreation = 2;   // "이체파일 자동생성" at position 8

// The digit at a 1-based position; 0 when the text is shorter or holds no
// digit there.
int CmsSetDigit(const std::string& cmsSet, int position);
// The text with one position replaced, shorter texts extended with '0'.
std::string ReplaceCmsSetDigit(const std::string& cmsSet, int position, int digit);

// Auto-withdrawal services and their columns.
enum class AutoService : int { kHyosungCms = 0, kCard = 1, kKftcCms = 2 };
inline constexpr std::array<const char*, 3> kAutoServiceNames{"효성CMS", "신용카드결제",
                                                              "금결원CMS"};
inline constexpr std::array<const char*, 2> kAutoTargetNames{"정기분+미납분", "정기분"};
inline constexpr int kAutoDayCount = 5;
// Entry 0 is "선택" (no day); entry n is day n of the month.
inline constexpr int kAutoDayLastEntry = 31;
using AutoDays = std::array<int, kAutoDayCount>;

// The schedule of one service. Stored as: days "[n],[n],[n],[n],[n]"; the
// option column (autoopt, credit_autoopt, kftc_autoopt) holds the use flag
// 'Y'/'N' followed by the target index ("Y0"); for 효성CMS autosectday also
// holds the target index.
struct AutoSchedule {
    AutoDays days{};
    int target = 0;  // 0 "정기분+미납분", 1 "정기분"
    bool used = false;
};
// Clears a day equal to one chosen earlier.
AutoDays ClearRepeatedDays(AutoDays days);
std::string AutoDayText(const AutoDays& days);
// Reads a stored day text back; unreadable entries become 0.
AutoDays ParseAutoDayText(const std::string& text);

struct ProgramSettings {
    std::string cms_set;
    bool month_current = true;  // monthdivide 'Y' ("금월") or 'N' ("전월")
    int vir_prgcre = 0;
    bool installment_chk_use = false, ignorenonpay_use = false, checkexcept_use = false;
    std::array<AutoSchedule, 3> schedules{};  // by AutoService
    long long month_max = 0;                  // of the user's own level
    std::string sendname;
    std::string account_title, settle_div, kftc_auto_use, kftc_autofileflags;
};
ProgramSettings LoadProgramSettings(Database& db, const SessionContext& session);

// False, after the message, when the user may not change the settings.
bool CheckSettingsAccess(const SessionContext& session, Interaction& ui);

struct CmsSetChange {
    bool applied = false;  // the chosen index is what is stored now
    std::string cms_set;   // as stored afterwards
};
// Applies one selector change: the consistency rule of positions 1 and 4,
// then the single-character update(s) for the logged-in institution.
// Throws std::invalid_argument for a position or index the screen does not
// offer; nothing is written then.
CmsSetChange ChangeCmsSetSelector(Database& db, SessionContext& session, Interaction& ui,
                                  int position, int index);

// "정기분 선택": 'Y' for the current month; the previous month also stores
// position 7 as "미사용".
void SetMonthDivide(Database& db, SessionContext& session, bool currentMonth);

// While billing takes the previous month, position 7 must read "미사용"; a
// stored "사용함" (set by an older program or by hand) is corrected. True
// when it wrote.
bool ForceAutoSalesOffForPreviousMonth(Database& db, const SessionContext& session);

enum class InstitutionSwitch { kInstalmentAutoCancel, kIgnoreLedgerSales, kExcludeLaterSales };
void SetInstitutionSwitch(Database& db, SessionContext& session, InstitutionSwitch which, bool on);
// "가상계좌 등록방식": 0 on new registration, 1 chosen by the administrator.
void SetVirtualAccountMode(Database& db, SessionContext& session, int mode);

// A PRGSTAT switch of Login.ini (0 to 5 of PrgStat) and its in-memory flag.
bool SetDesktopSwitch(SessionContext& session, const ProfileIni& ini, int which, bool on);
const char* DesktopSwitchKey(int which);
const char* DesktopSwitchCaption(int which);
bool SetFrozenColumns(SessionContext& session, const ProfileIni& ini, int columns);

struct ApplyInput {
    std::string fileback, excel, tolvex;
    AutoService service = AutoService::kHyosungCms;
    AutoDays days{};
    int target = 0;
    std::string month_max;
    std::string sendname;
};
// The apply button. Input that cannot be stored (line breaks, characters
// outside what the database holds) is refused before anything is written.
// A cap that is not a number is not written, with its message, while the
// other steps still run; the result is then false, as it is when Login.ini
// cannot be written (then nothing at all is kept, in the file or the
// database).
bool ApplyProgramSettings(Database& db, SessionContext& session, const ProfileIni& ini,
                          Interaction& ui, const ApplyInput& input);

}  // namespace qx
