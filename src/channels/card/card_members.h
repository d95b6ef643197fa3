// The card member request (CMEM): members paid by card are registered with
// the card company, or cancelled, through one request per day. Members with
// unusable card data are put into the error state before the listing and are
// never listed; the request (detail rows, member states and the cdmem row) is
// written in one transaction.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "channels/card/card_request.h"
#include "db/business_days.h"

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kCardDataErrorText = "카드자릿수오류 또는 유효년월 오류";
inline constexpr const char* kCardMobileErrorText = "카드주휴대폰오류";
inline constexpr const char* kCardHolderMissingText = "빈값";
inline constexpr const char* kCardNoMembersText = "선택된 회원이 없습니다.";

// A card holder mobile the card company takes: 010, 011, 016, 017, 018 or
// 019 followed by 7 or 8 digits ('-' not counted).
bool CardMobileUsable(const std::string& mobile);
// Card number of at most 16 characters and an expiry of exactly 4.
bool CardDataUsable(const std::string& cardNo, const std::string& expiry);

// Puts new card members (state 0, remove 1) with unusable card data or
// mobile into state 2 with the reason; returns how many were moved.
long long MarkCardMemberErrors(Database& db, const SessionContext& session);

struct CardMemberTarget {
    long long member_inx = 0;
    std::string payerNumber;  // ten digits
    std::string name, company, inday, cardNo, holder, expiry;
    bool created = true;  // "신규", else "해지"
    std::string cmsError, cmsStatusText, cmsStatus, remove, mobile, email, goods;
    std::string memberName;  // username, for a missing holder name
};

const std::vector<std::string>& CardMemberColumns();
std::vector<std::string> CardMemberCells(const CardMemberTarget& row);

// Marks the errors, then lists the members to register or cancel, new ones
// first, by payer number; a branch or agency login sees its own members.
std::vector<CardMemberTarget> ListCardMemberTargets(Database& db, const SessionContext& session);

struct CardMemberResult {
    bool created = false;
    long long count = 0, news = 0, cancellations = 0;
    CivilDate date;  // today when the date given was in the past
    CardClosing closing;
};

// Creates the request of `date` from `rows` (as listed). Refused with its
// message and nothing written: a past date (reset to today), a request of
// that date, an empty list, or members changed since the listing.
CardMemberResult CreateCardMemberRequest(Database& db, SessionContext& session, Interaction& ui,
                                         CivilDate date, const std::vector<CardMemberTarget>& rows,
                                         const std::function<void()>& openSend = {});

}  // namespace qx
