// The day's EI13: the agreement files of the folder checked against their
// members, packed into the file (or handed to the relay), recorded, the
// members marked; sending it and the figures the screen shows.
#pragma once

#include <string>
#include <vector>

#include "cms/transmission/open_transmission.h"
#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kEi13Kind = "EI13";
inline constexpr int kEi13LogCode = 5;

inline constexpr const char* kEi13AfternoonText =
    "12시(정오) 이후에는 EI13파일을 생성할 수 없습니다.\r\n"
    "다음 은행영업일 오전에 생성하여 송신하시기 바랍니다.";
inline constexpr const char* kEi13AfterEb13Text =
    "선택한 일자로 이미 EB13파일이 생성 되었습니다.\r\n"
    "신규고객을 포함한 EB13파일의 재 생성을 원하실 경우\r\n"
    "쿼리스(0000-0000)으로 연락주시기 바랍니다.";
inline constexpr const char* kEi13DuplicateText =
    "선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다.";
inline constexpr const char* kEi13NoFilesText = "생성할 동의자료 파일이 없습니다.";
inline constexpr const char* kEi13SendQuestion = "작성한 파일을 송신 하시겠습니까?";
inline constexpr const char* kEi13BranchSendText =
    "지점/대리점인 경우 파일송수신 프로그램을 실행 할 수 없습니다.";
inline constexpr const char* kEi13NothingToSendText = "전송할 파일이 없습니다.";

// "설정함: N건 (PC: M 건)": members waiting with a file set, files in the folder.
struct Ei13Figures {
    long long members = 0, files = 0;
    std::string text() const;
};
Ei13Figures LoadEi13Figures(Database& db, const SessionContext& session);

// Where the agreement files packed into the file `filename` ("EI13" +
// YYMMDD) are kept, out of the folder the next file is made from; a rollback
// puts them back.
std::string PackedAgreementFolder(const SessionContext& session, const std::string& filename);
// Moves the files of `from` into `to` (made when missing); the names moved.
std::vector<std::string> MoveAgreementFiles(const std::string& from, const std::string& to);

// "EI13" + MMDD + " 파일을 생성 하시겠습니까?"
std::string Ei13CreateQuestion(const CivilDate& date);

struct Ei13Result {
    bool created = false;
    std::string path;  // disk delivery
    long long count = 0;
    std::vector<std::string> report;  // one line per removed file
};

// Creates the EI13 of `date` after the caller's confirmation. Files that do
// not fit their member are deleted and reported; the kept ones are packed.
// The file, its rows and the member marks commit together: the file is
// written under a hidden name and published just before the commit.
Ei13Result CreateEi13File(Database& db, SessionContext& session, Interaction& ui,
                          const CivilDate& date, const TransmissionLaunchers& launch = {});

// The send button: the day's unsent EI13 is marked handed over.
bool SendEi13File(Database& db, SessionContext& session, Interaction& ui, const CivilDate& date);

struct Ei13FileRow {
    std::string filename, created;
    long long total = 0;
    std::string state;
};
// The ei13 rows created between the two days, unsent first, newest first.
std::vector<Ei13FileRow> ListEi13Files(Database& db, const SessionContext& session,
                                       const CivilDate& from, const CivilDate& to);
// The members packed into one file ("EI13" + YYMMDD), last serial first:
// 고객명, 상호, 납부자번호, 외부참조키, 은행명, 계좌번호, 예금주명, 신청일.
std::vector<std::vector<std::string>> Ei13FileDetail(Database& db, const SessionContext& session,
                                                     const std::string& filename);
std::vector<std::string> Ei13DetailColumns();

}  // namespace qx
