// The latest service notices listed in the login window.
#pragma once

#include <string>
#include <vector>

namespace qx {

class Database;

struct Notice {
    std::string key;      // "TM" + running number
    std::string regdate;  // yy-mm-dd
    std::string subject;  // without bold tags
    std::string number;
};

std::vector<Notice> LoadNotices(Database& db);
// The body of one notice as stored by the board; empty when it is gone.
std::string LoadNoticeContent(Database& db, const std::string& number);
std::string StripBoldTags(std::string subject);
// subject + "[S]" + number of the newest notice, empty when there is none.
std::string NewestNoticeMark(const std::vector<Notice>& notices);

}  // namespace qx
