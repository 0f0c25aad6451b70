// A private ODBC configuration for tests: the SQLite driver and its data
// sources in ini files of a temporary directory, never in /etc or $HOME.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace torv::test {

/// ODBCSYSINI and ODBCINI pointed at ini files in a temporary directory.
/// The driver manager reads ODBCSYSINI once per process, so one sandbox
/// serves a whole test program and is never torn down before it ends.
class OdbcSandbox {
public:
    static OdbcSandbox& shared();
    OdbcSandbox(const OdbcSandbox&) = delete;
    OdbcSandbox& operator=(const OdbcSandbox&) = delete;

    /// The sandbox's directory, where the tests keep their database files.
    const std::filesystem::path& dir() const { return dir_; }

    /// A SQLite data source over `database` that never creates the file;
    /// `system` puts it in the system ini file instead of the user's. Name
    /// a data source once and keep its database path: the driver manager
    /// may keep what it read.
    void addSqlite(const std::string& name, const std::filesystem::path& database, bool system = false);

    /// Creates `database` and runs the statements in it, through the driver.
    /// Fails the test, naming the statement, when one fails.
    void run(const std::filesystem::path& database, const std::vector<std::string>& statements) const;

private:
    OdbcSandbox();
    void writeIni() const;

    std::filesystem::path dir_;
    std::map<std::string, std::filesystem::path> user_, system_;
};

}  // namespace torv::test
