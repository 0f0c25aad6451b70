// Backward chaining: the goal search and its bookkeeping, questions with
// WHY?, constraint completion, models, "end", the verdicts, and bases that
// are cyclic or very deep.
#include <gtest/gtest.h>

#include <pthread.h>

#include <functional>

#include "support/chaining_fixture.h"
#include "engine/backward.h"
#include "state/command_ids.h"

namespace torv::engine {
namespace {

using Strings = std::vector<std::string>;

class Backward : public test::ChainingTest {
protected:
    void start(const std::string& hipoteza = "x", bool high = false) {
        prepare(high);
        app.chaining.hipoteza = hipoteza;
        port.clearCalls();
    }
    const Strings& established() const { return app.chaining.rbd_wstecz; }
    static Strings numbers(const std::vector<NumberedLiteral>& t) {
        Strings out;
        for (const auto& n : t) out.push_back(std::to_string(n.numer) + ":" + n.literal);
        return out;
    }
    Strings asked() const {
        Strings out;
        for (const auto& d : port.calls())
            if (d.title == "Is the condition true?") out.push_back(d.text);
        return out;
    }
    Strings titles(const std::string& kind) const {
        Strings out;
        for (const auto& d : port.ofKind(kind)) out.push_back(d.title);
        return out;
    }
    void TearDown() override { EXPECT_EQ(port.pending(), 0u); }
};

/// Runs f on a thread whose stack is far too small for one call frame per
/// goal of a long chain.
void onSmallStack(const std::function<void()>& f) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    pthread_t t;
    auto body = [](void* p) -> void* {
        (*static_cast<const std::function<void()>*>(p))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&t, &attr, body, const_cast<std::function<void()>*>(&f)), 0);
    pthread_join(t, nullptr);
    pthread_attr_destroy(&attr);
}

TEST_F(Backward, WhatIsEstablishedDecidesFirstThenTheUserIsAsked) {
    rules("rule(1,\"x\",[\"a\",\"b\"],0)\n");
    struct Case {
        const char* goal;
        Strings before;
        const char* answer;   // to "Is the condition true?", or nullptr
        bool result;
        Strings after;
    };
    const Case cases[] = {
        {"a", {"a"}, nullptr, true, {"a"}},
        {"a", {"na"}, nullptr, false, {"na"}},
        {"na", {"a"}, nullptr, false, {"a"}},
        {"na", {"na"}, nullptr, true, {"na"}},
        {"a", {}, "yes", true, {"a"}},
        {"a", {}, "no", false, {"na"}},
        {"na", {}, "yes", true, {"na"}},   // asked as written
        {"na", {}, "no", false, {"a"}},
        {"q", {}, nullptr, false, {}},     // neither askable nor concluded
    };
    for (const Case& c : cases) {
        start();
        for (const auto& l : c.before) pamietaj_wstecz(app, l);
        if (c.answer) port.then("Is the condition true?", c.answer);
        EXPECT_EQ(weryfikowanie_hipotezy_cd(app, c.goal), c.result) << c.goal << " " << c.before.size();
        EXPECT_EQ(established(), c.after) << c.goal;
        EXPECT_EQ(asked(), c.answer ? Strings{std::string(c.goal) + "?"} : Strings{}) << c.goal;
    }
    // A go-ahead answer is not asked again as a condition.
    start();
    app.chaining.rbd.add(0, "b");
    EXPECT_TRUE(weryfikowanie_hipotezy_cd(app, "b"));
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(Backward, RulesConcludingTheGoalProveItOrRefuteItInBaseOrder) {
    rules("rule(1,\"x\",[\"a\"],1)\nrule(2,\"x\",[\"b\"],1)\n");
    struct Case {
        const char* goal;
        Strings answers;   // a, then b
        bool result;
        Strings after, proved, refuted;
    };
    const Case cases[] = {
        {"x", {"yes"}, true, {"a", "x"}, {"1:x"}, {}},
        // The second rule proves x; the first is not held against it.
        {"x", {"no", "yes"}, true, {"na", "b", "x"}, {"2:x"}, {}},
        {"x", {"no", "no"}, false, {"na", "nb", "nx"}, {}, {"1:x", "2:x"}},
        // A negated goal: every rule for x that holds refutes it, the first
        // that does not hold proves it.
        {"nx", {"no", "no"}, true, {"na", "nb", "nx"}, {"1:nx"}, {}},
        {"nx", {"yes", "no"}, false, {"a", "x", "nb"}, {}, {"1:nx"}},
        {"nx", {"no", "yes"}, false, {"na", "b", "x"}, {}, {"2:nx"}},
    };
    for (const Case& c : cases) {
        start();
        for (const auto& a : c.answers) port.then("Is the condition true?", a);
        EXPECT_EQ(weryfikowanie_hipotezy_cd(app, c.goal), c.result) << c.goal << c.answers.size();
        const BackwardState& w = app.chaining.backward;
        EXPECT_EQ(established(), c.after) << c.goal << c.answers.size();
        EXPECT_EQ(numbers(w.numer_prawda), c.proved) << c.goal << c.answers.size();
        EXPECT_EQ(numbers(w.numer_nieprawda), c.refuted) << c.goal << c.answers.size();
    }
    // Refuting goes over the rules again without taking them up anew, and
    // marks them used: a second search asks nothing.
    start();
    port.then("no").then("no");
    weryfikowanie_hipotezy_cd(app, "x");
    EXPECT_EQ(app.chaining.backward.regula_stosowana, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(titles("note"), (Strings{"Main hypothesis", "Main hypothesis"}));
    EXPECT_EQ(port.ofKind("message").at(0).text,
              "Rule 1 is resolved. The rule states:\nIf\n    a\nthen \n    x\nIt follows:\n    nx");
    port.clearCalls();
    EXPECT_FALSE(weryfikowanie_hipotezy_cd(app, "x"));
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(Backward, RecordingAndConstraintCompletion) {
    rules("rule(1,\"x\",[\"a\",\"b\",\"c\",\"d\",\"e\"],0)\n");
    constraints("constraint(1,[\"a\",\"b\"])\nconstraint(2,[\"c\",\"d\",\"e\"])\n");
    struct Case {
        Strings before;
        const char* literal;
        bool recorded;
        Strings after, negatedByConstraints;
    };
    const Case cases[] = {
        {{}, "a", true, {"a", "nb"}, {"nb"}},
        {{}, "na", true, {"na", "b"}, {}},
        {{}, "c", true, {"c", "nd", "ne"}, {"nd", "ne"}},
        {{}, "nc", true, {"nc"}, {}},   // a longer constraint says nothing then
        // A positive replaces its negation; what the negation completed stays.
        {{"na"}, "a", true, {"b", "a"}, {}},
        {{"a"}, "na", false, {"a", "nb"}, {"nb"}},
        {{"nx"}, "nx", true, {"nx"}, {}},
    };
    for (const Case& c : cases) {
        start();
        for (const auto& l : c.before) pamietaj_wstecz(app, l);
        EXPECT_EQ(pamietaj_wstecz(app, c.literal), c.recorded) << c.literal;
        EXPECT_EQ(established(), c.after) << c.literal;
        EXPECT_EQ(app.chaining.zanegowany_warunek_z_bazy_ograniczen, c.negatedByConstraints) << c.literal;
    }
}

TEST_F(Backward, ChainedPairConstraintsCompleteWithoutDeepening) {
    const int n = 3000;
    std::string text, conditions;
    for (int i = 1; i < n; ++i)
        text += "constraint(" + std::to_string(i) + ",[\"c" + std::to_string(i) + "\",\"c" + std::to_string(i + 1) +
                "\"])\n";
    rules("rule(1,\"x\",[\"c1\"],0)\n");
    constraints(text);
    start();
    onSmallStack([&] { pamietaj_wstecz(app, "c1"); });
    // c1, nc2, c3, nc4, ...
    ASSERT_EQ(established().size(), static_cast<std::size_t>(n));
    EXPECT_EQ(established()[n - 2], "c" + std::to_string(n - 1));
    EXPECT_EQ(established()[n - 1], "nc" + std::to_string(n));
}

TEST_F(Backward, WhyExplainsTheRuleAtHandThenOffersOnlyYesAndNo) {
    rules("rule(1,\"y\",[\"a\"],1)\nrule(2,\"x\",[\"y\",\"b\"],1)\n");
    for (const char* after : {"yes", "no"}) {
        start("x");
        port.then("Is the condition true?", "why").then("Choose:", after);
        if (std::string(after) == "yes") port.then("Is the condition true?", "yes");
        weryfikowanie_hipotezy_cd(app, "x");
        EXPECT_EQ(port.ofKind("yes/no").at(0).text, "a?");
        EXPECT_EQ(port.ofKind("yes/no").at(0).prompt, "Yes / No") << after;
        EXPECT_EQ(established().front(), std::string(after) == "yes" ? "a" : "na");
    }
    const std::string why = report().substr(0, report().find("    NO") + 6);
    EXPECT_EQ(why,
              "a?    WHY?Rule  1 is resolved.The rule states:\nIf\n    a\nthen  \n    y\nIt follows: \n    y\n\n"
              "Following facts have been determined:\nFollowing arguments have been determined:\n\n"
              "From rule 1 may be deduced: y.\nFrom rule 2 may be deduced: x.\n    a?                     NO");
    // The chain of rules goes to the "Message" dialog too.
    EXPECT_EQ(port.ofKind("message").at(1).text,
              "From rule 1 may be deduced: y. \nFrom rule 2 may be deduced: x. ");
}

TEST_F(Backward, WhyAboutAGoAheadConditionExplainsItsModel) {
    rules("rule(1,\"x\",[\"g\",\"hot\"],0)\n");
    models("model_b(7,\"g\",\"hot\",\"t\",\">\",\"30\",1)\n");
    start("x", true);
    port.then("Is the condition true?", "why").then("Choose:", "yes").then("Argument value", "35");
    EXPECT_TRUE(weryfikowanie_hipotezy_cd(app, "x"));
    EXPECT_EQ(port.ofKind("message").at(0).prompt, "Basic relational model explanation");
    EXPECT_EQ(port.ofKind("message").at(1).prompt, "Following facts have been determined:");
    EXPECT_EQ(numbers(app.chaining.backward.numer_prawda), (Strings{"7:hot", "1:x"}));
}

TEST_F(Backward, OnceEndIsEstablishedEveryFurtherGoalCountsAsTrue) {
    rules("rule(1,\"end\",[\"stop\"],1)\nrule(2,\"x\",[\"p\"],1)\nrule(3,\"p\",[\"a\"],1)\n");
    start();
    pamietaj_wstecz(app, "end");
    for (const char* goal : {"x", "p", "np", "nothing"}) {
        port.clearCalls();
        EXPECT_TRUE(weryfikowanie_hipotezy_cd(app, goal)) << goal;
        ASSERT_EQ(port.calls().size(), 1u) << goal;
        EXPECT_EQ(port.calls()[0].title + "|" + port.calls()[0].text,
                  "Attention - end!|Rule with 'end' conclusion ends the chaining process.");
    }
    // Askable goals are still asked.
    port.clearCalls();
    port.then("no");
    EXPECT_FALSE(weryfikowanie_hipotezy_cd(app, "a"));
    EXPECT_EQ(established(), (Strings{"end", "na"}));
}

TEST_F(Backward, CyclicBasesEnd) {
    struct Case {
        const char* base;
        const char* goal;
        Strings answers;
        bool result;
        Strings after;
    };
    const Case cases[] = {
        {"rule(1,\"a\",[\"b\"],0)\nrule(2,\"b\",[\"a\"],0)\n", "a", {}, false, {"nb", "na"}},
        {"rule(1,\"a\",[\"a\"],0)\n", "a", {}, false, {"na"}},
        {"rule(1,\"x\",[\"nx\"],0)\n", "x", {}, false, {"nx"}},
        {"rule(1,\"x\",[\"nx\"],0)\n", "nx", {}, true, {"nx"}},
        // A way out of the cycle is still found.
        {"rule(1,\"a\",[\"b\"],0)\nrule(2,\"b\",[\"c\"],0)\nrule(3,\"c\",[\"a\"],0)\nrule(4,\"c\",[\"d\"],0)\n", "a",
         {"yes"}, true, {"d", "c", "b", "a"}},
    };
    for (const Case& c : cases) {
        rules(c.base);
        start();
        for (const auto& a : c.answers) port.then(a);
        EXPECT_EQ(weryfikowanie_hipotezy_cd(app, c.goal), c.result) << c.base << c.goal;
        EXPECT_EQ(established(), c.after) << c.base << c.goal;
    }
}

TEST_F(Backward, ARuleChainTenThousandLongNeedsNoDeepStack) {
    const int n = 10000;
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "rule(" + std::to_string(i + 1) + ",\"x" + std::to_string(i) + "\",[\"" +
                (i + 1 < n ? "x" + std::to_string(i + 1) : std::string("a")) + "\"],0)\n";
    rules(text);
    for (const char* answer : {"yes", "no"}) {
        start("x0");
        port.then("Is the condition true?", answer);
        bool result = false;
        onSmallStack([&] { result = weryfikowanie_hipotezy_cd(app, "x0"); });
        EXPECT_EQ(result, std::string(answer) == "yes");
        ASSERT_EQ(established().size(), static_cast<std::size_t>(n + 1));
        EXPECT_EQ(established().back(), result ? "x0" : "nx0");
        EXPECT_EQ(port.ofKind("note").size(), static_cast<std::size_t>(n));
    }
}

TEST_F(Backward, EndConfirmedDeepInTheSearchPassesThrough) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "rule(" + std::to_string(i + 1) + ",\"x" + std::to_string(i) + "\",[\"x" + std::to_string(i + 1) +
                "\"],0)\n";
    rules(text);
    models("model_b(1,\"No condition\",\"x2000\",\"t\",\">\",\"30\",0)\n");
    start("x0");
    port.then("Argument value", "end").then("Attention!", "yes");
    bool ended = false;
    onSmallStack([&] {
        try {
            weryfikowanie_hipotezy_cd(app, "x0");
        } catch (const port::EndProgram&) {
            ended = true;
        }
    });
    EXPECT_TRUE(ended);
}

TEST_F(Backward, RelationalModelsDecideTheirConclusion) {
    rules("rule(1,\"z\",[\"q\"],0)\n");
    models("model_b(4,\"No condition\",\"hot\",\"t\",\">\",\"30\",0)\n"
           "model_e(5,\"No condition\",\"mid\",\"<,<\",[\"0\",\"t\",\"10\"],0)\n");
    struct Case {
        const char* goal;
        const char* t;
        bool result;
        Strings after, proved, refuted;
    };
    const Case cases[] = {
        {"hot", "35", true, {"hot"}, {"4:hot"}, {}},
        {"hot", "20", false, {"nhot"}, {}, {"4:hot"}},
        {"nhot", "20", true, {"nhot"}, {"4:nhot"}, {}},
        {"nhot", "35", false, {"hot"}, {}, {"4:nhot"}},
        {"mid", "5", true, {"mid"}, {"5:mid"}, {}},
        {"nmid", "5", false, {"mid"}, {}, {"5:nmid"}},
    };
    for (const Case& c : cases) {
        start();
        port.then("Argument value", c.t);
        EXPECT_EQ(weryfikowanie_hipotezy_cd(app, c.goal), c.result) << c.goal << c.t;
        const BackwardState& w = app.chaining.backward;
        EXPECT_EQ(established(), c.after) << c.goal << c.t;
        EXPECT_EQ(numbers(w.numer_prawda), c.proved) << c.goal << c.t;
        EXPECT_EQ(numbers(w.numer_nieprawda), c.refuted) << c.goal << c.t;
    }
    // An arithmetic model's result as a goal is computed.
    models("model_b(6,\"No condition\",\"y\",\"t\",\"+\",\"2\",0)\n");
    start();
    port.then("Argument value", "3");
    EXPECT_TRUE(weryfikowanie_hipotezy_cd(app, "y"));
    EXPECT_EQ(app.chaining.model_stosowany, std::vector<std::int32_t>{6});
}

TEST_F(Backward, ASingularRelationalModelThatMayNotBeAppliedStopsTheRun) {
    rules("rule(1,\"fan\",[\"hot\"],0)\nrule(2,\"z\",[\"g\"],0)\n");
    models("model_b(4,\"g\",\"hot\",\"t\",\">\",\"30\",0)\nmodel_b(5,\"No condition\",\"y\",\"t\",\"+\",\"1\",0)\n");
    start("fan");
    port.then("Is the go-ahead condition true?", "no");
    EXPECT_THROW(weryfikowanie_hipotezy_cd(app, "fan"), RunStopped);
    EXPECT_EQ(report(), "g?" + std::string(53, ' ') +
                            "The singular relational model  4 with unsatisfied go-ahead condition has been removed.\n");
    EXPECT_EQ(port.last("note").text,
              "The singular relational model   4\nwith unsatisfied go-ahead condition \nhas been removed.\n\n"
              "The model base contains errors or \nis processing wrong argument values.\nBackward chaining has been "
              "stopped.\n\nLoad the corrected base or provide it\nwith acceptable argument values.");
    EXPECT_EQ(app.outcomes, Outcomes{Outcome::SingularModelRemoved});
    ASSERT_EQ(app.store.modelBase().model_b.size(), 1u);
    EXPECT_EQ(app.store.modelBase().model_b[0].numer, 5);

    // With another model for the same conclusion the search goes on.
    models("model_b(4,\"g\",\"hot\",\"t\",\">\",\"30\",0)\nmodel_b(6,\"ng\",\"hot\",\"t\",\"<\",\"0\",0)\n");
    start("fan");
    port.then("Is the go-ahead condition true?", "no").then("Argument value", "5");
    EXPECT_FALSE(weryfikowanie_hipotezy_cd(app, "fan"));
    EXPECT_EQ(established(), (Strings{"nhot", "nfan"}));
}

TEST_F(Backward, HypothesisLists) {
    rules("rule(1,\"x\",[\"a\",\"ny\"],0)\nrule(2,\"y\",[\"b\"],0)\nrule(3,\"end\",[\"c\"],0)\n");
    EXPECT_EQ(wyznacz_liste_hipotez(app, 1), Strings{"x"});
    EXPECT_EQ(wyznacz_liste_hipotez(app, 2), (Strings{"x", "y"}));
    models("model_b(1,\"No condition\",\"hot\",\"t\",\">\",\"30\",0)\n"
           "model_b(2,\"No condition\",\"a\",\"t\",\"<\",\"0\",0)\n"
           "model_b(3,\"No condition\",\"w\",\"t\",\"+\",\"1\",0)\n");
    EXPECT_EQ(wyznacz_liste_hipotez(app, 1), (Strings{"hot", "x"}));
    EXPECT_EQ(wyznacz_liste_hipotez(app, 2), (Strings{"a", "hot", "x", "y"}));
}

class BackwardRun : public Backward {
protected:
    /// The command from the hypothesis type on, for hypothesis x.
    void consult(int opcja, int pick, const Strings& answers) {
        start("");
        port.then("Pick a fact", std::to_string(pick));
        for (const auto& a : answers) port.then(a);
        port.always("Chaining summary", "no").always("Report of chaining/diagnosing", "no");
        opcja_z_menu_testowania(app, opcja);
    }
    std::string message(const std::string& caption) const {
        for (const auto& d : port.ofKind("message"))
            if (d.prompt == caption) return d.text;
        return "(none)";
    }
    std::string endNote() const {
        for (const auto& d : port.ofKind("note"))
            if (d.title == "End of backward chaining") return d.text;
        return "(none)";
    }
};

TEST_F(BackwardRun, VerdictsAndTheirClosingNotes) {
    rules("rule(1,\"x\",[\"a\"],1)\n");
    const std::string fromFacts = "\nfrom declared facts and argument values\nwhile successfully backward chaining for ";
    consult(1, 1, {"yes"});
    EXPECT_EQ(endNote(), "This is all that has been inferred \nfrom the Knowledge Base\n   KB" + fromFacts +
                             "hypothesis\n    x");
    EXPECT_NE(report().find("is true for  the knowledge base kb,\n"), std::string::npos);
    EXPECT_EQ(message("Result of backward chaining"),
              "The narrow-sense hypothesis:  \n   x\nis true for the knowledge base \n   kb\n"
              "declared facts and argument values\non the strength of rule 1.");
    consult(2, 1, {"yes"});
    EXPECT_EQ(endNote(), "This is all that has been inferred from the Knowledge Base  KB" + fromFacts +
                             "hypothesis\n    x");
    EXPECT_NE(report().find("The wide-sense hypothesis:\n  x\nis true for the knowledge base kb,\n"), std::string::npos);
    EXPECT_TRUE(report().ends_with("while successfully backward chaining for hypothesis:\nx")) << report();

    consult(1, 1, {"no"});
    EXPECT_EQ(endNote(), "This is all that has been inferred \nfrom the Knowledge Base\n   KB\nfrom declared facts and "
                         "argument values\nwhile unsuccessfully backward chaining \nfor hypothesis\n   x");
    EXPECT_NE(report().find("The hypothesis:  x\nis false in view of the knowledge base: KB, \n"), std::string::npos);

    models("model_b(1,\"No condition\",\"hot\",\"t\",\">\",\"30\",0)\n");
    consult(1, 2, {"yes"});
    EXPECT_EQ(endNote(), "This is all that has been inferred \nfrom the Knowledge Base\n   KB," + fromFacts +
                             "\nhypothesis\n    x");
}

TEST_F(BackwardRun, UndecidedOrStoppedRunsEndWithoutVerdict) {
    rules("rule(1,\"x\",[\"hot\"],0)\nrule(2,\"end\",[\"stop\"],0)\n");
    models("model_b(1,\"No condition\",\"hot\",\"t\",\">\",\"30\",0)\n");
    // No usable value for the model.
    consult(2, 1, {"no", "warm"});
    EXPECT_EQ(titles("note"), (Strings{"Attention!"}));
    // "end" established first.
    consult(1, 1, {"yes"});
    EXPECT_EQ(titles("note"), (Strings{"Attention!", "Attention - end!"}));
    EXPECT_EQ(endNote(), "(none)");
    // Two declared facts that exclude each other.
    rules("rule(1,\"x\",[\"a\"],0)\nfact(\"a\")\nfact(\"b\")\n");
    constraints("constraint(1,[\"a\",\"b\"])\n");
    consult(1, 1, {});
    EXPECT_TRUE(asked().empty());
    EXPECT_EQ(titles("note"), (Strings{"Attention!", "Rule base error! "}));
}

TEST_F(BackwardRun, EndInThePickOfAHypothesisEndsTheProgram) {
    rules("rule(1,\"x\",[\"a\"],0)\n");
    start();
    port.then("Pick a fact", "end").then("Attention!", "yes");
    EXPECT_THROW(opcja_z_menu_testowania(app, 1), port::EndProgram);
}

}  // namespace
}  // namespace torv::engine
