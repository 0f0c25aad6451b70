// CliApp: the terminal front end's top level. Standard input names menu
// commands one a line; standard output is the transcript.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/terminal_port.h"
#include "state/app_state.h"
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
    /// Runs one step; an exception other than "End" is printed and the
    /// program goes on, as the desktop does.
    void guarded(const std::function<void()>& step);

    std::ostream& out_;
    TerminalUserPort port_;
    AppState app_;
    shell::Shell shell_;
};

}  // namespace torv::cli
