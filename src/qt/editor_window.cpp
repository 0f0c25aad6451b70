// Editor window with the "Editing" menu.
#include "qt/editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QVBoxLayout>

#include "kb/file_io.h"
#include "qt/view_windows.h"
#include "qt/qt_user_port.h"
#include "qt/text_codec.h"

namespace torv::qt {

namespace {
std::string bytesOf(const QString& s) { return fromQ(s); }
}

EditorWindow::EditorWindow(const QString& path, bool wrap, QtUserPort& port, QWidget* parent)
    : QWidget(parent), port_(port), path_(path) {
    setWindowTitle(QStringLiteral("torv_AE"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    lay->setMenuBar(menuBar_);
    editor_ = new QPlainTextEdit(this);
    editor_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lay->addWidget(editor_);
    setFocusProxy(editor_);

    auto* menu = menuBar_->addMenu(QStringLiteral("Editing"));
    auto* undo = menu->addAction(QStringLiteral("Cofnij"), QKeySequence::Undo, editor_, &QPlainTextEdit::undo);
    auto* redo = menu->addAction(QStringLiteral("Pon\u00f3w"), QKeySequence::Redo, editor_, &QPlainTextEdit::redo);
    menu->addSeparator();
    auto* cut = menu->addAction(QStringLiteral("Wytnij"), QKeySequence::Cut, editor_, &QPlainTextEdit::cut);
    menu->addAction(QStringLiteral("Kopiuj"), QKeySequence::Copy, editor_, &QPlainTextEdit::copy);
    menu->addAction(QStringLiteral("Wklej"), QKeySequence::Paste, editor_, &QPlainTextEdit::paste);
    auto* del = menu->addAction(QStringLiteral("Usu\u0144"), editor_,
                                [this] { editor_->textCursor().removeSelectedText(); });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Save as"), this, &EditorWindow::saveAs);
    menu->addAction(QStringLiteral("Save"), QKeySequence::Save, this, &EditorWindow::save);
    for (auto* a : menu->actions()) a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    undo->setEnabled(false);
    redo->setEnabled(false);
    cut->setEnabled(false);
    del->setEnabled(false);
    connect(editor_, &QPlainTextEdit::undoAvailable, undo, &QAction::setEnabled);
    connect(editor_, &QPlainTextEdit::redoAvailable, redo, &QAction::setEnabled);
    connect(editor_, &QPlainTextEdit::copyAvailable, cut, &QAction::setEnabled);
    connect(editor_, &QPlainTextEdit::copyAvailable, del, &QAction::setEnabled);

    emit port_.messageWritten(
        QStringLiteral("If you wish to edit yet another base or abstract file, click this window!\n"));
    // A device, pipe or huge file is refused before it is read; a missing one starts empty.
    kb::ReadResult read = kb::readRegularFile(pathFromQ(path_), kb::kMaxBaseFileBytes);
    if (read.ok()) {
        cp1250_ = !isUtf8(read.bytes);
        editor_->setPlainText(toQ(read.bytes));
    } else if (read.fault != kb::ReadResult::Fault::Missing) {
        port_.note("Error", read.error);
        editor_->setReadOnly(true);
        saved_ = true;  // nothing to save over a file that could not be read
    }
    editor_->moveCursor(QTextCursor::Start);
    editor_->document()->setModified(false);
    setWindowTitle(QStringLiteral("Editing the file: ") + QFileInfo(path_).fileName());
}

std::string EditorWindow::write(const QString& path) {
    // The old file is replaced only once the new text is wholly on disk.
    QSaveFile f(path);
    const QString text = editor_->toPlainText();
    const std::string bytes = cp1250_ ? toCp1250(text) : bytesOf(text);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
                                              static_cast<qint64>(bytes.size()) ||
        !f.commit())
        return "cannot write " + fromQ(path) + ": " + fromQ(f.errorString());
    return {};
}

void EditorWindow::save() {
    if (editor_->isReadOnly()) return;  // the file was not read: its text is not here to save
    if (const std::string error = write(path_); !error.empty()) {
        port_.note("Error", "File " + fromQ(QFileInfo(path_).fileName()) + " can not be written.\n" + error);
        return;
    }
    emit port_.messageWritten(QStringLiteral("File : ") + path_ + QStringLiteral(" has been saved\n"));
    port_.note("Attention!", "File " + fromQ(QFileInfo(path_).fileName()) + " has been saved");
    saved_ = true;
    closeHost(this);
}

void EditorWindow::saveAs() {
    port::FileDialog d;
    d.title = fromQ(windowTitle());
    d.mask = "*.*";
    d.filters = {{"*.*", "*.*"}};
    d.directory = pathFromQ(QFileInfo(path_).absolutePath());
    const std::string chosen = port_.saveFile(d);
    if (chosen.empty()) return;
    const QString target = pathToQ(chosen);
    if (const std::string error = write(target); !error.empty()) {
        port_.note("Error", "File " + fromQ(QFileInfo(target).fileName()) + " can not be written.\n" + error);
        return;
    }
    emit port_.messageWritten(QStringLiteral("New base: ") + target + QStringLiteral(" has been saved\n"));
    port_.note("Attention!", "New base: " + fromQ(QFileInfo(target).fileName()) + " has been saved.");
    saved_ = true;
    closeHost(this);
}

void EditorWindow::closeEvent(QCloseEvent* e) {
    if (saved_) {
        e->accept();
        return;
    }
    emit port_.editorClosing();
    if (port_.yesNo("Saving", "Do you wish to save the base ?") == port::kYes) {
        if (const std::string error = write(path_); error.empty()) {
            emit port_.messageWritten(QStringLiteral("File: ") + path_ + QStringLiteral(" has been saved.\n"));
            port_.note("Attention!", "File: " + fromQ(QFileInfo(path_).fileName()) + " has been saved.");
        } else {
            port_.note("Error", "File " + fromQ(QFileInfo(path_).fileName()) + " can not be written.\n" + error);
        }
    }
    saved_ = true;
    e->accept();
}

}  // namespace torv::qt
