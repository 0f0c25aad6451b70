// Askable conditions and arguments files: the sections for each set of
// loaded bases, byte for byte, and the create, read and delete commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "port/message_window.h"
#include "reports/askables_file.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::reports {
namespace {

namespace fs = std::filesystem;

AskablesSources bases(bool model, bool constraint) {
    AskablesSources s;
    s.ruleBase = "RUgarden.AEB";
    if (model) s.modelBase = "MOgarden.AEB";
    if (constraint) s.constraintBase = "COgarden.AEB";
    s.lista_warunkow_dopytywalnych = {"dry", "rain", "sun", "warm"};
    s.lista_wszystkich_dopytywalnych_dla_wyswietlania = {"dry", "rain", "sun"};
    s.lista_argumentow_dopytywalnych = {"depth", "shade", "speed", "speed"};
    if (constraint) s.constraints = {{1, {"rain", "sun", "snow"}}, {2, {"shade", "light"}}, {3, {"frost"}}};
    return s;
}

TEST(AskablesFileText, EachSetOfLoadedBasesHasItsSections) {
    struct Case {
        const char* name;
        bool model, constraint;
        std::string want;
    };
    const Case cases[] = {
        {"rule base only", false, false,
         "Non-exclusive Askable Conditions for Rule Base RUgarden.AEB\n   dry\n   rain\n   sun\n   warm\n\n"},
        {"rule and model base", true, false,
         "Non-exclusive Askable Conditions for Rule Base RUgarden.AEB\nand Model Base MOgarden.AEB\n"
         "   dry\n   rain\n   sun\n\n"
         "Askable Arguments for Model Base MOgarden.AEB\n   depth\n   shade\n   speed\n"},
        // Constraint members only on their '#' line; the constraint holding
        // two askables once.
        {"rule and constraint base", false, true,
         "Non-exclusive Askable Conditions for Rule Base RUgarden.AEB\n   dry\n   warm\n"
         "Non-exclusive Askable Conditions for Rule Base  RUgarden.AEB\n   rain#   sun#   snow#\n\n"},
        {"all three", true, true,
         "Non-exclusive Askable Conditions for Rule Base RUgarden.AEB\nand Model Base MOgarden.AEB\n   dry\n"
         "Non-exclusive Askable Conditions for Rule Base  RUgarden.AEB\n   rain#   sun#   snow#\n"
         "Non-exclusive Askable Conditions for Model Base MOgarden.AEB\n   shade#   light#\n"
         "Askable Arguments for Model Base MOgarden.AEB\n   depth\n   speed\n"},
    };
    for (const auto& c : cases) {
        const auto s = bases(c.model, c.constraint);
        EXPECT_EQ(tekst_pliku_dopytywalnych(s, zbierz_dopytywalne(s)), c.want) << c.name;
    }
}

TEST(AskablesFileText, AConditionInTwoConstraintsRecordsBoth) {
    auto s = bases(false, true);
    s.constraints = {{4, {"warm", "rain"}}, {1, {"rain", "sun"}}};
    const auto r = zbierz_dopytywalne(s);
    EXPECT_EQ(r.numer_ograniczenia_dla_bazy_regul, (std::vector<std::int32_t>{4, 1}));
    EXPECT_EQ(r.war_dopyt_bez_modeli, std::vector<std::string>{"dry"});
}

class AskablesFileCommands : public ::testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPort port;
    port::MessageWindow messages;
    const std::string kOverwrite = "Overwrite existing Askable Conditions and Arguments File";
    const std::string kName = "Load Askable Conditions and Arguments file";

    void create(const AskablesSources& s) { zachowaj(port, messages, dir.path(), s); }
};

TEST_F(AskablesFileCommands, CreatingWritesTheFileInTheOldCodePage) {
    struct Case { const char* condition; const char* written; };
    const Case cases[] = {
        {"\xC5\xBAr\xC3\xB3\x64\xC5\x82o", "\x9Fr\xF3\x64\xB3o"},   // źródło in UTF-8
        {"\xE6\xB0\xB4", "\xE6\xB0\xB4"},   // a letter the code page cannot hold stays UTF-8
    };
    for (const Case& c : cases) {
        auto s = bases(false, false);
        s.lista_warunkow_dopytywalnych = {c.condition};
        port.then(kName, "askables.txt");
        create(s);
        EXPECT_EQ(test::readFile(dir.path() / "askables.txt"),
                  "Non-exclusive Askable Conditions for Rule Base RUgarden.AEB\n   " + std::string(c.written) + "\n\n");
        const auto note = port.last("note");
        EXPECT_EQ(note.title, "Creating new Askable Conditions and Arguments File");
        EXPECT_EQ(note.text, "New Askable Conditions and Arguments File " + (dir.path() / "askables.txt").string() +
                                 " has been created.");
        EXPECT_EQ(port.pending(), 0u);
        std::filesystem::remove(dir.path() / "askables.txt");
    }
}

TEST_F(AskablesFileCommands, DecliningTheOverwriteAsksForTheNameAgain) {
    dir.write("old.txt", "old contents");
    port.then(kName, "old.txt").then(kOverwrite, "no").then(kName, "old.txt").then(kOverwrite, "yes");
    create(bases(false, false));
    EXPECT_EQ(messages.text(), "       No\n");
    EXPECT_EQ(port.titles(), (std::vector<std::string>{kName, kOverwrite, kName, kOverwrite, "",
                                                       "Creating new Askable Conditions and Arguments File"}));
    const std::string old = (dir.path() / "old.txt").string();
    EXPECT_EQ(port.calls()[1].text, "An Askable Conditions and Arguments File named:  " + old +
                                        "already exists! . Do you wish to overwrite it with new contents?");
    EXPECT_EQ(port.calls()[4].text, "Existing Askable Conditions and Arguments File " + old + " has been overwritten.");
    EXPECT_NE(test::readFile(dir.path() / "old.txt"), "old contents");
}

TEST_F(AskablesFileCommands, ACancelledNameOrAFailedWriteCreatesNothing) {
    port.thenClose();
    create(bases(false, false));
    EXPECT_TRUE(port.ofKind("note").empty());

    dir.mkdir("folder.txt");
    port.then(kName, "folder.txt").then(kOverwrite, "yes");
    create(bases(false, false));
    const auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].title, "Attention error!");
    const std::string why = "Askable Conditions and Arguments File " + (dir.path() / "folder.txt").string() +
                            " has not been created.\n";
    EXPECT_EQ(notes[0].text.rfind(why, 0), 0u) << notes[0].text;
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder.txt"));
}

TEST_F(AskablesFileCommands, ReadingShowsTheFileAsText) {
    dir.write("a.txt", "Non-exclusive\n   x#");
    port.then("Pick the file to be inspected", "a.txt");
    czytanie_pliku_dopytywalnych(port, messages, dir.path());
    port.then("Pick the file to be inspected", "missing.txt");
    czytanie_pliku_dopytywalnych(port, messages, dir.path());
    const auto shown = port.ofKind("text view");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Inspection of Askable Conditions and Arguments File a.txt");
    EXPECT_EQ(shown[0].text, "Non-exclusive\n   x#");
    EXPECT_EQ(port.last("note").title, "Attention error!");
}

TEST_F(AskablesFileCommands, DeletingAsksFirstAndRefusesADirectory) {
    dir.write("a.txt", "x");
    dir.mkdir("d.txt");
    const std::string pick = "Pick the file to be deleted";
    const std::string confirm = "Deleting the Askable Conditions and Arguments File";
    port.then(pick, "a.txt").then(confirm, "no");
    usuwanie_pliku_dopytywalnych(port, messages, dir.path());
    EXPECT_TRUE(fs::exists(dir.path() / "a.txt"));
    EXPECT_EQ(port.calls().back().text, "Do you really wish to delete the Askable Conditions and Arguments File  a.txt ?");

    port.then(pick, "a.txt").then(confirm, "yes").then(pick, "d.txt").then(confirm, "yes");
    usuwanie_pliku_dopytywalnych(port, messages, dir.path());
    usuwanie_pliku_dopytywalnych(port, messages, dir.path());
    EXPECT_FALSE(fs::exists(dir.path() / "a.txt"));
    EXPECT_TRUE(fs::exists(dir.path() / "d.txt"));
    const auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].title, "Attention!");
    EXPECT_EQ(notes[0].text, "Askable conditions and arguments file a.txt has been deleted.");
    EXPECT_EQ(notes[1].title, "Attention error!");
}

}  // namespace
}  // namespace torv::reports
