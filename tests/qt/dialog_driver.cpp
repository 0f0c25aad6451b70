// Modal dialog driver for GUI tests.
#include "dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

namespace torv::qt::testing {

DialogDriver::DialogDriver(int deadlineMs) : deadlineMs_(deadlineMs) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, &DialogDriver::tick);
    clock_.start();
    timer_.start();
}

DialogDriver::~DialogDriver() { timer_.stop(); }

DialogDriver& DialogDriver::then(Action action) {
    actions_.push_back(std::move(action));
    clock_.restart();
    if (!timer_.isActive()) timer_.start();
    return *this;
}

DialogDriver& DialogDriver::otherwise(Action action) {
    fallback_ = std::move(action);
    if (!timer_.isActive()) timer_.start();
    return *this;
}

void DialogDriver::tick() {
    if (actions_.empty() && !fallback_) {
        timer_.stop();
        return;
    }
    QWidget* w = QApplication::activeModalWidget();
    if (!actions_.empty() && clock_.elapsed() > deadlineMs_) {
        qWarning("DialogDriver: gave up with %d action(s) left; active modal: %s",
                 static_cast<int>(actions_.size()), w ? qPrintable(w->windowTitle()) : "none");
        actions_.clear();
        fallback_ = nullptr;
        timer_.stop();
        // Unblock the test whatever is open.
        for (auto* top : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(top); d && d->isVisible()) d->reject();
        return;
    }
    if (!w || !w->isVisible()) return;
    // The dialog just answered may still be on its way out.
    if (w == last_ && w->property("torvDriven").toBool()) return;
    Action& act = actions_.empty() ? fallback_ : actions_.front();
    const QString title = w->windowTitle();
    if (!act(w)) return;
    if (last_) last_->setProperty("torvDriven", false);
    w->setProperty("torvDriven", true);
    last_ = w;
    titles_ << title;
    if (!actions_.empty()) actions_.pop_front();
}

QAbstractButton* findButton(QWidget* dialog, const QString& label) {
    for (auto* b : dialog->findChildren<QAbstractButton*>())
        if (b->text() == label && b->isVisible()) return b;
    return nullptr;
}

bool click(QWidget* dialog, const QString& label) {
    auto* b = findButton(dialog, label);
    if (!b) {
        qWarning("no button %s in %s", qPrintable(label), qPrintable(dialog->windowTitle()));
        return false;
    }
    b->click();
    return true;
}

static bool answer(QWidget* w, QMessageBox::StandardButton which) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box || !box->button(which)) return false;
    box->button(which)->click();
    return true;
}

bool answerYes(QWidget* box) { return answer(box, QMessageBox::Yes); }
bool answerNo(QWidget* box) { return answer(box, QMessageBox::No); }

bool closeDialog(QWidget* dialog) {
    auto* d = qobject_cast<QDialog*>(dialog);
    if (!d) return false;
    d->reject();
    return true;
}

bool chooseFile(QWidget* dialog, const QString& path) {
    auto* dlg = qobject_cast<QFileDialog*>(dialog);
    if (!dlg) return false;
    auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name) return false;
    const QFileInfo info(path);
    if (info.isAbsolute()) dlg->setDirectory(info.absolutePath());
    name->setText(info.isAbsolute() ? info.fileName() : path);
    static_cast<QDialog*>(dlg)->accept();
    return true;
}

bool answerAnything(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        if (box->button(QMessageBox::No)) return answerNo(dialog);
        if (!box->buttons().isEmpty()) {
            box->buttons().front()->click();
            return true;
        }
    }
    return closeDialog(dialog);
}

DialogDriver::Action recordAndClick(SeenBox& seen, const QString& label) {
    return [&seen, label](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.questionIcon = box->icon() == QMessageBox::Question;
        seen.buttons.clear();
        for (auto* b : box->buttons()) seen.buttons << b->text();
        QAbstractButton* target = label.isEmpty() ? box->buttons().value(0) : nullptr;
        for (auto* b : box->buttons())
            if (b->text() == label) target = b;
        if (!target) return false;
        target->click();
        return true;
    };
}

}  // namespace torv::qt::testing
