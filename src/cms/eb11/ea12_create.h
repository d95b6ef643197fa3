// Test institutions answer the clearing house's test file EA11 with an EA12
// whose refusals the user chooses: the first new and cancellation records,
// as many as asked, marked refused.
//
// EA11/EA12 records are 100 bytes: header 1 "H", 2-8 "0000000", 9-18
// institution code, 19-26 file name (kind + MMDD), 27-32 file date YYMMDD;
// data 1 "R", 2-8 serial, 9-18 institution code, 19-24 date, 25 kind ("1"
// new, "3"/"7" cancellation), 80-90 result ("NA017" and blanks in the
// answer); trailer 1 "T", 2-8 "9999999", 9-18 institution code, 19-26 file
// name, 27-34 data records, 35-42 new, 43-50 cancellations.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Interaction;
struct SessionContext;

inline constexpr int kEaRecordLength = 100;
inline constexpr const char* kEa11BadRecordText = "잘못된 승인의뢰(EA11)파일 입니다.";
inline constexpr const char* kEa11NameDateText = "파일명과 파일일자가 맞지 않습니다.";
inline constexpr const char* kEa11OtherInstitutionText = "이용기관코드가 다른파일입니다.";
inline constexpr const char* kEa12NoCountText = "신규/해지 생성건수는 1건 이상이어야 합니다.";
inline constexpr const char* kEa12TooManyNewText =
    "원본파일에 있는 신규회원수를 초과 할 수 없습니다.";
inline constexpr const char* kEa12TooManyCancelText =
    "원본파일에 있는 해지회원수를 초과 할 수 없습니다.";
inline constexpr const char* kEa12RefusalMark = "NA017      ";

struct Ea11Reading {
    std::string error;
    std::string header;                      // the 100 header bytes
    std::vector<std::string> news, cancels;  // data records by kind, in file order
    std::string yymmdd;
};
// Reads the EA11 at `path` and checks it against the institution.
Ea11Reading ReadEa11File(const SessionContext& session, const std::string& path);

// Writes "EA12" + MMDD into the EA12 exchange folder refusing the first
// `news` new and `cancels` cancellation records; the path, or empty after
// the refusal shown.
std::string CreateEa12File(const SessionContext& session, Interaction& ui,
                           const std::string& ea11Path, long long news, long long cancels);

}  // namespace qx
