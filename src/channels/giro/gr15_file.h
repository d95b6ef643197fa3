// The OCR giro receipt statement (GR15) the bank network reports the day's
// giro payments in: 120-byte CP949 records back to back, a header "11", data
// records "22" and a trailer "33". Positions are 1-based bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

inline constexpr int kGr15RecordLength = 120;

inline constexpr const char* kGr15NameText = "처리불가능한 파일입니다.";
inline constexpr const char* kGr15AppliedText = "이미 처리한 파일입니다.";
inline constexpr const char* kGr15UnknownRecordText =
    "알수없는 데이타가 포함되어 있습니다.\n파일 다운로드시 LF 또는 CR 을 제외 하고 받으셔야 "
    "합니다.";
inline constexpr const char* kGr15OtherInstitutionText = "이용기관코드가 다른 파일입니다.";
inline constexpr const char* kGr15OtherDateText = "이체일자가 파일명과 다릅니다.";
inline constexpr const char* kGr15NoDataText = "처리데이타가 0건 입니다.(처리불가)";
inline constexpr const char* kGr15CountText = "데이타 건수가 일치 하지 않습니다.";
inline constexpr const char* kGr15OpenTitle = "OCR지로 수납명세서(GR15) 파일 열기";
inline constexpr const char* kGr15Filter = "GR15*.*";

// Header: the institution's giro code from byte 5 (a giro number has seven
// digits) and the transfer date YYMMDD at byte 20.
inline constexpr int kGr15GiroCodeStart = 5;
inline constexpr int kGr15GiroCodeLength = 7;
inline constexpr int kGr15HeaderDateStart = 20;

// One data record as read.
struct Gr15Payment {
    long long seq_num = 0;
    std::string wondate;        // receipt date yyyymmdd
    std::string filedate;       // transfer date yyyymmdd
    std::string bank_code;      // receiving branch
    std::string bank_code_ext;  // handling branch
    std::string giro_idx;
    std::string giro_no;  // customer inquiry number as written
    long long amount = 0;
    char receipt_kind = ' ';
    long long fee = 0;
    char processing_kind = ' ';  // ' ' booked, 'R' and 'A' shown only
};

// The trailer's figures, kept with the applied file.
struct Gr15Totals {
    long long count = 0, amount = 0, fee = 0, deduction = 0, total = 0;
};

struct Gr15File {
    std::string error;   // why the file is refused; empty when it may be applied
    std::string name;    // "GR15" + YYMMDD, as recorded in gr15
    std::string yymmdd;  // the date part of the name
    std::vector<Gr15Payment> payments;
    Gr15Totals totals;
};

// Texts of the receipt kind (byte 85) and the processing kind (byte 90);
// empty for a character that is neither.
std::string Gr15ReceiptKindText(char kind);
std::string Gr15ProcessingKindText(char kind);

// "GR15" + the date part of a file name (without folder), or empty when the
// name is not one of a receipt statement.
std::string Gr15NameOf(const std::string& fileName);

// Checks every record of `bytes`, the content of the file called `fileName`,
// for the institution whose giro code is `giroCode`.
Gr15File ParseGr15(std::string_view bytes, const std::string& fileName,
                   const std::string& giroCode);
// The same for the file at `path`; an unreadable file is refused.
Gr15File ReadGr15File(const std::string& path, const std::string& giroCode);

// The grid of the opening screen: columns and widths (twips), and one row
// per payment with the kinds as texts and su_stat in the hidden last column.
std::vector<std::string> Gr15GridColumns();
std::vector<int> Gr15GridWidths();
std::vector<std::vector<std::string>> Gr15GridRows(const Gr15File& file);

}  // namespace qx
