#include "db/schema_check.h"

#include "db/database.h"

namespace qx {

bool SchemaExists(Database& db, long long inx) {
    return db.scalarInt("select count(*) from information_schema.schemata where schema_name=?",
                        {InstitutionSchema(inx)}) > 0;
}

}  // namespace qx
