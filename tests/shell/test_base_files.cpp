// Creating, deleting and editing base, media and abstract files: cancelled
// dialogs change nothing, existing files are replaced only when the user
// says so, memory follows the table of base kinds, and the editor's saves
// keep the file's bytes and never claim a save that failed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>

#include "kb/file_io.h"
#include "shell/shell.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::shell {
namespace {

namespace fs = std::filesystem;
using test::readFile;

constexpr const char* kModels = "model_b(101,\"No condition\",\"pot_area\",\"pot_diameter\",\"*\",\"pot_diameter\",1)\n";

/// Declines the tests a load offers; keeps the editor sessions it is given
/// instead of editing at once when `keepEditors` is set, as a window does.
class Port : public test::ScriptedPort {
public:
    bool keepEditors = false;
    std::vector<std::shared_ptr<port::EditSession>> editors;
    std::vector<bool> wraps;

    void editFile(std::shared_ptr<port::EditSession> session, bool wrap) override {
        if (!keepEditors) return ScriptedPort::editFile(std::move(session), wrap);
        editors.push_back(std::move(session));
        wraps.push_back(wrap);
    }

    std::vector<port::Dialog> notes() const { return ofKind("note"); }

protected:
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (d.kind == "yes/no" && (d.title == "Choose" || d.title == "Choose:")) return "no";
        return ScriptedPort::answer(d);
    }
};

class BaseFiles : public testing::Test {
protected:
    BaseFiles() {
        fs::copy(fs::path(TORVAE_EXAMPLES_DIR) / "garden", dir.path(), fs::copy_options::recursive);
        dir.write("BASES/MOgarden.AEB", kModels);
        shell.introClosed();
    }

    fs::path bases() const { return dir.path() / "BASES"; }

    void loadAll() {
        using namespace cmd;
        const std::pair<int, const char*> loads[] = {
            {kRuleBaseLoading, "RUgarden.AEB"},  {kModelBaseLoading, "MOgarden.AEB"},
            {kConstraintBaseLoading, "COgarden.AEB"}, {kAdviceBaseLoading, "ADgarden.AEB"},
            {kGraphicsBaseLoading, "GRgarden.AEB"}, {kSoundBaseLoading, "SOgarden.AEB"}};
        for (const auto& [command, file] : loads) {
            port.then((bases() / file).string());
            ASSERT_TRUE(shell.run(command)) << file;
        }
        port.clearCalls();
        ASSERT_TRUE(app.store.nazwa_me.has_value());
    }

    /// The names of the loaded bases and their record counts.
    std::string memory() const {
        const kb::Store& s = app.store;
        std::string out;
        for (const auto* n : {&s.nazwa_re, &s.nazwa_mo, &s.nazwa_og, &s.nazwa_ra, &s.nazwa_gr, &s.nazwa_me})
            out += n->value_or("-") + ",";
        out += std::to_string(s.rules().size()) + "," + std::to_string(s.modelBase().model_b.size()) + "," +
               std::to_string(s.constraints().size()) + "," + std::to_string(s.adviceBase().advice.size()) + "," +
               std::to_string(s.graphicsBase().graphics.size()) + "," + std::to_string(s.soundBase().sounds.size());
        return out;
    }

    /// Every file under the knowledge base with its bytes.
    std::map<fs::path, std::string> files() const {
        std::map<fs::path, std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            out[e.path()] = e.is_regular_file() ? readFile(e.path()) : "<dir>";
        return out;
    }

    test::TempDir dir;
    Port port;
    AppState app{port, dir.path() / "BASES"};
    Shell shell{app};
};

const int kFileCommands[] = {
    cmd::kRuleBaseEditing,       cmd::kRuleBaseCreating,       cmd::kRuleBaseDeleting,
    cmd::kModelBaseEditing,      cmd::kModelBaseCreating,      cmd::kModelBaseDeleting,
    cmd::kConstraintBaseEditing, cmd::kConstraintBaseCreating, cmd::kConstraintBaseDeleting,
    cmd::kAdviceBaseEditing,     cmd::kAdviceBaseCreating,     cmd::kAdviceBaseDeleting,
    cmd::kGraphicsBaseEditing,   cmd::kGraphicsBaseCreating,   cmd::kGraphicsBaseDeleting,
    cmd::kSoundBaseEditing,      cmd::kSoundBaseCreating,      cmd::kSoundBaseDeleting,
    cmd::kAdviceFileCreating,    cmd::kAdviceFileDeleting,     cmd::kGraphicsFileDeleting,
    cmd::kSoundFileDeleting,     cmd::kAbstractEditing,        cmd::kAbstractCreating,
    cmd::kAbstractDeleting,      cmd::kAdviceSubdirectoryCreating, cmd::kGraphicsSubdirectoriesCreating,
    cmd::kSoundSubdirectoryCreating};

class EachFileCommand : public BaseFiles, public testing::WithParamInterface<int> {};

TEST_P(EachFileCommand, CancellingItsDialogChangesNeitherFilesNorMemory) {
    loadAll();
    const auto before = files();
    const std::string remembered = memory();
    port.thenClose();
    ASSERT_TRUE(shell.run(GetParam()));
    EXPECT_EQ(port.calls().size(), 1u) << "only the file dialog";
    EXPECT_EQ(files(), before);
    EXPECT_EQ(memory(), remembered);
}

INSTANTIATE_TEST_SUITE_P(Commands, EachFileCommand, testing::ValuesIn(kFileCommands));

// ---- creating ----

struct CreateCase {
    int command;
    const char* file;               // relative to BASES
    std::string memoryAfter;        // memory() once created, garden loaded
    friend void PrintTo(const CreateCase& c, std::ostream* os) { *os << c.command; }
};

class Creating : public BaseFiles, public testing::WithParamInterface<CreateCase> {};

TEST_P(Creating, AnExistingFileIsReplacedOnlyWhenTheUserSaysSo) {
    const fs::path file = bases() / GetParam().file;
    dir.write(fs::relative(file, dir.path()), "keep me\n");
    port.then(file.string()).then("no").thenClose();
    ASSERT_TRUE(shell.run(GetParam().command));
    EXPECT_EQ(port.last("yes/no").text, "The file " + file.filename().string() +
                                            " already exists.\nDo you wish to replace it?");
    EXPECT_EQ(readFile(file), "keep me\n");
    EXPECT_TRUE(port.notes().empty());

    port.then(file.string()).then("yes").then("no");
    ASSERT_TRUE(shell.run(GetParam().command));
    EXPECT_EQ(readFile(file), "");
}

TEST_P(Creating, ClearsOnlyItsOwnBaseEvenWhenEditingIsDeclined) {
    loadAll();
    port.then((bases() / GetParam().file).string()).then("no");
    ASSERT_TRUE(shell.run(GetParam().command));
    EXPECT_TRUE(fs::exists(bases() / GetParam().file));
    EXPECT_EQ(memory(), GetParam().memoryAfter);
    EXPECT_EQ(port.pending(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Creating,
    testing::Values(
        CreateCase{cmd::kRuleBaseCreating, "RUnew.AEB", "-,MOgarden.AEB,COgarden.AEB,ADgarden.AEB,GRgarden.AEB,SOgarden.AEB,0,1,3,17,10,3"},
        CreateCase{cmd::kModelBaseCreating, "MOnew.AEB", "RUgarden.AEB,-,COgarden.AEB,ADgarden.AEB,GRgarden.AEB,SOgarden.AEB,38,0,3,17,10,3"},
        CreateCase{cmd::kConstraintBaseCreating, "COnew.AEB", "RUgarden.AEB,MOgarden.AEB,COgarden.AEB,ADgarden.AEB,GRgarden.AEB,SOgarden.AEB,38,1,0,17,10,3"},
        CreateCase{cmd::kAdviceBaseCreating, "ADnew.AEB", "RUgarden.AEB,MOgarden.AEB,COgarden.AEB,-,GRgarden.AEB,SOgarden.AEB,38,1,3,0,10,3"},
        CreateCase{cmd::kGraphicsBaseCreating, "GRnew.AEB", "RUgarden.AEB,MOgarden.AEB,COgarden.AEB,ADgarden.AEB,-,SOgarden.AEB,38,1,3,17,0,3"},
        CreateCase{cmd::kSoundBaseCreating, "SOnew.AEB", "RUgarden.AEB,MOgarden.AEB,COgarden.AEB,ADgarden.AEB,GRgarden.AEB,-,38,1,3,17,10,0"}));

TEST_F(BaseFiles, CreatingAFileThatCannotBeWrittenSaysWhyAndClaimsNothing) {
    port.then((dir.path() / "NO" / "RUnew.AEB").string());
    ASSERT_TRUE(shell.run(cmd::kRuleBaseCreating));
    ASSERT_EQ(port.notes().size(), 1u);
    EXPECT_EQ(port.notes()[0].title, "Attention error!");
    EXPECT_EQ(port.notes()[0].text, "File RUnew.AEB has not been created.\ncannot write " +
                                         (dir.path() / "NO" / "RUnew.AEB").string() + ": No such file or directory");
}

// ---- deleting ----

TEST_F(BaseFiles, DeletingARuleBaseFileForgetsTheLoadedRuleBaseWhicheverFileItWas) {
    loadAll();
    const fs::path other = dir.write("BASES/RUother.AEB", "fact(\"x\")\n");
    port.then(other.string()).then("yes");
    ASSERT_TRUE(shell.run(cmd::kRuleBaseDeleting));
    EXPECT_FALSE(fs::exists(other));
    EXPECT_EQ(port.last("note").text, "The Rule Base RUother.AEB has been deleted.");
    EXPECT_FALSE(app.store.nazwa_re.has_value());
    EXPECT_TRUE(app.store.rules().empty());
    EXPECT_TRUE(app.store.facts().empty());
    EXPECT_TRUE(app.store.nazwa_mo.has_value()) << "the other bases stay";
}

TEST_F(BaseFiles, DeletingAnyOtherBaseFileLeavesMemoryAlone) {
    loadAll();
    const std::string remembered = memory();
    for (int command : {cmd::kModelBaseDeleting, cmd::kConstraintBaseDeleting, cmd::kAdviceBaseDeleting,
                        cmd::kGraphicsBaseDeleting, cmd::kSoundBaseDeleting}) {
        const fs::path file = dir.write("BASES/XXdoomed.AEB", "x");
        port.then(file.string()).then("yes");
        ASSERT_TRUE(shell.run(command));
        EXPECT_FALSE(fs::exists(file)) << command;
    }
    EXPECT_EQ(memory(), remembered);
}

TEST_F(BaseFiles, DeletingAskedNoKeepsTheFileAndAFolderOrMissingFileIsNotDeleted) {
    const fs::path file = bases() / "COgarden.AEB";
    const std::string bytes = readFile(file);
    port.then(file.string()).then("no");
    ASSERT_TRUE(shell.run(cmd::kConstraintBaseDeleting));
    EXPECT_EQ(readFile(file), bytes);
    EXPECT_TRUE(port.notes().empty());

    const fs::path folder = dir.mkdir("BASES/COfolder.AEB");
    port.then(folder.string()).then("yes");
    ASSERT_TRUE(shell.run(cmd::kConstraintBaseDeleting));
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(port.last("note").text, "File COfolder.AEB has not been deleted!\nit is a directory");

    port.then((bases() / "COnone.AEB").string()).then("yes");
    ASSERT_TRUE(shell.run(cmd::kConstraintBaseDeleting));
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_EQ(port.last("note").text, "File COnone.AEB has not been deleted!\nthere is no such file");
}

// ---- subdirectories ----

TEST_F(BaseFiles, ASubdirectoryIsAPlainNameInsideItsMediaFolder) {
    port.then("../outside");
    ASSERT_TRUE(shell.run(cmd::kGraphicsSubdirectoriesCreating));
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_FALSE(fs::exists(dir.path() / "outside"));
    for (const char* bad : {"a/b", "..", "x\\y"}) {
        port.then(bad);
        ASSERT_TRUE(shell.run(cmd::kSoundSubdirectoryCreating));
        EXPECT_EQ(port.last("note").title, "Attention error!") << bad;
    }
    port.then("pond");
    ASSERT_TRUE(shell.run(cmd::kAdviceSubdirectoryCreating));
    EXPECT_TRUE(fs::is_directory(dir.path() / "ADVICES" / "pond"));
    EXPECT_EQ(port.last("note").text, "Folder pond has been created.");
    // The media folder itself is made when the knowledge base has none yet.
    fs::remove_all(dir.path() / "SOUNDS");
    port.then("pond");
    ASSERT_TRUE(shell.run(cmd::kSoundSubdirectoryCreating));
    EXPECT_TRUE(fs::is_directory(dir.path() / "SOUNDS" / "pond"));
}

// ---- the editor ----

class Editor : public BaseFiles {
protected:
    Editor() { port.keepEditors = true; }

    /// Opens an editor on `file` through "Rule Base editing" (or the given command).
    port::EditSession& open(const fs::path& file, int command = cmd::kRuleBaseEditing) {
        port.then(file.string()).then("no");
        EXPECT_TRUE(shell.run(command));
        EXPECT_FALSE(port.editors.empty());
        return *port.editors.back();
    }
};

TEST_F(Editor, OpensOnTheFilesTextAndSavesItBackWithItsMessageAndNote) {
    const fs::path file = dir.write("BASES/RUpump.AEB", "fact(\"power\")\n");
    port::EditSession& s = open(file);
    EXPECT_EQ(port.last("yes/no").title, "Wrap/unwrap");
    EXPECT_EQ(port.last("yes/no").text, "Wraping the text?");
    EXPECT_FALSE(port.wraps.back());
    EXPECT_EQ(s.title(), "Editing the file: RUpump.AEB");
    ASSERT_TRUE(s.text().has_value());
    EXPECT_EQ(*s.text(), "fact(\"power\")\n");
    EXPECT_NE(app.messages.text().find("If you wish to edit yet another base or abstract file, click this window!"),
              std::string::npos);

    EXPECT_TRUE(s.save("fact(\"power\")\nfact(\"water\")\n"));
    EXPECT_EQ(readFile(file), "fact(\"power\")\nfact(\"water\")\n");
    EXPECT_EQ(port.last("note").title, "Attention!");
    EXPECT_EQ(port.last("note").text, "File RUpump.AEB has been saved");
    EXPECT_NE(app.messages.text().find("File : " + file.string() + " has been saved"), std::string::npos);
}

TEST_F(Editor, TheCloseQuestionSavesOnYesKeepsTheFileOnNoAndGreysTheInspections) {
    loadAll();
    const fs::path file = bases() / "COgarden.AEB";
    const std::string bytes = readFile(file);
    port::EditSession& s = open(file, cmd::kConstraintBaseEditing);
    port.then("Saving", "no");
    EXPECT_TRUE(s.closeRequested("constraint(9,[\"a\",\"b\"])\n"));
    EXPECT_EQ(port.last("yes/no").text, "Do you wish to save the base ?");
    EXPECT_EQ(readFile(file), bytes);
    for (int id : {cmd::kInspectingSingleRule, cmd::kInspectingAllRules, cmd::kAskableConditions,
                   cmd::kInspectingAllConstraints, cmd::kModelAskables})
        EXPECT_FALSE(app.menu.enabled(id)) << id;

    port.then("Saving", "yes");
    EXPECT_TRUE(s.closeRequested("constraint(9,[\"a\",\"b\"])\n"));
    EXPECT_EQ(readFile(file), "constraint(9,[\"a\",\"b\"])\n");
    EXPECT_EQ(port.last("note").text, "File: COgarden.AEB has been saved.");
    EXPECT_EQ(app.store.constraints().size(), 3u) << "a saved file is not reloaded";

    s.closed();
    EXPECT_FALSE(app.store.nazwa_re.has_value());
    EXPECT_TRUE(app.messages.text().empty()) << "the message window is made afresh";
}

TEST_F(Editor, SaveAsWritesTheChosenFileAndLeavesTheBoundOne) {
    const fs::path file = dir.write("BASES/RUpump.AEB", "fact(\"a\")\r\n");
    port::EditSession& s = open(file);
    port.then(s.title(), "RUcopy.AEB");
    EXPECT_TRUE(s.saveAs("fact(\"b\")\n"));
    EXPECT_EQ(port.last("save file").prompt, "*.*");
    EXPECT_EQ(readFile(bases() / "RUcopy.AEB"), "fact(\"b\")\r\n");
    EXPECT_EQ(readFile(file), "fact(\"a\")\r\n");
    EXPECT_EQ(port.last("note").text, "New base: RUcopy.AEB has been saved.");
    port.thenClose();
    EXPECT_FALSE(s.saveAs("x")) << "a cancelled dialog saves nothing";
}

TEST_F(Editor, SeveralEditorsEachSaveToTheirOwnFile) {
    const fs::path a = dir.write("BASES/RUa.AEB", "fact(\"a\")\n");
    const fs::path b = dir.write("BASES/RUb.AEB", "fact(\"b\")\n");
    port::EditSession& first = open(a);
    port::EditSession& second = open(b);
    EXPECT_TRUE(second.save("fact(\"bb\")\n"));
    EXPECT_TRUE(first.save("fact(\"aa\")\n"));
    EXPECT_EQ(readFile(a), "fact(\"aa\")\n");
    EXPECT_EQ(readFile(b), "fact(\"bb\")\n");
}

TEST_F(Editor, ACodePageFileStaysInItsCodePageAndRefusesWhatItCannotHold) {
    const std::string old = "fact(\"\xBF\xF3\xB3w\")\r\n";   // "żółw" in code page 1250
    const fs::path file = dir.write("BASES/RUturtle.AEB", old);
    port::EditSession& s = open(file);
    ASSERT_TRUE(s.text().has_value());
    EXPECT_EQ(*s.text(), "fact(\"\xC5\xBC\xC3\xB3\xC5\x82w\")\n");
    EXPECT_FALSE(s.save("fact(\"\xD0\xB6\")\n"));   // "ж"
    EXPECT_EQ(readFile(file), old);
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_EQ(port.last("note").text,
              "File RUturtle.AEB has not been saved.\nthe character \xD0\xB6 (U+0436) in line 1, column 7 cannot be "
              "written in the file's code page (Windows-1250)");
    EXPECT_TRUE(s.save(*s.text() + "fact(\"\xC5\xBC\")\n"));
    EXPECT_EQ(readFile(file), old + "fact(\"\xBF\")\r\n");
}

TEST_F(Editor, AFileThatCannotBeReadOffersNothingToSave) {
    const fs::path folder = dir.mkdir("BASES/RUfolder.AEB");
    port::EditSession& s = open(folder);
    EXPECT_FALSE(s.text().has_value());
    EXPECT_EQ(port.last("note").title, "Attention error!");
    EXPECT_FALSE(s.save("x"));
    EXPECT_TRUE(s.closeRequested("x"));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(Editor, TheCheckReadsBaseFilesAsLoadingDoesAndNeverBlocksSaving) {
    const fs::path file = dir.write("BASES/RUpump.AEB", "");
    port::EditSession& s = open(file);
    ASSERT_TRUE(s.checkable());
    EXPECT_EQ(s.check("fact(\"a\")\nfact(\"b\")\n"), std::nullopt);
    const auto fault = s.check("fact(\"a\")\nfact(\"b\"\n");
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(fault->line, 2);
    EXPECT_EQ(fault->position, 9);
    EXPECT_FALSE(fault->message.empty());
    EXPECT_TRUE(s.save("fact(\"a\")\nfact(\"b\"\n"));
    EXPECT_NE(app.messages.text().find("Check of RUpump.AEB: line 2, position 9: " + fault->message),
              std::string::npos);

    port::EditSession& abstract = open(dir.path() / "ABSTRACTS" / "garden.abs", cmd::kAbstractEditing);
    EXPECT_FALSE(abstract.checkable());
    EXPECT_EQ(abstract.check("anything (at all"), std::nullopt);
}

/// Every way the editor saves, failing as a full disk would.
struct FailedSaveCase {
    const char* name;
    bool (*save)(port::EditSession&, test::ScriptedPort&);
    friend void PrintTo(const FailedSaveCase& c, std::ostream* os) { *os << c.name; }
};

class FailedEditorSave : public Editor, public testing::WithParamInterface<FailedSaveCase> {};

TEST_P(FailedEditorSave, KeepsTheOldFileSaysWhyAndKeepsTheWindowOpen) {
    const fs::path file = dir.write("BASES/RUpump.AEB", "fact(\"old\")\n");
    port::EditSession& s = open(file);
    const auto entries = [&] { return std::distance(fs::directory_iterator(bases()), fs::directory_iterator()); };
    const auto before = entries();
    for (auto step : {kb::InjectedSaveFault::Step::Create, kb::InjectedSaveFault::Step::Write,
                      kb::InjectedSaveFault::Step::Sync, kb::InjectedSaveFault::Step::Rename}) {
        port.clearCalls();
        bool saved = true;
        {
            kb::InjectedSaveFault full(step, ENOSPC);
            saved = GetParam().save(s, port);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(readFile(file), "fact(\"old\")\n");
        ASSERT_FALSE(port.notes().empty());
        EXPECT_EQ(port.notes().back().title, "Attention error!");
        EXPECT_NE(port.notes().back().text.find("No space left on device"), std::string::npos);
        for (const auto& n : port.notes()) EXPECT_EQ(n.text.find("has been saved"), std::string::npos);
    }
    EXPECT_EQ(entries(), before) << "no temporary file is left behind";
}

INSTANTIATE_TEST_SUITE_P(
    Ways, FailedEditorSave,
    testing::Values(FailedSaveCase{"Save", [](port::EditSession& s, test::ScriptedPort&) { return s.save("new"); }},
                    FailedSaveCase{"SaveAs",
                                   [](port::EditSession& s, test::ScriptedPort& p) {
                                       p.then(s.file().string()).then("yes");   // replace it
                                       return s.saveAs("new");
                                   }},
                    FailedSaveCase{"CloseQuestion",
                                   [](port::EditSession& s, test::ScriptedPort& p) {
                                       p.then("Saving", "yes");
                                       return s.closeRequested("new");
                                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Editor, ASaveIntoAReadOnlyFolderFailsAndKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const fs::path file = dir.write("BASES/RUpump.AEB", "fact(\"old\")\n");
    port::EditSession& s = open(file);
    ::chmod(bases().c_str(), 0555);
    EXPECT_FALSE(s.save("fact(\"new\")\n"));
    ::chmod(bases().c_str(), 0755);
    EXPECT_EQ(readFile(file), "fact(\"old\")\n");
    EXPECT_NE(port.last("note").text.find("Permission denied"), std::string::npos);
}

}  // namespace
}  // namespace torv::shell
