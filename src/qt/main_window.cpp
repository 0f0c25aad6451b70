// Main window.
#include "qt/main_window.h"

#include <memory>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QMenu>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <QToolBar>
#include <QScreen>

#include "state/app_state.h"
#include "shell/shell.h"
#include "qt/editor_window.h"
#include "lint/witness.h"
#include "qt/graph_window.h"
#include "qt/record_windows.h"
#include "state/record_sources.h"
#include "qt/intro_window.h"
#include "qt/mnemonics.h"
#include "qt/qt_user_port.h"
#include "qt/text_codec.h"

namespace torv::qt {

namespace {
QString plain(std::string_view s) {
    QString t = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    return t.remove(QLatin1Char('&'));
}

// The tool bar: the commands used most, with short labels.
struct ToolCommand {
    int id;
    const char* label;
    QStyle::StandardPixmap icon;
};
constexpr ToolCommand kToolCommands[] = {
    {shell::cmd::kRuleBaseLoading, "Load Rule Base", QStyle::SP_DialogOpenButton},
    {shell::cmd::kInspectingAllRules, "All Rules", QStyle::SP_FileDialogDetailedView},
    {shell::cmd::kForwardChaining, "Forward", QStyle::SP_MediaSeekForward},
    {shell::cmd::kBackwardChaining, "Backward", QStyle::SP_MediaSeekBackward},
    {shell::cmd::kReportInspection, "Reports", QStyle::SP_FileDialogContentsView},
    {shell::cmd::kMessageWindowCreating, "Messages", QStyle::SP_BrowserReload},
    {shell::cmd::kHelp, "Help", QStyle::SP_DialogHelpButton},
};

constexpr double kMessagesShare = 0.30;   // of the client area's height

// Icons the style lacks (or draws poorly), drawn here so they look alike
// on every desktop.
QIcon drawnIcon(int id) {
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (id == shell::cmd::kHelp) {
        p.setBrush(QColor(40, 110, 200));
        p.setPen(QPen(QColor(20, 60, 130), 3));
        p.drawEllipse(QRectF(5, 5, 54, 54));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(40);
        f.setBold(true);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 2, 64, 64), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        // A message pane: a framed page of lines.
        p.setBrush(QColor(250, 250, 245));
        p.setPen(QPen(QColor(90, 100, 115), 3));
        p.drawRoundedRect(QRectF(6, 8, 52, 48), 5, 5);
        p.setPen(QPen(QColor(40, 110, 200), 4, Qt::SolidLine, Qt::RoundCap));
        for (int y = 20; y <= 44; y += 8) p.drawLine(14, y, y == 44 ? 36 : 50, y);
    }
    return QIcon(pm);
}

/// An icon with its disabled look drawn explicitly: some icon engines draw
/// a greyed action exactly like an enabled one.
QIcon withDisabledLook(const QIcon& icon, const QWidget* w) {
    QIcon out;
    QStyleOption opt;
    opt.initFrom(w);
    for (int size : {16, 22, 24, 32, 48}) {
        const QPixmap pm = icon.pixmap(QSize(size, size));
        if (pm.isNull()) continue;
        out.addPixmap(pm, QIcon::Normal);
        out.addPixmap(w->style()->generatedIconPixmap(QIcon::Disabled, pm, &opt), QIcon::Disabled);
    }
    return out;
}

QString qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool hasEnabledItem(const QMenu* menu) {
    for (auto* a : menu->actions()) {
        if (a->isSeparator() || !a->isEnabled()) continue;
        if (!a->menu() || hasEnabledItem(a->menu())) return true;
    }
    return false;
}

constexpr const char* kWhileWaiting =
    "While a question waits: F6 shows the Messages in a window of their own, F1 the manual.";
}  // namespace

MainWindow::MainWindow(shell::Shell& shell, QtUserPort& port, QWidget* parent)
    : QMainWindow(parent), shell_(shell), port_(port) {
    setWindowTitle(QString::fromUtf8(shell::kMainTitle));
    mdi_ = new QMdiArea(this);
    mdi_->setBackground(QColor(0x5b, 0x6a, 0x7a));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->installEventFilter(this);
    // The viewport has its new size only after the area's own resize.
    mdi_->viewport()->installEventFilter(this);
    setCentralWidget(mdi_);

    port_.setWindowHost(mdi_);
    port_.setDialogParent(this);
    AppState& app = shell_.app();
    port_.setCurrentDirectory([&app] { return app.currentDir; });
    // The findings are copied at the first note showing one: the report may
    // consume them before "Show witness" is pressed.
    port_.setWitnessSource([&app](port::Diagnosis d) -> std::function<QString()> {
        auto findings = std::make_shared<const verify::RuleBaseFindings>(app.findings);
        return [&app, findings, d] {
            try {
                const lint::KnowledgeBase kb = lint::loadedKnowledgeBase(app);
                return toQ(lint::witnessReport(kb, lint::witnessesOf(app.store, *findings, d, kb.rules())));
            } catch (const std::exception& e) {
                return QStringLiteral("The witnesses could not be made: ") + QString::fromUtf8(e.what());
            }
        };
    });
    connect(&port_, &QtUserPort::titleChanged, this, &QWidget::setWindowTitle);
    connect(&port_, &QtUserPort::childWindowClosed, this, [&app] { app.messages.recreate(); });
    connect(&port_, &QtUserPort::messageWritten, this, [&app](const QString& t) { app.messages.write(fromQ(t)); });

    app.messages.setListener({
        [this](std::string_view text) {
            if (!messages_) return;
            QTextCursor c(messages_->document());
            c.movePosition(QTextCursor::End);
            c.insertText(toQ(std::string(text)));
            messages_->verticalScrollBar()->setValue(messages_->verticalScrollBar()->maximum());
            if (messagesCopy_) messagesCopy_->append(toQ(std::string(text)));
        },
        [this] {
            if (messagesCopy_) messagesCopy_->setText({});
            if (messages_) messages_->clear();
            // Clearing is also "create the message window": show it again.
            if (messagesWindow_ && !messagesWindow_->isVisible()) {
                messagesWindow_->show();
                placeWindows();
            }
        },
    });

    buildMenus();
    buildToolBar();
    shell_.onMenuChanged([this] { refreshMenu(); });
    refreshMenu();

    auto* quit = new QAction(QStringLiteral("Quit"), this);
    quit->setShortcut(QKeySequence::Quit);
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, &QWidget::close);
    addAction(quit);
    port_.companions().onKeyInDialog(Qt::Key_F6, [this] { showMessagesCopy(); });

    // The intro window opens with the main window.
    intro_ = new IntroWindow;
    intro_->setAttribute(Qt::WA_DeleteOnClose);
    connect(intro_, &IntroWindow::closed, this, &MainWindow::introClosed);
    introWindow_ = mdi_->addSubWindow(intro_);
    introWindow_->setAttribute(Qt::WA_DeleteOnClose);
    introWindow_->setWindowIcon(QIcon(QPixmap::fromImage(introPicture({32, 32}))));
    introWindow_->show();
    intro_->setFocus();
    statusBar()->showMessage(QStringLiteral("Close the \"Welcome to\" window to begin."));

    setWindowIcon(QIcon(QPixmap::fromImage(introPicture({64, 64}))));
    menuFont_ = menuBar()->font();
    resize(1180, 760);
}

MainWindow::~MainWindow() {
    // Child windows die after this object: they must not call back into it
    // (or into the application state) any more.
    disconnect(&port_, nullptr, this, nullptr);
    shell_.app().messages.setListener({});
    port_.companions().onKeyInDialog(Qt::Key_F6, {});
    delete messagesCopy_;
    shell_.onMenuChanged({});
    port_.setWindowHost(nullptr);
    port_.setDialogParent(nullptr);
    port_.setWitnessSource({});
}

QAction* MainWindow::commandAction(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::buildMenus() {
    // Mnemonics are added here only: the command table keeps its texts.
    QStringList titles;
    for (const auto& menu : shell::menuBar()) titles << qs(menu.title);
    titles << QStringLiteral("&Window");
    const QStringList shown = withMnemonics(titles, true);
    const auto& bar = shell::menuBar();
    for (std::size_t i = 0; i < bar.size(); ++i) {
        if (titles[static_cast<qsizetype>(i)] == QLatin1String("&Help")) buildWindowMenu();
        QMenu* m = menuBar()->addMenu(shown[static_cast<qsizetype>(i)]);
        menus_.push_back({m, titles[static_cast<qsizetype>(i)], false});
        addEntries(m, bar[i].entries);
    }
    if (!windowMenu_) buildWindowMenu();
    windowMenu_->setTitle(shown.back());
}

void MainWindow::addEntries(QMenu* menu, const std::vector<shell::MenuEntry>& entries) {
    using Kind = shell::MenuEntry::Kind;
    QStringList texts;
    for (const auto& e : entries) {
        if (e.kind == Kind::Submenu) texts << qs(e.title);
        if (e.kind == Kind::Command) {
            const shell::Command* c = shell::findCommand(e.commandId);
            texts << (c ? qs(c->text) : QString());
        }
    }
    const QStringList shown = withMnemonics(texts);
    qsizetype next = 0;
    for (const auto& e : entries) {
        switch (e.kind) {
        case Kind::Separator: menu->addSeparator(); break;
        case Kind::Submenu: {
            QMenu* sub = menu->addMenu(shown[next++]);
            menus_.push_back({sub, qs(e.title), true});
            addEntries(sub, e.entries);
            break;
        }
        case Kind::Command: {
            const QString text = shown[next++];
            const shell::Command* c = shell::findCommand(e.commandId);
            if (!c) break;
            const int id = c->id;
            auto* a = menu->addAction(text);
            a->setData(id);
            a->setStatusTip(plain(c->text));
            if (id == shell::cmd::kRuleBaseLoading) a->setShortcut(QKeySequence::Open);
            if (id == shell::cmd::kHelp) a->setShortcut(QKeySequence::HelpContents);
            connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
            actions_[id] = a;
            break;
        }
        }
    }
}

void MainWindow::buildWindowMenu() {
    windowMenu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    windowMenu_->setObjectName(QStringLiteral("windowMenu"));
    connect(windowMenu_, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
    fillWindowMenu();
    auto* copy = new QAction(this);
    copy->setShortcut(Qt::Key_F6);
    connect(copy, &QAction::triggered, this, &MainWindow::showMessagesCopy);
    addAction(copy);
}

void MainWindow::fillWindowMenu() {
    windowMenu_->clear();
    connect(windowMenu_->addAction(QStringLiteral("&Cascade")), &QAction::triggered, mdi_,
            &QMdiArea::cascadeSubWindows);
    connect(windowMenu_->addAction(QStringLiteral("&Tile")), &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(windowMenu_->addAction(QStringLiteral("Close &all")), &QAction::triggered, this, [this] {
        // The Messages pane stays: it belongs to the main window.
        for (auto* sub : mdi_->subWindowList())
            if (sub != messagesWindow_) sub->close();
    });
    auto* copy = windowMenu_->addAction(QStringLiteral("&Messages in a window of their own"));
    copy->setShortcut(Qt::Key_F6);
    copy->setShortcutContext(Qt::WidgetShortcut);   // the main window's own F6 acts
    connect(copy, &QAction::triggered, this, &MainWindow::showMessagesCopy);
    auto* graph = windowMenu_->addAction(QStringLiteral("Rule dependency &graph"));
    graph->setEnabled(!shell_.app().store.rules().empty());
    connect(graph, &QAction::triggered, this, &MainWindow::showDependencyGraph);
    auto* witness = windowMenu_->addAction(QStringLiteral("Show &witness"));
    witness->setEnabled(!shell_.app().store.rules().empty());
    connect(witness, &QAction::triggered, this, &MainWindow::showWitnesses);
    const auto windows = mdi_->subWindowList();
    if (!windows.isEmpty()) windowMenu_->addSeparator();
    int n = 0;
    for (auto* sub : windows) {
        if (!sub->isVisible()) continue;
        ++n;
        const QString title = sub->windowTitle().isEmpty() && sub->widget() ? sub->widget()->windowTitle()
                                                                           : sub->windowTitle();
        QString text = n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title;
        auto* a = windowMenu_->addAction(text);
        a->setCheckable(true);
        a->setChecked(sub == mdi_->activeSubWindow());
        QPointer<QMdiSubWindow> target(sub);
        connect(a, &QAction::triggered, this, [this, target] {
            if (target) mdi_->setActiveSubWindow(target);
        });
    }
}

void MainWindow::showDependencyGraph() {
    auto* w = new GraphWindow(shell_.app(), [this](std::size_t index) { openRuleAt(index); });
    auto* sub = mdi_->addSubWindow(w);
    sub->resize(900, 600);
    sub->show();
}

void MainWindow::showWitnesses() {
    // The diagnoses run again on the files, apart from this session: a
    // report shown here may have consumed its findings.
    runGuarded([this] {
        const lint::KnowledgeBase kb = lint::loadedKnowledgeBase(shell_.app());
        port_.textView(port::titles::kWitnesses, lint::witnessReport(kb, lint::witnesses(kb)));
    });
}

void MainWindow::openRuleAt(std::size_t index) {
    port_.recordWindow(recordSource(RecordKind::Rules, shell_.app().store));
    const auto windows = mdi_->subWindowList(QMdiArea::CreationOrder);
    auto* w = windows.isEmpty() ? nullptr : qobject_cast<RecordWindow*>(windows.back()->widget());
    if (!w || static_cast<int>(index) >= w->numbers()->model()->rowCount()) return;
    w->numbers()->setCurrentIndex(w->numbers()->model()->index(static_cast<int>(index), 0));
}

void MainWindow::showMessagesCopy() {
    if (!messagesCopy_) {
        messagesCopy_ = new MessagesCopy;
        messagesCopy_->setAttribute(Qt::WA_DeleteOnClose);
        messagesCopy_->setWindowIcon(drawnIcon(shell::cmd::kMessageWindowCreating));
        messagesCopy_->setText(toQ(shell_.app().messages.text()));
    }
    port_.companions().show(messagesCopy_);
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Commands"));
    toolBar_->setObjectName(QStringLiteral("commands"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const auto& t : kToolCommands) {
        const shell::Command* c = shell::findCommand(t.id);
        if (!c) continue;
        const bool drawn = t.id == shell::cmd::kHelp || t.id == shell::cmd::kMessageWindowCreating;
        auto* a = toolBar_->addAction(
            withDisabledLook(drawn ? drawnIcon(t.id) : style()->standardIcon(t.icon), toolBar_),
            QString::fromUtf8(t.label));
        a->setToolTip(plain(c->text));
        a->setStatusTip(plain(c->text));
        const int id = t.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        toolActions_.emplace_back(a, id);
        if (t.id == shell::cmd::kForwardChaining || t.id == shell::cmd::kReportInspection ||
            t.id == shell::cmd::kHelp)
            toolBar_->insertSeparator(a);
    }
}

void MainWindow::refreshMenu() {
    const auto& state = shell_.menu();
    for (auto& [id, a] : actions_) a->setEnabled(state.enabled(id));
    for (auto& [a, id] : toolActions_) a->setEnabled(state.enabled(id));
    for (const auto& m : menus_) m.menu->menuAction()->setEnabled(state.menuEnabled(fromQ(m.title)));
    // A submenu with nothing to choose is greyed too; the deepest first.
    for (auto it = menus_.rbegin(); it != menus_.rend(); ++it)
        if (it->submenu && !hasEnabledItem(it->menu)) it->menu->menuAction()->setEnabled(false);
}

void MainWindow::runGuarded(const std::function<void()>& step) {
    if (running_ || ended_) return;
    running_ = true;
    if (introDone_) statusBar()->showMessage(QString::fromUtf8(kWhileWaiting));
    try {
        step();
    } catch (const port::EndProgram&) {
        running_ = false;
        endProgram();
        return;
    } catch (const std::exception& e) {
        // A broken invariant in a command: say so and keep the program alive.
        QMessageBox::critical(this, QStringLiteral("Error"), QString::fromUtf8(e.what()));
    }
    if (introDone_) statusBar()->clearMessage();
    running_ = false;
}

void MainWindow::runCommand(int id) {
    runGuarded([this, id] { shell_.run(id); });
}

void MainWindow::closeIntro() {
    if (introWindow_) introWindow_->close();
    else if (!introDone_) introClosed();
}

void MainWindow::introClosed() {
    if (introDone_) return;
    introDone_ = true;
    statusBar()->clearMessage();
    createMessagesWindow();
    shell_.introClosed();
    refreshMenu();
}

void MainWindow::createMessagesWindow() {
    messages_ = new QPlainTextEdit;
    messages_->setObjectName(QStringLiteral("messages"));
    messages_->setReadOnly(true);
    messages_->setLineWrapMode(QPlainTextEdit::NoWrap);
    messages_->setMaximumBlockCount(static_cast<int>(port::MessageWindow::kCapacity) + 1);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    messages_->setFont(fixed);
    messages_->setPlainText(toQ(shell_.app().messages.text()));
    messages_->setWindowTitle(QString::fromUtf8(shell::kMessagesTitle));
    messagesWindow_ = mdi_->addSubWindow(messages_);
    // Closing only hides it; "Message Window Creating" brings it back empty.
    messagesWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    messagesWindow_->setWindowIcon(drawnIcon(shell::cmd::kMessageWindowCreating));
    messagesWindow_->show();
    placeWindows();
}

void MainWindow::fitMenuBar() {
    // The menu bar has many long titles: on a narrow window the items are
    // drawn a little tighter and smaller so that all of them stay in view.
    static constexpr int kPadding = 5;
    QFont font = menuFont_;
    const qreal base = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    const int spacing = menuBar()->style()->pixelMetric(QStyle::PM_MenuBarItemSpacing, nullptr, menuBar());
    const int margins = 2 * menuBar()->style()->pixelMetric(QStyle::PM_MenuBarHMargin, nullptr, menuBar()) +
                        2 * menuBar()->style()->pixelMetric(QStyle::PM_MenuBarPanelWidth, nullptr, menuBar());
    for (qreal size = base; size >= base - 1.5; size -= 0.5) {
        font.setPointSizeF(size);
        const QFontMetrics fm(font);
        int needed = margins;
        for (const auto& menu : shell::menuBar())
            needed += fm.horizontalAdvance(plain(menu.title)) + 2 * kPadding + spacing + 4;
        if (needed <= width()) break;
    }
    if (menuBar()->font() != font) menuBar()->setFont(font);
    menuBar()->setStyleSheet(QStringLiteral("QMenuBar::item { padding: 3px %1px; }").arg(kPadding));
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    fitMenuBar();
}

void MainWindow::placeWindows() {
    const QRect area = mdi_->viewport()->rect();
    const int split = static_cast<int>(area.height() * (1.0 - kMessagesShare));
    if (messagesWindow_) messagesWindow_->setGeometry(0, split, area.width(), area.height() - split);
    if (introWindow_) {
        const int w = std::min(area.width() - 40, 720);
        const int h = std::min((messagesWindow_ ? split : area.height()) - 40, 470);
        introWindow_->setGeometry((area.width() - w) / 2, 20, std::max(w, 200), std::max(h, 150));
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (watched == mdi_->viewport() && e->type() == QEvent::Resize) placeWindows();
    // The area arranges windows of its own when first shown: place ours after it.
    if (watched == mdi_ && e->type() == QEvent::Show) QTimer::singleShot(0, this, &MainWindow::placeWindows);
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::endProgram() {
    ended_ = true;
    emit programEnded();
    close();
}

void MainWindow::closeEvent(QCloseEvent* e) {
    if (ended_) {
        e->accept();
        return;
    }
    if (running_) {
        e->ignore();
        return;
    }
    bool confirmed = false;
    runGuarded([&] { confirmed = shell_.closeRequested(); });
    if (confirmed || ended_) {
        // Open editors still offer to save their text; one whose text could
        // not be saved keeps the program open rather than lose it.
        bool textLeft = false;
        for (auto* sub : mdi_->subWindowList())
            if (qobject_cast<EditorWindow*>(sub->widget()) && !sub->close()) textLeft = true;
        if (textLeft) {
            e->ignore();
            return;
        }
        ended_ = true;
        e->accept();
    } else {
        e->ignore();
    }
}

}  // namespace torv::qt
