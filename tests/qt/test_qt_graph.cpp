// The rule dependency graph window on the garden sample: opened from the
// Window menu, a click on a rule opens it, search, zoom, the neighbourhood
// of a condition, and a base too large to show whole. The witnesses, from
// the Window menu and from a diagnostic report's note.
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSpinBox>
#include <QTest>

#include "dialog_driver.h"
#include "kb/base_file.h"
#include "qt/desktop_app.h"
#include "qt/graph_window.h"
#include "qt/main_window.h"
#include "qt/record_windows.h"
#include "qt/view_windows.h"
#include "state/command_ids.h"
#include <QPlainTextEdit>

using namespace torv;
using namespace torv::qt;
using namespace torv::qt::testing;

namespace {

const QString kGarden = QStringLiteral(TORVAE_SOURCE_DIR "/examples/garden/BASES");

template <class T>
T* newest(QMdiArea* area) {
    const auto subs = area->subWindowList(QMdiArea::CreationOrder);
    return subs.isEmpty() ? nullptr : qobject_cast<T*>(subs.back()->widget());
}

QAction* windowAction(MainWindow& w, const QString& text) {
    emit w.windowMenu()->aboutToShow();
    for (auto* a : w.windowMenu()->actions())
        if (a->text() == text) return a;
    return nullptr;
}

QAction* graphAction(MainWindow& w) { return windowAction(w, QStringLiteral("Rule dependency &graph")); }

}  // namespace

class TestQtGraph : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void greyedWithoutRules();
    void opensOnTheGardenAndClickOpensTheRule();
    void searchAndZoom();
    void neighbourhoodOfACondition();
    void largeBaseAsksForACondition();
    void showWitnessGivesTheRedundancysConsultation();
    void diagnosticReportOffersItsWitnesses();

private:
    GraphWindow* openGraph();
    std::unique_ptr<DesktopApp> app_;
};

void TestQtGraph::init() {
    app_ = std::make_unique<DesktopApp>(kGarden.toStdString());
}

void TestQtGraph::cleanup() { app_.reset(); }

GraphWindow* TestQtGraph::openGraph() {
    DialogDriver loading;
    loading.otherwise(answerAnything);
    app_->start({kGarden + "/RUgarden.AEB"});
    QAction* a = graphAction(app_->window());
    if (!a || !a->isEnabled()) return nullptr;
    a->trigger();
    return newest<GraphWindow>(app_->window().findChild<QMdiArea*>());
}

void TestQtGraph::greyedWithoutRules() {
    DialogDriver loading;
    loading.otherwise(answerAnything);
    app_->start({});
    QAction* a = graphAction(app_->window());
    QVERIFY(a);
    QVERIFY(!a->isEnabled());
}

void TestQtGraph::opensOnTheGardenAndClickOpensTheRule() {
    GraphWindow* g = openGraph();
    QVERIFY(g);
    QCOMPARE(g->windowTitle(), QStringLiteral("Rule dependency graph"));
    QCOMPARE(g->status(), QString());
    QCOMPARE(g->nodes().count(QStringLiteral("c:overwatered")), std::size_t(1));
    QCOMPARE(g->nodes().count(QStringLiteral("r37")), std::size_t(1));   // rule 38, the last

    // Rule 6 (position 5 of the table) concludes root_rot.
    const QRectF rule6 = g->nodes().at(QStringLiteral("r5"));
    g->view()->centerOn(rule6.center());
    const QPoint at = g->view()->mapFromScene(rule6.center());
    QTest::mouseClick(g->view()->viewport(), Qt::LeftButton, {}, at);
    auto* rules = newest<RecordWindow>(app_->window().findChild<QMdiArea*>());
    QVERIFY(rules);
    QCOMPARE(rules->numbers()->currentIndex().row(), 5);
    QCOMPARE(rules->field(QStringLiteral("Rule conclusion"))->text(), QStringLiteral("root_rot"));
}

void TestQtGraph::searchAndZoom() {
    GraphWindow* g = openGraph();
    QVERIFY(g);
    QVERIFY(g->findNext(QStringLiteral("ROOT_ROT")));
    QVERIFY(g->findNext(QStringLiteral("rule 36")));
    QVERIFY(!g->findNext(QStringLiteral("no such thing")));
    const double before = g->zoom();
    g->zoomBy(1.25);
    QVERIFY(g->zoom() > before);
    g->fit();
    QCOMPARE(g->zoom(), before);
}

void TestQtGraph::neighbourhoodOfACondition() {
    GraphWindow* g = openGraph();
    QVERIFY(g);
    g->focusChoice()->setCurrentText(QStringLiteral("overwatered"));
    g->depth()->setValue(1);
    g->relayout();
    QStringList rules;
    for (const auto& [id, rect] : g->nodes())
        if (id.startsWith('r')) rules << id;
    rules.sort();
    QCOMPARE(rules, (QStringList{"r0", "r1", "r20", "r23", "r5"}));
}

void TestQtGraph::largeBaseAsksForACondition() {
    AppState state(app_->port());
    kb::RuleBase big;
    for (int i = 0; i <= static_cast<int>(GraphWindow::kWholeGraphLimit); ++i)
        big.rules.push_back({i + 1, "c" + std::to_string(i + 1), {"c" + std::to_string(i), "d" + std::to_string(i)}, 1});
    kb::storeBase(state.store, std::move(big));
    GraphWindow g(state, {});
    QVERIFY(g.status().contains(QStringLiteral("too many to show at once")));
    QVERIFY(g.nodes().empty());
    g.focusChoice()->setCurrentText(QStringLiteral("c200"));
    g.depth()->setValue(2);
    g.relayout();
    QCOMPARE(g.status(), QString());
    // Rules 199 to 202 with their conclusions c199..c202, premises c198..c201 and d198..d201.
    QCOMPARE(g.nodes().size(), std::size_t(4 + 5 + 4));
}

void TestQtGraph::showWitnessGivesTheRedundancysConsultation() {
    DialogDriver loading;
    loading.otherwise(answerAnything);   // the load-time tests declined
    app_->start({QStringLiteral(TORVAE_SOURCE_DIR "/tests/lint/bases/redundancy/RUred.AEB")});
    QAction* a = windowAction(app_->window(), QStringLiteral("Show &witness"));
    QVERIFY(a && a->isEnabled());
    a->trigger();
    auto* w = newest<TextViewWindow>(app_->window().findChild<QMdiArea*>());
    QVERIFY(w);
    const QString text = w->view()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Rules 1 and 2 conclude a.")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Terminal input showing it (torv_ae_cli RUred.AEB < FILE):")));
}

void TestQtGraph::diagnosticReportOffersItsWitnesses() {
    {
        DialogDriver loading;
        loading.otherwise([](QWidget* w) {   // the load-time tests run: the report needs them
            for (auto* b : w->findChildren<QAbstractButton*>())
                if (b->text().remove(QLatin1Char('&')).compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0) {
                    b->click();
                    return true;
                }
            return answerAnything(w);
        });
        app_->start({QStringLiteral(TORVAE_SOURCE_DIR "/tests/lint/bases/redundancy/RUred.AEB")});
    }
    // The finding's note: "Show witness" by keyboard once, then OK; the
    // note comes back after the witnesses open.
    int offered = 0;
    bool pressed = false, byKeyboard = false;
    DialogDriver report(60000);
    report.otherwise([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QAbstractButton* witness = findButton(w, QStringLiteral("Show &witness"));
        if (!box || !witness) return answerAnything(w);
        ++offered;
        if (pressed) {
            box->button(QMessageBox::Ok)->click();
            return true;
        }
        pressed = true;
        byKeyboard = (witness->focusPolicy() & Qt::TabFocus) && witness->shortcut() == QKeySequence(Qt::ALT | Qt::Key_W);
        QTest::keyClick(witness, Qt::Key_Space);
        return false;   // the same note again
    });
    QAction* diagnose = app_->window().commandAction(shell::cmd::kDiagnosingRedundancies);
    QVERIFY(diagnose && diagnose->isEnabled());
    diagnose->trigger();
    QVERIFY2(offered == 2, qPrintable(report.seenTitles().join(" | ")));
    QVERIFY(byKeyboard);
    auto* w = qobject_cast<TextViewWindow*>(app_->port().witnessWindow());
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Witnesses of the findings"));
    const QString text = w->view()->toPlainText();
    QVERIFY2(text.startsWith(QStringLiteral("AE103\nRules 1 and 2 conclude a.")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Terminal input showing it (torv_ae_cli RUred.AEB < FILE):")));
}

QTEST_MAIN(TestQtGraph)
#include "test_qt_graph.moc"
