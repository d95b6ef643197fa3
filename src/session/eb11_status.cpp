#include "session/eb11_status.h"

#include "core/session_context.h"
#include "db/database.h"

namespace qx {

namespace {

std::string NewestFile(const Recordset& rs) {
    if (rs.empty()) return kNoEb11File;
    return rs[0][0] + " [" + rs[0][1] + "]";
}

bool TableExists(Database& db, const std::string& schema, const std::string& table) {
    return db.scalarInt(
               "select count(*) from information_schema.tables where table_schema=? and "
               "table_name=?",
               {schema, table}) > 0;
}

}  // namespace

bool Eb11NeedsAttention(const std::string& text) {
    for (const char* mark : {"△", "◎", "○", "×"}) {
        if (text.find(mark) != std::string::npos) return true;
    }
    return false;
}

Eb11Status LoadEb11Status(Database& db, const SessionContext& s) {
    Eb11Status out;
    if (s.cmsrunprg == 1) {
        out.kftc = true;
        out.caption = "금 결 원";
        const std::string text =
            db.scalar("SELECT eb11chk eb11pre FROM quorisdex.admin_company where inx = ?",
                      {s.institution_number});
        if (!text.empty()) out.checkText = "마지막 조회시각 : " + text;
        out.highlighted = Eb11NeedsAttention(text);
        out.newestFile = NewestFile(db.OpenRecordset(
            "SELECT concat('EB11',right(reg_date,4)), count(*) FROM " + s.schema() +
            ".file_ea11 group by reg_date order by reg_date desc limit 1"));
        return out;
    }
    out.caption = "효    성";
    // The relay's schema belongs to the relay; a server without it simply
    // has no bank-received registrations to show.
    if (!TableExists(db, "sdsi", "acnt_status_check")) {
        out.newestFile = kNoEb11File;
        return out;
    }
    out.newestFile = NewestFile(db.OpenRecordset(
        "SELECT concat('EB11',right(asc_reg_date,4)), count(*) FROM sdsi.acnt_status_check "
        "where asc_cominx = ? and (asc_pross_status='2' or asc_result='W') group by "
        "asc_reg_date order by asc_reg_date desc limit 1",
        {s.institution_number}));
    return out;
}

void StoreEb11Check(Database& db, long long inx, const std::string& text) {
    // The column holds 255 characters; a longer answer keeps its beginning.
    db.ExecuteSql("update quorisdex.admin_company set eb11chk=left(?,255) where inx=?",
                  {text, inx});
}

}  // namespace qx
