// Whole consultations, golden-file style. Each folder beside this file is one
// case:
//   kb/           the knowledge base in its directory layout (BASES/, ADVICES/, ...),
//                 or kb_from.txt naming such a directory elsewhere (the samples)
//   answers.txt   the lines typed into the dialogs, one per line
//   commands.txt  menu commands run after the bases are loaded (default: forward chaining)
//   transcript.txt  everything the terminal shows from the first command on
//   report.txt    the report text when the commands are done
//   files/        files the run must leave in BASES/ (a saved summary, ...)
//   odbc.sql      statements, each ending with ';' at a line end, that fill
//                 a SQLite data source named after the case
// Every base in kb/BASES is loaded first, in menu order, with the loads' own
// dialogs left out of the transcript.
// A case with stdin.txt instead is a whole terminal session through the
// terminal front end; its transcript is compared from the line
// "[unknown command] ---" on, so that the loads' texts stay out of it, with
// the folder the knowledge base was copied to written as <kb>.
//
// TORVAE_UPDATE_SCENARIOS=1 rewrites the expected files from what the run
// produced (review the difference before committing it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli_app.h"
#include "cli/terminal_port.h"
#include "kb/paths.h"
#include "state/app_state.h"
#include "state/command_ids.h"
#include "shell/shell.h"
#include "support/fixtures.h"
#include "support/odbc_sandbox.h"

namespace torv::test {
namespace {

namespace fs = std::filesystem;

const fs::path kScenarios = TORVAE_SCENARIOS_DIR;

std::string read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool updating() {
    const char* u = std::getenv("TORVAE_UPDATE_SCENARIOS");
    return u && *u && std::string(u) != "0";
}

/// Compares with an expected file, or rewrites it when updating.
void expectFile(const fs::path& expected, const std::string& actual) {
    if (updating()) {
        std::ofstream(expected, std::ios::binary) << actual;
        return;
    }
    ASSERT_TRUE(fs::exists(expected)) << expected;
    EXPECT_EQ(actual, read(expected)) << "differs from " << expected;
}

/// The terminal port, silent while the bases are loaded: the loads' file
/// dialogs are answered from a list and their questions with No.
class ScenarioPort : public cli::TerminalUserPort {
public:
    using TerminalUserPort::TerminalUserPort;
    bool live = false;
    std::deque<std::string> files;

protected:
    void present(const port::Dialog& d) override {
        if (live) TerminalUserPort::present(d);
    }
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (live) return TerminalUserPort::answer(d);
        if (d.kind == "open file" && !files.empty()) {
            std::string f = files.front();
            files.pop_front();
            return f;
        }
        return std::nullopt;
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        if (!l.empty() && l.front() != '#') out.push_back(l);
    return out;
}

std::vector<std::string> cases(bool cli) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(kScenarios))
        if (e.is_directory() && fs::exists(e.path() / (cli ? "stdin.txt" : "answers.txt")))
            out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

class Scenario : public ::testing::TestWithParam<std::string> {
protected:
    fs::path source() const { return kScenarios / GetParam(); }

    /// kb/, or the knowledge base named (relative to the case) in kb_from.txt.
    void copyKnowledgeBase() {
        fs::path from = source() / "kb";
        if (fs::exists(source() / "kb_from.txt")) from = source() / lines(read(source() / "kb_from.txt")).at(0);
        fs::copy(from, dir.path(), fs::copy_options::recursive);
    }

    /// The case's data source, made afresh for each run.
    void makeDataSource() {
        if (!fs::exists(source() / "odbc.sql")) return;
        auto& sandbox = OdbcSandbox::shared();
        const fs::path db = sandbox.dir() / (GetParam() + ".db");
        sandbox.addSqlite(GetParam(), db);
        fs::remove(db);
        std::vector<std::string> statements;
        std::string statement;
        std::istringstream in(read(source() / "odbc.sql"));
        for (std::string line; std::getline(in, line);) {
            statement += line + "\n";
            if (!line.empty() && line.back() == ';') {
                statements.push_back(statement);
                statement.clear();
            }
        }
        sandbox.run(db, statements);
    }

    void expectFilesLeft() {
        const fs::path want = source() / "files";
        if (!fs::exists(want)) return;
        for (const auto& e : fs::recursive_directory_iterator(want)) {
            if (!e.is_regular_file()) continue;
            const fs::path rel = fs::relative(e.path(), want);
            const fs::path got = dir.path() / "BASES" / rel;
            ASSERT_TRUE(fs::exists(got)) << rel;
            expectFile(e.path(), read(got));
        }
    }

    TempDir dir;
};

class ConsultationScenario : public Scenario {};
class TerminalScenario : public Scenario {};

TEST_P(ConsultationScenario, RunsAsRecorded) {
    copyKnowledgeBase();
    makeDataSource();
    std::istringstream in(read(source() / "answers.txt"));
    std::ostringstream out;
    ScenarioPort port(in, out);
    AppState app(port, dir.path());
    shell::Shell shell(app);
    shell.introClosed();

    using namespace shell::cmd;
    const std::pair<const char*, int> loads[] = {{"RU*.AEB", kRuleBaseLoading},    {"MO*.AEB", kModelBaseLoading},
                                                 {"CO*.AEB", kConstraintBaseLoading}, {"AD*.AEB", kAdviceBaseLoading},
                                                 {"GR*.AEB", kGraphicsBaseLoading},   {"SO*.AEB", kSoundBaseLoading}};
    for (const auto& [mask, command] : loads)
        for (const auto& e : fs::directory_iterator(dir.path() / "BASES"))
            if (kb::maskMatches(mask, e.path().filename().string())) {
                port.files.push_back(e.path().string());
                ASSERT_TRUE(shell.run(command)) << e.path();
                ASSERT_TRUE(port.files.empty()) << "not loaded: " << e.path();
            }

    port.live = true;
    port.attach(app.messages);
    std::vector<std::string> commands{std::to_string(kForwardChaining)};
    if (fs::exists(source() / "commands.txt")) commands = lines(read(source() / "commands.txt"));
    try {
        for (const auto& c : commands) {
            const shell::Command* command = shell::findCommand(c);
            ASSERT_NE(command, nullptr) << c;
            if (!shell.run(command->id)) port.printLine("[disabled] " + std::string(command->text));
        }
    } catch (const port::EndProgram&) {
        port.printLine("[program ended]");
    }

    expectFile(source() / "transcript.txt", out.str());
    expectFile(source() / "report.txt", app.report.tekst_raportu());
    std::string rest;
    EXPECT_FALSE(std::getline(in, rest)) << "answer left over: " << rest;
    expectFilesLeft();
}

TEST_P(TerminalScenario, RunsAsRecorded) {
    copyKnowledgeBase();
    makeDataSource();
    std::istringstream in(read(source() / "stdin.txt"));
    std::ostringstream out;
    cli::CliApp cli(in, out, dir.path() / "BASES");
    EXPECT_EQ(cli.run({}), 0);
    // Paths into the private copy of the knowledge base differ from run to run.
    std::string all = out.str();
    const std::string root = dir.path().string();
    for (auto p = all.find(root); p != std::string::npos; p = all.find(root, p)) all.replace(p, root.size(), "<kb>");
    const std::string marker = "[unknown command] ---\n";
    const auto at = all.find(marker);
    ASSERT_NE(at, std::string::npos) << all;
    expectFile(source() / "transcript.txt", all.substr(at + marker.size()));
    expectFilesLeft();
}

INSTANTIATE_TEST_SUITE_P(Cases, ConsultationScenario, ::testing::ValuesIn(cases(false)),
                         [](const auto& info) { return info.param; });
INSTANTIATE_TEST_SUITE_P(Cases, TerminalScenario, ::testing::ValuesIn(cases(true)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace torv::test
