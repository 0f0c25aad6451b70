// Windows outside the modality of the port's dialogs.
#include "qt/companions.h"

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QWindow>

namespace torv::qt {

namespace {
/// Escape, Ctrl+W and Ctrl+F4 close the window, as in the inspection windows.
void closableByKeys(QWidget* w) {
    for (const QKeySequence& k : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W),
                                  QKeySequence(Qt::CTRL | Qt::Key_F4)}) {
        auto* s = new QShortcut(k, w);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(s, &QShortcut::activated, w, &QWidget::close);
    }
}
}  // namespace

Companions::Companions(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

Companions::~Companions() {
    if (qApp) qApp->removeEventFilter(this);
}

void Companions::onKeyInDialog(int key, std::function<void()> action) { keys_[key] = std::move(action); }

void Companions::adopt(QWidget* w, QWidget* modal) {
    // Qt blocks every window but the modal dialog and the windows it is a
    // transient parent of: make the companion one of those.
    if (!w || !modal || !modal->windowHandle()) return;
    w->winId();
    if (QWindow* handle = w->windowHandle()) {
        QWindow* current = handle->transientParent();
        if (current && current->isVisible() && current->modality() != Qt::NonModal) return;
        handle->setTransientParent(modal->windowHandle());
    }
}

void Companions::show(QWidget* w) {
    if (!windows_.contains(w)) {
        windows_ << w;
        closableByKeys(w);
    }
    if (QWidget* modal = QApplication::activeModalWidget()) adopt(w, modal);
    // A hidden window is shown anew so that Qt weighs its new transient parent.
    if (w->isVisible() && QApplication::activeModalWidget()) w->hide();
    w->show();
    w->raise();
    w->activateWindow();
}

void fitOnScreen(QWidget* w) {
    const QScreen* screen = w->screen();
    if (!screen || !w->isVisible()) return;
    const QRect avail = screen->availableGeometry();
    const QMargins frame(w->geometry().left() - w->frameGeometry().left(),
                         w->geometry().top() - w->frameGeometry().top(),
                         w->frameGeometry().right() - w->geometry().right(),
                         w->frameGeometry().bottom() - w->geometry().bottom());
    const QSize room = avail.marginsRemoved(frame).size();
    if (w->width() > room.width() || w->height() > room.height()) {
        // Below its layout's minimum rather than with buttons off screen.
        w->setMinimumSize(w->minimumSize().boundedTo(room));
        w->resize(w->size().boundedTo(room));
    }
    QRect g = w->frameGeometry();
    g.moveRight(std::min(g.right(), avail.right()));
    g.moveBottom(std::min(g.bottom(), avail.bottom()));
    g.moveLeft(std::max(g.left(), avail.left()));
    g.moveTop(std::max(g.top(), avail.top()));
    if (g.topLeft() != w->frameGeometry().topLeft()) w->move(g.topLeft());
}

bool Companions::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Show) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Before Qt computes what the new dialog blocks.
        if (w && w->isWindow() && w->isModal())
            for (const auto& c : windows_)
                if (c) adopt(c, w);
        // Dialogs size themselves while being shown: fit them afterwards.
        if (w && w->isWindow() && qobject_cast<QDialog*>(w))
            QTimer::singleShot(0, w, [w] { fitOnScreen(w); });
    } else if (e->type() == QEvent::KeyPress && !keys_.empty()) {
        auto* k = static_cast<QKeyEvent*>(e);
        auto it = keys_.find(k->key());
        if (it != keys_.end() && k->modifiers() == Qt::NoModifier && QApplication::activeModalWidget()) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == QApplication::activeModalWidget()) {
                it->second();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, e);
}

// ---- MessagesCopy ----

MessagesCopy::MessagesCopy(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Messages"));
    setObjectName(QStringLiteral("messagesCopy"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    // Read with the keyboard too: arrows, Page Up, Ctrl+Home.
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lay->addWidget(text_);
    setFocusProxy(text_);
    resize(640, 420);
}

void MessagesCopy::setText(const QString& text) {
    text_->setPlainText(text);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

void MessagesCopy::append(const QString& text) {
    QTextCursor c(text_->document());
    c.movePosition(QTextCursor::End);
    c.insertText(text);
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

// ---- ManualWindow ----

ManualWindow::ManualWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("torv_AE Help"));
    setObjectName(QStringLiteral("manual"));
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setOpenExternalLinks(false);
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/index.html")));
    lay->addWidget(browser_);
    resize(760, 560);
}

}  // namespace torv::qt
