// Consultation test cases: the text form, recording a consultation of each
// sample, replaying it, and an edited rule showing up as a change.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/cli_app.h"
#include "lint/test_case.h"

namespace torv::lint {
namespace {

namespace fs = std::filesystem;
const fs::path kSource = TORVAE_SOURCE_DIR;
const fs::path kCases = kSource / "tests/lint/cases";

std::string slurp(const fs::path& p) {
    std::stringstream s;
    s << std::ifstream(p, std::ios::binary).rdbuf();
    return s.str();
}

struct CliRun {
    int status;
    std::string out;
};

CliRun cli(const std::vector<std::string>& args, const std::string& input = {}, const fs::path& dir = kSource) {
    std::istringstream in(input);
    std::ostringstream out;
    cli::CliApp app(in, out, dir);
    const int status = app.run(args);
    return {status, out.str()};
}

class TempDir {
public:
    TempDir() : path_(fs::temp_directory_path() / ("torvae_cases_" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(TestCaseText, RoundTripsHostileTexts) {
    TestCase c;
    c.bases = {{0, "a b/RU\"x\".AEB"}, {1, "MOx.AEB"}};
    c.answers = {{"yes/no", "Is the condition true?", "soil\n\"wet\"\\?\t\x01\x7f", "", "yes"},
                 {"pick several", "Pick facts", "", "Choose\na\nb", "1 2"},
                 {"value", "Argument value", "x =", "", std::nullopt}};
    c.runs = {{10155, {"a", "nb", "x = 3"}}, {10156, {}}};
    auto back = readCase(writeCase(c));
    ASSERT_TRUE(std::holds_alternative<TestCase>(back)) << std::get<std::string>(back);
    EXPECT_EQ(std::get<TestCase>(back), c);
}

TEST(TestCaseText, RefusesWhatIsNoCase) {
    struct Case {
        const char* text;
        const char* why;
    };
    const std::string h = "torv_AE consultation test case 1\n";
    const Case cases[] = {
        {"", "line 0: empty file"},
        {"hello\n", "line 1: not a consultation test case"},
        {"base RU \"x\"\n", "line 1: not a consultation test case"},
    };
    for (const auto& c : cases) EXPECT_EQ(std::get<std::string>(readCase(c.text)), c.why) << c.text;
    const std::pair<std::string, std::string> bodies[] = {
        {"base XX \"x\"\n", "line 2: unknown base"},
        {"base RU x\n", "line 2: a base needs a quoted path"},
        {"answer \"a\" \"b\" \"c\"\n", "line 2: an answer needs kind, title, text and choices, each quoted"},
        {"answer \"a\" \"b\" \"c\" \"\" maybe\n", "line 2: an answer ends with = \"...\" or closed"},
        {"answer \"a\" \"b\" \"c\" \"\" = \"unterminated\n", "line 2: the answer must be quoted"},
        {"run 10062\n", "line 2: run names a chaining command by its id"},
        {"conclusion \"a\"\n", "line 2: a conclusion before any run"},
        {"frobnicate\n", "line 2: unknown line frobnicate"},
        {"answer \"\\q\" \"b\" \"c\" \"\" closed\n", "line 2: an answer needs kind, title, text and choices, each quoted"},
    };
    for (const auto& [body, why] : bodies) EXPECT_EQ(std::get<std::string>(readCase(h + body)), why) << body;
}

TEST(TestCases, BothSamplesReplayUnchanged) {
    const CliRun r = cli({"--test", "tests/lint/cases/garden.case", "tests/lint/cases/drive.case"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "tests/lint/cases/garden.case: passed\ntests/lint/cases/drive.case: passed\n");
}

TEST(TestCases, RecordingASampleGivesTheCommittedCase) {
    // Recorded beside the committed case, so the relative base paths agree.
    for (const char* sample : {"garden", "drive"}) {
        const fs::path file = kCases / (std::string(sample) + ".recorded.case");
        fs::remove(file);
        const std::string base = "examples/" + std::string(sample) + "/BASES/RU" + sample + ".AEB";
        const CliRun r = cli({"--record", fs::relative(file, kSource).string(), base},
                             slurp(kCases / (std::string(sample) + ".input")));
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_EQ(slurp(file), slurp(kCases / (std::string(sample) + ".case"))) << sample;
        fs::remove(file);
    }
}

TEST(TestCases, AnEditedRuleShowsAsGainedAndLost) {
    TempDir dir;
    fs::copy(kSource / "examples/garden", dir.path() / "garden", fs::copy_options::recursive);
    std::string c = slurp(kCases / "garden.case");
    const std::string from = "../../../examples/garden/BASES/RUgarden.AEB";
    c.replace(c.find(from), from.size(), "garden/BASES/RUgarden.AEB");
    std::ofstream(dir.path() / "g.case") << c;
    ASSERT_EQ(cli({"--test", "g.case"}, "", dir.path()).status, 0);

    // too_much_sun now needs a third condition nobody declared.
    const fs::path rules = dir.path() / "garden/BASES/RUgarden.AEB";
    std::string text = slurp(rules);
    const std::string rule9 = "rule(9,\"too_much_sun\",[\"light_direct_sun\",\"leaves_brown_tips\"],1)";
    ASSERT_NE(text.find(rule9), std::string::npos);
    text.replace(text.find(rule9), rule9.size(),
                 "rule(9,\"too_much_sun\",[\"light_direct_sun\",\"leaves_brown_tips\",\"leaves_bleached\"],1)");
    std::ofstream(rules, std::ios::binary | std::ios::trunc) << text;

    const CliRun r = cli({"--test", "g.case"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    const std::string run = "  run 1 (Augmented Exact  Forward Chaining): ";
    EXPECT_EQ(r.out, "g.case: changed\n" + run + "gained nlight_problem\n" + run + "gained nmove_the_plant\n" + run +
                         "gained ntoo_much_sun\n" + run + "lost light_problem\n" + run + "lost move_the_plant\n" + run +
                         "lost too_much_sun\n");
}

TEST(TestCases, AQuestionWithoutARecordedAnswerIsAChange) {
    TempDir dir;
    std::string c = slurp(kCases / "garden.case");
    c.replace(c.find("../../../"), 9, kSource.string() + "/");
    const auto at = c.find("answer \"ask\" \"Generating labels\"");
    c.erase(at, c.find('\n', at) + 1 - at);
    std::ofstream(dir.path() / "g.case") << c;
    const CliRun r = cli({"--test", "g.case"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("no recorded answer: [ask] Generating labels: Save summary labels?"), std::string::npos)
        << r.out;
}

TEST(TestCases, AnAnswerNoLongerTakenStopsTheRun) {
    TempDir dir;
    std::string c = slurp(kCases / "garden.case");
    c.replace(c.find("../../../"), 9, kSource.string() + "/");
    // The pick list of facts has 29 items; item 99 is not one of them.
    const auto at = c.find("= \"21 11 13 7\"");
    ASSERT_NE(at, std::string::npos);
    c.replace(at, 14, "= \"99\"");
    std::ofstream(dir.path() / "g.case") << c;
    const CliRun r = cli({"--test", "g.case"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("a recorded answer is not taken any more"), std::string::npos) << r.out;
}

TEST(TestCases, RefusalsAndUnreadableCases) {
    TempDir dir;
    std::ofstream(dir.path() / "exists.case") << "x";
    std::ofstream(dir.path() / "bad.case") << "not a case\n";
    EXPECT_EQ(cli({"--record", "exists.case"}, "", dir.path()).status, 2);
    EXPECT_EQ(slurp(dir.path() / "exists.case"), "x");   // never written over
    EXPECT_EQ(cli({"--test", "missing.case"}, "", dir.path()).status, 2);
    EXPECT_EQ(cli({"--test", "bad.case"}, "", dir.path()).status, 2);
    EXPECT_EQ(cli({"--test"}, "", dir.path()).status, 2);
    // Nothing chained: nothing to keep, and no file.
    const CliRun r = cli({"--record", "empty.case"}, "", dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "empty.case"));
}

}  // namespace
}  // namespace torv::lint
