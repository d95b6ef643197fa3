// Applying a GR15 receipt statement: its rows stored, matched to the giro
// members by their customer inquiry number, one collection booked per
// member, the file recorded. All of it commits together or not at all.
#pragma once

#include <optional>
#include <string>

#include "channels/giro/gr15_file.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr int kGr15LogCode = 7;
inline constexpr const char* kGr15UnmatchedText = "미등록 고객조회번호";
inline constexpr const char* kGr15AppliedDoneText = "파일내역을 정상 적용 하였습니다.";
inline constexpr const char* kGr15CollectionTitle = "OCR지로";
inline constexpr const char* kGr15CollectionItem = "OCR지로수납";
// Data rows per insert statement.
inline constexpr std::size_t kGr15InsertBatch = 100;

// The tables of this channel, created when missing and brought to the
// current layout. Runs outside any transaction (it may change the layout).
void EnsureGr15Tables(Database& db, const SessionContext& session);

// True when a file of this name ("GR15" + YYMMDD) has been applied.
bool Gr15Applied(Database& db, const SessionContext& session, const std::string& name);

// Opens the file the user chose: its name, whether it was applied, every
// record. Tells the user why it cannot be applied and returns nullopt, or
// returns the file after showing how many rows it holds.
std::optional<Gr15File> OpenGr15File(Database& db, const SessionContext& session, Interaction& ui,
                                     const std::string& path);

struct Gr15ApplyResult {
    bool applied = false;
    long long stored = 0;     // data rows kept
    long long members = 0;    // collections booked, one per member
    long long booked = 0;     // their amount
    long long unmatched = 0;  // rows marked 'X'
};

// Asks, then applies `file` (read by OpenGr15File) in one transaction. The
// file is claimed first, so a second desk applying the same file at the
// same moment waits and is then refused with "이미 처리한 파일입니다.".
Gr15ApplyResult ApplyGr15File(Database& db, const SessionContext& session, Interaction& ui,
                              const Gr15File& file);

}  // namespace qx
