// The resource dialogs of the port: titles, controls and captions as the
// system shows them. Each dialog only collects an answer; QtUserPort runs it
// and turns the answer into the port's value.
#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace torv::qt {

/// exec() result of a dialog whose "End" button was pressed.
inline constexpr int kEndPressed = 100;

/// A picture drawn stretched over the whole widget.
class ImageView : public QWidget {
    Q_OBJECT
public:
    explicit ImageView(QImage image = {}, QWidget* parent = nullptr);
    void setImage(QImage image);
    const QImage& image() const { return image_; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    QImage image_;
};

/// Common frame: a button row at the bottom in the given order, the first
/// button being the default one.
class PortDialog : public QDialog {
    Q_OBJECT
public:
    explicit PortDialog(const QString& title, QWidget* parent = nullptr);
    QPushButton* button(const QString& label) const;

protected:
    QVBoxLayout* body() const { return body_; }
    static constexpr int kKeepOpen = -1;
    /// Adds a push button; `result` is the exec() code it closes with, or
    /// kKeepOpen for a button that acts without closing.
    QPushButton* addButton(const QString& label, int result);
    /// Fixed-size dialogs follow their contents; the others may be resized.
    void setResizable(bool resizable);

private:
    QVBoxLayout* body_;
    QWidget* buttonRow_;
    QList<QPushButton*> buttons_;
};

/// A line "number  conclusion" laid out in the columns of the flattening
/// picker's heading.
QString ruleColumns(const QString& line);

/// "Pick a rule for flattening": a heading over a list; OK, Cancel, Help.
class RulePickDialog : public PortDialog {
    Q_OBJECT
public:
    RulePickDialog(const QStringList& lines, QWidget* parent = nullptr);
    /// The selected row, -1 when none.
    int selectedRow() const;
    QListWidget* list() const { return list_; }

signals:
    void helpRequested();

private:
    QListWidget* list_;
};

/// A list in a frame with OK: the external data and data source pickers.
class FramedListDialog : public PortDialog {
    Q_OBJECT
public:
    FramedListDialog(const QString& title, const QString& frame, const QStringList& items,
                     QWidget* parent = nullptr);
    int selectedRow() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

/// "Imported facts inspection": two framed lists and OK.
class ImportedFactsDialog : public PortDialog {
    Q_OBJECT
public:
    ImportedFactsDialog(const QStringList& facts, const QStringList& values, QWidget* parent = nullptr);
};

/// A question with radio buttons, the default one preselected; OK.
class RadioDialog : public PortDialog {
    Q_OBJECT
public:
    RadioDialog(const QString& title, const QString& text, const QStringList& labels, int preselected,
                QWidget* parent = nullptr);
    /// 1-based number of the checked button.
    int checked() const;
    QAbstractButton* radio(int number) const;

private:
    QButtonGroup* group_;
};

/// "Graphics file inspection" (viewer): the bitmap stretched; End closes.
class BitmapDialog : public PortDialog {
    Q_OBJECT
public:
    BitmapDialog(const QImage& image, QWidget* parent = nullptr);
};

/// A read-only one-line field over a read-only text; Continue. The advice
/// reader and "Abstract inspection".
class TextReaderDialog : public PortDialog {
    Q_OBJECT
public:
    TextReaderDialog(const QString& title, const QString& field, const QString& text,
                     QWidget* parent = nullptr);
    QLineEdit* field() const { return field_; }
    QPlainTextEdit* text() const { return text_; }

private:
    QLineEdit* field_;
    QPlainTextEdit* text_;
};

/// "Argument value": argument name = value; OK, End.
class ArgumentValueDialog : public PortDialog {
    Q_OBJECT
public:
    ArgumentValueDialog(const QString& argument, QWidget* parent = nullptr);
    QString value() const;
    QLineEdit* valueField() const { return value_; }

private:
    QLineEdit* value_;
};

/// A caption field over a list, Continue and End: "Message", "Pick facts"
/// and "Pick a fact".
class CaptionListDialog : public PortDialog {
    Q_OBJECT
public:
    enum class Selection { None, Single, Multi };
    CaptionListDialog(const QString& title, const QString& caption, const QStringList& items,
                      Selection selection, QWidget* parent = nullptr);
    /// Selected rows, ascending.
    QList<int> selectedRows() const;
    QListWidget* list() const { return list_; }
    QLineEdit* caption() const { return caption_; }

private:
    QLineEdit* caption_;
    QListWidget* list_;
};

/// The drop-down file pickers of the advice, graphics and sound bases.
class MediaPickerDialog : public PortDialog {
    Q_OBJECT
public:
    MediaPickerDialog(const QString& title, const QString& baseLabel, const QString& baseName,
                      const QString& pickLabel, const QStringList& files, QWidget* parent = nullptr);
    QString chosen() const;
    QComboBox* files() const { return files_; }

private:
    QComboBox* files_;
};

/// "About".
class AboutDialog : public PortDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

/// The picture of the intro window, drawn by the program itself.
QImage introPicture(QSize size = {640, 400});

}  // namespace torv::qt
