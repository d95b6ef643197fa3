#include "db/holidays.h"

#include <map>
#include <memory>

#include "db/database.h"

namespace qx {

HolidayLookup DatabaseHolidays(Database& db) {
    auto cache = std::make_shared<std::map<CivilDate, bool>>();
    return [&db, cache](const CivilDate& date) {
        auto found = cache->find(date);
        if (found != cache->end()) return found->second;
        const bool listed = db.scalarInt("select count(inday) from quorisdex.holiday where inday=?",
                                         {FormatDate(date)}) > 0;
        cache->emplace(date, listed);
        return listed;
    };
}

bool IsHoliday(Database& db, const CivilDate& date) {
    return IsHoliday(date, DatabaseHolidays(db));
}

}  // namespace qx
