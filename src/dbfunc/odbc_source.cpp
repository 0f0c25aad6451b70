// External data sources over unixODBC's call-level interface.
#include "dbfunc/odbc_source.h"

#include <sql.h>
#include <sqlext.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>

#include "state/report_buffer.h"

namespace torv::dbfunc {

namespace {

SQLCHAR* sqlText(const std::string& s) {
    // The driver manager only reads statement and name arguments.
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
}

/// The driver's diagnostic records of a handle, a few at most.
std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle, const char* call) {
    std::string out;
    for (SQLSMALLINT i = 1; i <= 4; ++i) {
        std::array<SQLCHAR, 6> state{};
        std::array<SQLCHAR, 1024> text{};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRec(type, handle, i, state.data(), &native, text.data(),
                                           static_cast<SQLSMALLINT>(text.size()), &length);
        if (!SQL_SUCCEEDED(rc)) break;
        if (!out.empty()) out += '\n';
        out += reinterpret_cast<const char*>(text.data());
        out += " (SQLSTATE ";
        out += reinterpret_cast<const char*>(state.data());
        out += ')';
    }
    if (out.empty()) out = std::string(call) + " failed without a diagnostic";
    return out;
}

/// One ODBC handle, freed when the object goes.
class Handle {
public:
    Handle() = default;
    Handle(SQLSMALLINT type, SQLHANDLE h) : type_(type), h_(h) {}
    Handle(Handle&& o) noexcept : type_(o.type_), h_(std::exchange(o.h_, nullptr)) {}
    Handle& operator=(Handle&& o) noexcept {
        std::swap(type_, o.type_);
        std::swap(h_, o.h_);
        return *this;
    }
    ~Handle() {
        if (h_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, h_);
    }
    SQLHANDLE get() const { return h_; }
    SQLSMALLINT type() const { return type_; }
    Failure failure(const char* call) const { return {diagnostics(type_, h_, call)}; }

private:
    SQLSMALLINT type_ = SQL_HANDLE_ENV;
    SQLHANDLE h_ = SQL_NULL_HANDLE;
};

Result<Handle> allocate(SQLSMALLINT type, const Handle* parent) {
    SQLHANDLE h = SQL_NULL_HANDLE;
    const SQLRETURN rc = SQLAllocHandle(type, parent ? parent->get() : SQL_NULL_HANDLE, &h);
    if (!SQL_SUCCEEDED(rc)) {
        if (parent) return parent->failure("SQLAllocHandle");
        return Failure{"The ODBC driver manager could not allocate an environment"};
    }
    return Handle(type, h);
}

Result<Handle> environment() {
    auto env = allocate(SQL_HANDLE_ENV, nullptr);
    if (auto* h = std::get_if<Handle>(&env)) {
        const SQLRETURN rc = SQLSetEnvAttr(h->get(), SQL_ATTR_ODBC_VERSION,
                                           reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        if (!SQL_SUCCEEDED(rc)) return h->failure("SQLSetEnvAttr");
    }
    return env;
}

constexpr const char* kErrorLoading = "<Error loading>";
constexpr const char* kBinaryData = "<Binary data>";

/// A whole character cell, read in pieces so that no length limits it.
/// nullopt for NULL; "<Error loading>" when the driver cannot give it.
Cell readText(SQLHSTMT stmt, SQLUSMALLINT column) {
    std::array<char, 8192> chunk{};
    std::string out;
    for (;;) {
        SQLLEN indicator = 0;
        const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_CHAR, chunk.data(),
                                        static_cast<SQLLEN>(chunk.size()), &indicator);
        if (rc == SQL_NO_DATA) return out;
        if (!SQL_SUCCEEDED(rc)) return std::string(kErrorLoading);
        if (indicator == SQL_NULL_DATA) return std::nullopt;
        const bool fits = indicator != SQL_NO_TOTAL && indicator >= 0 &&
                          static_cast<std::size_t>(indicator) < chunk.size();
        if (fits) {
            out.append(chunk.data(), static_cast<std::size_t>(indicator));
            return out;
        }
        out.append(chunk.data(), chunk.size() - 1);   // less its terminating NUL
    }
}

Cell readBinary(SQLHSTMT stmt, SQLUSMALLINT column) {
    std::array<unsigned char, 16> probe{};
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(stmt, column, SQL_C_BINARY, probe.data(),
                                    static_cast<SQLLEN>(probe.size()), &indicator);
    if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc)) return std::string(kErrorLoading);
    if (rc != SQL_NO_DATA && indicator == SQL_NULL_DATA) return std::nullopt;
    return std::string(kBinaryData);
}

/// Reals are shown in the system's own number form whatever the driver wrote.
Cell readReal(SQLHSTMT stmt, SQLUSMALLINT column) {
    Cell text = readText(stmt, column);
    if (!text || text->empty()) return text;
    double v = 0;
    const char* end = text->data() + text->size();
    auto [p, ec] = std::from_chars(text->data(), end, v);
    if (ec == std::errc{} && p == end && std::isfinite(v)) return reports::formatReal(v);
    return text;
}

enum class Kind { Text, Real, Binary };

Kind kindOf(SQLSMALLINT sqlType) {
    switch (sqlType) {
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return Kind::Real;
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return Kind::Binary;
    default:
        // Characters, integers, bits, decimals, dates and times: as the
        // driver writes them.
        return Kind::Text;
    }
}

class OdbcCursor : public Cursor {
public:
    OdbcCursor(Handle stmt, std::vector<Kind> kinds) : stmt_(std::move(stmt)), kinds_(std::move(kinds)) {}

    Result<std::optional<Row>> fetch() override {
        if (kinds_.empty()) return std::optional<Row>{};   // not a query: no rows
        const SQLRETURN rc = SQLFetch(stmt_.get());
        if (rc == SQL_NO_DATA) return std::optional<Row>{};
        if (!SQL_SUCCEEDED(rc)) return stmt_.failure("SQLFetch");
        Row row;
        row.reserve(kinds_.size());
        for (std::size_t i = 0; i < kinds_.size(); ++i) {
            const auto column = static_cast<SQLUSMALLINT>(i + 1);
            switch (kinds_[i]) {
            case Kind::Text: row.push_back(readText(stmt_.get(), column)); break;
            case Kind::Real: row.push_back(readReal(stmt_.get(), column)); break;
            case Kind::Binary: row.push_back(readBinary(stmt_.get(), column)); break;
            }
        }
        return std::optional<Row>(std::move(row));
    }

private:
    Handle stmt_;
    std::vector<Kind> kinds_;
};

class OdbcConnection : public Connection {
public:
    OdbcConnection(Handle env, Handle dbc) : env_(std::move(env)), dbc_(std::move(dbc)) {}
    ~OdbcConnection() override { SQLDisconnect(dbc_.get()); }

    Result<std::vector<std::string>> tables() override {
        auto stmt = allocate(SQL_HANDLE_STMT, &dbc_);
        if (auto* f = std::get_if<Failure>(&stmt)) return *f;
        Handle& s = std::get<Handle>(stmt);
        const std::string any = "%";
        const std::string type = "TABLE";
        SQLRETURN rc = SQLTables(s.get(), nullptr, 0, nullptr, 0, sqlText(any), SQL_NTS, sqlText(type), SQL_NTS);
        if (!SQL_SUCCEEDED(rc)) return s.failure("SQLTables");
        std::vector<std::string> names;
        while ((rc = SQLFetch(s.get())) != SQL_NO_DATA) {
            if (!SQL_SUCCEEDED(rc)) return s.failure("SQLFetch");
            Cell name = readText(s.get(), 3);   // TABLE_NAME
            if (name && *name != kErrorLoading) names.push_back(std::move(*name));
        }
        return names;
    }

    Result<std::string> identifierQuote() override {
        std::array<SQLCHAR, 16> quote{};
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetInfo(dbc_.get(), SQL_IDENTIFIER_QUOTE_CHAR, quote.data(),
                                        static_cast<SQLSMALLINT>(quote.size()), &length);
        if (!SQL_SUCCEEDED(rc)) return dbc_.failure("SQLGetInfo");
        return std::string(reinterpret_cast<const char*>(quote.data()));
    }

    Result<std::unique_ptr<Cursor>> execute(const std::string& statement) override {
        auto stmt = allocate(SQL_HANDLE_STMT, &dbc_);
        if (auto* f = std::get_if<Failure>(&stmt)) return *f;
        Handle& s = std::get<Handle>(stmt);
        SQLRETURN rc = SQLExecDirect(s.get(), sqlText(statement), static_cast<SQLINTEGER>(statement.size()));
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) return s.failure("SQLExecDirect");
        SQLSMALLINT columns = 0;
        rc = SQLNumResultCols(s.get(), &columns);
        if (!SQL_SUCCEEDED(rc)) return s.failure("SQLNumResultCols");
        std::vector<Kind> kinds;
        for (SQLUSMALLINT c = 1; c <= static_cast<SQLUSMALLINT>(columns); ++c) {
            std::array<SQLCHAR, 256> name{};
            SQLSMALLINT nameLength = 0, type = 0, digits = 0, nullable = 0;
            SQLULEN size = 0;
            rc = SQLDescribeCol(s.get(), c, name.data(), static_cast<SQLSMALLINT>(name.size()), &nameLength, &type,
                                &size, &digits, &nullable);
            if (!SQL_SUCCEEDED(rc)) return s.failure("SQLDescribeCol");
            kinds.push_back(kindOf(type));
        }
        return std::unique_ptr<Cursor>(std::make_unique<OdbcCursor>(std::move(s), std::move(kinds)));
    }

private:
    Handle env_;   // declared first: freed last
    Handle dbc_;
};

}  // namespace

Result<std::vector<std::string>> OdbcSources::dataSources() {
    auto env = environment();
    if (auto* f = std::get_if<Failure>(&env)) return *f;
    const Handle& e = std::get<Handle>(env);
    std::vector<std::string> names;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        std::array<SQLCHAR, SQL_MAX_DSN_LENGTH + 1> name{};
        std::array<SQLCHAR, 512> description{};
        SQLSMALLINT nameLength = 0, descriptionLength = 0;
        const SQLRETURN rc = SQLDataSources(e.get(), direction, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                            &nameLength, description.data(),
                                            static_cast<SQLSMALLINT>(description.size()), &descriptionLength);
        if (rc == SQL_NO_DATA) break;
        if (!SQL_SUCCEEDED(rc)) return e.failure("SQLDataSources");
        names.emplace_back(reinterpret_cast<const char*>(name.data()));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

Result<std::unique_ptr<Connection>> OdbcSources::connect(const std::string& dataSource) {
    auto env = environment();
    if (auto* f = std::get_if<Failure>(&env)) return *f;
    auto dbc = allocate(SQL_HANDLE_DBC, &std::get<Handle>(env));
    if (auto* f = std::get_if<Failure>(&dbc)) return *f;
    Handle& d = std::get<Handle>(dbc);
    // A server that does not answer must not hang the program for good.
    SQLSetConnectAttr(d.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<std::uintptr_t>(30)), 0);
    if (dataSource.size() > SQL_MAX_DSN_LENGTH) return Failure{"The data source name is too long"};
    const std::string empty;
    const SQLRETURN rc = SQLConnect(d.get(), sqlText(dataSource), static_cast<SQLSMALLINT>(dataSource.size()),
                                    sqlText(empty), SQL_NTS, sqlText(empty), SQL_NTS);
    if (!SQL_SUCCEEDED(rc)) return d.failure("SQLConnect");
    return std::unique_ptr<Connection>(
        std::make_unique<OdbcConnection>(std::move(std::get<Handle>(env)), std::move(d)));
}

}  // namespace torv::dbfunc
