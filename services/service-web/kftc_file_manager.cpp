// The KFTC file-manager page, opened with the institution number posted as
// "cominx": the institution and its latest EB13 and EB21 files.
#include <string>

#include "html.h"
#include "service_web.h"

namespace qx::web {

namespace {

std::string FileRows(Database& db, long long inx, const char* table) {
    auto rs = db.OpenRecordset(
        "select filename, from_unixtime(makedate,'%Y-%m-%d %H:%i') made, "
        "send_stat, pross_stat from " +
        InstitutionSchema(inx) + "." + table + " order by makedate desc limit 20");
    std::string rows;
    for (std::size_t i = 0; i < rs.size(); ++i) {
        const auto r = rs[i];
        rows += "<tr><td>" + HtmlEscape(r["filename"]) + "</td><td>" + HtmlEscape(r["made"]) +
                "</td><td>" + HtmlEscape(r["send_stat"]) + "</td><td>" +
                HtmlEscape(r["pross_stat"]) + "</td></tr>";
    }
    return rows;
}

}  // namespace

Reply KftcFileManager(ServiceDatabase& db, const Request& request) {
    const std::string cominx = request.param("cominx");
    if (cominx.empty() || cominx.size() > 10 ||
        cominx.find_first_not_of("0123456789") != std::string::npos) {
        return Reply::NotFound();
    }
    return db.run([&](Database& d) {
        auto company = d.OpenRecordset(
            "select inx, company, org_code from quorisdex.admin_company where inx=?", {cominx});
        if (company.empty()) return Reply::NotFound();
        const long long inx = company[0].asInt("inx");
        std::string body = "<h3>금결원 파일관리</h3><p>" + HtmlEscape(company[0]["company"]) +
                           " (" + HtmlEscape(company[0]["org_code"]) +
                           ")</p><table border=\"1\" cellpadding=\"4\"><tr><th>파일</th>"
                           "<th>생성</th><th>송신</th><th>처리</th></tr>";
        body += FileRows(d, inx, "ea13");
        body += FileRows(d, inx, "ea21");
        body += "</table>";
        return Reply::Html(HtmlPage("금결원 파일관리", body));
    });
}

}  // namespace qx::web
