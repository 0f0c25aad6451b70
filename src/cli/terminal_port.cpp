// TerminalUserPort: boxes printed to a stream and answered from another.
#include "cli/terminal_port.h"

#include <istream>
#include <ostream>

#include "port/message_window.h"

namespace torv::cli {

TerminalUserPort::TerminalUserPort(std::istream& in, std::ostream& out) : in_(in), out_(out) {}

void TerminalUserPort::attach(port::MessageWindow& messages) {
    // Clearing the pane prints nothing: the terminal keeps its scroll-back.
    messages.setListener({[this](std::string_view text) { write(text); }, {}});
}

std::optional<std::string> TerminalUserPort::readLine() {
    std::string line;
    if (!std::getline(in_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void TerminalUserPort::printLine(std::string_view text) {
    freshLine();
    write(text);
    write("\n");
}

void TerminalUserPort::openHelp(const std::filesystem::path& file) {
    if (file.empty()) {
        present({"help", "torv_AE",
                 "There is no help file \"torv_AE.chm\" in the current directory.\n"
                 "\"torv_ae_cli --help\" lists the commands; README.md describes the program.",
                 "", {}, false});
        return;
    }
    present({"help", file.filename().string(), file.string(), "", {}, false});
}

void TerminalUserPort::write(std::string_view text) {
    if (text.empty()) return;
    out_ << text;
    out_.flush();
    atLineStart_ = text.back() == '\n';
}

void TerminalUserPort::freshLine() {
    if (!atLineStart_) write("\n");
}

void TerminalUserPort::present(const port::Dialog& d) {
    freshLine();
    write("[" + d.kind + "] " + d.title + "\n");
    if (d.kind == "title") return;
    // A caption sits above the dialog's text; button labels and a file mask
    // sit below it.
    const bool promptBelow = d.kind == "yes/no" || d.kind == "ask" || d.kind == "open file" ||
                             d.kind == "save file";
    if (!promptBelow) {
        write(d.prompt);
        freshLine();
    }
    write(d.text);
    freshLine();
    if (promptBelow) {
        write(d.prompt);
        freshLine();
    }
    for (std::size_t i = 0; i < d.items.size(); ++i) write(std::to_string(i + 1) + ". " + d.items[i] + "\n");
}

std::optional<std::string> TerminalUserPort::answer(const port::Dialog&) {
    auto line = readLine();
    if (line) printLine("> " + *line);
    return line;
}

}  // namespace torv::cli
