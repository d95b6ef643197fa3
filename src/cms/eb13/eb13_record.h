// The 120-byte records of an EB13 registration request file.
#pragma once

#include <string>

#include "db/business_days.h"

namespace qx {

struct Eb13Target;

inline constexpr const char* kEb13Kind = "EB13";

// One data record. `filePayerNumber` is the payer number as the clearing
// house knows it (translated for institutions with their own numbering).
std::string Eb13DataRecord(const Eb13Target& target, long long serial, const std::string& orgCode,
                           const CivilDate& fileDate, const std::string& filePayerNumber);

// The trailer: all, new and cancellation counts.
std::string Eb13Trailer(const std::string& orgCode, const CivilDate& fileDate, long long newCount,
                        long long cancelCount);

// The bank code as the request carries it: the bank's three digits, branch zeroed.
std::string Eb13BankCode(const std::string& bankCodeColumn);
// The account holder's number as the request carries it: a 13-digit (or
// longer) number is cut to its birth date.
std::string Eb13IdNumber(const std::string& accountJumin);

}  // namespace qx
