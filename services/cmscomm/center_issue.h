// Files the center issues on its own (bank-received registrations, EB11):
// built here field by field, so that the operator command and the tests
// frame them the same way.
#pragma once

#include <string>
#include <vector>

namespace center {

inline constexpr size_t kEb11RecordTail = 101;  // bytes after the institution code
inline constexpr size_t kMacLength = 10;

// An EB11 for `org` dated yyyymmdd around `records` (each the part of a data
// record after the institution code, at most 101 bytes): header, numbered
// records, trailer with the counts (new 36-43, cancellations 52-59,
// arbitrary cancellations 60-67) and the MAC value in bytes 111-120. False
// with the reason when the date, a record or the MAC does not fit.
bool BuildEb11(const std::string& org, const std::string& date, const std::string& mac,
               const std::vector<std::string>& records, std::string& bytes, std::string& error);

}  // namespace center
