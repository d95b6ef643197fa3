// The notice page of the notice window and the member boards of the
// board screen. Boards live in quorisdex_old, one table per board.
#include <string>

#include "html.h"
#include "service_web.h"

namespace qx::web {

namespace {

constexpr long long kNoSuchTable = 1146;

// Board names the client asks for; only these ever name a table.
const char* BoardTable(const std::string& act) {
    for (const char* name : {"quorboard1", "quorboard2", "quorboard3", "quorboard5"}) {
        if (act == name) return name;
    }
    return nullptr;
}

const char* BoardTitle(const std::string& act) {
    if (act == "quorboard1") return "공지사항";
    if (act == "quorboard5") return "FAQ";
    if (act == "quorboard2") return "게시판";
    return "자료실";
}

bool IsNumber(const std::string& text) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

// One entry as a page; 404 when there is no such entry. Subject and content
// are the board's own HTML, shown as the board stored them.
Reply EntryPage(ServiceDatabase& db, const std::string& table, const std::string& number) {
    if (!IsNumber(number)) return Reply::NotFound();
    auto rs = db.run([&](Database& d) {
        return d.OpenRecordset(
            "select `subject`, `content`, "
            "from_unixtime(`signdate`,'%Y-%m-%d') regdate from quorisdex_old." +
                table + " where `no`=?",
            {number});
    });
    if (rs.empty()) return Reply::NotFound();
    const auto row = rs[0];
    return Reply::Html(HtmlPage(row["subject"], "<h3>" + row["subject"] + "</h3><p>" +
                                                    HtmlEscape(row["regdate"]) + "</p><div>" +
                                                    row["content"] + "</div>"));
}

}  // namespace

Reply NoticePage(ServiceDatabase& db, const Request& request) {
    return EntryPage(db, "quorboard1", request.param("no"));
}

Reply BoardPage(ServiceDatabase& db, const Request& request) {
    const std::string act = request.param("act");
    const char* table = BoardTable(act);
    if (!table) return Reply::NotFound();
    if (!request.param("no").empty()) return EntryPage(db, table, request.param("no"));

    Recordset rs;
    try {
        rs = db.run([&](Database& d) {
            return d.OpenRecordset(std::string("select `no`, `subject`, "
                                               "from_unixtime(`signdate`,'%Y-%m-%d') regdate "
                                               "from quorisdex_old.") +
                                   table + " order by `no` desc limit 30");
        });
    } catch (const DatabaseError& e) {
        // A board that was never set up is an empty board.
        if (e.nativeCode() != kNoSuchTable) throw;
    }
    std::string body = "<h3>" + std::string(BoardTitle(act)) +
                       "</h3><table border=\"1\" cellpadding=\"4\">"
                       "<tr><th>번호</th><th>제목</th><th>날짜</th></tr>";
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto row = rs[i];
        body += "<tr><td>" + HtmlEscape(row["no"]) + "</td><td><a href=\"?act=" + act +
                "&amp;no=" + HtmlEscape(row["no"]) + "\">" + row["subject"] + "</a></td><td>" +
                HtmlEscape(row["regdate"]) + "</td></tr>";
    }
    if (rs.empty()) body += "<tr><td colspan=\"3\">등록된 글이 없습니다.</td></tr>";
    body += "</table>";
    return Reply::Html(HtmlPage(BoardTitle(act), body));
}

}  // namespace qx::web
