// Internal inconsistencies: which flattenings survive the test, the offer
// and informing, and the report that consumes what it shows.
#include "verify/internal.h"

#include <random>

#include "port/texts.h"
#include "verify/flattening.h"
#include "verify/load_offers.h"
#include "verify_fixture.h"

namespace torv::verify::test {
namespace {

class Internal : public VerifyTest {
protected:
    const InternalFindings& f() const { return app.findings.internal; }
};

TEST_F(Internal, ContradictionInAFlattenedList) {
    struct Case {
        Names flat;
        bool contradictory;
    };
    for (const auto& c : {Case{{"a", "b", "na"}, true}, Case{{"na", "b", "a"}, true}, Case{{"a", "nb"}, false},
                          Case{{"nna", "na"}, true}, Case{{}, false}}) {
        EXPECT_EQ(testuj_sprzecznosc(c.flat), c.contradictory) << lista_w_nawiasach(c.flat);
        rules({R(1, "z", c.flat)});
        FlatteningBase base(app.store, app.askables);
        EXPECT_EQ(testuj_sprzecznosc(base, base.intern(c.flat)), c.contradictory) << lista_w_nawiasach(c.flat);
    }
}

TEST_F(Internal, SelfAndUndirectInconsistenciesSurvive) {
    rules({R(1, "a", {"b", "nb"}), R(2, "x", {"y", "z"}), R(3, "y", {"nz"})});
    wyznacz_sprzecznosc_1w(app);
    EXPECT_TRUE(f().sprzecznosc_1_w);
    EXPECT_EQ(f().sprzecznosc_1w, (std::vector<InternalVerdict>{{1, "a", true}, {2, "x", true}}));
    EXPECT_EQ(f().regula_splaszczona_1w,
              (std::vector<FlattenedRule>{{1, "a", {"nb", "b"}, {}}, {2, "x", {"z", "nz"}, {3}}}));
}

TEST_F(Internal, AConsistentDerivationClearsTheConclusion) {
    rules({R(1, "a", {"b", "c"}), R(2, "b", {"nc"})});
    wyznacz_sprzecznosc_1w(app);
    EXPECT_EQ(f().sprzecznosc_1w, (std::vector<InternalVerdict>{{1, "a", true}}));
    EXPECT_EQ(f().regula_splaszczona_1w, (std::vector<FlattenedRule>{{1, "a", {"c", "nc"}, {2}}}));
    // A third rule deriving a without contradiction, before or after.
    for (auto order : {std::vector<kb::Rule>{R(1, "a", {"b", "c"}), R(2, "b", {"nc"}), R(3, "a", {"d"})},
                       std::vector<kb::Rule>{R(3, "a", {"d"}), R(1, "a", {"b", "c"}), R(2, "b", {"nc"})}}) {
        rules(order);
        wyznacz_sprzecznosc_1w(app);
        EXPECT_FALSE(f().sprzecznosc_1_w);
        EXPECT_TRUE(f().sprzecznosc_1w.empty());
        EXPECT_TRUE(f().regula_splaszczona_1w.empty());
    }
}

// The test as written: every flattening kept, verdicts appended and deleted,
// then settled per conclusion. The real test stops early; the survivors
// must be the same.
struct Literal {
    std::vector<FlattenedRule> table;
    std::vector<InternalVerdict> verdicts;
};
Literal literal(AppState& app) {
    Literal out;
    FlatteningBase base(app.store, app.askables);
    for (const auto& r : app.store.rules()) {
        Splaszcz gen(base, r);
        while (gen.next()) {
            FlattenedRule fr{r.numer, r.wniosek, gen.flatNames(), gen.usedNormalised()};
            if (std::find(out.table.begin(), out.table.end(), fr) != out.table.end()) continue;
            out.table.push_back(fr);
            if (testuj_sprzecznosc(fr.warunki)) {
                out.verdicts.push_back({r.numer, r.wniosek, true});
            } else {
                std::erase_if(out.verdicts, [&](const InternalVerdict& v) {
                    return v.numer == r.numer && v.wniosek == r.wniosek && v.contradictory;
                });
                out.verdicts.push_back({r.numer, r.wniosek, false});
            }
        }
    }
    for (std::size_t i = 0; i < out.verdicts.size(); ++i) {
        if (!out.verdicts[i].contradictory) continue;
        const std::string c = out.verdicts[i].wniosek;
        if (std::any_of(out.verdicts.begin(), out.verdicts.end(),
                        [&](const InternalVerdict& v) { return v.wniosek == c && !v.contradictory; })) {
            std::erase_if(out.verdicts, [&](const InternalVerdict& v) { return v.wniosek == c; });
            i = static_cast<std::size_t>(-1);
        }
    }
    // Only the contradictions surviving, and their flattenings, can ever be shown.
    std::erase_if(out.verdicts, [](const InternalVerdict& v) { return !v.contradictory; });
    std::erase_if(out.table, [&](const FlattenedRule& fr) {
        return std::none_of(out.verdicts.begin(), out.verdicts.end(),
                            [&](const InternalVerdict& v) { return v.numer == fr.numer && v.wniosek == fr.wniosek; });
    });
    return out;
}

TEST_F(Internal, AgreesWithTheTestAsWrittenOnRandomBases) {
    std::mt19937 rng(11);
    int withFindings = 0;
    for (int round = 0; round < 1500; ++round) {
        // Acyclic: a rule concluding p<k> uses only p<j>, j < k.
        std::vector<kb::Rule> rs;
        const int count = 1 + static_cast<int>(rng() % 8);
        for (int i = 1; i <= count; ++i) {
            const int k = 1 + static_cast<int>(rng() % 6);
            Names w;
            const int n = static_cast<int>(rng() % 4);
            for (int j = 0; j < n; ++j) w.push_back(std::string(rng() % 3 == 0 ? "n" : "") + "p" + std::to_string(rng() % k));
            rs.push_back(R(static_cast<std::int32_t>(rng() % 5 == 0 ? i - 1 : i), "p" + std::to_string(k), w));
        }
        rules(rs);
        const Literal expected = literal(app);
        wyznacz_sprzecznosc_1w(app);
        ASSERT_EQ(f().sprzecznosc_1w, expected.verdicts) << "round " << round;
        ASSERT_EQ(f().regula_splaszczona_1w, expected.table) << "round " << round;
        EXPECT_EQ(f().sprzecznosc_1_w, !expected.verdicts.empty());
        withFindings += !expected.verdicts.empty();
    }
    EXPECT_GT(withFindings, 100);
}

// Rules whose every name has one alternative are decided without the
// generator; the verdicts and the flattenings kept must not change.
TEST_F(Internal, TheOneFlatteningShortcutAgreesWithTheGenerator) {
    std::mt19937 rng(29);
    auto sameAsGenerator = [&](const std::string& what) {
        wyznacz_sprzecznosc_1w(app, false);
        const InternalFindings expected = f();
        wyznacz_sprzecznosc_1w(app, true);
        ASSERT_EQ(f().sprzecznosc_1w, expected.sprzecznosc_1w) << what;
        ASSERT_EQ(f().regula_splaszczona_1w, expected.regula_splaszczona_1w) << what;
        ASSERT_EQ(f().sprzecznosc_1_w, expected.sprzecznosc_1_w) << what;
    };
    int withFindings = 0;
    for (int round = 0; round < 2000; ++round) {
        // Acyclic, mostly one rule per conclusion so that most names have a
        // single alternative; some rules without conditions, some numbered 0.
        std::vector<kb::Rule> rs;
        const int count = 1 + static_cast<int>(rng() % 10);
        for (int i = 1; i <= count; ++i) {
            const int k = rng() % 5 == 0 ? 1 + static_cast<int>(rng() % static_cast<unsigned>(i)) : i;
            Names w;
            const int n = static_cast<int>(rng() % 4);
            for (int j = 0; j < n; ++j)
                w.push_back(std::string(rng() % 4 == 0 ? "n" : "") + (rng() % 3 == 0 ? "q" : "p") +
                            std::to_string(rng() % static_cast<unsigned>(k)));
            rs.push_back(R(rng() % 6 == 0 ? 0 : i, "p" + std::to_string(k), w));
        }
        rules(rs);
        sameAsGenerator("round " + std::to_string(round));
        withFindings += f().sprzecznosc_1_w;
    }
    EXPECT_GT(withFindings, 100);

    // Deep chains, consistent and with a contradiction between the ends.
    for (const bool contradiction : {false, true}) {
        std::vector<kb::Rule> chain{R(1, "c1", {"a1"})};
        for (int k = 2; k <= 300; ++k)
            chain.push_back(R(k, "c" + std::to_string(k), {"c" + std::to_string(k - 1), "a" + std::to_string(k)}));
        chain.push_back(R(301, "top", {"c300", contradiction ? "na1" : "b"}));
        rules(chain);
        sameAsGenerator(contradiction ? "chain with a contradiction" : "chain");
        EXPECT_EQ(f().sprzecznosc_1_w, contradiction);
    }
}

const char* const kOffer =
    "Augmented Exact Rule Base\n     RUt.AEB\nmay be tested for internal inconsistencies. \n\nThis test may take "
    "a lot of time for large and heavily \nnested rule bases, because the rules need to be flattened.\nIt should be "
    "performed while developing or modifying \nrule bases.\nFor routine uses of often used rule bases the test "
    "should  \nbe bypassed.\n\nKeep in mind that internal rule inconsistencies do not lead\nto infinite loops; rules "
    "internally inconsistent are just \nomitted in the chaining process and this is perhaps not \nwhat the rule base "
    "designer intended to achieve. \nDo you wish to test the rule base for internal inconsistencies?";
const char* const kOfferMessages =
    "\nThe rule base may be tested for internal inconsistencies.\n"
    "This test may take a lot of time for large and heavily nested \nrule bases. \n\n"
    "This test should be performed while developing or modifying rule bases.\n"
    "For routine uses of a much used rule base the test should be bypassed.\n\n"
    "Keep in mind that internal rule inconsistencies\n"
    "do not lead to infinite loops; however, rules internally inconsistent \n"
    "are omitted in the chaining process and this is perhaps not what the \n"
    "rule base designer intended to achieve.\n\n";

TEST_F(Internal, OfferDeclinedTestsNothing) {
    rules({R(1, "a", {"b", "nb"})});
    port.then("Choose", "no");
    EXPECT_TRUE(testuj_sprzecznosc_1w(app));
    EXPECT_EQ(port.last("yes/no").text, kOffer);
    EXPECT_EQ(app.messages.text(), kOfferMessages);
    EXPECT_FALSE(f().sprzecznosc_1_w);
    EXPECT_TRUE(notes().empty());
}

TEST_F(Internal, InformingAboutAnInconsistencyEnablesItsReport) {
    rules({R(1, "a", {"b", "nb"})});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_sprzecznosc_1w(app));
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::InternalInconsistencyFound});
    EXPECT_EQ(app.messages.text(),
              std::string(kOfferMessages) +
                  "The loaded rule base contains at least one internal inconsistency\nof type IAE1.\n\n"
                  "However, the rule base may be used for chaining.\n\n"
                  "Internally inconsistent rules do not result in infinite loops but are simply omitted in the\n"
                  "chaining process. This may result in faulty conclusions. \n"
                  "Therefore you are advised to diagnose the causes of internal inconsistencies.\n"
                  "To achieve this proceed with the loaded Rule Base and enter the Main Menu\n"
                  "option:\n\n'Rule Base /Diagnosing Internal Inconsistencies'\n\n"
                  "where a detailed message highlighting the nature of inconsistencies\nis to be found.\n\n");
    // The line ends written through piszcr reach the report too.
    EXPECT_EQ(app.report.tekst_raportu(), "\n\n\n\n\n");
    ASSERT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Information on inconsistency");
    EXPECT_EQ(notes()[0].text,
              "Augmented Exact Rule Base\n     RUt.AEB\ncontains at least one internal inconsistency of type IAE1"
              "\nHowever, the rule base may be used for chaining."
              "\nInternally inconsistent rules do not result in infinite \nloops, but are simply omitted in the "
              "chaining process. \nThis may result in faulty conclusions. "
              "\nTherefore you are advised to diagnose the causes of internal inconsistencies. "
              "\n\nTo achieve this  enter the option\n   'Rule Base\n     Diagnosing Internal Inconsistencies'"
              "\nwhere a detailed message highlighting the nature of\n inconsistencies is to be found."
              "\nProceed to the option 'Rule Base /Rule Base editing'  and remove the inconsistency.");
}

// Stopped in either round, the test says so and leaves no verdict behind.
TEST_F(Internal, ACancelledTestRecordsNoVerdict) {
    for (const std::size_t at : {1u, 3u}) {
        SCOPED_TRACE(at);
        port.clearCalls();
        app.messages.clear();
        app.outcomes.clear();
        rules({R(1, "a", {"b", "nb"}), R(2, "c", {"d", "nd"})});
        port.cancelProgress(port::texts::kInternalTest.label, at);
        port.then("Choose", "yes");
        EXPECT_TRUE(testuj_sprzecznosc_1w(app));
        EXPECT_FALSE(f().sprzecznosc_1_w);
        EXPECT_TRUE(f().sprzecznosc_1w.empty());
        EXPECT_TRUE(f().regula_splaszczona_1w.empty());
        EXPECT_TRUE(app.outcomes.empty());
        EXPECT_EQ(noteTexts(), (Names{port::texts::kInternalTest.cancelled}));
        EXPECT_EQ(app.messages.text(), std::string(kOfferMessages) + port::texts::kInternalTest.cancelled);
        // The work is reported as over, so that a progress dialog closes.
        ASSERT_FALSE(port.progressCalls().empty());
        EXPECT_EQ(port.progressCalls().back().done, port.progressCalls().back().total);
    }
    // Not cancelled, the same base is found inconsistent.
    port.cancelProgress("");
    port.then("Choose", "yes");
    testuj_sprzecznosc_1w(app);
    EXPECT_TRUE(f().sprzecznosc_1_w);
}

TEST_F(Internal, ConsistentBaseIsToldSoAndHasNoReport) {
    rules({R(1, "a", {"b", "nc"})});
    port.then("Choose", "yes");
    testuj_sprzecznosc_1w(app);
    EXPECT_EQ(app.messages.text(), std::string(kOfferMessages) + " The Rule Base RUt.AEB\n is not internally IAE1-inconsistent.");
    const std::string notInconsistent = "Augmented Exact Rule Base\n   RUt.AEB\nis not internally IAE1-inconsistent.";
    EXPECT_EQ(noteTexts(), (Names{notInconsistent}));
    EXPECT_TRUE(app.outcomes.empty());
    port.clearCalls();
    pisz_sprzecznosc_1w(app);
    EXPECT_EQ(noteTexts(), (Names{notInconsistent}));
    EXPECT_EQ(app.report.tekst_raportu(), "");
}

TEST_F(Internal, CyclicBaseWithoutAVerdictIsNotFlattened) {
    rules({R(1, "a", {"b"}), R(2, "b", {"a"})});
    port.then("Choose", "yes");
    EXPECT_TRUE(testuj_sprzecznosc_1w(app));
    EXPECT_EQ(notes().size(), 1u);
    EXPECT_EQ(notes()[0].title, "Attention!");
    EXPECT_EQ(notes()[0].text, "Externally inconsistent rules may not be flattened!");
    EXPECT_FALSE(f().sprzecznosc_1_w);
}

TEST_F(Internal, ReportShowsSelfThenUndirectAndConsumesTheUndirect) {
    rules({R(2, "x", {"y", "z"}), R(3, "y", {"nz"}), R(1, "a", {"b", "nb"})});
    wyznacz_sprzecznosc_1w(app);
    app.messages.clear();
    declineSave();
    pisz_sprzecznosc_1w(app);
    const std::string head =
        " Diagnostic report on internal inconsistencies of rule base: \n RUt.AEB\n\n"
        " Internal inconsistencies of type  IAE1 are detected\n by flattening rules:\n\n";
    const std::string self =
        " The result of flattening rule 1 is: \n   rule_flattened(1, a, [nb,b])\n"
        " Rule  1 is internally IAE1-selfinconsistent. \n\n";
    const std::string tail = " End of diagnostic report on internal inconsistencies of Rule Base: \n RUt.AEB.";
    EXPECT_EQ(app.report.tekst_raportu(),
              head + self +
                  " The result of flattening rule 2 is: \n   rule_flattened(2, x, [z,nz])\n"
                  " The flattening has been done using rules: 3\n"
                  " Rule 2  is internally undirectly IAE1-inconsistent. \n\n" +
                  tail);
    for (const auto& n : notes()) EXPECT_EQ(n.title, "Information on inconsistency");
    const Names first{"Diagnostic report on internal inconsistencies of \nAugmented Exact Rule Base\nRUt.AEB",
                      "Internal inconsistencies of type IAE1 are detected by flattening rules:",
                      "The result of flattening rule 1 is:\n\nrule_flattened(1, a, [\"nb\",\"b\"])\n\n"
                      "Rule 1 is internally IAE1 self-inconsistent."};
    const std::string undirect =
        "The result of flattening rule 2 is:\n\nrule_flattened((2, x, [\"z\",\"nz\"])\n\n"
        "The flattening has been done using rules: 3, \nRule 2 is internally undirectly IAE1-inconsistent.";
    const std::string end = "End of diagnostic report on internal inconsistencies of \nAugmented Exact Rule Base\nRUt.AEB.";
    Names expected = first;
    expected.push_back(undirect);
    expected.push_back(end);
    EXPECT_EQ(noteTexts(), expected);

    // Shown once: the next report has only the self-inconsistency.
    port.clearCalls();
    declineSave();
    pisz_sprzecznosc_1w(app);
    EXPECT_EQ(app.report.tekst_raportu(), head + self + tail);
    expected = first;
    expected.push_back(end);
    EXPECT_EQ(noteTexts(), expected);
}

}  // namespace
}  // namespace torv::verify::test
