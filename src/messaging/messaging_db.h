// The second, separate connection of a send screen: the messaging database
// `bizclient`, whose BIZ_MSG rows the messaging agent delivers. Its server
// and account are Login.ini keys of section SYSTEM: SMSDBIP ("host" or
// "host:port"), SMSDBUSER, SMSDBPW; a missing key takes the value of the
// institution database's DBCONNIP, DBCONNUSER or DBCONNPW.
#pragma once

#include <string>

#include "db/database.h"
#include "platform/interaction.h"

namespace qx {

class ProfileIni;

inline constexpr const char* kMessagingSchema = "bizclient";

// Server and account of the messaging database as Login.ini names them.
DbConfig MessagingDbConfig(const ProfileIni& ini);

class MessagingDb {
  public:
    explicit MessagingDb(DbConfig config);

    // Opens the connection. On failure
    // shows "데이타베이스 연결 오류" with the driver's words and returns false;
    // the screen then shows kSmsServerUnreachableText and closes.
    bool ConnectMessagingDb(Interaction& ui);
    // One statement on the messaging connection, reconnecting first when it
    // was closed. A failure throws DatabaseError, as on the main connection.
    long long ExecuteMessagingSql(const std::string& sql, const SqlParams& params = {});
    bool isOpen() const { return db_.isOpen(); }
    void close() { db_.close(); }
    // The connection itself, for reads and transactions.
    Database& db();

  private:
    DbConfig config_;
    Database db_;
};

}  // namespace qx
