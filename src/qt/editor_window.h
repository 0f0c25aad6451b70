// The editor window: one base or text file over the core's edit session,
// with the "Editing" menu, highlighting of base files and a check by the
// term reader that marks the first fault.
#pragma once

#include <memory>

#include <QString>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <QWidget>

#include "port/edit_session.h"

class QLabel;
class QMenuBar;
class QPlainTextEdit;

namespace torv::qt {

/// Colours the parts of base-file records: record names, strings, numbers,
/// list brackets; remarks (rem_...) and inactive records (_...) as a whole.
class BaseFileHighlighter : public QSyntaxHighlighter {
public:
    explicit BaseFileHighlighter(QTextDocument* document);

    enum class Part { RecordName, String, Number, Bracket, Remark };
    QTextCharFormat format(Part part) const;

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat recordName_, string_, number_, bracket_, remark_;
};

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    /// `wrap` breaks long lines on display.
    EditorWindow(std::shared_ptr<port::EditSession> session, bool wrap, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return editor_; }
    QMenuBar* menuBar() const { return menuBar_; }
    /// The line under the text that tells what the last check found.
    QLabel* checkLine() const { return checkLine_; }
    /// Null for files the term reader does not read.
    BaseFileHighlighter* highlighter() const { return highlighter_; }
    QString path() const;

    /// The text as typed, line ends "\n".
    std::string text() const;

    /// "Save": the text replaces the bound file, then the window closes.
    void save();
    /// "Save as": the text goes to a file chosen in the save dialog.
    void saveAs();
    /// "Check": true when the term reader finds no fault; otherwise the
    /// fault's line is marked and the caret put at its place.
    bool check();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void finish();

    std::shared_ptr<port::EditSession> session_;
    bool finished_ = false;   // saved or closing: nothing more to ask
    bool closed_ = false;     // the session has been told
    QPlainTextEdit* editor_;
    QMenuBar* menuBar_;
    QLabel* checkLine_;
    BaseFileHighlighter* highlighter_ = nullptr;
};

}  // namespace torv::qt
