// The left panel's view of the bank-received registrations (EB11): the last
// KFTC status text and the newest EB11 file with its row count.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

inline constexpr const char* kNoEb11File = "대상없음";
inline constexpr const char* kEb11Legend =
    "미수신 : [×], \r\n수신완료 : [○], \r\n적용완료 : [◎], \r\n처리완료 : [●], \r\n"
    "송신실패 : [△], \r\n기간만료 : [□], \r\n확인불가 : [※]";
inline constexpr const char* kEb11DetailQuestion = "금결원(KFTC)의 정보를 상세조회 하시겠습니까?";
inline constexpr const char* kEb11DetailTitle = "EB11 최근내역 조회";

struct Eb11Status {
    bool kftc = false;         // KFTC relay: the status text can be queried
    std::string caption;       // "금 결 원" or "효    성"
    std::string checkText;     // "마지막 조회시각 : " + stored text, or empty
    bool highlighted = false;  // the text holds a mark that needs attention
    std::string newestFile;    // "EB11mmdd [count]" or "대상없음"
};

Eb11Status LoadEb11Status(Database& db, const SessionContext& session);

// Keeps the result text of the KFTC status query for the panel.
void StoreEb11Check(Database& db, long long inx, const std::string& text);

// True when the status text holds one of the marks △ ◎ ○ ×.
bool Eb11NeedsAttention(const std::string& text);

}  // namespace qx
