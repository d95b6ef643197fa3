#include "messaging/messaging_db.h"

#include "platform/profile_ini.h"

namespace qx {

DbConfig MessagingDbConfig(const ProfileIni& ini) {
    const std::string host = ini.read("SYSTEM", "SMSDBIP", ini.read("SYSTEM", "DBCONNIP", ""));
    DbConfig config = DbConfig::FromServerEntry(
        host, ini.read("SYSTEM", "SMSDBUSER", ini.read("SYSTEM", "DBCONNUSER", "")),
        ini.read("SYSTEM", "SMSDBPW", ini.read("SYSTEM", "DBCONNPW", "")));
    config.defaultSchema = kMessagingSchema;
    // A messaging server that does not answer must not hold the window long.
    config.loginTimeoutSeconds = 3;
    return config;
}

MessagingDb::MessagingDb(DbConfig config) : config_(std::move(config)) {
    config_.defaultSchema = kMessagingSchema;
}

bool MessagingDb::ConnectMessagingDb(Interaction& ui) {
    if (db_.ConnectDatabase(config_)) return true;
    ui.inform("데이타베이스 연결 오류\r\n오류 정보 : " + db_.lastConnectError(), kDefaultTitle);
    return false;
}

long long MessagingDb::ExecuteMessagingSql(const std::string& sql, const SqlParams& params) {
    return db().ExecuteSql(sql, params);
}

Database& MessagingDb::db() {
    // A connection the server dropped is opened again before the statement;
    // when that fails the statement reports the failure itself.
    if (!db_.isOpen()) db_.ConnectDatabase(config_);
    return db_;
}

}  // namespace qx
