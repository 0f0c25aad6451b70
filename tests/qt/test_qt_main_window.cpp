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
#include "qt/dialogs.h"
#include "support/odbc_sandbox.h"
#include <QLineEdit>
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
        shown << "# " + a->menu()->title();
        describe(a->menu(), "  ", shown);
    }
    QCOMPARE(shown, expected);
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
    for (auto* a : app.window().menuBar()->actions())
        QCOMPARE(a->isEnabled(), app.shell().menu().menuEnabled(a->menu()->title().toStdString()));
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
    app.window().commandAction(shell::cmd::kHelp)->trigger();
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QtUserPort::manualPath())});
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
