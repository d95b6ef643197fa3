// The card company the relay agent plays: after the relay has taken a card
// run, the answer to the request is decided and applied (domain code in
// channels/card). Rules file lines "decline-card <card number> <message…>"
// make the card company refuse that card.
#pragma once

#include <string>
#include <vector>

#include "channels/card/card_results.h"

namespace qx {
class Database;
}

namespace relay {

std::vector<qx::CardDecline> ReadCardDeclines(const std::string& path);

// Answers every taken card run, dated by the server's day; returns how many.
int AnswerCardRuns(qx::Database& db, const std::vector<qx::CardDecline>& declines);

}  // namespace relay
