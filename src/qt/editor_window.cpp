// Editor window with the "Editing" menu.
#include "qt/editor_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include "port/texts.h"
#include "qt/text_codec.h"
#include "qt/view_windows.h"

namespace torv::qt {

namespace {

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

QTextCharFormat colour(const QColor& c, bool bold = false, bool italic = false) {
    QTextCharFormat f;
    f.setForeground(c);
    if (bold) f.setFontWeight(QFont::Bold);
    f.setFontItalic(italic);
    return f;
}

}  // namespace

BaseFileHighlighter::BaseFileHighlighter(QTextDocument* document)
    : QSyntaxHighlighter(document),
      recordName_(colour(QColor(0x1f, 0x4e, 0x9a), true)),
      string_(colour(QColor(0x8a, 0x3b, 0x12))),
      number_(colour(QColor(0x0b, 0x7a, 0x4b))),
      bracket_(colour(QColor(0x6a, 0x1b, 0x9a), true)),
      remark_(colour(QColor(0x80, 0x80, 0x80), false, true)) {}

QTextCharFormat BaseFileHighlighter::format(Part part) const {
    switch (part) {
    case Part::RecordName: return recordName_;
    case Part::String: return string_;
    case Part::Number: return number_;
    case Part::Bracket: return bracket_;
    case Part::Remark: return remark_;
    }
    return {};
}

void BaseFileHighlighter::highlightBlock(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    const qsizetype nameStart = i;
    while (i < n && isNameChar(text[i])) ++i;
    const QStringView name = QStringView(text).mid(nameStart, i - nameStart);
    // Remarks and inactive records are kept but never read: grey the whole line.
    if (name.startsWith(QLatin1String("rem_")) || name.startsWith(QLatin1Char('_'))) {
        setFormat(0, static_cast<int>(n), remark_);
        return;
    }
    setFormat(static_cast<int>(nameStart), static_cast<int>(i - nameStart), recordName_);
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            const qsizetype from = i++;
            while (i < n && text[i] != QLatin1Char('"')) i += text[i] == QLatin1Char('\\') ? 2 : 1;
            i = std::min(i + 1, n);
            setFormat(static_cast<int>(from), static_cast<int>(i - from), string_);
        } else if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < n && text[i + 1].isDigit())) {
            const qsizetype from = i++;
            while (i < n && (text[i].isDigit() || text[i] == QLatin1Char('.') || text[i] == QLatin1Char('e') ||
                             text[i] == QLatin1Char('E') ||
                             ((text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')) &&
                              (text[i - 1] == QLatin1Char('e') || text[i - 1] == QLatin1Char('E')))))
                ++i;
            setFormat(static_cast<int>(from), static_cast<int>(i - from), number_);
        } else {
            if (c == QLatin1Char('[') || c == QLatin1Char(']')) setFormat(static_cast<int>(i), 1, bracket_);
            ++i;
        }
    }
}

EditorWindow::EditorWindow(std::shared_ptr<port::EditSession> session, bool wrap, QWidget* parent)
    : QWidget(parent), session_(std::move(session)) {
    setWindowTitle(QString::fromUtf8(port::texts::kProgramName));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    menuBar_ = new QMenuBar(this);
    lay->setMenuBar(menuBar_);
    editor_ = new QPlainTextEdit(this);
    editor_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    editor_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lay->addWidget(editor_);
    checkLine_ = new QLabel(this);
    checkLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    checkLine_->setContentsMargins(6, 2, 6, 2);
    checkLine_->hide();
    lay->addWidget(checkLine_);
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
    auto* checkAction = menu->addAction(QString::fromUtf8(port::texts::kCheckAction), QKeySequence(Qt::Key_F7),
                                        this, [this] { check(); });
    checkAction->setEnabled(session_->checkable());
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

    if (session_->checkable()) highlighter_ = new BaseFileHighlighter(editor_->document());
    if (const auto& text = session_->text()) {
        editor_->setPlainText(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())));
    } else {
        editor_->setReadOnly(true);   // not read, so nothing here may be saved over it
    }
    editor_->moveCursor(QTextCursor::Start);
    editor_->document()->setModified(false);
    setWindowTitle(toQ(session_->title()));
}

QString EditorWindow::path() const { return pathToQ(session_->file().string()); }

std::string EditorWindow::text() const {
    // The raw text keeps no-break spaces, which the plain text turns into blanks.
    QString raw = editor_->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw.toUtf8().toStdString();
}

bool EditorWindow::check() {
    if (!session_->checkable()) return true;
    const std::string typed = text();
    const auto fault = session_->check(typed);
    checkLine_->show();
    if (!fault) {
        editor_->setExtraSelections({});
        checkLine_->setText(QString::fromUtf8(port::texts::kCheckPassed));
        return true;
    }
    const QTextBlock block = editor_->document()->findBlockByNumber(std::max(fault->line - 1, 0));
    // The reader counts bytes of UTF-8; the editor counts characters.
    const QByteArray bytes = block.text().toUtf8();
    const int column = fault->position > 0
                           ? static_cast<int>(QString::fromUtf8(bytes.left(fault->position - 1)).size())
                           : 0;
    QTextEdit::ExtraSelection mark;
    mark.cursor = QTextCursor(block);
    mark.format.setBackground(QColor(0xff, 0xd6, 0xd6));
    mark.format.setProperty(QTextFormat::FullWidthSelection, true);
    editor_->setExtraSelections({mark});
    QTextCursor caret(block);
    caret.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::min(column, block.length() - 1));
    editor_->setTextCursor(caret);
    editor_->ensureCursorVisible();
    checkLine_->setText(QString::fromUtf8(port::texts::kCheckFaultLine) + QString::number(fault->line) +
                        (fault->position > 0 ? QString::fromUtf8(port::texts::kCheckFaultPosition) +
                                                   QString::number(fault->position)
                                             : QString()) +
                        QStringLiteral(": ") + toQ(fault->message));
    return false;
}

void EditorWindow::finish() {
    finished_ = true;
    closeHost(this);
}

void EditorWindow::save() {
    // The check shows a fault but never stands in the way of saving.
    check();
    if (session_->save(text())) finish();
}

void EditorWindow::saveAs() {
    check();
    if (session_->saveAs(text())) finish();
}

void EditorWindow::closeEvent(QCloseEvent* e) {
    if (!finished_ && !session_->closeRequested(text())) {
        // The text was to be saved and could not be: it stays here.
        e->ignore();
        return;
    }
    e->accept();
    finished_ = true;
    if (!closed_) {
        closed_ = true;
        session_->closed();
    }
}

}  // namespace torv::qt
