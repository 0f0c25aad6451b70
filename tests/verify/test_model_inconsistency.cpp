// Model-base and joint model-rule inconsistencies: the searches, their
// bounds, the informing notes and the two reports.
#include <gtest/gtest.h>

#include "engine/gate.h"
#include "verify/flattening.h"
#include "verify/joint_model_rule.h"
#include "verify/model_inconsistency.h"
#include "verify_fixture.h"

namespace torv::verify {
// Readable failures.
void PrintTo(const DeepModelFinding& f, std::ostream* os) {
    *os << f.n << ":" << polacz(f.chain, ",") << ":" << f.r;
}
void PrintTo(const DirectModelFinding& f, std::ostream* os) { *os << f.n << ":" << f.r; }
}  // namespace torv::verify

namespace torv::verify::test {
namespace {

using Numbers = std::vector<std::int32_t>;

std::string basic(int n, const std::string& result, const std::string& a, const std::string& op,
                  const std::string& b, const std::string& goAhead = "No condition") {
    return "model_b(" + std::to_string(n) + ",\"" + goAhead + "\",\"" + result + "\",\"" + a + "\",\"" + op + "\",\"" +
           b + "\",1)\n";
}

class ModelTests : public VerifyTest {
protected:
    ModelFindings search(const std::string& text, ModelSearchLimits limits = {}) {
        models(text);
        ModelFindings f;
        stats = badaj_modele_arytmetyczne(app.store, f, limits);
        badaj_modele_relacyjne(app.store, f);
        return f;
    }
    ModelSearchStats stats;
};

TEST_F(ModelTests, ArgumentListsFollowKindThenRecordOrder) {
    models("model_poly(4,\"No condition\",\"p\",\"v\",[\"1\",\"c\"],[0,1],1)\n"
           "model_lin(3,\"No condition\",\"l\",[\"2\",\"k\"],[\"u\",\"w\"],1)\n"
           "model_e(2,\"No condition\",\"e\",\"max_list\",[\"a\",\"b\",\"c\"],1)\n"
           "model_e(6,\"g\",\"big\",\"<,<\",[\"a\",\"b\",\"c\"],1)\n" +
           basic(5, "hot", "t", ">", "30") + basic(1, "s", "x", "+", "y") + basic(7, "r", "x", "sqrt", "0"));
    EXPECT_EQ(listy_argumentow(app.store),
              (std::vector<ArgumentList>{{1, "s", {"x", "y"}},
                                         {2, "e", {"a", "b", "c"}},
                                         {3, "l", {"2", "k", "u", "w"}},
                                         {4, "p", {"v", "1", "c"}}}));
}

struct SearchCase {
    const char* name;
    std::string base;
    std::vector<DirectModelFinding> direct;
    std::vector<DeepModelFinding> deep;
};

class ArithmeticSearch : public ModelTests, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(ArithmeticSearch, FindsWhatTheNestingShows) {
    const ModelFindings f = search(GetParam().base);
    EXPECT_EQ(f.model_arytmetyczny_sprzeczny, GetParam().direct);
    EXPECT_EQ(f.model_arytmetyczny_sprzeczny_gleboko, GetParam().deep);
    EXPECT_FALSE(f.truncated);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ArithmeticSearch,
    ::testing::Values(
        SearchCase{"Direct", basic(1, "x", "x", "+", "1"), {{1, "x"}}, {}},
        SearchCase{"IndirectBothWays", basic(1, "x", "y", "+", "1") + basic(2, "y", "x", "*", "2"), {},
                   {{1, {1, 2}, "x"}, {2, {2, 1}, "y"}}},
        // A directly inconsistent model is not searched again, but others
        // still reach it.
        SearchCase{"DirectNotSearchedAgain", basic(1, "x", "x", "+", "y") + basic(2, "y", "x", "*", "2"),
                   {{1, "x"}},
                   {{2, {2, 1}, "y"}}},
        // The result "3" is an argument of model 1, but 1's constant 3 never
        // leads on to model 2.
        SearchCase{"ConstantNeverLeadsOn", basic(1, "x", "y", "+", "3") + basic(2, "3", "x", "*", "2"), {},
                   {{2, {2, 1}, "3"}}},
        SearchCase{"LongerChainThroughEveryProducer",
                   basic(1, "a", "b", "+", "1") + basic(2, "b", "c", "+", "1") + basic(3, "b", "a", "-", "1") +
                       basic(4, "c", "a", "*", "2"),
                   {},
                   {{1, {1, 2, 4}, "a"}, {1, {1, 3}, "a"}, {2, {2, 4, 1}, "b"}, {3, {3, 1}, "b"},
                    {4, {4, 1, 2}, "c"}}},
        SearchCase{"VisitedListEndsAnInnerCircle",
                   basic(1, "a", "b", "+", "1") + basic(2, "b", "c", "+", "1") + basic(3, "c", "b", "+", "1"), {},
                   {{2, {2, 3}, "b"}, {3, {3, 2}, "c"}}},
        SearchCase{"NoCircleNoFinding", basic(1, "a", "b", "+", "c") + basic(2, "b", "c", "+", "1"), {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ModelTests, LongChainsAndFanInAreNotSearched) {
    std::string text;
    for (int i = 1; i <= 10'000; ++i) text += basic(i, "x" + std::to_string(i), "x" + std::to_string(i - 1), "+", "1");
    for (int i = 1; i <= 10'000; ++i) text += basic(20'000 + i, "y", "x" + std::to_string(i), "*", "2", "g" + std::to_string(i));
    const ModelFindings f = search(text);
    EXPECT_TRUE(f.model_arytmetyczny_sprzeczny_gleboko.empty());
    EXPECT_EQ(stats.searches, 0u);
}

TEST_F(ModelTests, ACircleOfTenThousandModelsStopsAtItsBound) {
    std::string text;
    const int n = 10'000;
    for (int i = 0; i < n; ++i)
        text += basic(i + 1, "x" + std::to_string(i), "x" + std::to_string((i + 1) % n), "+", "1");
    const ModelFindings f = search(text, ModelSearchLimits{50'000'000, 100'000, 1'000'000});
    EXPECT_TRUE(f.truncated);
    ASSERT_GE(f.model_arytmetyczny_sprzeczny_gleboko.size(), 100u);
    const auto& first = f.model_arytmetyczny_sprzeczny_gleboko.front();
    EXPECT_EQ(first.n, 1);
    EXPECT_EQ(first.chain.size(), static_cast<std::size_t>(n));
    EXPECT_EQ(first.chain.back(), n);
}

TEST_F(ModelTests, RelationalModelConcludingItsGoAheadConditionOnce) {
    const ModelFindings f =
        search(basic(1, "hot", "t", ">", "30", "hot") + basic(2, "cold", "t", "<", "5", "warm") +
               basic(1, "hot", "t", ">", "40", "hot") +
               "model_e(3,\"mid\",\"mid\",\"<=,<\",[\"a\",\"t\",\"b\"],1)\n");
    EXPECT_EQ(f.model_relacyjny_sprzeczny, (std::vector<RelationalModelFinding>{{1, "hot"}, {3, "mid"}}));
}

TEST_F(ModelTests, ReportOfDirectAndIndirectModelsDeletesTheBase) {
    rules({R(1, "p", {"a"})});
    models(basic(1, "x", "x", "+", "1") + basic(2, "y", "z", "+", "1") + basic(3, "z", "y", "*", "2") +
               "argument_known(\"q\",1.0)\n",
           "MObad.AEB");
    EXPECT_FALSE(informuj_sprzecznosc_mz(app));
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::ModelInconsistencyFound});
    EXPECT_FALSE(app.store.nazwa_mo);
    EXPECT_EQ(app.messages.text(),
              " The loaded model base contains at least one inconsistency. \n"
              " The loaded model base may be only edited, but not used for chaining.\n"
              " You may also run a diagnostic check revealing the nature of \n"
              " inconsistency.\n"
              " For this proceed to the option: \n"
              " 'Model Base/Diagnosing Model Base inconsistencies'\n"
              " where a detailed message highlighting the nature of inconsistencies\n"
              " is to be found.\n");
    EXPECT_EQ(noteTexts(), Names{"Augmented Exact Model Base\n   MObad.AEB contains at least one inconsistency."
                                 "\nThe  base may be only edited,\nbut not used for chaining."
                                 "\nYou may also run a diagnostic check revealing\nFor this proceed to the option:"
                                 "\n   'Exact Model Base\n     Diagnosing Model Base inconsistencies'"
                                 "where a detailed message highlighting the nature of inconsistencies "
                                 "is to be found."});
    EXPECT_TRUE(app.verdicts.model_aryt_sprzeczny);
    EXPECT_TRUE(app.verdicts.model_sprzeczny_gleboko);
    EXPECT_FALSE(app.verdicts.model_rela_sprzeczny);
    EXPECT_FALSE(engine::bramka_wnioskowania(app));

    port.clearCalls();
    declineSave();
    pisz_sprzecznosc_modeli(app);
    EXPECT_EQ(app.report.tekst_raportu(),
              " The following arithmetical models are directly inconsistent:\n\n"
              " The result 'x' of model 1\n is the same as its argument.\n"
              " The following arithmetical models are indirectly inconsistent:\n\n"
              " The result 'y' of model 2\n is the same as an argument of one of its nested models:\n"
              "      2,3\n  This may be demonstrated by removing the nesting as follows: \n      2 ==> 3\n"
              " The result 'z' of model 3\n is the same as an argument of one of its nested models:\n"
              "      3,2\n  This may be demonstrated by removing the nesting as follows: \n      3 ==> 2\n"
              " Enter 'Model Base',\n choose option 'Model Base Editing', \n"
              " choose faulty base and remove the inconsistencies.\n"
              " Model Base MObad.AEB has no inconsistent relational models.\n");
    EXPECT_EQ(noteTexts(),
              (Names{"The following arithmetical models are directly inconsistent:",
                     " The result  'x'  of model 1\nis the same as its argument.",
                     "The following arithmetical models are indirectly inconsistent:",
                     " The result  'y'  of model 2\nis the same as an argument of one of its nested models:2,3"
                     "\nThis may be demonstrated by removing the nesting as follows: \n 2 ==> 3",
                     " The result  'z'  of model 3\nis the same as an argument of one of its nested models:3,2"
                     "\nThis may be demonstrated by removing the nesting as follows: \n 3 ==> 2",
                     " Enter 'Model Base', choose option 'Model Base Editing', "
                     "\nchoose faulty base and remove the inconsistencies.",
                     "The Augmented Exact Model Base\n    MObad.AEB\nhas no inconsistent relational models."}));
    EXPECT_TRUE(app.store.modelBase().model_b.empty());
    EXPECT_TRUE(app.store.modelBase().argument_known.empty());
}

TEST_F(ModelTests, OnlyIndirectFindingsKeepTheBaseAndSayNoArithmeticalModels) {
    rules({R(1, "p", {"a"})});
    models(basic(1, "x", "y", "+", "1") + basic(2, "y", "x", "*", "2") + basic(3, "g", "t", ">", "1", "g"), "MOi.AEB");
    EXPECT_FALSE(informuj_sprzecznosc_mz(app));
    port.clearCalls();
    app.report.kasowanie_tekst_raportu();
    pisz_sprzecznosc_modeli_arytmetycznych(app);
    EXPECT_EQ(app.store.modelBase().model_b.size(), 3u);
    const std::string tail = " Model Base MOi.AEB has no inconsistent arithmetical models.\n";
    EXPECT_EQ(app.report.tekst_raportu().substr(app.report.tekst_raportu().size() - tail.size()), tail);
    EXPECT_EQ(port.last("note").title, "Diagnostic Report on arithmetical model inconsistencies");

    app.report.kasowanie_tekst_raportu();
    port.clearCalls();
    pisz_sprzecznosc_modeli_relacyjnych(app);
    EXPECT_EQ(app.report.tekst_raportu(),
              " The following relational models are inconsistent:\n"
              " The conclusion 'g' of model 3\n is the same as its go-ahead condition.\n"
              " Enter 'Model Base',\n choose option 'Model Base Editing', \n"
              " choose faulty base and remove the inconsistencies.\n");
    EXPECT_EQ(noteTexts(), (Names{"The following relational models  are inconsistent:",
                                  "The conclusion g\nof model 3is the same as its go-ahead condition.",
                                  "Enter 'Model Base',\nchoose option 'Model Base Editing',"
                                  "\nchoose faulty base and remove the inconsistencies."}));
    EXPECT_TRUE(app.store.modelBase().model_b.empty());
}

// ---- joint model-rule inconsistencies ----

class JointTests : public VerifyTest {
protected:
    std::vector<JointModelRuleFinding> joint() {
        FlatteningBase base(app.store, app.askables);
        JointModelRuleFindings f;
        badaj_mr(app.store, base, f);
        return f.modele_i_reguly_sprzeczne;
    }
};

TEST_F(JointTests, GoAheadNeededToDeriveItselfThroughRulesAndModels) {
    // Model 7 needs g; g needs h (rule 2), h needs c (rule 3), and c is
    // concluded by model 8, whose go-ahead k is concluded by model 7 only
    // under g.
    rules({R(1, "g", {"a", "h"}), R(2, "h", {"c"}), R(3, "z", {"b"})});
    models(basic(7, "k", "t", ">", "1", "g") + basic(8, "nc", "t", "<", "2", "k") + basic(9, "q", "t", "<", "2", "a"));
    EXPECT_EQ(joint(), (std::vector<JointModelRuleFinding>{{7, 1, {2, 0}, {7, 8}}}));
}

TEST_F(JointTests, ChainEndsAndAbsentLoopsFindNothing) {
    rules({R(1, "g", {"c"}), R(2, "c", {"d"})});
    models(basic(7, "k", "t", ">", "1", "g") + basic(8, "e", "t", ">", "1", "k"));
    EXPECT_TRUE(joint().empty());
}

TEST(ChainText, DependsOnWhichListsAreEmpty) {
    EXPECT_EQ(test_dla_tekstu({}, {0}).report, "");
    EXPECT_EQ(test_dla_tekstu({3, 0, 2}, {}).report, " via a chain of nested rules with numbers  2,3\n");
    EXPECT_EQ(test_dla_tekstu({0}, {5}).note, "\n via a chain of nested rules with numbers  5");
    const ChainText both = test_dla_tekstu({2}, {8, 7});
    EXPECT_EQ(both.report, " via a chain of nested rules with numbers 2 and via a chain of nested rules with numbers 7,8\n");
    EXPECT_EQ(both.note, "\n via a chain of nested rules with numbers 2\n and via a chain of nested rules with numbers 7,8");
}

TEST_F(JointTests, InformingAndReport) {
    rules({R(1, "g", {"c"})}, "RUj.AEB");
    models(basic(7, "c", "t", ">", "1", "g"), "MOj.AEB");
    EXPECT_FALSE(informuj_sprzecznosc_mr(app));
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::JointModelRuleInconsistencyFound});
    EXPECT_EQ(app.verdicts.sprzecznosc_mr, true);
    EXPECT_EQ(app.messages.text(),
              "Model base    MOj.AEB\nand rule base RUj.AEB\nare  jointly inconsistent.\n"
              "The loaded bases may be only edited, but not used for chaining.\n"
              " You may also run a diagnostic check revealing the nature of \n inconsistency\n"
              " For this enter the  option:\n"
              " 'Model Base/Diagnosing Joint Model- and Rule Base Inconsistencies'\n"
              " where a detailed message highlighting the nature of inconsistencies\n is to be found.\n");
    EXPECT_EQ(port.last("note").text,
              "Augmented Exact Model Base\n   MOj.AEB\nand Augmented Exact Rule Base\n   RUj.AEB"
              "\nare  jointly inconsistent.\nThe loaded bases may be only edited, but not used for chaining."
              "\nYou may  run a diagnostic check revealing the nature of inconsistency.\nFor this enter the  option:"
              "\n   'Model Base\n     Diagnosing Joint Model- and \n     Rule Base Inconsistencies',"
              "\nwhere a detailed message highlighting the nature of inconsistencies\nis to be found.");

    port.clearCalls();
    declineSave();
    pisz_sprzecznosc_mr(app);
    EXPECT_EQ(app.report.tekst_raportu(),
              " Diagnostic report on joint model-rule inconsistencies between: \n"
              " Model Base:    MOj.AEB\n and rule base: RUj.AEB\n"
              " Relational model  7 is jointly inconsistent with rule 1\n"
              " via a chain of nested rules with numbers  7\n"
              " End of diagnostic report of joint model-rule inconsistencies between: \n"
              " Model Base  MOj.AEB\n Rule base RUj.AEB.\n");
    EXPECT_EQ(noteTexts(), (Names{" Diagnostic report on joint model-rule inconsistencies between:"
                                  "\nAugmented Exact Model Base\n    MOj.AEB\nand Augmented Exact Rule Base\n    RUj.AEB",
                                  " Relational model 7 is jointly inconsistent with rule 1"
                                  "\n via a chain of nested rules with numbers  7"}));
}

TEST_F(JointTests, ReportWithoutFindings) {
    rules({R(1, "g", {"c"})}, "RUj.AEB");
    models(basic(7, "d", "t", ">", "1", "g"), "MOj.AEB");
    EXPECT_TRUE(informuj_sprzecznosc_mr(app));
    EXPECT_EQ(app.verdicts.sprzecznosc_mr, false);
    pisz_sprzecznosc_mr(app);
    EXPECT_EQ(app.report.tekst_raportu(), " Model Base:    MOj.AEB\n and Rule Base: RUj.AEB\n are not jointly inconsistent.\n");
    EXPECT_EQ(noteTexts(), Names{"Augmented Exact Model Base  \n   MOj.AEB\nand Augmented Exact Rule Base  \n   RUj.AEB"
                                 " are not jointly inconsistent."});
}

}  // namespace
}  // namespace torv::verify::test
