// The clearing house's real-time account services: holder inquiry, debit
// registration (after its evidence has arrived) and debit cancellation, each
// answered at once and kept for the institution's result list. The
// operator's rules decide the answers:
//   holder ACCOUNT NAME [ID]      the registered holder of an account (and
//                                 the holder id it must be asked with)
//   realtime-refuse KIND ACCOUNT CODE   kind 50/51/52 refused with CODE
#pragma once

#include <string>
#include <vector>

#include "center.h"

namespace center {

struct RealtimeRequest {
    std::string kind;  // 50, 51, 52
    std::string bank;  // 3-digit bank, or 7 digits
    std::string account;
    std::string payer;
    std::string holderId;
    std::string key;  // the institution's request key
};

struct RealtimeAnswer {
    std::string code;  // 4 characters, "0000" accepted
    std::string message;
    std::string holderName;  // inquiry only
};

// One kept result as the result list gives it.
struct RealtimeResult {
    std::string kind, date, bank, payer, account, holderId, code, message;
};

class RealtimeDesk {
  public:
    explicit RealtimeDesk(Center& center) : center_(center) {}

    // Keeps the evidence of a registration under its request key (once).
    Answer ReceiveEvidence(const std::string& org, const std::string& key,
                           const std::string& bytes);
    // Decides and keeps the answer of a request; a key is answered once.
    Answer Submit(const std::string& org, const RealtimeRequest& request);
    // The kept answer of a submitted request.
    Answer AnswerOf(const std::string& org, const std::string& key, RealtimeAnswer& out) const;
    std::vector<RealtimeResult> Results(const std::string& org, const std::string& kind,
                                        const std::string& from, const std::string& to) const;

  private:
    std::string folder(const std::string& org) const;
    Center& center_;
};

// The text the clearing house gives with a response code.
std::string RealtimeMessage(const std::string& code);

}  // namespace center
