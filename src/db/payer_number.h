// Payer numbers as written to and read from the clearing-house files.
#pragma once

#include <string>

namespace qx {

class Database;
struct SessionContext;

enum class PayerNumberMode { Make, Apply };

// Make: member number -> number in the file; Apply: the reverse. Institutions
// with their own numbering look it up in cmsinx_list; otherwise (or when no
// row matches) the value is right-aligned with zeros to the payer-number length.
std::string TranslatePayerNumber(Database& db, const SessionContext& session,
                                 const std::string& value, PayerNumberMode mode);

// Right-aligns with zeros to `width`; a longer value keeps its last `width` characters.
std::string PadPayerNumber(const std::string& value, int width);

}  // namespace qx
