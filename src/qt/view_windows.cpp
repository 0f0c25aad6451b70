// Text view, askables and graphics windows.
#include "port/texts.h"
#include "qt/text_codec.h"
#include "qt/view_windows.h"

#include <QAbstractListModel>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace torv::qt {

void closeHost(QWidget* w) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget())) sub->close();
    else w->close();
}

TextViewWindow::TextViewWindow(const QString& text, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Inspection"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(8);
    view_->setFont(fixed);
    if (!text.isEmpty()) {
        view_->setPlainText(text);
        view_->moveCursor(QTextCursor::Start);
    }
    lay->addWidget(view_);
    setFocusProxy(view_);
}

namespace {

class LinesModel : public QAbstractListModel {
public:
    LinesModel(std::vector<std::string> lines, QObject* parent)
        : QAbstractListModel(parent), lines_(std::move(lines)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(lines_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return toQ(lines_[static_cast<std::size_t>(index.row())]);
    }

private:
    std::vector<std::string> lines_;
};

}  // namespace

AskablesWindow::AskablesWindow(const QString& heading, std::vector<std::string> lines, std::function<void()> help,
                               QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QString::fromUtf8(port::texts::kAskablesWindowTitle));
    auto* lay = new QVBoxLayout(this);
    auto* label = new QLabel(heading, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setObjectName(QStringLiteral("heading"));
    list_ = new QListView(this);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setModel(new LinesModel(std::move(lines), list_));
    label->setBuddy(list_);
    lay->addWidget(label);
    lay->addWidget(list_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    row->addWidget(close);
    row->addWidget(helpButton);
    lay->addLayout(row);
    connect(close, &QPushButton::clicked, this, [this] { closeHost(this); });
    connect(helpButton, &QPushButton::clicked, this, [help] {
        if (help) help();
    });
    setFocusProxy(list_);
}

GraphicsWindow::GraphicsWindow(QImage image, std::function<bool()> askClose, QWidget* parent)
    : ImageView(std::move(image), parent), askClose_(std::move(askClose)) {
    setWindowTitle(QString::fromUtf8(port::texts::kGraphicsWindowTitle));
    connect(this, &ImageView::doubleClicked, this, [this] { closeHost(this); });
}

void GraphicsWindow::paintEvent(QPaintEvent* e) {
    ImageView::paintEvent(e);
    if (asked_ || !askClose_) return;
    asked_ = true;
    // The question is modal: put it once the paint has finished.
    QTimer::singleShot(0, this, [this] {
        if (askClose_()) closeHost(this);
    });
}

}  // namespace torv::qt
