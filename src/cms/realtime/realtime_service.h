// Real-time account services through the clearing-house library: an account
// holder inquiry, a debit registration (with its agreement evidence) and a
// debit cancellation, each recorded as one kftc_addserv row, answered at once
// and applied to the member at once; the results the clearing house kept,
// the program's own request history and the member search that fills a
// request. The KFTC screen and the command line drive it on the library
// session of a started KftcTransfer.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cms/transmission/kftc_transfer.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

enum class RealtimeKind { Inquiry = 50, Registration = 51, Cancellation = 52 };

inline constexpr const char* kRealtimeResultTitle = "CMS 실시간 부가서비스 결과";
inline constexpr const char* kRealtimeKindMissingText =
    "부가서비스 구분 값을 선택해주시기 바랍니다.";
inline constexpr const char* kRealtimeRequiredText = "부가서비스 필수정보를 입력해주시기 바랍니다.";
inline constexpr const char* kRealtimeAccountDigitsText =
    "계좌번호를 자릿수(최소 8자리 이상)에 맞게 입력해주시기 바랍니다.";
inline constexpr const char* kRealtimeHolderDigitsText =
    "예금주번호를 자릿수(사업자번호는 10자리, 생년월일은 6자리)에 맞게 입력해주시기 바랍니다.";
inline constexpr const char* kRealtimeBusyText =
    "같은 회원의 실시간 부가서비스 요청이 처리 중입니다. 잠시 후 요청내역을 확인해주시기 "
    "바랍니다.";
inline constexpr const char* kRealtimeMemberChangedText =
    "회원의 상태가 다른 작업에서 변경되어 실시간 부가서비스 결과를 회원에 반영하지 "
    "않았습니다.";

// The choice texts of the kinds ("계좌실명조회", "신규신청(출금이체신청등록)",
// "해지신청(출금이체해지등록)") and the list texts ("계좌조회", "출금이체신청", "출금해지").
std::string RealtimeKindChoiceText(RealtimeKind kind);
std::string RealtimeKindListText(RealtimeKind kind);
// "50", "51", "52" → the kind; nullopt otherwise.
std::optional<RealtimeKind> RealtimeKindOf(const std::string& code);

// The banks whose main code may be used for a registration, as listed to
// the person: "국민(004), …".
const std::vector<std::pair<std::string, std::string>>& RealtimeBanks();

struct RealtimeRequest {
    std::optional<RealtimeKind> kind;
    std::string bankCode;  // 3 digits, or the member's 7-digit code
    std::string accountNo;
    std::string holderId;     // 6-digit birth date or 10-digit business number
    std::string payerNumber;  // required for registration and cancellation
    std::string name;         // the member's name as shown ("고객명")
};

struct RealtimeOutcome {
    long long row = 0;  // the kftc_addserv row; 0 when refused before sending
    bool answered = false;
    std::string responseCode, responseText, registeredName;
    std::string postCmsStatus;
    bool memberChanged = false;
    std::string closing;  // "CMS 실시간 부가서비스 결과 (응답코드:…)"
};

struct RealtimeHistoryFilter {
    std::string cmsStatusBefore;  // kas_cms_status, empty = all
    std::string kind;             // 50/51/52, empty = all
    std::string cmsStatusAfter;   // kas_post_cms_status, empty = all
    std::string search;           // holder id, payer, external key or holder name
};

// What the member search looks in.
enum class RealtimeMemberField { Company, Name, Account, Payer, HolderId, ExtKey };

struct RealtimeMemberFilter {
    RealtimeMemberField field = RealtimeMemberField::Name;
    std::string text;
    std::string cmsStatus;  // empty = all
};

class RealtimeService {
  public:
    RealtimeService(Database& db, SessionContext& session, Interaction& ui, KftcTransfer& transfer);

    // The pause before the answer is fetched; tests pass one that returns.
    std::function<void(int ms)> pause;

    // The checks, the row, the calls and the member update. A refusal by
    // the checks shows its message and returns a zero row.
    RealtimeOutcome Request(const RealtimeRequest& request);
    // Results kept by the clearing house (dates yyyymmdd); nullopt after a
    // message.
    std::optional<KftcList> ResultList(std::optional<RealtimeKind> kind, const std::string& from,
                                       const std::string& to);
    KftcList History(const RealtimeHistoryFilter& filter);
    // Rows: company, name, account, bank name, bank code, holder id, payer,
    // CMS state text, member state text, external key (then hidden: remove,
    // cms_status, cms_agree_status).
    KftcList SearchMembers(const RealtimeMemberFilter& filter);

    // The folder the agreement evidence of a registration is taken from.
    std::string EvidenceFolder() const;
    // The evidence files of a payer: "<payer>_<YYYYMMDD>[_…].<ext>".
    std::vector<std::string> EvidenceFiles(long long payer) const;

  private:
    struct Member;
    std::optional<std::string> refusal(const RealtimeRequest& r, const Member* m,
                                       std::string& evidence);
    void apply(const RealtimeRequest& r, const Member& m, RealtimeOutcome& out);
    std::string cmsStatusText(const std::string& code);
    std::string bankName(const std::string& bank3);
    bool failed(int16_t code, RealtimeOutcome& out);

    Database& db_;
    SessionContext& s_;
    Interaction& ui_;
    KftcTransfer& transfer_;
};

}  // namespace qx
