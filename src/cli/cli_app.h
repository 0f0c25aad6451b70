// CliApp: the terminal front end's top level. Standard input names menu
// commands one a line; standard output is the transcript.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/terminal_port.h"
#include "state/app_state.h"
#include "lint/test_case.h"
#include "shell/shell.h"

namespace torv::cli {

class CliApp {
public:
    CliApp(std::istream& in, std::ostream& out,
           std::filesystem::path startDirectory = std::filesystem::current_path());

    /// Runs the program over its arguments (without the program name):
    /// "--help", or an optional rule-base file to load at start. Returns the
    /// exit status.
    int run(const std::vector<std::string>& args);

    shell::Shell& shell() { return shell_; }
    /// Edit files in the user's editor (standard input is a terminal).
    void useTerminalEditor(bool on) { port_.setInteractiveEditor(on); }

private:
    /// Reads and runs command lines until end of input.
    void commandLoop();
    void printHelp();
    /// --check: lints the knowledge bases under the paths that follow.
    int runCheck(const std::vector<std::string>& args);
    /// --graph: writes the rule-dependency graph of one knowledge base as DOT.
    int runGraph(const std::vector<std::string>& args);
    /// --test: replays consultation test cases.
    int runTests(const std::vector<std::string>& args);
    /// The consultation itself: an optional rule base, then the command loop.
    int runConsultation(const std::vector<std::string>& args);
    /// Runs one step; an exception other than "End" is printed and the
    /// program goes on, as the desktop does.
    void guarded(const std::function<void()>& step);

    std::ostream& out_;
    std::filesystem::path startDirectory_;
    TerminalUserPort port_;
    AppState app_;
    shell::Shell shell_;
    /// Set by --record: keeps the consultation as a test case.
    std::unique_ptr<lint::CaseRecorder> recorder_;
};

}  // namespace torv::cli
