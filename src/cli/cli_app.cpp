// The terminal front end's top level: arguments, the command loop, --help.
#include "cli/cli_app.h"

#include <cctype>
#include <iostream>
#include <charconv>
#include <exception>
#include <functional>
#include <optional>
#include <ostream>
#include <string_view>

#include "lint/check.h"
#include "lint/formats.h"
#include "lint/graph.h"
#include "lint/session.h"
#include "lint/test_case.h"
#include "kb/file_io.h"
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

constexpr const char* kUsage =
    "Usage: torv_ae_cli [--help] [RULE_BASE_FILE]\n"
    "       torv_ae_cli --check [--format text|json|sarif] [--witness DIR] PATH...\n"
    "       torv_ae_cli --graph [--focus CONDITION] [--depth N] PATH\n"
    "       torv_ae_cli --record CASE [RULE_BASE_FILE]\n"
    "       torv_ae_cli --test CASE...";
}  // namespace

CliApp::CliApp(std::istream& in, std::ostream& out, std::filesystem::path startDirectory)
    : out_(out), startDirectory_(startDirectory), port_(in, out), app_(port_, std::move(startDirectory)), shell_(app_) {
    port_.attach(app_.messages);
}

int CliApp::run(const std::vector<std::string>& args) {
    if (!args.empty() && args.front() == "--check") return runCheck(args);
    if (!args.empty() && args.front() == "--graph") return runGraph(args);
    if (!args.empty() && args.front() == "--test") return runTests(args);
    std::vector<std::string> rest = args;
    if (!rest.empty() && rest.front() == "--record") {
        if (rest.size() < 2) {
            out_ << kUsage << '\n';
            return 2;
        }
        const std::filesystem::path file = startDirectory_ / rest[1];
        std::error_code ec;
        if (std::filesystem::exists(std::filesystem::symlink_status(file, ec))) {
            out_ << "[error] " << rest[1] << " exists already: record under another name\n";
            return 2;
        }
        recorder_ = std::make_unique<lint::CaseRecorder>(file, app_);
        port_.observer = [this](const port::Dialog& d, const std::optional<std::string>* a) { recorder_->observe(d, a); };
        rest.erase(rest.begin(), rest.begin() + 2);
    }
    const int status = runConsultation(rest);
    if (!recorder_ || status != 0) return status;
    port_.observer = nullptr;
    if (const std::string why = recorder_->save(); !why.empty()) {
        port_.printLine("[error] test case not written: " + why);
        return 1;
    }
    port_.printLine("[recorded] " + args[1]);
    return 0;
}

int CliApp::runConsultation(const std::vector<std::string>& args) {
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

int CliApp::runCheck(const std::vector<std::string>& args) {
    lint::Format format = lint::Format::Text;
    std::vector<std::string> paths;
    std::optional<std::filesystem::path> witnessDir;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string a = args[i];
        std::string value;
        if (a == "--witness" && i + 1 < args.size()) {
            witnessDir = startDirectory_ / args[++i];
            continue;
        }
        if (a == "--format" && i + 1 < args.size()) {
            value = args[++i];
        } else if (a.starts_with("--format=")) {
            value = a.substr(9);
        } else if (a.starts_with("-") && a != "-") {
            out_ << kUsage << '\n';
            return 2;
        } else {
            paths.push_back(a);
            continue;
        }
        if (value == "text") format = lint::Format::Text;
        else if (value == "json") format = lint::Format::Json;
        else if (value == "sarif") format = lint::Format::Sarif;
        else {
            out_ << kUsage << '\n';
            return 2;
        }
    }
    if (paths.empty()) {
        out_ << kUsage << '\n';
        return 2;
    }
    const lint::CheckResult result = lint::check(paths, startDirectory_, witnessDir.has_value());
    switch (format) {
    case lint::Format::Text: lint::writeText(out_, result, startDirectory_); break;
    case lint::Format::Json: lint::writeJson(out_, result, startDirectory_); break;
    case lint::Format::Sarif: lint::writeSarif(out_, result, startDirectory_); break;
    }
    if (witnessDir) {
        // The findings go to standard output; what could not be written goes to the error stream.
        if (const std::string why = lint::writeWitnesses(*witnessDir, result, startDirectory_); !why.empty()) {
            std::cerr << "torv_ae_cli: " << why << '\n';
            return 2;
        }
    }
    return result.exitStatus();
}

int CliApp::runGraph(const std::vector<std::string>& args) {
    lint::GraphOptions options;
    std::optional<std::string> path;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--focus" && i + 1 < args.size()) {
            options.focus = args[++i];
        } else if (a == "--depth" && i + 1 < args.size()) {
            const std::string& d = args[++i];
            int depth = 0;
            const auto r = std::from_chars(d.data(), d.data() + d.size(), depth);
            if (r.ec != std::errc() || r.ptr != d.data() + d.size() || depth < 0) {
                out_ << kUsage << '\n';
                return 2;
            }
            options.depth = depth;
        } else if (a.starts_with("-") || path) {
            out_ << kUsage << '\n';
            return 2;
        } else {
            path = a;
        }
    }
    if (!path) {
        out_ << kUsage << '\n';
        return 2;
    }
    const std::filesystem::path p(*path);
    const lint::Discovery found = lint::discover({(p.is_absolute() ? p : startDirectory_ / p).string()});
    if (!found.unreadable.empty() || found.bases.size() != 1 || found.bases.front().rules().empty()) {
        for (const auto& u : found.unreadable) out_ << u.first << ": cannot be read: " << u.second << '\n';
        if (found.unreadable.empty())
            out_ << *path << ": names " << found.bases.size()
                 << " knowledge bases with a rule base; the graph shows exactly one\n";
        return 2;
    }
    lint::Session session;
    session.loadAll(found.bases.front());
    out_ << lint::dependencyGraph(session.app(), options);
    return 0;
}

int CliApp::runTests(const std::vector<std::string>& args) {
    if (args.size() < 2) {
        out_ << kUsage << '\n';
        return 2;
    }
    int status = 0;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::filesystem::path file = startDirectory_ / args[i];
        const kb::ReadResult read = kb::readRegularFile(file, kb::kMaxTextFileBytes);
        if (!read.ok()) {
            out_ << args[i] << ": cannot be read: " << read.error << '\n';
            status = 2;
            continue;
        }
        auto parsed = lint::readCase(read.bytes);
        if (auto* why = std::get_if<std::string>(&parsed)) {
            out_ << args[i] << ": not a test case: " << *why << '\n';
            status = 2;
            continue;
        }
        const lint::ReplayResult r = lint::replay(std::get<lint::TestCase>(parsed), file.parent_path());
        out_ << args[i] << ": " << (r.changed() ? "changed" : "passed") << '\n';
        for (const auto& m : r.missingBases) out_ << "  base missing: " << m << '\n';
        for (std::size_t k = 0; k < r.runs.size(); ++k) {
            const auto& run = r.runs[k];
            const shell::Command* c = shell::findCommand(run.command);
            const std::string name = c ? std::string(c->text) : std::to_string(run.command);
            if (run.refused) out_ << "  run " << k + 1 << " (" << name << "): the command is not available\n";
            if (run.notTaken)
                out_ << "  run " << k + 1 << " (" << name << "): a recorded answer is not taken any more (takes: "
                     << escapeControlBytes(*run.notTaken) << "); the run stopped there\n";
            for (const auto& g : run.gained) out_ << "  run " << k + 1 << " (" << name << "): gained " << g << '\n';
            for (const auto& l : run.lost) out_ << "  run " << k + 1 << " (" << name << "): lost " << l << '\n';
            for (const auto& u : run.unanswered)
                out_ << "  run " << k + 1 << " (" << name << "): no recorded answer: " << escapeControlBytes(u) << '\n';
        }
        if (r.changed() && status == 0) status = 1;
    }
    return status;
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
        if (recorder_) recorder_->beforeCommand(command->id, app_);
        guarded([&] { shell_.run(command->id); });
        if (recorder_) recorder_->afterCommand(command->id, app_);
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
