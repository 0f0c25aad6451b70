// Chaining summaries and the abstract shown before a run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <optional>

#include "kb/file_io.h"
#include "support/chaining_fixture.h"
#include "reports/abstracts.h"
#include "reports/summaries.h"

namespace torv::reports {
namespace {

using Strings = std::vector<std::string>;

class Summaries : public test::ChainingTest {
protected:
    void SetUp() override {
        rules("rule(1,\"z\",[\"a\"],1)\n");
        prepare();
    }
    std::filesystem::path bases() const { return dir.path() / "BASES"; }
};

TEST_F(Summaries, TheFileListsLabelsFactsAndValuesButNoLiterals) {
    auto& s = app.chaining;
    EXPECT_EQ(tekst_podsumowania(s),
              "Labels of summary: \nChaining summary: facts\nChaining summary: argument values\n");
    s.etykieta = {"first", "second"};
    s.rbd.add(0, "a");
    s.rbd.add(1, "z");
    s.zmienna_ustalona = {{"speed", 12.5}, {"2.5", 2.5}, {"tiny", 1e-7}};
    EXPECT_EQ(tekst_podsumowania(s),
              "Labels of summary: \n    first\n    second\nChaining summary: facts\n    a\n    z\n"
              "Chaining summary: argument values\n    speed = 12.5\n    tiny = 1e-07\n");
}

TEST_F(Summaries, AnExistingFileIsOverwrittenOnlyWhenTheUserAgrees) {
    dir.write("BASES/old.txt", "old");
    port.then("Chaining summary", "yes")
        .then("Declare name of new summary file", "old.txt")
        .then("Summary", "yes");
    podsumowanie(app);
    EXPECT_EQ(test::readFile(bases() / "old.txt"), tekst_podsumowania(app.chaining));
    EXPECT_EQ(port.titles(), (Strings{"Chaining summary", "Declare name of new summary file", "Summary", "",
                                      "Summary"}));
    EXPECT_EQ(port.calls().at(2).text, "A summary with proposed name old.txtalready exists!\nDo you wish to overwrite it?");
    EXPECT_EQ(port.calls().at(3).text, "The existing summary  old.txt\nhas been deleted!");
    EXPECT_EQ(port.calls().at(4).text, " Summary old.txt has been saved.");
    EXPECT_EQ(app.messages.text(), "\n Summary old.txt has been saved.\n");
}

TEST_F(Summaries, AFailedWriteIsReportedAndKeepsWhatWasThere) {
    dir.write("BASES/old.txt", "old");
    dir.mkdir("BASES/sub.txt");   // a directory where the file should go
    struct Case { const char* typed; bool fullDisk; std::string why; };
    const Case cases[] = {
        {"nodir/x.txt", false, "cannot write " + (bases() / "nodir/x.txt").string() + ": No such file or directory"},
        {"sub.txt", false, (bases() / "sub.txt").string() + " is a directory"},
        {"old.txt", true, "cannot write " + (bases() / "old.txt").string() + ": No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        port.clearCalls();
        port.then("Chaining summary", "yes").then("Declare name of new summary file", c.typed);
        const bool exists = std::filesystem::exists(bases() / c.typed);
        if (exists) port.then("Summary", "yes");
        {
            std::optional<kb::InjectedSaveFault> full;
            if (c.fullDisk) full.emplace(kb::InjectedSaveFault::Step::Write, ENOSPC);
            podsumowanie(app);
        }
        Strings titles{"Chaining summary", "Declare name of new summary file"};
        if (exists) titles.push_back("Summary");
        titles.push_back("Attention error!");
        EXPECT_EQ(port.titles(), titles);
        const std::string shown = std::filesystem::path(c.typed).filename().string();
        EXPECT_EQ(port.last("note").text, "Summary " + shown + " has not been saved!\n" + c.why);
        EXPECT_EQ(port.pending(), 0u);
    }
    EXPECT_EQ(test::readFile(bases() / "old.txt"), "old");
    EXPECT_TRUE(std::filesystem::is_directory(bases() / "sub.txt"));
}

TEST_F(Summaries, ReadingRefusesWhatIsNotASummaryFile) {
    port.then("/dev/zero");
    czytanie_podsumowania(app);
    EXPECT_EQ(port.last("note").text, "Summary zero has not been read!\n/dev/zero is not a regular file");
    EXPECT_EQ(port.titles(), (Strings{"Summary Report to be inspected", "Attention error!"}));
}

TEST_F(Summaries, TheAbstractIsShownOnlyWhenItsFileExists) {
    czytaj_opis(app);
    EXPECT_TRUE(port.calls().empty());
    dir.write("ABSTRACTS/KB.ABS", "About this base.\n");   // found without regard to case
    czytaj_opis(app);
    auto d = port.last("abstract");
    EXPECT_EQ(d.title, "Abstract inspection");
    EXPECT_EQ(d.prompt, "Inspecting the abstract KB");
    EXPECT_EQ(d.text, "About this base.\n");
}

TEST_F(Summaries, AnAbstractThatIsADeviceOrAPipeIsRefusedWithANote) {
    const std::filesystem::path abs = dir.mkdir("ABSTRACTS") / "kb.abs";
    for (bool pipe : {false, true}) {
        std::filesystem::remove(abs);
        if (pipe) ASSERT_EQ(::mkfifo(abs.c_str(), 0600), 0);
        else std::filesystem::create_symlink("/dev/zero", abs);
        port.clearCalls();
        czytaj_opis(app);
        EXPECT_EQ(port.titles(), (Strings{"Attention error!"}));
        EXPECT_EQ(port.last("note").text, "The abstract has not been read!\n" + abs.string() + " is not a regular file");
    }
}

}  // namespace
}  // namespace torv::reports
