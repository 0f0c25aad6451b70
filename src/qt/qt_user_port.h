// QtUserPort: the UserPort as modal Qt dialogs and MDI child windows.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QUrl>

#include "port/texts.h"
#include "port/user_port.h"
#include "qt/companions.h"

class QDialog;
class QMdiArea;
class QWidget;

namespace torv::qt {

/// True when a note reports a fault (warning icon) rather than informs.
bool isFaultNote(const QString& title, const QString& text);

class QtUserPort : public QObject, public port::UserPort {
    Q_OBJECT
public:
    explicit QtUserPort(QObject* parent = nullptr);
    ~QtUserPort() override;

    /// Child windows open in this area; without one they are top-level.
    void setWindowHost(QMdiArea* area);
    /// Dialogs are centred over this window.
    void setDialogParent(QWidget* parent);
    /// Relative help file names resolve against this directory.
    void setCurrentDirectory(std::function<std::filesystem::path()> dir);
    /// How help files of the bases are shown; the desktop's viewer by default.
    void setUrlOpener(std::function<bool(const QUrl&)> opener);
    /// Where "Show witness" of a diagnostic report gets its text: called at
    /// the first finding note of a run of them, while every finding is in
    /// place, it returns what gives the text once the button is pressed.
    /// Without one the notes have no such button.
    using WitnessSource = std::function<std::function<QString()>(port::Diagnosis)>;
    void setWitnessSource(WitnessSource source);
    /// The window "Show witness" opened, if any (for tests).
    QWidget* witnessWindow() const { return witnessWindow_; }

    QString title() const { return title_; }
    /// Windows that stay usable while a dialog waits.
    Companions& companions() { return companions_; }
    /// The program's own manual (F1 in any dialog too).
    void showManual();
    QWidget* manualWindow() const { return manual_; }

    // ---- simple boxes ----
    void note(const std::string& title, const std::string& text) override;
    /// The note with a "Show witness" button that opens the witnesses of
    /// the diagnosis beside it, usable while the note waits.
    void findingNote(port::Diagnosis diagnosis, const std::string& title, const std::string& text) override;
    int yesNo(const std::string& title, const std::string& text) override;
    int ask(const std::string& title, const std::string& text,
            const std::vector<std::string>& buttons) override;
    std::optional<std::string> inputString(const std::string& title, const std::string& prompt,
                                           const std::string& initial) override;
    std::string openFile(const port::FileDialog& dialog) override;
    std::string saveFile(const port::FileDialog& dialog) override;
    std::optional<std::string> subdirectoryDialog(const port::FileDialog& dialog) override;

    // ---- resource dialogs ----
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

    // ---- windows and media ----
    void textView(const std::string& title, const std::string& text) override;
    void askablesWindow(const std::string& heading, const std::vector<std::string>& lines) override;
    void recordWindow(std::shared_ptr<const port::RecordSource> source) override;
    void graphicsWindow(const std::filesystem::path& bitmap) override;
    void playSound(const std::filesystem::path& wave) override;
    void editFile(std::shared_ptr<port::EditSession> session, bool wrap) override;
    void openHelp(const std::filesystem::path& file) override;
    void setTitle(const std::string& title) override;
    /// A progress dialog with Cancel, shown once the work has taken half a
    /// second; events are processed so that the window stays alive. Any
    /// other dialog closes it (a question asked during the work): the work's
    /// next report opens a new one, again after half a second.
    bool progress(const std::string& label, std::uint64_t done, std::uint64_t total) override;
    /// The open progress dialog, if any (for tests).
    QProgressDialog* progressDialog() const { return progress_; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

signals:
    void titleChanged(const QString& title);
    /// An inspection, graphics or editor window has closed.
    void childWindowClosed();
    /// A line for the message window from the port itself (a sound it cannot play).
    void messageWritten(const QString& text);

private:
    QWidget* dialogParent() const;
    /// Runs a dialog that has "End": a confirmed End throws EndProgram,
    /// a refused one shows the dialog again.
    int execWithEnd(QDialog& dialog, const char* question);
    /// Closing a closable choice answers kRadioClosed.
    int radio(const char* title, const port::texts::RadioChoice& choice);
    /// Puts a window into the host area (or on screen) and watches it close.
    QWidget* showChild(QWidget* window, QSize size);

    QPointer<QMdiArea> host_;
    QPointer<QWidget> dialogParent_;
    std::function<std::filesystem::path()> currentDir_;
    std::function<bool(const QUrl&)> openUrl_;
    QString title_;
    Companions companions_;
    QPointer<QWidget> manual_;
    QPointer<QProgressDialog> progress_;
    WitnessSource witnessSource_;
    /// The text of the witnesses of the finding notes being shown; other
    /// boxes end the run.
    std::optional<std::pair<port::Diagnosis, std::function<QString()>>> witnesses_;
    QPointer<QWidget> witnessWindow_;
    std::string progressLabel_;
};

}  // namespace torv::qt
