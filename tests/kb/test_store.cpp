// The store: negation, lookups, clear operations, model-base reload.
#include <gtest/gtest.h>

#include "kb/store.h"

namespace torv::kb {
namespace {

TEST(Negacja, MapsNamesBothWays) {
    struct Case { const char* in; const char* out; };
    for (auto c : {Case{"wet", "nwet"}, Case{"nwet", "wet"}, Case{"n", ""}, Case{"", "n"},
                   Case{"nnx", "nx"}, Case{"Normal", "nNormal"}, Case{"normal", "ormal"}}) {
        EXPECT_EQ(negacja(c.in), c.out) << c.in;
    }
    EXPECT_EQ(negacja(negacja("abc")), "abc");
}

TEST(Negacja, TestsTwoNames) {
    EXPECT_TRUE(negacja("x", "nx"));
    EXPECT_TRUE(negacja("nx", "x"));
    EXPECT_FALSE(negacja("x", "x"));
    EXPECT_FALSE(negacja("nnx", "x"));
    EXPECT_TRUE(negacja("", "n"));
}

TEST(UsunNegacje, KeepsOrder) {
    EXPECT_EQ(usun_negacje({"na", "b", "nnc", "Nd"}), (StringList{"a", "b", "nc", "Nd"}));
}

Store storeWithRules() {
    Store s;
    RuleBase rb;
    rb.rules = {{3, "x", {"a", "b"}, 1}, {1, "y", {}, 0}, {3, "x", {"c"}, 0}, {2, "nx", {"d"}, 1}};
    rb.facts = {{"a"}};
    rb.kept = {{"_rule", "_rule(9,\"z\",[],1)"}, {"rem_rule", "rem_rule(\"note\")"}};
    s.setRuleBase(std::move(rb));
    return s;
}

TEST(Store, LooksUpRulesInFileOrder) {
    Store s = storeWithRules();
    ASSERT_EQ(s.rules().size(), 4u);  // inactive and remark lines never enumerate
    EXPECT_EQ(s.ruleByNumber(3)->warunki, (StringList{"a", "b"}));  // first of two with number 3
    EXPECT_EQ(s.ruleByNumber(7), nullptr);
    auto xs = s.rulesByConclusion("x");
    ASSERT_EQ(xs.size(), 2u);
    EXPECT_EQ(xs[0]->warunki.size(), 2u);
    EXPECT_EQ(xs[1]->warunki.size(), 1u);
    EXPECT_TRUE(s.rulesByConclusion("nope").empty());
    EXPECT_EQ(s.ruleByNumberConclusionSemaphore(3, "x", 0)->warunki, StringList{"c"});
    EXPECT_EQ(s.ruleByNumberConclusionSemaphore(1, "x", 0), nullptr);
    EXPECT_TRUE(s.ruleByNumber(1)->warunki.empty());
}

TEST(Store, AddedRuleIsIndexed) {
    Store s = storeWithRules();
    EXPECT_EQ(s.rulesByConclusion("x").size(), 2u);   // the index is built before the additions
    s.addRule({8, "x", {"q"}, 1});
    s.addRule({9, "a conclusion first named after the index was built", {}, 1});
    EXPECT_EQ(s.rulesByConclusion("x").size(), 3u);
    EXPECT_EQ(s.rulesByConclusion("x").back()->numer, 8);
    EXPECT_EQ(s.rulesByConclusion("a conclusion first named after the index was built").size(), 1u);
    EXPECT_EQ(s.ruleByNumber(8)->wniosek, "x");
    s.kasowanie_dregula();
    EXPECT_TRUE(s.rulesByConclusion("x").empty());
    EXPECT_EQ(s.ruleByNumber(8), nullptr);
    EXPECT_EQ(s.facts().size(), 1u);
}

TEST(Store, ModelLookupsSpanAllKinds) {
    Store s;
    ModelBase mb;
    mb.model_b = {{1, "No condition", "y", "x", "+", "1", 1}};
    mb.model_e = {{2, "go", "ok", "<,<", {"a", "b"}, 0}};
    mb.model_lin = {{3, "No condition", "y", {"1"}, {"x"}, 1}};
    mb.model_poly = {{4, "No condition", "p", "x", {"1"}, {2}, 0}};
    s.setModelBase(mb);
    auto m2 = s.modelByNumber(2);
    ASSERT_TRUE(m2);
    EXPECT_EQ(m2->kind, Store::ModelRef::Kind::Extended);
    EXPECT_EQ(s.modelResult(*m2), "ok");
    EXPECT_EQ(s.modelGoAhead(*m2), "go");
    auto ys = s.modelsByResult("y");
    ASSERT_EQ(ys.size(), 2u);
    EXPECT_EQ(s.modelNumber(ys[0]), 1);
    EXPECT_EQ(s.modelNumber(ys[1]), 3);
    EXPECT_TRUE(s.modelByNumberSemaphore(4, 0));
    EXPECT_FALSE(s.modelByNumberSemaphore(4, 1));
}

TEST(Store, ModelReloadKeepsExclusiveModels) {
    Store s;
    ModelBase mb;
    mb.model_b = {{1, "c", "y", "x", "+", "1", 1}};
    mb.exclusive_models = {{{"a", "b"}}};
    s.setModelBase(mb);
    s.setModelBase(mb);
    EXPECT_EQ(s.modelBase().model_b.size(), 1u);
    EXPECT_EQ(s.modelBase().exclusive_models.size(), 2u);
    s.kasowanie_modele_ekskluzywne();
    EXPECT_TRUE(s.modelBase().exclusive_models.empty());
}

TEST(Store, ClearOperationsTouchOnlyTheirTables) {
    Store s = storeWithRules();
    AdviceBase ab;
    ab.advice = {{1, "a.hlp"}};
    ab.nadvice = {{1, "b.hlp"}};
    s.setAdviceBase(ab);
    s.nazwa_ra = "ADx.AEB";
    s.nazwa_ra_pelna = "/k/ADx.AEB";
    s.kasowanie_drada();
    EXPECT_TRUE(s.adviceBase().advice.empty());
    EXPECT_TRUE(s.adviceBase().nadvice.empty());
    EXPECT_EQ(s.rules().size(), 4u);
    s.kasowanie_nazwy_ra();
    EXPECT_FALSE(s.nazwa_ra);
    EXPECT_FALSE(s.nazwa_ra_pelna);
    s.nazwa_mo = "MOx.AEB";
    s.nazwa_mo_pelna = "/k/MOx.AEB";
    s.kasowanie_nazwy_mo();
    EXPECT_FALSE(s.nazwa_mo);
    EXPECT_TRUE(s.nazwa_mo_pelna);  // superseded only by the next load
    s.clearAll();
    EXPECT_TRUE(s.rules().empty());
    EXPECT_FALSE(s.nazwa_mo_pelna);
}

}  // namespace
}  // namespace torv::kb
