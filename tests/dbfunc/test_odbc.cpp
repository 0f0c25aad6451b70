// The import against a real driver: SQLite data sources defined in private
// ini files, with the database files made by the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "dbfunc/import.h"
#include "dbfunc/odbc_source.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/odbc_sandbox.h"
#include "support/scripted_port.h"

namespace torv::dbfunc {
namespace {

namespace fs = std::filesystem;

const std::string kBig(100 * 1024, 'x');

/// Drops a table while the table dialog is open, as another user might.
class RacingPort : public test::ScriptedPort {
public:
    std::function<void()> whilePickingTable;
    std::vector<std::string> sourcesShown, tablesShown;
    std::vector<std::vector<std::string>> imported;

    std::optional<std::size_t> pickDataSource(const std::vector<std::string>& s) override {
        sourcesShown = s;
        return ScriptedPort::pickDataSource(s);
    }
    std::optional<std::size_t> pickExternalData(const std::vector<std::string>& t) override {
        tablesShown = t;
        if (whilePickingTable) whilePickingTable();
        return ScriptedPort::pickExternalData(t);
    }
    void importedFacts(const std::vector<std::string>& f, const std::vector<std::string>& v) override {
        imported = {f, v};
        ScriptedPort::importedFacts(f, v);
    }
};

class Odbc : public ::testing::Test {
protected:
    void SetUp() override {
        sandbox.addSqlite("torv_data", db);
        sandbox.addSqlite("torv_absent", sandbox.dir() / "absent.db", true);
        fs::remove(db);
        sandbox.run(db, {
            "CREATE TABLE facts (kind TEXT, name TEXT, value TEXT)",
            "INSERT INTO facts VALUES ('fact', 'rain', NULL), ('argument_known', 'speed', '2,75'),"
            " ('fact', NULL, 'x'), ('argument_known', 'depth', NULL), ('fact', '" + kBig + "', NULL)",
            "CREATE TABLE \"my facts\" (kind TEXT, name TEXT)",
            "INSERT INTO \"my facts\" VALUES ('fact', 'blank table')",
            "CREATE TABLE \"it\"\"s\" (kind TEXT, name TEXT)",
            "INSERT INTO \"it\"\"s\" VALUES ('fact', 'quoted table')",
            "CREATE TABLE kinds (i INTEGER, r REAL, big REAL, b BLOB, n TEXT, d DATE)",
            "INSERT INTO kinds VALUES (42, 2.5, 1234567.0, x'00ff', NULL, '2024-05-01')",
            "CREATE TABLE empty (kind TEXT, name TEXT)",
            "CREATE VIEW rainy AS SELECT * FROM facts",
        });
    }

    /// Runs the command, choosing the data source and table by name.
    bool importFrom(const std::string& source, const std::string& table) {
        auto position = [](const std::vector<std::string>& v, const std::string& s) {
            const auto at = std::find(v.begin(), v.end(), s);
            return at == v.end() ? std::string("0") : std::to_string(at - v.begin() + 1);
        };
        const auto sources = std::get<std::vector<std::string>>(odbc.dataSources());
        port.then(port::titles::kExternalSources, position(sources, source));
        if (auto c = odbc.connect(source); std::holds_alternative<std::unique_ptr<Connection>>(c)) {
            const auto tables = std::get<std::vector<std::string>>(std::get<std::unique_ptr<Connection>>(c)->tables());
            port.then(port::titles::kExternalData, position(tables, table));
        }
        return importowanie(app, odbc);
    }

    std::vector<std::string> facts() const {
        std::vector<std::string> out;
        for (const auto& f : app.store.facts()) out.push_back(f.warunek);
        return out;
    }

    test::TempDir dir;
    test::OdbcSandbox& sandbox = test::OdbcSandbox::shared();
    fs::path db = sandbox.dir() / "data.db";
    RacingPort port;
    AppState app{port, dir.path()};
    OdbcSources odbc;
};

TEST_F(Odbc, ListsUserAndSystemSourcesAndOnlyRealTablesAndACancelImportsNothing) {
    port.thenClose();
    EXPECT_FALSE(importowanie(app, odbc));
    port.then(port::titles::kExternalSources, "1").thenClose();
    EXPECT_FALSE(importowanie(app, odbc));
    EXPECT_TRUE(facts().empty());
    EXPECT_TRUE(port.ofKind("note").empty());
    EXPECT_EQ(app.messages.text(), "");

    EXPECT_TRUE(importFrom("torv_data", "facts"));
    EXPECT_EQ(port.sourcesShown, (std::vector<std::string>{"torv_data", "torv_absent"}));
    std::vector<std::string> tables = port.tablesShown;
    std::sort(tables.begin(), tables.end());
    EXPECT_EQ(tables, (std::vector<std::string>{"empty", "facts", "it\"s", "kinds", "my facts"}));
}

TEST_F(Odbc, FactsValuesNullsAndAHundredKilobyteCellImport) {
    EXPECT_TRUE(importFrom("torv_data", "facts"));
    EXPECT_EQ(facts(), (std::vector<std::string>{"rain", kBig}));
    ASSERT_EQ(app.store.modelBase().argument_known.size(), 1u);
    EXPECT_EQ(app.store.modelBase().argument_known[0], (kb::ArgumentKnown{"speed", 2.75}));
    EXPECT_EQ(port.imported, (std::vector<std::vector<std::string>>{{"rain", kBig}, {"speed = 2.75"}}));
    EXPECT_EQ(app.messages.text(), "SELECT * FROM facts\n--> Data loading From row 1 to row 5 ...Done\n");
}

TEST_F(Odbc, TableNamesWithABlankOrAQuoteAreQueried) {
    EXPECT_TRUE(importFrom("torv_data", "my facts"));
    EXPECT_TRUE(importFrom("torv_data", "it\"s"));
    EXPECT_EQ(facts(), (std::vector<std::string>{"blank table", "quoted table"}));
    const std::string shown = app.messages.text();
    EXPECT_NE(shown.find("SELECT * FROM [my facts]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("SELECT * FROM \"it\"\"s\"\n"), std::string::npos) << shown;
}

TEST_F(Odbc, EveryColumnKindArrivesAsText) {
    auto c = odbc.connect("torv_data");
    auto& connection = *std::get<std::unique_ptr<Connection>>(c);
    auto cursor = std::get<std::unique_ptr<Cursor>>(connection.execute("SELECT * FROM kinds"));
    auto row = std::get<std::optional<Row>>(cursor->fetch());
    ASSERT_TRUE(row);
    EXPECT_EQ(*row, (Row{"42", "2.5", "1.23457e+06", "<Binary data>", std::nullopt, "2024-05-01"}));
    EXPECT_FALSE(std::get<std::optional<Row>>(cursor->fetch()));
}

TEST_F(Odbc, AnEmptyTableHasNoDataToImport) {
    EXPECT_FALSE(importFrom("torv_data", "empty"));
    EXPECT_EQ(port.last("note").text, "No data to be imported from external sources!");
    EXPECT_EQ(app.messages.text(), "SELECT * FROM empty\n--> Data loading From row 1 to row 0 ...Done\n");
}

TEST_F(Odbc, ATableGoneBeforeItIsReadIsReportedAndNothingImports) {
    port.whilePickingTable = [&] { sandbox.run(db, {"DROP TABLE facts"}); };
    EXPECT_FALSE(importFrom("torv_data", "facts"));
    const auto note = port.last("note");
    EXPECT_EQ(note.title, "Attention error!");
    EXPECT_NE(note.text.find("The table facts of the external data source torv_data could not be read."),
              std::string::npos)
        << note.text;
    EXPECT_NE(note.text.find("no such table"), std::string::npos) << note.text;
    EXPECT_TRUE(facts().empty());
}

TEST_F(Odbc, ASourceWhoseDatabaseFileIsAbsentFailsWithoutCreatingIt) {
    EXPECT_FALSE(importFrom("torv_absent", ""));
    const auto note = port.last("note");
    EXPECT_EQ(note.title, "Attention error!");
    EXPECT_EQ(note.text.rfind("Connecting to the external data source torv_absent has failed.\n\n", 0), 0u)
        << note.text;
    EXPECT_GT(note.text.size(), 70u) << "the driver's reason is shown";
    EXPECT_FALSE(fs::exists(sandbox.dir() / "absent.db"));
    EXPECT_TRUE(port.tablesShown.empty());
    EXPECT_TRUE(facts().empty());
}

}  // namespace
}  // namespace torv::dbfunc
