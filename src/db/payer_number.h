// Payer numbers as written to and read from the clearing-house files.
#pragma once

#include <string>
#include <unordered_map>

namespace qx {

class Database;
struct SessionContext;

enum class PayerNumberMode { Make, Apply };

// Make: member number -> number in the file; Apply: the reverse. Institutions
// with their own numbering look it up in cmsinx_list; otherwise (or when no
// row matches) the value is right-aligned with zeros to the payer-number length.
std::string TranslatePayerNumber(Database& db, const SessionContext& session,
                                 const std::string& value, PayerNumberMode mode);

// The "make" direction for many members at once: the institution's own
// numbers are read once instead of once per member.
class PayerNumberMaker {
  public:
    PayerNumberMaker(Database& db, const SessionContext& session);
    std::string operator()(const std::string& memberNumber) const;

  private:
    std::unordered_map<std::string, std::string> own_;
    int width_;
};

// Right-aligns with zeros to `width`; a longer value keeps its last `width` characters.
std::string PadPayerNumber(const std::string& value, int width);

}  // namespace qx
