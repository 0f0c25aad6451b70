// Forward chaining: recording conclusions, testing conditions, explanations
// and whole runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "support/chaining_fixture.h"
#include "engine/askables.h"
#include "engine/forward.h"
#include "engine/position_set.h"
#include "port/text_port.h"

namespace torv::engine {
namespace {

using Strings = std::vector<std::string>;

class Forward : public test::ChainingTest {};

TEST_F(Forward, ConclusionsSettleConflictsWithWhatIsDecided) {
    rules(
        "rule(1,\"p\",[\"a\"],1)\n"
        "rule(2,\"q\",[\"p\"],1)\n"
        "rule(3,\"r\",[\"np\"],1)\n"
        "rule(4,\"s\",[\"b\"],1)\n");
    struct Case {
        const char* what;
        const char* result;       // recorded for rule 7
        Strings before;
        bool succeeds;
        Strings after;
        bool reopens;             // rules 2 and 3 (which use p or np) are re-opened
    };
    const Case cases[] = {
        {"negation replaces the rule's own single support", "np", {"7:p"}, true, {"7:np"}, true},
        {"the same positive result again", "p", {"7:p"}, false, {"7:p"}, false},
        {"the same negative result again", "np", {"7:np"}, false, {"7:np"}, false},
        {"negation only withdraws one of several supports", "np", {"7:p", "8:p"}, true, {"8:p"}, true},
        {"negation never overrides another rule's positive", "np", {"8:p"}, true, {"8:p"}, true},
        {"negation of an undecided condition", "np", {}, true, {"7:np"}, true},
        {"positive of an undecided condition", "p", {}, true, {"7:p"}, true},
        {"positive adds a support even when both are decided", "p", {"0:np", "8:p"}, true,
         {"0:np", "8:p", "7:p"}, true},
        {"positive overrides a recorded negation", "p", {"0:np", "9:np"}, true, {"7:p"}, true},
        {"negation already declared", "np", {"0:np"}, true, {"0:np"}, false},
    };
    for (const Case& c : cases) {
        prepare();
        for (const auto& r : c.before) {
            const auto colon = r.find(':');
            app.chaining.rbd.add(std::stoi(r.substr(0, colon)), r.substr(colon + 1));
        }
        app.chaining.regula_zastosowana = {1, 2, 3, 4};
        EXPECT_EQ(zachowaj_wniosek(app, 7, c.result), c.succeeds) << c.what;
        EXPECT_EQ(rbd(), c.after) << c.what;
        NumberSet marks = c.reopens ? NumberSet{1, 4} : NumberSet{1, 2, 3, 4};
        if (!c.succeeds) marks.insert(7);   // a refused result keeps its rule marked
        EXPECT_EQ(app.chaining.regula_zastosowana, marks) << c.what;
    }
}

TEST_F(Forward, ConditionsAreMarkedAskedOrLeftForALaterPass) {
    rules(
        "rule(1,\"d\",[\"a\"],1)\n"
        "rule(2,\"e\",[\"d\",\"b\",\"nc\"],1)\n");
    struct Case {
        const char* what;
        Strings conditions;
        Strings decided;
        Strings answers;          // to "Is the condition true?", in order
        std::optional<std::string> marks;
    };
    const Case cases[] = {
        {"askable asked, yes", {"a"}, {}, {"yes"}, "y"},
        {"askable asked, no stops the walk", {"a", "b"}, {}, {"no"}, "n"},
        {"negated askable asked", {"na", "nb"}, {}, {"yes", "no"}, "yn"},
        {"decided askable and negation", {"a", "nb"}, {"a", "nb"}, {}, "yy"},
        {"complement of askable decided", {"a", "b"}, {"a", "nb"}, {}, "yn"},
        {"positive of a negated askable decided", {"nb", "a"}, {"b"}, {}, "n"},
        {"derived and decided", {"d", "ne"}, {"d", "ne"}, {}, "yy"},
        {"complement of a derived condition decided", {"d", "e"}, {"d", "ne"}, {}, "yn"},
        {"negated derived whose positive is decided", {"nd", "a"}, {"d"}, {}, "n"},
        {"derived and undecided", {"a", "d", "b"}, {"a"}, {}, std::nullopt},
        {"answers before an undecided derived condition stay", {"a", "nd"}, {}, {"yes"}, std::nullopt},
        {"no conditions", {}, {}, {}, ""},
    };
    for (const Case& c : cases) {
        prepare();
        port.clearCalls();
        for (const auto& d : c.decided) app.chaining.rbd.add(0, d);
        for (const auto& a : c.answers) port.then("Is the condition true?", a);
        auto marks = testuj_warunki(app, kb::names(c.conditions));
        ASSERT_EQ(marks.has_value(), c.marks.has_value()) << c.what;
        if (marks) {
            EXPECT_EQ(std::string(marks->begin(), marks->end()), *c.marks) << c.what;
        }
        EXPECT_EQ(port.pending(), 0u) << c.what;
    }
    // An answer given before the walk stopped stays recorded.
    prepare();
    port.then("yes");
    EXPECT_FALSE(testuj_warunki(app, {"a", "nd"}));
    EXPECT_EQ(rbd(), Strings{"0:a"});
}

// ---- whole runs (the gate and preparation included) ----

class Run : public Forward {
protected:
    void TearDown() override { EXPECT_EQ(port.pending(), 0u); }
    /// Answers the preparation: low detail, no labels.
    test::ScriptedPort& start(const char* detail = "1") {
        return port.then("Level of detail", detail).then("Generating labels", "no");
    }
    /// Answers the closing: no summary, no report.
    void close() { port.then("Chaining summary", "no").then("Report of chaining/diagnosing", "no"); }
    std::vector<std::string> questions() const {
        Strings out;
        for (const auto& d : port.calls())
            if (d.title == "Is the condition true?") out.push_back(d.text);
        return out;
    }
};

TEST_F(Run, WithoutARuleBaseOnlyTheNoteIsShown) {
    wnioskowanie_w_przod(app);
    EXPECT_EQ(port.titles(), Strings{"Attention!"});
    EXPECT_EQ(port.last("note").text, "Load Rule Base first!");
}

TEST_F(Run, RecordedFaultsRefuseSilently) {
    rules("rule(1,\"p\",[\"a\"],1)\n");
    for (int fault = 0; fault < 4; ++fault) {
        app.verdicts = {};
        app.chaining.blad_wykluczajacych = false;
        if (fault == 0) app.verdicts.rozne_numery = false;
        if (fault == 1) app.verdicts.sprzecznosc_1z = true;
        if (fault == 2) app.verdicts.sprzecznosc_mr = true;
        if (fault == 3) app.chaining.blad_wykluczajacych = true;
        wnioskowanie_w_przod(app);
        EXPECT_TRUE(port.calls().empty()) << fault;
    }
}

TEST_F(Run, AnUndecidableConditionEndsTheRunNormally) {
    rules("rule(1,\"z\",[\"a\",\"q\"],0)\nrule(2,\"q\",[\"nq\"],0)\n");
    start().then("Fact declaration mode", "2").then("Is the condition true?", "yes");
    close();
    wnioskowanie_w_przod(app);
    EXPECT_EQ(port.last("note").title, "End of forward chaining");
    EXPECT_EQ(questions(), Strings{"a?"});
}

TEST_F(Run, ClosingFactDeclarationModeEndsTheRunAfterThePreparation) {
    for (bool emptyLine : {true, false}) {
        rules("rule(1,\"z\",[\"a\"],1)\n");
        port.clearCalls();
        start();
        if (emptyLine) port.then("Fact declaration mode", "");
        else port.thenClose();
        wnioskowanie_w_przod(app);
        EXPECT_TRUE(questions().empty()) << emptyLine;
        EXPECT_EQ(port.titles().back(), "Fact declaration mode") << emptyLine;
    }
}

TEST_F(Run, EndConfirmedInADialogEndsTheProgram) {
    rules("rule(1,\"z\",[\"a\"],1)\n");
    start().then("Fact declaration mode", "1").then("Pick facts", "end").then("Attention!", "yes");
    EXPECT_THROW(wnioskowanie_w_przod(app), port::EndProgram);
}

TEST_F(Run, MenuModeNeverRecordsTwoMembersOfAConstraintTrue) {
    rules("rule(1,\"z\",[\"a\",\"b\",\"c\",\"d\"],1)\n");
    constraints("constraint(1,[\"a\",\"b\"])\nconstraint(2,[\"a\",\"c\"])\n");
    struct Case {
        const char* what;
        Strings answers;   // in dialog order; "" closes
        Strings recorded;
        Strings dialogs;
    };
    const Strings closedPicks{"Pick a fact", "Pick a fact", "Pick facts"};
    const Case cases[] = {
        {"everything closed records nothing", {"", "", ""}, {}, closedPicks},
        {"confirmed with nothing selected: every candidate false", {"", "", "0"},
         {"0:na", "0:nb", "0:nc", "0:nd"}, closedPicks},
        {"a member picked settles a constraint sharing it", {"1", "2"}, {"0:a", "0:nb", "0:nc", "0:d"},
         {"Pick a fact", "Pick facts"}},
        {"two members of one constraint are refused and asked again", {"", "", "1 2", "2 3"},
         {"0:b", "0:c", "0:na", "0:nd"}, {"Pick a fact", "Pick a fact", "Pick facts", "Attention!", "Pick facts"}},
    };
    for (const Case& c : cases) {
        prepare();
        port.clearCalls();
        for (const auto& a : c.answers) port.then(a);
        EXPECT_TRUE(przygotowanie_listy_faktow(app)) << c.what;
        EXPECT_EQ(rbd(), c.recorded) << c.what;
        EXPECT_EQ(port.titles(), c.dialogs) << c.what;
    }
    // The last case's note names the members and its constraint.
    EXPECT_EQ(port.last("note").text, "Only one condition in constraint 1 may be true!\n    a\n    b\nPick the facts again.");
    // The settled constraint's members are no candidates.
    prepare();
    port.clearCalls();
    port.then("1").then("0");
    przygotowanie_listy_faktow(app);
    EXPECT_EQ(port.last("pick several").items, (Strings{"a", "d"}));
}

// ---- the rules set aside between passes ----

/// Answers every dialog from a hash of its text, so that two runs over the
/// same base get the same answers to the same questions; records everything.
class HashPort : public port::TextPort {
public:
    explicit HashPort(int mode) : mode_(mode) {}
    std::string log;

protected:
    void present(const port::Dialog& d) override {
        log += "[" + d.kind + "] " + d.title + "\n" + d.text + "\n" + d.prompt + "\n";
        for (const auto& i : d.items) log += "  " + i + "\n";
    }
    std::optional<std::string> answer(const port::Dialog& d) override {
        const std::size_t h = std::hash<std::string>{}(d.text + d.prompt);
        if (d.title == "Level of detail") return "2";
        if (d.title == "Fact declaration mode") return std::to_string(mode_);
        if (d.kind == "pick one") return std::to_string(1 + h % d.items.size());
        // The log varies the answer when a refused selection is asked again.
        const std::size_t g = std::hash<std::string>{}(log);
        if (d.kind == "pick several") return std::to_string(1 + g % d.items.size()) + " " + std::to_string(1 + g / 7 % d.items.size());
        if (d.title == "Is the condition true?") return h % 3 ? "yes" : "no";
        return "no";
    }

private:
    int mode_;
};

struct RandomBase {
    kb::RuleBase rules;
    kb::ConstraintBase constraints;
};

/// Rules in levels, so that nothing loops: a rule concludes a name of its
/// level (or its negation) from askables and names of lower levels.
RandomBase randomBase(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    const Strings askables{"a", "b", "c", "d", "e", "f", "g", "h"};
    std::vector<Strings> levels{askables, {"p", "q", "r"}, {"s", "t", "u"}, {"w", "x", "end"}};
    RandomBase out;
    std::int32_t numer = 1;
    for (int n = 0; n < 24; ++n) {
        const std::size_t level = 1 + pick(3);
        kb::Rule r;
        r.numer = numer++;
        r.wniosek = levels[level][pick(levels[level].size())];
        if (pick(5) == 0 && r.wniosek != "end") r.wniosek = "n" + r.wniosek;
        r.semafor = static_cast<std::int32_t>(pick(2));
        const std::size_t count = 1 + pick(4);
        while (r.warunki.size() < count) {
            const std::size_t from = pick(level);
            std::string c = levels[from][pick(levels[from].size())];
            if (c == "end") continue;
            if (pick(4) == 0) c = "n" + c;
            if (std::ranges::find(r.warunki, kb::Name(c)) == r.warunki.end() &&
                std::ranges::find(r.warunki, kb::Name(kb::negacja(c))) == r.warunki.end())
                r.warunki.push_back(c);
        }
        out.rules.rules.push_back(std::move(r));
    }
    // Shuffled, so that rules often wait for conditions that later rules decide.
    std::shuffle(out.rules.rules.begin(), out.rules.rules.end(), rng);
    if (pick(2)) out.rules.facts.push_back({askables[pick(4)]});
    if (pick(2)) out.constraints.constraints.push_back({1, {"e", "f", "g"}});
    return out;
}

std::string runWith(const RandomBase& base, bool fullScan, int mode) {
    HashPort port(mode);
    AppState app(port);
    app.store.setRuleBase(base.rules);
    app.store.nazwa_re = "RUr.AEB";
    app.store.wyroznik = "r";
    pamietaj_dopytywalne_regul(app);
    if (!base.constraints.constraints.empty()) {
        app.store.setConstraintBase(base.constraints);
        app.store.nazwa_og = "COr.AEB";
    }
    wyznacz_liste_faktow(app);
    app.chaining.fullScan = fullScan;
    wnioskowanie_w_przod(app);
    return port.log + "----\n" + app.report.tekst_raportu();
}

TEST(RuleScheduling, SettingRulesAsideGivesTheRunOfAFullRescan) {
    int explained = 0;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        const RandomBase base = randomBase(seed);
        const int mode = seed % 3 ? 2 : 1;
        const std::string full = runWith(base, true, mode);
        EXPECT_EQ(runWith(base, false, mode), full) << "seed " << seed;
        if (full.find("Rule  ") != std::string::npos) ++explained;
    }
    EXPECT_GT(explained, 50);   // the bases do chain
}

TEST(RuleScheduling, PositionSetFindsWhatAnOrderedSetFinds) {
    // Sizes around word and level boundaries; random inserts, erases and
    // searches compared with std::set.
    for (std::size_t size : {0u, 1u, 63u, 64u, 65u, 4095u, 4096u, 4097u, 300000u}) {
        std::mt19937 rng(static_cast<unsigned>(size));
        PositionSet set(size, size % 2 == 1);
        std::set<std::size_t> expected;
        if (size % 2 == 1)
            for (std::size_t i = 0; i < size; ++i) expected.insert(i);
        for (int step = 0; step < 20000; ++step) {
            const std::size_t i = size ? rng() % size : 0;
            switch (rng() % 3) {
                case 0:
                    if (size) set.insert(i), expected.insert(i);
                    break;
                case 1:
                    if (size) set.erase(i), expected.erase(i);
                    break;
                default: {
                    const std::size_t from = rng() % (size + 2);
                    const auto it = expected.lower_bound(from);
                    const auto want = it == expected.end() ? std::nullopt : std::optional<std::size_t>(*it);
                    ASSERT_EQ(set.next(from), want) << "size " << size << " from " << from;
                    ASSERT_EQ(set.contains(i), expected.count(i) == 1);
                }
            }
        }
    }
}

}  // namespace
}  // namespace torv::engine
