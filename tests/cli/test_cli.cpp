// The terminal front end as a user sees it: a script in, a transcript out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

#include "cli/cli_app.h"
#include "support/fixtures.h"

namespace torv::cli {
namespace {

constexpr const char* kRuleBase =
    "rule(1, \"engine_hot\", [\"fan_off\", \"nthermostat_ok\"], 1)\n"
    "rule(2, \"alarm\", [\"engine_hot\", \"light_on\"], 1)\n";

/// The three diagnosis offers of a rule-base load, each declined.
constexpr const char* kDeclinedOffers =
    "The loaded rule base RUcar.AEB may be tested for external inconsistencies.\n"
    "This test may take a lot of time for large and heavily nested rule bases. \n"
    "\n"
    "This test should be used while developing or modifying rule bases.\n"
    "For routine uses of the rule base the test should be bypassed.\n"
    "Remember that external inconsistencies may break down the chaining process.\n"
    "[yes/no] Choose\n"
    "Augmented Exact Rule Base\n"
    "   RUcar.AEB\n"
    "may be tested for external inconsistencies.\n"
    "\n"
    "This test may take a lot of time for \n"
    "large and heavily nested rule bases. \n"
    "This test should be performed while \n"
    "developing or modifying rule bases.\n"
    "For routine uses of the rule base \n"
    "the test should be bypassed.\n"
    "Remember that external inconsistencies \n"
    "may break down the chaining process.\n"
    "\n"
    "Do you wish to test the rule base \n"
    "for external inconsistencies?\n"
    "Yes / No\n"
    "> n\n"
    "\n"
    "The rule base may be tested for internal inconsistencies.\n"
    "This test may take a lot of time for large and heavily nested \n"
    "rule bases. \n"
    "\n"
    "This test should be performed while developing or modifying rule bases.\n"
    "For routine uses of a much used rule base the test should be bypassed.\n"
    "\n"
    "Keep in mind that internal rule inconsistencies\n"
    "do not lead to infinite loops; however, rules internally inconsistent \n"
    "are omitted in the chaining process and this is perhaps not what the \n"
    "rule base designer intended to achieve.\n"
    "\n"
    "[yes/no] Choose\n"
    "Augmented Exact Rule Base\n"
    "     RUcar.AEB\n"
    "may be tested for internal inconsistencies. \n"
    "\n"
    "This test may take a lot of time for large and heavily \n"
    "nested rule bases, because the rules need to be flattened.\n"
    "It should be performed while developing or modifying \n"
    "rule bases.\n"
    "For routine uses of often used rule bases the test should  \n"
    "be bypassed.\n"
    "\n"
    "Keep in mind that internal rule inconsistencies do not lead\n"
    "to infinite loops; rules internally inconsistent are just \n"
    "omitted in the chaining process and this is perhaps not \n"
    "what the rule base designer intended to achieve. \n"
    "Do you wish to test the rule base for internal inconsistencies?\n"
    "Yes / No\n"
    "> n\n"
    "The loaded rule base RUcar.AEB may be tested for redundancies.\n"
    "This test may take a lot of time for large and heavily nested rule bases. \n"
    "This test should be used while developing or modifying rule bases.\n"
    "For routine uses of the rule base the test should be bypassed.\n"
    "[yes/no] Choose\n"
    "Augmented Exact Rule Base\n"
    "   RUcar.AEB\n"
    "may be tested for redundancies.\n"
    "\n"
    "This test may take a lot of time for \n"
    "large and heavily nested rule bases. \n"
    "This test should be performed while \n"
    "developing or modifying rule bases.\n"
    "For routine uses of the rule base \n"
    "the test should be bypassed.\n"
    "\n"
    "Do you wish to test the rule base \n"
    "for redundancies?\n"
    "Yes / No\n"
    "> n\n";

class CliTest : public testing::Test {
protected:
    CliTest() { dir.write("BASES/RUcar.AEB", kRuleBase); }

    /// Runs the program over a script; returns the transcript.
    std::string run(const std::string& script, const std::vector<std::string>& args = {},
                    bool terminalEditor = false) {
        std::istringstream in(script);
        std::ostringstream out;
        CliApp app(in, out, dir.path());
        app.useTerminalEditor(terminalEditor);
        status = app.run(args);
        return out.str();
    }

    test::TempDir dir;
    int status = -1;
};

TEST_F(CliTest, LoadGreyedCommandAndReportInspection) {
    dir.write("BASES/car.RPT", "tekst_raportu(\"First line\\nSecond \\\"quoted\\\" line\\n\")\n");
    const std::string transcript = run(
        "# load the rule base, try a model inspection, read a report\n"
        "Rule Base loading\n"
        "BASES/RUcar.AEB\n"
        "n\nn\nn\n"
        "\n"
        "Linear models\n"
        "10142\n"
        "car.RPT\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(transcript,
              "[open file] Load Rule Base \n"
              "Rule Base (RU*.AEB) | RU*.AEB\n"
              "Ru*.AEB\n"
              "> BASES/RUcar.AEB\n"
              "\n"
              "\n"
              "Rule base  RUcar.AEB\n"
              "has been loaded!\n"
              "\n"
              "[title] torv_AE consults Knowledge Base CAR\n"
              "[note] Successful  loading of Rule Base\n"
              "Augmented Exact Rule Base\n"
              "   RUcar.AEB\n"
              "has been loaded!\n" +
                  std::string(kDeclinedOffers) +
              "[disabled] Linear models\n"
              "[open file] Pick Report to be Inspected! \n"
              "Report Files (*.rpt) | *.rpt\n"
              "*.rpt\n"
              "> car.RPT\n"
              "[text view] Inspection\n"
              "First line\n"
              "Second \"quoted\" line\n");
}

TEST_F(CliTest, UnknownCommandIsReportedAndTheScriptGoesOn) {
    EXPECT_EQ(run("Rule base loading\n10064\n  10155  \n&About\n"),
              "[unknown command] Rule base loading\n"
              "[unknown command] 10064\n"
              "[disabled] Augmented Exact  Forward Chaining\n"
              "[about] About\n"
              "torv_AE\n"
              "Rule- and Model Based Expert System Shell for Augmented Exact Forward and Backward  Chaining\n");
    EXPECT_EQ(status, 0);
}

TEST_F(CliTest, EndOfInputInsideADialogCancelsIt) {
    EXPECT_EQ(run("10062\n"),
              "[open file] Load Rule Base \n"
              "Rule Base (RU*.AEB) | RU*.AEB\n"
              "Ru*.AEB\n"
              "[title] torv\n");
    EXPECT_EQ(status, 0);
}

TEST_F(CliTest, CloseAsksAndEndsOnlyOnYes) {
    const std::string transcript = run("close\nno\nclose\nyes\n10161\n");
    EXPECT_EQ(transcript,
              "[yes/no] Attention!\nDo you really wish to close the program?\nYes / No\n> no\n"
              "[yes/no] Attention!\nDo you really wish to close the program?\nYes / No\n> yes\n");
    EXPECT_EQ(status, 0);
}

TEST_F(CliTest, RuleBaseArgumentIsLoadedAtStart) {
    const std::string transcript = run("n\nn\nn\nModel Base loading\n", {(dir.path() / "BASES/RUcar.AEB").string()});
    EXPECT_NE(transcript.find("[title] torv_AE consults Knowledge Base CAR\n"), std::string::npos);
    // Enabled by the load: the model-base dialog opens and end of input cancels it.
    EXPECT_NE(transcript.find("[open file] Load Model Base\n"), std::string::npos) << transcript;
    EXPECT_EQ(status, 0);
}

TEST_F(CliTest, MissingRuleBaseArgumentLeavesTheProgramRunning) {
    const std::string transcript = run("10155\n10161\n", {"BASES/RUnone.AEB"});
    EXPECT_NE(transcript.find("[note] Error\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("[disabled] Augmented Exact  Forward Chaining\n[about] About\n"),
              std::string::npos)
        << transcript;
    EXPECT_EQ(status, 0);
}

TEST_F(CliTest, HelpListsEveryCommandAndMarksThoseThatWorkAtStartUp) {
    const std::string help = run("10161\n", {"--help"});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(help.rfind("Usage: torv_ae_cli", 0), 0u);
    EXPECT_EQ(help.find("[about]"), std::string::npos) << "--help must not read commands";
    EXPECT_NE(help.find("\nExact Rule Base\n  * 10062  Rule Base loading\n    10063  Importing askable conditions "
                        "and argument values from external data sources\n"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("\nKnowledge Base Analysis\n  Rule Base flattening\n      10136  Flattening a chosen rule\n"),
              std::string::npos)
        << help;
    EXPECT_NE(help.find("    10121  Garphics Subdirectories deleting  (no action)\n"), std::string::npos);
    EXPECT_NE(help.find("  * 10068  Rule Base editing\n"), std::string::npos);
    EXPECT_NE(help.find("up to a line holding only \".\""), std::string::npos) << "how a script edits a file";
    EXPECT_NE(help.find("  * 10094  Inspecting all constraints\n"), std::string::npos);
    EXPECT_NE(help.find("    10119  Graphics Subdirectories and  Files\n"), std::string::npos);
    EXPECT_NE(help.find("  * 10161  &About\n"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t p = help.find(" 10"); p != std::string::npos; p = help.find(" 10", p + 1)) ++lines;
    EXPECT_GE(lines, 85u);
}

TEST_F(CliTest, BadArgumentsGiveTheUsage) {
    const std::string usage =
        "Usage: torv_ae_cli [--help] [RULE_BASE_FILE]\n"
        "       torv_ae_cli --check [--format text|json|sarif] [--witness DIR] PATH...\n"
        "       torv_ae_cli --graph [--focus CONDITION] [--depth N] PATH\n"
        "       torv_ae_cli --record CASE [RULE_BASE_FILE]\n"
        "       torv_ae_cli --test CASE...\n";
    EXPECT_EQ(run("", {"--bogus"}), usage);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(run("", {"a", "b"}), usage);
    EXPECT_EQ(status, 2);
}

TEST_F(CliTest, AnExceptionInACommandIsPrintedAndTheProgramGoesOn) {
    // A stream that throws when it runs dry stands for any failing step.
    std::istringstream in("Rule Base loading\n");
    in.exceptions(std::ios::failbit);
    std::ostringstream out;
    CliApp app(in, out, dir.path());
    EXPECT_EQ(app.run({}), 1);
    const std::string transcript = out.str();
    EXPECT_NE(transcript.find("[open file] Load Rule Base \n"), std::string::npos) << transcript;
    // Once inside the command, once at the top level where the input ends.
    std::size_t errors = 0;
    for (std::size_t p = transcript.find("[error] "); p != std::string::npos; p = transcript.find("[error] ", p + 1))
        ++errors;
    EXPECT_EQ(errors, 2u) << transcript;
}

/// The editor command a test runs in place of the user's, for its lifetime.
class EditorCommand {
public:
    explicit EditorCommand(const char* command) {
        for (const char* name : {"VISUAL", "EDITOR"})
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
        ::unsetenv("EDITOR");
        ::setenv("VISUAL", command, 1);
    }
    ~EditorCommand() {
        ::unsetenv("VISUAL");
        for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved_;
};

constexpr const char* kEditScript = "Rule Base editing\nBASES/RUcar.AEB\nno\n";

TEST_F(CliTest, OnATerminalACopyIsEditedInTheUsersEditorAndSavedInTheFilesLineEnds) {
    const auto file = dir.write("BASES/RUcar.AEB", "fact(\"old\")\r\n");
    EditorCommand sed("sed -i s/old/new/");
    const std::string transcript = run(std::string(kEditScript) + "yes\n", {}, true);
    EXPECT_EQ(test::readFile(file), "fact(\"new\")\r\n");
    EXPECT_NE(transcript.find("[editor] Editing the file: RUcar.AEB\nsed -i s/old/new/\n[yes/no] Saving\n"),
              std::string::npos)
        << transcript;
    EXPECT_NE(transcript.find("[note] Attention!\nFile: RUcar.AEB has been saved.\n"), std::string::npos);
}

TEST_F(CliTest, AnEditorThatFailsLeavesTheFileAsItWas) {
    const auto file = dir.write("BASES/RUcar.AEB", "fact(\"old\")\n");
    EditorCommand fails("exit 3;");
    const std::string transcript = run(std::string(kEditScript) + "yes\n", {}, true);
    EXPECT_NE(transcript.find("[note] Attention error!\nThe file could not be edited with exit 3;:\n"
                              "it ended with status 3\n"),
              std::string::npos)
        << transcript;
    EXPECT_EQ(test::readFile(file), "fact(\"old\")\n");
}

TEST_F(CliTest, FromAScriptTheTextEndsAtADotAndEndOfInputSavesNothing) {
    const auto file = dir.write("BASES/RUcar.AEB", "fact(\"old\")\n");
    run(std::string(kEditScript) + "fact(\"a\")\n..\n.\nno\n");
    EXPECT_EQ(test::readFile(file), "fact(\"old\")\n") << "answered No";
    run(std::string(kEditScript) + "fact(\"a\")\n..\n.\nyes\n");
    EXPECT_EQ(test::readFile(file), "fact(\"a\")\n.\n");
    run(std::string(kEditScript) + "fact(\"b\")\n");
    EXPECT_EQ(test::readFile(file), "fact(\"a\")\n.\n") << "the input ended inside the text";
}

}  // namespace
}  // namespace torv::cli
