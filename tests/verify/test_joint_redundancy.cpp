// Joint rule-constraint redundancies: which groups are found, informing at
// load, and the whole report, which consumes them.
#include "verify/joint_redundancy.h"

#include "joint_fixture.h"
#include "state/command_ids.h"
#include "verify/load_offers.h"

namespace torv::verify::test {
namespace {

class JointRedundancy : public JointTest {
protected:
    std::vector<std::pair<Numbers, std::int32_t>> groups() const {
        std::vector<std::pair<Numbers, std::int32_t>> out;
        for (const auto& r : app.findings.jointRedundancy.reguly_nadmiarowe_n2) out.emplace_back(r.reguly, r.k);
        return out;
    }
};

TEST_F(JointRedundancy, RulesDifferingOnlyInTheMemberTheyRequire) {
    using Groups = std::vector<std::pair<Numbers, std::int32_t>>;
    struct Case {
        const char* what;
        std::vector<kb::Rule> rules;
        std::vector<kb::Constraint> constraints;
        Groups found;
    };
    const std::vector<kb::Constraint> xy{{1, {"x", "y"}}};
    const Case cases[] = {
        {"common part [b], differences [x] and [y]", {R(1, "a", {"b", "x"}), R(2, "a", {"b", "y"})}, xy, {{{1, 2}, 1}}},
        {"a rule through no member is not collected",
         {R(1, "a", {"b", "x"}), R(2, "a", {"b", "y"}), R(3, "a", {"b", "z"})}, xy, {{{1, 2}, 1}}},
        {"different common parts", {R(1, "a", {"b", "x"}), R(2, "a", {"c", "y"})}, xy, {}},
        {"a member no rule requires", {R(1, "a", {"b", "x"}), R(2, "a", {"b", "y"})}, {{1, {"x", "y", "z"}}}, {}},
        {"different conclusions", {R(1, "a", {"b", "x"}), R(2, "c", {"b", "y"})}, xy, {}},
        {"found through flattening", {R(1, "a", {"p", "x"}), R(2, "a", {"b", "y"}), R(3, "p", {"b"})}, xy,
         {{{1, 2}, 1}}},
        {"the same rules with two constraints", {R(1, "a", {"x"}), R(2, "a", {"y"})}, {{1, {"x", "y"}}, {2, {"y", "x"}}},
         {{{1, 2}, 1}, {{1, 2}, 2}}},
    };
    for (const auto& c : cases) {
        bases(c.rules, c.constraints);
        EXPECT_EQ(wyznacz_nadmiar_2(app), c.found.empty()) << c.what;
        EXPECT_EQ(groups(), c.found) << c.what;
    }
}

TEST_F(JointRedundancy, AGroupTooLargeIsLeftAndTheReportSaysSo) {
    bases(manyFlattenings({R(1, "a", {"x", "p1", "p2", "p3", "p4", "p5"}), R(2, "a", {"y"}), R(3, "b", {"x"}),
                           R(4, "b", {"y"})}),
          {{1, {"x", "y"}}});
    EXPECT_FALSE(wyznacz_nadmiar_2(app));
    EXPECT_TRUE(app.findings.jointRedundancy.truncated);
    EXPECT_EQ(groups(), (std::vector<std::pair<Numbers, std::int32_t>>{{{3, 4}, 1}}));
    port.always("Report of chaining/diagnosing", "no");
    pisz_nadmiar_2(app);
    EXPECT_NE(app.report.tekst_raportu().find(" The report is incomplete: conclusions with more than 10000 "
                                              "flattenings through a constraint were not examined.\n"),
              std::string::npos);
}

TEST_F(JointRedundancy, FoundAtLoadItInformsAndTheLoadGoesOn) {
    bases({R(1, "a", {"b", "x"}), R(2, "a", {"b", "y"})}, {{1, {"x", "y"}}});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_nadmiar_2(app));
    EXPECT_TRUE(app.menu.enabled(shell::cmd::kDiagnosingJointRuleConstraintRedundancies));
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Joint redundancies found");
    EXPECT_TRUE(notes()[0].text.starts_with("Augmented Exact Rule Base\n   RUt.AEB\nand Augmented Exact Constraint "
                                            "Base\n   COt.AEB\ncontain redundancy of type RAE2. \n\n"))
        << notes()[0].text;
    // Findings stay for the report.
    EXPECT_EQ(groups().size(), 1u);

    port.clearCalls();
    bases({R(1, "a", {"b", "x"})}, {{1, {"x", "y"}}});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_nadmiar_2(app));
    EXPECT_EQ(noteTexts(), std::vector<std::string>{"Augmented Exact Rule Base\n     RUt.AEB\nand Augmented Exact "
                                                    "Constraint Base\n     COt.AEB\nhave no joint redundancies of "
                                                    "type RAE2."});
    EXPECT_EQ(notes()[0].title, "Result of testing joint redundancies");
}

TEST_F(JointRedundancy, ReportShowsEachGroupAndConsumesIt) {
    bases({R(1, "a", {"b", "x"}), R(2, "a", {"b", "y"}), R(3, "a", {"b", "z"})}, {{1, {"x", "y"}}});
    const std::string expected =
        " Diagnostic report on joint rule-constraint redundancies between:\n"
        "Rule Base:            RUt.AEB\n"
        " and Constraint Base:  COt.AEB\n"
        " Joint redundancies of type  RAE2 are detected\n"
        " by flattening rules and comparing their list of conditions\n"
        " with those in the constraint base: \n"
        " The result of flattening rule 1 is: \n"
        "   rule_flattened(1, a, [x,b])\n"
        " The flattening has been done using rules:  \n"
        " The result of flattening rule 2 is: \n"
        "   rule_flattened(2, a, [y,b])\n"
        " The flattening has been done using rules:  \n"
        " The quoted rules and the constraint 1 o postaci\n"
        "   constraint(1, [x,y])\n"
        " contain redundancy of type RAE2.\n"
        " End of diagnostic report of joint rule-constraint redundancies between\n"
        "Augmented Exact Rule Base  RUt.AEB\n"
        "and Augmented Exact Constraint Base: COt.AEB\n";
    for (int run = 0; run < 2; ++run) {
        // The second run finds them again: the first consumed what it showed.
        port.clearCalls();
        declineSave();
        pisz_nadmiar_2(app);
        EXPECT_EQ(app.report.tekst_raportu(), expected) << run;
        EXPECT_TRUE(groups().empty());
        const auto texts = noteTexts();
        ASSERT_EQ(texts.size(), 6u);
        EXPECT_EQ(texts[2], "The result of flattening rule  1is:\n\nrule_flattened(1, a, [\"x\",\"b\"])\n\nThe "
                            "flattening has been done using rules: ");
        EXPECT_EQ(texts[4], "The quoted rules and the constrainte \nconstraint(1, [\"x\",\"y\"])\ncontain redundancy "
                            "of type  RAE2.");
    }
    port.clearCalls();
    bases({R(1, "a", {"b", "x"})}, {{1, {"x", "y"}}});
    pisz_nadmiar_2(app);
    EXPECT_EQ(noteTexts(), std::vector<std::string>{"Augmented Exact Rule Base\n    RUt.AEB\nand Augmented Exact "
                                                    "Constraint Base\n    COt.AEB\nhave no joint redundancies of type "
                                                    "RAE2."});
}

}  // namespace
}  // namespace torv::verify::test
