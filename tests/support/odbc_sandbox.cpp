// Private ODBC ini files and database set-up for tests.
#include "support/odbc_sandbox.h"

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace torv::test {

namespace fs = std::filesystem;

namespace {

const char* const kDriverName = "SQLite3 torv";

void writeSources(const fs::path& file, const std::map<std::string, fs::path>& sources) {
    std::ofstream out(file);
    for (const auto& [name, database] : sources)
        out << "[" << name << "]\nDriver=" << kDriverName << "\nDatabase=" << database.string()
            << "\nNoCreat=1\n\n";
}

std::string diagnostic(SQLSMALLINT type, SQLHANDLE h) {
    SQLCHAR state[6] = {};
    SQLCHAR text[1024] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(type, h, 1, state, &native, text, sizeof text, &length))) return "?";
    return reinterpret_cast<const char*>(text);
}

SQLCHAR* sqlText(const std::string& s) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str())); }

}  // namespace

OdbcSandbox& OdbcSandbox::shared() {
    static OdbcSandbox sandbox;
    return sandbox;
}

OdbcSandbox::OdbcSandbox()
    : dir_(fs::temp_directory_path() / ("torvae-odbc-" + std::to_string(::getpid()))) {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "odbcinst.ini") << "[" << kDriverName << "]\nDriver=" << TORVAE_SQLITE_ODBC_DRIVER << "\n";
    writeIni();
    ::setenv("ODBCSYSINI", dir_.c_str(), 1);
    ::setenv("ODBCINI", (dir_ / "user.ini").c_str(), 1);
    // Left for the program's end: the driver manager holds on to the path.
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(shared().dir_, ec);
    });
}

void OdbcSandbox::addSqlite(const std::string& name, const fs::path& database, bool system) {
    auto& sources = system ? system_ : user_;
    if (auto at = sources.find(name); at != sources.end() && at->second == database) return;
    sources[name] = database;
    writeIni();
}

void OdbcSandbox::writeIni() const {
    writeSources(dir_ / "odbc.ini", system_);
    writeSources(dir_ / "user.ini", user_);
}

void OdbcSandbox::run(const fs::path& database, const std::vector<std::string>& statements) const {
    ASSERT_TRUE(fs::exists(TORVAE_SQLITE_ODBC_DRIVER)) << "SQLite ODBC driver missing: " << TORVAE_SQLITE_ODBC_DRIVER;
    SQLHENV envh = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &envh)));
    SQLSetEnvAttr(envh, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, envh, &dbc);
    const std::string connection = std::string("DRIVER=") + TORVAE_SQLITE_ODBC_DRIVER + ";Database=" + database.string() + ";";
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, sqlText(connection), SQL_NTS, nullptr, 0, nullptr,
                                          SQL_DRIVER_NOPROMPT);
    EXPECT_TRUE(SQL_SUCCEEDED(rc)) << diagnostic(SQL_HANDLE_DBC, dbc);
    if (SQL_SUCCEEDED(rc)) {
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
        for (const auto& s : statements) {
            const SQLRETURN r = SQLExecDirect(stmt, sqlText(s), static_cast<SQLINTEGER>(s.size()));
            EXPECT_TRUE(SQL_SUCCEEDED(r) || r == SQL_NO_DATA) << s.substr(0, 200) << ": " << diagnostic(SQL_HANDLE_STMT, stmt);
            SQLFreeStmt(stmt, SQL_CLOSE);
        }
        SQLFreeHandle(SQL_HANDLE_STMT, stmt);
        SQLDisconnect(dbc);
    }
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, envh);
}

}  // namespace torv::test
