// Drives modal dialogs in GUI tests: a repeating timer acts on the active
// modal widget while the code under test sits in exec().
#pragma once

#include <deque>
#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

class QAbstractButton;

namespace torv::qt::testing {

class DialogDriver : public QObject {
    Q_OBJECT
public:
    /// Acts on one dialog; returns false to be called again on the next tick
    /// (e.g. while a file list is still loading).
    using Action = std::function<bool(QWidget*)>;

    explicit DialogDriver(int deadlineMs = 15000);
    ~DialogDriver() override;

    /// Queues an action for the next dialog that opens.
    DialogDriver& then(Action action);
    /// Acts on every dialog that opens once the queue is empty.
    DialogDriver& otherwise(Action action);
    /// True once every queued action has run.
    bool done() const { return actions_.empty(); }
    /// Titles of the dialogs acted on, in order.
    const QStringList& seenTitles() const { return titles_; }

private:
    void tick();

    std::deque<Action> actions_;
    Action fallback_;
    QTimer timer_;
    QElapsedTimer clock_;
    int deadlineMs_;
    QPointer<QWidget> last_;
    QStringList titles_;
};

/// The button whose text is `label` (with its '&'), or nullptr.
QAbstractButton* findButton(QWidget* dialog, const QString& label);
/// Clicks it; false when there is no such button.
bool click(QWidget* dialog, const QString& label);
/// Presses Yes or No of a message box.
bool answerYes(QWidget* box);
bool answerNo(QWidget* box);
/// Closes the dialog as Escape would (reject).
bool closeDialog(QWidget* dialog);
/// Answers whatever comes: No where there is a No, else the first button,
/// else closes the dialog.
bool answerAnything(QWidget* dialog);

/// Types `path` into a file dialog's name field and accepts, as a user
/// would; a path with a directory moves the dialog there first.
bool chooseFile(QWidget* dialog, const QString& path);

/// A message box as seen: its title, text and button labels.
struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
    bool questionIcon = false;
};
/// Records the box into `seen` and then presses `label` (default: the first).
DialogDriver::Action recordAndClick(SeenBox& seen, const QString& label = {});

}  // namespace torv::qt::testing
