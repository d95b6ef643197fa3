// The main window's one-line view of the bank-received registrations (EB11)
// at the clearing house: which EB11 files it lists for the last days, how
// far the newest has come here (received, applied, answered by EB12).
#pragma once

#include <optional>
#include <string>

namespace qx {

class Database;
class Interaction;
class KftcLibrary;
struct SessionContext;

inline constexpr const char* kEb11SummaryJob = "EB11 요약 조회중 입니다.";
// Days before today the summary looks back over.
inline constexpr int kEb11SummaryDays = 7;

// The mark of one EB11 file from its receive code at the clearing house, the
// rows of that date here (not yet answered / answered) and whether the
// clearing house holds the EB12 answer of that date.
std::string Eb11Mark(const std::string& receiveCode, long long unanswered, long long answered,
                     bool eb12Held);

// Opens a session, reads the list and returns "hh:nn:ss" + mark + "[" +
// rows still unanswered + "] EB11" + MMDD for the newest EB11 file, or
// "hh:nn:ss 대상없음"; nullopt when the session or the list failed (the
// person has been told).
std::optional<std::string> KftcEb11Summary(Database& db, SessionContext& session, Interaction& ui,
                                           KftcLibrary& lib);

}  // namespace qx
