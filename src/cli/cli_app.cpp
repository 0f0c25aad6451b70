// The terminal front end's top level: arguments, the command loop, --help.
#include "cli/cli_app.h"

#include <cctype>
#include <exception>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>

#include "port/user_port.h"

namespace torv::cli {

namespace {
std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

/// The word that asks the close question, as closing the main window does.
constexpr std::string_view kCloseWord = "close";

constexpr const char* kUsage = "Usage: torv_ae_cli [--help] [RULE_BASE_FILE]";
}  // namespace

CliApp::CliApp(std::istream& in, std::ostream& out, std::filesystem::path startDirectory)
    : out_(out), port_(in, out), app_(port_, std::move(startDirectory)), shell_(app_) {
    port_.attach(app_.messages);
}

int CliApp::run(const std::vector<std::string>& args) {
    std::optional<std::string> ruleBase;
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            printHelp();
            return 0;
        }
        if ((a.size() > 1 && a.front() == '-') || ruleBase) {
            out_ << kUsage << '\n';
            return 2;
        }
        ruleBase = a;
    }
    try {
        shell_.introClosed();
        if (ruleBase) guarded([&] { shell_.loadRuleBaseAtStart(*ruleBase); });
        commandLoop();
    } catch (const port::EndProgram&) {
        // "End" confirmed in a dialog: the program ends at once, cleanly.
    } catch (const std::exception& e) {
        // The input itself failed: end with a message, not an abort.
        port_.printLine(std::string("[error] ") + e.what());
        return 1;
    }
    return 0;
}

void CliApp::guarded(const std::function<void()>& step) {
    try {
        step();
    } catch (const port::EndProgram&) {
        throw;
    } catch (const std::exception& e) {
        // A broken invariant in a command: say so and keep the program alive.
        port_.printLine(std::string("[error] ") + e.what());
    }
}

void CliApp::commandLoop() {
    while (auto line = port_.readLine()) {
        const std::string_view text = trim(*line);
        if (text.empty() || text.front() == '#') continue;
        if (text == kCloseWord) {
            if (shell_.closeRequested()) return;
            continue;
        }
        const shell::Command* command = shell::findCommand(text);
        if (!command) {
            port_.printLine("[unknown command] " + std::string(text));
            continue;
        }
        if (!shell_.menu().enabled(command->id)) {
            port_.printLine("[disabled] " + std::string(command->text));
            continue;
        }
        guarded([&] { shell_.run(command->id); });
    }
}

namespace {
std::string plain(std::string_view title) {
    std::string out;
    for (char c : title)
        if (c != '&') out += c;
    return out;
}

void printEntries(std::ostream& out, const std::vector<shell::MenuEntry>& entries,
                  const shell::MenuState& startUp, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (const auto& e : entries) {
        switch (e.kind) {
        case shell::MenuEntry::Kind::Separator: break;
        case shell::MenuEntry::Kind::Submenu:
            out << indent << plain(e.title) << '\n';
            printEntries(out, e.entries, startUp, depth + 1);
            break;
        case shell::MenuEntry::Kind::Command: {
            const shell::Command* c = shell::findCommand(e.commandId);
            const shell::Availability a = shell::availability(c->id);
            const bool works = startUp.enabled(c->id) && a == shell::Availability::Works;
            out << indent << (works ? "* " : "  ") << c->id << "  " << c->text;
            if (a == shell::Availability::NoAction) out << "  (no action)";
            if (a == shell::Availability::NotAvailableYet) out << "  (not available yet)";
            out << '\n';
            break;
        }
        }
    }
}
}  // namespace

void CliApp::printHelp() {
    shell::MenuState startUp;
    startUp.startUp();
    out_ << kUsage << "\n\n"
         << "The terminal front end of torv_AE, a rule- and model-based expert system shell.\n"
         << "RULE_BASE_FILE, when given, is loaded at start as by \"Rule Base loading\".\n\n"
         << "Standard input names one menu command a line, by its id or its exact item text.\n"
         << "Blank lines and lines starting with '#' are skipped; \"" << kCloseWord
         << "\" asks to close the program;\n"
         << "end of input ends it. Each question reads its answer from the next line.\n\n"
         << "Editing a file (the editing and creating commands): on a terminal a copy of the file\n"
         << "opens in $VISUAL or $EDITOR (vi when neither is set); from a script the new text is\n"
         << "the lines that follow, up to a line holding only \".\" (a line \"..\" stands for \".\").\n"
         << "Then \"Do you wish to save the base ?\" is asked. The subdirectory-creating commands\n"
         << "ask for the name of a folder to create in the media folder of their kind.\n\n"
         << "Commands (* = does its work at start-up; the others become enabled as bases are loaded):\n";
    for (const auto& menu : shell::menuBar()) {
        out_ << plain(menu.title) << '\n';
        printEntries(out_, menu.entries, startUp, 1);
    }
}

}  // namespace torv::cli
