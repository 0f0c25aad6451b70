// The import rules and the command's flow over a fake data source: which rows
// become facts and argument values, the notes, the message-window lines, and
// that a failure or a cancel imports nothing and leaves nothing open.
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "dbfunc/import.h"
#include "state/app_state.h"
#include "support/scripted_port.h"

namespace torv::dbfunc {
namespace {

const std::string kBladReal =
    "\nImpossible to open directories\n\nDeclare a proper current directory\nby entering the menu option "
    "'Set-up'\nand choosing the option  'Specify the current directory'";

/// A data source in memory that counts what is open and can fail at any step.
struct FakeSources : ExternalSources {
    enum class Step { None, List, Connect, Tables, Quote, Execute, Fetch };
    Step failAt = Step::None;
    std::vector<std::string> sources{"first", "fake"};
    std::vector<std::string> tableNames{"facts"};
    std::string quote = "\"";
    std::vector<Row> rows;
    std::vector<std::string> statements;
    std::string connectedTo;
    int open = 0;   // connections and cursors not yet destroyed

    Failure failure() const { return {"driver says no"}; }

    struct FakeCursor : Cursor {
        FakeSources& f;
        std::size_t next = 0;
        explicit FakeCursor(FakeSources& s) : f(s) { ++f.open; }
        ~FakeCursor() override { --f.open; }
        Result<std::optional<Row>> fetch() override {
            if (f.failAt == Step::Fetch && next == 1) return f.failure();
            if (next == f.rows.size()) return std::optional<Row>{};
            return std::optional<Row>(f.rows[next++]);
        }
    };
    struct FakeConnection : Connection {
        FakeSources& f;
        explicit FakeConnection(FakeSources& s) : f(s) { ++f.open; }
        ~FakeConnection() override { --f.open; }
        Result<std::vector<std::string>> tables() override {
            if (f.failAt == Step::Tables) return f.failure();
            return f.tableNames;
        }
        Result<std::string> identifierQuote() override {
            if (f.failAt == Step::Quote) return f.failure();
            return f.quote;
        }
        Result<std::unique_ptr<Cursor>> execute(const std::string& statement) override {
            f.statements.push_back(statement);
            if (f.failAt == Step::Execute) return f.failure();
            return std::unique_ptr<Cursor>(std::make_unique<FakeCursor>(f));
        }
    };

    Result<std::vector<std::string>> dataSources() override {
        if (failAt == Step::List) return failure();
        return sources;
    }
    Result<std::unique_ptr<Connection>> connect(const std::string& name) override {
        connectedTo = name;
        if (failAt == Step::Connect) return failure();
        return std::unique_ptr<Connection>(std::make_unique<FakeConnection>(*this));
    }
};

class SpyPort : public test::ScriptedPort {
public:
    std::vector<std::vector<std::string>> imported;   // facts, values of each result dialog
    void importedFacts(const std::vector<std::string>& facts, const std::vector<std::string>& values) override {
        imported = {facts, values};
        ScriptedPort::importedFacts(facts, values);
    }
};

Row cells(std::initializer_list<const char*> texts) {
    Row r;
    for (const char* t : texts) r.push_back(t ? Cell(t) : std::nullopt);
    return r;
}

class Import : public ::testing::Test {
protected:
    SpyPort port;
    AppState app{port, "/tmp"};
    FakeSources fake;

    bool runImport() {
        port.then(port::titles::kExternalSources, "2").then(port::titles::kExternalData, "1");
        return importowanie(app, fake);
    }
    std::vector<std::string> facts() const {
        std::vector<std::string> out;
        for (const auto& f : app.store.facts()) out.push_back(f.warunek);
        return out;
    }
};

TEST_F(Import, FactAndArgumentRowsImportInRowOrderAfterWhatTheBasesHold) {
    app.store.addFact({"loaded"});
    fake.rows = {cells({"fact", "rain", "ignored"}), cells({"argument_known", "speed", "2,75", "x"}),
                 cells({"fact", "loaded"}), cells({"argument_known", "depth", "-3e2"})};
    EXPECT_TRUE(runImport());
    EXPECT_EQ(fake.connectedTo, "fake");
    EXPECT_EQ(facts(), (std::vector<std::string>{"loaded", "rain", "loaded"}));
    const auto& known = app.store.modelBase().argument_known;
    ASSERT_EQ(known.size(), 2u);
    EXPECT_EQ(known[0], (kb::ArgumentKnown{"speed", 2.75}));
    EXPECT_EQ(known[1], (kb::ArgumentKnown{"depth", -300}));
    EXPECT_EQ(port.imported, (std::vector<std::vector<std::string>>{{"rain", "loaded"},
                                                                    {"speed = 2.75", "depth = -300"}}));
    EXPECT_EQ(app.messages.text(), "SELECT * FROM facts\n--> Data loading From row 1 to row 4 ...Done\n");
    EXPECT_EQ(fake.open, 0);
}

TEST_F(Import, RowsThatAreNeitherFactsNorValuesArePassedOverSilently) {
    fake.rows = {
        cells({"fact"}),                               // too few cells
        cells({"fact", ""}),                           // empty fact
        cells({"fact", "<Error loading>"}),
        cells({"fact", nullptr}),
        cells({nullptr, "rain"}),
        cells({"Fact", "rain"}),                       // keyword is exact
        cells({" fact", "rain"}),
        cells({"argument_known", "speed"}),
        cells({"argument_known", "", "3"}),
        cells({"argument_known", "speed", ""}),
        cells({"argument_known", "speed", nullptr}),
        cells({"argument_known", "<Error loading>", "3"}),
        cells({"rule", "1", "2"}),
        {},
    };
    EXPECT_FALSE(runImport());
    EXPECT_TRUE(facts().empty());
    EXPECT_TRUE(app.store.modelBase().argument_known.empty());
    ASSERT_EQ(port.ofKind("note").size(), 1u);
    EXPECT_EQ(port.last("note").title, "Attention!");
    EXPECT_EQ(port.last("note").text, "No data to be imported from external sources!");
    EXPECT_TRUE(port.imported.empty());
}

TEST_F(Import, AValueThatIsNoRealShowsItsNoteAndTheNextRowsStillImport) {
    fake.rows = {cells({"argument_known", "a", "3,5,1"}), cells({"argument_known", "b", "abc"}),
                 cells({"argument_known", "c", "1e999"}), cells({"argument_known", "d", "nan"}),
                 cells({"fact", "rain"})};
    EXPECT_TRUE(runImport());
    const auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].title, "Attention error!");
    EXPECT_EQ(notes[0].text, "Error: " + std::to_string(EINVAL) + kBladReal);
    EXPECT_EQ(notes[2].text, "Error: " + std::to_string(ERANGE) + kBladReal);
    EXPECT_EQ(notes[3].text, notes[0].text);
    EXPECT_TRUE(app.store.modelBase().argument_known.empty());
    EXPECT_EQ(facts(), std::vector<std::string>{"rain"});
}

TEST(ValueText, CommasBecomePointsAndOnlyWholeFiniteNumbersConvert) {
    EXPECT_EQ(sprawdz_przecinek("1,5,2"), "1.5.2");
    struct Case {
        const char* text;
        std::variant<double, int> want;
    };
    const Case cases[] = {{"2.75", 2.75},  {" 3 ", 3.0},   {"+4", 4.0},     {"-0.5", -0.5}, {"1e3", 1000.0},
                          {"1.5.2", EINVAL}, {"", EINVAL}, {"+", EINVAL},   {"+-1", EINVAL}, {"3x", EINVAL},
                          {"inf", EINVAL}, {"1e999", ERANGE}};
    for (const auto& c : cases) EXPECT_EQ(str_real(c.text), c.want) << '"' << c.text << '"';
}

TEST(TableName, PlainNamesStayBlanksTakeBracketsAnythingElseTheDriversQuote) {
    struct Case {
        const char* name;
        const char* quote;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"facts_2", "\"", "facts_2"},
        {"my facts", "\"", "[my facts]"},
        {"it's", "\"", "\"it's\""},
        {"a\"b", "\"", "\"a\"\"b\""},
        {"x]; DROP TABLE t; --", "\"", "\"x]; DROP TABLE t; --\""},
        {"a b]", "`", "`a b]`"},
        {"a`b", "`", "`a``b`"},
        {"dane-2", " ", std::nullopt},
        {"dane-2", "", std::nullopt},
        {"", "\"", "\"\""},
    };
    for (const auto& c : cases) EXPECT_EQ(quoteTableName(c.name, c.quote), c.want) << c.name;
}

TEST_F(Import, ACancelAtEitherDialogEndsQuietlyWithNothingOpen) {
    fake.rows = {cells({"fact", "rain"})};
    port.thenClose();
    EXPECT_FALSE(importowanie(app, fake));
    EXPECT_TRUE(fake.connectedTo.empty());
    port.then(port::titles::kExternalSources, "1").thenClose();
    EXPECT_FALSE(importowanie(app, fake));
    EXPECT_EQ(fake.connectedTo, "first");
    EXPECT_TRUE(fake.statements.empty());
    EXPECT_TRUE(port.ofKind("note").empty());
    EXPECT_TRUE(facts().empty());
    EXPECT_EQ(fake.open, 0);
}

TEST_F(Import, AFailingStepIsReportedImportsNothingAndClosesEverything) {
    using Step = FakeSources::Step;
    struct Case {
        Step step;
        std::string what;
    };
    const Case cases[] = {
        {Step::List, "The external data sources could not be listed."},
        {Step::Connect, "Connecting to the external data source fake has failed."},
        {Step::Tables, "The tables of the external data source fake could not be listed."},
        {Step::Quote, "The table odd-name of the external data source fake could not be read.\nNothing has been imported."},
        {Step::Execute, "The table odd-name of the external data source fake could not be read.\nNothing has been imported."},
        {Step::Fetch, "The table odd-name of the external data source fake could not be read.\nNothing has been imported."},
    };
    for (const auto& c : cases) {
        SpyPort p;
        AppState a{p, "/tmp"};
        FakeSources f;
        f.failAt = c.step;
        f.tableNames = {"odd-name"};
        f.rows = {cells({"fact", "rain"}), cells({"fact", "snow"})};
        p.then(port::titles::kExternalSources, "2").then(port::titles::kExternalData, "1");
        EXPECT_FALSE(importowanie(a, f));
        EXPECT_TRUE(a.store.facts().empty());
        EXPECT_EQ(f.open, 0);
        const auto note = p.last("note");
        EXPECT_EQ(note.title, "Attention error!");
        EXPECT_EQ(note.text.substr(0, c.what.size()), c.what);
        EXPECT_NE(note.text.find("driver says no"), std::string::npos) << note.text;
        EXPECT_NE(a.messages.text().find("driver says no"), std::string::npos);
    }
}

}  // namespace
}  // namespace torv::dbfunc
