// The save offer, report inspection and report deleting, driven through the
// scripted port.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "kb/file_io.h"
#include "reports/report_commands.h"
#include "state/app_state.h"
#include "support/fixtures.h"
#include "support/scripted_port.h"

namespace torv::reports {
namespace {

namespace fs = std::filesystem;

/// The scripted port, also keeping what the text form of a box drops: the
/// button labels with their '&' marks and the whole file dialog.
class SpyPort : public test::ScriptedPort {
public:
    std::vector<std::vector<std::string>> buttons;
    std::vector<port::FileDialog> fileDialogs;

    int ask(const std::string& title, const std::string& text, const std::vector<std::string>& b) override {
        buttons.push_back(b);
        return ScriptedPort::ask(title, text, b);
    }
    std::string openFile(const port::FileDialog& d) override {
        fileDialogs.push_back(d);
        return ScriptedPort::openFile(d);
    }
    std::string saveFile(const port::FileDialog& d) override {
        fileDialogs.push_back(d);
        return ScriptedPort::saveFile(d);
    }
};

class ReportCommands : public ::testing::Test {
protected:
    test::TempDir dir;
    SpyPort port;
    AppState app{port, dir.path()};

    std::vector<fs::path> filesInDir() const {
        std::vector<fs::path> out;
        for (const auto& e : fs::directory_iterator(dir.path())) out.push_back(e.path().filename());
        return out;
    }
};

const std::string kQuestion = " Do you wish to save the report?  ";
const std::string kDeclare = " Declare name of report (*.RPT): ";

TEST_F(ReportCommands, SavingWritesTheFileAndTellsWhere) {
    const std::string text = "Quote \" back \\ cr \r lf \n end";
    app.report.replace(text);
    port.then("Report of chaining/diagnosing", "yes").then("Saving Report File", "run1.RPT");
    raport(app);

    const fs::path file = dir.path() / "run1.RPT";
    EXPECT_EQ(test::readFile(file), "tekst_raportu(\"Quote \\\" back \\\\ cr \\r lf \\n end\")\n");
    EXPECT_EQ(app.report.tekst_raportu(), text);
    EXPECT_EQ(app.messages.text(), kQuestion + kDeclare + "\n Report " + file.string() + " has been saved.\n\n\n");

    const auto ask = port.last("ask");
    EXPECT_EQ(ask.text, "Do you wish to save the report?");
    EXPECT_EQ(port.buttons, (std::vector<std::vector<std::string>>{{"&Yes", "&No"}}));
    ASSERT_EQ(port.fileDialogs.size(), 1u);
    const auto& d = port.fileDialogs[0];
    EXPECT_EQ(d.title, "Saving Report File");
    EXPECT_EQ(d.mask, "*.RPT");
    EXPECT_EQ(d.filters, (std::vector<port::FileFilter>{{"Report Files (*.RPT)", "*.RPT"}}));
    EXPECT_EQ(d.directory, dir.path());
    const auto note = port.last("note");
    EXPECT_EQ(note.title, "Attention!");
    EXPECT_EQ(note.text, "Report run1.RPT  has been saved.");
    EXPECT_EQ(port.pending(), 0u);
}

TEST_F(ReportCommands, NoSavesNothingAndWritesOnlyTheQuestion) {
    app.report.replace("text");
    port.then("no");
    raport(app);
    EXPECT_TRUE(filesInDir().empty());
    EXPECT_EQ(app.messages.text(), kQuestion);
    EXPECT_TRUE(port.fileDialogs.empty());
    EXPECT_TRUE(port.ofKind("note").empty());
}

TEST_F(ReportCommands, CancelledSaveDialogSavesNothingQuietly) {
    port.then("yes").thenClose();
    raport(app);
    EXPECT_TRUE(filesInDir().empty());
    EXPECT_EQ(app.messages.text(), kQuestion + kDeclare);
    EXPECT_TRUE(port.ofKind("note").empty());
}

TEST_F(ReportCommands, AFailedWriteIsReportedAndKeepsTheOldFileAndTheReport) {
    const fs::path old = dir.write("run1.RPT", "tekst_raportu(\"old\")\n");
    struct Case { const char* typed; bool fullDisk; std::string note; };
    const Case cases[] = {
        {"run1.RPT", true, "Report run1.RPT has not been saved.\ncannot write " + old.string() + ": No space left on device"},
        {"no-such-dir/r.RPT", false,
         "Report r.RPT has not been saved.\ncannot write " + (dir.path() / "no-such-dir/r.RPT").string() +
             ": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        app.messages.clear();
        app.report.replace("precious");
        port.then("yes").then(c.typed);
        if (c.fullDisk) port.then("Saving Report File", "yes");   // replace run1.RPT
        {
            std::optional<kb::InjectedSaveFault> full;
            if (c.fullDisk) full.emplace(kb::InjectedSaveFault::Step::Write, ENOSPC);
            raport(app);
        }
        EXPECT_EQ(test::readFile(old), "tekst_raportu(\"old\")\n");
        EXPECT_EQ(filesInDir().size(), 1u);
        EXPECT_EQ(app.report.tekst_raportu(), "precious");
        EXPECT_EQ(port.last("note").title, "Attention error!");
        EXPECT_EQ(port.last("note").text, c.note);
        EXPECT_NE(app.messages.text().find(" has not been saved: "), std::string::npos);
        EXPECT_EQ(app.messages.text().find("has been saved"), std::string::npos);
    }
}

TEST_F(ReportCommands, InspectionShowsASavedReportAndLoadsIt) {
    const std::string text = "Forward chaining\n\"wet\" => C:\\x\r\n";
    app.report.replace(text);
    port.then("yes").then("a.RPT");
    raport(app);
    app.report.replace("something else");

    port.then("Pick Report to be Inspected! ", "a.RPT");
    przeglad_raportu(app);
    EXPECT_EQ(app.report.tekst_raportu(), text);
    const auto view = port.last("text view");
    EXPECT_EQ(view.title, "Inspection");
    EXPECT_EQ(view.text, text);
    const auto& d = port.fileDialogs.back();
    EXPECT_EQ(d.mask, "*.rpt");
    EXPECT_EQ(d.filters, (std::vector<port::FileFilter>{{"Report Files (*.rpt)", "*.rpt"}}));
    EXPECT_EQ(d.directory, dir.path());
}

TEST_F(ReportCommands, CancelledInspectionChangesNothing) {
    app.report.replace("kept");
    port.thenClose();
    przeglad_raportu(app);
    EXPECT_EQ(app.report.tekst_raportu(), "kept");
    EXPECT_EQ(port.calls().size(), 1u);
}

TEST_F(ReportCommands, MalformedOrUnreadableReportsAreReportedAndTheBufferKept) {
    struct Case { const char* name; std::optional<std::string> content; std::string start; };   // nullopt: a folder
    const auto syntax = [](const char* name, const char* excerpt) {
        return "Syntax error in file " + std::string(name) + "\n\n" + excerpt;
    };
    for (const auto& c : {
             Case{"unterminated.rpt", "tekst_raportu(\"never closed\n",
                  syntax("unterminated.rpt", "tekst_raportu(\"never closed\n              ^")},
             Case{"wrong.rpt", "tekst_summary(\"x\")\n", syntax("wrong.rpt", "tekst_summary(\"x\")\n^")},
             Case{"garbage.rpt", std::string("\x01\x02\x7F" "ELF\x00", 7), syntax("garbage.rpt", "???ELF?\n^")},
             Case{"empty.rpt", "", syntax("empty.rpt", "\n^")},
             Case{"folder.rpt", std::nullopt, "Report folder.rpt could not be read.\n"},
         }) {
        SCOPED_TRACE(c.name);
        if (c.content) dir.write(c.name, *c.content);
        else dir.mkdir(c.name);
        app.report.replace("kept");
        port.clearCalls();
        port.then(c.name);
        przeglad_raportu(app);
        EXPECT_EQ(app.report.tekst_raportu(), "kept");
        EXPECT_TRUE(port.ofKind("text view").empty());
        const auto note = port.last("note");
        EXPECT_EQ(note.title, "Exception handling");
        EXPECT_EQ(note.text.rfind(c.start, 0), 0u) << note.text;
    }
}

TEST_F(ReportCommands, ErrorInAHugeLineShowsOnlyItsSurroundings) {
    std::string content = "tekst_raportu(\"" + std::string(100000, 'a') + "\\q" + std::string(100000, 'b') + "\")\n";
    dir.write("huge.rpt", content);
    port.then("huge.rpt");
    przeglad_raportu(app);
    const auto note = port.last("note");
    EXPECT_LT(note.text.size(), 400u);
    EXPECT_NE(note.text.find("...aaaa"), std::string::npos);
    EXPECT_NE(note.text.find("\\qbbbb"), std::string::npos);
    EXPECT_NE(note.text.find("(line 1, position 100016)"), std::string::npos) << note.text;
}

TEST_F(ReportCommands, DeletingAsksAndDeletesOnYes) {
    const fs::path file = dir.write("old.RPT", "tekst_raportu(\"x\")\n");
    port.then("Pick Report to be Deleted! ", "old.RPT").then("Deleting report", "yes");
    usuwanie_raportu(app);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(port.last("ask").text, "Do you really wish to delete the report  old.RPT ?");
    EXPECT_EQ(port.buttons.back(), (std::vector<std::string>{"Yes", "No"}));
    EXPECT_EQ(port.fileDialogs.back().mask, "*.rpt");
    const auto note = port.last("note");
    EXPECT_EQ(note.title, "Attention!");
    EXPECT_EQ(note.text, "Report old.RPT has been deleted!");
}

TEST_F(ReportCommands, DeletingKeepsTheFileOnNoOrCancel) {
    const fs::path file = dir.write("old.RPT", "tekst_raportu(\"x\")\n");
    port.then("old.RPT").then("no");
    usuwanie_raportu(app);
    port.thenClose();
    usuwanie_raportu(app);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(port.ofKind("note").empty());
    EXPECT_EQ(port.ofKind("ask").size(), 1u);
}

TEST_F(ReportCommands, FailedDeletionIsReported) {
    dir.mkdir("sub.rpt");
    port.then("gone.RPT").then("yes").then("sub.rpt").then("yes");
    usuwanie_raportu(app);
    usuwanie_raportu(app);
    EXPECT_TRUE(fs::exists(dir.path() / "sub.rpt"));
    const auto notes = port.ofKind("note");
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].title, "Attention error!");
    EXPECT_EQ(notes[0].text, "Report gone.RPT has not been deleted!\nno such file");
    EXPECT_EQ(notes[1].text, "Report sub.rpt has not been deleted!\nit is a directory");
}

}  // namespace
}  // namespace torv::reports
