// TerminalUserPort: boxes printed to a stream and answered from another.
#include "cli/terminal_port.h"

#include <iostream>
#include <istream>
#include <unistd.h>
#include <ostream>

#include "port/message_window.h"

namespace torv::cli {

TerminalUserPort::TerminalUserPort(std::istream& in, std::ostream& out) : in_(in), out_(out) {
    if (::isatty(STDERR_FILENO)) progressOut_ = &std::cerr;
}

bool TerminalUserPort::progress(const std::string& label, std::uint64_t done, std::uint64_t total) {
    if (!progressOut_) return true;
    if (done >= total) {
        if (shownPercent_ >= 0) *progressOut_ << "\r\033[K" << std::flush;  // the line goes when the work ends
        shownPercent_ = -1;
        return true;
    }
    const int percent = static_cast<int>(total ? done * 100 / total : 0);
    if (percent == shownPercent_) return true;
    shownPercent_ = percent;
    *progressOut_ << "\r" << escapeControlBytes(label) << ": " << percent << "%\033[K" << std::flush;
    return true;
}

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

std::string escapeControlBytes(std::string_view text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    auto escape = [&](unsigned char c) {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\t') {
            out += text[i];
        } else if (c < 0x20 || c == 0x7F) {
            escape(c);
        } else if (c == 0xC2 && (i + 1 == text.size() || (static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                                                           static_cast<unsigned char>(text[i + 1]) <= 0x9F))) {
            // U+0080..U+009F in UTF-8: 8-bit terminal controls such as CSI.
            escape(c);
            if (i + 1 < text.size()) escape(static_cast<unsigned char>(text[++i]));
        } else {
            out += text[i];
        }
    }
    return out;
}

void TerminalUserPort::write(std::string_view text) {
    if (text.empty()) return;
    out_ << escapeControlBytes(text);
    out_.flush();
    atLineStart_ = text.back() == '\n';
}

void TerminalUserPort::freshLine() {
    if (!atLineStart_) write("\n");
}

void TerminalUserPort::present(const port::Dialog& d) {
    if (observer) observer(d, nullptr);
    freshLine();
    write("[" + d.kind + "] " + d.title + "\n");
    if (d.kind == "title" || d.kind == "?") return;
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

std::optional<std::string> TerminalUserPort::answer(const port::Dialog& d) {
    auto line = readLine();
    if (line) printLine("> " + *line);
    if (observer) observer(d, &line);
    return line;
}

}  // namespace torv::cli
