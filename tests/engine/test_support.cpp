// Questions, presentations, the exclusivity check, offers and labels.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "engine/support.h"
#include "kb/file_io.h"
#include "support/chaining_fixture.h"

namespace torv::engine {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class Support : public test::ChainingTest {
protected:
    void SetUp() override {
        rules(
            "rule(1,\"z\",[\"a\",\"nb\",\"c\",\"d\"],1)\n"
            "rule(2,\"y\",[\"z\"],1)\n"
            "rule(3,\"w\",[\"e\"],0)\n");
    }
};

TEST_F(Support, AQuestionIsWrittenPaddedAndItsAnswerRecorded) {
    prepare();
    port.then("Is the condition true?", "yes").then("no").thenClose().then("no");
    EXPECT_EQ(pytaj_o_warunek(app, "a"), 'y');
    EXPECT_EQ(pytaj_o_warunek(app, "c"), 'n');
    EXPECT_EQ(pytaj_o_warunek(app, "d"), 'n');   // closed without an answer
    EXPECT_EQ(pytaj_o_warunek(app, "nb"), 'n');
    const std::string pad(53, ' ');
    // A negated condition answered "no" is written with two blanks, a positive one with four.
    EXPECT_EQ(report(), "a?" + pad + "  YES\nc?" + pad + "    NO\nd?" + pad + "    NO\nnb?" +
                            std::string(52, ' ') + "  NO\n");
    EXPECT_EQ(app.messages.text(), report());
    EXPECT_EQ(rbd(), (Strings{"0:a", "0:nc", "0:nd", "0:b"}));
    EXPECT_EQ(port.calls().at(0).text, "a?");
    EXPECT_EQ(port.calls().at(3).text, "nb?");
    // Decided conditions are not asked again.
    EXPECT_EQ(pytaj_o_warunek(app, "na"), 'n');
    EXPECT_EQ(port.calls().size(), 4u);
}

TEST_F(Support, AConstraintMemberIsAskedByPickingTheTrueCondition) {
    constraints("constraint(4,[\"c\",\"d\"])\n");
    struct Case {
        const char* asked;
        const char* pick;   // 1 = c, 2 = d
        char answer;
        Strings recorded;
    };
    for (const Case& t : {Case{"c", "2", 'n', {"0:d", "0:nc"}}, Case{"c", "1", 'y', {"0:c", "0:nd"}},
                          Case{"nc", "1", 'n', {"0:c", "0:nd"}}, Case{"nc", "2", 'y', {"0:d", "0:nc"}},
                          Case{"d", "", 'n', {"0:nd"}}}) {
        prepare();
        port.clearCalls();
        if (*t.pick) port.then("Pick a fact", t.pick);
        else port.thenClose();
        EXPECT_EQ(pytaj_o_warunek(app, t.asked), t.answer) << t.asked << " " << t.pick;
        EXPECT_EQ(rbd(), t.recorded) << t.asked << " " << t.pick;
        const auto& d = port.calls().at(0);
        EXPECT_EQ(d.prompt, "Pick the true condition\nOnly one condition in constraint 4 may be true!");
        EXPECT_EQ(d.items, (Strings{"c", "d"}));
        EXPECT_EQ(report(), "");
    }
}

TEST_F(Support, AConstraintPickNeverContradictsWhatIsDecided) {
    constraints("constraint(4,[\"c\",\"d\",\"e\"])\n");
    struct Case {
        const char* what;
        Strings before;
        const char* asked;
        const char* pick;   // nullptr: no dialog expected
        char answer;
        Strings recorded;
    };
    const Case cases[] = {
        {"a member made false by a closed pick stays false", {"0:nc"}, "d", "1", 'n', {"0:nc", "0:nd", "0:ne"}},
        {"a member already true settles the pick", {"0:c"}, "d", nullptr, 'n', {"0:c", "0:nd", "0:ne"}},
        {"a derived true member settles it too", {"5:e"}, "nd", nullptr, 'y', {"5:e", "0:nc", "0:nd"}},
        {"the asked member's own pick is still offered", {"0:nc"}, "d", "2", 'y', {"0:nc", "0:d", "0:ne"}},
    };
    for (const Case& t : cases) {
        prepare();
        port.clearCalls();
        for (const auto& r : t.before) {
            const auto colon = r.find(':');
            app.chaining.rbd.add(std::stoi(r.substr(0, colon)), r.substr(colon + 1));
        }
        if (t.pick) port.then("Pick a fact", t.pick);
        EXPECT_EQ(pytaj_o_warunek(app, t.asked), t.answer) << t.what;
        EXPECT_EQ(rbd(), t.recorded) << t.what;
        EXPECT_EQ(port.calls().size(), t.pick ? 1u : 0u) << t.what;
    }
    // A go-ahead condition of a settled constraint does not hold and is not asked.
    prepare();
    port.clearCalls();
    app.chaining.rbd.add(0, "c");
    EXPECT_FALSE(pytaj_o_warunek_stosowania(app, "e"));
    EXPECT_EQ(rbd(), (Strings{"0:c", "0:nd", "0:ne"}));
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(Support, GoAheadConditions) {
    constraints("constraint(2,[\"g\",\"h\"])\n");
    prepare();
    port.then("Is the go-ahead condition true?", "yes")
        .then("Is the go-ahead condition true?", "no")
        .then("Is the go-ahead condition true??", "no")
        .then("Pick a fact", "2");
    EXPECT_TRUE(pytaj_o_warunek_stosowania(app, "p"));
    EXPECT_FALSE(pytaj_o_warunek_stosowania(app, "q"));
    EXPECT_FALSE(pytaj_o_warunek_stosowania(app, "nr"));
    EXPECT_FALSE(pytaj_o_warunek_stosowania(app, "g"));
    EXPECT_TRUE(pytaj_o_warunek_stosowania(app, "ng"));    // decided by the pick
    EXPECT_TRUE(pytaj_o_warunek_stosowania(app, "h"));
    EXPECT_EQ(rbd(), (Strings{"0:p", "0:nq", "0:r", "0:h", "0:ng"}));
    // "no" writes nothing after the question.
    const std::string pad(53, ' ');
    EXPECT_EQ(report(), "p?" + pad + "  YES\nq?" + pad + "nr?" + std::string(52, ' '));
    EXPECT_EQ(port.calls().back().prompt, "Pick the true condition\n Only one condition in the constraint\n   2may be true!");
}

TEST_F(Support, DecidedFactsArePresentedOnceEach) {
    prepare();
    auto& s = app.chaining;
    s.rbd.add(0, "a");
    s.rbd.add(1, "nend");
    s.rbd.add(2, "z");
    s.rbd.add(5, "z");
    s.rbd_wstecz = {"No condition", "k"};
    przedstawienie_faktow(app);
    EXPECT_EQ(report(), "\nFollowing facts have been determined:\n    a\n    z\n    k\n");
    auto m = port.last("message");
    EXPECT_EQ(m.prompt, "Following facts have been determined:");
    EXPECT_EQ(m.text, "    a\n    z\n    k");

    // The next presentation shows only what was decided since.
    s.rbd_wstecz.clear();
    s.rbd.add(0, "c");
    port.clearCalls();
    przedstawienie_faktow(app);
    EXPECT_EQ(port.last("message").text, "    c");
    // Nothing new: the heading only, and no dialog.
    port.clearCalls();
    przedstawienie_faktow(app);
    EXPECT_TRUE(port.calls().empty());
    EXPECT_TRUE(report().ends_with("    c\n\nFollowing facts have been determined:\n"));
}

TEST_F(Support, DeterminedValuesSkipLiterals) {
    prepare();
    app.chaining.zmienna_ustalona = {{"speed", 12.5}, {"10", 10.0}, {"2.50", 2.5}, {"7", 8.0}, {"big", 1234567.0}};
    przedstawienie_zmiennych(app);
    EXPECT_EQ(report(),
              "Following values of arguments have been determined:\n    speed=12.5\n    7=8\n    big=1.23457e+06\n\n");
    EXPECT_EQ(port.last("message").text, "    speed=12.5\n    7=8\n    big=1.23457e+06");
}

TEST_F(Support, TheBasesOwnFactsAndValuesArePresented) {
    rules("rule(1,\"z\",[\"a\",\"b\"],1)\nfact(\"a\")\n");
    models("model_b(1,\"b\",\"v\",\"w\",\"+\",\"1\",1)\nm_fact(\"b\")\nargument_known(\"w\",0.5)\n");
    prepare();
    przedstawienie_faktow_pierwotnych(app);
    przedstawienie_m_faktow_pierwotnych(app);
    przedstawienie_zmiennych_pierwotnych(app);
    EXPECT_EQ(report(),
              "The rule base contains following facts:\n    a\n"
              "The model base contains following m_facts:\n    b\n"
              "The model base contains values of the following askable arguments:\n    w=0.5\n\n");
    auto messages = port.ofKind("message");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].prompt, "The rule base contains following facts:");
    EXPECT_EQ(messages[1].prompt, "The model base contains following m_facts");
    EXPECT_EQ(messages[2].prompt, "The model base contains values of the following askable arguments:");
    EXPECT_EQ(messages[2].text, "    w=0.5");
}

class Offers : public test::ChainingTest {
protected:
    void SetUp() override {
        rules(
            "rule(1,\"z\",[\"a\"],1)\n"
            "rule(2,\"y\",[\"a\"],0)\n"
            "rule(3,\"nq\",[\"a\"],1)\n");
        models("model_b(8,\"No condition\",\"r\",\"x\",\">\",\"1\",0)\n");
        base(kb::BaseKind::Advice, "ADkb.AEB",
             "advice(1,\"z.hlp\")\nnadvice(1,\"nz.hlp\")\nadvice(2,\"z.hlp\")\nadvice(3,\"z.hlp\")\n"
             "advice(8,\"r.hlp\")\nnadvice(8,\"gone.hlp\")\n");
        base(kb::BaseKind::Graphics, "GRkb.AEB", "graphics(1,\"z.bmp\")\nngraphics(8,\"gone.bmp\")\n");
        base(kb::BaseKind::Sound, "SOkb.AEB", "sounds(1,\"z.wav\")\nnsounds(1,\"Z.WAV\")\n");
        dir.write("ADVICES/kb/z.hlp", "Check the fuse.\n");
        dir.write("ADVICES/kb/nz.hlp", "All is well.");
        dir.write("ADVICES/kb/r.hlp", "High.");
        dir.write("GRAPHICS/kb/z.bmp", "BM");
        dir.write("SOUNDS/kb/z.wav", "RIFF");
        prepare();
    }
    void offer(int numer, const std::string& w) {
        udziel_rady(app, numer, w);
        wyswietl_grafike(app, numer, w);
        przesluchaj_melodie(app, numer, w);
    }
};

TEST_F(Offers, TheNegationUsesTheNegativeRecordsAndAFileFoundWithoutRegardToCase) {
    port.then("yes").then("yes");
    offer(1, "nz");
    EXPECT_EQ(port.titles(), (Strings{"Choose:", "Advice file inspection", "Choose:", "z.wav"}));
    EXPECT_EQ(port.calls().at(1).text, "All is well.");
}

TEST_F(Offers, RelationalModelsAreOfferedWhateverTheirSemaphore) {
    port.then("no").then("yes").then("yes");
    offer(8, "r");
    offer(8, "nr");   // the picture does not exist: nothing is shown
    EXPECT_EQ(port.titles(), (Strings{"Choose:", "Choose:", "Choose:"}));
    EXPECT_EQ(app.messages.text(), " Do you wish to be advised?      NO\n\n Do you wish to be advised?      NO\n\n");
}

TEST_F(Offers, NothingIsOfferedWithoutARecordOrForASilentRule) {
    offer(2, "y");    // semaphore 0
    offer(3, "nq");   // the conclusion as written is negated
    offer(3, "q");
    offer(1, "q");    // not rule 1's conclusion
    EXPECT_TRUE(port.calls().empty());
}

TEST_F(Offers, AnAdviceFileThatIsNotASaneFileIsRefusedWithANote) {
    const fs::path z = dir.path() / "ADVICES/kb/z.hlp";
    const std::uintmax_t huge = 3ull << 30;  // sparse: no disk is used
    struct Case { std::function<void()> make; std::string why; };
    const Case cases[] = {
        {[&] { ASSERT_EQ(::mkfifo(z.c_str(), 0600), 0); }, " is not a regular file"},
        {[&] { fs::create_symlink("/dev/zero", z); }, " is not a regular file"},
        {[&] { dir.write("ADVICES/kb/z.hlp", ""); fs::resize_file(z, huge); },
         " is too large (" + std::to_string(huge) + " bytes; the limit is " + std::to_string(kb::kMaxTextFileBytes) + ")"},
    };
    for (const auto& c : cases) {
        fs::remove(z);
        c.make();
        port.clearCalls();
        port.then("yes");
        udziel_rady(app, 1, "z");
        EXPECT_EQ(port.titles(), (Strings{"Choose:", "Attention error!"}));
        EXPECT_EQ(port.last("note").text, "The advice file has not been read!\n" + z.string() + c.why);
    }
}

TEST_F(Offers, AMediaNameThatIsNotAPlainFileNameIsRefusedBeforeItIsOffered) {
    kb::AdviceBase advice;
    advice.advice.push_back({1, "../../../../etc/passwd"});
    app.store.setAdviceBase(std::move(advice));
    kb::GraphicsBase graphics;
    graphics.graphics.push_back({1, "/etc/z.bmp"});
    app.store.setGraphicsBase(std::move(graphics));
    port.then("no");
    offer(1, "z");
    EXPECT_EQ(port.titles(), (Strings{"Attention error!", "Attention error!", "Choose:"}));
    EXPECT_EQ(port.calls().at(0).text, "The media file name of record 1 is refused: it names a folder");
}

}  // namespace
}  // namespace torv::engine
