// The editor window reached from the menu: typing, Save, Save as, the close
// question with Yes and No, what is on disk afterwards, a save that fails,
// the highlighting of base files and the check that marks a fault.
#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include <cerrno>

#include "dialog_driver.h"
#include "kb/file_io.h"
#include "qt/desktop_app.h"
#include "qt/editor_window.h"

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

DialogDriver::Action pickFile(const QString& file) {
    return [file](QWidget* w) { return qobject_cast<QFileDialog*>(w) && chooseFile(w, file); };
}

EditorWindow* newestEditor(MainWindow& w) {
    const auto subs = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (auto* e = qobject_cast<EditorWindow*>((*it)->widget())) return e;
    return nullptr;
}

int editorCount(MainWindow& w) {
    int n = 0;
    for (auto* sub : w.mdiArea()->subWindowList())
        if (qobject_cast<EditorWindow*>(sub->widget())) ++n;
    return n;
}

QMdiSubWindow* hostOf(EditorWindow* e) { return qobject_cast<QMdiSubWindow*>(e->parentWidget()); }

}  // namespace

class TestQtEditor : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openedFromTheMenuTypedAndSaved();
    void saveAsWritesTheChosenFile();
    void closeQuestionYesSavesNoKeeps();
    void failedSaveKeepsFileAndWindow();
    void codePageFileKeepsItsBytes();
    void severalEditorsAtOnce();
    void baseFilesAreHighlighted();
    void checkMarksTheFaultyLine();
    void abstractsAreNeitherHighlightedNorChecked();
    void subdirectoryDialogOpensInTheMediaFolder();

private:
    /// Opens the editor through `command`, picking `file` and answering the wrap question.
    EditorWindow* open(int command, const QString& file, bool wrap = false);

    QTemporaryDir dir_;
    QString bases_;
    std::unique_ptr<DesktopApp> app_;
};

void TestQtEditor::init() {
    QVERIFY(dir_.isValid());
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("BASES")));
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("ABSTRACTS")));
    bases_ = dir_.filePath(QStringLiteral("BASES"));
    write(bases_ + "/RUcar.AEB", "rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n");
    write(bases_ + "/COcar.AEB", "constraint(1,[\"rain\",\"sun\"])\n");
    app_ = std::make_unique<DesktopApp>(bases_.toStdString());
    app_->start({});
    app_->window().closeIntro();
}

void TestQtEditor::cleanup() {
    app_.reset();
    QDir(bases_).removeRecursively();
}

EditorWindow* TestQtEditor::open(int command, const QString& file, bool wrap) {
    const int before = editorCount(app_->window());
    DialogDriver driver;
    driver.then(pickFile(file)).then(wrap ? answerYes : answerNo);
    app_->window().commandAction(command)->trigger();
    if (!driver.done() || editorCount(app_->window()) != before + 1) return nullptr;
    return newestEditor(app_->window());
}

void TestQtEditor::openedFromTheMenuTypedAndSaved() {
    const QString file = bases_ + "/RUcar.AEB";
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, file, true);
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Editing the file: RUcar.AEB"));
    QCOMPARE(w->editor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(w->editor()->textCursor().position(), 0);
    QStringList menu;
    for (auto* a : w->menuBar()->actions().front()->menu()->actions())
        if (!a->isSeparator()) menu << a->text();
    QCOMPARE(menu, (QStringList{"Cofnij", "Pon\u00f3w", "Wytnij", "Kopiuj", "Wklej", "Usu\u0144", "Check", "Save as",
                                "Save"}));
    QVERIFY(app_->window().messagesPane()->toPlainText().contains(
        QStringLiteral("If you wish to edit yet another base or abstract file, click this window!")));

    w->editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->editor(), "fact(\"rain\")");
    QTest::keyClick(w->editor(), Qt::Key_Return);
    SeenBox saved;
    DialogDriver driver;
    driver.then(recordAndClick(saved));
    w->save();
    QVERIFY(driver.done());
    QCOMPARE(saved.title, QStringLiteral("Attention!"));
    QCOMPARE(saved.text, QStringLiteral("File RUcar.AEB has been saved"));
    QCOMPARE(contents(file), QByteArray("rule(1,\"wet\",[\"rain\",\"nroof\"],1)\nfact(\"rain\")\n"));
    QTRY_COMPARE(editorCount(app_->window()), 0);
}

void TestQtEditor::saveAsWritesTheChosenFile() {
    const QString file = bases_ + "/RUcar.AEB";
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, file);
    QVERIFY(w);
    QCOMPARE(w->editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    w->editor()->setPlainText(QStringLiteral("fact(\"copy\")\n"));
    QString dialogTitle;
    SeenBox saved;
    DialogDriver driver;
    driver
        .then([&](QWidget* d) {
            dialogTitle = d->windowTitle();
            return chooseFile(d, bases_ + "/RUcopy.AEB");
        })
        .then(recordAndClick(saved));
    w->saveAs();
    QVERIFY(driver.done());
    QCOMPARE(dialogTitle, QStringLiteral("Editing the file: RUcar.AEB"));
    QCOMPARE(saved.text, QStringLiteral("New base: RUcopy.AEB has been saved."));
    QCOMPARE(contents(bases_ + "/RUcopy.AEB"), QByteArray("fact(\"copy\")\n"));
    QCOMPARE(contents(file), QByteArray("rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"));
    QTRY_COMPARE(editorCount(app_->window()), 0);
}

void TestQtEditor::closeQuestionYesSavesNoKeeps() {
    const QString file = bases_ + "/COcar.AEB";
    EditorWindow* w = open(shell::cmd::kConstraintBaseEditing, file);
    QVERIFY(w);
    w->editor()->setPlainText(QStringLiteral("changed\n"));
    SeenBox question;
    DialogDriver no;
    no.then(recordAndClick(question, QStringLiteral("&No")));
    hostOf(w)->close();
    QVERIFY(no.done());
    QCOMPARE(question.title, QStringLiteral("Saving"));
    QCOMPARE(question.text, QStringLiteral("Do you wish to save the base ?"));
    QCOMPARE(contents(file), QByteArray("constraint(1,[\"rain\",\"sun\"])\n"));
    QTRY_COMPARE(editorCount(app_->window()), 0);
    QVERIFY(!app_->window().commandAction(shell::cmd::kInspectingAllConstraints)->isEnabled());

    w = open(shell::cmd::kConstraintBaseEditing, file);
    QVERIFY(w);
    w->editor()->setPlainText(QStringLiteral("constraint(2,[\"a\",\"b\"])\n"));
    SeenBox saved;
    DialogDriver yes;
    yes.then(answerYes).then(recordAndClick(saved));
    hostOf(w)->close();
    QVERIFY(yes.done());
    QCOMPARE(saved.text, QStringLiteral("File: COcar.AEB has been saved."));
    QCOMPARE(contents(file), QByteArray("constraint(2,[\"a\",\"b\"])\n"));
    QTRY_COMPARE(editorCount(app_->window()), 0);
}

void TestQtEditor::failedSaveKeepsFileAndWindow() {
    const QString file = bases_ + "/RUcar.AEB";
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, file);
    QVERIFY(w);
    w->editor()->setPlainText(QStringLiteral("fact(\"new\")\n"));
    kb::InjectedSaveFault full(kb::InjectedSaveFault::Step::Write, ENOSPC);
    SeenBox error;
    DialogDriver save;
    save.then(recordAndClick(error));
    w->save();
    QVERIFY(save.done());
    QCOMPARE(error.title, QStringLiteral("Attention error!"));
    QVERIFY2(error.text.startsWith(QStringLiteral("File RUcar.AEB has not been saved.\n")), qPrintable(error.text));
    QVERIFY(error.text.contains(QStringLiteral("No space left on device")));
    QCOMPARE(contents(file), QByteArray("rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"));
    QVERIFY(!app_->window().messagesPane()->toPlainText().contains(QStringLiteral("has been saved")));
    QCOMPARE(editorCount(app_->window()), 1);

    // Yes to the close question fails too: the text stays in its window.
    DialogDriver closeYes;
    closeYes.then(answerYes).then(recordAndClick(error));
    hostOf(w)->close();
    QVERIFY(closeYes.done());
    QCOMPARE(error.title, QStringLiteral("Attention error!"));
    QTest::qWait(50);
    QCOMPARE(editorCount(app_->window()), 1);
    QCOMPARE(w->editor()->toPlainText(), QStringLiteral("fact(\"new\")\n"));

    DialogDriver closeNo;
    closeNo.then(answerNo);
    hostOf(w)->close();
    QVERIFY(closeNo.done());
    QTRY_COMPARE(editorCount(app_->window()), 0);
    QCOMPARE(contents(file), QByteArray("rule(1,\"wet\",[\"rain\",\"nroof\"],1)\n"));
}

void TestQtEditor::codePageFileKeepsItsBytes() {
    // "żółw" and a no-break space in code page 1250, old line ends.
    const QByteArray old("fact(\"\xbf\xf3\xb3w\xa0x\")\r\nfact(\"y\")\r\n");
    const QString file = bases_ + "/RUturtle.AEB";
    write(file, old);
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, file);
    QVERIFY(w);
    QCOMPARE(w->editor()->document()->firstBlock().text(), QString::fromUtf8("fact(\"\u017c\u00f3\u0142w\u00a0x\")"));
    DialogDriver driver;
    driver.then(answerAnything);
    w->save();
    QVERIFY(driver.done());
    QCOMPARE(contents(file), old);
}

void TestQtEditor::severalEditorsAtOnce() {
    EditorWindow* rules = open(shell::cmd::kRuleBaseEditing, bases_ + "/RUcar.AEB");
    EditorWindow* constraints = open(shell::cmd::kConstraintBaseEditing, bases_ + "/COcar.AEB");
    QVERIFY(rules && constraints && rules != constraints);
    QCOMPARE(editorCount(app_->window()), 2);
    rules->editor()->setPlainText(QStringLiteral("fact(\"r\")\n"));
    constraints->editor()->setPlainText(QStringLiteral("constraint(5,[\"x\",\"y\"])\n"));
    DialogDriver driver;
    driver.otherwise(answerAnything);
    constraints->save();
    rules->save();
    QCOMPARE(contents(bases_ + "/RUcar.AEB"), QByteArray("fact(\"r\")\n"));
    QCOMPARE(contents(bases_ + "/COcar.AEB"), QByteArray("constraint(5,[\"x\",\"y\"])\n"));
}

void TestQtEditor::baseFilesAreHighlighted() {
    const QString file = bases_ + "/RUcar.AEB";
    write(file, "rule(12,\"wet\",[\"rain\"],1)\nrem_note(\"old\")\n");
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, file);
    QVERIFY(w);
    QVERIFY(w->highlighter());
    using Part = BaseFileHighlighter::Part;
    auto colourAt = [&](int block, int position) {
        for (const auto& r : w->editor()->document()->findBlockByNumber(block).layout()->formats())
            if (position >= r.start && position < r.start + r.length) return r.format.foreground().color();
        return QColor();
    };
    QCOMPARE(colourAt(0, 0), w->highlighter()->format(Part::RecordName).foreground().color());
    QCOMPARE(colourAt(0, 5), w->highlighter()->format(Part::Number).foreground().color());
    QCOMPARE(colourAt(0, 9), w->highlighter()->format(Part::String).foreground().color());
    QCOMPARE(colourAt(0, 14), w->highlighter()->format(Part::Bracket).foreground().color());
    QCOMPARE(colourAt(1, 10), w->highlighter()->format(Part::Remark).foreground().color());
}

void TestQtEditor::checkMarksTheFaultyLine() {
    EditorWindow* w = open(shell::cmd::kRuleBaseEditing, bases_ + "/RUcar.AEB");
    QVERIFY(w);
    w->editor()->setPlainText(QString::fromUtf8("fact(\"\u017c\")\nfact(\"b\" x)\nfact(\"c\")\n"));
    QVERIFY(!w->check());
    QCOMPARE(w->editor()->textCursor().blockNumber(), 1);
    QCOMPARE(w->editor()->textCursor().positionInBlock(), 9);
    QCOMPARE(w->editor()->extraSelections().size(), 1);
    QCOMPARE(w->editor()->extraSelections().front().cursor.blockNumber(), 1);
    QVERIFY2(w->checkLine()->text().startsWith(QStringLiteral("Line 2, position 10: ")),
             qPrintable(w->checkLine()->text()));
    // A letter of two bytes before the fault: the caret still lands on it.
    w->editor()->setPlainText(QString::fromUtf8("fact(\"\u017c\" x)\n"));
    QVERIFY(!w->check());
    QCOMPARE(w->editor()->textCursor().positionInBlock(), 9);

    w->editor()->setPlainText(QStringLiteral("fact(\"a\")\n"));
    QVERIFY(w->check());
    QVERIFY(w->editor()->extraSelections().isEmpty());
    QCOMPARE(w->checkLine()->text(), QStringLiteral("Check: the term reader finds no fault in this text."));
}

void TestQtEditor::abstractsAreNeitherHighlightedNorChecked() {
    write(dir_.filePath(QStringLiteral("ABSTRACTS/car.abs")), "Cars (and \"rain\") 12");
    EditorWindow* w = open(shell::cmd::kAbstractEditing, dir_.filePath(QStringLiteral("ABSTRACTS/car.abs")));
    QVERIFY(w);
    QVERIFY(!w->highlighter());
    QAction* check = nullptr;
    for (auto* a : w->menuBar()->actions().front()->menu()->actions())
        if (a->text() == QStringLiteral("Check")) check = a;
    QVERIFY(check && !check->isEnabled());
    QVERIFY(w->check());
}

void TestQtEditor::subdirectoryDialogOpensInTheMediaFolder() {
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("GRAPHICS")));
    QString title, folder;
    DialogDriver driver;
    driver.then([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        title = dlg->windowTitle();
        folder = dlg->directory().absolutePath();
        return closeDialog(w);
    });
    app_->window().commandAction(shell::cmd::kGraphicsSubdirectoriesCreating)->trigger();
    QVERIFY(driver.done());
    QCOMPARE(title, QStringLiteral("Creating or deleting Graphic File sudirectories  : "));
    QCOMPARE(folder, QDir(dir_.filePath(QStringLiteral("GRAPHICS"))).absolutePath());
    // Without a sounds folder the dialog opens in the nearest folder there is.
    DialogDriver sounds;
    sounds.then([&](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        if (!dlg) return false;
        folder = dlg->directory().absolutePath();
        return closeDialog(w);
    });
    app_->window().commandAction(shell::cmd::kSoundSubdirectoryCreating)->trigger();
    QVERIFY(sounds.done());
    QCOMPARE(folder, QDir(dir_.path()).absolutePath());
}

QTEST_MAIN(TestQtEditor)
#include "test_qt_editor.moc"
