// Rule redundancies: which pairs are found and with which flattenings, the
// offer and informing with its menu changes, and the consuming report.
#include "verify/redundancy.h"

#include <random>

#include "verify/flattening.h"
#include "verify/load_offers.h"
#include "verify_fixture.h"

namespace torv::verify {
void PrintTo(const FlattenedPair& p, std::ostream* os) {
    *os << "(" << p.n << ", " << p.wniosek << ", " << lista_w_nawiasach(p.f1) << ", " << lista_w_nawiasach(p.u1)
        << ", " << p.m << ", " << lista_w_nawiasach(p.f2) << ", " << lista_w_nawiasach(p.u2) << ")";
}
}  // namespace torv::verify

namespace torv::verify::test {
namespace {

using Pairs = std::vector<FlattenedPair>;

class Redundancy : public VerifyTest {
protected:
    const RedundancyFindings& f() const { return app.findings.redundancy; }
};

TEST_F(Redundancy, PairsAndTheFlatteningsThatShowThem) {
    struct Case {
        const char* what;
        std::vector<kb::Rule> rules;
        Pairs expected;
    };
    const Case cases[] = {
        {"one rule asks for more", {R(1, "a", {"b", "c"}), R(2, "a", {"b"})}, {{1, "a", {"c", "b"}, {}, 2, {"b"}, {}}}},
        {"identical condition sets", {R(1, "a", {"b", "c"}), R(2, "a", {"c", "b", "c"})},
         {{1, "a", {"c", "b"}, {}, 2, {"b", "c"}, {}}}},
        {"different conclusions are never compared", {R(1, "a", {"b", "c"}), R(2, "d", {"b"})}, {}},
        {"found after flattening", {R(1, "a", {"x"}), R(2, "a", {"y"}), R(3, "x", {"y"})},
         {{1, "a", {"y"}, {3}, 2, {"y"}, {}}}},
        {"not redundant either way", {R(1, "a", {"b", "nc"}), R(2, "a", {"b", "c"})}, {}},
        {"three rules, each pair once",
         {R(1, "a", {"b"}), R(2, "a", {"b", "c"}), R(3, "a", {"b", "d"})},
         {{1, "a", {"b"}, {}, 2, {"c", "b"}, {}}, {1, "a", {"b"}, {}, 3, {"d", "b"}, {}}}},
    };
    for (const auto& c : cases) {
        app.findings = {};
        rules(c.rules);
        EXPECT_EQ(wyznacz_nadmiar(app), c.expected.empty()) << c.what;
        EXPECT_EQ(f().para_splaszczona_n1, c.expected) << c.what;
        EXPECT_EQ(f().jest_nadmiar, !c.expected.empty()) << c.what;
    }
    EXPECT_TRUE(podzbior_ogolny({"a"}, {"b", "a"}));
    EXPECT_TRUE(podzbior_ogolny({"b", "a", "b"}, {"a"}));
    EXPECT_FALSE(podzbior_ogolny({"b", "c"}, {"a", "b"}));
    EXPECT_TRUE(podzbior({}, {"x"}));
}

// The test as written: every matching pair of flattenings stored, then the
// report's rule of showing each pair with its first match.
Pairs literal(AppState& app) {
    std::vector<RedundantPair> stored;
    Pairs all;
    FlatteningBase base(app.store, app.askables);
    for (const auto& rn : app.store.rules()) {
        for (const kb::Rule* rm : app.store.rulesByConclusion(rn.wniosek)) {
            if (rm->numer == rn.numer) continue;
            if (std::any_of(stored.begin(), stored.end(), [&](const RedundantPair& p) {
                    return (p.n == rn.numer && p.m == rm->numer) || (p.n == rm->numer && p.m == rn.numer);
                }))
                continue;
            Splaszcz g1(base, rn);
            while (g1.next()) {
                Splaszcz g2(base, *rm);
                while (g2.next())
                    if (podzbior_ogolny(g1.flatNames(), g2.flatNames())) {
                        stored.push_back({rn.numer, rm->numer});
                        all.push_back({rn.numer, rn.wniosek, g1.flatNames(), g1.usedNormalised(), rm->numer,
                                       g2.flatNames(), g2.usedNormalised()});
                    }
            }
        }
    }
    Pairs shown;
    for (const auto& p : all) {
        auto same = [&](const RedundantPair& x) { return x.n == p.n && x.m == p.m; };
        if (std::none_of(stored.begin(), stored.end(), same)) continue;
        shown.push_back(p);
        std::erase_if(stored, same);
    }
    return shown;
}

TEST_F(Redundancy, AgreesWithTheTestAsWrittenOnRandomBases) {
    std::mt19937 rng(5);
    int withPairs = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<kb::Rule> rs;
        const int count = 1 + static_cast<int>(rng() % 8);
        for (int i = 1; i <= count; ++i) {
            const int k = 1 + static_cast<int>(rng() % 4);
            Names w;
            const int n = 1 + static_cast<int>(rng() % 3);
            for (int j = 0; j < n; ++j) w.push_back(std::string(rng() % 4 == 0 ? "n" : "") + "p" + std::to_string(rng() % k));
            rs.push_back(R(i, "p" + std::to_string(k), w));
        }
        app.findings = {};
        rules(rs);
        const Pairs expected = literal(app);
        wyznacz_nadmiar(app);
        ASSERT_EQ(f().para_splaszczona_n1, expected) << "round " << round;
        withPairs += !expected.empty();
    }
    EXPECT_GT(withPairs, 100);
}

TEST_F(Redundancy, RulesReachingMoreNamesThanAreKeptStillMatch) {
    // Rule 3's flattenings reach more names than a span keeps.
    std::vector<kb::Rule> rs{R(1, "goal", {"a500"}), R(2, "goal", {"c", "d"}), R(3, "goal", {"x", "b"})};
    for (int k = 0; k < 1500; ++k) rs.push_back(R(10 + k, "x", {"a" + std::to_string(k)}));
    rules(rs);
    const Pairs expected = literal(app);
    ASSERT_EQ(expected.size(), 1u);
    EXPECT_FALSE(wyznacz_nadmiar(app));
    EXPECT_EQ(f().para_splaszczona_n1, expected);
}

TEST_F(Redundancy, RulesThatCannotMatchAreNotPaired) {
    // Pairs of rules sharing a conclusion grow as the square of the rules;
    // the ones that cannot match must not cost time or memory each.
    std::vector<kb::Rule> rs;
    for (int i = 1; i <= 3000; ++i) rs.push_back(R(i, "goal", {"c" + std::to_string(i), "d" + std::to_string(i)}));
    rs.push_back(R(5000, "goal", {"c7"}));
    rules(rs);
    RedundancyTestStats stats;
    EXPECT_FALSE(wyznacz_nadmiar(app, &stats));
    EXPECT_EQ(stats.pairs, 1u);
    EXPECT_EQ(f().reguly_nadmiarowe_n1, (std::vector<RedundantPair>{{7, 5000}}));
}

const char* const kOffer =
    "Augmented Exact Rule Base\n   RUt.AEB\nmay be tested for redundancies.\n"
    "\nThis test may take a lot of time for \nlarge and heavily nested rule bases. \n"
    "This test should be performed while \ndeveloping or modifying rule bases."
    "\nFor routine uses of the rule base \nthe test should be bypassed."
    "\n\nDo you wish to test the rule base \nfor redundancies?";
const char* const kOfferMessages =
    "The loaded rule base RUt.AEB may be tested for redundancies.\n"
    "This test may take a lot of time for large and heavily nested rule bases. \n"
    "This test should be used while developing or modifying rule bases.\n"
    "For routine uses of the rule base the test should be bypassed.\n";

TEST_F(Redundancy, NoRedundancyIsToldSo) {
    rules({R(1, "a", {"b"}), R(2, "a", {"c"})});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_nadmiar_1(app));
    EXPECT_EQ(port.last("yes/no").text, kOffer);
    EXPECT_EQ(app.messages.text(), std::string(kOfferMessages) + "The rule base RUt.AEB  has no redundant rules!");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Result of rule redundancy test");
    EXPECT_EQ(notes()[0].text, "Rule Base\n   RUt.AEB\nhas no redundant rules!");
    // The menu report runs the test again and finds nothing to report.
    port.clearCalls();
    pisz_nadmiar(app);
    EXPECT_EQ(noteTexts(), (Names{" The rule baseRUt.AEB has no redundant rules!"}));
    EXPECT_EQ(notes()[0].title, "Diagnosing rule redundancies");
}

TEST_F(Redundancy, InformingChangesTheMenu) {
    rules({R(1, "a", {"b", "c"}), R(2, "a", {"b"})});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_nadmiar_1(app));
    EXPECT_EQ(app.messages.text(),
              std::string(kOfferMessages) +
                  " The  Rule Base  RUt.AEB contains  redundant rules of type RAE1.\n"
                  " You may use the loaded rule base for chaining, because redundant\n"
                  " rules do not cause chaining to break down. However, it may increase\n"
                  " the time necessary for performing the chaining and - what's perhaps\n"
                  " more important - make conditions depend upon an unnecessarily large\n"
                  " number of conditions.\n"
                  " Therefore it is advised to remove redundancies.\n"
                  " For this  proceed with the loaded rule base to the Main Menu\n"
                  " option:\n"
                  " 'Rule Base /Diagnosing Redundancies'\n"
                  " where a detailed message highlighting the nature of rule redundancies\n"
                  " is to be found.\n");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Attention:");
    EXPECT_EQ(notes()[0].text,
              "Augmented Exact Rule Base\n   RUt.AEB\ncontains redundant rules of type RAE1.\n"
              "\nYou may use the loaded rule base for chaining, \nbecause redundant rules do not cause chaining to "
              "\nbreak down. However, it may increase the time \nnecessary  for performing the chaining and \n- "
              "what's perhaps more important - \nmake conclusions depend upon an \nunnecessarily large number of "
              "conditions.\nTherefore it is advised to remove redundancies. \nFor this  proceed  to the option \n"
              "   'Exact Rule Base\n     Diagnosing Redundancies' where a  \ndetailed message highlighting \nthe "
              "nature of rule redundancies is to be found.");
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::RedundancyFound});
}

TEST_F(Redundancy, OfferDeclinedOrBlockedTestsNothing) {
    rules({R(1, "a", {"b", "c"}), R(2, "a", {"b"})});
    port.then("Choose", "no");
    EXPECT_TRUE(testuj_nadmiar_1(app));
    EXPECT_FALSE(f().jest_nadmiar);
    app.verdicts.sprzecznosc_1z = true;
    port.then("Choose", "yes");
    EXPECT_FALSE(testuj_nadmiar_1(app));
    EXPECT_FALSE(f().jest_nadmiar);
    EXPECT_TRUE(notes().empty());
}

TEST_F(Redundancy, ReportShowsEachPairOnceAndCanBeRepeated) {
    rules({R(1, "a", {"x", "c"}), R(2, "a", {"y"}), R(3, "x", {"y"}), R(4, "x", {"z"})});
    // Rule 1 flattens to [c,y] by rule 3 and to [c,z] by rule 4; only the
    // first match with rule 2 is shown.
    const std::string report =
        " Diagnostic report on rule redundancies for rule base:\n RUt.AEB\n\n"
        " Redundancies of type RAE1 are detected by flattening rules and comparing their list of conditions.\n"
        " The result of flattening rule 1  is: \n   rule_flattened(1, a, [c,y])\n"
        " Flattening has been done using rules: 3\n"
        " The result of flattening rule 2  is: \n   rule_flattened(2, a, [y])\n"
        " Flattening has been done using rules:  \n"
        " Rules 1 and 2 are RAE1  redundant.\n"
        "\n End of diagnostic report on rule redundancies of rule base: \n RUt.AEB.";
    const Names texts{
        "Redundancies of type RAE1 are detected by flattening rules and comparing their list of conditions.",
        "The result of flattening rule 1 is:\n\nrule_flattened(1, a, [\"c\",\"y\"])\n\n"
        "Flattening has been done using rules: 3, \n\n\n"
        "The result of flattening rule 2 is:\n\nrule_flattened(2, a, [\"y\"])\n\n"
        "Flattening has been done using rules: \n\nRules 1 i 2 are  RAE1 redundant.",
        "End of diagnostic report on rule redundancies of \nAugmented Exact Rule Base\nRUt.AEB."};
    for (int run = 0; run < 2; ++run) {
        port.clearCalls();
        declineSave();
        pisz_nadmiar(app);
        EXPECT_EQ(app.report.tekst_raportu(), report) << run;
        EXPECT_EQ(noteTexts(), texts) << run;
        ASSERT_EQ(notes().size(), 3u);
        EXPECT_EQ(notes()[0].title, "Diagnostic report on rule redundancies for rule base RUt.AEB");
        EXPECT_EQ(notes()[1].title, "Diagnosing rule redundancies");
        EXPECT_TRUE(f().reguly_nadmiarowe_n1.empty());
        EXPECT_TRUE(f().para_splaszczona_n1.empty());
        EXPECT_TRUE(f().jest_nadmiar);
    }
    EXPECT_EQ(port.pending(), 0u);
}

}  // namespace
}  // namespace torv::verify::test
