// Inspection, record, graphics and editor windows; help, title, sound and
// the display encoding.
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QElapsedTimer>

#include "dialog_driver.h"
#include "qt/companions.h"
#include "kb/store.h"
#include "qt/editor_window.h"
#include "qt/view_windows.h"
#include "qt/qt_user_port.h"
#include "qt/record_windows.h"
#include "qt/sound_player.h"
#include "qt/text_codec.h"
#include "state/record_sources.h"

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;
using W = RecordKind;

namespace {
QStringList items(QListWidget* list) {
    QStringList out;
    for (int i = 0; list && i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList items(QListView* view) {
    QStringList out;
    for (int i = 0; view && i < view->model()->rowCount(); ++i) out << view->model()->index(i, 0).data().toString();
    return out;
}

void pick(QListView* view, int row) { view->setCurrentIndex(view->model()->index(row, 0)); }

kb::Store sampleStore() {
    kb::Store s;
    kb::RuleBase rules;
    rules.rules = {{3, "wet", {"rain", "nroof"}, 1},
                   {1, "slippery", {"wet", "cold"}, 0},
                   {2, "danger", {"slippery"}, 1},
                   {1, "second one", {"never shown"}, 0}};
    s.setRuleBase(rules);
    kb::ModelBase m;
    m.model_b = {{7, "No condition", "speed", "distance", "/", "time", 1}};
    m.model_e = {{8, "moving", "total", "sum", {"a", "b", "c"}, 0}};
    m.model_lin = {{9, "moving", "cost", {"2", "3.5"}, {"x1", "x2"}, 1}};
    m.model_poly = {{10, "No condition", "area", "r", {"0", "3.14"}, {0, 2}, 0},
                    {11, "hot", "vol", "s", {"1"}, {3}, 1}};
    s.setModelBase(m);
    kb::ConstraintBase c;
    c.constraints = {{5, {"red", "green", "blue"}}, {4, {"on", "off"}}};
    s.setConstraintBase(c);
    return s;
}

/// The newest MDI child's widget.
template <class T>
T* newest(QMdiArea& area) {
    const auto subs = area.subWindowList(QMdiArea::CreationOrder);
    return subs.isEmpty() ? nullptr : qobject_cast<T*>(subs.back()->widget());
}

QByteArray wave(int milliseconds) {
    const quint32 rate = 8000;
    const quint32 data = rate * static_cast<quint32>(milliseconds) / 1000;
    QByteArray out;
    auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xff)); };
    auto u16 = [&](quint16 v) { out.append(char(v & 0xff)).append(char(v >> 8)); };
    out.append("RIFF");
    u32(36 + data);
    out.append("WAVEfmt ");
    u32(16);
    u16(1);        // PCM
    u16(1);        // mono
    u32(rate);
    u32(rate);     // byte rate: 8-bit mono
    u16(1);
    u16(8);
    out.append("data");
    u32(data);
    out.append(QByteArray(static_cast<qsizetype>(data), char(0x80)));
    return out;
}
}  // namespace

class TestQtWindows : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textViewIsReadOnlyFixedFontCaretAtStart();
    void textViewTitles_data();
    void textViewTitles();
    void ruleWindowListsNumbersInStoreOrder();
    void ruleWindowShowsFirstRuleOfANumber();
    void modelWindowsFillOnlyTheirFields_data();
    void modelWindowsFillOnlyTheirFields();
    void constraintWindowListsConditions();
    void closingAWindowIsReported();
    void askablesWindowShowsHeadingAndLines();
    void progressCanBeCancelled();
    void graphicsWindowAsksToClose();
    void graphicsViewerHasEndButton();
    void helpOpensFileOrManual();
    void titleIsPassedOn();
    void waveLengthFromHeader();
    void unplayableWaveSaysSoAndMissingOneStaysSilent();
    void waveReturnsWhenPlayed();
    void displayEncoding_data();
    void displayEncoding();

private:
    QtUserPort* port_ = nullptr;
    QMdiArea* area_ = nullptr;
};

void TestQtWindows::init() {
    area_ = new QMdiArea;
    area_->resize(1000, 700);
    area_->show();
    port_ = new QtUserPort;
    port_->setWindowHost(area_);
}

void TestQtWindows::cleanup() {
    delete area_;
    delete port_;
}

void TestQtWindows::textViewIsReadOnlyFixedFontCaretAtStart() {
    port_->textView("Inspecting  Abstract Text File : car.abs", "line one\nline two\n");
    auto* w = newest<TextViewWindow>(*area_);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Inspecting  Abstract Text File : car.abs"));
    QCOMPARE(w->view()->toPlainText(), QStringLiteral("line one\nline two\n"));
    QVERIFY(w->view()->isReadOnly());
    QCOMPARE(w->view()->textCursor().position(), 0);
    QCOMPARE(w->view()->font().pointSize(), 8);
    QCOMPARE(w->view()->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
}

void TestQtWindows::textViewTitles_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::newRow("default") << "" << "Inspection";
    QTest::newRow("given") << "Inspection of Advice Base: ADcar.AEB" << "Inspection of Advice Base: ADcar.AEB";
}

void TestQtWindows::textViewTitles() {
    QFETCH(QString, title);
    QFETCH(QString, shown);
    port_->textView(title.toStdString(), "");
    auto* w = newest<TextViewWindow>(*area_);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), shown);
    QVERIFY(w->view()->toPlainText().isEmpty());
}

void TestQtWindows::ruleWindowListsNumbersInStoreOrder() {
    const kb::Store store = sampleStore();
    port_->recordWindow(recordSource(W::Rules, store));
    auto* w = newest<RecordWindow>(*area_);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Inspection of rules"));
    QCOMPARE(items(w->numbers()), (QStringList{"3", "1", "2", "1"}));
    QCOMPARE(w->field(QStringLiteral("Overall number of rules"))->text(), QStringLiteral("4"));
    QCOMPARE(w->field(QStringLiteral("Rule conclusion"))->text(), QString());
    QVERIFY(items(w->group(QStringLiteral(" List of conditions "))).isEmpty());
    QVERIFY(w->findChild<QGroupBox*>()->title() == QStringLiteral(" List of conditions "));
    QStringList labels;
    for (auto* l : w->findChildren<QLabel*>()) labels << l->text();
    QVERIFY(labels.contains(QStringLiteral("Rule number")));
    pick(w->numbers(), 0);
    QCOMPARE(w->field(QStringLiteral("Rule conclusion"))->text(), QStringLiteral("wet"));
    QCOMPARE(items(w->group(QStringLiteral(" List of conditions "))), (QStringList{"rain", "nroof"}));
    QVERIFY(w->findChild<QPushButton*>() != nullptr);
    QVERIFY(findButton(w, QStringLiteral("&Close")));
    QVERIFY(findButton(w, QStringLiteral("&Help")));
}

void TestQtWindows::ruleWindowShowsFirstRuleOfANumber() {
    const kb::Store store = sampleStore();
    port_->recordWindow(recordSource(W::Rules, store));
    auto* w = newest<RecordWindow>(*area_);
    pick(w->numbers(), 3);   // the second rule numbered 1
    QCOMPARE(w->field(QStringLiteral("Rule conclusion"))->text(), QStringLiteral("slippery"));
    QCOMPARE(items(w->group(QStringLiteral(" List of conditions "))), (QStringList{"wet", "cold"}));
}

void TestQtWindows::modelWindowsFillOnlyTheirFields_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QList<QStringList>>("groupItems");
    QTest::newRow("basic") << int(W::BasicModels) << "Inspection of basic models" << "BASIC MODELS"
                           << QStringList{"7"}
                           << QStringList{"Model number", "Go-ahead condition", "Result/Conclusion", "Argument 1",
                                          "Operation/Relation", "Argument 2", "Display semaphor"}
                           << QStringList{"7", "No condition", "speed", "distance", "/", "time", "1"}
                           << QStringList{} << QList<QStringList>{};
    QTest::newRow("extended") << int(W::ExtendedModels) << "Inspection of extended models" << "EXTENDED MODEL"
                              << QStringList{"8"}
                              << QStringList{"Model number", "Go-ahead condition", "Result/Conclusion",
                                             "Operation/Relation", "Display semaphor"}
                              << QStringList{"8", "moving", "total", "sum", "0"}
                              << QStringList{" List of arguments "} << QList<QStringList>{{"a", "b", "c"}};
    QTest::newRow("linear") << int(W::LinearModels) << "Inspection of linear models" << "LINEAR MODEL"
                            << QStringList{"9"}
                            << QStringList{"Model number", "Go-ahead condition", "Value of :inear form",
                                           "Display semaphor"}
                            << QStringList{"9", "moving", "cost", "1"}
                            << QStringList{" List of coefficients ", " List of variables "}
                            << QList<QStringList>{{"2", "3.5"}, {"x1", "x2"}};
    QTest::newRow("polynomial") << int(W::PolynomialModels) << "Inspection of polynomial models"
                                << "POLYNOMIAL MODEL" << QStringList{"10", "11"}
                                << QStringList{"Model number", "Go-ahead condition", "Polynomial value",
                                               "Value of variable", "Display semaphor"}
                                << QStringList{"10", "No condition", "area", "r", "0"}
                                << QStringList{" List of coefficients ", " List of powers "}
                                << QList<QStringList>{{"0", "3.14"}, {"0", "2"}};
}

void TestQtWindows::modelWindowsFillOnlyTheirFields() {
    QFETCH(int, which);
    QFETCH(QString, title);
    QFETCH(QString, heading);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, values);
    QFETCH(QStringList, groups);
    QFETCH(QList<QStringList>, groupItems);
    const kb::Store store = sampleStore();
    port_->recordWindow(recordSource(static_cast<W>(which), store));
    auto* w = newest<RecordWindow>(*area_);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("heading"))->text(), heading);
    QCOMPARE(items(w->numbers()), numbers);
    const QStringList counts{"Number of basic models", "Number of extended models", "Number of linear models",
                             "Number of polynomial models"};
    const QStringList expectedCounts{"1", "1", "1", "2"};
    pick(w->numbers(), 0);
    for (int i = 0; i < fields.size(); ++i) QCOMPARE(w->field(fields[i])->text(), values[i]);
    for (int i = 0; i < groups.size(); ++i) QCOMPARE(items(w->group(groups[i])), groupItems[i]);
    for (int i = 0; i < counts.size(); ++i) QCOMPARE(w->field(counts[i])->text(), expectedCounts[i]);
    QCOMPARE(w->findChildren<QLineEdit*>().size(), counts.size() + fields.size());
}

void TestQtWindows::constraintWindowListsConditions() {
    const kb::Store store = sampleStore();
    port_->recordWindow(recordSource(W::Constraints, store));
    auto* w = newest<RecordWindow>(*area_);
    QCOMPARE(w->windowTitle(), QStringLiteral("Inspection of constraints"));
    QCOMPARE(items(w->numbers()), (QStringList{"5", "4"}));
    QCOMPARE(w->field(QStringLiteral("Number of constraints"))->text(), QStringLiteral("2"));
    QVERIFY(findButton(w, QStringLiteral("&Closej")));
    pick(w->numbers(), 1);
    QCOMPARE(items(w->group(QStringLiteral(" Mutually exclusive conditions "))), (QStringList{"on", "off"}));
}

void TestQtWindows::closingAWindowIsReported() {
    QSignalSpy closed(port_, &QtUserPort::childWindowClosed);
    const kb::Store store = sampleStore();
    port_->recordWindow(recordSource(W::Constraints, store));
    click(newest<RecordWindow>(*area_), QStringLiteral("&Closej"));
    QTRY_COMPARE(closed.count(), 1);
    QTRY_VERIFY(area_->subWindowList().isEmpty());
    port_->textView("", "x");
    area_->subWindowList().front()->close();
    QTRY_COMPARE(closed.count(), 2);
}

void TestQtWindows::askablesWindowShowsHeadingAndLines() {
    port_->askablesWindow("Askable conditions", {"rain", "cold"});
    auto* w = newest<AskablesWindow>(*area_);
    QCOMPARE(w->windowTitle(), QStringLiteral("Inspection of askables"));
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("heading"))->text(), QStringLiteral("Askable conditions"));
    QCOMPARE(items(w->list()), (QStringList{"rain", "cold"}));
    QVERIFY(findButton(w, QStringLiteral("&Close")));
    QVERIFY(findButton(w, QStringLiteral("&Help")));

    // A million lines open at once: text is made only for the rows shown.
    std::vector<std::string> many(1'000'000, "a");
    many.back() = "last";
    QElapsedTimer t;
    t.start();
    port_->askablesWindow("Askable conditions", many);
    auto* big = newest<AskablesWindow>(*area_);
    QVERIFY(big != w);
    QCOMPARE(big->list()->model()->rowCount(), 1'000'000);
    QCOMPARE(big->list()->model()->index(999'999, 0).data().toString(), QStringLiteral("last"));
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void TestQtWindows::progressCanBeCancelled() {
    QVERIFY(port_->progress("Loading RUx.AEB", 0, 3'000'000'000ULL));
    QProgressDialog* d = port_->progressDialog();
    QVERIFY(d);
    QCOMPARE(d->labelText(), QStringLiteral("Loading RUx.AEB"));
    QCOMPARE(d->minimumDuration(), 500);
    QVERIFY(port_->progress("Loading RUx.AEB", 1'500'000'000ULL, 3'000'000'000ULL));
    QCOMPARE(d->value(), 500);  // work beyond int is scaled, not wrapped
    d->cancel();
    QVERIFY(!port_->progress("Loading RUx.AEB", 1'600'000'000ULL, 3'000'000'000ULL));
    // The end of the work closes the dialog; the next work gets a fresh one.
    QVERIFY(port_->progress("Loading RUx.AEB", 3'000'000'000ULL, 3'000'000'000ULL));
    QVERIFY(!port_->progressDialog());
    QVERIFY(port_->progress("Testing", 0, 10));
    QVERIFY(port_->progressDialog() && !port_->progressDialog()->wasCanceled());
    // A question asked during the work closes the dialog rather than sit
    // under it; the next report opens a new one, again after half a second.
    DialogDriver driver;
    driver.then([](QWidget* box) { return answerYes(box); });
    QCOMPARE(port_->yesNo("Question", "Go on?"), port::kYes);
    QVERIFY(driver.done());
    QVERIFY(!port_->progressDialog());
    QVERIFY(port_->progress("Testing", 5, 10));
    QVERIFY(port_->progressDialog() && !port_->progressDialog()->isVisible());
    QVERIFY(port_->progress("Testing", 10, 10));
}

void TestQtWindows::graphicsWindowAsksToClose() {
    QTemporaryDir dir;
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QString path = dir.filePath(QStringLiteral("car.bmp"));
    QVERIFY(img.save(path, "BMP"));
    SeenBox seen;
    DialogDriver driver;
    driver.then(recordAndClick(seen, QStringLiteral("&Yes")));
    port_->graphicsWindow(path.toStdString());
    auto* w = newest<GraphicsWindow>(*area_);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Inspection of graphics"));
    QCOMPARE(w->image().size(), QSize(40, 30));
    // Stretched over the whole window.
    const QImage drawn = w->grab().toImage();
    QCOMPARE(QColor(drawn.pixel(drawn.width() - 2, drawn.height() - 2)), QColor(Qt::red));
    QTRY_VERIFY(driver.done());
    QCOMPARE(seen.title, QStringLiteral("Choose:"));
    QCOMPARE(seen.text, QStringLiteral("Do you wish to close the graphics window?"));
    QTRY_VERIFY(area_->subWindowList().isEmpty());

    // A double click closes it without waiting for the question.
    driver.then(recordAndClick(seen, QStringLiteral("&No")));
    port_->graphicsWindow(path.toStdString());
    QTRY_VERIFY(driver.done());
    auto* again = newest<GraphicsWindow>(*area_);
    QVERIFY(again);
    QTest::mouseDClick(again, Qt::LeftButton);
    QTRY_VERIFY(area_->subWindowList().isEmpty());
}

void TestQtWindows::graphicsViewerHasEndButton() {
    QString title;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        title = w->windowTitle();
        return click(w, QStringLiteral("&End"));
    });
    port_->showGraphics("/nonexistent/picture.bmp");
    QVERIFY(driver.done());
    QCOMPARE(title, QStringLiteral("Graphics file inspection"));
}

void TestQtWindows::helpOpensFileOrManual() {
    QTemporaryDir dir;
    QList<QUrl> opened;
    bool viewerWorks = true;
    port_->setUrlOpener([&](const QUrl& u) {
        opened << u;
        return viewerWorks;
    });
    port_->setCurrentDirectory([&] { return std::filesystem::path(dir.path().toStdString()); });
    // Without a help file: the manual inside the program, no viewer needed.
    port_->openHelp({});
    port_->openHelp("Main_ae.HLP");
    QVERIFY(opened.isEmpty());
    auto* manual = qobject_cast<ManualWindow*>(port_->manualWindow());
    QVERIFY(manual && manual->isVisible());
    QVERIFY(manual->browser()->toPlainText().contains(QStringLiteral("Getting started")));
    manual->close();
    QTRY_VERIFY(!port_->manualWindow());
    // A help file goes to the desktop's viewer; without a viewer, the manual.
    QFile chm(dir.filePath(QStringLiteral("torv_AE.chm")));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    port_->openHelp("torv_AE.chm");
    QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(chm.fileName())});
    QVERIFY(!port_->manualWindow());
    viewerWorks = false;
    port_->openHelp("torv_AE.chm");
    QVERIFY(port_->manualWindow() && port_->manualWindow()->isVisible());
}

void TestQtWindows::titleIsPassedOn() {
    QSignalSpy spy(port_, &QtUserPort::titleChanged);
    port_->setTitle("torv_AE consults Knowledge Base CAR");
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.front().front().toString(), QStringLiteral("torv_AE consults Knowledge Base CAR"));
    QCOMPARE(port_->title(), QStringLiteral("torv_AE consults Knowledge Base CAR"));
}

void TestQtWindows::waveLengthFromHeader() {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("a.wav")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(wave(1500));
    f.close();
    QCOMPARE(waveLengthMs(f.fileName()), 1500);
    QFile bad(dir.filePath(QStringLiteral("b.wav")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("not a wave at all");
    bad.close();
    QCOMPARE(waveLengthMs(bad.fileName()), -1);
    // A header claiming 4 GB of data at one byte a second: no overflow, a bounded wait.
    QByteArray huge = wave(0);
    huge.replace(28, 4, QByteArray("\x01\x00\x00\x00", 4));
    huge.replace(huge.size() - 4, 4, QByteArray("\xff\xff\xff\xff", 4));
    QFile h(dir.filePath(QStringLiteral("h.wav")));
    QVERIFY(h.open(QIODevice::WriteOnly));
    h.write(huge);
    h.close();
    QCOMPARE(waveLengthMs(h.fileName()), 10 * 60 * 1000);
}

void TestQtWindows::unplayableWaveSaysSoAndMissingOneStaysSilent() {
    QTemporaryDir dir;
    QFile bad(dir.filePath(QStringLiteral("broken.wav")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray("RIFF\x10\0\0\0WAVEjunk", 16) + QByteArray(4000, '\x7f'));
    bad.close();
    QSignalSpy messages(port_, &QtUserPort::messageWritten);
    QElapsedTimer t;
    t.start();
    port_->playSound("/nonexistent/tune.wav");
    QVERIFY(t.elapsed() < 500);
    QCOMPARE(messages.count(), 0);
    port_->playSound(bad.fileName().toStdString());
    QCOMPARE(messages.count(), 1);
    const QString line = messages.front().front().toString();
    QVERIFY2(line.startsWith(QStringLiteral("The sound broken.wav could not be played: ")), qPrintable(line));
    QVERIFY(line.endsWith(QLatin1Char('\n')) && line.count(QLatin1Char('\n')) == 1);
}

void TestQtWindows::waveReturnsWhenPlayed() {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("short.wav")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(wave(300));
    f.close();
    QElapsedTimer t;
    t.start();
    port_->playSound(f.fileName().toStdString());
    // Bounded by the length plus the margin, whether or not a sound card exists.
    QVERIFY2(t.elapsed() < 300 + 3000 + 1500, qPrintable(QString::number(t.elapsed())));
}

void TestQtWindows::displayEncoding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ascii") << QByteArray("rain") << "rain";
    QTest::newRow("utf-8") << QByteArray("g\xc5\x82\xc3\xb3wny") << QString::fromUtf8("g\u0142\u00f3wny");
    QTest::newRow("windows-1250") << QByteArray("g\xb3\xf3wny \xb9\x9c") << QString::fromUtf8("g\u0142\u00f3wny \u0105\u015b");
}

void TestQtWindows::displayEncoding() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const std::string raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    QCOMPARE(toQ(raw), shown);
    if (!isUtf8(raw)) QCOMPARE(QByteArray::fromStdString(toCp1250(shown)), bytes);
}

QTEST_MAIN(TestQtWindows)
#include "test_qt_windows.moc"
