// The card company's answer to a card request, applied to the institution:
// every detail row accepted or refused, the members moved on, the approved
// payments booked as collections and the successful cancellations reversed,
// the request's counts and amounts filled in and the run marked received.
// The relay stand-in decides by the rules below and applies the answer in
// one transaction per request, so that a request is applied exactly once
// even with two agents or an agent killed half-way.
#pragma once

#include <string>
#include <vector>

#include "db/business_days.h"

namespace qx {

class Database;

inline constexpr const char* kCardCollectionTitle = "신용카드결제";
inline constexpr const char* kCardNumberRefusedText = "카드번호오류";
inline constexpr const char* kCardExpiredText = "유효기간만료";
inline constexpr const char* kCardAmountRefusedText = "승인금액오류";
inline constexpr const char* kCardCancelRefusedText = "취소불가(원승인내역없음)";
inline constexpr const char* kCardAcceptedText = "정상처리";

// Cards the card company refuses, with the text it gives.
struct CardDecline {
    std::string cardNo, message;
};

// Why the card company refuses a card on `day` (empty: it accepts): a
// number not of 14 to 16 digits, an expiry (YYMM) that is no month or lies
// before the day's month, or a declined card.
std::string CardRefusal(const std::string& cardNo, const std::string& expiry, const CivilDate& day,
                        const std::vector<CardDecline>& declines);

// The approval number of an approved payment: eight digits from its row.
std::string CardApprovalNumber(long long cdpInx);

enum class CardApplyOutcome {
    Applied,  // the answer is in the institution's tables, the run at 7
    Taken,    // another agent had it, or it is no longer at 5: nothing done
    Refused,  // no such institution or open request: the run at 8, err_msg says why
};

struct CardApplied {
    CardApplyOutcome outcome = CardApplyOutcome::Taken;
    std::string filename, message;
};

// Applies the answer to the card run `runKey` of aegis.filerun, which must
// be at 5 (taken by the relay). `day` is the answer's day (collections are
// dated by it).
CardApplied ApplyCardAnswer(Database& db, long long runKey, const CivilDate& day,
                            const std::vector<CardDecline>& declines);

// Every taken card run, in order; returns how many were applied.
int ApplyCardAnswers(Database& db, const CivilDate& day, const std::vector<CardDecline>& declines);

}  // namespace qx
