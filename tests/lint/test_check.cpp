// The knowledge-base lint: one faulty base per code, the clean samples, the
// exit status, the three output formats and a golden text output.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "cli/cli_app.h"
#include "lint/check.h"
#include "lint/formats.h"
#include "lint/knowledge_bases.h"

namespace torv::lint {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = TORVAE_SOURCE_DIR;
const fs::path kBases = kSource / "tests/lint/bases";

struct CliRun {
    int status;
    std::string out;
};

CliRun cli(std::vector<std::string> args) {
    std::istringstream in;
    std::ostringstream out;
    cli::CliApp app(in, out, kSource);
    const int status = app.run(args);
    return {status, out.str()};
}

struct Expected {
    const char* folder;
    const char* code;
    const char* file;   // file name of the finding
    int line;
    int column;
};

class EachCode : public testing::TestWithParam<Expected> {};

TEST_P(EachCode, FoundWithItsPlace) {
    const Expected& e = GetParam();
    const CheckResult r = check({(kBases / e.folder).string()}, kSource);
    ASSERT_FALSE(r.findings.empty());
    const Finding& f = r.findings.front();
    EXPECT_EQ(f.code, e.code);
    EXPECT_EQ(f.file.filename(), e.file);
    EXPECT_EQ(f.line, e.line);
    EXPECT_EQ(f.column, e.column);
    EXPECT_EQ(f.severity, findCode(e.code)->severity);
    EXPECT_FALSE(f.message.empty());
    EXPECT_EQ(r.exitStatus(), f.severity == Severity::Note ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Lint, EachCode,
    testing::Values(Expected{"syntax", "AE001", "RUsyntax.AEB", 2, 17},
                    Expected{"empty_line", "AE002", "RUempty.AEB", 2, 0},
                    Expected{"no_rule_base", "AE003", "MOorphan.AEB", 0, 0},
                    Expected{"duplicate", "AE010", "RUdup.AEB", 3, 0},
                    Expected{"fact", "AE011", "RUfact.AEB", 3, 0},
                    Expected{"same_conclusion", "AE013", "MOsc.AEB", 0, 0},
                    Expected{"same_name", "AE014", "MOsn.AEB", 0, 0},
                    Expected{"known_argument", "AE015", "MOka.AEB", 2, 0},
                    Expected{"tautology", "AE016", "MOta.AEB", 1, 0},
                    Expected{"model_structure", "AE017", "MOms.AEB", 2, 0},
                    Expected{"same_results", "AE018", "MOsr.AEB", 1, 0},
                    Expected{"constraint_single", "AE020", "COcs.AEB", 1, 0},
                    Expected{"constraint_askable", "AE021", "COca.AEB", 2, 0},
                    Expected{"media", "AE030", "ADmd.AEB", 0, 0},
                    Expected{"external", "AE101", "RUext.AEB", 1, 0},
                    Expected{"internal", "AE102", "RUint.AEB", 1, 0},
                    Expected{"redundancy", "AE103", "RUred.AEB", 1, 0},
                    Expected{"model_direct", "AE104", "MOdi.AEB", 1, 0},
                    Expected{"model_inconsistency", "AE104", "MOmi.AEB", 1, 0},
                    Expected{"model_relational", "AE104", "MOrl.AEB", 1, 0},
                    Expected{"joint_model_rule", "AE105", "MOjm.AEB", 1, 0},
                    Expected{"joint_inconsistency", "AE106", "RUji.AEB", 1, 0},
                    Expected{"joint_redundancy", "AE107", "RUjr.AEB", 1, 0}),
    [](const testing::TestParamInfo<Expected>& i) { return std::string(i.param.folder); });

TEST(Lint, EveryFaultyFolderGivesOnlyItsOwnCodes) {
    // A finding that leaks into AE900 means a box went unrecognised.
    const CheckResult r = check({kBases.string()}, kSource);
    for (const auto& f : r.findings) EXPECT_NE(f.code, "AE900") << f.file << ": " << f.message;
    EXPECT_EQ(r.knowledgeBases, 23u);
}

TEST(Lint, TheSamplesAreCleanAndExitZero) {
    for (const char* sample : {"examples/garden", "examples/drive", "examples/garden/BASES/RUgarden.AEB"}) {
        const CliRun r = cli({"--check", sample});
        EXPECT_EQ(r.status, 0) << sample << '\n' << r.out;
        EXPECT_EQ(r.out.find(" error "), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find(" warning "), std::string::npos) << r.out;
    }
}

TEST(Lint, ExitStatusAndUsage) {
    struct Case {
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {{"--check", "examples/drive", "no/such/folder"}, 2},   // unreadable wins over findings
        {{"--check", "README.md"}, 2},                          // not a base file
        {{"--check", "tests/lint/bases/duplicate"}, 1},
        {{"--check"}, 2},
        {{"--check", "--format", "xml", "examples"}, 2},
        {{"--check", "--frobnicate", "examples"}, 2},
        {{"--check", "--format=json", "examples/drive"}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(cli(c.args).status, c.status) << c.args.back();
}

TEST(Lint, ABaseFileStandsForItsWholeKnowledgeBase) {
    const Discovery d = discover({(kSource / "examples/garden/BASES/COgarden.AEB").string()});
    ASSERT_EQ(d.bases.size(), 1u);
    for (std::size_t i = 0; i < kPrefixes.size(); ++i)
        EXPECT_EQ(d.bases[0].files[i].empty(), i == 1) << kPrefixes[i];   // the garden has no model base
}

TEST(Lint, JsonStringsStayValid) {
    EXPECT_EQ(jsonString("a\"b\\c\n\t\x01"), "\"a\\\"b\\\\c\\n\\t\\u0001\"");
    EXPECT_EQ(jsonString("\xc5\x82\xff\xc0\xaf"), "\"\xc5\x82\\ufffd\\ufffd\\ufffd\"");  // ł, then bad bytes
    EXPECT_EQ(jsonString("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");                  // a lone surrogate
}

/// Runs the schema validator on a document; its complaints on failure.
std::string validate(const fs::path& schema, const std::string& document) {
    const fs::path file = fs::temp_directory_path() / ("torvae_lint_" + std::to_string(::getpid()) + ".json");
    std::ofstream(file) << document;
    const fs::path log = file.string() + ".log";
    const std::string command = std::string(TORVAE_PYTHON) + " " + (kSource / "tests/lint/validate.py").string() +
                                " " + schema.string() + " " + file.string() + " > " + log.string() + " 2>&1";
    const int rc = std::system(command.c_str());
    std::stringstream complaints;
    complaints << std::ifstream(log).rdbuf();
    fs::remove(file);
    fs::remove(log);
    return rc == 0 ? std::string() : "validator failed:\n" + complaints.str();
}

TEST(Lint, JsonAndSarifFollowTheirSchemas) {
    const std::vector<std::string> paths{"tests/lint/bases", "examples", "no/such/base"};
    auto run = [&](const char* format) {
        std::vector<std::string> args{"--check", "--format", format};
        args.insert(args.end(), paths.begin(), paths.end());
        return cli(args);
    };
    const CliRun json = run("json");
    EXPECT_EQ(json.status, 2);
    EXPECT_EQ(validate(kSource / "docs/check-output.schema.json", json.out), "");
    const CliRun sarif = run("sarif");
    EXPECT_EQ(sarif.status, 2);
    EXPECT_EQ(validate(kSource / "tests/lint/sarif-2.1.0-rtm.5.json", sarif.out), "");
    // Both carry the syntax error's column.
    EXPECT_NE(json.out.find("\"line\": 2, \"column\": 17"), std::string::npos);
    EXPECT_NE(sarif.out.find("\"region\": {\"startLine\": 2, \"startColumn\": 17}"), std::string::npos);
}

TEST(Lint, GoldenTextOutput) {
    const CliRun r = cli({"--check", "tests/lint/bases"});
    EXPECT_EQ(r.status, 1);
    std::stringstream golden;
    golden << std::ifstream(kSource / "tests/lint/golden/bases.txt").rdbuf();
    EXPECT_EQ(r.out, golden.str());
}

}  // namespace
}  // namespace torv::lint
