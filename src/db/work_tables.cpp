#include "db/work_tables.h"

#include "db/database.h"

namespace qx {

void EnsurePayerNumberTable(Database& db, long long inx) {
    db.ExecuteSql("CREATE TABLE IF NOT EXISTS " + InstitutionSchema(inx) +
                  ".cmsinx_list (`cl_inx` int unsigned NOT NULL auto_increment, "
                  "`cl_meminx` varchar(16) NOT NULL default '', "
                  "`cl_cmsinx` varchar(32) NOT NULL default '', PRIMARY KEY (`cl_inx`), "
                  "KEY `cl_meminx` (`cl_meminx`), KEY `cl_cmsinx` (`cl_cmsinx`)) "
                  "ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci");
}

}  // namespace qx
