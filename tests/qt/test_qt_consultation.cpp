// A backward-chaining consultation driven through the desktop application's
// dialogs gives the report that the same answers give through the text port.
#include <deque>
#include <map>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "dialog_driver.h"
#include "port/text_port.h"
#include "qt/desktop_app.h"
#include "qt/dialogs.h"
#include "state/command_ids.h"

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// x needs y and b, y needs a; the user asks WHY? at a, then answers yes.
const char* const kRules = "rule(1,\"y\",[\"a\"],1)\nrule(2,\"x\",[\"y\",\"b\"],1)\n";
const QStringList kConditionAnswers{"&WHY?", "&YES"};   // a, b

/// The same user at a text port: answers by dialog title, No or cancel to
/// everything else (the load's offers).
class TextUser : public port::TextPort {
public:
    QStringList titles;

protected:
    void present(const port::Dialog& d) override {
        if (d.kind != "title") titles << text(d.title);
    }
    std::optional<std::string> answer(const port::Dialog& d) override {
        if (d.title == "Is the condition true?") {
            const QString a = kConditionAnswers.value(static_cast<int>(asked_++));
            return a.mid(1).toStdString();
        }
        static const std::map<std::string, std::string> byTitle{
            {"Level of detail", "2"}, {"Type of hypothesis", "1"}, {"Pick a fact", "1"}, {"Choose:", "yes"}};
        if (auto it = byTitle.find(d.title); it != byTitle.end()) return it->second;
        return std::nullopt;
    }

private:
    std::size_t asked_ = 0;
};

}  // namespace

class TestQtConsultation : public QObject {
    Q_OBJECT

private slots:
    void backwardChainingGivesTheTextPortsReport();
};

void TestQtConsultation::backwardChainingGivesTheTextPortsReport() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("why/BASES")));
    const QString bases = dir.filePath(QStringLiteral("why/BASES"));
    QFile f(bases + QStringLiteral("/RUwhy.AEB"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kRules);
    f.close();

    // Through the text port.
    TextUser user;
    AppState scripted(user, bases.toStdString());
    shell::Shell shell(scripted);
    shell.introClosed();
    shell.loadRuleBaseAtStart(f.fileName().toStdString());
    user.titles.clear();
    QVERIFY(shell.run(shell::cmd::kBackwardChaining));
    const QString expected = text(scripted.report.tekst_raportu());
    QVERIFY(expected.contains(QStringLiteral("is true for  the knowledge base why,")));

    // Through the desktop application.
    DesktopApp app(bases.toStdString());
    {
        // The load's offers, declined; the driver goes before the consultation.
        DialogDriver loading;
        loading.otherwise(answerAnything);
        app.start({f.fileName()});
    }
    app.window().closeIntro();

    QStringList titles;
    QString whyQuestion;
    QStringList whyButtons;
    qsizetype asked = 0;
    DialogDriver consultation(60000);
    consultation.otherwise([&](QWidget* w) {
        const QString title = w->windowTitle();
        if (auto* radio = qobject_cast<RadioDialog*>(w)) {
            if (title == QLatin1String("Level of detail")) radio->radio(2)->click();
            titles << title;
            return click(w, QStringLiteral("&OK"));
        }
        if (qobject_cast<CaptionListDialog*>(w)) {
            titles << title;
            return click(w, QStringLiteral("&Continue"));
        }
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        titles << title;
        if (title == QLatin1String("Is the condition true?"))
            return click(w, kConditionAnswers.value(static_cast<int>(asked++)));
        if (title == QLatin1String("Choose:")) {
            whyQuestion = box->text();
            for (auto* b : box->buttons()) whyButtons << b->text().remove(QLatin1Char('&'));
            return answerYes(w);
        }
        if (title == QLatin1String("Generating labels") || title == QLatin1String("Chaining summary"))
            return click(w, QStringLiteral("&NO"));
        if (title == QLatin1String("Report of chaining/diagnosing")) return click(w, QStringLiteral("&No"));
        return answerAnything(w);
    });
    app.window().commandAction(shell::cmd::kBackwardChaining)->trigger();

    QCOMPARE(text(app.state().report.tekst_raportu()), expected);
    QCOMPARE(titles, user.titles);
    QCOMPARE(asked, kConditionAnswers.size());
    // After WHY? the condition is asked again with Yes and No only.
    QCOMPARE(whyQuestion, QStringLiteral("a?"));
    whyButtons.sort();
    QCOMPARE(whyButtons, (QStringList{"No", "Yes"}));
    QVERIFY(!app.shell().jakiewnioskowanie());
}

QTEST_MAIN(TestQtConsultation)
#include "test_qt_consultation.moc"
