#include "member_generator.h"

#include <algorithm>

#include "db/database.h"

namespace qx::bench {

MemberMix TypicalMix(long long n) {
    MemberMix m;
    m.registered = n * 70 / 100;
    m.cancellations = n * 3 / 100;
    m.deleted = n * 2 / 100;
    m.cardPayers = n * 5 / 100;
    m.newApplications = n - m.registered - m.cancellations - m.deleted - m.cardPayers;
    return m;
}

namespace {

// Members `count` of one kind; names, banks and holder numbers vary with the
// sequence number so that no two rows are alike.
void Insert(Database& db, const std::string& schema, long long count, const std::string& remove,
            const std::string& cmsStatus, const std::string& settle) {
    for (long long done = 0; done < count;) {
        const long long chunk = std::min<long long>(50000, count - done);
        db.ExecuteSql(
            "insert into " + schema +
                ".member_user (username, client_company, payday, bank_code, account_no, "
                "account_name, account_jumin, remove, cms_status, settle_accounts, "
                "certificate_kind, signdate, pay_monthdefault) "
                "select concat(elt(1 + seq % 8,'김','이','박','최','정','강','조','윤'), "
                "elt(1 + (seq div 8) % 6,'민준','서연','지후','하은','도윤','수아'), seq), "
                "if(seq % 4 = 0, concat('한빛상사', seq % 100), ''), 1 + seq % 28, "
                "concat(elt(1 + seq % 6,'004','011','020','088','081','003'), "
                "lpad(seq % 10000, 4, '0')), lpad(seq * 7919 % 100000000000000, 14, '3'), "
                "concat('예금주', seq % 1000), "
                "elt(1 + seq % 3, lpad(seq % 1000000, 6, '8'), lpad(seq, 10, '1'), "
                "lpad(seq, 13, '9')), ?, ?, ?, '3', unix_timestamp('2026-01-01') + seq, "
                "10000 + (seq % 5) * 5000 from seq_1_to_" +
                std::to_string(chunk),
            {remove, cmsStatus, settle});
        done += chunk;
    }
}

}  // namespace

void GenerateMembers(Database& db, const std::string& schema, const MemberMix& m) {
    Insert(db, schema, m.newApplications, "1", "0", "1");
    Insert(db, schema, m.registered, "1", "3", "1");
    Insert(db, schema, m.cancellations, "2", "11", "1");
    Insert(db, schema, m.deleted, "4", "15", "1");
    Insert(db, schema, m.cardPayers, "1", "3", "5");
}

}  // namespace qx::bench
