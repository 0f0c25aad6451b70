// The editor window: one base or text file, saved back to disk on request.
#pragma once

#include <string>

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QMenuBar;

namespace torv::qt {

class QtUserPort;

class EditorWindow : public QWidget {
    Q_OBJECT
public:
    /// Opens `path` for editing; `wrap` breaks long lines on display.
    EditorWindow(const QString& path, bool wrap, QtUserPort& port, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return editor_; }
    QMenuBar* menuBar() const { return menuBar_; }
    QString path() const { return path_; }

    /// "Save": the text replaces the bound file, then the window closes.
    void save();
    /// "Save as": the text goes to a file chosen in the save dialog.
    void saveAs();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    /// Saves the text to `path`; empty on success, otherwise why not.
    std::string write(const QString& path);

    QtUserPort& port_;
    QString path_;
    bool cp1250_ = false;     // the file came in the old code page
    bool saved_ = false;      // closing after a save asks nothing more
    QPlainTextEdit* editor_;
    QMenuBar* menuBar_;
};

}  // namespace torv::qt
