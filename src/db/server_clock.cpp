#include "db/server_clock.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

std::string ReadServerDate(Database& db, SessionContext& s) {
    auto rs = db.OpenRecordset(
        "select date_format(n,'%y-%m-%d') d, date_format(n,'%y-%m-%d %H.%i.%s') dt, "
        "date_format(n,'%y-%m') m0, date_format(n - interval 1 month,'%y-%m') m1, "
        "date_format(n - interval 2 month,'%y-%m') m2 from (select NOW() n) t");
    auto r = rs[0];
    s.server_date = r["d"];
    // Written with '.' above only to keep ':' out of the statement text.
    std::string dt = r["dt"];
    for (auto& c : dt) {
        if (c == '.') c = ':';
    }
    s.server_datetime = dt;
    s.month_current = r["m0"];
    s.month_previous = r["m1"];
    s.month_before_previous = r["m2"];
    return s.server_date;
}

}  // namespace qx
