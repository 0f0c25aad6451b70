// TerminalUserPort: boxes printed to a stream and answered from another.
#include "cli/terminal_port.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <istream>
#include <ostream>
#include <system_error>

#include "kb/file_io.h"
#include "port/message_window.h"

namespace torv::cli {

TerminalUserPort::TerminalUserPort(std::istream& in, std::ostream& out) : in_(in), out_(out) {
    if (::isatty(STDERR_FILENO)) progressOut_ = &std::cerr;
}

bool TerminalUserPort::progress(const std::string& label, std::uint64_t done, std::uint64_t total) {
    if (!progressOut_) return true;
    if (done >= total) {
        eraseProgress();  // the line goes when the work ends
        return true;
    }
    const int percent = static_cast<int>(total ? done * 100 / total : 0);
    if (percent == shownPercent_) return true;
    shownPercent_ = percent;
    out_.flush();   // what was written stays above the progress line
    *progressOut_ << "\r" << escapeControlBytes(label) << ": " << percent << "%\033[K" << std::flush;
    return true;
}

void TerminalUserPort::eraseProgress() {
    if (shownPercent_ >= 0) *progressOut_ << "\r\033[K" << std::flush;
    shownPercent_ = -1;
}

void TerminalUserPort::attach(port::MessageWindow& messages) {
    // Clearing the pane prints nothing: the terminal keeps its scroll-back.
    messages.setListener({[this](std::string_view text) { write(text); }, {}});
}

std::optional<std::string> TerminalUserPort::readLine() {
    out_.flush();   // the question is seen before the answer is awaited
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

namespace {

/// The user's editor command: $VISUAL, else $EDITOR, else vi.
std::string editorCommand() {
    for (const char* name : {"VISUAL", "EDITOR"})
        if (const char* v = std::getenv(name); v && *v) return v;
    return "vi";
}

/// Runs the editor command on `file` through the shell, as other programs
/// do (the command may carry options); its exit status, -1 when it could
/// not be run.
int runEditor(const std::string& command, const std::filesystem::path& file) {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const std::string line = command + " \"$1\"";
        ::execl("/bin/sh", "sh", "-c", line.c_str(), "sh", file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// A private folder for the copy being edited, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/torv_ae-edit.XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace

std::optional<std::string> TerminalUserPort::editedText(const port::EditSession& session, const std::string& text) {
    if (!interactiveEditor_) return TextPort::editedText(session, text);
    const std::string command = editorCommand();
    present({"editor", session.title(), "", command, {}, false});
    auto failed = [&](const std::string& why) -> std::optional<std::string> {
        note("Attention error!", "The file could not be edited with " + command + ":\n" + why);
        return std::nullopt;
    };
    ScratchFolder scratch;
    if (scratch.path().empty()) return failed("no folder for a copy of the file");
    // The copy has the file's name, so that the editor knows its kind.
    const std::filesystem::path copy = scratch.path() / session.file().filename();
    if (const kb::FileResult r = kb::saveFileAtomically(copy, text); !r.ok) return failed(r.error);
    out_.flush();
    const int status = runEditor(command, copy);
    if (status != 0)
        return failed(status < 0 ? "it could not be run" : "it ended with status " + std::to_string(status));
    kb::ReadResult read = kb::readRegularFile(copy, kb::kMaxBaseFileBytes);
    if (!read.ok()) return failed(read.error);
    return std::move(read.bytes);
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
    eraseProgress();  // drawn again by the next report, below what is written now
    // Flushed only before waiting for the user: a long run writes its
    // report in large blocks instead of one system call per line.
    out_ << escapeControlBytes(text);
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
                             d.kind == "save file" || d.kind == "folder" || d.kind == "editor";
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
