// Whole loads with every offer answered "yes": the offers, informing notes
// and check notes come in the order of the load's steps.
#include <gtest/gtest.h>

#include "loading/loading.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::verify::test {
namespace {

using Names = std::vector<std::string>;

class LoadScenario : public ::testing::Test {
protected:
    torv::test::TempDir dir;
    torv::test::ScriptedPort port;
    AppState app{port, dir.path()};

    /// Chooses the file, then answers the boxes that follow, by title.
    std::optional<std::string> load(kb::LoadOption option, const std::string& name, const std::string& text,
                                    std::vector<std::pair<std::string, std::string>> answers = {}) {
        port.then(dir.write("BASES/" + name, text).string());
        for (auto& [title, answer] : answers) port.then(title, answer);
        return kb::opcja_z_menu_glownego(app, option);
    }
    static std::vector<std::pair<std::string, std::string>> offers(const char* answer) {
        return {{"Choose", answer}, {"Choose", answer}, {"Choose", answer}};
    }
    /// Kind and title of every box, in order.
    Names boxes() const {
        Names out;
        for (const auto& c : port.calls()) out.push_back(c.kind + ": " + c.title);
        return out;
    }
};

TEST_F(LoadScenario, CleanBasesAnswerEveryOfferWithoutFault) {
    EXPECT_EQ(load(kb::LoadOption::RuleBase, "RUcar.AEB",
                   "rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"
                   "rule(2,\"slippery\",[\"wet\",\"cold\"],0)\n"
                   "fact(\"rain\")\n",
                   offers("yes")),
              "RUcar.AEB");
    EXPECT_EQ(boxes(), (Names{"open file: Load Rule Base ", "title: torv_AE consults Knowledge Base CAR",
                              "note: Successful  loading of Rule Base", "yes/no: Choose",
                              "note: Information on inconsistency", "yes/no: Choose",
                              "note: Information on inconsistency", "yes/no: Choose",
                              "note: Result of rule redundancy test"}));
    const auto notes = port.ofKind("note");
    EXPECT_EQ(notes[1].text, "Augmented Exact Rule Base\n   RUcar.AEB\nis not externally IAE1 inconsistent.");
    EXPECT_EQ(notes[2].text, "Augmented Exact Rule Base\n   RUcar.AEB\nis not internally IAE1-inconsistent.");
    EXPECT_EQ(notes[3].text, "Rule Base\n   RUcar.AEB\nhas no redundant rules!");
    EXPECT_EQ(app.verdicts.sprzecznosc_1z, false);
    EXPECT_TRUE(app.outcomes.empty());

    port.clearCalls();
    EXPECT_EQ(load(kb::LoadOption::ModelBase, "MOcar.AEB", "model_b(1,\"cold\",\"y\",\"x\",\"+\",\"1\",1)\n"),
              "MOcar.AEB");
    port.clearCalls();
    EXPECT_EQ(load(kb::LoadOption::ConstraintBase, "COcar.AEB", "constraint(1,[\"roof\",\"cold\"])\n",
                   {{"Choose", "yes"}, {"Choose", "yes"}}),
              "COcar.AEB");
    EXPECT_EQ(boxes(), (Names{"open file: Load Constraint Base", "note: Successful  loading of Constraint Base",
                              "yes/no: Choose", "note: Diagnostic Report on joint rule-constraint inconsistencies",
                              "yes/no: Choose", "note: Result of testing joint redundancies"}));
    EXPECT_EQ(port.pending(), 0u);
    for (const auto& n : port.ofKind("note")) EXPECT_EQ(n.title.find("rror"), std::string::npos) << n.title;
}

TEST_F(LoadScenario, FaultyRuleBaseReportsEachDiagnosisInTurn) {
    // 1 is internally inconsistent, 3 is redundant beside 2, 3 and 4 have
    // single conditions.
    auto answers = offers("yes");
    answers.insert(answers.end(), {{"Choose:", "yes"},
                                   {"Rule with single condition", "yes"},
                                   {"Rule with single condition", "yes"}});
    EXPECT_EQ(load(kb::LoadOption::RuleBase, "RUbad.AEB",
                   "rule(1,\"a\",[\"b\",\"nb\"],1)\n"
                   "rule(2,\"c\",[\"d\",\"e\"],1)\n"
                   "rule(3,\"c\",[\"d\"],1)\n"
                   "rule(4,\"f\",[\"g\"],1)\n",
                   answers),
              "RUbad.AEB");
    EXPECT_EQ(boxes(), (Names{"open file: Load Rule Base ", "title: torv_AE consults Knowledge Base BAD",
                              "note: Successful  loading of Rule Base", "yes/no: Choose",
                              "note: Information on inconsistency", "yes/no: Choose",
                              "note: Information on inconsistency", "yes/no: Choose", "note: Attention:",
                              "yes/no: Choose:", "yes/no: Rule with single condition",
                              "yes/no: Rule with single condition", "note: Advice"}));
    EXPECT_NE(port.ofKind("note")[2].text.find("contains at least one internal inconsistency"), std::string::npos);
    EXPECT_EQ(app.outcomes, (Outcomes{Outcome::InternalInconsistencyFound, Outcome::RedundancyFound}));
    EXPECT_EQ(port.pending(), 0u);
}

TEST_F(LoadScenario, ExternalInconsistencyStopsTheLoad) {
    EXPECT_EQ(load(kb::LoadOption::RuleBase, "RUloop.AEB", "rule(1,\"a\",[\"b\"],1)\nrule(2,\"b\",[\"a\",\"c\"],1)\n",
                   {{"Choose", "yes"}}),
              std::nullopt);
    EXPECT_EQ(boxes(), (Names{"open file: Load Rule Base ", "title: torv_AE consults Knowledge Base LOOP",
                              "note: Successful  loading of Rule Base", "yes/no: Choose",
                              "note: Information on inconsistency"}));
    EXPECT_EQ(app.verdicts.sprzecznosc_1z, true);
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::ExternalInconsistencyFound});
    // Later loads end quietly.
    port.clearCalls();
    EXPECT_EQ(kb::opcja_z_menu_glownego(app, kb::LoadOption::ModelBase), "");
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(LoadScenario, RepeatedNumbersStopTheLoadBeforeAnyOffer) {
    EXPECT_EQ(load(kb::LoadOption::RuleBase, "RUnum.AEB",
                   "rule(1,\"a\",[\"b\",\"c\"],1)\nrule(2,\"d\",[\"b\",\"c\"],1)\nrule(2,\"e\",[\"b\",\"c\"],1)\n"),
              std::nullopt);
    EXPECT_EQ(boxes(), (Names{"open file: Load Rule Base ", "title: torv_AE consults Knowledge Base NUM",
                              "note: Successful  loading of Rule Base", "note: Faulty Rule Base"}));
    EXPECT_EQ(app.verdicts.rozne_numery, false);
    EXPECT_EQ(app.store.rules().size(), 3u);  // the records stay
}

TEST_F(LoadScenario, FactsThatAreNotAskableUnloadTheRuleBase) {
    EXPECT_EQ(load(kb::LoadOption::RuleBase, "RUfact.AEB", "rule(1,\"a\",[\"b\",\"c\"],1)\nfact(\"a\")\n", offers("yes")),
              std::nullopt);
    const Names all = boxes();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.back(), "note: Faulty facts in rule base");
    EXPECT_FALSE(app.store.nazwa_re);
    EXPECT_TRUE(app.store.rules().empty());
}

TEST_F(LoadScenario, ConstraintBaseChecksRunBeforeItsSuccessNote) {
    ASSERT_EQ(load(kb::LoadOption::RuleBase, "RUk.AEB", "rule(1,\"a\",[\"b\",\"c\"],1)\n", offers("no")), "RUk.AEB");
    port.clearCalls();
    EXPECT_EQ(load(kb::LoadOption::ConstraintBase, "COk.AEB", "constraint(1,[\"b\",\"c\"])\nconstraint(2,[\"b\"])\n"),
              std::nullopt);
    EXPECT_EQ(boxes(), (Names{"open file: Load Constraint Base", "note: Attention error!"}));
    EXPECT_FALSE(app.store.nazwa_og);
    port.clearCalls();
    EXPECT_EQ(load(kb::LoadOption::ConstraintBase, "COk.AEB", "constraint(1,[\"b\",\"c\"])\nconstraint(1,[\"c\",\"b\"])\n"),
              std::nullopt);
    EXPECT_EQ(boxes(), (Names{"open file: Load Constraint Base", "note: Successful  loading of Constraint Base",
                              "note: Faulty Constraint Base"}));
}

}  // namespace
}  // namespace torv::verify::test
