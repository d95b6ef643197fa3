// Virtual accounts of members, taken from the shared pool kib.virinfo.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

// Banks whose virtual accounts a member may hold.
inline constexpr const char* kVirtualBanks[] = {"농협", "신한", "우리"};

inline constexpr const char* kVirtualAssignedText = "정상적으로 등록 하였습니다.";
inline constexpr const char* kVirtualSameBankText = "동일한 은행인 경우 추가등록 하실수 없습니다.";
inline constexpr const char* kVirtualHeldText =
    "이미 등록된 가상계좌가 있습니다. 등록된 가상계좌를 해지한 후 등록하십시오.";
inline constexpr const char* kVirtualTakenText =
    "가상계좌 번호가 이미 사용 중입니다. (가상계좌를 재조회 하십시오)";
inline constexpr const char* kVirtualUnknownText =
    "잘못된 가상계좌 번호 입니다. (가상계좌를 재 조회 하십시오)";
inline constexpr const char* kVirtualCancelQuestionText = "등록된 가상계좌를 해지 하시겠습니까?";

// The free account of `bank` with the lowest number for the institution;
// its r_inx, or nullopt.
std::optional<long long> FindFreeVirtualAccount(Database& db, const SessionContext& session,
                                                const std::string& bank);

// True when the institution's setting "가상계좌 등록방식" is "신규등록시
// 자동등록" (vir_prgcre 0): a new member gets an account at registration.
bool AssignsVirtualAccountOnRegistration(const SessionContext& session);

// The first of kVirtualBanks with a free account for the institution, or "".
std::string FirstBankWithFreeVirtualAccount(Database& db, const SessionContext& session);

// Hands the lowest free account of `bank` to the member without asking; to be
// run inside the caller's transaction. The account number, or nullopt when
// none is free (nothing written then).
std::optional<std::string> ClaimFreeVirtualAccount(Database& db, const SessionContext& session,
                                                   long long memberInx,
                                                   const std::string& memberName,
                                                   const std::string& bank);

// "사용가능한 [" + bank + "] 계좌가 없습니다."
std::string NoFreeVirtualAccountText(const std::string& bank);

// Throws std::invalid_argument for a bank no virtual account is held at.
void CheckVirtualBank(const std::string& bank);

// Gives the member the lowest free account of `bank` after the user's yes.
// Returns the account number, or nullopt after the refusing message.
std::optional<std::string> AssignVirtualAccount(Database& db, const SessionContext& session,
                                                Interaction& ui, long long memberInx,
                                                const std::string& bank, bool ask = true);

// Whether the member holds an account of the pool (assigned and not ended).
bool HoldsVirtualAccount(Database& db, const SessionContext& session, long long memberInx);

// Ends the member's virtual account after the user's yes (every account of
// the pool still held by the member, should there be more than one).
bool CancelVirtualAccount(Database& db, const SessionContext& session, Interaction& ui,
                          long long memberInx);

// Recipient name and amount check ('1'/'0') of the member's account; the
// change is logged as an important change.
bool SetVirtualAccountOptions(Database& db, const SessionContext& session, Interaction& ui,
                              long long memberInx, const std::string& recipient, bool checkAmount);

// Adds `count` free accounts of `bank` for the institution's schema,
// numbered from `firstNumber` on (demo and tests); a number the pool already
// holds at that bank is skipped. Returns the number added.
long long AddFreeVirtualAccounts(Database& db, const std::string& schema, const std::string& bank,
                                 long long firstNumber, int count);

}  // namespace qx
