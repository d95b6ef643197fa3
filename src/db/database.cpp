// Plain ODBC underneath: every value is fetched with SQLGetData in as many
// pieces as it needs, so Korean text is never cut by a buffer sized in
// characters rather than bytes.
#include "db/database.h"

#include <sql.h>
#include <sqlext.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>

namespace qx {

namespace {

long long ParseInt(const std::string& s) {
    try {
        return std::stoll(s);
    } catch (...) {
        return 0;
    }
}

bool Ok(SQLRETURN r) {
    return r == SQL_SUCCESS || r == SQL_SUCCESS_WITH_INFO;
}

}  // namespace

struct Database::Handles {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;

    ~Handles() {
        if (connected) SQLDisconnect(dbc);
        if (dbc != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        if (env != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
};

namespace {

// The driver's own words for the last failure on a handle.
void Diagnose(SQLSMALLINT type, SQLHANDLE handle, long long& native, std::string& text) {
    SQLCHAR state[6] = {0};
    SQLINTEGER code = 0;
    SQLCHAR message[1024] = {0};
    SQLSMALLINT length = 0;
    if (Ok(SQLGetDiagRec(type, handle, 1, state, &code, message, sizeof message, &length))) {
        native = code;
        text.assign(reinterpret_cast<char*>(message));
    } else {
        native = 0;
        text = "unknown database error";
    }
}

// Statement handle freed on every path.
struct Statement {
    SQLHSTMT h = SQL_NULL_HSTMT;
    ~Statement() {
        if (h != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, h);
    }
};

bool IsIntegerType(SQLSMALLINT t) {
    return t == SQL_INTEGER || t == SQL_SMALLINT || t == SQL_TINYINT || t == SQL_BIGINT ||
           t == SQL_BIT;
}

bool IsFloatType(SQLSMALLINT t) {
    return t == SQL_DOUBLE || t == SQL_FLOAT || t == SQL_REAL;
}

}  // namespace

const std::string& Recordset::Row::operator[](std::size_t column) const {
    return owner->values.at(index).at(column);
}
const std::string& Recordset::Row::operator[](const std::string& column) const {
    return owner->values.at(index).at(owner->column(column));
}
bool Recordset::Row::isNull(const std::string& column) const {
    return owner->nulls.at(index).at(owner->column(column));
}
long long Recordset::Row::asInt(const std::string& column) const {
    return ParseInt((*this)[column]);
}
long long Recordset::Row::asInt(std::size_t column) const {
    return ParseInt((*this)[column]);
}

std::size_t Recordset::column(const std::string& name) const {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (strcasecmp(columns[i].c_str(), name.c_str()) == 0) return i;
    }
    throw std::out_of_range("no column " + name);
}

DbConfig DbConfig::FromServerEntry(const std::string& entry, std::string user,
                                   std::string password) {
    DbConfig c;
    c.user = std::move(user);
    c.password = std::move(password);
    std::string e = entry;
    e.erase(0, e.find_first_not_of(" \t"));
    e.erase(e.find_last_not_of(" \t") + 1);
    auto colon = e.rfind(':');
    if (colon != std::string::npos) {
        c.host = e.substr(0, colon);
        c.port = static_cast<int>(ParseInt(e.substr(colon + 1)));
    } else if (!e.empty()) {
        c.host = e;
    }
    return c;
}

std::string DbConfig::connectionString() const {
    // Braces keep a password with ';' or '}' from being read as another key.
    auto braced = [](const std::string& v) {
        std::string out = "{";
        for (char ch : v) {
            out += ch;
            if (ch == '}') out += '}';
        }
        return out + "}";
    };
    std::string s = "Driver={MariaDB ODBC 3.1 Driver};";
    if (!defaultSchema.empty()) s += "DATABASE=" + defaultSchema + ";";
    s += "SERVER=" + host;
    if (port > 0) s += ";PORT=" + std::to_string(port);
    s += ";UID=" + braced(user) + ";PWD=" + braced(password) + ";OPTION=3";
    return s;
}

Database::Database() = default;
Database::~Database() = default;

bool Database::ConnectDatabase(const DbConfig& config) {
    config_ = config;
    handles_.reset();
    auto h = std::make_unique<Handles>();
    if (!Ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h->env)) ||
        !Ok(SQLSetEnvAttr(h->env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3),
                          0)) ||
        !Ok(SQLAllocHandle(SQL_HANDLE_DBC, h->env, &h->dbc))) {
        lastConnectError_ = "ODBC environment could not be set up";
        return false;
    }
    SQLSetConnectAttr(
        h->dbc, SQL_ATTR_LOGIN_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(config.loginTimeoutSeconds)), 0);
    const std::string cs = config.connectionString();
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    SQLRETURN r =
        SQLDriverConnect(h->dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(cs.c_str())),
                         SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
    if (!Ok(r)) {
        long long native = 0;
        Diagnose(SQL_HANDLE_DBC, h->dbc, native, lastConnectError_);
        return false;
    }
    h->connected = true;
    handles_ = std::move(h);
    transactionDepth_ = 0;
    return true;
}

bool Database::isOpen() const {
    if (!handles_ || !handles_->connected) return false;
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (!Ok(SQLGetConnectAttr(handles_->dbc, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr))) {
        return true;
    }
    return dead != SQL_CD_TRUE;
}

void Database::close() {
    handles_.reset();
}

Database::Handles& Database::handles() {
    if (!handles_) fail({0, "not connected"});
    return *handles_;
}

long long Database::run(const std::string& sql, const SqlParams& params, Recordset* out) {
    Handles& h = handles();
    Statement st;
    Failure failure;
    auto failOn = [&](SQLSMALLINT type, SQLHANDLE handle) {
        Diagnose(type, handle, failure.native, failure.description);
        fail(failure);
    };
    if (!Ok(SQLAllocHandle(SQL_HANDLE_STMT, h.dbc, &st.h))) failOn(SQL_HANDLE_DBC, h.dbc);
    if (!Ok(SQLPrepare(st.h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                       static_cast<SQLINTEGER>(sql.size())))) {
        failOn(SQL_HANDLE_STMT, st.h);
    }
    // The buffers must live until the statement has run.
    std::vector<std::string> values;
    std::vector<SQLLEN> lengths(params.size());
    values.reserve(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        values.push_back(params[i].value);
        lengths[i] = params[i].null ? SQL_NULL_DATA : static_cast<SQLLEN>(values[i].size());
        const SQLULEN size = std::max<SQLULEN>(values[i].size(), 1);
        if (!Ok(SQLBindParameter(st.h, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                 SQL_C_CHAR, SQL_VARCHAR, size, 0, values[i].data(),
                                 static_cast<SQLLEN>(values[i].size()), &lengths[i]))) {
            failOn(SQL_HANDLE_STMT, st.h);
        }
    }
    SQLRETURN r = SQLExecute(st.h);
    if (!Ok(r) && r != SQL_NO_DATA) failOn(SQL_HANDLE_STMT, st.h);

    SQLLEN affected = 0;
    SQLRowCount(st.h, &affected);
    SQLSMALLINT columns = 0;
    SQLNumResultCols(st.h, &columns);
    if (!out || columns <= 0) return affected;

    std::vector<SQLSMALLINT> types(columns);
    std::vector<bool> unsignedColumn(columns);
    out->columns.resize(columns);
    for (SQLSMALLINT c = 0; c < columns; ++c) {
        SQLCHAR name[256] = {0};
        SQLSMALLINT nameLength = 0, decimals = 0, nullable = 0;
        SQLULEN size = 0;
        SQLDescribeCol(st.h, c + 1, name, sizeof name, &nameLength, &types[c], &size, &decimals,
                       &nullable);
        out->columns[c] = reinterpret_cast<char*>(name);
        SQLLEN isUnsigned = SQL_FALSE;
        SQLColAttribute(st.h, c + 1, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &isUnsigned);
        unsignedColumn[c] = isUnsigned == SQL_TRUE;
    }

    char chunk[4096];
    while (true) {
        r = SQLFetch(st.h);
        if (r == SQL_NO_DATA) break;
        if (!Ok(r)) failOn(SQL_HANDLE_STMT, st.h);
        std::vector<std::string> row(columns);
        std::vector<bool> nulls(columns);
        for (SQLSMALLINT c = 0; c < columns; ++c) {
            SQLLEN indicator = 0;
            if (IsIntegerType(types[c])) {
                // Fetched as numbers so that zero-filled keys read as plain numbers.
                if (unsignedColumn[c]) {
                    SQLUBIGINT v = 0;
                    r = SQLGetData(st.h, c + 1, SQL_C_UBIGINT, &v, sizeof v, &indicator);
                    if (Ok(r) && indicator != SQL_NULL_DATA) row[c] = std::to_string(v);
                } else {
                    SQLBIGINT v = 0;
                    r = SQLGetData(st.h, c + 1, SQL_C_SBIGINT, &v, sizeof v, &indicator);
                    if (Ok(r) && indicator != SQL_NULL_DATA) row[c] = std::to_string(v);
                }
            } else if (IsFloatType(types[c])) {
                double v = 0;
                r = SQLGetData(st.h, c + 1, SQL_C_DOUBLE, &v, sizeof v, &indicator);
                if (Ok(r) && indicator != SQL_NULL_DATA) {
                    char buf[64];
                    std::snprintf(buf, sizeof buf, "%.15g", v);
                    row[c] = buf;
                }
            } else {
                std::string value;
                while (true) {
                    r = SQLGetData(st.h, c + 1, SQL_C_CHAR, chunk, sizeof chunk, &indicator);
                    if (r == SQL_NO_DATA) break;
                    if (!Ok(r)) failOn(SQL_HANDLE_STMT, st.h);
                    if (indicator == SQL_NULL_DATA) break;
                    // Each piece ends with a NUL the driver added.
                    const std::size_t got = (indicator == SQL_NO_TOTAL ||
                                             indicator >= static_cast<SQLLEN>(sizeof chunk))
                                                ? sizeof chunk - 1
                                                : static_cast<std::size_t>(indicator);
                    value.append(chunk, got);
                    if (r == SQL_SUCCESS) break;
                }
                row[c] = std::move(value);
            }
            if (!Ok(r) && r != SQL_NO_DATA) failOn(SQL_HANDLE_STMT, st.h);
            nulls[c] = indicator == SQL_NULL_DATA;
        }
        out->values.push_back(std::move(row));
        out->nulls.push_back(std::move(nulls));
    }
    return affected;
}

Recordset Database::OpenRecordset(const std::string& sql, const SqlParams& params) {
    Recordset rs;
    run(sql, params, &rs);
    return rs;
}

long long Database::ExecuteSql(const std::string& sql, const SqlParams& params) {
    return run(sql, params, nullptr);
}

std::string Database::scalar(const std::string& sql, const SqlParams& params) {
    Recordset rs = OpenRecordset(sql, params);
    if (rs.empty() || rs.columns.empty()) return {};
    return rs.values[0][0];
}

long long Database::scalarInt(const std::string& sql, const SqlParams& params) {
    return ParseInt(scalar(sql, params));
}

long long Database::lastInsertId() {
    return scalarInt("select LAST_INSERT_ID()");
}

void Database::WriteProcessLog(const std::string& text, int code) {
    if (logSchema_.empty()) return;
    std::string cleaned = text;
    std::replace(cleaned.begin(), cleaned.end(), '\'', '^');
    ExecuteSql("insert into " + logSchema_ +
                   ".pross_log (`regdate`,`prosnum`,`prostxt`) values "
                   "(unix_timestamp(sysdate()), ?, ?)",
               {code, cleaned});
}

void Database::fail(const Failure& failure) {
    std::string description = failure.description;
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r')) {
        description.pop_back();
    }
    if (transactionDepth_ > 0) {
        // Nothing of the failed unit may stay; the log line must survive it.
        transactionDepth_ = 0;
        if (handles_) endTransaction(false);
    }
    // The log line goes through the same routines; when it fails in turn
    // (no pross_log, a read-only server) it is skipped, never logged again,
    // and the failure reported is the original one.
    if (!loggingFailure_) {
        loggingFailure_ = true;
        try {
            if (handles_ && !isOpen()) {
                ConnectDatabase(config_);
                WriteProcessLog("데이타베이스 연결 오류", 0);
            }
            if (handles_) {
                WriteProcessLog("[" + std::to_string(failure.native) + "]" + description, 0);
            }
        } catch (...) {
            // The report below matters more than the log line.
        }
        loggingFailure_ = false;
    }
    throw DatabaseError(
        "데이타베이스 연결에 실패 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)\n> 오류 정보 : "
        "[" +
            std::to_string(failure.native) + "]" + description + "\n\n프로그램을 종료 합니다.",
        failure.native, description);
}

void Database::setAutocommit(bool on) {
    SQLSetConnectAttr(handles().dbc, SQL_ATTR_AUTOCOMMIT,
                      reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0);
}

void Database::endTransaction(bool commit) {
    Handles& h = *handles_;
    SQLRETURN r = SQLEndTran(SQL_HANDLE_DBC, h.dbc, commit ? SQL_COMMIT : SQL_ROLLBACK);
    setAutocommit(true);
    if (commit && !Ok(r)) {
        Failure f;
        Diagnose(SQL_HANDLE_DBC, h.dbc, f.native, f.description);
        fail(f);
    }
}

Database::Transaction::Transaction(Database& db) : db_(db) {
    if (db_.transactionDepth_++ == 0) db_.setAutocommit(false);
}

Database::Transaction::~Transaction() {
    if (done_) return;
    if (db_.transactionDepth_ > 0 && --db_.transactionDepth_ == 0 && db_.handles_) {
        db_.endTransaction(false);
    }
}

void Database::Transaction::commit() {
    if (done_) return;
    done_ = true;
    if (db_.transactionDepth_ > 0 && --db_.transactionDepth_ == 0) db_.endTransaction(true);
}

std::string InstitutionSchema(long long inx) {
    return "tps_" + std::to_string(inx);
}

}  // namespace qx
