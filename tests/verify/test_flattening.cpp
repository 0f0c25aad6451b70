// Flattening: the alternatives of a condition, the order of the generator,
// the rules-used list, cycles, and the two menu commands with their texts.
#include "verify/flattening.h"

#include "verify/external.h"
#include "verify/internal.h"
#include "verify/redundancy.h"
#include "verify_fixture.h"

namespace torv::verify::test {
namespace {

struct Flat {
    Names flat;
    Numbers used;
    bool operator==(const Flat&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Flat& f) {
    return os << lista_w_nawiasach(f.flat) << " " << lista_w_nawiasach(f.used);
}

class Flattening : public VerifyTest {
protected:
    std::vector<Flat> all(std::size_t ruleIndex) {
        FlatteningBase base(app.store, app.askables);
        Splaszcz gen(base, app.store.rules().at(ruleIndex));
        std::vector<Flat> out;
        while (gen.next()) out.push_back({gen.flatNames(), gen.usedNormalised()});
        EXPECT_FALSE(gen.next());  // stays exhausted
        return out;
    }
};

TEST_F(Flattening, AlternativesOfOneCondition) {
    rules({R(1, "a", {"nr", "s", "nt"}), R(2, "r", {"p", "nq"}), R(3, "r", {"u"}), R(4, "a", {"r"})});
    using Alts = std::vector<std::pair<std::int32_t, Names>>;
    struct Case {
        const char* condition;
        Alts expected;
    };
    const Case cases[] = {
        // negated and concluded: one condition of one concluding rule, negated
        {"nr", {{2, {"np"}}, {2, {"q"}}, {3, {"nu"}}}},
        // concluded: each concluding rule's conditions
        {"r", {{2, {"p", "nq"}}, {3, {"u"}}}},
        // askable, and negated askable, stay as they are
        {"s", {{0, {"s"}}}},
        {"nt", {{0, {"nt"}}}},
        // neither concluded nor askable: no alternative
        {"zzz", {}},
        {"nzzz", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(szukaj_regule(app.store, app.askables, c.condition), c.expected) << c.condition;
}

TEST_F(Flattening, AllAskableRuleIsReversedWithoutRepeats) {
    rules({R(1, "a", {"b", "c", "b", "d"})});
    EXPECT_EQ(all(0), (std::vector<Flat>{{{"d", "c", "b"}, {}}}));
}

TEST_F(Flattening, TwoConcludingRulesGiveTwoFlatteningsEarlierFirst) {
    rules({R(1, "a", {"x", "y"}), R(2, "x", {"p"}), R(3, "x", {"q"})});
    EXPECT_EQ(all(0), (std::vector<Flat>{{{"y", "p"}, {2}}, {{"y", "q"}, {3}}}));
}

TEST_F(Flattening, NegatedDerivedConditionGivesOneAlternativePerCondition) {
    rules({R(1, "a", {"nr", "ns"}), R(2, "r", {"p", "nq"})});
    EXPECT_EQ(all(0), (std::vector<Flat>{{{"ns", "np"}, {2}}, {{"ns", "q"}, {2}}}));
    // "q" was written negated in rule 2: its negation is the positive name
    EXPECT_EQ(neguj_liste({"p", "nq", "n"}), (Names{"np", "q", ""}));
}

TEST_F(Flattening, FirstConditionsAlternativesAreTheOutermostLoop) {
    rules({R(1, "a", {"x", "y"}), R(2, "x", {"p"}), R(3, "x", {"q"}), R(4, "y", {"r"}), R(5, "y", {"s"})});
    EXPECT_EQ(all(0), (std::vector<Flat>{{{"r", "p"}, {2, 4}},
                                         {{"s", "p"}, {2, 5}},
                                         {{"r", "q"}, {3, 4}},
                                         {{"s", "q"}, {3, 5}}}));
}

TEST_F(Flattening, RulesUsedListHasNoZeroAndKeepsOrderOfFirstUse) {
    // Rule 3 is used in both passes; askables leave 0 in the raw list.
    rules({R(1, "top", {"b", "d"}), R(2, "b", {"d", "e"}), R(3, "d", {"f"})});
    FlatteningBase base(app.store, app.askables);
    Splaszcz gen(base, app.store.rules()[0]);
    ASSERT_TRUE(gen.next());
    EXPECT_EQ(gen.flatNames(), (Names{"e", "f"}));
    EXPECT_EQ(gen.used(), (Numbers{0, 3, 2}));
    EXPECT_EQ(gen.usedNormalised(), (Numbers{2, 3}));
    EXPECT_EQ(normalizuj_uzyte(gen.used()), gen.usedNormalised());
    EXPECT_EQ(gen.passes(), 2u);
    EXPECT_FALSE(gen.next());
    EXPECT_EQ(redukuj_i({1, 2, 1, 3, 2}), (Numbers{1, 3, 2}));
    EXPECT_EQ(usun(0, {0, 4, 0, 5}), (Numbers{4, 5}));
}

TEST_F(Flattening, RuleNeedingAnUnknownConditionHasNoFlattening) {
    rules({R(1, "a", {"b", "No condition"}), R(2, "c", {"a"}), R(3, "d", {})});
    EXPECT_TRUE(all(0).empty());
    EXPECT_TRUE(all(1).empty());
    // A rule without conditions has one, empty, flattening.
    EXPECT_EQ(all(2), (std::vector<Flat>{{{}, {}}}));
}

TEST_F(Flattening, AskableTestOfAConditionList) {
    rules({R(1, "a", {"b", "nc"}), R(2, "d", {"a"})});
    EXPECT_FALSE(ma_warunki_niedopyt(app.store, app.askables, {"b", "nc", "nnc"}, true));
    EXPECT_TRUE(ma_warunki_niedopyt(app.store, app.askables, {"b", "a"}, true));
    EXPECT_TRUE(ma_warunki_niedopyt(app.store, app.askables, {"b"}, false));
}

TEST_F(Flattening, CyclesAreFoundAndCutShortByThePassLimit) {
    rules({R(1, "a", {"b"}), R(2, "b", {"na"}), R(3, "c", {"d"})});
    FlatteningBase base(app.store, app.askables);
    EXPECT_TRUE(base.cyclic());
    Splaszcz gen(base, app.store.rules()[0]);
    EXPECT_FALSE(gen.next());
    EXPECT_TRUE(gen.limitHit());

    rules({R(1, "a", {"b", "nc"}), R(2, "b", {"c"}), R(3, "c", {"d"})});
    FlatteningBase acyclic(app.store, app.askables);
    EXPECT_FALSE(acyclic.cyclic());
}

TEST_F(Flattening, LongChainNeedsNoDeepRecursion) {
    std::vector<kb::Rule> chain;
    const int n = 10000;
    for (int i = 1; i <= n; ++i) chain.push_back(R(i, "c" + std::to_string(i), {"c" + std::to_string(i + 1)}));
    rules(chain);
    FlatteningBase base(app.store, app.askables);
    EXPECT_FALSE(base.cyclic());
    Splaszcz gen(base, app.store.rules()[0]);
    ASSERT_TRUE(gen.next());
    EXPECT_EQ(gen.flatNames(), (Names{"c" + std::to_string(n + 1)}));
    const Numbers used = gen.usedNormalised();
    ASSERT_EQ(used.size(), static_cast<std::size_t>(n - 1));
    EXPECT_EQ(used.front(), 2);
    EXPECT_EQ(used.back(), n);
    EXPECT_FALSE(gen.next());
}

TEST(FlatteningTexts, BracketNotation) {
    EXPECT_EQ(lista_w_nawiasach(Names{"a", "n\"b"}), "[\"a\",\"n\\\"b\"]");
    EXPECT_EQ(lista_w_nawiasach(Names{}), "[]");
    EXPECT_EQ(lista_w_nawiasach(Numbers{2, 10}), "[2,10]");
    EXPECT_EQ(polacz(Names{"a", "b"}, ","), "a,b");
}

// ---- the commands ----

const char* const kAllTitle =
    "Flattened rules: Number, Conclusion, List of askable condition, Rules used for flattening";
const char* const kOneTitle = "Flattened rule: Nr, Conclusion, List of askable conditions, Rules used for flattening";
const char* const kHeaderAll = "Nr  Conclusion  List of askable conditions  Rules used for flattening\n\n";

TEST_F(Flattening, AllRulesShowsEveryFlatteningInOrder) {
    rules({R(1, "a", {"x", "y"}), R(2, "x", {"p"}), R(3, "x", {"q"})});
    port.then(kAllTitle, "yes").then(kAllTitle, "yes").then(kAllTitle, "yes").then(kAllTitle, "yes");
    splaszcz_wszystkie(app);
    EXPECT_EQ(app.messages.text(),
              std::string("Results of flattening rule RUt.AEB\n\n") + kHeaderAll +
                  "1 a [\"y\",\"p\"] [2]1 a [\"y\",\"q\"] [3]2 x [\"p\"] []3 x [\"q\"] []");
    EXPECT_EQ(app.report.tekst_raportu(), kHeaderAll);
    const auto boxes = port.ofKind("yes/no");
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "1. a [\"y\",\"p\"] [2]\n\nNext flattened rule?");
    EXPECT_EQ(boxes[3].text, "3. x [\"q\"] []\n\nNext flattened rule?");
    EXPECT_EQ(noteTexts(), (Names{"There are no more flattened rules!"}));
    EXPECT_EQ(notes()[0].title, "Attention!");
}

TEST_F(Flattening, AllRulesStopsAtOnceOnNo) {
    rules({R(1, "a", {"x", "y"}), R(2, "x", {"p"}), R(3, "x", {"q"})});
    port.then(kAllTitle, "yes").then(kAllTitle, "no");
    splaszcz_wszystkie(app);
    EXPECT_EQ(port.ofKind("yes/no").size(), 2u);
    EXPECT_TRUE(notes().empty());
}

TEST_F(Flattening, AllRulesOnAnEmptyBaseWritesTheHeaderOnly) {
    rules({});
    splaszcz_wszystkie(app);
    EXPECT_EQ(app.report.tekst_raportu(), kHeaderAll);
    EXPECT_EQ(noteTexts(), (Names{"There are no more flattened rules!"}));
}

TEST_F(Flattening, CommandsRefuseAnExternallyInconsistentBase) {
    // With the verdict recorded, and with no verdict but a cycle.
    for (bool recorded : {true, false}) {
        rules({R(1, "a", {"b"}), R(2, "b", {"a"})});
        if (recorded) app.verdicts.sprzecznosc_1z = true;
        else app.verdicts.sprzecznosc_1z.reset();
        port.clearCalls();
        splaszcz_wszystkie(app);
        splaszcz_wybrana(app);
        ASSERT_EQ(port.calls().size(), 2u);
        for (const auto& d : port.calls()) {
            EXPECT_EQ(d.kind, "note");
            EXPECT_EQ(d.title, "Attention!");
            EXPECT_EQ(d.text, "Externally inconsistent rules may not be flattened!");
        }
        EXPECT_EQ(app.messages.text(), "");
    }
}

TEST_F(Flattening, ChosenRuleDialogListsSortedEntriesOnce) {
    rules({R(2, "b", {"p"}), R(10, "a", {"b"}), R(2, "b", {"p"}), R(1, "c", {"q"})});
    port.thenClose();
    splaszcz_wybrana(app);
    const auto pick = port.last("pick one");
    EXPECT_EQ(pick.title, "Pick a rule for flattening");
    EXPECT_EQ(pick.prompt, "Rule number              Rule conclusion");
    EXPECT_EQ(pick.items, (Names{"1  c", "10  a", "2  b"}));
    // Cancelled: nothing written, only the closing note.
    EXPECT_EQ(app.messages.text(), "");
    EXPECT_EQ(noteTexts(), (Names{"There are no more flattened rules!"}));
}

TEST_F(Flattening, ChosenRuleShowsItsFlatteningsAndCanBeRunAgain) {
    rules({R(1, "a", {"x", "y"}), R(2, "x", {"p"}), R(3, "x", {"q"})});
    port.then("Pick a rule for flattening", "2").then(kOneTitle, "no");  // entries: "1  a", "2  x", "3  x"
    splaszcz_wybrana(app);
    EXPECT_TRUE(notes().empty());
    port.then("Pick a rule for flattening", "1").then(kOneTitle, "yes").then(kOneTitle, "yes");
    splaszcz_wybrana(app);
    const std::string header =
        "Nr  Conclusion     List of askable conditions          Rules used for flattening\n\n";
    EXPECT_EQ(app.messages.text(), "Results of flattening rule  2:\n\n" + header + "2 x [\"p\"] []\n" +
                                       "Results of flattening rule  1:\n\n" + header +
                                       "1 a [\"y\",\"p\"] [2]\n1 a [\"y\",\"q\"] [3]\n");
    EXPECT_EQ(app.report.tekst_raportu(),
              "Results of flattening rule  2:\n\n" + header + "Results of flattening rule  1:\n\n" + header);
    const auto boxes = port.ofKind("yes/no");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text, "2. x [\"p\"] []\n\nDo you wish to see the next flattened rule?");
    EXPECT_EQ(boxes[2].text, "1. a [\"y\",\"q\"] [3]\n\nDo you wish to see the next flattened rule?");
    EXPECT_EQ(noteTexts(), (Names{"There are no more flattened rules!"}));
    EXPECT_EQ(port.pending(), 0u);
}

TEST_F(Flattening, ManyLeadingNsAreOneNegationLevel) {
    const std::string name = std::string(60000, 'n') + "a";
    rules({R(1, "z", {name}), R(2, "z", {"b"})});
    FlatteningBase base(app.store, app.askables);
    // Only the names of the base and what is asked for are interned.
    EXPECT_LE(base.size(), 4u);
    const NameId id = base.intern(name);
    EXPECT_EQ(base.name(base.negation(id)), name.substr(1));
    EXPECT_LE(base.size(), 5u);
    EXPECT_EQ(all(0), (std::vector<Flat>{{{name}, {}}}));
    wyznacz_sprzecznosc_1w(app);
    EXPECT_TRUE(wyznacz_nadmiar(app));
}

}  // namespace
}  // namespace torv::verify::test
