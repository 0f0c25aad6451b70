// Joint rule-constraint inconsistencies: which rules and constraints are
// found, informing at load, and the whole report.
#include "verify/joint_inconsistency.h"

#include "joint_fixture.h"
#include "state/command_ids.h"
#include "verify/load_offers.h"

namespace torv::verify::test {
namespace {

class JointInconsistency : public JointTest {};

TEST_F(JointInconsistency, FlatteningsNeedingTwoMembersOfAConstraint) {
    using Found = std::vector<verify::JointInconsistency>;
    struct Case {
        const char* what;
        std::vector<kb::Rule> rules;
        std::vector<kb::Constraint> constraints;
        Found found;
    };
    const Case cases[] = {
        {"direct", {R(1, "a", {"x", "y"})}, {{1, {"x", "y"}}}, {{1, 1}}},
        {"through another rule", {R(1, "a", {"p", "y"}), R(2, "p", {"x", "b"})}, {{1, {"x", "y"}}}, {{1, 1}}},
        {"one member each", {R(1, "a", {"x"}), R(2, "b", {"y"})}, {{1, {"x", "y"}}}, {}},
        {"a member and its negation are no pair", {R(1, "a", {"x", "ny"})}, {{1, {"x", "y"}}}, {}},
        {"each constraint holding two of them", {R(1, "a", {"x", "y", "z"})},
         {{1, {"x", "y"}}, {2, {"z", "w"}}, {3, {"z", "x"}}}, {{1, 3}, {1, 1}}},   // the flattening is [z,y,x]
    };
    for (const auto& c : cases) {
        bases(c.rules, c.constraints);
        EXPECT_EQ(wyznacz_sprzecznosc_2(app), c.found.empty()) << c.what;
        EXPECT_EQ(app.findings.jointInconsistency.sprzecznosc_2, c.found) << c.what;
    }
}

TEST_F(JointInconsistency, FoundAtLoadItStopsTheLoadAndEnablesTheReport) {
    bases({R(1, "a", {"x", "y"})}, {{1, {"x", "y"}}});
    app.menu.grey({shell::cmd::kDiagnosingJointRuleConstraintInconsistencies});
    port.then("Choose", "yes");
    EXPECT_FALSE(testuj_sprzecznosc_2(app));
    EXPECT_TRUE(app.menu.enabled(shell::cmd::kDiagnosingJointRuleConstraintInconsistencies));
    EXPECT_EQ(port.calls().at(0).text,
              "The Augmented  Exact Rule Base\n    RUt.AEB\nand Augmented Exact Constraint Base\n    COt.AEB\nmay be "
              "tested for joint inconsistencies.\n\nThis test may take a lot of time for large and \nheavily nested "
              "rule bases.\nFor routine uses of the rule- and constraint bases \nthe test should be bypassed.\nKeep in "
              "mind that joint rule- and constraint base \ninconsistencies do not lead to infinite loops;\nrules "
              "jointly inconsistent are just bypassed in the \nchaining process and this is perhaps not what the "
              "\nrule base designer intended to achieve.\n\nDo you wish to test for joint inconsistencies?");
    EXPECT_EQ(noteTexts(), std::vector<std::string>{
                               "Augmented Exact Rule Base\n    RUt.AEB\nand Augmented Exact Constraint Base\n    "
                               "COt.AEB\nare IAE2-inconsistent.\n\nYou may run a diagnostic check revealing\nthe "
                               "nature of inconsistency.For this enter the option:\n   'Exact Constraint Base\n     "
                               "Diagnosing Joint Inconsistencies' where a detailed message highlighting the nature  "
                               "of inconsistencies is to be found."});
    const std::string window = app.messages.text();
    EXPECT_NE(window.find("  Rule Bbase:           RUt.AEB\n  and Constraint Base: COt.AEB\n  are tested for joint "
                          "inconsistencies\n Rule Base:           RUt.AEB\n and Constraint Base: COt.AEB\n are "
                          "IAE2-inconsistent.\n"),
              std::string::npos)
        << window;

    // Declined, or nothing found: the load goes on.
    port.clearCalls();
    port.then("Choose", "no");
    EXPECT_TRUE(testuj_sprzecznosc_2(app));
    bases({R(1, "a", {"x"})}, {{1, {"x", "y"}}});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_sprzecznosc_2(app));
    EXPECT_EQ(notes().back().title, "Diagnostic Report on joint rule-constraint inconsistencies");
    EXPECT_EQ(notes().back().text,
              "Augmented Exact Rule Base\n   RUt.AEB\nand Augmented Exact Constraint Base\n   COt.AEB\nare not jointly "
              "inconsistent!");
}

TEST_F(JointInconsistency, ReportShowsEachRuleWithItsFlatteningsAndConstraint) {
    bases({R(1, "a", {"x", "y"}), R(2, "b", {"a", "c"}), R(3, "d", {"x"})}, {{4, {"x", "y"}}});
    declineSave();
    pisz_sprzecznosc_2(app);
    EXPECT_EQ(app.report.tekst_raportu(),
              "  Diagnostic Report on joint rule-constraint inconsistencies between: \n"
              " Rule Base:        RUt.AEB\n"
              " and Constraint Base:COt.AEB\n"
              "\n"
              " Detection of joint inconsistencies of type IAE2 is done by by flattening rules:\n"
              "\n"
              " The result of flattening rule  1 is: \n"
              "   rule_flattened(1, a, [y,x])\n"
              "Flattening has been done using rules:  Rule 1 is directly IAE2-inconsistent with constraint  4:\n"
              "   constraint(4, [x,y])\n"
              "\n"
              " The result of flattening rule 2 is: \n"
              "   rule_flattened(2, b, [c,x,y])\n"
              " Flattening has been done using rules: 1 Rule 2 is indirectly IAE2-inconsistent with constraint4:\n"
              "   constraint(4, [x,y])\n"
              "\n"
              "\n"
              " End of diagnostic report of joint rule-constraint inconsistencies between\n"
              " Rule Base:          RUt.AEB\n"
              " and Constraint Base:   COt.AEB\n");
    const auto texts = noteTexts();
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(texts[2],
              "The result of flattening rule 1is:\n\nrule_flattened(1, a, [\"y\",\"x\"]\nFlattening has been done using "
              "rules: )\n\nRule 1. is directly IAE2-inconsistent with constraint 4:\n\nconstraint(4, [\"x\",\"y\"])");
    EXPECT_EQ(texts[3],
              "The result of flattening rule 2 is:\n\nrule_flattened(2, b, [\"c\",\"x\",\"y\"])\n\nFlattening has been "
              "done using rules: 1, \n\nRule 2is indirectlyIAE2-inconsistent with constraint 4:\n\nconstraint(4, "
              "[\"x\",\"y\"])");
    EXPECT_EQ(texts[4],
              "End of diagnostic report of joint rule-constraint inconsistencies between\nAugmented Exact Rule "
              "Base\n    RUt.AEB\nand Augmented Exact Constraint Base\n    COt.AEB.");
}

TEST_F(JointInconsistency, TheKeptFlatteningsAreBoundedAndTheReportSaysSo) {
    bases(manyFlattenings({R(1, "a", {"x", "y", "p1", "p2", "p3", "p4", "p5"})}), {{1, {"x", "y"}}});
    EXPECT_FALSE(wyznacz_sprzecznosc_2(app));
    EXPECT_TRUE(app.findings.jointInconsistency.truncated);
    EXPECT_EQ(app.findings.jointInconsistency.regula_splaszczona_s2.size(), kMaxJointFlattenings);
    port.always("Report of chaining/diagnosing", "no");
    pisz_sprzecznosc_2(app);
    EXPECT_NE(app.report.tekst_raportu().find(" The report is cut short: only the first 10000 flattenings showing "
                                              "joint inconsistencies are kept.\n"),
              std::string::npos);
}

TEST_F(JointInconsistency, NothingFoundOrNothingFlattenable) {
    bases({R(1, "a", {"x"})}, {{1, {"x", "y"}}});
    pisz_sprzecznosc_2(app);
    EXPECT_EQ(noteTexts(), std::vector<std::string>{" No inconsistencies of type IAE2\nhave been detected in  \nAugmented "
                                                    "Exact Rule Base\n    RUt.AEB \nand Augmented Exact Constraint "
                                                    "Base\n    COt.AEB"});
    EXPECT_EQ(app.report.tekst_raportu(), "");
    // A cycle makes every flattening endless: the test says so and finds nothing.
    port.clearCalls();
    bases({R(1, "a", {"b", "x"}), R(2, "b", {"a"})}, {{1, {"x", "y"}}});
    EXPECT_TRUE(informuj_sprzecznosc_2(app));
    EXPECT_EQ(noteTexts(), std::vector<std::string>{"Externally inconsistent rules may not be flattened!"});
}

}  // namespace
}  // namespace torv::verify::test
