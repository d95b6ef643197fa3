// The card payment request (CPAY): the billable items of card members, found
// and chosen as for the EB21 file (same preparation, grouping, exclusions
// and limits, with the card settings), plus the cancellations of earlier
// approved payments that were scheduled; and the cancellation selection
// that schedules them. A request is written in one transaction.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "channels/card/card_request.h"
#include "cms/eb21/eb21_targets.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCardPaymentKindText = "출금";
inline constexpr const char* kCardCancelKindText = "출금취소";
inline constexpr const char* kCardOverLimitText =
    "해당월의 총 출금액과 현재 출금예정액의 합계가 월출금한도를 초과 하였습니다.";
inline constexpr const char* kCardCancellationsAddingText = " 출금취소 파일 추가중";

// The listing's options with the card channel set.
Eb21Options CardPaymentOptions(Eb21Options options);

// The grid of the card payment request, in order; the rows are found by
// SearchEb21Targets with CardPaymentOptions (card number in accountNo,
// expiry in holderNumber, statement text in passbook).
const std::vector<std::string>& CardPaymentColumns();
std::vector<std::string> CardPaymentCells(const Eb21Row& row);

struct CardPaymentRequest {
    CivilDate date;
    std::vector<Eb21Row> rows;  // only selected rows are billed
    std::function<void()> openSend;
};

struct CardPaymentResult {
    bool created = false;
    long long payments = 0, paymentMoney = 0, cancellations = 0, cancelMoney = 0;
    CivilDate date;  // today when the date given was in the past
    CardClosing closing;
};

// Head office only. Refused with its message and nothing written: a past
// date (reset to today), a request of that date, nothing to bill nor
// cancel, the month's card limit passed, members changed since the search.
CardPaymentResult CreateCardPaymentRequest(Database& db, SessionContext& session, Interaction& ui,
                                           const CardPaymentRequest& request);

// Cancellation selection: approved payments of the request date `date`.
struct ApprovedPayment {
    long long cdp_inx = 0;
    std::string regDate, payerNumber, name, cardNo, approvalNo, title;
    long long amount = 0;
    std::string cancelStatus;  // 'N' or 'Y'
    // The member's, for the exclusion criteria.
    std::string cmsStatus, cmsError, inday, branchName, agencyName;
    long long branch_inx = 0, agency_inx = 0;
};
const std::vector<std::string>& ApprovedPaymentColumns();
std::vector<std::string> ApprovedPaymentCells(const ApprovedPayment& p);

// The payments as listing rows (the key cdp_inx in member_inx), so that the
// listing's exclusion criteria apply to them.
std::vector<Eb21Row> ApprovedPaymentRows(const std::vector<ApprovedPayment>& payments,
                                         bool selected);

// Approved payments of that day not yet scheduled (cancel_status 'N').
std::vector<ApprovedPayment> ListCancellationCandidates(Database& db, const SessionContext& session,
                                                        const CivilDate& date);
// "취소 예정 내역": every approved payment scheduled for cancellation.
std::vector<ApprovedPayment> ListScheduledCancellations(Database& db,
                                                        const SessionContext& session);

// "취소내역 추가" / "취소내역 제거": only approved payments move, and only
// from 'N' to 'Y' or back (a payment already written into a request stays
// 'C'). Returns how many moved; tells the count and asks the way back,
// whose answer lands in `closeScreen`.
long long ScheduleCancellations(Database& db, const SessionContext& session, Interaction& ui,
                                const std::vector<long long>& cdpInx, bool* closeScreen = nullptr);
long long UnscheduleCancellations(Database& db, const SessionContext& session, Interaction& ui,
                                  const std::vector<long long>& cdpInx,
                                  bool* closeScreen = nullptr);

}  // namespace qx
