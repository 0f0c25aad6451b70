// The state test of conclusion exclusivity, and the same-results test with a
// constraint base built on it.
#include <gtest/gtest.h>

#include "engine/gate.h"
#include "verify/flattening.h"
#include "verify/same_results_constraints.h"
#include "verify/state_test.h"
#include "verify_fixture.h"

namespace torv::verify::test {
namespace {

class StateTests : public VerifyTest {
protected:
    ExclusionOutcome run(Exclusion opcja, const std::vector<RuleToTest>& reguly) {
        std::vector<Names> states;
        for (const auto& r : reguly) states.push_back(r.flat);
        return StateTest(app.store).testuj(opcja, reguly, states);
    }
};

TEST_F(StateTests, ExcludedListsOfAState) {
    struct Case {
        const char* name;
        std::string models, constraints;
        Names prawda;
        std::vector<Names> expected;
    };
    const Case cases[] = {
        {"NegationsOnceEach", "", "", {"x", "ny", "x"}, {{"nx"}, {"y"}}},
        {"DeclaredListFirst", "exclusive_models([\"p\",\"x\",\"q\"])\n", "constraint(1,[\"x\",\"z\"])\n", {"x", "z"},
         {{"p", "x", "q"}, {"nz", "x", "z"}}},
        {"ConstraintMembersOrNegationAlone", "", "constraint(1,[\"u\",\"x\",\"w\"])\n", {"x", "v", "v"},
         {{"nx", "u", "x", "w"}, {"nv"}, {"nv"}}},
    };
    for (const auto& c : cases) {
        app.store.clearAll();
        if (!c.models.empty()) models(c.models);
        if (!c.constraints.empty()) constraints(c.constraints);
        EXPECT_EQ(StateTest(app.store).wyznacz_ograniczenia_dla_prawdy(c.prawda), c.expected) << c.name;
    }
}

TEST_F(StateTests, FiringInAState) {
    const StateTest t(app.store);
    const StateOfWorld s = t.wybierz_prawde({"x", "y"});
    EXPECT_TRUE(StateTest::czy_jest_prawda_w({"y", "x"}, s));
    EXPECT_FALSE(StateTest::czy_jest_prawda_w({"x", "z"}, s));   // z neither holds nor is excluded
    EXPECT_FALSE(StateTest::czy_jest_prawda_w({"nx"}, s));
    EXPECT_TRUE(StateTest::czy_jest_prawda_w({"z"}, t.wybierz_prawde({})));   // nothing excluded at all
}

TEST_F(StateTests, CountsDecideEachQuestion) {
    const std::vector<RuleToTest> negated{{1, "a", {"x"}}, {2, "b", {"nx"}}};
    const std::vector<RuleToTest> shared{{1, "a", {"x"}}, {2, "b", {"x", "y"}}};
    const std::vector<RuleToTest> disjoint{{1, "a", {"x"}}, {2, "b", {"y"}}};
    EXPECT_FALSE(run(Exclusion::ToOne, negated).no(Exclusion::ToOne));
    EXPECT_FALSE(run(Exclusion::NonExclusion, negated).no(Exclusion::NonExclusion));
    EXPECT_TRUE(run(Exclusion::NonExclusion, shared).no(Exclusion::NonExclusion));
    EXPECT_TRUE(run(Exclusion::ToNone, shared).no(Exclusion::ToNone));
    EXPECT_FALSE(run(Exclusion::NonExclusion, disjoint).no(Exclusion::NonExclusion));
    // The second state settles it; the third is not run.
    const auto outcome = run(Exclusion::NonExclusion, {{1, "a", {"x"}}, {2, "b", {"x"}}, {3, "c", {"z"}}});
    EXPECT_TRUE(outcome.wykluczenie_no);
    EXPECT_EQ(outcome.states, 1u);
}

TEST_F(StateTests, CommonConditionsAndLengths) {
    EXPECT_TRUE(testowanie_obecnosci_wspolnych_warunkow({{1, "a", {"x", "y"}}}));
    EXPECT_TRUE(testowanie_obecnosci_wspolnych_warunkow({{1, "a", {"x", "y"}}, {2, "b", {"z", "y"}}}));
    EXPECT_FALSE(testowanie_obecnosci_wspolnych_warunkow({{1, "a", {"x"}}, {2, "b", {"nx"}}}));
    EXPECT_FALSE(testowanie_roznej_liczby_warunkow({{1, "a", {"x"}}, {2, "b", {"nx"}}}));
    EXPECT_TRUE(testowanie_roznej_liczby_warunkow({{1, "a", {"x"}}, {2, "b", {"nx", "y"}}}));
}

TEST_F(StateTests, ManyDisjointRulesRunInLinearTime) {
    std::vector<RuleToTest> many;
    for (int i = 0; i < 20'000; ++i) many.push_back({i, "g" + std::to_string(i), {"x" + std::to_string(i)}});
    EXPECT_FALSE(run(Exclusion::NonExclusion, many).wykluczenie_no);
}

// ---- models with the same results against the constraint base ----

std::string twoModels(const std::string& g1, const std::string& g2) {
    return "model_b(1,\"" + g1 + "\",\"y\",\"a\",\"+\",\"1\",1)\nmodel_lin(2,\"" + g2 +
           "\",\"y\",[\"2\"],[\"a\"],1)\n";
}

TEST_F(StateTests, GoAheadRulesAgainstTheConstraintBase) {
    struct Case {
        const char* name;
        std::vector<kb::Rule> rules;
        std::string models;
        bool passes;
    };
    const Case cases[] = {
        {"NegatedConditions", {R(1, "g1", {"x"}), R(2, "g2", {"nx"})}, twoModels("g1", "g2"), true},
        {"SharedCondition", {R(1, "g1", {"x"}), R(2, "g2", {"x", "y"})}, twoModels("g1", "g2"), false},
        {"RelationalModelNeedsNoRule",
         {R(1, "g1", {"x"}), R(2, "g2", {"x", "y"})},
         twoModels("g1", "g2") + "model_b(3,\"No condition\",\"g2\",\"t\",\">\",\"1\",1)\n",
         true},
        {"OneGoAheadIsNotAGroup", {R(1, "g1", {"x"}), R(2, "g1", {"x", "y"})}, twoModels("g1", "g1"), true},
    };
    for (const auto& c : cases) {
        app.store.clearAll();
        rules(c.rules);
        models(c.models);
        constraints("constraint(1,[\"x\",\"z\"])\n");
        FlatteningBase base(app.store, app.askables);
        EXPECT_EQ(!znajdz_reguly_niewykluczajace(app.store, base).has_value(), c.passes) << c.name;
    }
}

TEST_F(StateTests, NotExclusiveGoAheadRulesAreReportedAndRefuseChaining) {
    rules({R(1, "g1", {"x"}), R(2, "g2", {"y", "x"})});
    models(twoModels("g1", "g2"));
    constraints("constraint(1,[\"x\",\"z\"])\n");
    EXPECT_FALSE(testuj_wyniki_wszystkich_modeli_z_og(app));
    EXPECT_EQ(noteTexts(),
              (Names{"\nConclusions of the following rules, which serve as go-ahead conditions for models with the "
                     "same result, are not mutually exclusive: \nRule number:  1    Conclusion:  g1"
                     "\nRule number:  2    Conclusion:  g2",
                     "The loaded rule, model and constraint bases may not be used for chaining."
                     "\nEnter the proper base editing option and correct one or all of them."}));
    EXPECT_EQ(app.report.tekst_raportu(),
              "Conclusions of the following rules are not mutually exclusive:\n"
              "Rule number:  1    Conclusion:  g1\nRule number:  2    Conclusion:  g2\n"
              "\nThe loaded rule, model and constraint bases may not be used for chaining. \n"
              "Enter the proper base editing option and correct one or all of them.\n");
    // The gate does not repeat the test, and refuses without a word.
    port.clearCalls();
    EXPECT_FALSE(engine::bramka_wnioskowania(app));
    EXPECT_TRUE(port.calls().empty());
}

}  // namespace
}  // namespace torv::verify::test
