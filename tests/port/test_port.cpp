// The message window's line buffer and the text port's answers and "End".
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "port/message_window.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::port {
namespace {

TEST(MessageWindow, KeepsTheLast100Lines) {
    MessageWindow w;
    std::string seen;
    w.setListener({[&](std::string_view t) { seen.append(t); }, [&] { seen += "<clear>"; }});
    for (int i = 1; i <= 150; ++i) w.write("line " + std::to_string(i) + "\n");
    ASSERT_EQ(w.lines().size(), 101u);  // 100 lines and the open one
    EXPECT_EQ(w.lines().front(), "line 51");
    w.write("open");
    EXPECT_EQ(w.lines().size(), 100u);
    EXPECT_EQ(w.lines().back(), "open");
    w.clear();
    EXPECT_TRUE(w.lines().empty());
    EXPECT_EQ(seen.substr(seen.size() - 11), "open<clear>");
}

TEST(MessageWindow, WritesJoinAcrossCalls) {
    MessageWindow w;
    w.write("Rule base  ");
    w.write("RUx.AEB\nhas been loaded!\n\n");
    EXPECT_EQ(w.text(), "Rule base  RUx.AEB\nhas been loaded!\n\n");
}

TEST(Answers, ButtonsByNumberLabelOrLetter) {
    const std::vector<std::string> three{"&YES", "&NO", "&WHY?"};
    struct Case { const char* answer; std::optional<int> button; };
    for (auto c : {Case{"1", 1}, Case{"3", 3}, Case{"why?", 3}, Case{"why", 3}, Case{" No ", 2}, Case{"y", 1},
                   Case{"n", 2}, Case{"4", std::nullopt}, Case{"", std::nullopt}, Case{"maybe", std::nullopt}}) {
        EXPECT_EQ(answers::button(c.answer, three), c.button) << c.answer;
    }
}

TEST(Answers, ChoicesAreAscendingAndOnce) {
    using Picked = std::optional<std::vector<std::size_t>>;
    struct Case { const char* answer; Picked picked; };
    for (const auto& c : {Case{"3, 1 3,,2", std::vector<std::size_t>{0, 1, 2}}, Case{" 0 ", std::vector<std::size_t>{}},
                          Case{"2 9", std::nullopt}, Case{"1 x", std::nullopt}, Case{"0 1", std::nullopt},
                          Case{"", std::nullopt}, Case{" , ", std::nullopt}}) {
        EXPECT_EQ(answers::choices(c.answer, 3), c.picked) << c.answer;
    }
    EXPECT_EQ(answers::choice("2", 2), 1u);
    EXPECT_EQ(answers::choice("0", 2), std::nullopt);
}

TEST(TextPort, PickListsTellNoneFromClosedAndAskAgainOnAMistypedAnswer) {
    test::ScriptedPort port;
    port.then("0").then("").thenClose().then("yes").then("3").then("1").then("x").then("2");
    EXPECT_EQ(port.pickFacts("c", {"a", "b", "c"}), std::vector<std::size_t>{});
    EXPECT_EQ(port.pickFacts("c", {"a", "b", "c"}), std::nullopt);
    EXPECT_EQ(port.pickFacts("c", {"a", "b", "c"}), std::nullopt);
    EXPECT_EQ(port.pickFacts("c", {"a", "b"}), (std::vector<std::size_t>{0}));   // after "yes" and "3"
    EXPECT_EQ(port.pickFact("c", {"a", "b"}), 1u);
    EXPECT_EQ(port.ofKind("?").size(), 3u);
    EXPECT_EQ(port.pending(), 0u);
    EXPECT_EQ(port.ofKind("?").front().title,
              "item numbers 1 to 2 separated by blanks or commas, 0 for none, end, or an empty line to close");
    EXPECT_EQ(port.ofKind("?").back().title, "an item number 1 to 2, end, or an empty line to close");
}

TEST(TextPort, EndAnsweredNoReturnsToTheDialog) {
    test::ScriptedPort port;
    port.then("end").then("Attention!", "no").then("2");
    EXPECT_EQ(port.pickFact("Pick one", {"a", "b"}), 1u);
    auto titles = port.titles();
    EXPECT_EQ(titles, (std::vector<std::string>{"Pick a fact", "Attention!", "Pick a fact"}));
    EXPECT_EQ(port.calls()[1].text, "Do you really wish to close the program?");
}

TEST(TextPort, EndConfirmedEndsTheProgram) {
    test::ScriptedPort port;
    port.then("end").then("yes");
    EXPECT_THROW(port.argumentValue("x"), EndProgram);
    EXPECT_EQ(port.calls()[1].text, "Do you really wich to close the program?");
}

TEST(TextPort, ClosedBoxesCountAsNoCancelOrNoChoice) {
    test::ScriptedPort port;
    port.thenClose().thenClose().thenClose().thenClose().thenClose();
    EXPECT_EQ(port.yesNo("Choose:", "?"), kNo);
    EXPECT_EQ(port.ask("Q", "?", {"&YES", "&NO", "&WHY?"}), 2);
    EXPECT_EQ(port.openFile({"Load", "*.AEB", {}, "/tmp"}), "");
    EXPECT_EQ(port.pickFact("c", {"a"}), std::nullopt);
    EXPECT_EQ(port.levelOfDetail(), 1);  // the preselected button
}

TEST(TextPort, ClosingARadioDialogCancelsOnlyWhereCancellingIsDefined) {
    test::ScriptedPort port;
    port.then("").then("").then("  ").thenClose().then("2");
    EXPECT_EQ(port.typeOfHypothesis(), kRadioClosed);
    EXPECT_EQ(port.factDeclarationMode(), kRadioClosed);
    EXPECT_EQ(port.levelOfDetail(), 1);
    EXPECT_EQ(port.typeOfHypothesis(), kRadioClosed);
    EXPECT_EQ(port.factDeclarationMode(), 2);
}

TEST(DefaultSuffix, ATypedNameWithoutExtensionGetsTheDialogsOne) {
    const FileDialog report{"Saving Report File", "*.RPT", {{"Report Files (*.RPT)", "*.RPT"}}, "/kb"};
    const FileDialog byFilter{"Declare", "", {{"Summary (*.txt)", "*.txt"}}, "/kb"};
    const FileDialog rules{"Declare name of new Rule Base", "RU*.AEB", {}, "/kb"};
    const FileDialog any{"Save as", "*.*", {{"*.*", "*.*"}}, "/kb"};
    struct Case { const char* typed; const FileDialog* dialog; const char* expected; };
    for (const Case& c : {Case{"/kb/report1", &report, "/kb/report1.RPT"},
                          Case{"/kb/report1.RPT", &report, "/kb/report1.RPT"},
                          Case{"/kb/report1.rpt", &report, "/kb/report1.rpt"},
                          Case{"/kb/report1.txt", &report, "/kb/report1.txt"},   // the user's own choice
                          Case{"/kb.d/report1", &report, "/kb.d/report1.RPT"},   // a dot in a folder is no extension
                          Case{"/kb/visit", &byFilter, "/kb/visit.txt"},
                          Case{"/kb/RUcar", &rules, "/kb/RUcar.AEB"},
                          Case{"/kb/notes", &any, "/kb/notes"},
                          Case{"/kb/", &report, "/kb/"}}) {
        EXPECT_EQ(withDefaultSuffix(c.typed, *c.dialog), c.expected) << c.typed;
    }
}

TEST(TextPort, SaveDialogAddsTheExtensionToATypedName) {
    test::ScriptedPort port;
    port.then("report1").then("");
    const FileDialog d{"Saving Report File", "*.RPT", {{"Report Files (*.RPT)", "*.RPT"}}, "/kb"};
    EXPECT_EQ(port.saveFile(d), "/kb/report1.RPT");
    EXPECT_EQ(port.saveFile(d), "");   // cancelled stays empty
}

TEST(TextPort, TypedPathsResolveAgainstTheDialogDirectory) {
    test::ScriptedPort port;
    port.then("sub/RUx.AEB").then("/abs/RUy.AEB");
    EXPECT_EQ(port.openFile({"Load", "*.AEB", {}, "/kb/BASES"}), "/kb/BASES/sub/RUx.AEB");
    EXPECT_EQ(port.openFile({"Load", "*.AEB", {}, "/kb/BASES"}), "/abs/RUy.AEB");
}

TEST(TextPort, AnUnrecognisedAnswerIsAskedAgainWithTheAcceptedAnswers) {
    struct Case {
        const char* dialog;
        std::function<int(UserPort&)> run;  // the result as a number
        const char* accepted;
        int result;
        bool emptyTaken;  // an empty line closes the dialog: one rejection only
    };
    const Case cases[] = {
        {"yes/no", [](UserPort& p) { return p.yesNo("Choose:", "?"); }, "1, 2, yes, y, no, n", kYes, false},
        {"ask", [](UserPort& p) { return p.ask("Q", "?", {"&YES", "&NO", "&WHY?"}); },
         "1, 2, 3, yes, y, no, n, why", kYes, false},
        {"radio", [](UserPort& p) { return p.levelOfDetail(); },
         "a number from 1 to 2, or an empty line for the preselected one", 1, true},
        {"radio", [](UserPort& p) { return p.typeOfHypothesis(); }, "a number from 1 to 2, or an empty line to close",
         kRadioClosed, true},
        {"pick one", [](UserPort& p) { return static_cast<int>(p.pickMediaFile(UserPort::MediaKind::Advice, "AD",
                                                                              {"a", "b"}).has_value()); },
         "an item number 1 to 2, or an empty line to close", 0, true},
    };
    for (const auto& c : cases) {
        test::ScriptedPort port;
        port.then("maybe").then("").then("1");
        const int got = c.run(port);
        if (c.emptyTaken) {
            if (c.result) {
                EXPECT_EQ(got, c.result) << c.dialog;
            }
            EXPECT_EQ(port.calls().size(), 2u) << c.dialog;
            EXPECT_EQ(port.pending(), 1u) << c.dialog;
        } else {
            EXPECT_EQ(got, c.result) << c.dialog;
            ASSERT_EQ(port.calls().size(), 3u) << c.dialog;
            EXPECT_EQ(port.pending(), 0u) << c.dialog;
        }
        EXPECT_EQ(port.calls()[0].kind, c.dialog);
        EXPECT_EQ(port.calls()[1].kind, "?");
        EXPECT_EQ(port.calls()[1].title, c.accepted) << c.dialog;
    }
}

TEST(TextPort, SavingOverAnExistingFileAsksAndDefaultsToNo) {
    test::TempDir dir;
    const auto old = dir.write("RUw.AEB", "rule");
    const FileDialog d{"Saving Report File", "*.RPT", {}, dir.path()};
    struct Case { std::vector<const char*> answers; std::string result; std::size_t questions; };
    for (const auto& c : {Case{{"RUw.AEB", "yes"}, old.string(), 1}, Case{{"RUw.AEB", "no", "new.RPT"},
                          (dir.path() / "new.RPT").string(), 1}, Case{{"RUw.AEB", nullptr, nullptr}, "", 1},
                          Case{{"new.RPT"}, (dir.path() / "new.RPT").string(), 0}}) {
        test::ScriptedPort port;
        for (const char* a : c.answers) a ? port.then(a) : port.thenClose();  // nullptr: end of input
        EXPECT_EQ(port.saveFile(d), c.result);
        ASSERT_EQ(port.ofKind("yes/no").size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(port.last("yes/no").title, "Saving Report File");
            EXPECT_EQ(port.last("yes/no").text, "The file RUw.AEB already exists.\nDo you wish to replace it?");
        }
    }
    // A caller that asks its own question is not asked twice.
    test::ScriptedPort port;
    port.then("RUw.AEB");
    FileDialog own = d;
    own.confirmOverwrite = false;
    EXPECT_EQ(port.saveFile(own), old.string());
    EXPECT_TRUE(port.ofKind("yes/no").empty());
}

// However long the work, the port hears of it about a hundred times, hears
// its end once, and a request to stop holds from then on.
TEST(Progress, ReportsRarelyEndsOnceAndStopsForGood) {
    struct Case {
        std::uint64_t total;
        std::size_t cancelAt;  // 0: never
        std::size_t calls;     // reports including the end
        std::uint64_t stoppedAt;
    };
    for (const Case& c : {Case{1'000'000, 0, 101, 0}, Case{7, 0, 8, 0}, Case{0, 0, 1, 0},
                          Case{1'000'000, 3, 4, 20'000}}) {
        SCOPED_TRACE(c.total);
        test::ScriptedPort port;
        if (c.cancelAt) port.cancelProgress("work", c.cancelAt);
        std::uint64_t stopped = 0;
        {
            Progress p(port, "work", c.total);
            for (std::uint64_t i = 0; i < c.total; ++i)
                if (!p.at(i)) {
                    stopped = i;
                    break;
                }
            if (c.cancelAt) {
                EXPECT_FALSE(p.at(c.total));  // asked again: still stopped
                EXPECT_TRUE(p.stopped());
            }
        }
        EXPECT_EQ(stopped, c.stoppedAt);
        EXPECT_EQ(port.progressCalls().size(), c.calls);
        EXPECT_EQ(port.progressCalls().back(), (test::ScriptedPort::ProgressCall{"work", c.total, c.total}));
    }
}

// Passes over the same range (a chaining run's scans): the port hears of
// the work about a hundred times per length of the range, told where the
// pass is; a stop throws, and holds.
TEST(Progress, PassesReportByWorkDoneAndAStopThrows) {
    test::ScriptedPort port;
    {
        Progress p(port, "scan", 1000);
        for (int pass = 0; pass < 3; ++pass)
            for (std::uint64_t i = 0; i < 500; ++i) p.checkPass(i);
    }
    const auto& calls = port.progressCalls();
    EXPECT_EQ(calls.size(), 151u);   // 1500 steps, one report per 10, and the end
    EXPECT_EQ(calls[50], (test::ScriptedPort::ProgressCall{"scan", 0, 1000}));  // the second pass begins
    EXPECT_TRUE(std::all_of(calls.begin(), calls.end() - 1, [](const auto& x) { return x.done < 500; }));

    port.cancelProgress("scan", 2);
    Progress p(port, "scan", 1000);
    std::uint64_t steps = 0;
    EXPECT_THROW(for (;; ++steps) p.checkPass(steps % 7), Cancelled);
    EXPECT_EQ(steps, 10u);
    EXPECT_THROW(p.check(0), Cancelled);
}

}  // namespace
}  // namespace torv::port
