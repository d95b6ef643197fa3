#include "db/database.h"

#include <soci/odbc/soci-odbc.h>
#include <soci/soci.h>
#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace qx {

namespace {

const std::string kEmpty;

std::string FormatTm(const std::tm& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

std::string FormatDouble(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

// SOCI rows are typed; convert each by its declared type.
std::string ValueText(const soci::row& r, std::size_t i) {
    switch (r.get_properties(i).get_data_type()) {
        case soci::dt_string:
        case soci::dt_xml:
        case soci::dt_blob:
            return r.get<std::string>(i);
        case soci::dt_integer:
            return std::to_string(r.get<int>(i));
        case soci::dt_long_long:
            return std::to_string(r.get<long long>(i));
        case soci::dt_unsigned_long_long:
            return std::to_string(r.get<unsigned long long>(i));
        case soci::dt_double:
            return FormatDouble(r.get<double>(i));
        case soci::dt_date:
            return FormatTm(r.get<std::tm>(i));
    }
    return {};
}

long long NativeCode(const std::exception& e) {
    if (auto* odbc = dynamic_cast<const soci::odbc_soci_error*>(&e)) {
        return odbc->native_error_code();
    }
    return 0;
}

std::string Description(const std::exception& e) {
    if (auto* odbc = dynamic_cast<const soci::odbc_soci_error*>(&e)) {
        return reinterpret_cast<const char*>(odbc->odbc_error_message());
    }
    if (auto* se = dynamic_cast<const soci::soci_error*>(&e)) return se->get_error_message();
    return e.what();
}

long long ParseInt(const std::string& s) {
    try {
        std::size_t used = 0;
        long long v = std::stoll(s, &used);
        return v;
    } catch (...) {
        return 0;
    }
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
    try {
        auto s = std::make_unique<soci::session>();
        soci::connection_parameters params(soci::odbc, config.connectionString());
        params.set_option(soci::odbc_option_driver_complete, "0");
        s->open(params);
        session_ = std::move(s);
        return true;
    } catch (const std::exception& e) {
        lastConnectError_ = e.what();
        session_.reset();
        return false;
    }
}

bool Database::isOpen() const {
    return session_ != nullptr && session_->is_connected();
}

void Database::close() {
    session_.reset();
}

soci::session& Database::session() {
    if (!session_) {
        throw DatabaseError(
            "데이타베이스 연결에 실패 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)\n> 오류 "
            "정보 "
            ": [0]not connected\n\n프로그램을 종료 합니다.",
            0, "not connected");
    }
    return *session_;
}

namespace {

struct Bound {
    std::vector<std::string> values;
    std::vector<soci::indicator> indicators;
    explicit Bound(const SqlParams& params) {
        values.reserve(params.size());
        indicators.reserve(params.size());
        for (const auto& p : params) {
            values.push_back(p.value);
            indicators.push_back(p.null ? soci::i_null : soci::i_ok);
        }
    }
    void bind(soci::details::prepare_temp_type& pt) {
        for (std::size_t i = 0; i < values.size(); ++i) pt, soci::use(values[i], indicators[i]);
    }
};

}  // namespace

Recordset Database::OpenRecordset(const std::string& sql, const SqlParams& params) {
    auto& s = session();
    try {
        Bound bound(params);
        soci::details::prepare_temp_type pt = (s.prepare << sql);
        bound.bind(pt);
        soci::rowset<soci::row> rows(pt);
        Recordset rs;
        bool first = true;
        for (const soci::row& r : rows) {
            if (first) {
                for (std::size_t i = 0; i < r.size(); ++i) {
                    rs.columns.push_back(r.get_properties(i).get_name());
                }
                first = false;
            }
            std::vector<std::string> vals(r.size());
            std::vector<bool> nulls(r.size());
            for (std::size_t i = 0; i < r.size(); ++i) {
                if (r.get_indicator(i) == soci::i_null) {
                    nulls[i] = true;
                } else {
                    vals[i] = ValueText(r, i);
                }
            }
            rs.values.push_back(std::move(vals));
            rs.nulls.push_back(std::move(nulls));
        }
        return rs;
    } catch (const DatabaseError&) {
        throw;
    } catch (const std::exception& e) {
        fail(sql, e);
    }
}

long long Database::ExecuteSql(const std::string& sql, const SqlParams& params) {
    auto& s = session();
    try {
        Bound bound(params);
        soci::details::prepare_temp_type pt = (s.prepare << sql);
        bound.bind(pt);
        soci::statement st(pt);
        st.execute(true);
        return st.get_affected_rows();
    } catch (const DatabaseError&) {
        throw;
    } catch (const std::exception& e) {
        fail(sql, e);
    }
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

void Database::fail(const std::string& sql, const std::exception& error) {
    const long long code = NativeCode(error);
    std::string description = Description(error);
    // Trim the driver's trailing line breaks so the message reads cleanly.
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r')) {
        description.pop_back();
    }
    (void)sql;
    if (transactionDepth_ > 0) {
        // Nothing of the failed unit may stay; the log line must survive it.
        try {
            session_->rollback();
        } catch (...) {
        }
        transactionDepth_ = 0;
    }
    try {
        if (!isOpen()) {
            ConnectDatabase(config_);
            WriteProcessLog("데이타베이스 연결 오류", 0);
        }
        WriteProcessLog("[" + std::to_string(code) + "]" + description, 0);
    } catch (...) {
        // The report below matters more than the log line.
    }
    throw DatabaseError(
        "데이타베이스 연결에 실패 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)\n> 오류 정보 : "
        "[" +
            std::to_string(code) + "]" + description + "\n\n프로그램을 종료 합니다.",
        code, description);
}

Database::Transaction::Transaction(Database& db) : db_(db) {
    if (db_.transactionDepth_++ == 0) db_.session().begin();
}

Database::Transaction::~Transaction() {
    if (done_) return;
    if (db_.transactionDepth_ > 0 && --db_.transactionDepth_ == 0 && db_.session_) {
        try {
            db_.session_->rollback();
        } catch (...) {
        }
    }
}

void Database::Transaction::commit() {
    if (done_) return;
    done_ = true;
    if (db_.transactionDepth_ > 0 && --db_.transactionDepth_ == 0) db_.session().commit();
}

std::string InstitutionSchema(long long inx) {
    return "tps_" + std::to_string(inx);
}

}  // namespace qx
