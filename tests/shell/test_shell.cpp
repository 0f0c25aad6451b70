// The shell's dispatch: loads and the menu, chaining without a rule base,
// the close question, and the window's own commands.
#include <gtest/gtest.h>

#include <functional>

#include "dbfunc/external_source.h"
#include "state/app_state.h"
#include "shell/shell.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::shell {
namespace {

// Declines the tests offered while a rule base loads, so that these tests
// see only the boxes of the commands they run.
class ShellPort : public test::ScriptedPort {
public:
    std::function<void(const port::Dialog&)> onPresent;
    bool acceptOffers = false;

protected:
    void present(const port::Dialog& d) override {
        ScriptedPort::present(d);
        if (onPresent) onPresent(d);
    }
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (!acceptOffers && d.kind == "yes/no" && (d.title == "Choose" || d.title == "Choose:")) return "no";
        return ScriptedPort::answer(d);
    }
};

constexpr const char* kRuleBase =
    "rule(1, \"engine_hot\", [\"fan_off\", \"nthermostat_ok\"], 1)\n"
    "rule(2, \"alarm\", [\"engine_hot\", \"light_on\"], 1)\n";

class ShellTest : public testing::Test {
protected:
    ShellTest() : ruleFile(dir.write("BASES/RUcar.AEB", kRuleBase)) { shell.introClosed(); }

    void loadRuleBase() {
        port.then("Load Rule Base ", ruleFile.string());
        ASSERT_TRUE(shell.run(cmd::kRuleBaseLoading));
        ASSERT_EQ(app.store.nazwa_re.value_or(""), "RUcar.AEB");
    }

    test::TempDir dir;
    std::filesystem::path ruleFile;
    ShellPort port;
    AppState app{port, dir.path()};
    Shell shell{app};
};

TEST_F(ShellTest, StartsWithTheStartUpMenuState) {
    MenuState expected;
    expected.startUp();
    EXPECT_EQ(shell.menu().enabledIds(), expected.enabledIds());
}

TEST_F(ShellTest, GreyedCommandDoesNothing) {
    EXPECT_FALSE(shell.run(cmd::kModelBaseLoading));
    EXPECT_FALSE(shell.run(10064));
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(ShellTest, RuleBaseLoadEnablesTheRuleBaseSet) {
    int changes = 0;
    shell.onMenuChanged([&] { ++changes; });
    loadRuleBase();
    EXPECT_GE(changes, 1);
    for (int id : {10063, 10065, 10066, 10067, 10075, 10091, 10101, 10113, 10124, 10136, 10137, 10138,
                   10139, 10140, 10151, 10155, 10156})
        EXPECT_TRUE(shell.menu().enabled(id)) << id;
    EXPECT_TRUE(shell.menu().menuEnabled(kAnalysisMenu));
    // The model base's own items wait for the model base.
    EXPECT_FALSE(shell.menu().enabled(cmd::kLinearModels));
    EXPECT_EQ(port.pending(), 0u);
}

TEST_F(ShellTest, CancelledRuleBaseLoadChangesNoItem) {
    const auto before = shell.menu().enabledIds();
    port.thenClose();
    EXPECT_TRUE(shell.run(cmd::kRuleBaseLoading));
    EXPECT_EQ(shell.menu().enabledIds(), before);
    EXPECT_EQ(port.last("title").title, "torv");
}

TEST_F(ShellTest, FailedRuleBaseLoadChangesNoItem) {
    const auto bad = dir.write("BASES/RUbad.AEB", std::string(kRuleBase) + "\n");  // an empty line
    const auto before = shell.menu().enabledIds();
    port.then("Load Rule Base ", bad.string());
    EXPECT_TRUE(shell.run(cmd::kRuleBaseLoading));
    EXPECT_EQ(shell.menu().enabledIds(), before);
    EXPECT_EQ(port.last("note").title, "Error");
}

TEST_F(ShellTest, CancelledSecondLoadKeepsTheMenuButChainingAsksForARuleBase) {
    loadRuleBase();
    const auto loaded = shell.menu().enabledIds();
    port.thenClose();
    shell.run(cmd::kRuleBaseLoading);
    EXPECT_EQ(shell.menu().enabledIds(), loaded);
    EXPECT_FALSE(app.store.nazwa_re.has_value());

    port.clearCalls();
    EXPECT_TRUE(shell.run(cmd::kForwardChaining));
    ASSERT_EQ(port.ofKind("note").size(), 1u);
    EXPECT_EQ(port.last("note").title, "Attention!");
    EXPECT_EQ(port.last("note").text, "Load Rule Base first!");
}

struct ChainingCase {
    int id;
    ChainingKind kind;
};

class ChainingWithoutRuleBase : public ShellTest, public testing::WithParamInterface<ChainingCase> {};

TEST_P(ChainingWithoutRuleBase, SaysLoadRuleBaseFirst) {
    shell.menu().enable({GetParam().id});
    app.messages.write("left from an earlier command\n");
    std::optional<ChainingKind> kindDuringNote;
    std::string messagesDuringNote = "?";
    port.onPresent = [&](const port::Dialog&) {
        kindDuringNote = shell.jakiewnioskowanie();
        messagesDuringNote = app.messages.text();
    };
    EXPECT_TRUE(shell.run(GetParam().id));
    ASSERT_EQ(port.calls().size(), 1u);
    EXPECT_EQ(port.calls()[0].kind, "note");
    EXPECT_EQ(port.calls()[0].title, "Attention!");
    EXPECT_EQ(port.calls()[0].text, "Load Rule Base first!");
    EXPECT_EQ(kindDuringNote, GetParam().kind);
    EXPECT_EQ(messagesDuringNote, "");
    EXPECT_FALSE(shell.jakiewnioskowanie().has_value());
}

INSTANTIATE_TEST_SUITE_P(Commands, ChainingWithoutRuleBase,
                         testing::Values(ChainingCase{10155, ChainingKind::Forward}, ChainingCase{10156, ChainingKind::Backward}),
                         [](const auto& info) { return std::to_string(info.param.id); });

TEST_F(ShellTest, CloseQuestionAnsweredNoKeepsEveryLoadedBase) {
    loadRuleBase();
    const auto menu = shell.menu().enabledIds();
    port.then("Attention!", "no");
    EXPECT_FALSE(shell.closeRequested());
    const auto q = port.last("yes/no");
    EXPECT_EQ(q.text, "Do you really wish to close the program?");
    EXPECT_EQ(app.store.nazwa_re.value_or(""), "RUcar.AEB");
    EXPECT_EQ(app.store.rules().size(), 2u);
    EXPECT_EQ(shell.menu().enabledIds(), menu);

    port.then("Attention!", "yes");
    EXPECT_TRUE(shell.closeRequested());
}

TEST_F(ShellTest, PathToBasesSetUpExplains) {
    shell.run(cmd::kPathToBasesSetUp);
    const auto n = port.last("note");
    EXPECT_EQ(n.title, "Attention");
    EXPECT_EQ(n.text, "The path to bases is set-up as a result of loading the Rule Base");
}

TEST_F(ShellTest, HelpWithoutHelpFileAsksForTheManual) {
    shell.run(cmd::kHelp);
    EXPECT_EQ(port.last("help").title, "");
}

TEST_F(ShellTest, HelpOpensTheHelpFileOfTheCurrentDirectory) {
    dir.write("torv_AE.chm", "help");
    shell.run(cmd::kHelp);
    EXPECT_EQ(port.last("help").title, "torv_AE.chm");
}

TEST_F(ShellTest, MessageWindowCreatingEmptiesIt) {
    app.messages.write("line\n");
    shell.run(cmd::kMessageWindowCreating);
    EXPECT_EQ(app.messages.text(), "");
}

TEST_F(ShellTest, RunningOutOfMemoryStopsTheCommandNotTheProgram) {
    const std::vector<std::function<void()>> failures{[] { throw std::bad_alloc(); },
                                                      [] { std::vector<int>().reserve(std::size_t(-1) / 2); }};
    for (const auto& fail : failures) {
        bool failed = false;
        port.onPresent = [&](const port::Dialog& d) {
            if (!failed && d.title == "Successful  loading of Rule Base") {
                failed = true;
                fail();
            }
        };
        port.then("Load Rule Base ", ruleFile.string());
        EXPECT_TRUE(shell.run(cmd::kRuleBaseLoading));
        EXPECT_TRUE(failed);
        EXPECT_EQ(port.last("note").title, "Attention!");
        EXPECT_EQ(port.last("note").text, kNoMemoryText);
        EXPECT_NE(app.messages.text().find("Not enough memory"), std::string::npos);
    }
    port.onPresent = nullptr;
    loadRuleBase();
    EXPECT_TRUE(shell.menu().enabled(cmd::kForwardChaining));
}

TEST_F(ShellTest, RuleBaseNamedAtStartLoadsAsTheMenuCommandDoes) {
    shell.loadRuleBaseAtStart("BASES/RUcar.AEB");
    EXPECT_EQ(app.store.nazwa_re.value_or(""), "RUcar.AEB");
    EXPECT_TRUE(shell.menu().enabled(cmd::kModelBaseLoading));
}

TEST_F(ShellTest, MissingRuleBaseNamedAtStartChangesNoItem) {
    const auto before = shell.menu().enabledIds();
    shell.loadRuleBaseAtStart("BASES/RUnone.AEB");
    EXPECT_EQ(shell.menu().enabledIds(), before);
    EXPECT_FALSE(app.store.nazwa_re.has_value());
}

struct OutcomeCase {
    Outcome outcome;
    std::vector<int> enabled;
    std::vector<int> greyed;
};

class OutcomeRules : public testing::TestWithParam<OutcomeCase> {};

TEST_P(OutcomeRules, ChangeTheMenuOnceAndAreUsedUp) {
    const auto& c = GetParam();
    test::ScriptedPort port;
    AppState app{port};
    app.menu.startUp();
    app.menu.enable({cmd::kForwardChaining, cmd::kBackwardChaining, cmd::kDiagnosingJointRuleConstraintInconsistencies,
                     cmd::kDiagnosingJointRuleConstraintRedundancies});
    app.outcomes = {c.outcome};
    applyOutcomes(app);
    for (int id : c.enabled) EXPECT_TRUE(app.menu.enabled(id)) << id;
    for (int id : c.greyed) EXPECT_FALSE(app.menu.enabled(id)) << id;
    EXPECT_TRUE(app.outcomes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Shell, OutcomeRules,
    testing::Values(
        OutcomeCase{Outcome::RuleAndModelBasesUnloaded, {}, {cmd::kForwardChaining, cmd::kBackwardChaining}},
        OutcomeCase{Outcome::ExclusiveFactsDeclared, {}, {cmd::kForwardChaining, cmd::kBackwardChaining}},
        OutcomeCase{Outcome::SingularModelRemoved, {}, {cmd::kForwardChaining, cmd::kBackwardChaining}},
        OutcomeCase{Outcome::ExternalInconsistencyFound, {cmd::kDiagnosingExternal, cmd::kForwardChaining}, {}},
        OutcomeCase{Outcome::InternalInconsistencyFound, {cmd::kDiagnosingInternal}, {}},
        OutcomeCase{Outcome::RedundancyFound,
                    {cmd::kDiagnosingRedundancies, cmd::kInspectingAllRules, cmd::kModelBaseLoading,
                     cmd::kGraphicsBaseLoading},
                    {cmd::kDiagnosingJointRuleConstraintInconsistencies,
                     cmd::kDiagnosingJointRuleConstraintRedundancies}},
        OutcomeCase{Outcome::ModelInconsistencyFound, {cmd::kDiagnosingModel}, {cmd::kDiagnosingJointModelRule}},
        OutcomeCase{Outcome::JointModelRuleInconsistencyFound, {cmd::kDiagnosingJointModelRule},
                    {cmd::kDiagnosingModel}}));

TEST_F(ShellTest, ALoadThatFindsAnExternalInconsistencyEnablesItsDiagnosis) {
    // The offer accepted: the base is refused and its diagnosis enabled.
    port.acceptOffers = true;
    const auto loop = dir.write("BASES/RUloop.AEB", "rule(1,\"a\",[\"b\"],1)\nrule(2,\"b\",[\"a\",\"c\"],1)\n");
    EXPECT_FALSE(shell.menu().enabled(cmd::kDiagnosingExternal));
    port.then("Load Rule Base ", loop.string());
    port.then("Choose", "yes");
    ASSERT_TRUE(shell.run(cmd::kRuleBaseLoading));
    EXPECT_TRUE(shell.menu().enabled(cmd::kDiagnosingExternal));
    EXPECT_TRUE(app.outcomes.empty());
}

/// One data source with one table of the given rows.
struct OneTable : dbfunc::ExternalSources {
    std::vector<dbfunc::Row> rows;
    struct Rows : dbfunc::Cursor {
        std::vector<dbfunc::Row> rows;
        dbfunc::Result<std::optional<dbfunc::Row>> fetch() override {
            if (rows.empty()) return std::optional<dbfunc::Row>{};
            auto r = rows.front();
            rows.erase(rows.begin());
            return std::optional<dbfunc::Row>(r);
        }
    };
    struct Table : dbfunc::Connection {
        std::vector<dbfunc::Row> rows;
        dbfunc::Result<std::vector<std::string>> tables() override { return std::vector<std::string>{"t"}; }
        dbfunc::Result<std::string> identifierQuote() override { return std::string("\""); }
        dbfunc::Result<std::unique_ptr<dbfunc::Cursor>> execute(const std::string&) override {
            auto c = std::make_unique<Rows>();
            c->rows = rows;
            return std::unique_ptr<dbfunc::Cursor>(std::move(c));
        }
    };
    dbfunc::Result<std::vector<std::string>> dataSources() override { return std::vector<std::string>{"s"}; }
    dbfunc::Result<std::unique_ptr<dbfunc::Connection>> connect(const std::string&) override {
        auto t = std::make_unique<Table>();
        t->rows = rows;
        return std::unique_ptr<dbfunc::Connection>(std::move(t));
    }
};

TEST_F(ShellTest, ImportGreysItselfOnceItsResultWasShownUntilTheNextRuleBaseLoad) {
    OneTable source;
    shell.setExternalSources(source);
    loadRuleBase();
    source.rows = {{"weather", "rain"}};
    port.then("External data sources", "1").then("Data from external data source", "1");
    ASSERT_TRUE(shell.run(cmd::kImporting));
    EXPECT_EQ(port.last("note").text, "No data to be imported from external sources!");
    EXPECT_TRUE(shell.menu().enabled(cmd::kImporting));

    source.rows = {{"fact", "light_on"}};
    port.then("External data sources", "1").then("Data from external data source", "1");
    ASSERT_TRUE(shell.run(cmd::kImporting));
    EXPECT_EQ(app.store.facts().back().warunek, "light_on");
    EXPECT_FALSE(shell.menu().enabled(cmd::kImporting));
    EXPECT_FALSE(shell.run(cmd::kImporting));

    loadRuleBase();
    EXPECT_TRUE(shell.menu().enabled(cmd::kImporting));
}

TEST_F(ShellTest, AskablesFileListsTheLoadedRuleBasesAskables) {
    loadRuleBase();
    port.then("Load Askable Conditions and Arguments file", "askables.txt");
    ASSERT_TRUE(shell.run(cmd::kAskablesFileCreating));
    EXPECT_EQ(test::readFile(dir.path() / "BASES" / "askables.txt"),
              "Non-exclusive Askable Conditions for Rule Base RUcar.AEB\n   fan_off\n   light_on\n   thermostat_ok\n\n");
}

}  // namespace
}  // namespace torv::shell
