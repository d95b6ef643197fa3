#include "card_company.h"

#include <fstream>
#include <sstream>

#include "db/business_days.h"
#include "db/database.h"

namespace relay {

std::vector<qx::CardDecline> ReadCardDeclines(const std::string& path) {
    std::vector<qx::CardDecline> out;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string verb, card;
        if (!(words >> verb >> card) || verb != "decline-card") continue;
        std::string message;
        std::getline(words, message);
        message.erase(0, message.find_first_not_of(' '));
        out.push_back({card, message});
    }
    return out;
}

int AnswerCardRuns(qx::Database& db, const std::vector<qx::CardDecline>& declines) {
    const auto day = qx::ParseDate(db.scalar("select date_format(curdate(),'%Y-%m-%d')"));
    if (!day) return 0;
    return qx::ApplyCardAnswers(db, *day, declines);
}

}  // namespace relay
