// The main window: title, menu built from the shell's menu bar and its
// state, Messages pane, intro window, close question, "End", and a rule
// base loaded through the menu and the file dialog.
#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "dialog_driver.h"
#include "qt/desktop_app.h"
#include "qt/companions.h"
#include "qt/dialogs.h"
#include "qt/mnemonics.h"
#include "qt/qt_user_port.h"
#include "support/odbc_sandbox.h"
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QListWidget>
#include <QDir>
#include <QMessageBox>

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {
const QString kStartTitle = QStringLiteral(
    "torv_AE - Rule- and Model-Based Expert System Shell for Augmented Exact Forward and Backward Chaining ");

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

/// The menu as the shell describes it, one line per entry ("-" separators,
/// "> title" submenus, "  " per level).
void describe(const std::vector<shell::MenuEntry>& entries, const QString& indent, QStringList& out) {
    for (const auto& e : entries) {
        switch (e.kind) {
        case shell::MenuEntry::Kind::Separator: out << indent + "-"; break;
        case shell::MenuEntry::Kind::Submenu:
            out << indent + "> " + text(e.title);
            describe(e.entries, indent + "  ", out);
            break;
        case shell::MenuEntry::Kind::Command: out << indent + text(shell::findCommand(e.commandId)->text); break;
        }
    }
}

/// The same description read back from the Qt menu.
void describe(const QMenu* menu, const QString& indent, QStringList& out) {
    for (auto* a : menu->actions()) {
        if (a->isSeparator()) out << indent + "-";
        else if (a->menu()) {
            out << indent + "> " + a->menu()->title();
            describe(a->menu(), indent + "  ", out);
        } else out << indent + a->text();
    }
}

/// Picks `file` in the open-file dialog once its list has loaded.
DialogDriver::Action pickFile(const QString& file, QString* title = nullptr) {
    return [file, title](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        if (title) *title = dlg->windowTitle();
        return chooseFile(dlg, file);
    };
}

QList<QAction*> allCommandActions(MainWindow& w) {
    QList<QAction*> out;
    for (const auto& c : shell::commands())
        if (auto* a = w.commandAction(c.id)) out << a;
    return out;
}
}  // namespace

class TestQtMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void startUpTitle();
    void menuMirrorsShellMenuBar();
    void everythingGreyedWhileIntroIsOpen();
    void startUpMenuStateAfterIntro();
    void introWindowOpensMessages();
    void messagesPaneFollowsMessageWindow();
    void closeQuestionNoKeepsProgram();
    void closeQuestionYesCloses();
    void confirmedEndEndsProgram();
    void ruleBaseLoadedThroughMenuAndFileDialog();
    void cancelledLoadSetsShortTitle();
    void ruleBaseNamedOnCommandLine();
    void helpWithoutHelpFileOpensManual();
    void startsMaximised();
    void messagesPaneFollowsTheWindowsSize_data();
    void messagesPaneFollowsTheWindowsSize();
    void mnemonicsAreUniqueAmongSiblings();
    void mnemonicsKeepTheTextsOwnAmpersand_data();
    void mnemonicsKeepTheTextsOwnAmpersand();
    void submenuWithOnlyGreyedItemsIsGreyed();
    void inspectionWindowsCloseByKeyboard_data();
    void inspectionWindowsCloseByKeyboard();
    void windowMenuListsAndArrangesWindows();
    void messagesCanBeReadWhileAQuestionWaits();
    void forwardChainingConsultation();
    void importThroughTheMenu();
    void exclusivityPickListThroughTheMenu();

private:
    QTemporaryDir dir_;
    QString ruleBase_;
};

void TestQtMainWindow::initTestCase() {
    QVERIFY(dir_.isValid());
    ruleBase_ = dir_.filePath(QStringLiteral("RUcar.AEB"));
    QFile f(ruleBase_);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"
            "rule(2,\"slippery\",[\"wet\",\"cold\"],1)\n");
}

void TestQtMainWindow::startUpTitle() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    QCOMPARE(app.window().windowTitle(), kStartTitle);
    QVERIFY(app.window().isVisible());
}

void TestQtMainWindow::menuMirrorsShellMenuBar() {
    DesktopApp app(dir_.path().toStdString());
    QStringList expected, shown;
    for (const auto& m : shell::menuBar()) {
        expected << "# " + text(m.title);
        describe(m.entries, "  ", expected);
    }
    for (auto* a : app.window().menuBar()->actions()) {
        if (a->menu() == app.window().windowMenu()) continue;   // the desktop's own
        shown << "# " + a->menu()->title();
        describe(a->menu(), "  ", shown);
    }
    // The same texts; where the table has no '&' the menu may add one.
    QCOMPARE(shown.size(), expected.size());
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (expected[i].contains(QLatin1Char('&')) && !expected[i].startsWith(QLatin1Char('#')))
            QCOMPARE(shown[i], expected[i]);
        else
            QCOMPARE(QString(shown[i]).remove(QLatin1Char('&')), QString(expected[i]).remove(QLatin1Char('&')));
    }
    // Every command of the table has its item.
    QCOMPARE(allCommandActions(app.window()).size(), static_cast<qsizetype>(shell::commands().size()));
}

void TestQtMainWindow::everythingGreyedWhileIntroIsOpen() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    for (auto* a : allCommandActions(app.window())) QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    for (auto* a : app.window().toolBar()->actions()) QVERIFY(a->isSeparator() || !a->isEnabled());
}

void TestQtMainWindow::startUpMenuStateAfterIntro() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    for (const auto& c : shell::commands())
        QVERIFY2(app.window().commandAction(c.id)->isEnabled() == app.shell().menu().enabled(c.id),
                 qPrintable(text(c.text)));
    // The state itself, as the user meets it.
    QVERIFY(app.window().commandAction(shell::cmd::kRuleBaseLoading)->isEnabled());
    QVERIFY(!app.window().commandAction(shell::cmd::kModelBaseLoading)->isEnabled());
    QVERIFY(!app.window().commandAction(shell::cmd::kForwardChaining)->isEnabled());
    QVERIFY(!app.window().commandAction(shell::cmd::kDiagnosingInternal)->isEnabled());
    QVERIFY(app.window().commandAction(shell::cmd::kAbout)->isEnabled());
    for (const auto& m : shell::menuBar()) {
        QAction* a = nullptr;
        for (auto* b : app.window().menuBar()->actions())
            if (b->menu()->title().remove(QLatin1Char('&')) == text(m.title).remove(QLatin1Char('&'))) a = b;
        QVERIFY(a);
        QCOMPARE(a->isEnabled(), app.shell().menu().menuEnabled(std::string(m.title)));
    }
}

void TestQtMainWindow::introWindowOpensMessages() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    auto* intro = app.window().introWindow();
    QVERIFY(intro);
    QCOMPARE(intro->windowTitle(), QStringLiteral("Welcome to "));
    QVERIFY(!intro->image().isNull());
    QVERIFY(!app.window().messagesPane());
    app.window().mdiArea()->subWindowList().front()->close();
    QTRY_VERIFY(!app.window().introWindow());
    QVERIFY(app.window().messagesPane());
    QCOMPARE(app.window().messagesPane()->windowTitle(), QStringLiteral("Messages"));
    QVERIFY(app.window().commandAction(shell::cmd::kRuleBaseLoading)->isEnabled());
}

void TestQtMainWindow::messagesPaneFollowsMessageWindow() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    auto& messages = app.state().messages;
    QPlainTextEdit* pane = app.window().messagesPane();
    messages.write("Rule base  RUcar.AEB\nhas been ");
    messages.write("loaded!\n");
    QCOMPARE(pane->toPlainText(), QStringLiteral("Rule base  RUcar.AEB\nhas been loaded!\n"));
    QVERIFY(pane->isReadOnly());
    messages.clear();
    QVERIFY(pane->toPlainText().isEmpty());
    for (int i = 1; i <= 150; ++i) messages.write("line " + std::to_string(i) + "\n");
    QCOMPARE(pane->toPlainText(), QString::fromStdString(messages.text()));
    QVERIFY(pane->toPlainText().startsWith(QStringLiteral("line 51\n")));
    // A closed pane comes back, empty, when the message window is created again.
    app.window().messagesWindow()->close();
    QVERIFY(!app.window().messagesWindow()->isVisible());
    app.window().runCommand(shell::cmd::kMessageWindowCreating);
    QVERIFY(app.window().messagesWindow()->isVisible());
    QVERIFY(pane->toPlainText().isEmpty());
}

void TestQtMainWindow::closeQuestionNoKeepsProgram() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    SeenBox seen;
    DialogDriver driver;
    driver.then(recordAndClick(seen, QStringLiteral("&No")));
    QVERIFY(!app.window().close());
    QVERIFY(driver.done());
    QCOMPARE(seen.title, QStringLiteral("Attention!"));
    QCOMPARE(seen.text, QStringLiteral("Do you really wish to close the program?"));
    QVERIFY(seen.questionIcon);
    QVERIFY(app.window().isVisible());
}

void TestQtMainWindow::closeQuestionYesCloses() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    DialogDriver driver;
    driver.then(answerYes);
    QVERIFY(app.window().close());
    QVERIFY(!app.window().isVisible());
}

void TestQtMainWindow::confirmedEndEndsProgram() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    QSignalSpy ended(&app.window(), &MainWindow::programEnded);
    DialogDriver driver;
    driver.then([](QWidget* w) { return click(w, QStringLiteral("End")); }).then(answerYes);
    // A dialog with "End" inside a running command, as chaining shows them.
    app.window().runGuarded([&] { app.port().pickFact("Choose a fact", {"a", "b"}); });
    QVERIFY(driver.done());
    QCOMPARE(ended.count(), 1);
    QVERIFY(app.window().ended());
    QVERIFY(!app.window().isVisible());   // closed without the close question
    QCOMPARE(driver.seenTitles(), (QStringList{"Pick a fact", "Attention!"}));
}

void TestQtMainWindow::ruleBaseLoadedThroughMenuAndFileDialog() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    QString dialogTitle;
    DialogDriver driver;
    driver.then(pickFile(ruleBase_, &dialogTitle)).otherwise(answerAnything);
    app.window().commandAction(shell::cmd::kRuleBaseLoading)->trigger();
    QCOMPARE(app.window().windowTitle(), QStringLiteral("torv_AE consults Knowledge Base CAR"));
    QCOMPARE(dialogTitle, QStringLiteral("Load Rule Base "));
    QVERIFY(driver.seenTitles().contains(QStringLiteral("Successful  loading of Rule Base")));
    QVERIFY(app.window().messagesPane()->toPlainText().contains(QStringLiteral("RUcar.AEB")));
    QVERIFY(app.window().commandAction(shell::cmd::kModelBaseLoading)->isEnabled());
    // The tool bar follows the menu.
    for (auto* a : app.window().toolBar()->actions())
        if (a->text() == QStringLiteral("Forward"))
            QCOMPARE(a->isEnabled(), app.window().commandAction(shell::cmd::kForwardChaining)->isEnabled());
}

void TestQtMainWindow::cancelledLoadSetsShortTitle() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    DialogDriver driver;
    driver.then(closeDialog).otherwise(answerAnything);
    app.window().commandAction(shell::cmd::kRuleBaseLoading)->trigger();
    QVERIFY(driver.done());
    QCOMPARE(app.window().windowTitle(), QStringLiteral("torv"));
    QVERIFY(!app.window().commandAction(shell::cmd::kModelBaseLoading)->isEnabled());
}

void TestQtMainWindow::ruleBaseNamedOnCommandLine() {
    DesktopApp app(dir_.path().toStdString());
    DialogDriver driver;
    driver.otherwise(answerAnything);
    app.start({ruleBase_});
    QCOMPARE(app.window().windowTitle(), QStringLiteral("torv_AE consults Knowledge Base CAR"));
    QVERIFY(!app.window().introWindow());
    QVERIFY(app.window().commandAction(shell::cmd::kModelBaseLoading)->isEnabled());
}

void TestQtMainWindow::helpWithoutHelpFileOpensManual() {
    DesktopApp app(dir_.path().toStdString());
    QList<QUrl> opened;
    app.port().setUrlOpener([&](const QUrl& u) {
        opened << u;
        return true;
    });
    app.start({});
    app.window().closeIntro();
    QVERIFY(!app.port().manualWindow());
    app.window().commandAction(shell::cmd::kHelp)->trigger();
    QVERIFY(opened.isEmpty());
    QVERIFY(app.port().manualWindow() && app.port().manualWindow()->isVisible());
    // F1 in a waiting dialog shows it too, usable beside the dialog.
    app.port().manualWindow()->close();
    QTRY_VERIFY(!app.port().manualWindow());
    bool shownInDialog = false;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        if (!qobject_cast<RadioDialog*>(w)) return false;
        QTest::keyClick(w, Qt::Key_F1);
        shownInDialog = app.port().manualWindow() && app.port().manualWindow()->isVisible();
        return click(w, QStringLiteral("&OK"));
    });
    app.window().runGuarded([&] { app.port().levelOfDetail(); });
    QVERIFY(driver.done());
    QVERIFY(shownInDialog);
}

void TestQtMainWindow::startsMaximised() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    QVERIFY(app.window().isMaximized());
}

void TestQtMainWindow::messagesPaneFollowsTheWindowsSize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("shrunk") << QSize(700, 500);
    QTest::newRow("grown") << QSize(1100, 780);
    QTest::newRow("tiny") << QSize(420, 320);
}

void TestQtMainWindow::messagesPaneFollowsTheWindowsSize() {
    QFETCH(QSize, size);
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    app.window().showNormal();
    app.window().resize(900, 650);
    QTRY_COMPARE(app.window().size(), QSize(900, 650));
    app.window().resize(size);
    QTRY_COMPARE(app.window().size(), size);
    QApplication::processEvents();
    // The pane spans the bottom of the area, whatever the size before.
    const QRect area = app.window().mdiArea()->viewport()->rect();
    const QRect pane = app.window().messagesWindow()->geometry();
    QCOMPARE(pane.left(), 0);
    QCOMPARE(pane.width(), area.width());
    QCOMPARE(pane.bottom(), area.bottom());
    QVERIFY(pane.top() > 0);
}

void TestQtMainWindow::mnemonicsAreUniqueAmongSiblings() {
    DesktopApp app(dir_.path().toStdString());
    // Every menu: each of its entries has a mnemonic, none shared.
    QList<QMenu*> menus{};
    for (auto* a : app.window().menuBar()->actions()) menus << a->menu();
    auto unique = [](const QList<QAction*>& actions, const QString& where) {
        QSet<QChar> seen;
        int without = 0;
        for (auto* a : actions) {
            if (a->isSeparator()) continue;
            const QChar m = mnemonicOf(a->text());
            if (m.isNull()) {
                ++without;
                continue;
            }
            QVERIFY2(!seen.contains(m), qPrintable(where + ": " + a->text()));
            seen.insert(m);
        }
        // Only where the letters run out.
        QVERIFY2(without == 0 || seen.size() >= 20, qPrintable(where));
    };
    unique(app.window().menuBar()->actions(), QStringLiteral("menu bar"));
    for (qsizetype i = 0; i < menus.size(); ++i) {
        unique(menus[i]->actions(), menus[i]->title());
        for (auto* a : menus[i]->actions())
            if (a->menu()) menus << a->menu();
    }
}

void TestQtMainWindow::mnemonicsKeepTheTextsOwnAmpersand_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("reassign");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("rare words first") << QStringList{"Exact Rule Base", "Exact Model Base"} << false
                                      << QStringList{"Exact &Rule Base", "Exact &Model Base"};
    QTest::newRow("own ampersand kept") << QStringList{"&Help", "Help desk"} << false
                                        << QStringList{"&Help", "Help &desk"};
    QTest::newRow("shared letter moved") << QStringList{"&Abstracts", "&Askable"} << true
                                         << QStringList{"&Abstracts", "A&skable"};
    QTest::newRow("shared letter kept for items") << QStringList{"&Abstracts", "&Askable"} << false
                                                  << QStringList{"&Abstracts", "&Askable"};
    QTest::newRow("no letter left") << QStringList{"ab", "ba", "a b"} << false << QStringList{"&ab", "&ba", "a b"};
}

void TestQtMainWindow::mnemonicsKeepTheTextsOwnAmpersand() {
    QFETCH(QStringList, texts);
    QFETCH(bool, reassign);
    QFETCH(QStringList, expected);
    QCOMPARE(withMnemonics(texts, reassign), expected);
}

void TestQtMainWindow::submenuWithOnlyGreyedItemsIsGreyed() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    // At start-up nothing of "Rule Base inspection" can be chosen.
    QMenu* inspection = app.window().commandAction(shell::cmd::kInspectingAllRules)->associatedObjects().isEmpty()
                            ? nullptr
                            : qobject_cast<QMenu*>(app.window().commandAction(shell::cmd::kInspectingAllRules)
                                                       ->associatedObjects()
                                                       .front());
    QVERIFY(inspection);
    QVERIFY(!inspection->menuAction()->isEnabled());
    DialogDriver driver;
    driver.then(pickFile(ruleBase_)).otherwise(answerAnything);
    app.window().commandAction(shell::cmd::kRuleBaseLoading)->trigger();
    QVERIFY(inspection->menuAction()->isEnabled());
}

void TestQtMainWindow::inspectionWindowsCloseByKeyboard_data() {
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    QTest::newRow("Ctrl+F4") << QKeySequence(Qt::CTRL | Qt::Key_F4);
}

void TestQtMainWindow::inspectionWindowsCloseByKeyboard() {
    QFETCH(QKeySequence, key);
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    app.port().textView("Inspection of rules", "rule(1,\"wet\",[\"rain\"],1)\n");
    QMdiSubWindow* sub = app.window().mdiArea()->activeSubWindow();
    QVERIFY(sub && sub != app.window().messagesWindow());
    QPointer<QMdiSubWindow> watched(sub);
    QApplication::setActiveWindow(&app.window());
    sub->widget()->setFocus();
    QTest::keySequence(sub->widget()->focusWidget() ? sub->widget()->focusWidget() : sub->widget(), key);
    QTRY_VERIFY(!watched);
    // The Messages pane is not an inspection window: it stays.
    QVERIFY(app.window().messagesWindow()->isVisible());
}

void TestQtMainWindow::windowMenuListsAndArrangesWindows() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    app.port().textView("First view", "one");
    app.port().textView("Second view", "two");
    QMenu* menu = app.window().windowMenu();
    QVERIFY(menu);
    QCOMPARE(mnemonicOf(menu->title()), QChar(u'w'));
    emit menu->aboutToShow();
    QStringList texts;
    for (auto* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    QVERIFY(texts.contains(QStringLiteral("&Cascade")));
    QVERIFY(texts.contains(QStringLiteral("&Tile")));
    QVERIFY(texts.contains(QStringLiteral("&3 Second view")));
    QAction* first = nullptr;
    for (auto* a : menu->actions())
        if (a->text() == QStringLiteral("&2 First view")) first = a;
    QVERIFY(first && !first->isChecked());
    first->trigger();
    QCOMPARE(app.window().mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("First view"));
    // Close all: every window but the Messages pane.
    for (auto* a : menu->actions())
        if (a->text() == QStringLiteral("Close &all")) a->trigger();
    QTRY_COMPARE(app.window().mdiArea()->subWindowList().size(), 1);
    QCOMPARE(app.window().mdiArea()->subWindowList().front(), app.window().messagesWindow());
}

void TestQtMainWindow::messagesCanBeReadWhileAQuestionWaits() {
    DesktopApp app(dir_.path().toStdString());
    app.start({});
    app.window().closeIntro();
    for (int i = 1; i <= 90; ++i) app.state().messages.write("answer " + std::to_string(i) + "\n");
    int scrolledTo = -1, bottom = -1;
    QString shownStatus;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        shownStatus = app.window().statusBar()->currentMessage();
        // F6 in the question opens the copy; its keys reach it although
        // the question is modal.
        QTest::keyClick(w, Qt::Key_F6);
        MessagesCopy* copy = app.window().messagesCopy();
        if (!copy || !copy->isVisible()) return click(w, QStringLiteral("&YES"));
        QScrollBar* bar = copy->pane()->verticalScrollBar();
        bottom = bar->value();
        QTest::keyClick(copy->pane()->windowHandle() ? copy->pane()->windowHandle() : copy->windowHandle(),
                        Qt::Key_Home, Qt::ControlModifier);
        scrolledTo = bar->value();
        return click(w, QStringLiteral("&YES"));
    });
    int answer = 0;
    app.window().runGuarded([&] { answer = app.port().ask("Is the condition true?", "a?", {"&YES", "&NO", "&WHY?"}); });
    QVERIFY(driver.done());
    QCOMPARE(answer, 1);
    QVERIFY(bottom > 0);
    QCOMPARE(scrolledTo, 0);
    QVERIFY(shownStatus.contains(QStringLiteral("F6")));
    QVERIFY(app.window().messagesCopy()->pane()->toPlainText().contains(QStringLiteral("answer 90")));
    // It follows the pane while it stays open.
    app.state().messages.write("answer 91\n");
    QVERIFY(app.window().messagesCopy()->pane()->toPlainText().endsWith(QStringLiteral("answer 91\n")));
}

void TestQtMainWindow::forwardChainingConsultation() {
    // A rule base whose first question, answered No, decides everything.
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("bike/BASES")));
    const QString bases = dir_.filePath(QStringLiteral("bike/BASES"));
    QFile f(bases + QStringLiteral("/RUbike.AEB"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("rule(1,\"ride_ok\",[\"tyres_ok\",\"brakes_ok\",\"chain_ok\"],1)\n"
            "rule(2,\"check_done\",[\"ride_ok\"],1)\n");
    f.close();

    DesktopApp app(bases.toStdString());
    {
        DialogDriver loading;
        loading.otherwise(answerAnything);
        app.start({f.fileName()});
    }
    QCOMPARE(app.window().windowTitle(), QStringLiteral("torv_AE consults Knowledge Base BIKE"));

    // The user: high detail, querying, "No" to the condition, no saving.
    QStringList titles;
    QString question;
    DialogDriver consultation(60000);
    consultation.otherwise([&](QWidget* w) {
        titles << w->windowTitle();
        if (auto* radio = qobject_cast<RadioDialog*>(w)) {
            if (w->windowTitle() == QLatin1String("Level of detail")) radio->radio(2)->click();
            return click(w, QStringLiteral("&OK"));
        }
        if (qobject_cast<CaptionListDialog*>(w)) return click(w, QStringLiteral("&Continue"));
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            if (w->windowTitle() == QLatin1String("Is the condition true?")) question = box->text();
            for (auto* b : box->buttons())
                if (b->text().remove(QLatin1Char('&')).compare(QLatin1String("no"), Qt::CaseInsensitive) == 0) {
                    b->click();
                    return true;
                }
        }
        return answerAnything(w);
    });
    app.window().commandAction(shell::cmd::kForwardChaining)->trigger();

    const QStringList milestones{"Level of detail", "Fact declaration mode", "Is the condition true?", "Message",
                                 "End of forward chaining", "Chaining summary", "Report of chaining/diagnosing"};
    qsizetype at = -1;
    for (const auto& m : milestones) {
        const qsizetype next = titles.indexOf(m, at + 1);
        QVERIFY2(next > at, qPrintable(m + QStringLiteral(" missing or out of order in: ") + titles.join(" | ")));
        at = next;
    }
    QCOMPARE(question, QStringLiteral("tyres_ok?"));
    QVERIFY(app.window().messagesPane()->toPlainText().contains(QStringLiteral("nride_ok")));
    QVERIFY(!app.shell().jakiewnioskowanie());
    QVERIFY(app.window().isVisible());
}

void TestQtMainWindow::importThroughTheMenu() {
    auto& sandbox = torv::test::OdbcSandbox::shared();
    const auto db = sandbox.dir() / "qt.db";
    sandbox.addSqlite("torv_qt", db);
    sandbox.run(db, {"CREATE TABLE \"garden facts\" (kind TEXT, name TEXT)",
                     "INSERT INTO \"garden facts\" VALUES ('fact', 'rain'), ('argument_known', 'depth')"});

    DesktopApp app(dir_.path().toStdString());
    {
        DialogDriver loading;
        loading.otherwise(answerAnything);
        app.start({ruleBase_});
    }
    auto choose = [](const QString& item) {
        return [item](QWidget* w) {
            auto* dlg = qobject_cast<FramedListDialog*>(w);
            if (!dlg) return false;
            const auto found = dlg->list()->findItems(item, Qt::MatchExactly);
            if (found.isEmpty()) return false;
            dlg->list()->setCurrentItem(found.front());
            return click(w, QStringLiteral("&OK"));
        };
    };
    QStringList shown;
    DialogDriver driver;
    driver.then(choose(QStringLiteral("torv_qt")))
        .then(choose(QStringLiteral("garden facts")))
        .then([&](QWidget* w) {
            for (auto* list : w->findChildren<QListWidget*>())
                for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
            return click(w, QStringLiteral("&OK"));
        });
    QAction* import = app.window().commandAction(shell::cmd::kImporting);
    QVERIFY(import->isEnabled());
    import->trigger();
    QVERIFY(driver.done());
    QCOMPARE(driver.seenTitles(), (QStringList{"External data sources", "Data from external data source",
                                               "Imported facts inspection"}));
    QCOMPARE(shown, QStringList{"rain"});
    QCOMPARE(app.state().store.facts().back().warunek, std::string("rain"));
    QVERIFY(app.window().messagesPane()->toPlainText().contains(QStringLiteral("SELECT * FROM [garden facts]")));
    QVERIFY(!import->isEnabled());
}

QTEST_MAIN(TestQtMainWindow)
#include "test_qt_main_window.moc"

void TestQtMainWindow::exclusivityPickListThroughTheMenu() {
    DesktopApp app(dir_.path().toStdString());
    {
        DialogDriver loading;
        loading.otherwise(answerAnything);
        app.start({ruleBase_});
    }
    QString caption;
    QStringList items;
    DialogDriver driver;
    driver.otherwise([&](QWidget* w) {
        if (auto* list = w->findChild<QListWidget*>(); list && w->windowTitle() == QLatin1String("Pick facts")) {
            if (auto* c = w->findChild<QLineEdit*>(QStringLiteral("caption"))) caption = c->text();
            for (int i = 0; i < list->count(); ++i) {
                items << list->item(i)->text();
                list->item(i)->setSelected(true);
            }
            return click(w, QStringLiteral("&Continue"));
        }
        return answerAnything(w);
    });
    app.window().commandAction(shell::cmd::kNonExclusion)->trigger();
    QCOMPARE(items, (QStringList{QStringLiteral("1  wet"), QStringLiteral("2  slippery")}));
    QVERIFY2(caption.startsWith(QStringLiteral("Pick conclusions tested for exclusivity!")), qPrintable(caption));
    QCOMPARE(driver.seenTitles(),
             (QStringList{QStringLiteral("Attention!"), QStringLiteral("Pick facts"),
                          QStringLiteral("The following rules have no exclusive conclusions:"),
                          QStringLiteral("The following rules have no exclusive conclusions:")}));
    QVERIFY(app.window().messagesPane()->toPlainText().contains(
        QStringLiteral("The following rules have no exclusive conclusions: \nRule number:  1    Conclusion:  wet\n"
                       "Rule number:  2    Conclusion:  slippery")));
}
