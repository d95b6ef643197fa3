// The 150-byte records of an EB21 withdrawal request file and the passbook
// texts written into them.
#pragma once

#include <string>
#include <vector>

#include "db/business_days.h"

namespace qx {

inline constexpr const char* kEb21Kind = "EB21";
inline constexpr int kPassbookCharacters = 8;

// A passbook text as the record carries it: trimmed, padded with blanks to
// eight characters, cut to eight and turned into full-width characters (16
// CP949 bytes). Hangul is kept whole; `upper` upper-cases Latin letters first.
std::string PassbookText(const std::string& text, bool upper = false);

// The institution's passbook texts: the default (account_title, upper-cased)
// and the alternatives of cms_print, numbered from 1.
struct PassbookTexts {
    std::string fallback;
    std::vector<std::string> alternatives;
    PassbookTexts(const std::string& accountTitle, const std::string& cmsPrint);
    // By the member's cms_printkey: '0' or anything unknown gives the default.
    const std::string& forKey(const std::string& printKey) const;
};

// The extra text on the passbook line: the first `keep` characters (six on a
// passbook, four on a card statement; full-width blanks removed) followed by
// two digits (the sale month or the instalment).
std::string PassbookWithNumber(const std::string& passbook, long long number, std::size_t keep = 6);

// The account holder number as written: the stored number when it has at
// most ten characters, otherwise its first six.
std::string Eb21HolderNumber(const std::string& accountJumin);

struct Eb21Record {
    long long serial = 0;
    std::string bankCode;  // seven digits
    std::string accountNo;
    long long amount = 0;
    std::string holderNumber;  // as written
    std::string passbook;      // full-width, as written
    std::string payerNumber;   // as the clearing house knows it
    std::string amountKind;    // "1" full, "2" partial
    std::string cashReceipt;   // empty when not used
};

std::string Eb21Header(const std::string& orgCode, const CivilDate& fileDate,
                       const std::string& bankCode, const std::string& accountCode);
std::string Eb21DataRecord(const Eb21Record& record, const std::string& orgCode);
std::string Eb21Trailer(const std::string& orgCode, const CivilDate& fileDate, long long count,
                        long long total);

}  // namespace qx
