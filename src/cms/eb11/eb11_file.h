// Registrations and cancellations made at bank counters, as the clearing
// house sends them (EB11): reading and checking a received file, the list of
// the exchange folder and the applied rows of a day.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kEb11Kind = "EB11";
inline constexpr int kEb11LogCode = 5;

inline constexpr const char* kEb11BadRecordText = "잘못된 승인의뢰(EB11)파일 입니다.(처리불가능)";
inline constexpr const char* kEb11NameDateText = "파일명과 파일일자가 맞지 않습니다.(처리불가능)";
inline constexpr const char* kEb11OtherInstitutionText =
    "이용기관코드가 다른파일입니다.(처리불가능)";
inline constexpr const char* kEb11AlreadyAppliedText = "이미 처리된 파일입니다.(처리불가)";
inline constexpr const char* kEb11NoFileText = "처리할 파일이 없습니다.";
inline constexpr const char* kEb11NotAppliedState = "파일 미적용";

// One data record as received; every field trimmed.
struct Eb11Record {
    long long serial = 0;
    std::string orgCode;
    std::string applied;   // YYMMDD
    std::string kind;      // "1", "3", "7"
    std::string payer;     // as written (20 bytes trimmed)
    std::string bankCode;  // 3 digits + "0000", after the succession table
    std::string account, idNumber, channel, moneyKind, phone;
    std::string original;  // the 120 received bytes, as UTF-8 for the table

    // The payer number when it is a number, else nullopt ("not a number").
    std::optional<long long> payerNumber() const;
};

struct Eb11Reading {
    std::string error;     // the refusal; empty when the file may be applied
    std::string yyyymmdd;  // the file's day from its header
    std::vector<Eb11Record> records;
    std::string mac;  // bytes 111-120 of the trailer
};

// Reads and checks the file at `path`: record types, the header's name and
// date against the file name, the institution code, and that the day has
// not been applied yet.
Eb11Reading ReadEb11File(Database& db, const SessionContext& session, const std::string& path);
// The same checks without the last one: the file's records as they are,
// whatever the table holds (an expired file is listed, never applied).
Eb11Reading ParseEb11File(const SessionContext& session, const std::string& path);

// "신규", "해지", "임의해지" for the kinds 1, 3, 7.
std::string Eb11KindText(const std::string& kind);
// The receiving channel of bytes 86-89 as the lists show it. The code says
// what the payer asked for: "CHNG" an account change ("계좌변경"), "CNCL" a
// registration or cancellation taken in ("접수처리"). The kind says where:
// an arbitrary cancellation (7) is the payer's own, made through the
// clearing house's integrated management service ("통합관리서비스"); new
// registrations (1) and cancellations (3) come from a bank counter
// ("참가기관"). Any other code: "접수채널 정보없음".
inline constexpr const char* kEb11AccountChangeChannel = "CHNG";
std::string Eb11ChannelText(const std::string& channel, const std::string& kind);

struct Eb11FileEntry {
    std::string name, path;  // path empty for a day applied whose file has left the folder
    std::string state;       // "파일 미적용" or the check's message
    std::string day;         // yyyymmdd from the header, empty when unreadable
};
// The EB11 files of the exchange folder in name order, each with its state.
std::vector<Eb11FileEntry> ListEb11Files(Database& db, const SessionContext& session);

// The folder's files, then the applied days of `yyyy` whose file has left
// the folder (archived), newest first, with their answer state.
std::vector<Eb11FileEntry> ListEb11FilesAndDays(Database& db, const SessionContext& session,
                                                const std::string& yyyy);

// Years that have applied rows, newest first.
std::vector<std::string> Eb11Years(Database& db, const SessionContext& session);

// The applied rows of a day (yyyymmdd) in table order: kind, payer number
// (ten digits), bank code, account, ID number, result, date, channel, state.
std::vector<std::vector<std::string>> Eb11Detail(Database& db, const SessionContext& session,
                                                 const std::string& yyyymmdd);
std::vector<std::string> Eb11DetailColumns();

}  // namespace qx
