// Models with the same results without a constraint base: the ten checks,
// mutual exclusion through rules, and the chaining gate that runs them.
#include <gtest/gtest.h>

#include "support/chaining_fixture.h"
#include "engine/gate.h"
#include "engine/same_results.h"

namespace torv::test {
namespace {

using engine::testuj_wyniki_wszystkich_modeli_bez_ograniczen;

const std::string kAdvice =
    "\nThe go-ahead conditions of those models are not mutually exclusive, "
    "\nbecause there is no constraint base  nor relational models to accomplish this."
    "\nEnter the  option 'Model Base/ Model Base Editing'\nand correct the model base, or enter the  option:"
    "\n'Constraint Base/ Constraint Base Creating '\nand design a proper constraint base.";

std::string basic(int n, const std::string& g, const std::string& result = "y") {
    return "model_b(" + std::to_string(n) + ",\"" + g + "\",\"" + result + "\",\"a\",\"+\",\"1\",1)\n";
}
std::string poly(int n, const std::string& g) {
    return "model_poly(" + std::to_string(n) + ",\"" + g + "\",\"y\",\"a\",[\"1\"],[1],1)\n";
}

struct Case {
    const char* name;
    std::string rules;
    std::string models;
    std::string note;   // empty when the test passes
};

class SameResults : public ChainingTest, public ::testing::WithParamInterface<Case> {};

TEST_P(SameResults, PassesOrNamesTheModels) {
    rules(GetParam().rules);
    models(GetParam().models);
    port.clearCalls();
    const bool passed = testuj_wyniki_wszystkich_modeli_bez_ograniczen(app);
    EXPECT_EQ(passed, GetParam().note.empty());
    if (passed) {
        EXPECT_TRUE(port.calls().empty());
    } else {
        EXPECT_EQ(port.titles(), std::vector<std::string>{"Attention!"});
        EXPECT_EQ(port.last("note").text, GetParam().note + kAdvice);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SameResults,
    ::testing::Values(
        Case{"NegatedGoAheads", "rule(1,\"p\",[\"q\"],1)\n", basic(1, "a") + basic(2, "na"), ""},
        Case{"RulesWithNegatedConditions", "rule(1,\"g1\",[\"x\",\"w\"],1)\nrule(2,\"g2\",[\"nx\"],1)\n",
             basic(1, "g1") + basic(2, "g2"), ""},
        Case{"SameGoAheadInOneFamily", "rule(1,\"p\",[\"q\"],1)\n", basic(1, "g") + basic(2, "g"), ""},
        Case{"DifferentResults", "rule(1,\"p\",[\"q\"],1)\n", basic(1, "g1") + basic(2, "g2", "z"), ""},
        Case{"RelationalModelsHaveNoResult", "rule(1,\"p\",[\"q\"],1)\n",
             basic(1, "g1") + "model_b(2,\"g2\",\"y\",\"a\",\">\",\"1\",1)\n", ""},
        Case{"UnrelatedGoAheads", "rule(1,\"g1\",[\"x\"],1)\nrule(2,\"g2\",[\"w\"],1)\n",
             basic(1, "g1") + basic(2, "g2"),
             "The model base contains elementary  models\nhaving the same results:\n               1, 2"},
        // Models sharing a go-ahead condition are named by the first of them.
        Case{"FirstModelOfEachGoAheadIsNamed", "rule(1,\"g1\",[\"x\",\"nx\"],1)\nrule(2,\"g2\",[\"w\"],1)\n",
             basic(1, "g1") + basic(3, "g1") + basic(2, "g2"),
             "The model base contains elementary  models\nhaving the same results:\n               1, 2"},
        Case{"DeclarationSettlesAFamily", "rule(1,\"p\",[\"q\"],1)\n",
             basic(1, "g1") + basic(2, "g2") + "exclusive_models([\"h1\",\"h2\"])\n", ""},
        Case{"MixedPairBeforeFamilies", "rule(1,\"p\",[\"q\"],1)\n",
             basic(1, "g1") + basic(2, "g2") + poly(3, "g3"),
             "The model base contains basic and polynomial modelshaving the same results:\n               1, 3"},
        Case{"MixedPairAndADeclarationHoldingNeither", "rule(1,\"p\",[\"q\"],1)\n",
             basic(1, "g1") + poly(2, "g2") + "exclusive_models([\"g1\",\"g2\"])\nexclusive_models([\"h\"])\n",
             "The model base contains basic and polynomial modelshaving the same results:\n               1, 2"},
        Case{"MixedPairCoveredByTheDeclaration", "rule(1,\"p\",[\"q\"],1)\n",
             basic(1, "g1") + poly(2, "g2") + "exclusive_models([\"g1\",\"g2\"])\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RuleExclusion, NegationOrConflictingRules) {
    kb::Store s;
    kb::RuleBase b;
    b.rules = {{1, "g1", {"x", "w"}, 1}, {2, "g2", {"v", "nx"}, 1}, {3, "g3", {"w"}, 1}, {4, "g4", {"y", "ny"}, 1}};
    s.setRuleBase(std::move(b));
    EXPECT_TRUE(engine::wykluczenie_regulowe(s, "a", "na"));
    EXPECT_TRUE(engine::wykluczenie_regulowe(s, "na", "a"));
    EXPECT_TRUE(engine::wykluczenie_regulowe(s, "g1", "g2"));
    EXPECT_TRUE(engine::wykluczenie_regulowe(s, "g2", "g1"));
    EXPECT_FALSE(engine::wykluczenie_regulowe(s, "g1", "g3"));
    // Both conditions must come from two different rules.
    EXPECT_FALSE(engine::wykluczenie_regulowe(s, "g4", "g4"));
}

TEST_F(SameResults, WithoutModelBaseOrWithConstraintBaseNothingIsTested) {
    rules("rule(1,\"g1\",[\"x\"],1)\nrule(2,\"g2\",[\"w\"],1)\n");
    EXPECT_TRUE(testuj_wyniki_wszystkich_modeli_bez_ograniczen(app));
    models(basic(1, "g1") + basic(2, "g2"));
    constraints("constraint(1,[\"x\",\"w\"])\n");
    port.clearCalls();
    EXPECT_TRUE(testuj_wyniki_wszystkich_modeli_bez_ograniczen(app));
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(SameResults, ManyModelsWithOneResultAreTestedByGoAhead) {
    rules("rule(1,\"p\",[\"q\"],1)\n");
    std::string text;
    for (int i = 1; i <= 10'000; ++i) text += basic(i, i % 2 ? "a" : "na");
    models(text);
    EXPECT_TRUE(testuj_wyniki_wszystkich_modeli_bez_ograniczen(app));
}

TEST_F(SameResults, GateRefusesAfterTheNoteAndOnEveryModelVerdict) {
    rules("rule(1,\"g1\",[\"x\"],1)\nrule(2,\"g2\",[\"w\"],1)\n");
    models(basic(1, "g1") + basic(2, "g2"));
    port.clearCalls();
    EXPECT_FALSE(engine::bramka_wnioskowania(app));
    EXPECT_EQ(port.titles(), std::vector<std::string>{"Attention!"});

    app.store.kasowanie_dmodel();
    app.store.kasowanie_nazwy_mo();
    // Each model verdict on its own refuses without a word.
    for (int flag = 0; flag < 4; ++flag) {
        app.verdicts = {};
        app.verdicts.model_aryt_sprzeczny = flag == 0;
        app.verdicts.model_sprzeczny_gleboko = flag == 1;
        app.verdicts.model_rela_sprzeczny = flag == 2;
        if (flag == 3) app.verdicts.sprzecznosc_mr = true;
        port.clearCalls();
        EXPECT_FALSE(engine::bramka_wnioskowania(app)) << flag;
        EXPECT_TRUE(port.calls().empty());
    }
    app.verdicts = {};
    EXPECT_TRUE(engine::bramka_wnioskowania(app));
}

}  // namespace
}  // namespace torv::test
