// Intro window.
#include "qt/intro_window.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "qt/view_windows.h"

namespace torv::qt {

IntroWindow::IntroWindow(QWidget* parent) : ImageView(introPicture(), parent) {
    setWindowTitle(QStringLiteral("Welcome to "));
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(QStringLiteral("Close this window to begin"));
    connect(this, &ImageView::doubleClicked, this, [this] { closeHost(this); });
}

void IntroWindow::closeEvent(QCloseEvent* e) {
    e->accept();
    emit closed();
}

void IntroWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter ||
        e->key() == Qt::Key_Space) {
        closeHost(this);
        return;
    }
    ImageView::keyPressEvent(e);
}

}  // namespace torv::qt
