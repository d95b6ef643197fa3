#include "session/notices.h"

#include "db/database.h"

namespace qx {

std::string StripBoldTags(std::string subject) {
    for (const std::string tag : {"<b>", "</b>"}) {
        for (auto p = subject.find(tag); p != std::string::npos; p = subject.find(tag, p)) {
            subject.erase(p, tag.size());
        }
    }
    return subject;
}

std::vector<Notice> LoadNotices(Database& db) {
    auto rs = db.OpenRecordset(
        "SELECT `no`,`subject`,from_unixtime(`signdate`,'%y-%m-%d') regdate FROM "
        "quorisdex_old.quorboard1 ORDER BY no desc limit 6");
    std::vector<Notice> out;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        out.push_back({"TM" + std::to_string(i + 1), rs[i]["regdate"],
                       StripBoldTags(rs[i]["subject"]), rs[i]["no"]});
    }
    return out;
}

std::string LoadNoticeContent(Database& db, const std::string& number) {
    return db.scalar("select content from quorisdex_old.quorboard1 where no=?", {number});
}

std::string NewestNoticeMark(const std::vector<Notice>& notices) {
    if (notices.empty()) return {};
    return notices.front().subject + "[S]" + notices.front().number;
}

}  // namespace qx
