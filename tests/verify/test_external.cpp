// External inconsistencies: findings and their order, the offer and
// informing after loading, and the diagnostic report with its notes.
#include "verify/external.h"

#include <random>

#include "verify/flattening.h"
#include "verify/load_offers.h"
#include "verify_fixture.h"

namespace torv::verify {
void PrintTo(const ExternalFinding& f, std::ostream* os) {
    *os << "(" << f.n << ", " << f.m << ", " << lista_w_nawiasach(f.chain) << ")";
}
}  // namespace torv::verify

namespace torv::verify::test {
namespace {

using Findings = std::vector<ExternalFinding>;

class External : public VerifyTest {
protected:
    Findings search() { return badaj(app.store).findings.reguly_sprzeczne; }
};

TEST_F(External, FindingsInDiscoveryOrder) {
    struct Case {
        const char* what;
        std::vector<kb::Rule> rules;
        Findings expected;
    };
    const Case cases[] = {
        {"own conclusion and its negation",
         {R(1, "a", {"b", "a"}), R(2, "c", {"nc"})},
         {{1, 1, {1}}, {2, 2, {2}}}},
        {"two rules concluding each other's condition",
         {R(1, "a", {"b"}), R(2, "b", {"a"})},
         {{1, 2, {2, 1}}, {2, 1, {1, 2}}}},
        {"a negated condition flips the target",
         {R(1, "a", {"nb"}), R(2, "b", {"a"})},
         {{1, 2, {2, 1}}, {2, 1, {1, 2}}}},
        {"three rules in a ring",
         {R(1, "x", {"y"}), R(2, "y", {"z"}), R(3, "z", {"x"})},
         {{1, 3, {3, 2, 1}}, {2, 1, {1, 3, 2}}, {3, 2, {2, 1, 3}}}},
        {"the same pair along two paths",
         {R(1, "a", {"b", "c"}), R(2, "b", {"a"}), R(3, "c", {"b"})},
         {{1, 2, {2, 1}}, {1, 2, {2, 3, 1}}, {2, 1, {1, 2}}, {2, 3, {3, 1, 2}}, {3, 1, {1, 2, 3}}}},
        {"a negated conclusion",
         {R(1, "nz", {"z"})},
         {{1, 1, {1}}}},
        {"no cycle",
         {R(1, "a", {"b", "nc"}), R(2, "b", {"c"}), R(3, "c", {"d"}), R(4, "a", {"nb"})},
         {}},
    };
    for (const auto& c : cases) {
        rules(c.rules);
        EXPECT_EQ(search(), c.expected) << c.what;
    }
}

// The search as written, recursively and without shortcuts: the reference
// the real search must agree with on small bases.
void reference(const kb::Store& s, std::int32_t n, const Names& conds, const std::string& target, Numbers chain,
               Names visited, Findings& out) {
    for (const auto& h : conds) {
        if (kb::negacja(h, target) || h == target) out.push_back({n, chain.front(), chain});
        const bool neg = kb::jest_negacja(h);
        const std::string hp = neg ? h.substr(1) : h;
        const std::string tp = neg ? kb::negacja(target) : target;
        if (std::find(visited.begin(), visited.end(), hp) != visited.end()) continue;
        for (const kb::Rule* r : s.rulesByConclusion(hp)) {
            Numbers k = chain;
            k.insert(k.begin(), r->numer);
            Names v = visited;
            v.insert(v.begin(), hp);
            reference(s, n, kb::texts(r->warunki), tp, k, v, out);
        }
    }
}

TEST_F(External, AgreesWithTheSearchAsWrittenOnRandomBases) {
    std::mt19937 rng(7);
    const Names pool{"a", "b", "c", "d", "e", "na", "nb", "nc", "nd", "ne", "nna"};
    for (int round = 0; round < 3000; ++round) {
        std::vector<kb::Rule> rs;
        const int count = 1 + static_cast<int>(rng() % 9);
        for (int i = 1; i <= count; ++i) {
            Names w;
            const int k = static_cast<int>(rng() % 4);
            for (int j = 0; j < k; ++j) w.push_back(pool[rng() % pool.size()]);
            rs.push_back(R(i, pool[rng() % 6], w));
        }
        rules(rs);
        Findings expected;
        for (const auto& r : app.store.rules()) reference(app.store, r.numer, kb::texts(r.warunki), r.wniosek, {r.numer}, {r.wniosek}, expected);
        std::string base;
        for (const auto& r : app.store.rules()) base += std::to_string(r.numer) + ": " + r.wniosek + " if " + lista_w_nawiasach(kb::texts(r.warunki)) + "\n";
        ASSERT_EQ(search(), expected) << "round " << round << "\n" << base;
    }
}

TEST_F(External, LongChainsAndCyclesNeedNoDeepRecursion) {
    // A chain of 10,000 rules under a rule with a negated conclusion, which
    // is always searched: the path is 10,000 rules deep.
    std::vector<kb::Rule> chain{R(1, "nq", {"c2"})};
    for (int i = 2; i <= 10000; ++i) chain.push_back(R(i, "c" + std::to_string(i), {"c" + std::to_string(i + 1)}));
    rules(chain);
    auto r = badaj(app.store);
    EXPECT_TRUE(r.findings.reguly_sprzeczne.empty());
    EXPECT_EQ(r.paths, 9999u);

    // A cycle of 2,000 rules: every rule is inconsistent with the one before it.
    std::vector<kb::Rule> ring;
    for (int i = 1; i <= 2000; ++i) ring.push_back(R(i, "c" + std::to_string(i), {"c" + std::to_string(i % 2000 + 1)}));
    rules(ring);
    r = badaj(app.store);
    ASSERT_EQ(r.findings.reguly_sprzeczne.size(), 2000u);
    EXPECT_EQ(r.findings.reguly_sprzeczne[0].m, 2000);
    EXPECT_EQ(r.findings.reguly_sprzeczne[0].chain.size(), 2000u);
    EXPECT_FALSE(r.findings.truncated);

    // Every rule concludes one of six names from all of them: the paths
    // explode, and the limits end the search with the base still judged.
    std::vector<kb::Rule> dense;
    for (int i = 1; i <= 30; ++i)
        dense.push_back(R(i, std::string(1, static_cast<char>('a' + i % 6)), {"a", "b", "c", "d", "e", "f"}));
    rules(dense);
    ExternalSearchLimits small;
    small.steps = 200000;
    small.stepsPerRule = 20000;
    small.findings = 5000;
    small.chainNumbers = 12000;
    const auto d = badaj(app.store, small);
    EXPECT_TRUE(d.findings.truncated);
    EXPECT_LE(d.findings.reguly_sprzeczne.size(), 5000u);
    EXPECT_LE(d.steps, 200000u);
    std::size_t numbers = 0;
    for (const auto& f : d.findings.reguly_sprzeczne) numbers += f.chain.size();
    EXPECT_LE(numbers, 12000u + 31u);
}

TEST(ExternalLabel, ComesFromTheExtensionInAnyCase) {
    EXPECT_EQ(nazwa_sprzecznosci_1(".AEB"), "IAE1");
    EXPECT_EQ(nazwa_sprzecznosci_1(".aeb"), "IAE1");
    EXPECT_EQ(nazwa_sprzecznosci_1(" base.AEB"), std::nullopt);
    EXPECT_EQ(nazwa_sprzecznosci_1(""), std::nullopt);
}

const char* const kOffer =
    "Augmented Exact Rule Base\n   RUt.AEB\nmay be tested for external inconsistencies.\n"
    "\nThis test may take a lot of time for \nlarge and heavily nested rule bases. \n"
    "This test should be performed while \ndeveloping or modifying rule bases."
    "\nFor routine uses of the rule base \nthe test should be bypassed."
    "\nRemember that external inconsistencies \nmay break down the chaining process."
    "\n\nDo you wish to test the rule base \nfor external inconsistencies?";
const char* const kOfferMessages =
    "The loaded rule base RUt.AEB may be tested for external inconsistencies.\n"
    "This test may take a lot of time for large and heavily nested rule bases. \n\n"
    "This test should be used while developing or modifying rule bases.\n"
    "For routine uses of the rule base the test should be bypassed.\n"
    "Remember that external inconsistencies may break down the chaining process.\n";

TEST_F(External, DeclinedOfferRecordsNoVerdict) {
    rules({R(1, "a", {"b"}), R(2, "b", {"a"})});
    port.then("Choose", "no");
    EXPECT_TRUE(testuj_sprzecznosc_1z(app));
    EXPECT_EQ(port.last("yes/no").text, kOffer);
    EXPECT_EQ(app.messages.text(), kOfferMessages);
    EXPECT_FALSE(app.verdicts.sprzecznosc_1z);
    EXPECT_TRUE(notes().empty());
}

TEST_F(External, ConsistentBaseIsToldSo) {
    rules({R(1, "a", {"b"})}, "RUt.aeb", ".aeb");
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_sprzecznosc_1z(app));
    EXPECT_EQ(app.verdicts.sprzecznosc_1z, false);
    EXPECT_EQ(app.messages.text(), std::string(kOfferMessages).replace(21, 7, "RUt.aeb") +
                                       " The loaded rule baseRUt.aeb\n is not externally inconsistent.  IAE1 sprzeczna.");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Information on inconsistency");
    EXPECT_EQ(notes()[0].text, "Augmented Exact Rule Base\n   RUt.aeb\nis not externally IAE1 inconsistent.");
    EXPECT_TRUE(app.outcomes.empty());

    // The menu report then has nothing to show.
    app.messages.clear();
    pisz_sprzecznosc_1z(app);
    EXPECT_EQ(app.messages.text(), " Rule base RUt.aeb\n is not externally IAE1-inconsistent.\n");
    EXPECT_EQ(port.last("note").title, "Attention!");
    EXPECT_EQ(port.last("note").text, "Augmented Exact Rule Base\n   RUt.aeb\nis not externally IAE1-inconsistent.");
    EXPECT_EQ(app.report.tekst_raportu(), "");
}

TEST_F(External, InconsistentBaseIsBlockedAndItsReportEnabled) {
    rules({R(1, "a", {"b"}), R(2, "b", {"a"})});
    port.then("Choose", "yes");
    EXPECT_FALSE(testuj_sprzecznosc_1z(app));
    EXPECT_EQ(app.verdicts.sprzecznosc_1z, true);
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::ExternalInconsistencyFound});
    EXPECT_EQ(app.messages.text(),
              std::string(kOfferMessages) +
                  " The loaded rule base contains at least one external inconsistency \n"
                  " of type IAE1.\n\n"
                  " The loaded rule base may be only edited, but not used for chaining.\n"
                  " Neither is it possible to load the corresponding constraint base.\n"
                  " You may however run a diagnostic check revealing the nature of \n"
                  " inconsistency.\n"
                  " For this  proceed with the loaded rule base and enter the Main Menu\n"
                  " option: 'Exact Rule Base /Diagnosing External Inconsistencies'\n\n"
                  " where a detailed message highlighting the nature of inconsistencies\n"
                  " is to be found.\n\n");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].text,
              "Augmented Exact Rule Base\n   RUt.AEB\ncontains at least one external inconsistency \nof type  IAE1."
              "\n\nThe rule base may be only edited, \nbut not used for chaining."
              "\nNeither is it possible to load the corresponding \nconstraint, model or advice base."
              "\nYou may however run a diagnostic check \nrevealing the nature of  inconsistency."
              "\nFor this  enter the option \n   'Exact Rule Base\n     Diagnosing External Inconsistencies'"
              "\nwhere a detailed message highlighting the nature \nof inconsistencies is to be found.");
}

TEST_F(External, ReportGroupsSelfDirectAndIndirectFindings) {
    // Ring first, so that discovery order and report order differ.
    rules({R(4, "x", {"y"}), R(5, "y", {"z"}), R(6, "z", {"x"}), R(2, "a", {"b"}), R(3, "b", {"a"}),
           R(1, "s", {"ns"})});
    EXPECT_FALSE(wyznacz_sprzecznosc_1z(app));
    app.report.pisz("left from before");
    app.messages.clear();
    declineSave();
    pisz_sprzecznosc_1z(app);
    const std::string report =
        " Diagnostic Report on external inconsistencies of rule base:\n RUt.AEB\n\n"
        "  Following rules are externally IAE1-inconsistent:\n\n"
        " Rule 1 is externally IAE1-self-inconsistent. \n\n"
        " Rule  2 is externally directly IAE1-inconsistent with rule 3.\n"
        " This can be shown by introducing 3 ==> 2\n\n\n"
        " Rule  3 is externally directly IAE1-inconsistent with rule 2.\n"
        " This can be shown by introducing 2 ==> 3\n\n\n"
        "%%"
        " Rule 4 is externally indirectly IAE1-inconsistent with rule 6.\n"
        " This can be shown by introducing 6 ==> 5 ==> 4\n\n\n"
        "%%"
        " Rule 5 is externally indirectly IAE1-inconsistent with rule 4.\n"
        " This can be shown by introducing 4 ==> 6 ==> 5\n\n\n"
        "%%"
        " Rule 6 is externally indirectly IAE1-inconsistent with rule 5.\n"
        " This can be shown by introducing 5 ==> 4 ==> 6\n\n\n"
        "\n End of diagnostic report on external inconsistencies of rule base: \n RUt.AEB.";
    auto with = [&](const std::string& gap) {
        std::string s = report;
        for (std::size_t at; (at = s.find("%%")) != std::string::npos;) s.replace(at, 2, gap);
        return s;
    };
    EXPECT_EQ(app.report.tekst_raportu(), with(""));
    // The message window also gets two line ends before each indirect finding.
    EXPECT_EQ(app.messages.text(), with("\n\n") + " Do you wish to save the report?  ");

    const char* const title = "Diagnostic report on external inconsistencies of rule base";
    for (const auto& n : notes()) EXPECT_EQ(n.title, title);
    EXPECT_EQ(noteTexts(),
              (Names{"Diagnostic Report on external inconsistencies of \nAugmented Exact Rule Base\nRUt.AEB",
                     "Following rules are externally IAE1-inconsistent:",
                     "Rule 1 is externally  IAE1-selfinconsistent.",
                     "Rule 2 is externally directly IAE1-inconsistent with rule  3.\n"
                     "This can be demonstrated by introducing  3 to 2.",
                     "Rule 3 is externally directly IAE1-inconsistent with rule  2.\n"
                     "This can be demonstrated by introducing  2 to 3.",
                     "Rule 4 is externally indirectly IAE1-inconsistent with rule 6.\n"
                     "This can be shown by introducing: 6==>5==>4.",
                     "Rule 5 is externally indirectly IAE1-inconsistent with rule 4.\n"
                     "This can be shown by introducing: 4==>6==>5.",
                     "Rule 6 is externally indirectly IAE1-inconsistent with rule 5.\n"
                     "This can be shown by introducing: 5==>4==>6.",
                     "End of diagnostic report on external inconsistencies of  \nAugmented Exact Rule Base\nRUt.AEB."}));
    EXPECT_EQ(port.pending(), 0u);
}

}  // namespace
}  // namespace torv::verify::test
