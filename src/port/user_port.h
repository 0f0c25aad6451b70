// UserPort: every question, choice, note, file choice and window the core
// shows to the user. Front ends implement it; the core only calls it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "port/edit_session.h"
#include "port/record_source.h"

namespace torv::port {

/// Thrown by a port when the user confirmed "End" (or the close question):
/// the dispatcher catches it and the front end exits cleanly.
struct EndProgram {};

/// Thrown by Progress::check when the user asked to stop long work: the
/// command that started the work catches it, says so and keeps nothing.
struct Cancelled {};

/// One entry of a file dialog's type list: ("Rule Base (RU*.AEB)", "RU*.AEB").
struct FileFilter {
    std::string label;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

/// What a file dialog shows. Masks match file names without regard to case.
struct FileDialog {
    std::string title;
    std::string mask;                       // initial mask, e.g. "Ru*.AEB"
    std::vector<FileFilter> filters;
    std::filesystem::path directory;        // where the dialog starts
    /// Save dialogs ask before an existing file is replaced (default No);
    /// false only where the caller asks its own question.
    bool confirmOverwrite = true;
};

/// Yes/no answers of the platform message box and of the radio dialogs.
inline constexpr int kYes = 1;
inline constexpr int kNo = 2;
/// "Type of hypothesis" and "Fact declaration mode" closed without OK (the
/// forward chaining's mode 3).
inline constexpr int kRadioClosed = 3;

/// The extension a save dialog gives a typed name that has none: the one of
/// the mask, else of the first filter ("*.RPT" gives "RPT"); empty when the
/// pattern names no single extension ("*.*").
std::string defaultSuffix(const FileDialog& dialog);
/// `path` with "." + defaultSuffix(dialog) appended when its file name has no
/// extension; unchanged otherwise.
std::string withDefaultSuffix(const std::string& path, const FileDialog& dialog);

/// Titles of the resource dialogs, used by every port.
namespace titles {
inline constexpr const char* kPickRuleForFlattening = "Pick a rule for flattening";
inline constexpr const char* kImportedFacts = "Imported facts inspection";
inline constexpr const char* kExternalData = "Data from external data source";
inline constexpr const char* kExternalSources = "External data sources";
inline constexpr const char* kTypeOfHypothesis = "Type of hypothesis";
inline constexpr const char* kGraphicsView = "Graphics file inspection";
inline constexpr const char* kAdviceView = "Advice file inspection";
inline constexpr const char* kArgumentValue = "Argument value";
inline constexpr const char* kMessage = "Message";
inline constexpr const char* kPickFacts = "Pick facts";
inline constexpr const char* kPickFact = "Pick a fact";
inline constexpr const char* kAbstract = "Abstract inspection";
inline constexpr const char* kLevelOfDetail = "Level of detail";
inline constexpr const char* kFactDeclarationMode = "Fact declaration mode";
inline constexpr const char* kMelodyPicker = "Melody inspection";
inline constexpr const char* kGraphicsPicker = "Graphics file inspection";
inline constexpr const char* kAdvicePicker = "Advice file inspection";
inline constexpr const char* kAbout = "About";
inline constexpr const char* kAttention = "Attention!";
inline constexpr const char* kCloseQuestion = "Do you really wish to close the program?";
/// The "Argument value" dialog's End question is spelt this way.
inline constexpr const char* kCloseQuestionArgument = "Do you really wich to close the program?";
inline constexpr const char* kWitnesses = "Witnesses of the findings";
}  // namespace titles

/// The diagnoses whose reports show findings with witnesses.
enum class Diagnosis {
    External,
    Internal,
    Redundancy,
    JointRuleConstraintInconsistency,
    JointRuleConstraintRedundancy,
    Model,
    JointModelRule,
};

class UserPort {
public:
    virtual ~UserPort() = default;

    // ---- simple boxes ----
    /// An information or error note with one OK button.
    virtual void note(const std::string& title, const std::string& text) = 0;
    /// A note of a diagnostic report that shows a finding of `diagnosis`.
    /// At the first note of a run of them every finding of that diagnosis is
    /// still in place, so a port may offer their witnesses beside it; a text
    /// port shows it as a note.
    virtual void findingNote(Diagnosis diagnosis, const std::string& title, const std::string& text) = 0;
    /// Platform Yes/No box: kYes (1) or kNo (2); closed without answer = kNo.
    virtual int yesNo(const std::string& title, const std::string& text) = 0;
    /// Two or three labelled buttons ("&YES", "&NO", "&WHY?"): the number of
    /// the pressed button, 1 for the first. Closed without answer = 2.
    virtual int ask(const std::string& title, const std::string& text,
                    const std::vector<std::string>& buttons) = 0;
    /// A line of text; nullopt when cancelled.
    virtual std::optional<std::string> inputString(const std::string& title,
                                                   const std::string& prompt,
                                                   const std::string& initial) = 0;
    /// Full path of an existing file, or "" when cancelled.
    virtual std::string openFile(const FileDialog& dialog) = 0;
    /// Full path of a file to create, or "" when cancelled. A typed name
    /// without extension gets withDefaultSuffix().
    virtual std::string saveFile(const FileDialog& dialog) = 0;
    /// The folder-creating dialog over dialog.directory. A port with the
    /// platform's file dialog lets the user create folders in it and returns
    /// nullopt; a text port returns the name typed for a folder the caller
    /// creates there (nullopt when cancelled).
    virtual std::optional<std::string> subdirectoryDialog(const FileDialog& dialog) = 0;

    // ---- resource dialogs ----
    /// 10000: the chosen line, nullopt on Cancel.
    virtual std::optional<std::string> pickRuleForFlattening(const std::vector<std::string>& lines) = 0;
    /// 10007.
    virtual void importedFacts(const std::vector<std::string>& facts,
                               const std::vector<std::string>& values) = 0;
    /// 10012: position of the chosen item.
    virtual std::optional<std::size_t> pickExternalData(const std::vector<std::string>& items) = 0;
    /// 10014: position of the chosen data source.
    virtual std::optional<std::size_t> pickDataSource(const std::vector<std::string>& sources) = 0;
    /// 10015: 1 narrow-sense, 2 wide-sense, kRadioClosed when closed.
    virtual int typeOfHypothesis() = 0;
    /// 10019: the bitmap drawn stretched; returns when closed.
    virtual void showGraphics(const std::filesystem::path& bitmap) = 0;
    /// 10020: the advice reader.
    virtual void showAdvice(const std::string& fileName, const std::string& text) = 0;
    /// 10023: the text typed; nullopt when closed without a value.
    /// "End" confirmed throws EndProgram.
    virtual std::optional<std::string> argumentValue(const std::string& argument) = 0;
    /// 10026: caption and lines; "End" confirmed throws EndProgram.
    virtual void message(const std::string& caption, const std::vector<std::string>& lines) = 0;
    /// 10028: chosen positions (0-based, ascending), empty when confirmed with
    /// nothing selected; nullopt when closed without confirming; "End"
    /// confirmed throws.
    virtual std::optional<std::vector<std::size_t>> pickFacts(const std::string& caption,
                                               const std::vector<std::string>& items) = 0;
    /// 10029: chosen position (0-based), first preselected; nullopt when
    /// closed without a choice; "End" confirmed throws.
    virtual std::optional<std::size_t> pickFact(const std::string& caption,
                                                const std::vector<std::string>& items) = 0;
    /// 10030.
    virtual void showAbstract(const std::string& header, const std::string& text) = 0;
    /// 10031: 1 low, 2 high.
    virtual int levelOfDetail() = 0;
    /// 10032: 1 menu for choosing facts, 2 querying the user, kRadioClosed
    /// when closed.
    virtual int factDeclarationMode() = 0;
    /// 10033, 10039, 10040: a drop-down picker over file names; the chosen
    /// file name, nullopt when closed without OK.
    enum class MediaKind { Sound, Graphics, Advice };
    virtual std::optional<std::string> pickMediaFile(MediaKind kind, const std::string& baseName,
                                                     const std::vector<std::string>& files) = 0;
    /// 10044.
    virtual void about() = 0;

    // ---- windows and media ----
    /// The read-only text view child window (fixed font), with its title.
    virtual void textView(const std::string& title, const std::string& text) = 0;
    /// The askables window: heading and one entry per line.
    virtual void askablesWindow(const std::string& heading, const std::vector<std::string>& lines) = 0;
    /// A record inspection window over the source's records.
    virtual void recordWindow(std::shared_ptr<const RecordSource> source) = 0;
    /// The graphics child window (repaint question, double click closes).
    virtual void graphicsWindow(const std::filesystem::path& bitmap) = 0;
    /// Plays a wave file and returns when it has finished (bounded wait).
    virtual void playSound(const std::filesystem::path& wave) = 0;
    /// The editor window over a session; `wrap` breaks long lines on
    /// display. A window may outlive the call: it keeps the session.
    virtual void editFile(std::shared_ptr<EditSession> session, bool wrap) = 0;
    /// Opens a help file with the desktop's viewer (or the project manual).
    virtual void openHelp(const std::filesystem::path& file) = 0;
    /// The main window's title.
    virtual void setTitle(const std::string& title) = 0;

    // ---- long work ----
    /// How far long work under `label` has come; false when the user asked
    /// to stop it. Called with done == total when the work ends.
    virtual bool progress(const std::string& label, std::uint64_t done, std::uint64_t total) = 0;
};

/// Reports long work to a port at most about a hundred times, whatever its
/// length, and remembers a request to stop.
class Progress {
public:
    Progress(UserPort& port, std::string label, std::uint64_t total)
        : port_(port), label_(std::move(label)), total_(total), step_(total / 100 ? total / 100 : 1) {}
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    /// False once the user has asked to stop.
    bool at(std::uint64_t done) {
        if (!stopped_ && done >= next_) {
            next_ = done + step_;
            stopped_ = !port_.progress(label_, done, total_);
        }
        return !stopped_;
    }
    /// at(), throwing Cancelled once the user has asked to stop.
    void check(std::uint64_t done) {
        if (!at(done)) throw Cancelled{};
    }
    /// check() for work that goes over the same range again and again (the
    /// passes of a scan): `position` is where the current pass is, and the
    /// port hears of it about a hundred times per `total` steps of work.
    void checkPass(std::uint64_t position) {
        if (!stopped_ && ++steps_ >= next_) {
            next_ = steps_ + step_;
            stopped_ = !port_.progress(label_, position, total_);
        }
        if (stopped_) throw Cancelled{};
    }
    /// Tells the port the work is over (done or stopped).
    void finish() {
        if (!finished_) port_.progress(label_, total_, total_);
        finished_ = true;
    }
    ~Progress() { finish(); }
    bool stopped() const { return stopped_; }

private:
    UserPort& port_;
    std::string label_;
    std::uint64_t total_;
    std::uint64_t step_;
    std::uint64_t next_ = 0;
    std::uint64_t steps_ = 0;
    bool stopped_ = false;
    bool finished_ = false;
};

}  // namespace torv::port
