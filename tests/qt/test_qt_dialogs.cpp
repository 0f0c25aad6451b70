// The port's boxes and resource dialogs: titles, controls, captions and the
// values they return.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_driver.h"
#include "qt/dialogs.h"
#include "qt/file_dialogs.h"
#include "qt/qt_user_port.h"

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {
QStringList labelTexts(QWidget* w) {
    QStringList out;
    for (auto* l : w->findChildren<QLabel*>()) out << l->text();
    return out;
}

QStringList buttonTexts(QWidget* w) {
    QStringList out;
    for (auto* b : w->findChildren<QPushButton*>()) out << b->text();
    return out;
}

QStringList listItems(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

/// A dialog seen by an action, for checks after the call returned.
struct Seen {
    QString title;
    QStringList labels;
    QStringList buttons;
    QStringList items;
    QStringList frames;
    QString caption;
    int currentRow = -2;
    bool resizable = false;
};

Seen look(QWidget* w) {
    Seen s;
    s.title = w->windowTitle();
    s.labels = labelTexts(w);
    s.buttons = buttonTexts(w);
    if (auto* list = w->findChild<QListWidget*>()) {
        s.items = listItems(list);
        s.currentRow = list->selectedItems().isEmpty() ? -1 : list->row(list->selectedItems().front());
    }
    for (auto* g : w->findChildren<QGroupBox*>()) s.frames << g->title();
    if (auto* c = w->findChild<QLineEdit*>(QStringLiteral("caption"))) s.caption = c->text();
    s.resizable = w->minimumSize() != w->maximumSize();
    return s;
}

const std::vector<std::string> kItems{"engine hot", "oil low", "tyre flat"};
}  // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT

private slots:
    void noteHasOneOkButton();
    void yesNoReturnsOneOrTwo_data();
    void yesNoReturnsOneOrTwo();
    void askReturnsNumberOfButton_data();
    void askReturnsNumberOfButton();
    void inputStringReturnsTextOrNothing();
    void radioDialogsReturnTheirButton_data();
    void radioDialogsReturnTheirButton();
    void pickFactPreselectsFirstItem();
    void pickFactReturnsChosenPosition();
    void pickFactsReturnsSeveralPositions();
    void pickFactsTellsNoneFromClosed_data();
    void pickFactsTellsNoneFromClosed();
    void endRefusedReturnsToDialog_data();
    void endRefusedReturnsToDialog();
    void endConfirmedEndsProgram();
    void messageShowsCaptionAndLines();
    void ruleForFlatteningReturnsLine();
    void ruleLinesStandInTheHeadingsColumns_data();
    void ruleLinesStandInTheHeadingsColumns();
    void externalDataPickersReturnPosition_data();
    void externalDataPickersReturnPosition();
    void importedFactsShowsBothLists();
    void mediaPickersReturnFile_data();
    void mediaPickersReturnFile();
    void readersShowFieldAndText_data();
    void readersShowFieldAndText();
    void aboutShowsNameAndDescription();
    void nameFiltersFromFilterList_data();
    void nameFiltersFromFilterList();
    void openFileMatchesMasksIgnoringCase();
    void openFileCancelledReturnsEmpty();
    void saveFileReturnsTypedName();
    void saveFileAddsExtensionBeforeOverwriteQuestion_data();
    void saveFileAddsExtensionBeforeOverwriteQuestion();
    void closedRadioDialogsGiveTheirCancelOutcome_data();
    void closedRadioDialogsGiveTheirCancelOutcome();
    void enterAnswersCloseQuestionsWithNo_data();
    void enterAnswersCloseQuestionsWithNo();
    void noteIconTellsFaultsFromConfirmations_data();
    void noteIconTellsFaultsFromConfirmations();
    void messageBoxesShowTheirWholeTitleAndText_data();
    void messageBoxesShowTheirWholeTitleAndText();
    void saveDialogAsksBeforeReplacingUnlessTheCallerDoes();

private:
    QtUserPort port_;
};

void TestQtDialogs::noteHasOneOkButton() {
    SeenBox seen;
    DialogDriver driver;
    driver.then(recordAndClick(seen));
    port_.note("Attention!", "No rules in the rule base!");
    QVERIFY(driver.done());
    QCOMPARE(seen.title, QStringLiteral("Attention!"));
    QCOMPARE(seen.text, QStringLiteral("No rules in the rule base!"));
    QCOMPARE(seen.buttons.size(), 1);
}

void TestQtDialogs::yesNoReturnsOneOrTwo_data() {
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("expected");
    QTest::newRow("yes") << "yes" << 1;
    QTest::newRow("no") << "no" << 2;
    QTest::newRow("closed") << "close" << 2;
}

void TestQtDialogs::yesNoReturnsOneOrTwo() {
    QFETCH(QString, press);
    QFETCH(int, expected);
    bool question = false;
    QString title, text;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        question = box->icon() == QMessageBox::Question;
        title = box->windowTitle();
        text = box->text();
        if (press == QLatin1String("yes")) return answerYes(w);
        if (press == QLatin1String("no")) return answerNo(w);
        QTest::keyClick(w, Qt::Key_Escape);
        return true;
    });
    QCOMPARE(port_.yesNo("Choose:", "Do you wish to be advised?"), expected);
    QVERIFY(driver.done());
    QVERIFY(question);
    QCOMPARE(title, QStringLiteral("Choose:"));
    QCOMPARE(text, QStringLiteral("Do you wish to be advised?"));
}

void TestQtDialogs::askReturnsNumberOfButton_data() {
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("expected");
    const QStringList three{"&YES", "&NO", "&WHY?"};
    QTest::newRow("why is third") << three << "&WHY?" << 3;
    QTest::newRow("yes is first") << three << "&YES" << 1;
    QTest::newRow("no is second") << three << "&NO" << 2;
    QTest::newRow("two buttons") << QStringList{"&Yes", "&No"} << "&Yes" << 1;
    QTest::newRow("closed counts as second") << three << "" << 2;
}

void TestQtDialogs::askReturnsNumberOfButton() {
    QFETCH(QStringList, labels);
    QFETCH(QString, press);
    QFETCH(int, expected);
    std::vector<std::string> buttons;
    for (const auto& l : labels) buttons.push_back(l.toStdString());
    QStringList shown;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        // Left to right, as the user reads them.
        auto buttons = box->buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton* a, QAbstractButton* b) { return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x(); });
        for (auto* b : buttons) shown << b->text();
        if (press.isEmpty()) QTest::keyClick(w, Qt::Key_Escape);
        else click(w, press);
        return true;
    });
    QCOMPARE(port_.ask("Question", "Is the engine hot?", buttons), expected);
    QVERIFY(driver.done());
    QCOMPARE(shown, labels);
}

void TestQtDialogs::inputStringReturnsTextOrNothing() {
    QStringList seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* d = qobject_cast<QInputDialog*>(w);
        if (!d) return false;
        seen << d->windowTitle() << d->labelText() << d->textValue();
        d->setTextValue(QStringLiteral("second run"));
        d->accept();
        return true;
    });
    QCOMPARE(port_.inputString("Summary", "Label:", "first"), std::optional<std::string>("second run"));
    QCOMPARE(seen, (QStringList{"Summary", "Label:", "first"}));
    driver.then(closeDialog);
    QCOMPARE(port_.inputString("Summary", "Label:", "first"), std::nullopt);
}

void TestQtDialogs::radioDialogsReturnTheirButton_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("preselected");
    QTest::addColumn<int>("choose");   // 0 = leave the preselection
    QTest::newRow("hypothesis default") << 0 << "Type of hypothesis" << "Pick type of tested hypothesis"
                                        << QStringList{"Narrow-sense hypothesis", "Wide-sense hypothesis"} << 1 << 0;
    QTest::newRow("hypothesis wide") << 0 << "Type of hypothesis" << "Pick type of tested hypothesis"
                                     << QStringList{"Narrow-sense hypothesis", "Wide-sense hypothesis"} << 1 << 2;
    QTest::newRow("detail default") << 1 << "Level of detail" << "Choose level of message/report detail"
                                    << QStringList{"Low level of detail", "High level of detail"} << 1 << 0;
    QTest::newRow("detail high") << 1 << "Level of detail" << "Choose level of message/report detail"
                                 << QStringList{"Low level of detail", "High level of detail"} << 1 << 2;
    QTest::newRow("declaration default") << 2 << "Fact declaration mode" << "Choose fact declaration mode!"
                                         << QStringList{"Menu  for choosing facts", "Querrying the user"} << 2 << 0;
    QTest::newRow("declaration menu") << 2 << "Fact declaration mode" << "Choose fact declaration mode!"
                                      << QStringList{"Menu  for choosing facts", "Querrying the user"} << 2 << 1;
}

void TestQtDialogs::radioDialogsReturnTheirButton() {
    QFETCH(int, which);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QStringList, labels);
    QFETCH(int, preselected);
    QFETCH(int, choose);
    Seen seen;
    QStringList radios;
    int checkedAtOpen = 0;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* d = qobject_cast<RadioDialog*>(w);
        if (!d) return false;
        seen = look(w);
        for (auto* r : w->findChildren<QRadioButton*>()) radios << r->text();
        checkedAtOpen = d->checked();
        if (choose) d->radio(choose)->click();
        return click(w, QStringLiteral("&OK"));
    });
    int result = 0;
    switch (which) {
    case 0: result = port_.typeOfHypothesis(); break;
    case 1: result = port_.levelOfDetail(); break;
    default: result = port_.factDeclarationMode(); break;
    }
    QVERIFY(driver.done());
    QCOMPARE(seen.title, title);
    QVERIFY(seen.labels.contains(text));
    QCOMPARE(radios, labels);
    QCOMPARE(seen.buttons, QStringList{"&OK"});
    QCOMPARE(checkedAtOpen, preselected);
    QCOMPARE(result, choose ? choose : preselected);
}

void TestQtDialogs::pickFactPreselectsFirstItem() {
    Seen seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        return click(w, QStringLiteral("&Continue"));
    });
    QCOMPARE(port_.pickFact("Choose a fact", kItems), std::optional<std::size_t>(0));
    QCOMPARE(seen.title, QStringLiteral("Pick a fact"));
    QCOMPARE(seen.caption, QStringLiteral("Choose a fact"));
    QCOMPARE(seen.items, (QStringList{"engine hot", "oil low", "tyre flat"}));
    QCOMPARE(seen.currentRow, 0);
    QCOMPARE(seen.buttons, (QStringList{"&Continue", "End"}));
    QVERIFY(seen.resizable);
}

void TestQtDialogs::pickFactReturnsChosenPosition() {
    DialogDriver driver;
    driver.then([](QWidget* w) {
        w->findChild<QListWidget*>()->setCurrentRow(2);
        return click(w, QStringLiteral("&Continue"));
    });
    QCOMPARE(port_.pickFact("Choose a fact", kItems), std::optional<std::size_t>(2));
    driver.then(closeDialog);
    QCOMPARE(port_.pickFact("Choose a fact", kItems), std::nullopt);
}

void TestQtDialogs::pickFactsReturnsSeveralPositions() {
    Seen seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        auto* list = w->findChild<QListWidget*>();
        list->item(2)->setSelected(true);
        list->item(0)->setSelected(true);
        return click(w, QStringLiteral("&Continue"));
    });
    QCOMPARE(port_.pickFacts("Choose facts", kItems), (std::optional<std::vector<std::size_t>>(std::vector<std::size_t>{0, 2})));
    QCOMPARE(seen.title, QStringLiteral("Pick facts"));
    QCOMPARE(seen.currentRow, -1);
    QCOMPARE(seen.buttons, (QStringList{"&Continue", "End"}));
}

void TestQtDialogs::pickFactsTellsNoneFromClosed_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("continue with nothing selected") << "continue" << true;
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("escape") << "escape" << false;
}

void TestQtDialogs::pickFactsTellsNoneFromClosed() {
    QFETCH(QString, how);
    QFETCH(bool, confirmed);
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        if (how == QLatin1String("continue")) return click(w, QStringLiteral("&Continue"));
        if (how == QLatin1String("close")) return w->close();
        QTest::keyClick(w->findChild<QListWidget*>(), Qt::Key_Escape);
        return true;
    });
    const auto picked = port_.pickFacts("Choose facts", kItems);
    QVERIFY(driver.done());
    // "None of these" is an answer that records every item false; closing records nothing.
    QCOMPARE(picked.has_value(), confirmed);
    if (picked) QVERIFY(picked->empty());
}

void TestQtDialogs::endRefusedReturnsToDialog_data() {
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("question");
    QTest::newRow("argument value") << "Argument value" << "Do you really wich to close the program?";
    QTest::newRow("message") << "Message" << "Do you really wish to close the program?";
    QTest::newRow("pick facts") << "Pick facts" << "Do you really wish to close the program?";
    QTest::newRow("pick a fact") << "Pick a fact" << "Do you really wish to close the program?";
}

void TestQtDialogs::endRefusedReturnsToDialog() {
    QFETCH(QString, dialog);
    QFETCH(QString, question);
    SeenBox box;
    QString reopened;
    DialogDriver driver;
    driver.then([](QWidget* w) { return click(w, QStringLiteral("End")); })
        .then(recordAndClick(box, QStringLiteral("&No")))
        .then([&](QWidget* w) {
            reopened = w->windowTitle();
            if (auto* v = w->findChild<QLineEdit*>(QStringLiteral("value"))) v->setText(QStringLiteral("7.5"));
            if (auto* list = w->findChild<QListWidget*>(); list && list->selectionMode() == QAbstractItemView::MultiSelection)
                list->item(1)->setSelected(true);
            return click(w, dialog == QLatin1String("Argument value") ? QStringLiteral("&OK") : QStringLiteral("&Continue"));
        });
    if (dialog == QLatin1String("Argument value")) {
        QCOMPARE(port_.argumentValue("speed"), std::optional<std::string>("7.5"));
    } else if (dialog == QLatin1String("Message")) {
        port_.message("Conclusion", {"the engine is hot"});
    } else if (dialog == QLatin1String("Pick facts")) {
        QCOMPARE(port_.pickFacts("Choose facts", kItems), (std::optional<std::vector<std::size_t>>(std::vector<std::size_t>{1})));
    } else {
        QCOMPARE(port_.pickFact("Choose a fact", kItems), std::optional<std::size_t>(0));
    }
    QVERIFY(driver.done());
    QCOMPARE(box.title, QStringLiteral("Attention!"));
    QCOMPARE(box.text, question);
    QVERIFY(box.questionIcon);
    QCOMPARE(reopened, dialog);
}

void TestQtDialogs::endConfirmedEndsProgram() {
    for (int which = 0; which < 4; ++which) {
        DialogDriver driver;
        driver.then([](QWidget* w) { return click(w, QStringLiteral("End")); }).then(answerYes);
        bool ended = false;
        try {
            switch (which) {
            case 0: port_.argumentValue("speed"); break;
            case 1: port_.message("Conclusion", {"x"}); break;
            case 2: port_.pickFacts("Choose facts", kItems); break;
            default: port_.pickFact("Choose a fact", kItems); break;
            }
        } catch (const port::EndProgram&) {
            ended = true;
        }
        QVERIFY2(ended, qPrintable(QString::number(which)));
        QVERIFY(driver.done());
    }
}

void TestQtDialogs::messageShowsCaptionAndLines() {
    Seen seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        return click(w, QStringLiteral("&Continue"));
    });
    port_.message("Rule 3 has fired", {"Conclusion:", "the engine is hot"});
    QCOMPARE(seen.title, QStringLiteral("Message"));
    QCOMPARE(seen.caption, QStringLiteral("Rule 3 has fired"));
    QCOMPARE(seen.items, (QStringList{"Conclusion:", "the engine is hot"}));
    QVERIFY(seen.resizable);
}

void TestQtDialogs::ruleForFlatteningReturnsLine() {
    Seen seen;
    const std::vector<std::string> lines{"1   wet", "2   slippery"};
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        w->findChild<QListWidget*>()->setCurrentRow(1);
        return click(w, QStringLiteral("&OK"));
    });
    QCOMPARE(port_.pickRuleForFlattening(lines), std::optional<std::string>("2   slippery"));
    QCOMPARE(seen.title, QStringLiteral("Pick a rule for flattening"));
    QVERIFY(seen.labels.contains(QStringLiteral("Rule number              Rule conclusion")));
    QCOMPARE(seen.buttons, (QStringList{"&OK", "&Cancel", "&Help"}));
    QCOMPARE(seen.items, (QStringList{"          1              wet", "          2              slippery"}));
    driver.then([](QWidget* w) {
        w->findChild<QListWidget*>()->setCurrentRow(0);
        return click(w, QStringLiteral("&Cancel"));
    });
    QCOMPARE(port_.pickRuleForFlattening(lines), std::nullopt);
}

void TestQtDialogs::ruleLinesStandInTheHeadingsColumns_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("shown");
    const QString heading = QStringLiteral("Rule number              Rule conclusion");
    QTest::newRow("short number") << "7  wet" << "          7              wet";
    QTest::newRow("long number") << "123456  wet road" << "     123456              wet road";
    QTest::newRow("number wider than its heading") << "123456789012  x" << "123456789012             x";
    QTest::newRow("number past the conclusion column") << "123456789012345678901234 x"
                                                       << "123456789012345678901234  x";
    QTest::newRow("no conclusion") << "7" << "7";
    // The conclusion starts where its heading does.
    QVERIFY(heading.indexOf(QStringLiteral("Rule conclusion")) == QStringLiteral("          7              ").size());
}

void TestQtDialogs::ruleLinesStandInTheHeadingsColumns() {
    QFETCH(QString, line);
    QFETCH(QString, shown);
    QCOMPARE(ruleColumns(line), shown);
}

void TestQtDialogs::externalDataPickersReturnPosition_data() {
    QTest::addColumn<bool>("sources");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("frame");
    QTest::newRow("sources") << true << "External data sources" << "Choose external data source";
    QTest::newRow("data") << false << "Data from external data source" << "Choose  data to be imported";
}

void TestQtDialogs::externalDataPickersReturnPosition() {
    QFETCH(bool, sources);
    QFETCH(QString, title);
    QFETCH(QString, frame);
    Seen seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        w->findChild<QListWidget*>()->setCurrentRow(1);
        return click(w, QStringLiteral("&OK"));
    });
    const std::vector<std::string> items{"cars", "trucks"};
    const auto result = sources ? port_.pickDataSource(items) : port_.pickExternalData(items);
    QCOMPARE(result, std::optional<std::size_t>(1));
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.frames, QStringList{frame});
    QCOMPARE(seen.buttons, QStringList{"&OK"});
}

void TestQtDialogs::importedFactsShowsBothLists() {
    Seen seen;
    QStringList facts, values;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        facts = listItems(w->findChild<QListWidget*>(QStringLiteral("facts")));
        values = listItems(w->findChild<QListWidget*>(QStringLiteral("values")));
        return click(w, QStringLiteral("&OK"));
    });
    port_.importedFacts({"rain"}, {"speed = 5"});
    QCOMPARE(seen.title, QStringLiteral("Imported facts inspection"));
    QCOMPARE(seen.frames, (QStringList{"Following facts have been imported to the Rule Base:",
                                       "Following argument values have been imported to the Model Base:"}));
    QCOMPARE(facts, QStringList{"rain"});
    QCOMPARE(values, QStringList{"speed = 5"});
}

void TestQtDialogs::mediaPickersReturnFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("labels");
    using K = port::UserPort::MediaKind;
    QTest::newRow("melody") << int(K::Sound) << "Melody inspection"
                            << QStringList{"Melody Base:", "Pick melody file for inspection"};
    QTest::newRow("graphics") << int(K::Graphics) << "Graphics file inspection"
                              << QStringList{"Graphics base", "Pick graphics file for inspection"};
    QTest::newRow("advice") << int(K::Advice) << "Advice file inspection"
                            << QStringList{"Advice base:", "Pick advice file for inspection"};
}

void TestQtDialogs::mediaPickersReturnFile() {
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QStringList, labels);
    Seen seen;
    QString base;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        base = w->findChild<QLineEdit*>(QStringLiteral("base"))->text();
        w->findChild<QComboBox*>()->setCurrentIndex(1);
        return click(w, QStringLiteral("&OK"));
    });
    const auto chosen = port_.pickMediaFile(static_cast<port::UserPort::MediaKind>(kind), "SOcar.AEB",
                                            {"a.wav", "b.wav"});
    QCOMPARE(chosen, std::optional<std::string>("b.wav"));
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.labels, labels);
    QCOMPARE(base, QStringLiteral("SOcar.AEB"));
    QCOMPARE(seen.buttons, QStringList{"&OK"});
    driver.then(closeDialog);
    QCOMPARE(port_.pickMediaFile(static_cast<port::UserPort::MediaKind>(kind), "x", {"a"}), std::nullopt);
}

void TestQtDialogs::readersShowFieldAndText_data() {
    QTest::addColumn<bool>("advice");
    QTest::addColumn<QString>("title");
    QTest::newRow("advice reader") << true << "Advice file inspection";
    QTest::newRow("abstract") << false << "Abstract inspection";
}

void TestQtDialogs::readersShowFieldAndText() {
    QFETCH(bool, advice);
    QFETCH(QString, title);
    Seen seen;
    QString field, text;
    bool readOnly = false;
    int caret = -1;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        field = w->findChild<QLineEdit*>(QStringLiteral("field"))->text();
        auto* t = w->findChild<QPlainTextEdit*>(QStringLiteral("text"));
        text = t->toPlainText();
        readOnly = t->isReadOnly();
        caret = t->textCursor().position();
        return click(w, QStringLiteral("&Continue"));
    });
    if (advice) port_.showAdvice("Expert advice:", "Check the oil.\nThen drive on.");
    else port_.showAbstract("Expert advice:", "Check the oil.\nThen drive on.");
    QCOMPARE(seen.title, title);
    QCOMPARE(field, QStringLiteral("Expert advice:"));
    QCOMPARE(text, QStringLiteral("Check the oil.\nThen drive on."));
    QVERIFY(readOnly);
    QCOMPARE(caret, 0);
    QCOMPARE(seen.buttons, QStringList{"&Continue"});
    QVERIFY(seen.resizable);
}

void TestQtDialogs::aboutShowsNameAndDescription() {
    Seen seen;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        seen = look(w);
        return click(w, QStringLiteral("OK"));
    });
    port_.about();
    QCOMPARE(seen.title, QStringLiteral("About"));
    QVERIFY(seen.labels.contains(QStringLiteral("torv_AE")));
    QVERIFY(seen.labels.contains(QStringLiteral(
        "Rule- and Model Based Expert System Shell for Augmented Exact Forward and Backward  Chaining")));
    QCOMPARE(seen.buttons, QStringList{"OK"});
}

void TestQtDialogs::nameFiltersFromFilterList_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("label carries pattern, mask in other case")
        << "Ru*.AEB" << "Rule Base (RU*.AEB)" << "RU*.AEB" << QStringList{"Rule Base (RU*.AEB)"};
    QTest::newRow("label without pattern") << "*.txt" << "Summary" << "*.txt" << QStringList{"Summary (*.txt)"};
    QTest::newRow("label is the pattern") << "*.*" << "*.*" << "*.*" << QStringList{"*.*"};
    QTest::newRow("mask not among filters") << "*.hlp" << "Advice (*.txt)" << "*.txt"
                                            << QStringList{"*.hlp", "Advice (*.txt)"};
    QTest::newRow("plain name as mask") << "RUnew.AEB" << "Rule Base (RU*.AEB)" << "RU*.AEB"
                                        << QStringList{"Rule Base (RU*.AEB)"};
}

void TestQtDialogs::nameFiltersFromFilterList() {
    QFETCH(QString, mask);
    QFETCH(QString, label);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    port::FileDialog d;
    d.mask = mask.toStdString();
    d.filters = {{label.toStdString(), pattern.toStdString()}};
    QCOMPARE(nameFilters(d), expected);
}

void TestQtDialogs::openFileMatchesMasksIgnoringCase() {
    QTemporaryDir dir;
    for (const char* name : {"RUcar.AEB", "rubike.aeb", "MOcar.AEB", "notes.txt"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    port::FileDialog d;
    d.title = "Load Rule Base";
    d.mask = "ru*.aeb";
    d.filters = {{"Rule Base (RU*.AEB)", "RU*.AEB"}};
    d.directory = dir.path().toStdString();
    QStringList listed;
    QString title;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        auto* view = dlg->findChild<QListView*>(QStringLiteral("listView"));
        if (!view || !view->model() || view->model()->rowCount(view->rootIndex()) < 2) return false;
        title = dlg->windowTitle();
        for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
            listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
        return chooseFile(dlg, dir.filePath(QStringLiteral("RUcar.AEB")));
    });
    QCOMPARE(QString::fromStdString(port_.openFile(d)), dir.filePath(QStringLiteral("RUcar.AEB")));
    QCOMPARE(title, QStringLiteral("Load Rule Base"));
    listed.sort();
    QCOMPARE(listed, (QStringList{"RUcar.AEB", "rubike.aeb"}));
}

void TestQtDialogs::openFileCancelledReturnsEmpty() {
    port::FileDialog d;
    d.title = "Pick Report to be Inspected! ";
    d.mask = "*.rpt";
    d.filters = {{"Report (*.RPT)", "*.RPT"}};
    d.directory = QDir::tempPath().toStdString();
    DialogDriver driver;
    driver.then(closeDialog);
    QCOMPARE(port_.openFile(d), std::string());
    QVERIFY(driver.done());
}

void TestQtDialogs::saveDialogAsksBeforeReplacingUnlessTheCallerDoes() {
    port::FileDialog d;
    d.title = "Saving Report File";
    for (bool confirm : {true, false}) {
        d.confirmOverwrite = confirm;
        QFileDialog dlg;
        prepareFileDialog(dlg, d, true);
        QCOMPARE(dlg.testOption(QFileDialog::DontConfirmOverwrite), !confirm);
    }
}

void TestQtDialogs::saveFileReturnsTypedName() {
    QTemporaryDir dir;
    port::FileDialog d;
    d.title = "Declare name of new Rule Base (RUKnowledge_Base_Name.AEB)";
    d.mask = "RU*.AEB";
    d.filters = {{"Rule Base (RU*.AEB)", "RU*.AEB"}};
    d.directory = dir.path().toStdString();
    bool saving = false;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        saving = dlg->acceptMode() == QFileDialog::AcceptSave;
        return chooseFile(dlg, QStringLiteral("RUnew.AEB"));
    });
    QCOMPARE(QString::fromStdString(port_.saveFile(d)), dir.filePath(QStringLiteral("RUnew.AEB")));
    QVERIFY(saving);
}

void TestQtDialogs::saveFileAddsExtensionBeforeOverwriteQuestion_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("expected");
    QTest::newRow("new name") << "report1" << false << "report1.RPT";
    QTest::newRow("name of an existing report") << "report1" << true << "report1.RPT";
    QTest::newRow("extension typed") << "report2.RPT" << false << "report2.RPT";
    QTest::newRow("another extension kept") << "report3.log" << false << "report3.log";
}

void TestQtDialogs::saveFileAddsExtensionBeforeOverwriteQuestion() {
    QFETCH(QString, typed);
    QFETCH(bool, exists);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    if (exists) {
        QFile f(dir.filePath(expected));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const port::FileDialog d{"Saving Report File", "*.RPT", {{"Report Files (*.RPT)", "*.RPT"}},
                             dir.path().toStdString()};
    QString question;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        // Accepted from the event loop: the overwrite question opens inside accept().
        QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        return true;
    });
    if (exists)
        driver.then([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return false;
            question = box->text();
            return answerYes(w);
        });
    QCOMPARE(QString::fromStdString(port_.saveFile(d)), dir.filePath(expected));
    QVERIFY(driver.done());
    // The question names the file that is about to be replaced.
    if (exists) QVERIFY2(question.contains(expected), qPrintable(question));
}

void TestQtDialogs::closedRadioDialogsGiveTheirCancelOutcome_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<int>("expected");
    QTest::newRow("hypothesis, Escape") << 0 << true << port::kRadioClosed;
    QTest::newRow("hypothesis, close box") << 0 << false << port::kRadioClosed;
    QTest::newRow("declaration, Escape") << 2 << true << port::kRadioClosed;
    QTest::newRow("declaration, close box") << 2 << false << port::kRadioClosed;
    // No cancel is defined for the level of detail: its preselected button.
    QTest::newRow("detail, Escape") << 1 << true << 1;
}

void TestQtDialogs::closedRadioDialogsGiveTheirCancelOutcome() {
    QFETCH(int, which);
    QFETCH(bool, escape);
    QFETCH(int, expected);
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        if (!qobject_cast<RadioDialog*>(w)) return false;
        if (escape) QTest::keyClick(w, Qt::Key_Escape);
        else w->close();
        return true;
    });
    int result = 0;
    switch (which) {
    case 0: result = port_.typeOfHypothesis(); break;
    case 1: result = port_.levelOfDetail(); break;
    default: result = port_.factDeclarationMode(); break;
    }
    QVERIFY(driver.done());
    QCOMPARE(result, expected);
}

void TestQtDialogs::enterAnswersCloseQuestionsWithNo_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("close request") << "Do you really wish to close the program?" << port::kNo;
    QTest::newRow("End of Argument value") << "Do you really wich to close the program?" << port::kNo;
    QTest::newRow("an offer") << "Do you wish to be advised?" << port::kYes;
}

void TestQtDialogs::enterAnswersCloseQuestionsWithNo() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    DialogDriver driver;
    driver.then([](QWidget* w) {
        if (!qobject_cast<QMessageBox*>(w)) return false;
        QTest::keyClick(w, Qt::Key_Return);
        return true;
    });
    QCOMPARE(port_.yesNo("Attention!", text.toStdString()), expected);
    QVERIFY(driver.done());
}

void TestQtDialogs::noteIconTellsFaultsFromConfirmations_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fault");
    QTest::newRow("report saved") << "Attention!" << "Report r1.RPT  has been saved." << false;
    QTest::newRow("report not saved") << "Attention error!" << "Report r1.RPT has not been saved.\nDisk full"
                                      << true;
    QTest::newRow("report deleted") << "Attention!" << "Report r1.RPT has been deleted!" << false;
    QTest::newRow("not deleted") << "Attention error!" << "Report r1.RPT has not been deleted!" << true;
    QTest::newRow("summary saved") << "Summary" << " Summary s.txt has been saved." << false;
    QTest::newRow("no rules") << "Attention error!" << "No rules in the rule base!" << true;
    QTest::newRow("exception") << "Exception handling" << "Syntax error" << true;
    QTest::newRow("loaded") << "Successful  loading of Rule Base" << "Rule base loaded" << false;
}

void TestQtDialogs::noteIconTellsFaultsFromConfirmations() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(bool, fault);
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        icon = box->icon();
        return closeDialog(w);
    });
    port_.note(title.toStdString(), text.toStdString());
    QVERIFY(driver.done());
    QCOMPARE(icon, fault ? QMessageBox::Warning : QMessageBox::Information);
}

void TestQtDialogs::messageBoxesShowTheirWholeTitleAndText_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("long title") << "Successful  loading of Rule Base" << "Loaded!";
    QTest::newRow("long text") << "Rule with single condition"
                               << "Do you wish to see the next rule with single condition?";
}

void TestQtDialogs::messageBoxesShowTheirWholeTitleAndText() {
    QFETCH(QString, title);
    QFETCH(QString, text);
    int boxWidth = 0, labelWidth = 0;
    bool wraps = false;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        boxWidth = box->width();
        labelWidth = label->width();
        wraps = label->wordWrap();
        return answerYes(w);
    });
    port_.yesNo(title.toStdString(), text.toStdString());
    QVERIFY(driver.done());
    QFont bold;
    bold.setBold(true);
    QVERIFY2(boxWidth >= QFontMetrics(bold).horizontalAdvance(title) + 100, qPrintable(QString::number(boxWidth)));
    QVERIFY2(wraps || labelWidth >= QFontMetrics(QFont()).horizontalAdvance(text),
             qPrintable(QString::number(labelWidth)));
}

QTEST_MAIN(TestQtDialogs)
#include "test_qt_dialogs.moc"
