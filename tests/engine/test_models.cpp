// Model evaluation: values of arguments, go-ahead conditions, the models'
// faults and notes, erroneous data, explanations and the structure checks
// of a model base.
#include <gtest/gtest.h>

#include "support/chaining_fixture.h"
#include "engine/forward_models.h"
#include "loading/model_checks.h"
#include "engine/model_explanations.h"
#include "engine/backward.h"
#include "engine/models.h"
#include "loading/loading.h"

namespace torv::engine {
namespace {

using Strings = std::vector<std::string>;

class Models : public test::ChainingTest {
protected:
    /// A rule base of one rule (so that the model base has something to sit
    /// on) and the model base; the run prepared at the given detail.
    void kb(const std::string& modelBase, bool high = false) {
        rules("rule(1,\"z\",[\"q\"],0)\n");
        models(modelBase);
        prepare(high);
        port.clearCalls();
    }
    std::vector<std::string> values() const {
        Strings out;
        for (const auto& z : app.chaining.zmienna_ustalona)
            out.push_back(z.argument + "=" + reports::formatReal(z.wartosc));
        return out;
    }
    Strings asked() const {
        Strings out;
        for (const auto& d : port.calls())
            if (d.title == "Argument value") out.push_back(d.text);
        return out;
    }
    Strings notes() const {
        Strings out;
        for (const auto& d : port.ofKind("note")) out.push_back(d.title + "|" + d.text);
        return out;
    }
    void TearDown() override { EXPECT_EQ(port.pending(), 0u); }
};

// ---- oblicz ----

TEST_F(Models, ALiteralIsNeverAskedAndIsRecorded) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"2.5\",0)\n");
    EXPECT_EQ(oblicz(app, "2.5"), 2.5);
    EXPECT_EQ(oblicz(app, "-1e2"), -100.0);
    EXPECT_TRUE(port.calls().empty());
    EXPECT_EQ(values(), (Strings{"2.5=2.5", "-1e2=-100"}));
}

TEST_F(Models, TypedValues) {
    struct Case {
        const char* typed;   // nullptr: the dialog is closed
        std::optional<double> value;
    };
    const Case cases[] = {
        {"3.5", 3.5}, {" -2 ", -2.0}, {"3,5", 3.5}, {"1e3", 1000.0},
        // Refused: nothing is recorded and the value is asked again later.
        {"abc", std::nullopt}, {"1e999", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt},
        {"", std::nullopt}, {"1,5,2", std::nullopt}, {nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n");
        if (c.typed)
            port.then("Argument value", c.typed);
        else
            port.thenClose();
        const std::string what = c.typed ? c.typed : "(closed)";
        EXPECT_EQ(oblicz(app, "x"), c.value) << what;
        EXPECT_EQ(asked(), Strings{"Determine value of argument:\nx ="}) << what;
        if (c.value) {
            EXPECT_EQ(report(), "Declare value of argument:x\nx=" + reports::formatReal(*c.value) + "\n\n") << what;
            EXPECT_EQ(values(), Strings{"x=" + reports::formatReal(*c.value)}) << what;
        } else {
            EXPECT_EQ(report(), "Declare value of argument:x\n") << what;
            EXPECT_TRUE(values().empty()) << what;
        }
    }
}

TEST_F(Models, EndInTheArgumentDialogEndsTheProgram) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n");
    port.then("Argument value", "end").then("yes");
    EXPECT_THROW(oblicz(app, "x"), port::EndProgram);
    EXPECT_EQ(port.last("yes/no").text, "Do you really wich to close the program?");
}

TEST_F(Models, ADeterminedValueIsTakenFirstRecordFirst) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n");
    app.chaining.zmienna_ustalona = {{"y", 4}, {"y", 5}, {"x", 1}};
    EXPECT_EQ(oblicz(app, "y"), 4.0);
    EXPECT_EQ(oblicz(app, "x"), 1.0);
    EXPECT_TRUE(port.calls().empty());
    EXPECT_TRUE(app.chaining.model_stosowany.empty());
}

TEST_F(Models, AModelNeedingAnotherModelsResultAppliesThatModelFirst) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"*\",\"w\",0)\n"
       "model_e(2,\"No condition\",\"x\",\"+\",[\"a\",\"v\",\"1\"],0)\n"
       "model_lin(3,\"No condition\",\"v\",[\"2\",\"b\"],[\"a\",\"c\"],0)\n"
       "model_poly(4,\"No condition\",\"w\",\"a\",[\"1\",\"2\",\"3\"],[0,1,2],0)\n");
    port.then("Argument value", "2").then("Argument value", "3").then("Argument value", "4");
    // y = x * w; x = a + v + 1; v = 2a + b*c; w = 1 + 2a + 3a^2
    EXPECT_EQ(oblicz(app, "y"), (2 + 16 + 1) * 17.0);
    EXPECT_EQ(asked(), (Strings{"Determine value of argument:\na =", "Determine value of argument:\nb =",
                                "Determine value of argument:\nc ="}));
    EXPECT_EQ(app.chaining.model_stosowany, (std::vector<std::int32_t>{3, 2, 4, 1}));
    EXPECT_EQ(values(), (Strings{"a=2", "2=2", "b=3", "c=4", "v=16", "1=1", "x=19", "3=3", "w=17", "y=323"}));
    // Applied once: asked again, the result is the recorded one.
    port.clearCalls();
    EXPECT_EQ(oblicz(app, "y"), 323.0);
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(Models, TheFirstModelWhoseGoAheadConditionHoldsIsUsed) {
    kb("model_b(1,\"g1\",\"y\",\"1\",\"+\",\"1\",0)\n"
       "model_b(2,\"g2\",\"y\",\"2\",\"+\",\"2\",0)\n"
       "model_b(3,\"g3\",\"y\",\"3\",\"+\",\"3\",0)\n");
    port.then("Is the go-ahead condition true?", "no").then("Is the go-ahead condition true?", "yes");
    EXPECT_EQ(oblicz(app, "y"), 4.0);
    EXPECT_EQ(app.chaining.model_stosowany, std::vector<std::int32_t>{2});
    EXPECT_EQ(rbd(), (Strings{"0:ng1", "0:g2"}));
}

TEST_F(Models, AResultWithoutAUsableModelIsNeitherAskedNorComputed) {
    kb("model_b(1,\"g\",\"y\",\"1\",\"+\",\"1\",0)\n"
       "model_b(2,\"No condition\",\"ok\",\"y\",\">\",\"0\",0)\n");
    app.chaining.rbd.add(0, "ng");
    EXPECT_EQ(oblicz(app, "y"), std::nullopt);
    // The conclusion of a relational model is no argument to ask either.
    EXPECT_EQ(oblicz(app, "ok"), std::nullopt);
    EXPECT_TRUE(port.calls().empty());
    EXPECT_TRUE(values().empty());
}

TEST_F(Models, AModelWhoseArgumentHasNoValueWaitsAndIsTriedAgainLater) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n"
       "model_b(2,\"No condition\",\"y\",\"5\",\"+\",\"1\",0)\n");
    port.then("Argument value", "x is three");
    // The first model waits for x; the second computes y.
    EXPECT_EQ(oblicz(app, "y"), 6.0);
    EXPECT_EQ(app.chaining.model_stosowany, std::vector<std::int32_t>{2});
}

TEST_F(Models, ModelsNeedingEachOtherAreNotAppliedAndDoNotLoop) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n"
       "model_b(2,\"No condition\",\"x\",\"y\",\"+\",\"1\",0)\n");
    EXPECT_EQ(oblicz(app, "y"), std::nullopt);
    EXPECT_TRUE(app.chaining.model_stosowany.empty());
}

TEST_F(Models, ALongChainOfModelsNeedsNoDeepStack) {
    // y0 = y1 + 1, y1 = y2 + 1, ..., the last from a typed value.
    const int n = 10000;
    std::string base;
    for (int i = 0; i < n; ++i)
        base += "model_b(" + std::to_string(i + 1) + ",\"No condition\",\"y" + std::to_string(i) + "\",\"y" +
                std::to_string(i + 1) + "\",\"+\",\"1\",0)\n";
    kb(base);
    port.then("Argument value", "0.5");
    EXPECT_EQ(oblicz(app, "y0"), n + 0.5);
    EXPECT_EQ(asked(), Strings{"Determine value of argument:\ny" + std::to_string(n) + " ="});
    EXPECT_EQ(app.chaining.model_stosowany.size(), std::size_t(n));
    EXPECT_EQ(app.chaining.model_stosowany.front(), n);   // the deepest first
}

TEST_F(Models, ListsComeOutReversed) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"+\",\"1\",0)\n");
    port.then("Argument value", "7");
    EXPECT_EQ(wyznacz_liste(app, {"1", "x", "3"}), (std::vector<double>{3, 7, 1}));
    EXPECT_EQ(odwracanie_r({1, 2, 3}), (std::vector<double>{3, 2, 1}));
    port.then("Argument value", "no");
    EXPECT_EQ(wyznacz_liste(app, {"1", "u", "3"}), std::nullopt);
    EXPECT_EQ(values(), (Strings{"1=1", "x=7", "3=3"}));   // "3" was never reached the second time
}

// ---- operations through models ----

TEST_F(Models, OperationsTheirFaultsAndTheCasesWithoutAValue) {
    struct Case {
        const char *op, *a, *b;
        std::optional<double> value;
        Strings notes;
        const char* message = "";
    };
    const std::string noValue = "Attention!|Model 1 not applied: the operation '";
    const Case cases[] = {
        {"sqrt", "-9", "0", 3.0, {"Attention!|Square root from negative real!"}},
        {"/", "7", "0", 1.0, {"Attention!|Attempt to divide by 0!!"}, "Attempt to divide by 0!\n"},
        {"%", "5", "20", 25.0, {}},
        {"round_to_N", "3.14159", "2", 3.14, {}},
        {"min", "2", "2.0", 2.0, {}},
        {"sin", "1", "1", std::nullopt, {}},        // one-argument operation with a second argument
        {"mod", "7", "0.4", std::nullopt, {noValue + "mod' has no value here (the divisor converts to 0)."}},
        {"div", "7", "0", std::nullopt, {noValue + "div' has no value here (the divisor converts to 0)."}},
        {"div", "1e10", "2", std::nullopt,
         {noValue + "div' has no value here (a value does not fit a whole number)."}},
        {"%", "5", "0", std::nullopt, {noValue + "%' has no value here (a percentage of 0)."}},
        {"log", "0", "0", std::nullopt,
         {noValue + "log' has no value here (the logarithm of a number that is not positive)."}},
        {"ln", "-1", "0", std::nullopt,
         {noValue + "ln' has no value here (the logarithm of a number that is not positive)."}},
        {"A^N", "2", "-1", std::nullopt, {noValue + "A^N' has no value here (N is negative)."}},
        {"round_to_N", "2", "-3", std::nullopt, {noValue + "round_to_N' has no value here (N is negative)."}},
        {"exp", "1000", "0", std::nullopt, {noValue + "exp' has no value here (the result is out of range)."}},
    };
    for (const Case& c : cases) {
        kb(std::string("model_b(1,\"No condition\",\"y\",\"") + c.a + "\",\"" + c.op + "\",\"" + c.b + "\",0)\n");
        app.messages.clear();
        const std::string what = std::string(c.a) + " " + c.op + " " + c.b;
        const auto v = oblicz(app, "y");
        ASSERT_EQ(v.has_value(), c.value.has_value()) << what;
        if (v) {
            EXPECT_NEAR(*v, *c.value, 1e-12) << what;
        }
        EXPECT_EQ(notes(), c.notes) << what;
        EXPECT_EQ(app.messages.text(), c.message) << what;
        EXPECT_EQ(app.chaining.model_stosowany.size(), v ? 1u : 0u) << what;
        // Tried again in the same run, a model without a value says so no more.
        port.clearCalls();
        if (!v) {
            EXPECT_EQ(oblicz(app, "y"), std::nullopt) << what;
            EXPECT_TRUE(notes().empty()) << what;
        }
    }
}

TEST_F(Models, ListModelsAndTheirPairing) {
    struct Case {
        const char* model;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"model_poly(1,\"No condition\",\"y\",\"2\",[\"1\",\"2\",\"3\"],[0,1,2],0)", 17.0},
        {"model_poly(1,\"No condition\",\"y\",\"2\",[\"3\",\"0\",\"1\"],[2,5,0],0)", 13.0},
        {"model_poly(1,\"No condition\",\"y\",\"2\",[\"1\",\"2\"],[0,1,2],0)", std::nullopt},
        {"model_poly(1,\"No condition\",\"y\",\"2\",[\"1\",\"2\"],[0,-1],0)", std::nullopt},
        {"model_lin(1,\"No condition\",\"y\",[\"2\",\"3\"],[\"5\",\"7\"],0)", 31.0},
        {"model_lin(1,\"No condition\",\"y\",[\"2\",\"3\"],[\"5\",\"7\",\"9\"],0)", std::nullopt},
        {"model_e(1,\"No condition\",\"y\",\"*\",[\"2\",\"3\",\"4\"],0)", 24.0},
        {"model_e(1,\"No condition\",\"y\",\"min_list\",[\"2\",\"-3\",\"4\"],0)", -3.0},
        {"model_e(1,\"No condition\",\"y\",\"max_list\",[],0)", std::nullopt},
        {"model_e(1,\"No condition\",\"y\",\"+\",[],0)", 0.0},
    };
    for (const Case& c : cases) {
        kb(std::string(c.model) + "\n");
        EXPECT_EQ(oblicz(app, "y"), c.value) << c.model;
        EXPECT_TRUE(notes().empty()) << c.model;
    }
}

// ---- go-ahead conditions ----

TEST_F(Models, GoAheadConditions) {
    struct Case {
        const char* what;
        const char* g;
        Strings decided;     // rbd(0, ...) unless "n:" gives another number
        Strings backward;    // rbd_wstecz
        bool hypothesis;
        const char* answer;  // to the go-ahead question, nullptr: none asked
        bool holds;
    };
    const Case cases[] = {
        {"No condition", "No condition", {}, {}, false, nullptr, true},
        {"decided by a rule", "d", {"5:d"}, {}, false, nullptr, true},
        {"declared, hypothesis active", "d", {"0:d"}, {}, true, nullptr, true},
        {"established backwards", "d", {}, {"d"}, true, nullptr, true},
        {"complement decided", "g", {"5:ng"}, {}, false, nullptr, false},
        {"complement established backwards", "g", {}, {"ng"}, true, nullptr, false},
        {"askable, yes", "g", {}, {}, false, "yes", true},
        {"askable, no", "g", {}, {}, false, "no", false},
        {"complement askable, yes", "nh", {}, {}, false, "yes", true},
        {"not askable, nothing to decide it", "d", {}, {}, false, nullptr, false},
    };
    for (const Case& c : cases) {
        rules("rule(1,\"d\",[\"q\"],0)\n");
        models("model_b(1,\"g\",\"y\",\"1\",\"+\",\"1\",0)\nmodel_b(2,\"h\",\"y\",\"1\",\"+\",\"1\",0)\n");
        prepare();
        port.clearCalls();
        for (const auto& d : c.decided) app.chaining.rbd.add(std::stoi(d.substr(0, 1)), d.substr(2));
        app.chaining.rbd_wstecz = c.backward;
        if (c.hypothesis) app.chaining.hipoteza = "z";
        if (c.answer) port.then(c.answer);
        EXPECT_EQ(sprawdz(app, c.g), c.holds) << c.what;
        EXPECT_EQ(port.ofKind("yes/no").size(), c.answer ? 1u : 0u) << c.what;
        if (c.answer) {
            EXPECT_EQ(port.last("yes/no").title, kb::jest_negacja(c.g) ? "Is the go-ahead condition true??"
                                                                         : "Is the go-ahead condition true?")
                << c.what;
        }
        EXPECT_EQ(port.pending(), 0u) << c.what;
    }
}

TEST_F(Models, WithAHypothesisANonAskableGoAheadConditionIsVerifiedBackwards) {
    rules("rule(1,\"d\",[\"q\"],0)\n");
    models("model_b(1,\"d\",\"y\",\"1\",\"+\",\"1\",0)\n");
    prepare();
    app.chaining.hipoteza = "z";
    // Decided forwards only: that counts for nothing while a hypothesis is tested.
    app.chaining.rbd.add(5, "d");
    port.then("Is the condition true?", "yes");
    EXPECT_TRUE(sprawdz(app, "d", [this](const std::string& g) { return weryfikowanie_hipotezy_cd(app, g); }));
}

// ---- relational models ----

TEST_F(Models, ARelationalModelIsEvaluatedWithoutRecording) {
    kb("model_b(1,\"No condition\",\"ok\",\"x\",\">=\",\"2\",0)\n"
       "model_e(2,\"No condition\",\"in\",\"<,<=\",[\"0\",\"x\",\"3\"],0)\n"
       "model_e(3,\"No condition\",\"in\",\"<,<=\",[\"0\",\"x\"],0)\n");
    port.then("Argument value", "3");
    EXPECT_EQ(ocen_model_relacyjny(app, {kb::Store::ModelRef::Kind::Basic, 0}), true);
    EXPECT_EQ(ocen_model_relacyjny(app, {kb::Store::ModelRef::Kind::Extended, 0}), true);
    EXPECT_EQ(ocen_model_relacyjny(app, {kb::Store::ModelRef::Kind::Extended, 1}), std::nullopt);
    EXPECT_TRUE(app.chaining.model_stosowany.empty());
    EXPECT_TRUE(inne_warunki_stosowania_modelu(app, 2, "in"));
    EXPECT_FALSE(inne_warunki_stosowania_modelu(app, 1, "ok"));
}

// ---- the model alternatives of forward chaining ----

TEST_F(Models, ForwardModelAlternatives) {
    using Alternative = bool (*)(AppState&);
    struct Case {
        const char* what;
        const char* base;
        Alternative alternative;
        Strings before;          // determined values "name=value" and decided "n:condition"
        Strings answers;         // to the go-ahead questions, in order
        bool fires;
        Strings decided;         // rbd afterwards
        std::vector<std::int32_t> applied;
    };
    const Case cases[] = {
        {"no condition: applied without a question", "model_b(1,\"No condition\",\"y\",\"2\",\"*\",\"3\",0)",
         &alternatywa_modele_b_arytmetyczne, {}, {}, true, {}, {1}},
        {"go-ahead asked though the result has a value", "model_b(1,\"g\",\"y\",\"2\",\"*\",\"3\",0)",
         &alternatywa_modele_b_arytmetyczne, {"y=5"}, {"yes"}, false, {"0:g"}, {}},
        {"a relational basic model is no arithmetic one", "model_b(1,\"No condition\",\"ok\",\"2\",\"<>\",\"3\",0)",
         &alternatywa_modele_b_arytmetyczne, {}, {}, false, {}, {}},
        {"<> on equal values decides the complement", "model_b(1,\"No condition\",\"ok\",\"2\",\"<>\",\"2\",0)",
         &alternatywa_modele_b_relacyjne, {}, {}, true, {"1:nok"}, {1}},
        {"a relation that holds decides the conclusion", "model_b(1,\"No condition\",\"ok\",\"2\",\"><\",\"3\",0)",
         &alternatywa_modele_b_relacyjne, {}, {}, true, {"1:ok"}, {1}},
        {"a negated conclusion whose relation fails", "model_b(1,\"No condition\",\"nok\",\"2\",\"==\",\"3\",0)",
         &alternatywa_modele_b_relacyjne, {}, {}, true, {"1:ok"}, {1}},
        {"already decided by this model", "model_b(1,\"No condition\",\"ok\",\"2\",\"<\",\"3\",0)",
         &alternatywa_modele_b_relacyjne, {"1:ok"}, {}, false, {"1:ok"}, {}},
        {"failing relation, conclusion decided elsewhere", "model_b(1,\"No condition\",\"ok\",\"3\",\"<\",\"2\",0)",
         &alternatywa_modele_b_relacyjne, {"0:ok"}, {}, false, {"0:ok"}, {}},
        {"go-ahead refused", "model_b(1,\"g\",\"ok\",\"2\",\"<\",\"3\",0)", &alternatywa_modele_b_relacyjne, {},
         {"no"}, false, {"0:ng"}, {}},
        {"extended relational of three", "model_e(1,\"No condition\",\"in\",\"<=,<\",[\"1\",\"1\",\"2\"],0)",
         &alternatywa_modele_e_relacyjne, {}, {}, true, {"1:in"}, {1}},
        {"extended relational, tested value at the top bound",
         "model_e(1,\"No condition\",\"in\",\"<=,<\",[\"1\",\"2\",\"2\"],0)", &alternatywa_modele_e_relacyjne, {}, {},
         true, {"1:nin"}, {1}},
        {"extended relational of two", "model_e(1,\"No condition\",\"in\",\"<,<\",[\"1\",\"2\"],0)",
         &alternatywa_modele_e_relacyjne, {}, {}, false, {}, {}},
        {"extended relational of four", "model_e(1,\"No condition\",\"in\",\"<,<\",[\"1\",\"2\",\"3\",\"4\"],0)",
         &alternatywa_modele_e_relacyjne, {}, {}, false, {}, {}},
        {"extended arithmetic", "model_e(1,\"No condition\",\"s\",\"max_list\",[\"1\",\"4\"],0)",
         &alternatywa_modele_e_arytmetyczne, {}, {}, true, {}, {1}},
        {"linear with mismatched lists", "model_lin(1,\"No condition\",\"s\",[\"1\",\"4\"],[\"2\"],0)",
         &alternatywa_modele_liniowe, {}, {}, false, {}, {}},
        {"polynomial", "model_poly(1,\"No condition\",\"s\",\"2\",[\"1\"],[3],0)", &alternatywa_modele_wielomianowe, {},
         {}, true, {}, {1}},
    };
    for (const Case& c : cases) {
        kb(std::string(c.base) + "\n");
        for (const auto& b : c.before) {
            if (auto eq = b.find('='); eq != std::string::npos)
                app.chaining.zmienna_ustalona.push_back({b.substr(0, eq), std::stod(b.substr(eq + 1))});
            else
                app.chaining.rbd.add(std::stoi(b.substr(0, 1)), b.substr(2));
        }
        for (const auto& a : c.answers) port.then(a);
        EXPECT_EQ(c.alternative(app), c.fires) << c.what;
        EXPECT_EQ(rbd(), c.decided) << c.what;
        EXPECT_EQ(app.chaining.model_stosowany, c.applied) << c.what;
        EXPECT_EQ(port.pending(), 0u) << c.what;
    }
}

// ---- erroneous data ----

TEST_F(Models, ATypedValueThatAnErrorModelRejectsIsRemovedAndAskedAgain) {
    kb("model_b(1,\"No condition\",\"y\",\"x\",\"*\",\"2\",0)\n"
       "model_b(2,\"No condition\",\"Error in data\",\"x\",\"<\",\"0\",1)\n"
       "model_e(3,\"No condition\",\"Error in data\",\"<=,<\",[\"lo\",\"x\",\"hi\"],0)\n",
       true);
    port.then("Argument value", "-4");
    EXPECT_EQ(oblicz(app, "y"), std::nullopt);
    EXPECT_EQ(notes(), (Strings{"Error in data!|Erroneous data is removed. Continue chaining and input corrected "
                                "data when asked."}));
    EXPECT_EQ(port.last("message").prompt, "Basic relational model explanation");
    EXPECT_EQ(values(), Strings{});   // x and the literal 0 are both gone
    EXPECT_EQ(app.chaining.model_stosowany, std::vector<std::int32_t>{2});
    EXPECT_NE(report().find("x=-4\n\n\nFollowing facts have been determined:\n"), std::string::npos) << report();
    EXPECT_NE(report().find("It follows:\n    Error in data\n\n"), std::string::npos) << report();

    // Asked again. Model 2 is applied once per run; the extended model
    // removes its outer arguments, the bounds, and keeps the tested value.
    port.clearCalls();
    app.chaining.zmienna_ustalona = {{"lo", 1}, {"hi", 20}};
    port.then("Argument value", "9");
    EXPECT_EQ(oblicz(app, "y"), std::nullopt);
    EXPECT_EQ(notes(), (Strings{"Error in data!|Erroneous data is removed. Continue chaining and declare corrected "
                                "data when asked."}));
    EXPECT_EQ(values(), Strings{"x=9"});
    EXPECT_EQ(oblicz(app, "y"), 18.0);
}

// ---- explanations ----

TEST_F(Models, BasicArithmeticExplanationsInFourCases) {
    struct Case {
        const char *op, *a2;
        const char *heading, *dialogHeading, *formula, *closing;
    };
    const Case cases[] = {
        {"sqrt", "0", "The model states: if the go_ahead condition ", "The model states: if the go_ahead condition ",
         "    y = x", "It follows that: "},
        {"=", "0.0", "The model states: if the go_ahead condition", "The model states: if the go_ahead condition ",
         "    y = x", "It follows: "},
        {"+", "b", "The model states: if the go_ahead condition ", "The model states: if the go_ahead condition",
         "    y = x + b", "It follows that: "},
        {"round_to_N", "2", "The model states: if the go_ahead condition ",
         "The model states: if the go_ahead condition", "    y = x round_to_N 2", "It follows: "},
        {"round_to_N", "0", "The model states: if the go_ahead condition ",
         "The model states: if the go_ahead condition", "    y = x round_to_N 0", "It follows: "},
    };
    for (const Case& c : cases) {
        kb(std::string("model_b(4,\"go\",\"y\",\"x\",\"") + c.op + "\",\"" + c.a2 + "\",1)\n");
        wyjasnienie_model_matematyczny(app, 4, "y", 1.5);
        EXPECT_EQ(report(), std::string("\nThe basic arithmetical model 4 is resolved.\n") + c.heading +
                                "\n    go\nis true, then\n" + c.formula + "\n" + c.closing + "\n    y = 1.5\n\n")
            << c.op;
        const auto m = port.last("message");
        EXPECT_EQ(m.prompt, "Basic arithmetical model explanation");
        EXPECT_EQ(m.text, std::string("The basic arithmetical model 4 is resolved.\n") + c.dialogHeading +
                              "\n    go\nis true, then \n" + c.formula + "\n" + c.closing + "\n    y = 1.5")
            << c.op;
    }
}

TEST_F(Models, ListModelExplanations) {
    kb("model_e(5,\"go\",\"s\",\"+\",[\"a\",\"b\",\"c\"],1)\n"
       "model_e(6,\"go\",\"m\",\"max_list\",[\"a\",\"b\"],1)\n"
       "model_lin(7,\"go\",\"l\",[\"2\",\"k\"],[\"a\",\"b\"],1)\n"
       "model_poly(8,\"go\",\"p\",\"x\",[\"1\",\"3\"],[0,2],1)\n");
    wyjasnienie_model_matematyczny_2(app, 5, "s", 6);
    EXPECT_EQ(report(),
              "\nThe extended arithmetical model 5 is resolved.\nThe model states: if the go_ahead condition \n"
              "    go\nis true, then\n    s = \n      a  +\n      b  +\n      c\nIt follows: \n  s = 6\n\n");
    EXPECT_EQ(port.last("message").text,
              "The extended arithmetical model 5 is resolved.\nThe model states: \nif the go_ahead condition: \n"
              "    go\nis true, then \n    s = \n       a  +\n       b  +\n       c\nIt follows:\n    s = 6");
    EXPECT_EQ(port.last("message").prompt, "Extended arithmetical model explanation");

    app.report.kasowanie_tekst_raportu();
    app.messages.clear();
    wyjasnienie_model_matematyczny_2(app, 6, "m", 2);
    EXPECT_EQ(report(),
              "\nThe extended arithmetical model 6 is resolved.\nThe model states: if the go_ahead condition \n"
              "    go\nis true, then\n    m = \n      max_list  \nIt follows: \n  m = 2\n\n");
    // The arguments of min_list and max_list go to the message window only.
    EXPECT_NE(app.messages.text().find("      max_list  \n   a\n   b\nIt follows: "), std::string::npos)
        << app.messages.text();

    app.report.kasowanie_tekst_raportu();
    wyjasnienie_model_matematyczny_liniowy(app, 7, "l", 0.25);
    EXPECT_EQ(report(),
              "\nThe linear model 7 is resolved.\nThe model states: if the go_ahead condition \n    go\n"
              "is true, then\n    l = \n      2 * a + \n      k * b\nIt follows: \n    l = 0.25\n\n");
    EXPECT_EQ(port.last("message").text,
              "The model states: \nif the go_ahead condition: \n    go\nis true, then \n    l = \n"
              "      2 * a + \n      k * b\nIt follows: \n    l = 0.25");
    EXPECT_EQ(port.last("message").prompt, "Linear model explanation");

    app.report.kasowanie_tekst_raportu();
    wyjasnienie_model_matematyczny_wielomianowy(app, 8, "p", 13);
    EXPECT_EQ(report(),
              "\nThe polynomial model 8 is resolved.\nThe model states: if the go_ahead condition \n    go\n"
              "is true, then\n    p = \n      1 * x^0 + \n      3 * x^2\nIt follows: \n    p = 13\n\n");
    EXPECT_EQ(port.last("message").text,
              "The polynomial model  8 is resolved.\nThe model states: \nif the go_ahead_condition:\n    go\n"
              "true, then \n    p = \n      1 * x^0 + \n      3 * x^2\nIt follows: \n    p = 13");
    EXPECT_EQ(port.last("message").prompt, "Polynomial model explanation");
}

TEST_F(Models, RelationalExplanationsShowTheRelationAsWritten) {
    kb("model_b(9,\"go\",\"hot\",\"t\",\">\",\"30\",1)\n"
       "model_e(10,\"go\",\"mild\",\"<=,<\",[\"10\",\"t\",\"30\"],1)\n");
    for (const char* w : {"hot", "nhot"}) {
        app.report.kasowanie_tekst_raportu();
        wyjasnienie_model_relacyjny(app, 9, w);
        const std::string then = w == std::string("hot") ? "is true, then follows" : " is true, then follows";
        EXPECT_EQ(report(), "The basic relational model  9 is resolved.\nThe model states: if the go_ahead condition \n"
                            "    go\n" + then + "\n    hot\nprovided that: \n    t > 30\nIt follows:\n    " + w +
                                "\n\n");
        EXPECT_EQ(port.last("message").text,
                  "The basic relational model  9 is resolved.\nThe model states:  if the go_ahead_condition \n"
                  "    go\nis true, then follows\n    hot\nprovided that:\n    t > 30\nIt follows:\n    " +
                      std::string(w));
        EXPECT_EQ(port.last("message").prompt, "Basic relational model explanation");
    }
    app.report.kasowanie_tekst_raportu();
    wyjasnienie_model_relacyjny_r(app, 10, "nmild");
    EXPECT_EQ(report(), "\nThe extended relational model 10 is resolved.\nThe model states: if the go_ahead condition \n"
                        "    go\nis true, then follows\n    mild\nprovided that:\n10 <= t < 30\nIt follows: \n"
                        "  nmild\n\n");
    EXPECT_EQ(port.last("message").prompt, "Extended relational model explanation");
}

TEST_F(Models, ModelsWithSemaphoreZeroAreNotExplained) {
    kb("model_b(1,\"go\",\"y\",\"x\",\"+\",\"1\",0)\nmodel_b(2,\"go\",\"ok\",\"x\",\">\",\"1\",0)\n"
       "model_e(3,\"go\",\"s\",\"+\",[\"x\"],0)\nmodel_e(4,\"go\",\"in\",\"<,<\",[\"1\",\"x\",\"2\"],0)\n"
       "model_lin(5,\"go\",\"l\",[\"1\"],[\"x\"],0)\nmodel_poly(6,\"go\",\"p\",\"x\",[\"1\"],[1],0)\n");
    wyjasnienie_model_matematyczny(app, 1, "y", 1);
    wyjasnienie_model_relacyjny(app, 2, "ok");
    wyjasnienie_model_matematyczny_2(app, 3, "s", 1);
    wyjasnienie_model_relacyjny_r(app, 4, "in");
    wyjasnienie_model_matematyczny_liniowy(app, 5, "l", 1);
    wyjasnienie_model_matematyczny_wielomianowy(app, 6, "p", 1);
    EXPECT_TRUE(port.calls().empty());
    EXPECT_EQ(report(), "");
}

// ---- structure checks at load ----

TEST_F(Models, AFaultyModelBaseIsDiscardedWhole) {
    const char* advice = "Enter 'Model Base',\nchoose option 'Model Base Editing', \nload faulty model base and remove error.\n";
    struct Case {
        const char* model;
        std::string lines, note;
    };
    const Case cases[] = {
        {"model_b(3,\"g\",\"y\",\"x\",\"min_list\",\"1\",0)",
         std::string("Faulty operation/relation min_list for model 3.\n") + advice,
         "Faulty operation/relation min_list for model 3.\n\nEnter 'Model Base', choose option'Model Base "
         "Editing',load faulty model baseand remove error."},
        {"model_e(4,\"g\",\"y\",\"-\",[\"x\"],0)", std::string("Faulty operation/relation - for model 4.\n") + advice,
         "Faulty operation/relation - for model 4.\n\nEnter 'Model Base', choose option'Model Base Editing',load "
         "faulty model baseand remove error."},
        {"model_lin(5,\"g\",\"y\",[\"1\",\"2\",\"3\"],[\"a\",\"b\"],0)",
         std::string("The linear model 5 has list of coefficients and list of variables\nof different length.\n") +
             advice,
         "The linear model 5\nhas list of coefficients and list of variables\nof different length. Enter 'Model "
         "Base',\nchoose option 'Model Base Editing',\nload faulty model base and remove error."},
        {"model_poly(6,\"g\",\"y\",\"x\",[\"1\"],[0,1],0)",
         std::string("The polynomial model 6 has list of coefficients and list of powers\nof different length.\n") +
             advice,
         "The polynomial model 6\nhas list of coefficients and list of powers\nof different length. Enter 'Model "
         "Base',\nchoose option 'Model Base Editing', \nload faulty model base and remove error."},
    };
    for (const Case& c : cases) {
        kb(std::string("model_b(1,\"g\",\"y\",\"x\",\"+\",\"1\",0)\nargument_known(\"x\",2)\nm_fact(\"g\")\n") +
           c.model + "\n");
        app.messages.clear();
        EXPECT_FALSE(testuj_strukture_modeli(app)) << c.model;
        EXPECT_EQ(app.messages.text(), c.lines);
        EXPECT_EQ(notes(), Strings{"Attention error!|" + c.note});
        const auto& m = app.store.modelBase();
        EXPECT_TRUE(m.model_b.empty() && m.model_e.empty() && m.model_lin.empty() && m.model_poly.empty() &&
                    m.argument_known.empty() && m.m_fact.empty());
        EXPECT_FALSE(app.store.nazwa_mo.has_value());
        EXPECT_TRUE(app.store.modelsByResult("y").empty());
    }
    // Every operation of both lists, and extended relational models of any length, pass.
    kb("model_b(1,\"g\",\"y\",\"x\",\"round_to_N\",\"1\",0)\nmodel_b(2,\"g\",\"ok\",\"x\",\"<>\",\"1\",0)\n"
       "model_e(3,\"g\",\"ok\",\"<=,<=\",[\"x\"],0)\nmodel_lin(4,\"g\",\"l\",[],[],0)\n");
    EXPECT_TRUE(testuj_strukture_modeli(app));
    EXPECT_TRUE(port.calls().empty());
    EXPECT_EQ(app.store.modelBase().model_b.size(), 2u);
}

TEST(ModelBaseLoad, AFaultyModelDiscardsTheModelBaseAndTheRuleBaseStays) {
    test::TempDir dir;
    test::ScriptedPort port;
    port.always("Choose", "no");
    AppState app{port, dir.path()};
    port.then(dir.write("BASES/RUkb.AEB", "rule(1,\"z\",[\"ok\",\"q\"],1)\n").string());
    ASSERT_EQ(kb::opcja_z_menu_glownego(app, kb::LoadOption::RuleBase), "RUkb.AEB");
    port.then(dir.write("BASES/MOkb.AEB", "model_b(1,\"No condition\",\"ok\",\"x\",\">\",\"1\",1)\n"
                                          "model_poly(2,\"No condition\",\"y\",\"x\",[\"1\",\"2\"],[1],0)\n"
                                          "argument_known(\"x\",2)\n")
                  .string());
    EXPECT_EQ(kb::opcja_z_menu_glownego(app, kb::LoadOption::ModelBase), std::nullopt);
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_TRUE(app.store.modelBase().model_b.empty());
    EXPECT_TRUE(app.store.modelBase().argument_known.empty());
    EXPECT_FALSE(app.store.nazwa_mo);
    EXPECT_EQ(app.store.nazwa_re, "RUkb.AEB");
}

}  // namespace
}  // namespace torv::engine
