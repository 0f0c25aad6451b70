// The inspection commands through the desktop menu: each record window
// opened by its command, an entry selected and its fields read back;
// closing renews the message window; broken media files neither crash nor
// hang the viewer and the player.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_driver.h"
#include "qt/desktop_app.h"
#include "qt/dialogs.h"
#include "qt/record_windows.h"
#include "qt/view_windows.h"

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {

template <class T>
T* newest(QMdiArea* area) {
    const auto subs = area->subWindowList(QMdiArea::CreationOrder);
    return subs.isEmpty() ? nullptr : qobject_cast<T*>(subs.back()->widget());
}

QStringList items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList items(QListView* view) {
    QStringList out;
    const QAbstractItemModel* model = view->model();
    for (int i = 0; i < model->rowCount(); ++i) out << model->index(i, 0).data().toString();
    return out;
}

bool write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// Picks `file` in the next file dialog; answers everything else as a
/// cautious user would (No where there is a No).
DialogDriver::Action fileOrAnything(const QString& file) {
    return [file](QWidget* w) {
        if (auto* dlg = qobject_cast<QFileDialog*>(w)) return chooseFile(dlg, file);
        return answerAnything(w);
    };
}

}  // namespace

class TestQtInspection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void recordWindowsOpenFromTheMenu_data();
    void recordWindowsOpenFromTheMenu();
    void closingARecordWindowRenewsTheMessageWindow();
    void emptyBasePartOpensNoWindow();
    void brokenBitmapAndWaveNeitherCrashNorHang();

private:
    void load(int command, const QString& file);

    QTemporaryDir dir_;
    QString bases_;
    std::unique_ptr<DesktopApp> app_;
};

void TestQtInspection::initTestCase() {
    QVERIFY(dir_.isValid());
    bases_ = dir_.filePath(QStringLiteral("BASES"));
    QVERIFY(write(bases_ + "/RUshop.AEB", "rule(3,\"c\",[\"a\",\"x\"],1)\n"
                                          "rule(1,\"d\",[\"b\"],1)\n"
                                          "rule(2,\"e\",[\"c\",\"nd\"],1)\n"));
    QVERIFY(write(bases_ + "/MOshop.AEB",
                  "model_b(7,\"No condition\",\"speed\",\"distance\",\"/\",\"time\",1)\n"
                  "model_e(8,\"No condition\",\"total\",\"max_list\",[\"p\",\"q\"],0)\n"
                  "model_lin(9,\"No condition\",\"cost\",[\"2\",\"3.5\"],[\"x1\",\"x2\"],1)\n"
                  "model_poly(10,\"No condition\",\"area\",\"r\",[\"0\",\"3.14\"],[0,2],0)\n"));
    QVERIFY(write(bases_ + "/COshop.AEB", "constraint(5,[\"a\",\"b\"])\nconstraint(4,[\"x\",\"b\"])\n"));
    QVERIFY(write(bases_ + "/GRshop.AEB", "graphics(1,\"broken.bmp\")\n"));
    QVERIFY(write(bases_ + "/SOshop.AEB", "sounds(1,\"short.wav\")\n"));
    // A bitmap cut off after its header and a wave file that claims 2 GB
    // of data it does not have.
    QVERIFY(write(dir_.filePath("GRAPHICS/shop/broken.bmp"), QByteArray("BM\x36\x00\x10\x00", 6)));
    QVERIFY(write(dir_.filePath("SOUNDS/shop/short.wav"), QByteArray("RIFF\xff\xff\xff\x7fWAVEfmt ", 16)));
}

void TestQtInspection::init() {
    app_ = std::make_unique<DesktopApp>(bases_.toStdString());
    {
        DialogDriver loading;
        loading.otherwise(answerAnything);
        app_->start({bases_ + "/RUshop.AEB"});
    }
    load(shell::cmd::kModelBaseLoading, bases_ + "/MOshop.AEB");
    load(shell::cmd::kConstraintBaseLoading, bases_ + "/COshop.AEB");
    QCOMPARE(app_->state().store.modelBase().model_poly.size(), std::size_t(1));
    QCOMPARE(app_->state().store.constraints().size(), std::size_t(2));
}

void TestQtInspection::cleanup() { app_.reset(); }

void TestQtInspection::load(int command, const QString& file) {
    DialogDriver driver;
    driver.otherwise(fileOrAnything(file));
    auto* action = app_->window().commandAction(command);
    QVERIFY(action && action->isEnabled());
    action->trigger();
}

void TestQtInspection::recordWindowsOpenFromTheMenu_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("groupItems");
    using namespace shell::cmd;
    QTest::newRow("rules") << kInspectingSingleRule << "Inspection of rules" << QStringList{"3", "1", "2"} << 2
                           << QStringList{"Overall number of rules", "Rule conclusion"} << QStringList{"3", "e"}
                           << " List of conditions " << QStringList{"c", "nd"};
    QTest::newRow("basic") << kBasicModels << "Inspection of basic models" << QStringList{"7"} << 0
                           << QStringList{"Result/Conclusion", "Argument 2", "Number of polynomial models"}
                           << QStringList{"speed", "time", "1"} << QString() << QStringList{};
    QTest::newRow("extended") << kExtendedModels << "Inspection of extended models" << QStringList{"8"} << 0
                              << QStringList{"Operation/Relation", "Display semaphor"}
                              << QStringList{"max_list", "0"} << " List of arguments " << QStringList{"p", "q"};
    QTest::newRow("linear") << kLinearModels << "Inspection of linear models" << QStringList{"9"} << 0
                            << QStringList{"Value of :inear form"} << QStringList{"cost"} << " List of variables "
                            << QStringList{"x1", "x2"};
    QTest::newRow("polynomial") << kPolynomialModels << "Inspection of polynomial models" << QStringList{"10"} << 0
                                << QStringList{"Polynomial value", "Value of variable"} << QStringList{"area", "r"}
                                << " List of powers " << QStringList{"0", "2"};
    QTest::newRow("constraints") << kInspectingSingleConstraint << "Inspection of constraints"
                                 << QStringList{"5", "4"} << 1 << QStringList{"Number of constraints"}
                                 << QStringList{"2"} << " Mutually exclusive conditions " << QStringList{"x", "b"};
}

void TestQtInspection::recordWindowsOpenFromTheMenu() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(QStringList, numbers);
    QFETCH(int, row);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, values);
    QFETCH(QString, group);
    QFETCH(QStringList, groupItems);
    app_->window().commandAction(command)->trigger();
    auto* w = newest<RecordWindow>(app_->window().mdiArea());
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(items(w->numbers()), numbers);
    w->numbers()->setCurrentIndex(w->numbers()->model()->index(row, 0));
    for (int i = 0; i < labels.size(); ++i) {
        QVERIFY2(w->field(labels[i]), qPrintable(labels[i]));
        QCOMPARE(w->field(labels[i])->text(), values[i]);
    }
    if (!group.isEmpty()) QCOMPARE(items(w->group(group)), groupItems);
}

void TestQtInspection::closingARecordWindowRenewsTheMessageWindow() {
    app_->window().commandAction(shell::cmd::kInspectingSingleRule)->trigger();
    auto* w = newest<RecordWindow>(app_->window().mdiArea());
    QVERIFY(w);
    app_->state().messages.write("written before closing\n");
    QVERIFY(!app_->window().messagesPane()->toPlainText().isEmpty());
    QVERIFY(click(w, QStringLiteral("&Close")));
    QTRY_VERIFY(app_->window().messagesPane()->toPlainText().isEmpty());
    QVERIFY(app_->state().messages.text().empty());
}

void TestQtInspection::emptyBasePartOpensNoWindow() {
    // A cancelled rule-base load empties the store and leaves the menu.
    {
        DialogDriver cancel;
        cancel.otherwise(closeDialog);
        app_->window().commandAction(shell::cmd::kRuleBaseLoading)->trigger();
    }
    const int windows = app_->window().mdiArea()->subWindowList().size();
    QString seen;
    {
        DialogDriver driver;
        driver.otherwise([&](QWidget* box) {
            seen = box->windowTitle();
            return answerAnything(box);
        });
        app_->window().commandAction(shell::cmd::kInspectingSingleRule)->trigger();
    }
    QCOMPARE(seen, QStringLiteral("Attention error!"));
    QCOMPARE(app_->window().mdiArea()->subWindowList().size(), windows);
}

void TestQtInspection::brokenBitmapAndWaveNeitherCrashNorHang() {
    load(shell::cmd::kGraphicsBaseLoading, bases_ + "/GRshop.AEB");
    load(shell::cmd::kSoundBaseLoading, bases_ + "/SOshop.AEB");
    QStringList titles;
    DialogDriver driver;
    driver.otherwise([&](QWidget* w) {
        titles << w->windowTitle();
        if (qobject_cast<BitmapDialog*>(w)) return click(w, QStringLiteral("&End"));
        return answerAnything(w);
    });
    app_->window().commandAction(shell::cmd::kGraphicsFileInspection)->trigger();
    QElapsedTimer clock;
    clock.start();
    app_->window().commandAction(shell::cmd::kSoundFilePlaying)->trigger();
    QVERIFY2(clock.elapsed() < 40000, "the player waited for data the file does not have");
    QVERIFY(titles.contains(QStringLiteral("Graphics file inspection")));
    QVERIFY(titles.contains(QStringLiteral("Melody inspection")));
}

QTEST_MAIN(TestQtInspection)
#include "test_qt_base_views.moc"
