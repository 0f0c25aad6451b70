// Inspection child windows: the text view, the askables window and the
// graphics window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QWidget>

#include "qt/dialogs.h"

class QPlainTextEdit;
class QListView;
class QLabel;

namespace torv::qt {

/// Closes the MDI sub-window holding `w`, or `w` itself when it stands alone.
void closeHost(QWidget* w);

/// Read-only text in a fixed font; the caret starts at the top.
class TextViewWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextViewWindow(const QString& text, QWidget* parent = nullptr);
    QPlainTextEdit* view() const { return view_; }

private:
    QPlainTextEdit* view_;
};

/// "Inspection of askables": a heading and one list entry per line. The
/// lines stay as they are and become text only as the view shows them, so
/// a list of a million opens at once.
class AskablesWindow : public QWidget {
    Q_OBJECT
public:
    AskablesWindow(const QString& heading, std::vector<std::string> lines, std::function<void()> help,
                   QWidget* parent = nullptr);
    QListView* list() const { return list_; }

private:
    QListView* list_;
};

/// "Inspection of graphics": the bitmap stretched over the window. Once it
/// has been drawn the user is asked whether to close it; a double click
/// closes it at once.
class GraphicsWindow : public ImageView {
    Q_OBJECT
public:
    /// `askClose` puts the question and answers true for yes.
    GraphicsWindow(QImage image, std::function<bool()> askClose, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::function<bool()> askClose_;
    bool asked_ = false;
};

}  // namespace torv::qt
