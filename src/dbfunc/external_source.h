// The narrow view of external data sources that the import needs: list the
// sources, connect, list tables, run one query and fetch its rows. The ODBC
// driver manager implements it (odbc_source.h); tests use a fake.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace torv::dbfunc {

/// A fetched cell: its text, or nullopt for SQL NULL.
using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

/// Why a call to the data source failed, in the driver's words.
struct Failure {
    std::string what;
};

/// A value or the reason there is none.
template <class T>
using Result = std::variant<T, Failure>;

/// The rows of an executed statement. Destroying it frees the statement.
class Cursor {
public:
    virtual ~Cursor() = default;
    /// The next row, or nullopt when there are no more.
    virtual Result<std::optional<Row>> fetch() = 0;
};

/// An open connection. Destroying it disconnects and frees its handles;
/// every Cursor of it must be gone by then.
class Connection {
public:
    virtual ~Connection() = default;
    /// Names of the tables of type "TABLE", in the driver's order.
    virtual Result<std::vector<std::string>> tables() = 0;
    /// The driver's identifier quote; "" or " " when it has none.
    virtual Result<std::string> identifierQuote() = 0;
    virtual Result<std::unique_ptr<Cursor>> execute(const std::string& statement) = 0;
};

class ExternalSources {
public:
    virtual ~ExternalSources() = default;
    /// Names of the data sources the driver manager knows.
    virtual Result<std::vector<std::string>> dataSources() = 0;
    /// Connects with an empty user name and password.
    virtual Result<std::unique_ptr<Connection>> connect(const std::string& dataSource) = 0;
};

}  // namespace torv::dbfunc
