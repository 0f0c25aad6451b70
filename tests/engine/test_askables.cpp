// Askable conditions and arguments, and the list operations under them.
#include <gtest/gtest.h>

#include <random>

#include "engine/askables.h"
#include "loading/loading.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::engine {
namespace {

TEST(Lists, RedukujKeepsTheLastOccurrence) {
    EXPECT_EQ(redukuj({"a", "b", "a", "c", "b"}), (Names{"a", "c", "b"}));
    EXPECT_EQ(redukuj({}), Names{});
}

TEST(Lists, SortujComparesUnsignedBytes) {
    EXPECT_EQ(sortuj({"a", "B", "\xC5\x82", "A", "b", "_"}), (Names{"A", "B", "_", "a", "b", "\xC5\x82"}));
}

TEST(Lists, DifferenceUnionAndIntersection) {
    EXPECT_EQ(roznica_zbiorow({"a", "b", "c", "b"}, {"b"}), (Names{"a", "c"}));
    EXPECT_EQ(suma_zbiorow({"a", "b"}, {"b", "c"}), (Names{"a", "b", "c"}));
    EXPECT_EQ(przeciecie({"c", "a", "b"}, {"a", "c"}), (Names{"c", "a"}));
}

TEST(Lists, NumbersAreRecognised) {
    for (const char* n : {"2", "-0.5", "3.5", "1e3", "+7", "0.25E-2"}) EXPECT_TRUE(czy_liczba(n)) << n;
    for (const char* n : {"", "x", "2a", ".", "1e", "inf", "nan", "1,5", "-"}) EXPECT_FALSE(czy_liczba(n)) << n;
}

TEST(Lists, RuleConditionsAndConclusionsAreEachNamedOnceAtTheirLastOccurrence) {
    // Against the plain reading: every condition made positive, then redukuj.
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        kb::RuleBase base;
        const int rules = static_cast<int>(rng() % 12);
        for (int i = 0; i < rules; ++i) {
            kb::Rule r{i + 1, "c" + std::to_string(rng() % 6), {}, 1};
            for (unsigned k = rng() % 5; k > 0; --k)
                r.warunki.push_back(std::string(rng() % 3, 'n') + "c" + std::to_string(rng() % 6));
            base.rules.push_back(r);
        }
        kb::Store store;
        store.setRuleBase(base);
        Names conditions, conclusions;
        for (const auto& r : base.rules) {
            conditions.insert(conditions.end(), r.warunki.begin(), r.warunki.end());
            conclusions.push_back(r.wniosek);
        }
        Askables a;
        wyznacz_warunki_dopytywalne(store, a);
        EXPECT_EQ(a.lista_warunkow, redukuj(kb::usun_negacje(conditions))) << "round " << round;
        EXPECT_EQ(a.lista_wnioskow_regul, redukuj(conclusions)) << "round " << round;
    }
}

class AskablesTest : public ::testing::Test {
protected:
    // The diagnosis offers and the single-condition listing are declined.
    AskablesTest() { port.always("Choose", "no").always("Choose:", "no"); }

    test::TempDir dir;
    test::ScriptedPort port;
    AppState app{port, dir.path()};

    void load(kb::LoadOption option, const std::string& name, const std::string& text) {
        port.then(dir.write("BASES/" + name, text).string());
        ASSERT_EQ(kb::opcja_z_menu_glownego(app, option), name);
    }
};

TEST_F(AskablesTest, RuleBaseAskables) {
    load(kb::LoadOption::RuleBase, "RUk.AEB",
         "rule(1,\"x\",[\"b\",\"na\",\"y\"],1)\n"
         "rule(2,\"y\",[\"c\",\"No condition\"],1)\n"
         "rule(3,\"nz\",[\"z\",\"B\"],1)\n"
         "rule(4,\"w\",[\"No condition\"],1)\n");
    const Askables& a = app.askables;
    EXPECT_EQ(a.lista_warunkow, (Names{"b", "a", "y", "c", "z", "B", "No condition"}));
    EXPECT_EQ(a.lista_wnioskow_regul, (Names{"x", "y", "nz", "w"}));
    // y is concluded; z stays because only its negation is concluded.
    EXPECT_EQ(a.lista_warunkow_dopytywalnych, (Names{"B", "a", "b", "c", "z"}));
    EXPECT_TRUE(a.jest_dopytywalny("a"));
    EXPECT_FALSE(a.jest_dopytywalny("y"));
    EXPECT_FALSE(a.jest_dopytywalny("No condition"));
}

TEST_F(AskablesTest, ModelBaseAskablesAndTheJointList) {
    load(kb::LoadOption::RuleBase, "RUk.AEB",
         "rule(1,\"ok\",[\"hot\",\"fast\"],1)\nrule(2,\"go\",[\"ok\"],1)\nfact(\"hot\")\n");
    load(kb::LoadOption::ModelBase, "MOk.AEB",
         "model_b(1,\"No condition\",\"fast\",\"speed\",\">\",\"3.5\",1)\n"
         "model_b(2,\"go\",\"speed\",\"dist\",\"/\",\"time\",1)\n"
         "model_lin(3,\"nstop\",\"cost\",[\"2\",\"rate\"],[\"time\",\"dist\"],0)\n"
         "m_fact(\"go\")\n");
    const Askables& a = app.askables;
    EXPECT_EQ(a.lista_wnioskow_modeli, Names{"fast"});
    EXPECT_EQ(a.lista_wynikow_modeli, (Names{"speed", "cost"}));
    EXPECT_EQ(a.lista_warunkow_stosowania, (Names{"No condition", "go", "nstop"}));
    // fast is concluded by a relational model: hidden from the list shown...
    EXPECT_EQ(a.lista_wszystkich_dopytywalnych_dla_wyswietlania, Names{"hot"});
    // ...but it stays an askable condition of the rule base.
    EXPECT_EQ(a.lista_warunkow_dopytywalnych, (Names{"fast", "hot"}));
    // 3.5 and 2 are literals; speed is a result; go is a rule conclusion; nstop is negated.
    EXPECT_EQ(a.lista_argumentow_dopytywalnych, (Names{"dist", "rate", "time"}));
    EXPECT_EQ(a.lista_warunkow_i_argumentow_dopytywalnych, (Names{"dist", "hot", "rate", "time"}));
    EXPECT_EQ(a.jest_lista_faktow(), (Names{"hot", "go"}));
}

TEST_F(AskablesTest, FactsCountedWithTheirConstraints) {
    load(kb::LoadOption::RuleBase, "RUk.AEB",
         "rule(1,\"x\",[\"a\",\"b\",\"c\",\"d\"],1)\nfact(\"a\")\n");
    EXPECT_EQ(app.askables.jest_lista_faktow(), Names{"a"});
    load(kb::LoadOption::ConstraintBase, "COk.AEB", "constraint(1,[\"b\",\"a\"])\nconstraint(2,[\"c\",\"d\"])\n");
    EXPECT_EQ(app.askables.jest_lista_faktow(), (Names{"b", "a"}));
}

TEST_F(AskablesTest, InspectionTexts) {
    load(kb::LoadOption::RuleBase, "RUk.AEB", "rule(1,\"x\",[\"b\",\"a\"],1)\n");
    pokaz_dopytywalne_regul(app);
    auto w = port.last("askables");
    EXPECT_EQ(w.title, "Inspection of askables");
    EXPECT_EQ(w.text, "Askable conditions for rule base  RUk.AEB");
    EXPECT_EQ(w.items, (std::vector<std::string>{"a", "b"}));
    EXPECT_NE(app.messages.text().find("Askable conditions for rule base   RUk.AEB\n"), std::string::npos);
    load(kb::LoadOption::ModelBase, "MOk.AEB", "model_b(1,\"No condition\",\"y\",\"q\",\"+\",\"1\",1)\n");
    pokaz_dopytywalne_regul(app);
    EXPECT_EQ(port.last("askables").text, "Askable conditions for rule base  while accounting for  model base");
    EXPECT_NE(app.messages.text().find("     Askable conditions for rule base   RUk.AEB\n"
                                       "      while accounting for  model base MOk.AEB\n"),
              std::string::npos);
    pokaz_dopytywalne_modeli(app);
    EXPECT_EQ(port.last("askables").text, "Askable conditions and arguments for model base MOk.AEB");
    EXPECT_EQ(port.last("askables").items, std::vector<std::string>{"q"});
    pokaz_dopytywalne_wspolne(app);
    EXPECT_EQ(port.last("askables").text, "Joint askable conditions and arguments for  rule- and model base k");
    EXPECT_EQ(port.last("askables").items, (std::vector<std::string>{"a", "b", "q"}));
}

}  // namespace
}  // namespace torv::engine
