// Sending through the relay: a created file becomes one run of the relay
// table and its records, handed to the relay only when every record is in
// place; the run's state is then watched until the relay has taken it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kRelaySdsiVersion = "140512";
inline constexpr const char* kRelayClosedText =
    "오후 6~7 시는 시스템 점검 시간으로 파일송신이 불가능하오니 생성하신파일은 7시이후에 "
    "전송하시기 바랍니다.";
inline constexpr const char* kRelayResendQuestion = "이미 전송한 파일입니다. 재 전송 하시겠습니까?";
inline constexpr const char* kRelayDoneText = "파일전송을 완료 하였습니다.";
inline constexpr const char* kRelayFailedText =
    "파일전송을 실패 하였습니다. 처리불가능한 파일입니다.\r\n\r\n쿼리스CMS(0000-0000)로 "
    "문의주시기 바랍니다.";

inline constexpr const char* kRelayDeclinedText =
    "이미 전송한 파일입니다. 잘못된 파일인 경우 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";

// The two relays: created EB13/EB21 files through `sdsi`, card member and
// card payment files through `aegis`.
enum class RelayChannel { Files, Cards };

// An institution code the relay accepts: 8 characters beginning HS, hv or hh.
bool RelayInstitutionCodeValid(const std::string& orgCode);
// The relay is closed for maintenance during the 18 o'clock hour of the
// server's clock ("yy-mm-dd hh:nn:ss").
bool RelaySendClosed(const std::string& serverDateTime);
// The 20-character relay account block (two copies of the account name),
// configuration: QUORISDEX_RELAY_ACCOUNT.
std::string RelayAccountBlock();

// Registers the file (database name, e.g. EB13261204) as a run. Asks before
// replacing an earlier run of the same file. Returns the run's key, or
// nullopt when nothing was registered.
// `declined` (when given) is set when the person declined the re-send.
std::optional<long long> RegisterRelayRun(Database& db, SessionContext& session, Interaction& ui,
                                          const std::string& databaseName,
                                          bool* declined = nullptr);

// Registers a card file (the name stored in cdmem/cdpay: CMEM or CPAY +
// YYMMDD) as a run of the card relay, the same way.
std::optional<long long> RegisterCardRun(Database& db, SessionContext& session, Interaction& ui,
                                         const std::string& storedName, bool* declined = nullptr);

// The relay screen's send: the institution code and the server's hour
// checked once, then each file registered. Returns the keys of the runs made.
std::vector<long long> RelaySendFiles(Database& db, SessionContext& session, Interaction& ui,
                                      const std::vector<std::string>& databaseNames,
                                      RelayChannel channel = RelayChannel::Files);

// The relay screen's lists: the created EB13/EB21 files the relay has not
// taken (state "전송가능") and those it refused ("전송오류" for 3, "전송불가"
// for 4 and 9, with its error text). Rows: database name, state, total,
// new, cancelled, amount, send stamp "yymmddhh" (and the error text).
inline constexpr const char* kRelayListHeaders[] = {"파일명",   "상태", "전체건수", "신규건수",
                                                    "해지건수", "금액", "송신일시", "오류내용"};
std::vector<std::vector<std::string>> RelaySendableFiles(
    Database& db, const SessionContext& session, RelayChannel channel = RelayChannel::Files);
std::vector<std::vector<std::string>> RelayFailedFiles(Database& db, const SessionContext& session,
                                                       RelayChannel channel = RelayChannel::Files);

enum class RelayRunState { Waiting, Done, Failed };
// One look at the run; Done and Failed tell the person.
RelayRunState PollRelayRun(Database& db, Interaction& ui, long long key,
                           RelayChannel channel = RelayChannel::Files);

}  // namespace qx
