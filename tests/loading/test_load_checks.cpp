// Load-time checks: what each finds, its message and note texts, and what
// it leaves of the bases.
#include <gtest/gtest.h>

#include "engine/askables.h"
#include "loading/load_checks.h"
#include "state/app_state.h"
#include "support/scripted_port.h"

namespace torv::kb {
namespace {

using Names = std::vector<std::string>;

Rule R(std::int32_t n, std::string c, Names w) { return Rule{n, std::move(c), kb::names(w), 1}; }
ModelB B(std::int32_t n, std::string result, std::string a1, std::string op, std::string a2,
         std::string cond = "No condition") {
    return ModelB{n, std::move(cond), std::move(result), std::move(a1), std::move(op), std::move(a2), 1};
}
ModelBase Models(std::vector<ModelB> b, std::vector<ArgumentKnown> known = {}, std::vector<ModelLin> lin = {}) {
    ModelBase m;
    m.model_b = std::move(b);
    m.argument_known = std::move(known);
    m.model_lin = std::move(lin);
    return m;
}

class LoadChecks : public ::testing::Test {
public:
    test::ScriptedPort port;
    AppState app{port};

    void rules(std::vector<Rule> rs, std::vector<std::string> facts = {}) {
        RuleBase b;
        b.rules = std::move(rs);
        for (auto& f : facts) b.facts.push_back({f});
        app.store.setRuleBase(std::move(b));
        app.store.nazwa_re = "RUt.AEB";
        app.store.nazwa_re_pelna = "/x/RUt.AEB";
        engine::pamietaj_dopytywalne_regul(app);
    }
    void models(ModelBase m) {
        app.store.setModelBase(std::move(m));
        app.store.nazwa_mo = "MOt.AEB";
        engine::pamietaj_dopytywalne_modeli(app);
    }
    void constraints(std::vector<Constraint> cs) {
        app.store.setConstraintBase({std::move(cs), {}});
        app.store.nazwa_og = "COt.AEB";
    }
    /// The bases that still hold a name, records or facts.
    std::string held() const {
        const auto& s = app.store;
        const auto& m = s.modelBase();
        std::string out;
        if (s.nazwa_re || s.nazwa_re_pelna || !s.rules().empty() || !s.facts().empty()) out += "rules ";
        if (s.nazwa_mo || !m.model_b.empty() || !m.model_e.empty() || !m.model_lin.empty() ||
            !m.model_poly.empty() || !m.argument_known.empty() || !m.m_fact.empty())
            out += "models ";
        if (s.nazwa_og || !s.constraints().empty()) out += "constraints ";
        return out;
    }
    Names noteTexts() const {
        Names out;
        for (const auto& d : port.ofKind("note")) out.push_back(d.text);
        return out;
    }
};

// ---- numbering ----

struct Numbering {
    const char* base;
    bool (*check)(AppState&);
    const char* message;
    const char* title;
    const char* note;
};

const Numbering kNumbering[] = {
    {"rules", testuj_numery_regul,
     "Rule Base RUt.AEB has at least two rules having number 2.\nThis may disturb the chaining process.\n"
     "Therefore no chaining is allowed with rules having non-unique numbers.\n"
     "Proceed to option 'Rule Base Activities/Rule Base Editing'\nand correct the rule numbering.\n",
     "Faulty Rule Base",
     "Augmented Exact Rule Base\n   RUt.AEB\nhas at least two rules having number  2.\nThis may disturb the chaining "
     "process.\nTherefore no chaining is allowed with rules \nhaving non-unique numbers.\nProceed to option\n   "
     "'Exact Rule Base\n   Rule Base Editing'\nand correct the rule numbering."},
    {"models", testuj_numery_modeli,
     "Model base MOt.AEB has at least two models having number  2.\nThis may disturb the chaining process.\n"
     "Therefore no chaining is allowed with modelshaving non-unique numbers.\n"
     "Proceed to option 'Model Base Activities/Model Base Editing'\nand correct the model numbering.\n",
     "Faulty Model Base",
     "Augmented Exact Model Base\n   MOt.AEB\nhas at least two models having number  2.\nThis may disturb the "
     "chaining process.\nTherefore no chaining is allowed with models \nhaving non-unique numbers.\nProceed to "
     "option\n   'Exact Model Base\n   Model Base Editing'\nand correct the model numbering."},
    {"constraints", testuj_numery_ograniczen,
     "Constraint base COt.AEB has at least two constraints having number  2.\nThis may disturb the chaining "
     "process.\nTherefore no chaining is allowed with constraintshaving non-unique numbers.\n"
     "Proceed to option 'Constraintl Base Activities/Constraintl Base Editing'\nand correct the constraint "
     "numbering.\n",
     "Faulty Constraint Base",
     "Exact Constraint Base\n   COt.AEB\nhas at least two constraints having number  2.\nThis may disturb the "
     "chaining process.\nTherefore no chaining is allowed with constraints \nhaving non-unique numbers.\nProceed "
     "to option\n   'Exact Constraint Base\n   Constraint Base Editing'\nand correct the constraint numbering."},
    {"advices", testuj_numery_rad,
     "Advice base ADt.AEB has at least two advices having number  2.\nThis may disturb the explaining process.\n"
     "Therefore no chaining is allowed with adviceshaving non-unique numbers.\n"
     "Proceed to option 'Advice Base Activities/Advice Base Editing'\nand correct the advice numbering.\n",
     "Faulty Advice Base",
     "Augmented Exact Advice Base\n   ADt.AEB\nhas at least two advices having number  2.\nThis may disturb the "
     "explaining process.\nTherefore no chaining is allowed with advices \nhaving non-unique numbers.\nProceed to "
     "option\n   'Exact Advice Base\n   Advice Base Editing'\nand correct the advice numbering."},
};

class NumberingCheck : public LoadChecks, public ::testing::WithParamInterface<Numbering> {
protected:
    /// The base under test numbered as given.
    void numbered(const std::vector<std::int32_t>& numbers) {
        const std::string base = GetParam().base;
        if (base == "rules") {
            std::vector<Rule> rs;
            for (auto n : numbers) rs.push_back(R(n, "a", {"b"}));
            rules(rs);
        } else if (base == "models") {
            // Numbers count across the four model kinds together.
            ModelBase m;
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                if (i % 2) m.model_b.push_back(B(numbers[i], "y", "x", "+", "1"));
                else m.model_lin.push_back(ModelLin{numbers[i], "No condition", "y", {"1"}, {"x"}, 1});
            }
            app.store.setModelBase(m);
            app.store.nazwa_mo = "MOt.AEB";
        } else if (base == "constraints") {
            std::vector<Constraint> cs;
            for (auto n : numbers) cs.push_back({n, {"a", "b"}});
            constraints(cs);
        } else {
            AdviceBase a;
            for (auto n : numbers) a.advice.push_back({n, "a.hlp"});
            a.nadvice.push_back({numbers.front(), "b.hlp"});  // not counted
            app.store.setAdviceBase(a);
            app.store.nazwa_ra = "ADt.AEB";
        }
    }
};

TEST_P(NumberingCheck, OnlyTheFirstRepeatedNumberIsReported) {
    numbered({1, 2, 2, 3, 3});
    EXPECT_FALSE(GetParam().check(app));
    EXPECT_EQ(app.messages.text(), GetParam().message);
    ASSERT_EQ(port.ofKind("note").size(), 1u);
    EXPECT_EQ(port.last("note").title, GetParam().title);
    EXPECT_EQ(port.last("note").text, GetParam().note);
    EXPECT_EQ(app.verdicts.rozne_numery, false);
}

TEST_P(NumberingCheck, UniqueNumbersPass) {
    numbered({3, 1, 2});
    EXPECT_TRUE(GetParam().check(app));
    EXPECT_TRUE(port.calls().empty());
    EXPECT_FALSE(app.verdicts.rozne_numery);
}

INSTANTIATE_TEST_SUITE_P(Bases, NumberingCheck, ::testing::ValuesIn(kNumbering),
                         [](const auto& info) { return std::string(info.param.base); });

TEST_F(LoadChecks, TheFirstNumberThatRepeatsLaterIsReported) {
    rules({R(1, "a", {"b"}), R(3, "a", {"b"}), R(2, "a", {"b"}), R(3, "a", {"b"}), R(2, "a", {"b"})});
    EXPECT_FALSE(testuj_numery_regul(app));
    EXPECT_NE(app.messages.text().find("having number 3."), std::string::npos);
}

// ---- declared facts ----

TEST_F(LoadChecks, AskableDeclaredFactsPass) {
    rules({R(1, "a", {"b", "nc"})}, {"nb", "c", "b"});
    EXPECT_TRUE(testowanie_dopytywalnosci_faktow(app));
    EXPECT_TRUE(port.calls().empty());
}

// ---- single conditions ----

const char* const kSingleMessages =
    "The Rule Base RUt.AEB\ncontains at least one rule with a single condition.\n"
    "For exact rule bases such a rule may often be a tautology\n"
    "that simply exchanges one name (for the single condition)\n"
    "by another name (for the conclusion), while contributing\n"
    "nothing of logical substance and making the rule base less\n"
    "transparent and readable.\n";
const char* const kSingleAdviceMessages =
    "If you wish to delete or correct a tautological rule,\nenter 'Rule Base', choose option\n"
    "'Rule Base Editing' and load the faulty rule base.\nIf not, proceed with loading the remaining bases.\n";
const char* const kSingleAdvice =
    "If you wish to delete or correct a tautological rule, enter 'Exact Rule Base', choose option,\n"
    "'Rule Base Editing' and load the faulty rule base.\n If not, proceed with loading the remaining bases.";

TEST_F(LoadChecks, SingleConditionRulesAreShownOnRequest) {
    rules({R(1, "a", {"b"}), R(2, "c", {}), R(3, "d", {"b", "e"}), R(4, "f", {"ng"}), R(5, "h", {"e"})});
    port.then("Choose:", "yes").then("Rule with single condition", "yes").then("Rule with single condition", "no");
    wykrywanie_warunkow_pojedynczych(app);
    EXPECT_EQ(app.messages.text(), std::string(kSingleMessages) +
                                       "The Rule Base RUt.AEB contains:\n"
                                       "Rule 1 with conclusion 'a' and with single condition 'b'.\n"
                                       "Rule 4 with conclusion 'f' and with single condition 'ng'.\n" +
                                       kSingleAdviceMessages);
    const auto boxes = port.ofKind("yes/no");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].text,
              "The Augmented Exact Rule Base \n   RUt.AEB\ncontains at least one rule with a single condition."
              "\n\nFor exact rule bases such a rule may often be a  \ntautology, that simply exchanges one name (for "
              "the \nsingle condition) by another name (for the conclusion),\nwhile contributing nothing of logical "
              "substance and \nmaking the rule base less transparent and readable.\n\nDo you wish to see rules "
              "with single conditions?");
    EXPECT_EQ(boxes[1].text,
              "The Augmented  Exact Rule Base \n   RUt.AEB\ncontains rule 1 with conclusion \n   a\nand with single "
              "condition \n   b.\n\nDo you wish to see the next rule with single condition?");
    EXPECT_EQ(port.last("note").title, "Advice");
    EXPECT_EQ(port.last("note").text, kSingleAdvice);
    EXPECT_EQ(app.store.rules().size(), 5u);
}

TEST_F(LoadChecks, SingleConditionListingDeclinedStillAdvises) {
    rules({R(1, "a", {"b"})});
    port.then("Choose:", "no");
    wykrywanie_warunkow_pojedynczych(app);
    EXPECT_EQ(app.messages.text(), std::string(kSingleMessages) + kSingleAdviceMessages);
    EXPECT_EQ(noteTexts(), (Names{kSingleAdvice}));

    port.clearCalls();
    rules({R(1, "a", {}), R(2, "c", {"d", "e"})});
    wykrywanie_warunkow_pojedynczych(app);
    EXPECT_TRUE(port.calls().empty());
}

// ---- faults that unload bases ----

struct Fault {
    const char* name;
    std::vector<Rule> rules;
    Names facts;
    ModelBase models;   // stored only when it holds models
    std::vector<Constraint> constraints;   // stored only when there are any
    bool (*check)(AppState&);
    std::string message, title, note;
    const char* held;   // the bases left, as LoadChecks::held() lists them
    Outcomes outcomes = {};
};

const std::string kConstraintGuidance =
    "Enter 'Constraint Base'\nchoose the option 'Constraint Base Editing',\n"
    "load the faulty base and either remove the faulty constraint\n"
    "or add other askable conditions, mutually exclusive with the \ncondition in question.";
const std::string kMemberRemedies =
    "You may:\n1. Enter 'Constraint Base', \n   choose the option 'Constraint Base Editing',\n"
    "   load the faulty constraint base and remove the non-askable condition,\n        or: \n"
    "2. Enter 'Rule Base Activities'\n   choose the option 'Rule Base Editing'\n"
    "   load the rule base and introduce there the non-askable condition as \n   askable condition.";

/// A constraint member that is no askable condition of the rule base.
Fault nonAskableMember(const char* name, const std::string& member) {
    return {name, {R(1, "ok", {"a", "b"})}, {}, {}, {{1, {"a", "b"}}, {2, {"b", member}}},
            kontrola_dopytywalnosci_ograniczen,
            "An Exact Constraint Base may contain only lists of askable \nmutually exclusive conditions.\nCondition '" +
                member + "' in constraint 2\nof the Constraint Base COt.AEB\nis not an askable condition.\n" +
                kMemberRemedies + "\n",
            "Attention error!",
            "An Exact Constraint Base may contain only \nlists of askable mutually exclusive conditions.\n\n"
            "Condition  \n       " +
                member + "\nin constraint 2 of the Augmented Exact Constraint Base COt.AEB\n\n" + kMemberRemedies,
            "rules "};
}

const Fault kFaults[] = {
    {"FactsNotAskable", {R(1, "a", {"b", "nc"}), R(2, "d", {"a"})}, {"b", "na", "x"}, {}, {},
     testowanie_dopytywalnosci_faktow,
     "Faulty facts in rule base. Following declared facts are not askable conditions: [\"a\",\"x\"]\n"
     " Proceed to the 'Main Menu' options:\n"
     " 'Rule Base Activities', enter the option 'Rule Base Editing'\n"
     " load the faulty base and remove facts that are not askable conditions.\n",
     "Faulty facts in rule base",
     "Faulty facts in rule base.\nFollowing declared facts are not askable conditions\n   [\"a\",\"x\"]"
     "\nProceed to the  option  'Exact Rule Base', enter  'Rule Base Editing',"
     "\nload the faulty base and remove facts that are not askable conditions. ",
     ""},
    {"RulesAndRelationalModelsShareConclusions", {R(1, "hot", {"t_high"}), R(2, "cold", {"nhot"})}, {},
     Models({B(1, "t_high", "t", ">", "30"), B(2, "hot", "t", ">", "40")}), {},
     wnioski_modeli_a_wnioski_regul,
     "Faulty rule base     RUt.AEB\nFaulty model base MOt.AEB\n"
     "Rules and relational models have identically named conclusions:\n[\"hot\"]\n"
     " Proceed to the options:\n 'Exact Rule Base' or 'Exact Model Base'\n"
     " enter the options 'Rule Base Editing' or 'Model Base Editing'\n load the faulty bases and remove the "
     "faults\n",
     "Error: same conclusions in rule- and model base",
     "Faulty rule base\n   RUt.AEB\nand model base\n   MOt.AEB\nRules and relational models have identically "
     "named conclusions.\nThey are in the list:\n   [\"hot\"]\nChaining has been suppresssed. \n Proceed to "
     "the options: 'Exact Rule Base' or 'Exact Model Base',\nenter the options 'Rule Base Editing' or "
     "'Model Base Editing' \nload the faulty bases and remove the faults.",
     "", {Outcome::RuleAndModelBasesUnloaded}},
    {"ConditionsNamedLikeArguments", {R(1, "ok", {"pressure", "nleak"})}, {},
     Models({B(1, "pressure", "force", "/", "area"), B(2, "leak", "loss", ">", "3")}), {},
     wnioski_modeli_a_wnioski_regul,
     "Faulty rule base     RUt.AEB\nand/or model base MOt.AEB\n"
     "Rules and relational models have conditions/conclusions\nnamed like arguments/results.\n"
     "They are the following:\n[\"pressure\"]\n"
     " Proceed to the options:\n 'Exact Rule Base' or 'Exact Model Base'\n"
     " enter the options 'Rule Base Editing' or 'Model Base Editing'\n load the faulty bases and remove the "
     "faults\n",
     "Error: same name for different string variables",
     "Faulty rule base\n   RUt.AEB\nand/or model base\n   MOt.AEB\nRules and/or models have "
     "conditions/conclusions\nnamed like arguments/results. They are in the list:\n   [\"pressure\"]\n"
     "Chaining has been suppresssed. \nProceed to the options 'Exact Rule Base' or 'Exact Model Base',\n"
     "enter the options 'Rule Base Editing' or 'Model Base Editing' \nload the faulty bases and remove the "
     "faults.",
     "", {Outcome::RuleAndModelBasesUnloaded}},
    {"KnownArgumentsNotAskable", {R(1, "ok", {"hot"})}, {},
     Models({B(1, "hot", "t", ">", "30"), B(2, "t", "t0", "+", "dt")}, {{"t0", 20}, {"t", 3}, {"u", 1}},
            {ModelLin{3, "No condition", "u", {"2"}, {"t"}, 1}}),
     {},
     testowanie_dopytywalnosci_argumentow,
     "Non-askable arguments declared as 'known_arguments()'.\n"
     "The following arguments are non- askable: [\"t\",\"u\"]\n"
     "Proceed to the option 'Model Base/'Model Base Editing',\nload the faulty base and remove the faults.\n",
     "Non-askable arguments declared as 'known_arguments()",
     "The following non-askable arguments declared as 'known_arguments()'\n[\"t\",\"u\"]\n"
     "Proceed to the option 'Model Base/'Model Base Editing',\nload the faulty bases and remove the faults",
     "rules "},
    {"ConstraintWithOneCondition", {R(1, "ok", {"a", "b"})}, {}, {}, {{1, {"a", "b"}}, {4, {"a"}}, {5, {}}},
     wykrywanie_ograniczen_pojedynczych,
     "The Constraint Base COt.AEB\ncontains the constraint 4 with a list:\n    [\"a\"]\nwith less than 2 askable "
     "conditions.\nThis contradicts the essence of constraint bases.\n" +
         kConstraintGuidance + "\n",
     "Attention error!",
     "Elementary Exact Constraint Base COt.AEB\ncontains the constraint 4.\nwith less than 2 askable conditions:"
     "\n\n[\"a\"]\n\n" +
         kConstraintGuidance,
     "rules "},
    // A conclusion, and the negation of an askable condition, are refused alike.
    nonAskableMember("ConstraintMemberIsAConclusion", "ok"),
    nonAskableMember("ConstraintMemberIsANegation", "na"),
};

void PrintTo(const Fault& f, std::ostream* os) { *os << f.name; }

class FaultCheck : public LoadChecks, public ::testing::WithParamInterface<Fault> {};

TEST_P(FaultCheck, IsReportedAndUnloadsTheFaultyBases) {
    const Fault& f = GetParam();
    rules(f.rules, f.facts);
    if (!f.models.model_b.empty()) models(f.models);
    if (!f.constraints.empty()) constraints(f.constraints);
    EXPECT_FALSE(f.check(app));
    EXPECT_EQ(app.messages.text(), f.message);
    EXPECT_EQ(port.last("note").title, f.title);
    EXPECT_EQ(port.last("note").text, f.note);
    EXPECT_EQ(held(), f.held);
    EXPECT_EQ(app.outcomes, f.outcomes);
    // Unloading through an outcome forgets the askables as well.
    if (!f.outcomes.empty()) {
        EXPECT_TRUE(app.askables.lista_warunkow_dopytywalnych.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Checks, FaultCheck, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- rules against models ----

TEST_F(LoadChecks, DistinctNamesPassTheModelChecks) {
    rules({R(1, "ok", {"hot", "nleak"})});
    models(Models({B(1, "hot", "t", ">", "30"), B(2, "t", "t0", "+", "dt", "nleak")}, {{"t0", 20}}));
    EXPECT_TRUE(wnioski_modeli_a_wnioski_regul(app));
    EXPECT_TRUE(testowanie_dopytywalnosci_argumentow(app));
    EXPECT_TRUE(port.calls().empty());
    EXPECT_EQ(app.store.rules().size(), 1u);
}

// ---- tautological models ----

TEST_F(LoadChecks, TautologicalModels) {
    rules({R(1, "ok", {"a"})});
    models(Models({B(1, "y", "x", "+", "0"), B(2, "y2", "3", "+", "0"), B(3, "y3", "x", "*", "0"),
                   B(4, "y4", "x", "*", "1"), B(5, "y5", "x", "/", "1.0"), B(6, "y6", "x", "-", "0.0"),
                   B(7, "y7", "x", "=", "0"), B(8, "y8", "x", "+", "1"), B(9, "y9", "x", "-", "zero")}));
    port.then("Choose:", "yes");
    for (int i = 0; i < 5; ++i) port.then("Tautological Model", "yes");
    wykrywanie_modeli_tautologicznych(app);
    std::string listing;
    for (auto [n, a, r] : {std::tuple{1, "x", "y"}, {4, "x", "y4"}, {5, "x", "y5"}, {6, "x", "y6"}, {7, "x", "y7"}})
        listing += "Model " + std::to_string(n) + " is a tautology:  it replaces the variable: '" + a +
                   "'\nwith another variable: '" + r + "'\n";
    EXPECT_EQ(app.messages.text(),
              "The model base MOt.AEB\nhas at least one arithmetical model which equates one variable name\n"
              "to another variable name. Such model is a tautology.\n" +
                  listing +
                  "In some situations tautological models make the model base more readable;\n"
                  "in other situations they obscure the model base. \nThen it is advised to remove them.\n"
                  "If you wish to delete or correct a tautological model,\nenter 'Modele Base', choose option\n"
                  "'Model Base Editing' and load the tautological model base.\n"
                  "If not, proceed with loading the remaining bases.\n");
    const auto boxes = port.ofKind("yes/no");
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].text,
              "The Augmented Exact Model Base\n   MOt.AEB\nhas at least one arithmetical model which\nequates one "
              "variable name to another \nvariable name. Such model is a tautology.\n\nDo you wish to see "
              "tautological models?");
    EXPECT_EQ(boxes[1].text,
              "Model 1 is a tautology.  \nIt replaces the variable\n   x\nwith another variable\n   y\n\nDo you wish "
              "to see the next tautological model?");
    EXPECT_EQ(port.last("note").title, "Advice");
    EXPECT_EQ(port.last("note").text,
              "In some situations tautological models make the model base more readable;\nin other situations they "
              "obscure the model base.  Then it is advised to remove them.\nIf you wish to delete or correct a "
              "tautological model, enter 'Exact Modele Base', choose option\n'Model Base Editing' and remove  "
              "tautological models. ");
    EXPECT_EQ(app.store.modelBase().model_b.size(), 9u);
}

// ---- constraints ----

TEST_F(LoadChecks, ConstraintMembersMayBeModelAskables) {
    rules({R(1, "ok", {"a", "b"})});
    models(Models({B(1, "y", "x", "+", "1", "c")}));
    constraints({{1, {"a", "c"}}});
    EXPECT_TRUE(wykrywanie_ograniczen_pojedynczych(app));
    EXPECT_TRUE(kontrola_dopytywalnosci_ograniczen(app));
    EXPECT_TRUE(port.calls().empty());
}

}  // namespace
}  // namespace torv::kb
