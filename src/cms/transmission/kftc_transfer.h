// The clearing-house transmission: sending the day's files, confirming and
// cancelling sends, receiving result files into the exchange folders, and
// the lists and notices the clearing house offers. The screen and the
// command line both drive this class; it talks to the person only through
// the Interaction.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cms/transmission/kftc_library.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kPleaseWait = "잠시만 기다려 주십시오.";
inline constexpr const char* kBadInstitutionCodeText =
    "잘못된 이용기관 코드입니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
inline constexpr const char* kInitJob = "금결원 송수신 초기화";
inline constexpr const char* kRealtimeRequestJob = "CMS 실시간 부가서비스 요청";
inline constexpr const char* kNoFileChosenText = "선택한 파일이 없습니다.";
inline constexpr const char* kAlreadySentText = "파일이 이미 송신되었습니다.";
inline constexpr const char* kAlreadySentByInstitutionText = "파일이 이미 기관송신 되었습니다.";
inline constexpr const char* kEb12AssembledText = "분해 조립이 완료되었습니다.";
inline constexpr const char* kUnreadableAnswerText =
    "금결원 응답을 해석할 수 없습니다. 쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";

// Where the list of an expired EB11's records was saved:
// "[EB110319] 기간 만료된 파일의 내역을 저장하였습니다." CRLF + the list's full path.
std::string ExpiredListSavedText(const std::string& file, const std::string& listPath);

// The 10-character partner identifier issued to the operator: KFTCPARTNER
// of Login.ini's [SYSTEM] in the program folder unless QUORISDEX_KFTC_PARTNER
// overrides it; the built-in one when neither is set.
std::string KftcPartnerId(const SessionContext& session);
// The real-time service table the screen works with: created when missing,
// and an older table's short result-code column widened to 20.
void EnsureKftcAddservTable(Database& db, long long inx);

// Where the client loads the library from: the program folder.
std::string KftcLibraryPath(const SessionContext& session);

// A list as the screen shows it.
struct KftcList {
    std::vector<std::string> headers;
    std::vector<int> widths;
    std::vector<int> alignments;
    std::vector<std::vector<std::string>> rows;
};

// Which received files the receivable list shows.
enum class ReceiveKind { All = 0, New = 1, Received = 2 };

class KftcTransfer {
  public:
    KftcTransfer(Database& db, SessionContext& session, Interaction& ui, KftcLibrary& lib);

    // Pauses between a send and its confirmation; the window pumps events
    // here, tests pass one that returns at once.
    std::function<void(int ms)> pause;

    // Institution code check and CP_CMSInit; false = the screen closes.
    bool Start();
    // CP_CMSLogout with the last result; safe to call twice.
    void Close();
    int16_t lastResult() const { return last_; }

    // Reports the last library failure; returns the library's text. A
    // failure of a real-time request is also stored in its kftc_addserv row.
    std::string ShowCmsError(const std::string& job);
    // The kftc_addserv row of the real-time request under way (0 = none).
    void setRealtimeRow(long long row) { realtimeRow_ = row; }
    KftcLibrary& library() { return lib_; }
    // Keeps the result of a real-time call as the last result.
    void noteResult(int16_t code) { last_ = code; }
    void SetFileSendStat(const std::string& table, const std::string& databaseName, int newValue,
                         int oldValue);

    // Sends each file (disk names, e.g. EB131204) in turn.
    void Send(const std::vector<std::string>& files);
    bool SendOne(const std::string& file);
    bool Cancel(const std::string& file, const std::string& fileDate);
    bool Receive(const std::string& file, const std::string& fileDate);
    bool ReceiveExpired(const std::string& file, const std::string& fileDate);
    // The full path of the Excel list the last ReceiveExpired wrote; empty
    // when it wrote none (the file was not received or its list failed).
    const std::string& expiredListPath() const { return expiredList_; }
    bool ReverseReceive(const std::string& file, const std::string& fileDate);
    bool DepositNotice(const std::string& file, const std::string& fileDate);
    bool MonthLimit(const std::string& yyyymm);

    // Lists from the clearing house (dates yyyymmdd); nullopt after a failure
    // the person has been told about.
    std::optional<KftcList> Notices();
    std::optional<KftcList> SendResults(const std::string& from, const std::string& to);
    std::optional<KftcList> Cancellable(const std::string& from, const std::string& to);
    std::optional<KftcList> ReverseReceivable(const std::string& from, const std::string& to);
    std::optional<KftcList> Receivable(const std::string& from, const std::string& to,
                                       ReceiveKind kind);
    // Files waiting in the exchange folders: to send (EB12, EB13, EB21, EI13)
    // and received (EB11, EB14, EB22).
    KftcList LocalSendList();
    KftcList LocalReceivedList();

  private:
    void busy(const std::string& text);
    void wait(int times, int ms);
    // The file's table and database name; empty table for EB12.
    std::string tableOf(const std::string& file) const;
    bool sentEffects(const std::string& file, const std::string& fileDate);
    std::optional<std::vector<std::vector<std::string>>> split(const CmsAnswer& a, size_t fields);
    std::optional<KftcList> fileList(const CmsAnswer& a, const std::string& job,
                                     const char* headers, const char* widths, const char* aligns,
                                     bool stateCodes);

    Database& db_;
    SessionContext& s_;
    Interaction& ui_;
    KftcLibrary& lib_;
    int16_t last_ = 0;
    bool open_ = false;
    std::string expiredList_;
    long long realtimeRow_ = 0;
};

}  // namespace qx
