// The process's database connection and the statement routines every
// operation goes through. Values are always bound as parameters ('?' in the
// statement text), never pasted into it.
#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qx {

// One bound value. Numbers are passed as text; MariaDB converts them.
struct SqlParam {
    std::string value;
    bool null = false;
    SqlParam(std::string v) : value(std::move(v)) {}  // NOLINT: implicit on purpose
    SqlParam(const char* v) : value(v) {}             // NOLINT
    SqlParam(long long v) : value(std::to_string(v)) {}
    SqlParam(int v) : value(std::to_string(v)) {}
    SqlParam(long v) : value(std::to_string(v)) {}
    static SqlParam Null() {
        SqlParam p("");
        p.null = true;
        return p;
    }
};
using SqlParams = std::vector<SqlParam>;

// A result set read whole: static and read-only, as every screen expects.
class Recordset {
  public:
    struct Row {
        const Recordset* owner;
        std::size_t index;
        const std::string& operator[](std::size_t column) const;
        const std::string& operator[](const std::string& column) const;
        bool isNull(const std::string& column) const;
        long long asInt(const std::string& column) const;
        long long asInt(std::size_t column) const;
    };

    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> values;
    std::vector<std::vector<bool>> nulls;

    std::size_t size() const { return values.size(); }
    bool empty() const { return values.empty(); }
    Row row(std::size_t i) const { return Row{this, i}; }
    Row operator[](std::size_t i) const { return row(i); }
    // Index of a column by name (case-insensitive); throws when absent.
    std::size_t column(const std::string& name) const;
};

// Raised when a statement fails. `userMessage` is the text shown before the
// program ends; the statement's failure has already been logged.
class DatabaseError : public std::runtime_error {
  public:
    DatabaseError(std::string userMessage, long long nativeCode, std::string description)
        : std::runtime_error(userMessage),
          userMessage_(std::move(userMessage)),
          nativeCode_(nativeCode),
          description_(std::move(description)) {}
    const std::string& userMessage() const { return userMessage_; }
    long long nativeCode() const { return nativeCode_; }
    const std::string& description() const { return description_; }

  private:
    std::string userMessage_;
    long long nativeCode_;
    std::string description_;
};

struct DbConfig {
    std::string host = "127.0.0.1";
    int port = 0;  // 0 = driver default
    std::string user;
    std::string password;
    // Empty only for the operator's first run, before the shared schema exists.
    std::string defaultSchema = "quorisdex";
    // How long a connection attempt may take before it counts as failed.
    int loginTimeoutSeconds = 20;

    // "host" or "host:port" as written in SYSTEM/DBCONNIP.
    static DbConfig FromServerEntry(const std::string& entry, std::string user,
                                    std::string password);
    std::string connectionString() const;
};

inline constexpr const char* kConnectFailedMessage =
    "CMS 서버에 연결하지 못했습니다. 잠시후 다시 시도 하십시오.";

class Database {
  public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens the connection; false when it could not be opened.
    bool ConnectDatabase(const DbConfig& config);
    bool isOpen() const;
    const std::string& lastConnectError() const { return lastConnectError_; }
    void close();

    Recordset OpenRecordset(const std::string& sql, const SqlParams& params = {});
    // Returns the number of rows the statement changed.
    long long ExecuteSql(const std::string& sql, const SqlParams& params = {});
    // First column of the first row, empty when there is no row.
    std::string scalar(const std::string& sql, const SqlParams& params = {});
    long long scalarInt(const std::string& sql, const SqlParams& params = {});
    long long lastInsertId();

    // The institution schema whose pross_log receives failures and log lines;
    // empty until a login has chosen one.
    void setLogSchema(const std::string& schema) { logSchema_ = schema; }
    const std::string& logSchema() const { return logSchema_; }
    // Writes one line to pross_log; every "'" becomes "^" as stored logs expect.
    void WriteProcessLog(const std::string& text, int code);

    // All-or-nothing work; rolled back unless commit() is called.
    class Transaction {
      public:
        explicit Transaction(Database& db);
        ~Transaction();
        void commit();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;

      private:
        Database& db_;
        bool done_ = false;
    };

  private:
    struct Handles;
    struct Failure {
        long long native = 0;
        std::string description;
    };
    [[noreturn]] void fail(const Failure& failure);
    Handles& handles();
    // Runs one statement; fills `out` when it returns rows.
    long long run(const std::string& sql, const SqlParams& params, Recordset* out);
    void setAutocommit(bool on);
    void endTransaction(bool commit);

    std::unique_ptr<Handles> handles_;
    DbConfig config_;
    std::string logSchema_;
    std::string lastConnectError_;
    int transactionDepth_ = 0;
    bool loggingFailure_ = false;  // fail() is writing its log line
};

// Backquoted schema name for an institution number; the only way a schema
// name enters a statement.
std::string InstitutionSchema(long long inx);

}  // namespace qx
