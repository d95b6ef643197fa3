// The automatic batch sale that precedes an EB21 file (popupEA21): members
// paid by CMS whose sales day has come, not yet billed this month by a batch
// or automatic sale, reconciled and booked in one run.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;
class Interaction;
struct SessionContext;

inline constexpr const char* kAutoSaleSettlingText =
    "매출 발생전 미수금 정리 중입니다. 잠시만 기다려 주십시오.";
inline constexpr const char* kAutoSaleBookingText = "매출 발생중입니다. 잠시만 기다려 주십시오.";
inline constexpr const char* kAutoSaleFailedText =
    "매출을 발생하던 중 오류가 발생 하였습니다.\n안전한 파일 생성을 위해 출금의뢰 창을 "
    "종료합니다.\n약 5~10분 후 파일 생성 작업을\n다시 실행해 주시기 바랍니다.\n\n이 오류가 "
    "자주 발생할 경우\n쿼리스CMS(0000-0000)로 문의주시기 바랍니다.";
inline constexpr const char* kAutoSaleDoneText =
    "매출발생완료 --> 파일생성화면으로 이동합니다. 잠시만 기다려 주십시오.";

// The two warning lines the dialog shows when the institution's
// ignorenonpay_use is 'Y'; none otherwise. `transferMonth` is "yyyy-mm".
std::vector<std::string> AutoSaleNotice(Database& db, const SessionContext& session,
                                        const std::string& transferMonth);

struct AutoSaleResult {
    bool done = false;   // false: stopped by the user or failed (the EB21 screen closes)
    bool asked = false;  // the user said yes
    long long run_key = 0, booked = 0, refused = 0;
    long long reconciled = 0;  // ledger rows whose outstanding amount was settled
};

// Bills the members whose sales day is `day` or earlier, booking on
// `bookingDate` ("yy-mm-dd").
AutoSaleResult RunAutoSale(Database& db, const SessionContext& session, Interaction& ui,
                           const std::string& webHost, int day, const std::string& bookingDate);

}  // namespace qx
