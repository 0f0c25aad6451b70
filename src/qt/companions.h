// Windows that stay usable while a question waits: a modal dialog blocks the
// main window (and its Messages pane), but not the windows kept here.
#pragma once

#include <functional>
#include <map>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QPlainTextEdit;
class QTextBrowser;

namespace torv::qt {

/// Keeps a top-level window inside its screen's available area, shrinking
/// it when it is larger (dialogs at a large scale factor).
void fitOnScreen(QWidget* w);

/// Also keeps every dialog on screen as it opens.
class Companions : public QObject {
    Q_OBJECT
public:
    explicit Companions(QObject* parent = nullptr);
    ~Companions() override;

    /// Shows the top-level window `w` (raised), outside the modality of the
    /// dialog that waits now and of those that open while it is shown.
    void show(QWidget* w);
    /// A key that acts while a modal dialog waits (F1, F6).
    void onKeyInDialog(int key, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void adopt(QWidget* w, QWidget* modal);

    QList<QPointer<QWidget>> windows_;
    std::map<int, std::function<void()>> keys_;
};

/// A read-only copy of the Messages pane in a window of its own.
class MessagesCopy : public QWidget {
    Q_OBJECT
public:
    explicit MessagesCopy(QWidget* parent = nullptr);
    void setText(const QString& text);
    void append(const QString& text);
    QPlainTextEdit* pane() const { return text_; }

private:
    QPlainTextEdit* text_;
};

/// The project's manual in a browser window of the program.
class ManualWindow : public QWidget {
    Q_OBJECT
public:
    explicit ManualWindow(QWidget* parent = nullptr);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace torv::qt
