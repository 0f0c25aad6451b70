// TerminalUserPort: the UserPort of the terminal front end. Every box is
// printed as a header line "[<kind>] <title>", then top to bottom what the
// desktop dialog shows: its caption, its text verbatim, its button labels or
// file mask, and its numbered items; boxes that take input read one line and
// echo it as "> <answer>".
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "port/text_port.h"

namespace torv::port { class MessageWindow; }

namespace torv::cli {

/// Text as the terminal shows it: control bytes (and the 8-bit controls of
/// UTF-8) written as \xNN, so that text from a base file cannot move the
/// cursor, retitle or clear the terminal. Line feeds and tabs stay.
std::string escapeControlBytes(std::string_view text);

class TerminalUserPort : public port::TextPort {
public:
    TerminalUserPort(std::istream& in, std::ostream& out);

    /// Prints every text written to the message window as it is written.
    void attach(port::MessageWindow& messages);

    /// The next input line without its line break (a trailing CR is dropped
    /// too); nullopt at end of input.
    std::optional<std::string> readLine();
    /// Prints one line of the front end's own, starting on a fresh line.
    void printLine(std::string_view text);

    /// On a terminal an edited file is a copy opened in $VISUAL or $EDITOR
    /// (vi when neither is set); otherwise its new text is read from the
    /// input, up to a line holding only ".".
    void setInteractiveEditor(bool on) { interactiveEditor_ = on; }

    /// Told every box shown (answer null) and every answer read for one;
    /// a consultation being recorded as a test case listens here.
    std::function<void(const port::Dialog&, const std::optional<std::string>*)> observer;

    /// Without a help file there is no viewer to open: the terminal says
    /// where the manual is.
    void openHelp(const std::filesystem::path& file) override;

    /// Draws one line of progress, redrawn in place, on `err` (standard
    /// error when it is a terminal, else nowhere: scripted runs and their
    /// transcripts see none of it). The terminal cannot stop work midway.
    bool progress(const std::string& label, std::uint64_t done, std::uint64_t total) override;
    void drawProgressOn(std::ostream* err) { progressOut_ = err; }

protected:
    std::optional<std::string> editedText(const port::EditSession& session, const std::string& text) override;
    void present(const port::Dialog& d) override;
    std::optional<std::string> answer(const port::Dialog& d) override;

private:
    /// Writes text verbatim, keeping track of whether a line is open.
    void write(std::string_view text);
    /// Ends an open line, so that what follows starts a line of its own.
    void freshLine();
    /// Removes a progress line that is shown.
    void eraseProgress();

    std::istream& in_;
    std::ostream& out_;
    bool atLineStart_ = true;
    std::ostream* progressOut_ = nullptr;
    int shownPercent_ = -1;
    bool interactiveEditor_ = false;
};

}  // namespace torv::cli
