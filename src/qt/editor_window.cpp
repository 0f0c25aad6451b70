// Editor window with the "Editing" menu.
#include "qt/editor_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QVBoxLayout>

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
    QFile f(path_);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray raw = f.readAll();
        const std::string bytes(raw.constData(), static_cast<std::size_t>(raw.size()));
        cp1250_ = !isUtf8(bytes);
        editor_->setPlainText(toQ(bytes));
    }
    editor_->moveCursor(QTextCursor::Start);
    editor_->document()->setModified(false);
    setWindowTitle(QStringLiteral("Editing the file: ") + QFileInfo(path_).fileName());
}

bool EditorWindow::write(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QString text = editor_->toPlainText();
    const std::string bytes = cp1250_ ? toCp1250(text) : bytesOf(text);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return true;
}

void EditorWindow::save() {
    if (!write(path_)) {
        port_.note("Error", "File " + fromQ(QFileInfo(path_).fileName()) + " can not be written.");
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
    if (!write(target)) {
        port_.note("Error", "File " + fromQ(QFileInfo(target).fileName()) + " can not be written.");
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
        if (write(path_)) {
            emit port_.messageWritten(QStringLiteral("File: ") + path_ + QStringLiteral(" has been saved.\n"));
            port_.note("Attention!", "File: " + fromQ(QFileInfo(path_).fileName()) + " has been saved.");
        }
    }
    saved_ = true;
    e->accept();
}

}  // namespace torv::qt
