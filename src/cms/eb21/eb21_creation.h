// Writes the day's EB21 file from the selected rows, records it in ea21 and
// file_ea21 and marks the members as withdrawal requested (cms_status 6).
#pragma once

#include <string>
#include <vector>

#include "cms/eb21/eb21_targets.h"
#include "cms/transmission/open_transmission.h"
#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kEb21NoSelectionText = "선택된 회원이 없습니다.";
inline constexpr const char* kEb21HolidayText =
    "토,일 (지정휴일) 인경우 파일을 생성 할 수 없습니다.";
inline constexpr const char* kEb21OverLimitText =
    "\r\n\r\n해당월의 총 출금액과 현재 출금예정액의 합계가 월출금한도를 초과 하였습니다.";
inline constexpr const char* kEb21DuplicateText =
    "선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다.";
inline constexpr const char* kEb21NoCompanyText =
    "회사의 로그인 정보를 정상적으로 얻지 못했습니다.";
inline constexpr const char* kEb21WritingText =
    "EB21화일을 작성하고 있습니다. 잠시만 기다려 주십시오";
inline constexpr const char* kEb21StaleRowsText =
    "조회 이후 상태가 바뀐 회원이 있습니다. 다시 조회한 후 파일을 생성하십시오.";
inline constexpr const char* kEb21SendQuestion = "작성한 파일을 송신 하시겠습니까?";
inline constexpr const char* kEb21ReturnQuestion = "이전화면으로 이동 하시겠습니까?";

// "(done / total 건 진행)", the progress line of the creation.
std::string Eb21ProgressText(long long done, long long total);

struct Eb21Request {
    CivilDate fileDate;
    std::vector<Eb21Row> rows;  // the grid in its order; only selected rows are written
    TransmissionLaunchers launch;
};

enum class Eb21Outcome { Refused, Declined, Created };

struct Eb21Result {
    Eb21Outcome outcome = Eb21Outcome::Refused;
    std::string path;
    long long count = 0, total = 0;
    bool closeScreen = false;  // yes to "back to the previous screen"
};

// Head office only. Creations of one institution run one at a time; the
// file, its rows, the member updates and the ea21 row are committed
// together, the file published under its name just before the commit and
// taken back when the commit fails. Members whose state changed since the
// search stop the creation with nothing written.
Eb21Result CreateEb21File(Database& db, SessionContext& session, Interaction& ui,
                          const Eb21Request& request);

}  // namespace qx

namespace qx {

// The date the screen starts with: the institution's usual withdrawal day.
CivilDate Eb21DefaultFileDate(Database& db, SessionContext& session);

// Runs the automatic batch sale first when the institution asks for it
// (position 7 "사용함" while billing takes the current month): members whose
// sales day is on or before the file date's day are billed on the file
// date. False when the sale failed or was declined: the screen closes.
bool RunAutoSaleFirst(Database& db, SessionContext& session, Interaction& ui,
                      const std::string& webHost, const CivilDate& fileDate);

}  // namespace qx
