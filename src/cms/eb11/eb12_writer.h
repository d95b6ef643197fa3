// The answer to an applied EB11 (EB12): the refused records returned with
// their result code, and the day marked answered once it has been sent.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kEb12Kind = "EB12";
inline constexpr const char* kEb12NoSelectionText = "선택한 EB11파일이 없습니다.";
inline constexpr const char* kEb12NotAppliedText = "해당일자에 EB12파일을 생성 할 수 없습니다.";
inline constexpr const char* kEb12ExistsText =
    "해당일자에 EB12파일이 이미 생성되어 있습니다. 재생성시 해당파일 삭제 후 다시 생성하시기 "
    "바랍니다.";
inline constexpr const char* kEb12NoOriginalText =
    "해당일자의 파일은 원본정보의 부족으로 12파일을 생성할 수 없습니다.";
inline constexpr const char* kEb12CannotMarkText = "해당일자에 EB12완료처리를 할 수 없습니다.";
inline constexpr const char* kEb12MarkedText = "파일 처리를 완료하였습니다.";

// One returned record: the received bytes (CP949) and its result.
struct Eb12Line {
    std::string original;  // 120 bytes as received
    std::string kind;      // "1", "3", "7"
    std::string resultChar, resultCode;
};

// The whole file, byte for byte. `yyyymmdd` is the EB11's day.
std::string Eb12Bytes(const std::string& orgCode, const std::string& yyyymmdd,
                      const std::vector<Eb12Line>& lines, const std::string& mac);

// Writes "EB12" + MMDD of the applied day `yyyymmdd` into the exchange
// folder; the path, or empty after the refusal shown.
std::string CreateEb12File(Database& db, const SessionContext& session, Interaction& ui,
                           const std::string& yyyymmdd);

// Marks the day's rows answered; false after the refusal shown.
bool MarkEb12Sent(Database& db, const SessionContext& session, Interaction& ui,
                  const std::string& yyyymmdd);

}  // namespace qx
