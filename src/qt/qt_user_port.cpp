// QtUserPort: modal dialogs via exec(), inspection windows as MDI children.
#include "port/texts.h"
#include "qt/qt_user_port.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>

#include "qt/companions.h"
#include "qt/dialogs.h"
#include "qt/editor_window.h"
#include "qt/file_dialogs.h"
#include "qt/view_windows.h"
#include "qt/record_windows.h"
#include "qt/sound_player.h"
#include "qt/text_codec.h"

namespace torv::qt {

namespace t = port::titles;

namespace {
QString q(const char* s) { return QString::fromUtf8(s); }

QImage loadImage(const std::filesystem::path& path) {
    QImageReader reader(pathToQ(path.string()));
    reader.setAutoTransform(true);
    return reader.read();
}

constexpr const char* kHelpFile = "Main_ae.HLP";
}  // namespace

QtUserPort::QtUserPort(QObject* parent)
    : QObject(parent), openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    companions_.onKeyInDialog(Qt::Key_F1, [this] { showManual(); });
    if (qApp) qApp->installEventFilter(this);
}

QtUserPort::~QtUserPort() {
    if (qApp) qApp->removeEventFilter(this);
    delete manual_;
    delete witnessWindow_;
}

bool QtUserPort::eventFilter(QObject* watched, QEvent* e) {
    // A dialog over the progress dialog would sit under it once the
    // progress dialog shows itself; it goes instead.
    if (progress_ && e->type() == QEvent::Show && watched != progress_ && qobject_cast<QDialog*>(watched)) {
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    return QObject::eventFilter(watched, e);
}

void QtUserPort::setWindowHost(QMdiArea* area) { host_ = area; }
void QtUserPort::setDialogParent(QWidget* parent) { dialogParent_ = parent; }
void QtUserPort::setCurrentDirectory(std::function<std::filesystem::path()> dir) { currentDir_ = std::move(dir); }
void QtUserPort::setUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
void QtUserPort::setWitnessSource(WitnessSource source) { witnessSource_ = std::move(source); }

QWidget* QtUserPort::dialogParent() const {
    if (dialogParent_) return dialogParent_;
    return QApplication::activeWindow();
}

int QtUserPort::execWithEnd(QDialog& dialog, const char* question) {
    while (true) {
        const int r = dialog.exec();
        if (r != kEndPressed) return r;
        if (yesNo(t::kAttention, question) == port::kYes) throw port::EndProgram{};
    }
}

QWidget* QtUserPort::showChild(QWidget* window, QSize size) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &QObject::destroyed, this, &QtUserPort::childWindowClosed);
    // Escape, Ctrl+W and Ctrl+F4 close an inspection or editor window (an
    // editor still offers to save); in the MDI area the sub-window itself
    // already takes Ctrl+W and Ctrl+F4, and a second binding would void both.
    QList<QKeySequence> keys{QKeySequence(Qt::Key_Escape)};
    if (!host_) keys << QKeySequence(Qt::CTRL | Qt::Key_W) << QKeySequence(Qt::CTRL | Qt::Key_F4);
    for (const QKeySequence& key : keys) {
        auto* s = new QShortcut(key, window);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, window, [window] {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) sub->close();
            else window->close();
        });
    }
    if (host_) {
        QMdiSubWindow* sub = host_->addSubWindow(window);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->resize(size);
        sub->show();
        host_->setActiveSubWindow(sub);
    } else {
        window->resize(size);
        window->show();
    }
    window->setFocus();
    return window;
}

// ---- simple boxes ----

namespace {
/// Makes a message box wide enough for its whole title: Qt leaves room for
/// the title text only, not for a window manager's bold font and buttons.
void fitTitle(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const int titleBar = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 150;
    const QScreen* screen = box.screen();
    const int limit = screen ? screen->availableGeometry().width() * 9 / 10 : titleBar;
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label) return;
    // Only ever widen: a minimum below the text's own width would clip it.
    int longest = 0;
    for (const QString& line : box.text().split(QLatin1Char('\n')))
        longest = std::max(longest, label->fontMetrics().horizontalAdvance(line));
    const int wanted = std::min(titleBar, limit) - 90;
    if (wanted > longest) label->setMinimumWidth(wanted);
}
}  // namespace

bool isFaultNote(const QString& title, const QString& text) {
    // "Attention!" also confirms work done ("Report r.RPT  has been saved."):
    // a confirmation is information, whatever its title.
    static const QRegularExpression done(QStringLiteral("\\b(has|have) been (saved|deleted|created)"));
    if (done.match(text).hasMatch()) return false;
    return title.startsWith(QLatin1String("Attention")) || title.contains(QLatin1String("rror")) ||
           title.contains(QLatin1String("Exception")) || title.contains(QLatin1String("Faulty"));
}

void QtUserPort::note(const std::string& title, const std::string& text) {
    witnesses_.reset();
    const QString t = toQ(title);
    QMessageBox box(isFaultNote(t, toQ(text)) ? QMessageBox::Warning : QMessageBox::Information, t, toQ(text),
                    QMessageBox::Ok, dialogParent());
    box.setTextFormat(Qt::PlainText);
    fitTitle(box);
    box.exec();
}

void QtUserPort::findingNote(port::Diagnosis diagnosis, const std::string& title, const std::string& text) {
    if (!witnessSource_) {
        note(title, text);
        return;
    }
    // A report may consume its findings as it shows them: the source is
    // asked at the first note of the run, the text made only when wanted.
    if (!witnesses_ || witnesses_->first != diagnosis) witnesses_.emplace(diagnosis, witnessSource_(diagnosis));
    const std::function<QString()> witnesses = witnesses_->second;
    const QString heading = toQ(title);
    QMessageBox box(isFaultNote(heading, toQ(text)) ? QMessageBox::Warning : QMessageBox::Information, heading,
                    toQ(text), QMessageBox::Ok, dialogParent());
    box.setTextFormat(Qt::PlainText);
    QPushButton* witness = box.addButton(q(port::texts::kShowWitness), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    fitTitle(box);
    // Every button closes a message box: the note comes back after the
    // witnesses are shown, and they stay usable while it waits.
    while (true) {
        box.exec();
        if (box.clickedButton() != witness) break;
        const QString shown = witnesses();
        if (!witnessWindow_) {
            auto* w = new TextViewWindow(shown);
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->setWindowTitle(q(t::kWitnesses));
            w->resize(720, 420);
            witnessWindow_ = w;
        } else if (auto* w = qobject_cast<TextViewWindow*>(witnessWindow_.data())) {
            w->view()->setPlainText(shown);
        }
        companions_.show(witnessWindow_);
    }
}

int QtUserPort::yesNo(const std::string& title, const std::string& text) {
    witnesses_.reset();
    QMessageBox box(QMessageBox::Question, toQ(title), toQ(text), QMessageBox::Yes | QMessageBox::No,
                    dialogParent());
    box.setTextFormat(Qt::PlainText);
    // Enter must never end the program by accident.
    const bool closing = text == t::kCloseQuestion || text == t::kCloseQuestionArgument;
    box.setDefaultButton(closing ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    fitTitle(box);
    return box.exec() == QMessageBox::Yes ? port::kYes : port::kNo;
}

int QtUserPort::ask(const std::string& title, const std::string& text, const std::vector<std::string>& buttons) {
    witnesses_.reset();
    QMessageBox box(QMessageBox::Question, toQ(title), toQ(text), QMessageBox::NoButton, dialogParent());
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton*> added;
    for (const auto& label : buttons) added << box.addButton(toQ(label), QMessageBox::ActionRole);
    if (!added.isEmpty()) box.setDefaultButton(static_cast<QPushButton*>(added.front()));
    // Closing the box counts as the second button.
    if (added.size() >= 2) box.setEscapeButton(added[1]);
    fitTitle(box);
    box.exec();
    const int pressed = static_cast<int>(added.indexOf(box.clickedButton()));
    return pressed >= 0 ? pressed + 1 : 2;
}

std::optional<std::string> QtUserPort::inputString(const std::string& title, const std::string& prompt,
                                                   const std::string& initial) {
    QInputDialog dlg(dialogParent());
    dlg.setWindowTitle(toQ(title));
    dlg.setLabelText(toQ(prompt));
    dlg.setTextValue(toQ(initial));
    dlg.setInputMode(QInputDialog::TextInput);
    // Room for a whole label, not the few characters Qt offers.
    if (auto* field = dlg.findChild<QLineEdit*>()) field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 40);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return fromQ(dlg.textValue());
}

std::string QtUserPort::openFile(const port::FileDialog& dialog) {
    return pathFromQ(runFileDialog(dialog, false, dialogParent()));
}

std::optional<std::string> QtUserPort::subdirectoryDialog(const port::FileDialog& dialog) {
    // The dialog's own "Create New Folder" makes the folders; a file chosen
    // in it is of no use here. It opens where the media folder is nearest.
    port::FileDialog at = dialog;
    std::error_code ec;
    while (!at.directory.empty() && !std::filesystem::is_directory(at.directory, ec) &&
           at.directory.has_parent_path() && at.directory.parent_path() != at.directory)
        at.directory = at.directory.parent_path();
    runFileDialog(at, false, dialogParent());
    return std::nullopt;
}

std::string QtUserPort::saveFile(const port::FileDialog& dialog) {
    // The dialog adds the extension itself, before it asks about overwriting.
    return pathFromQ(runFileDialog(dialog, true, dialogParent()));
}

// ---- resource dialogs ----

std::optional<std::string> QtUserPort::pickRuleForFlattening(const std::vector<std::string>& lines) {
    RulePickDialog dlg(toQ(lines), dialogParent());
    connect(&dlg, &RulePickDialog::helpRequested, this, [this] { openHelp(kHelpFile); });
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const int row = dlg.selectedRow();
    if (row < 0) return std::nullopt;
    return lines[static_cast<std::size_t>(row)];
}

void QtUserPort::importedFacts(const std::vector<std::string>& facts, const std::vector<std::string>& values) {
    ImportedFactsDialog dlg(toQ(facts), toQ(values), dialogParent());
    dlg.exec();
}

std::optional<std::size_t> QtUserPort::pickExternalData(const std::vector<std::string>& items) {
    FramedListDialog dlg(q(t::kExternalData), q(port::texts::kExternalDataCaption), toQ(items),
                         dialogParent());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedRow() < 0) return std::nullopt;
    return static_cast<std::size_t>(dlg.selectedRow());
}

std::optional<std::size_t> QtUserPort::pickDataSource(const std::vector<std::string>& sources) {
    FramedListDialog dlg(q(t::kExternalSources), q(port::texts::kExternalSourcesCaption), toQ(sources),
                         dialogParent());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedRow() < 0) return std::nullopt;
    return static_cast<std::size_t>(dlg.selectedRow());
}

int QtUserPort::typeOfHypothesis() {
    return radio(t::kTypeOfHypothesis, port::texts::kTypeOfHypothesis);
}

void QtUserPort::showGraphics(const std::filesystem::path& bitmap) {
    BitmapDialog dlg(loadImage(bitmap), dialogParent());
    dlg.exec();
}

void QtUserPort::showAdvice(const std::string& fileName, const std::string& text) {
    TextReaderDialog dlg(q(t::kAdviceView), toQ(fileName), toQ(text), dialogParent());
    dlg.exec();
}

std::optional<std::string> QtUserPort::argumentValue(const std::string& argument) {
    ArgumentValueDialog dlg(toQ(argument), dialogParent());
    if (execWithEnd(dlg, t::kCloseQuestionArgument) != QDialog::Accepted) return std::nullopt;
    return fromQ(dlg.value());
}

void QtUserPort::message(const std::string& caption, const std::vector<std::string>& lines) {
    CaptionListDialog dlg(q(t::kMessage), toQ(caption), toQ(lines), CaptionListDialog::Selection::None,
                          dialogParent());
    execWithEnd(dlg, t::kCloseQuestion);
}

std::optional<std::vector<std::size_t>> QtUserPort::pickFacts(const std::string& caption,
                                                              const std::vector<std::string>& items) {
    CaptionListDialog dlg(q(t::kPickFacts), toQ(caption), toQ(items), CaptionListDialog::Selection::Multi,
                          dialogParent());
    // The close box and Escape reject; "&Continue" with nothing selected means none of them.
    if (execWithEnd(dlg, t::kCloseQuestion) != QDialog::Accepted) return std::nullopt;
    std::vector<std::size_t> out;
    for (int row : dlg.selectedRows()) out.push_back(static_cast<std::size_t>(row));
    return out;
}

std::optional<std::size_t> QtUserPort::pickFact(const std::string& caption, const std::vector<std::string>& items) {
    CaptionListDialog dlg(q(t::kPickFact), toQ(caption), toQ(items), CaptionListDialog::Selection::Single,
                          dialogParent());
    if (execWithEnd(dlg, t::kCloseQuestion) != QDialog::Accepted) return std::nullopt;
    const auto rows = dlg.selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(rows.front());
}

void QtUserPort::showAbstract(const std::string& header, const std::string& text) {
    TextReaderDialog dlg(q(t::kAbstract), toQ(header), toQ(text), dialogParent());
    dlg.exec();
}

int QtUserPort::levelOfDetail() {
    return radio(t::kLevelOfDetail, port::texts::kLevelOfDetail);
}

int QtUserPort::radio(const char* title, const port::texts::RadioChoice& c) {
    RadioDialog dlg(q(title), q(c.prompt), {q(c.first), q(c.second)}, c.preselected, dialogParent());
    const bool closed = dlg.exec() != QDialog::Accepted;
    return closed && c.closable ? port::kRadioClosed : dlg.checked();
}

int QtUserPort::factDeclarationMode() {
    return radio(t::kFactDeclarationMode, port::texts::kFactDeclarationMode);
}

std::optional<std::string> QtUserPort::pickMediaFile(MediaKind kind, const std::string& baseName,
                                                     const std::vector<std::string>& files) {
    QString title, baseLabel, pickLabel;
    switch (kind) {
    case MediaKind::Sound:
        title = q(t::kMelodyPicker);
        baseLabel = q(port::texts::kMelodyPicker.baseLabel);
        pickLabel = q(port::texts::kMelodyPicker.pickPrompt);
        break;
    case MediaKind::Graphics:
        title = q(t::kGraphicsPicker);
        baseLabel = q(port::texts::kGraphicsPicker.baseLabel);
        pickLabel = q(port::texts::kGraphicsPicker.pickPrompt);
        break;
    case MediaKind::Advice:
        title = q(t::kAdvicePicker);
        baseLabel = q(port::texts::kAdvicePicker.baseLabel);
        pickLabel = q(port::texts::kAdvicePicker.pickPrompt);
        break;
    }
    MediaPickerDialog dlg(title, baseLabel, toQ(baseName), pickLabel, toQ(files), dialogParent());
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const int index = dlg.files()->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= files.size()) return std::nullopt;
    return files[static_cast<std::size_t>(index)];
}

void QtUserPort::about() {
    AboutDialog dlg(dialogParent());
    dlg.exec();
}

// ---- windows and media ----

void QtUserPort::textView(const std::string& title, const std::string& text) {
    auto* w = new TextViewWindow(toQ(text));
    if (!title.empty()) w->setWindowTitle(toQ(title));
    showChild(w, {720, 420});
}

void QtUserPort::askablesWindow(const std::string& heading, const std::vector<std::string>& lines) {
    auto* w = new AskablesWindow(toQ(heading), lines, [this] { openHelp(kHelpFile); });
    showChild(w, {520, 400});
}

void QtUserPort::recordWindow(std::shared_ptr<const port::RecordSource> source) {
    auto* w = new qt::RecordWindow(std::move(source), [this] { openHelp(kHelpFile); });
    showChild(w, {700, 440});
}

void QtUserPort::graphicsWindow(const std::filesystem::path& bitmap) {
    const QImage image = loadImage(bitmap);
    auto* w = new GraphicsWindow(image, [this] {
        return yesNo("Choose:", "Do you wish to close the graphics window?") == port::kYes;
    });
    QSize size = image.isNull() ? QSize(400, 300) : image.size().boundedTo(QSize(800, 560));
    showChild(w, size.expandedTo(QSize(200, 150)));
}

void QtUserPort::playSound(const std::filesystem::path& wave) {
    const QString path = pathToQ(wave.string());
    // A missing file stays silent; one that exists but cannot be played says why.
    if (!QFileInfo(path).isFile()) return;
    const QString failure = playWave(path);
    if (!failure.isEmpty())
        emit messageWritten(QStringLiteral("The sound ") + QFileInfo(path).fileName() +
                            QStringLiteral(" could not be played: ") + failure + QLatin1Char('\n'));
}

void QtUserPort::editFile(std::shared_ptr<port::EditSession> session, bool wrap) {
    showChild(new EditorWindow(std::move(session), wrap), {720, 460});
}

void QtUserPort::showManual() {
    if (!manual_) {
        manual_ = new ManualWindow;
        manual_->setAttribute(Qt::WA_DeleteOnClose);
    }
    companions_.show(manual_);
}

void QtUserPort::openHelp(const std::filesystem::path& file) {
    std::filesystem::path path = file;
    if (path.is_relative() && currentDir_) path = currentDir_() / path;
    const QString name = pathToQ(path.string());
    // A help file of the bases goes to the desktop's viewer; without one, or
    // without a viewer, the program's own manual.
    if (!file.empty() && QFileInfo(name).isFile() && openUrl_ && openUrl_(QUrl::fromLocalFile(name))) return;
    showManual();
}

void QtUserPort::setTitle(const std::string& title) {
    title_ = toQ(title);
    emit titleChanged(title_);
}

bool QtUserPort::progress(const std::string& label, std::uint64_t done, std::uint64_t total) {
    constexpr int kSteps = 1000;  // the dialog counts in int; work may not fit
    if (progress_ && progressLabel_ != label) delete progress_;
    if (done >= total) {
        delete progress_;
        return true;
    }
    if (!progress_) {
        progress_ = new QProgressDialog(toQ(label), QStringLiteral("Cancel"), 0, kSteps, dialogParent());
        progress_->setWindowTitle(toQ(label));
        progress_->setWindowModality(Qt::WindowModal);
        progress_->setMinimumDuration(500);
        progress_->setAutoReset(false);
        progress_->setAutoClose(false);
        progressLabel_ = label;
    }
    progress_->setValue(static_cast<int>(total ? done * kSteps / total : 0));
    QCoreApplication::processEvents();
    return progress_ && !progress_->wasCanceled();
}

}  // namespace torv::qt
