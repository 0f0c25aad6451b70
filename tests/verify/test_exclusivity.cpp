// Conclusion exclusivity analysis: the decision table, the whole texts of the
// three commands on the telling cases, and bounded work.
#include "verify/exclusivity.h"

#include <algorithm>

#include "verify/flattening.h"
#include "verify_fixture.h"

namespace torv::verify::test {
namespace {

using Note = std::pair<std::string, std::string>;   // title, text

const char* const kToOneAnnouncement =
    " An 'exclusive to one' test will be performed for selected conclusion. \n"
    " This test discovers whether always one and only one conclusion is true. \n";

class Exclusivity : public VerifyTest {
protected:
    /// Runs the command, picking `picks` (as typed: "1 2") in the list.
    void analyse(Exclusion opcja, const std::string& picks) {
        port.then("Pick facts", picks);
        analiza_bazy_wiedzy(app, opcja);
        EXPECT_EQ(port.pending(), 0u);
    }
    /// The notes after the announcement.
    std::vector<Note> resultNotes() const {
        std::vector<Note> out;
        const auto all = notes();
        for (std::size_t i = 1; i < all.size(); ++i) out.emplace_back(all[i].title, all[i].text);
        return out;
    }
};

TEST(ExclusivityTable, FirstMatchingRowDecides) {
    const WierszWnioskow toOne{"\nThe following rules have conclusions exclusive to one:",
                               "The following rules have conclusions exclusive to one:", true};
    const WierszWnioskow notToOne{"\nThe following rules have no conclusions exclusive to one:",
                                  "The following rules have no conclusions exclusive to one:", false};
    const WierszWnioskow toNone{"\nThe following rules have conclusions exclusive to none:",
                                "The following rules have conclusions exclusive to none:", false};
    const WierszWnioskow noneExclusive{"\nThe following rules have no  exclusive conclusion:",
                                       "The following rules have no exclusive conclusions:", false};
    const WierszWnioskow notExclusive{"\nThe following rules have no exclusive conclusions: ",
                                      "The following rules have no exclusive conclusions:", false};
    const WierszWnioskow exclusiveCommon{"\nThe following rules have exclusive conclusions: ",
                                         "The following rules have exclusive conclusions:", false};
    const WierszWnioskow exclusive{"\nThe following rules have exclusive conclusions: ",
                                   "The following rules have  exclusive conclusions:", false};
    using Row = std::optional<WierszWnioskow>;
    // Indexed by NO, COMMON, DIFF as bits 4, 2, 1.
    const Row toOneRows[8] = {toOne, notToOne, notToOne, notToOne, notToOne, notToOne, notToOne, notToOne};
    const Row toNoneRows[8] = {noneExclusive, toNone, std::nullopt, toNone, noneExclusive, std::nullopt,
                               std::nullopt, std::nullopt};
    const Row nonExclusionRows[8] = {exclusive, notExclusive, exclusiveCommon, exclusiveCommon,
                                     notExclusive, notExclusive, notExclusive, notExclusive};
    for (int bits = 0; bits < 8; ++bits) {
        const bool no = bits & 4, common = bits & 2, diff = bits & 1;
        SCOPED_TRACE("NO " + std::to_string(no) + " COMMON " + std::to_string(common) + " DIFF " + std::to_string(diff));
        EXPECT_EQ(wiersz_wnioskow(Exclusion::ToOne, no, common, diff), toOneRows[bits]);
        EXPECT_EQ(wiersz_wnioskow(Exclusion::ToNone, no, common, diff), toNoneRows[bits]);
        EXPECT_EQ(wiersz_wnioskow(Exclusion::NonExclusion, no, common, diff), nonExclusionRows[bits]);
    }
}

TEST_F(Exclusivity, AConditionAndItsNegationAreExclusiveToOne) {
    rules({R(1, "a", {"x"}), R(2, "b", {"nx"}), R(3, "c", {"y"})});
    analyse(Exclusion::ToOne, "1 2");
    EXPECT_EQ(app.messages.text(), std::string(kToOneAnnouncement) +
                                       "\nThe following rules have conclusions exclusive to one:\n"
                                       "Rule number: 1    Conclusion:   a\n"
                                       "Rule number: 2    Conclusion:   b\n");
    const auto all = notes();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].title, "Attention!");
    EXPECT_EQ(all[0].text, "An 'exclusive to one' test will be performed for selected conclusion.  "
                           "\nThis test discovers whether always one and only one conclusion is true. ");
    const std::string title = "The following rules have conclusions exclusive to one:";
    EXPECT_EQ(resultNotes(), (std::vector<Note>{{title, "Rule number:  1    Conclusion:   a"},
                                                {title, "Rule number:  2    Conclusion:   b"}}));
    const auto pick = port.last("pick several");
    EXPECT_EQ(pick.title, "Pick facts");
    EXPECT_EQ(pick.prompt, "Pick conclusions tested for exclusivity!\nPick conclusions tested for exclusivity");
    EXPECT_EQ(pick.items, (std::vector<std::string>{"1  a", "2  b", "3  c"}));
}

TEST_F(Exclusivity, WithAModelBaseTheAnnouncementLosesItsTrailingBlanks) {
    rules({R(1, "a", {"x"}), R(2, "b", {"nx"})});
    models("exclusive_models([\"p\",\"q\"])\n");
    analyse(Exclusion::ToOne, "0");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].text, "An 'exclusive to one' test will be performed for selected conclusion. "
                               "\nThis test discovers whether always one and only one conclusion is true.");
    EXPECT_EQ(app.messages.text(), kToOneAnnouncement);   // nothing picked: nothing reported
}

TEST_F(Exclusivity, RulesSharingAConditionAreNoneExclusiveToOneWhateverTheStatesGive) {
    // Each state fires exactly one rule (ny is excluded where y holds), yet
    // the shared x decides.
    rules({R(1, "a", {"x", "y"}), R(2, "b", {"x", "ny"})});
    analyse(Exclusion::ToOne, "1,2");
    EXPECT_EQ(app.messages.text(), std::string(kToOneAnnouncement) +
                                       "\nThe following rules have no conclusions exclusive to one:\n"
                                       "Rule number:  1    Conclusion:  a\n"
                                       "Rule number:  2    Conclusion:  b\n");
    const std::string title = "The following rules have no conclusions exclusive to one:";
    EXPECT_EQ(resultNotes(), (std::vector<Note>{{title, "Rule number:  1    Conclusion: a"},
                                                {title, "Rule number:  2    Conclusion: b"}}));
}

TEST_F(Exclusivity, ASingleChosenRuleCountsAsCommon) {
    rules({R(1, "a", {"x"}), R(2, "b", {"nx"})});
    analyse(Exclusion::ToOne, "2");
    EXPECT_EQ(app.messages.text(), std::string(kToOneAnnouncement) +
                                       "\nThe following rules have no conclusions exclusive to one:\n"
                                       "Rule number:  2    Conclusion:  b\n");
    EXPECT_EQ(resultNotes(), (std::vector<Note>{{"The following rules have no conclusions exclusive to one:",
                                                 "Rule number:  2    Conclusion: b"}}));
}

// The rows of these two questions that the golden runs do not reach.
TEST_F(Exclusivity, ToNoneAndNonExclusionReportTheirOtherRows) {
    struct Case {
        const char* what;
        Exclusion opcja;
        std::vector<kb::Rule> rules;
        std::string picks;
        std::string window;   // after the announcement
        std::vector<Note> notes;
    };
    const std::string excl = "The following rules have exclusive conclusions:";
    const std::string notExcl = "The following rules have no exclusive conclusions:";
    const Case cases[] = {
        {"to none, nothing shared, same lengths", Exclusion::ToNone, {R(1, "a", {"x"}), R(2, "b", {"nx"})}, "1 2",
         "\nThe following rules have no  exclusive conclusion:\n"
         "Rule number:  1    Conclusion:  a\nRule number:  2    Conclusion:  b\n",
         {{notExcl, "Rule number:  1    Conclusion: a"}, {notExcl, "Rule number:  2    Conclusion: b"}}},
        {"to none, a shared condition: no row", Exclusion::ToNone, {R(1, "a", {"x"}), R(2, "b", {"x"})}, "1 2", "",
         {}},
        {"non-exclusion, never together, shared", Exclusion::NonExclusion,
         {R(1, "a", {"x", "y"}), R(2, "b", {"x", "ny"})}, "1 2",
         "\nThe following rules have exclusive conclusions: \n"
         "Rule number:  1    Conclusion:  a\nRule number:  2    Conclusion:  b\n",
         {{excl, "Rule number:  1    Conclusion: a"}, {excl, "Rule number:  2    Conclusion: b"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        app.messages.clear();
        port.clearCalls();
        rules(c.rules);
        analyse(c.opcja, c.picks);
        EXPECT_EQ(app.messages.text(), c.window);
        EXPECT_EQ(resultNotes(), c.notes);
    }
}

TEST_F(Exclusivity, OnlyTheFirstFlatteningOfAChosenRuleTakesPart) {
    // Rule 4 flattens to [x] first and to [nx] second; the second would make
    // it fire together with rule 3.
    rules({R(1, "p", {"x"}), R(2, "p", {"nx"}), R(3, "b", {"nx"}), R(4, "a", {"p"})});
    const std::vector<std::size_t> picked{3, 2};
    FlatteningBase base(app.store, app.askables);
    const ExclusivityRun run = wyznacz_wykluczenie(base, Exclusion::NonExclusion, picked);
    EXPECT_EQ(run.reguly, (std::vector<RuleToTest>{{4, "a", {"x"}}, {3, "b", {"nx"}}}));
    EXPECT_FALSE(run.outcome.wykluczenie_no);
}

TEST_F(Exclusivity, ConstraintMembersAreExcludedInTheStateOfAnother) {
    // A third rule needing both x and y never fires in x's state when x and
    // y exclude one another, but does once it holds y too.
    rules({R(1, "a", {"x"}), R(2, "b", {"y"}), R(3, "c", {"x", "y"})});
    constraints("constraint(1,[\"x\",\"y\"])\n");
    FlatteningBase base(app.store, app.askables);
    EXPECT_FALSE(wyznacz_wykluczenie(base, Exclusion::ToOne, {0, 1}).outcome.wykluczenie_do_jednego_no);
    EXPECT_TRUE(wyznacz_wykluczenie(base, Exclusion::NonExclusion, {0, 2}).outcome.wykluczenie_no);
}

TEST_F(Exclusivity, ARuleWithoutFlatteningTakesNoPartAndIsNamed) {
    // nb has no flattening: b is concluded by a rule without conditions.
    rules({R(1, "b", {}), R(2, "c", {"nb"}), R(3, "a", {"x"}), R(4, "d", {"nx"})});
    analyse(Exclusion::ToOne, "2 3 4");
    EXPECT_EQ(app.messages.text(), std::string(kToOneAnnouncement) +
                                       "Rule number:  2 cannot be flattened and takes no part in the test.\n"
                                       "\nThe following rules have conclusions exclusive to one:\n"
                                       "Rule number: 3    Conclusion:   a\n"
                                       "Rule number: 4    Conclusion:   d\n");
}

TEST_F(Exclusivity, ClosingThePickListOrACyclicBaseEndsQuietly) {
    rules({R(1, "a", {"x"})});
    port.thenClose();
    analiza_bazy_wiedzy(app, Exclusion::NonExclusion);
    EXPECT_EQ(port.titles(), (std::vector<std::string>{"Attention!", "Pick facts"}));

    port.clearCalls();
    rules({R(1, "a", {"b"}), R(2, "b", {"a"})});
    analiza_bazy_wiedzy(app, Exclusion::ToOne);
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].text, "Externally inconsistent rules may not be flattened!");
    EXPECT_EQ(port.calls().size(), 1u);
}

/// A rule whose first flattening is found only after 2^depth dead ends:
/// z's first rule leads to nv, which nothing can replace, and every choice
/// for the c_i after it is tried before z's second rule.
std::vector<kb::Rule> deadEnds(int depth) {
    std::vector<kb::Rule> out{R(1, "v", {})};
    Names goal{"z"};
    std::int32_t n = 1;
    for (int i = 0; i < depth; ++i) {
        const std::string c = "c" + std::to_string(i);
        out.push_back(R(++n, c, {"d" + std::to_string(i)}));
        out.push_back(R(++n, c, {"e" + std::to_string(i)}));
        goal.push_back(c);
    }
    out.push_back(R(++n, "z", {"nv"}));
    out.push_back(R(++n, "z", {"w"}));
    out.push_back(R(++n, "goal", goal));
    return out;
}

TEST_F(Exclusivity, AFlatteningBeyondTheWorkLimitStopsTheTest) {
    rules(deadEnds(12));
    const std::size_t goal = app.store.rules().size() - 1;
    FlatteningBase base(app.store, app.askables);
    const ExclusivityRun whole = wyznacz_wykluczenie(base, Exclusion::ToOne, {goal, 0});
    EXPECT_FALSE(whole.przerwana);
    ASSERT_EQ(whole.reguly.size(), 2u);
    EXPECT_EQ(std::count(whole.reguly[0].flat.begin(), whole.reguly[0].flat.end(), "w"), 1);

    const ExclusivityRun cut = wyznacz_wykluczenie(base, Exclusion::ToOne, {goal, 0}, 1000);
    EXPECT_EQ(cut.przerwana, app.store.rules().back().numer);
    EXPECT_TRUE(cut.reguly.empty());
    // The budget is shared: the second rule finds none left.
    const ExclusivityRun second = wyznacz_wykluczenie(base, Exclusion::ToOne, {1, goal}, 1);
    EXPECT_EQ(second.przerwana, app.store.rules().back().numer);
    EXPECT_EQ(second.reguly.size(), 1u);
}

TEST_F(Exclusivity, TheCommandSaysWhenItStopped) {
    rules(deadEnds(12));
    port.then("Pick facts", std::to_string(app.store.rules().size()));
    analiza_bazy_wiedzy(app, Exclusion::NonExclusion, 1000);
    const std::string text = "Flattening rule " + std::to_string(app.store.rules().back().numer) +
                             " needs more work than this test allows.\nThe test has not been performed.";
    EXPECT_EQ(notes().back().text, text);
    EXPECT_EQ(app.messages.text(), text + "\n");
}

}  // namespace
}  // namespace torv::verify::test
