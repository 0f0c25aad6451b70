// Inspection commands over small bases: which note an empty base part gives,
// what the media pickers list, and which file a picked name reaches.
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::shell {
namespace {

namespace fs = std::filesystem;

// Declines every test offered while a base loads.
class OfferDecliningPort : public test::ScriptedPort {
protected:
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (d.kind == "yes/no" && (d.title == "Choose" || d.title == "Choose:")) return "no";
        return ScriptedPort::answer(d);
    }
};

class Inspection : public testing::Test {
protected:
    Inspection() {
        dir.write("BASES/RUpond.AEB",
                  "rule(1,\"algae\",[\"sunny\",\"still_water\"],1)\n"
                  "rule(2,\"murky\",[\"algae\",\"nfilter\"],1)\n");
        shell.introClosed();
        load(cmd::kRuleBaseLoading, "RUpond.AEB");
    }

    void load(int command, const std::string& file) {
        port.then((dir.path() / "BASES" / file).string());
        ASSERT_TRUE(shell.run(command));
        ASSERT_EQ(port.pending(), 0u);
        port.clearCalls();
    }

    /// Runs a command and returns the one note it showed.
    port::Dialog noteOf(int command) {
        EXPECT_TRUE(shell.run(command));
        EXPECT_EQ(port.calls().size(), 1u);
        port::Dialog note = port.last("note");
        port.clearCalls();
        return note;
    }

    test::TempDir dir;
    OfferDecliningPort port;
    AppState app{port, dir.path() / "BASES"};
    Shell shell{app};
};

TEST_F(Inspection, AModelKindWithoutModelsGivesItsNoteAndOpensNothing) {
    dir.write("BASES/MOpond.AEB", "model_b(7,\"No condition\",\"depth_m\",\"depth_cm\",\"/\",\"100\",1)\n");
    load(cmd::kModelBaseLoading, "MOpond.AEB");
    const std::pair<int, const char*> cases[] = {
        {cmd::kExtendedModels, "The Model Base contains no extended models!"},
        {cmd::kLinearModels, "The Model Base contains no linear models!"},
        {cmd::kPolynomialModels, "The Model Base contains no polynomial models!"},
    };
    for (const auto& [command, text] : cases) {
        const auto note = noteOf(command);
        EXPECT_EQ(note.title, "Attention!") << command;
        EXPECT_EQ(note.text, text) << command;
    }
    port.thenClose();
    EXPECT_TRUE(shell.run(cmd::kBasicModels));
    EXPECT_TRUE(port.ofKind("note").empty());
}

TEST_F(Inspection, ModelCommandsAfterTheStoreWasEmptiedSayThereAreNoModels) {
    dir.write("BASES/MOpond.AEB", "model_b(7,\"No condition\",\"depth_m\",\"depth_cm\",\"/\",\"100\",1)\n");
    load(cmd::kModelBaseLoading, "MOpond.AEB");
    // A cancelled rule-base load empties the store and leaves the menu.
    port.thenClose();
    ASSERT_TRUE(shell.run(cmd::kRuleBaseLoading));
    port.clearCalls();
    EXPECT_EQ(noteOf(cmd::kInspectingAllModels).text, "The Model Base contains no models!");
    EXPECT_EQ(noteOf(cmd::kBasicModels).text, "The Model Base contains no basic models!!");
}

TEST_F(Inspection, AdvicePickerListsAdviceNamesOnceThenNegatedOnes) {
    dir.write("BASES/ADpond.AEB",
              "advice(1,\"b.hlp\")\nnadvice(1,\"a.hlp\")\nadvice(2,\"a.hlp\")\nadvice(3,\"b.hlp\")\n"
              "nadvice(2,\"a.hlp\")\n");
    dir.write("ADVICES/pond/a.hlp", "Skim the surface.\n");
    dir.write("BASES/RUpond.AEB",
              "rule(1,\"algae\",[\"sunny\",\"still_water\"],1)\nrule(2,\"murky\",[\"algae\",\"nfilter\"],1)\n"
              "rule(3,\"green\",[\"algae\"],1)\n");
    load(cmd::kRuleBaseLoading, "RUpond.AEB");
    load(cmd::kAdviceBaseLoading, "ADpond.AEB");
    port.then("Advice file inspection", "3");
    EXPECT_TRUE(shell.run(cmd::kAdviceFileInspection));
    const auto picker = port.last("pick one");
    EXPECT_EQ(picker.items, (std::vector<std::string>{"b.hlp", "a.hlp", "a.hlp"}));
    EXPECT_EQ(picker.prompt, "Advice base: ADpond.AEB\nPick advice file for inspection");
    EXPECT_EQ(port.last("advice").text, "Skim the surface.\n");
}

TEST_F(Inspection, GraphicsPickerListsOnlyPositiveRecordsAndTheChosenFileIsShown) {
    dir.write("BASES/GRpond.AEB", "graphics(1,\"algae.bmp\")\nngraphics(1,\"clear.bmp\")\ngraphics(2,\"algae.bmp\")\n");
    const fs::path bitmap = dir.write("GRAPHICS/pond/ALGAE.BMP", "BM");
    load(cmd::kGraphicsBaseLoading, "GRpond.AEB");
    port.then("Graphics file inspection", "1");
    EXPECT_TRUE(shell.run(cmd::kGraphicsFileInspection));
    EXPECT_EQ(port.last("pick one").items, (std::vector<std::string>{"algae.bmp"}));
    // Found without regard to letter case, as on the file systems bases come from.
    EXPECT_EQ(port.last("graphics").text, bitmap.filename().string());
}

TEST_F(Inspection, AMediaNameThatIsAPathIsRefusedEvenWhenTheStoreHoldsIt) {
    dir.write("BASES/GRpond.AEB", "graphics(1,\"algae.bmp\")\n");
    dir.write("GRAPHICS/pond/algae.bmp", "BM");
    dir.write("secret.bmp", "BM");
    load(cmd::kGraphicsBaseLoading, "GRpond.AEB");
    // Loading refuses such a name; here the store got it some other way.
    app.store.setGraphicsBase({{{1, "../../secret.bmp"}}, {}});
    port.then("Graphics file inspection", "1");
    EXPECT_TRUE(shell.run(cmd::kGraphicsFileInspection));
    EXPECT_TRUE(port.ofKind("graphics").empty());
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_TRUE(port.last("note").text.starts_with("The graphics file ../../secret.bmp is refused!\n"));
}

TEST_F(Inspection, SoundBaseWithOnlyNegatedRecordsHasNoFileToPlay) {
    dir.write("BASES/SOpond.AEB", "nsounds(1,\"calm.wav\")\n");
    dir.write("SOUNDS/pond/calm.wav", "RIFF");
    load(cmd::kSoundBaseLoading, "SOpond.AEB");
    auto note = noteOf(cmd::kSoundFilePlaying);
    EXPECT_EQ(note.text, "No Sound Files for SOpond.AEB.");
    EXPECT_TRUE(app.messages.text().ends_with("\nNo Sound Files for SOpond.AEB.\n"));
    note = noteOf(cmd::kSoundBaseInspection);
    EXPECT_EQ(note.text, "No melody files in the Melody Base !");
}

TEST_F(Inspection, ABaseFileGoneSinceLoadingIsSaidNotShownEmpty) {
    fs::remove(dir.path() / "BASES/RUpond.AEB");
    const auto note = noteOf(cmd::kInspectingAllRules);
    EXPECT_EQ(note.title, "Attention error!");
    EXPECT_EQ(note.text, "The rule base RUpond.AEB has not been read!\nthere is no such file");
}

TEST_F(Inspection, BrowsingKeepsTheKnowledgeBaseName) {
    dir.write("BASES/ADpond.AEB", "advice(1,\"a.hlp\")\n");
    dir.write("ADVICES/pond/a.hlp", "Skim.\n");
    load(cmd::kAdviceBaseLoading, "ADpond.AEB");
    port.then("a.hlp");  // relative to the folder the dialog starts in
    EXPECT_TRUE(shell.run(cmd::kAdviceSubdirectoriesAndFiles));
    EXPECT_EQ(port.last("advice").prompt, "a.hlp");
    EXPECT_EQ(app.store.wyroznik, "pond");
}

}  // namespace
}  // namespace torv::shell
