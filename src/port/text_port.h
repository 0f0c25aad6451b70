// TextPort: a UserPort realised as text. Each box becomes a Dialog that is
// presented as text and, when it takes input, answered with one line. The
// terminal front end and the scripted test port differ only in where the
// text goes and where the answer line comes from.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "port/texts.h"
#include "port/user_port.h"

namespace torv::port {

/// A box as text: kind and title make the header line, then the text, the
/// caption or prompt, and numbered items for list dialogs.
struct Dialog {
    std::string kind;                   // "note", "yes/no", "pick one", ...
    std::string title;
    std::string text;                   // verbatim, may hold line breaks
    std::string prompt;                 // caption, prompt or button labels
    std::vector<std::string> items;     // numbered from 1 when shown
    bool takesInput = false;
};

/// Answer parsing shared by every text port.
namespace answers {
/// Button number from "2", a label without '&' (any case), or y/n for
/// Yes/No labels; nullopt when the text names no button.
std::optional<int> button(std::string_view answer, const std::vector<std::string>& labels);
/// 0-based position from a 1-based number; nullopt when empty or out of range.
std::optional<std::size_t> choice(std::string_view answer, std::size_t count);
/// 0-based positions from item numbers separated by blanks or commas,
/// ascending, once each; "0" alone is the empty selection. nullopt when a
/// word is not an item number, or nothing is given.
std::optional<std::vector<std::size_t>> choices(std::string_view answer, std::size_t count);
/// Label with the '&' accelerator marks removed.
std::string plainLabel(std::string_view label);
}  // namespace answers

class TextPort : public UserPort {
public:
    void note(const std::string& title, const std::string& text) override;
    /// The note itself: the terminal has no window to show witnesses in.
    void findingNote(Diagnosis diagnosis, const std::string& title, const std::string& text) override;
    int yesNo(const std::string& title, const std::string& text) override;
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    std::optional<std::string> inputString(const std::string& title, const std::string& prompt,
                                           const std::string& initial) override;
    std::string openFile(const FileDialog& dialog) override;
    std::string saveFile(const FileDialog& dialog) override;
    std::optional<std::string> subdirectoryDialog(const FileDialog& dialog) override;

    std::optional<std::string> pickRuleForFlattening(const std::vector<std::string>& lines) override;
    void importedFacts(const std::vector<std::string>& facts,
                       const std::vector<std::string>& values) override;
    std::optional<std::size_t> pickExternalData(const std::vector<std::string>& items) override;
    std::optional<std::size_t> pickDataSource(const std::vector<std::string>& sources) override;
    int typeOfHypothesis() override;
    void showGraphics(const std::filesystem::path& bitmap) override;
    void showAdvice(const std::string& fileName, const std::string& text) override;
    std::optional<std::string> argumentValue(const std::string& argument) override;
    void message(const std::string& caption, const std::vector<std::string>& lines) override;
    std::optional<std::vector<std::size_t>> pickFacts(const std::string& caption,
                                                      const std::vector<std::string>& items) override;
    std::optional<std::size_t> pickFact(const std::string& caption,
                                        const std::vector<std::string>& items) override;
    void showAbstract(const std::string& header, const std::string& text) override;
    int levelOfDetail() override;
    int factDeclarationMode() override;
    std::optional<std::string> pickMediaFile(MediaKind kind, const std::string& baseName,
                                             const std::vector<std::string>& files) override;
    void about() override;

    void textView(const std::string& title, const std::string& text) override;
    void askablesWindow(const std::string& heading, const std::vector<std::string>& lines) override;
    void recordWindow(std::shared_ptr<const RecordSource> source) override;
    void graphicsWindow(const std::filesystem::path& bitmap) override;
    void playSound(const std::filesystem::path& wave) override;
    /// Shows the text, takes the new one (editedText) and asks the save
    /// question, again while saving fails; the call returns once closed.
    void editFile(std::shared_ptr<EditSession> session, bool wrap) override;
    void openHelp(const std::filesystem::path& file) override;
    void setTitle(const std::string& title) override;
    /// Shows nothing and goes on: transcripts stay the same however long
    /// the work.
    bool progress(const std::string& label, std::uint64_t done, std::uint64_t total) override;

    /// The answers a dialog takes, and their description for the user.
    struct Acceptable {
        std::function<bool(const std::string&)> accepts;
        std::string described;
    };

protected:
    /// The edited text: the lines that follow, up to a line holding only
    /// "." ("..", a line "."). nullopt when the input ends first.
    virtual std::optional<std::string> editedText(const EditSession& session, const std::string& text);
    /// Shows a dialog (header, text, prompt, items). A dialog of kind "?"
    /// tells that an answer was not taken; its title lists what is.
    virtual void present(const Dialog& d) = 0;
    /// The answer line to a dialog that takes input; nullopt at end of input
    /// (counts as cancel / No / closed without a choice).
    virtual std::optional<std::string> answer(const Dialog& d) = 0;

private:
    std::optional<std::string> show(const Dialog& d);
    /// Shows a dialog that has an "End" button until it gets an answer other
    /// than "end", or throws EndProgram when ending is confirmed.
    std::optional<std::string> showWithEnd(const Dialog& d, const char* closeQuestion);
    /// Shows a dialog and reads answers until one is acceptable (or "end",
    /// with a close question); nullopt at end of input.
    std::optional<std::string> showUntil(const Dialog& d, const Acceptable& acceptable,
                                         const char* closeQuestion = nullptr);
    /// showWithEnd for a list: asks again, saying what it takes, until the
    /// answer is empty (closed) or `accepted` takes it.
    template <class Accepted>
    std::optional<std::string> showList(const Dialog& d, const std::string& takes, Accepted accepted);
    /// An empty line closes a closable choice (kRadioClosed); the others
    /// keep their preselected button.
    int radio(const char* title, const texts::RadioChoice& choice);
    std::string fileDialog(const char* kind, const FileDialog& dialog);
};

/// Resolves a typed path against a dialog's start directory.
std::string resolveTypedPath(const std::string& typed, const std::filesystem::path& directory);

}  // namespace torv::port
