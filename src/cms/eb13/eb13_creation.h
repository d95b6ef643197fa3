// Writes the day's EB13 file from the listed targets, records it and moves
// the members into the requested states.
#pragma once

#include <string>
#include <vector>

#include "cms/eb13/eb13_targets.h"
#include "cms/transmission/open_transmission.h"
#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kEb13HolidayText =
    "토,일 (지정휴일) 인경우 파일을 생성 할 수 없습니다.";
inline constexpr const char* kEb13NoTargetsText = "신규/해지 대상 회원이 없습니다.";
inline constexpr const char* kEb13PastDateText =
    "파일생성을 할수 없는 일자입니다.(파일일자를 재조정 합니다.)";
inline constexpr const char* kEb13DuplicateText =
    "선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다.";
inline constexpr const char* kEb13Ei13FirstText =
    "신규고객이 있는 경우 EI13 파일부터 생성해야 합니다.\r\n\r\n"
    "EI13 파일 생성화면으로 이동 하시겠습니까?";
inline constexpr const char* kEb13SendQuestion = "작성한 파일을 송신 하시겠습니까?";
inline constexpr const char* kEb13ReturnQuestion = "이전화면으로 이동 하시겠습니까?";
inline constexpr const char* kEb13StaleTargetsText =
    "조회 이후 상태가 바뀐 회원이 있습니다. 다시 조회한 후 파일을 생성하십시오.";

// Which question closes a successful creation; the opening screen decides.
enum class Eb13ClosingQuestion { Send, Return };

struct Eb13Request {
    CivilDate fileDate;
    std::vector<Eb13Target> targets;  // in grid order
    Eb13ClosingQuestion question = Eb13ClosingQuestion::Send;
    TransmissionLaunchers launch;
};

enum class Eb13Outcome {
    Refused,         // a check stopped it; nothing was written
    DateReset,       // the date lay in the past; `fileDate` holds the server date
    OpenEi13Screen,  // the user chose to file agreement evidence first
    Created,         // file written and recorded
};

struct Eb13Result {
    Eb13Outcome outcome = Eb13Outcome::Refused;
    CivilDate fileDate;
    std::string path;
    long long newCount = 0, cancelCount = 0;
    bool closeScreen = false;  // yes to "back to the previous screen"
};

// The date the screen starts with: the usual request day of the delivery
// path, or, when that lies in the past, the first business day from today.
CivilDate Eb13DefaultFileDate(Database& db, SessionContext& session);

// Head office only. Creations of one institution run one at a time; the
// file is published under its disk name before the rows are committed and
// taken back when the commit fails, so rows never lack their file and a
// file never lacks its rows. An exchange file of the same disk name that
// belongs to another day is never overwritten.
Eb13Result CreateEb13File(Database& db, SessionContext& session, Interaction& ui,
                          const Eb13Request& request);

}  // namespace qx
