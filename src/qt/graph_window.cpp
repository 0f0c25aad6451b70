// The rule dependency graph window: DOT from the core, layout by dot.
#include "qt/graph_window.h"

#include <QComboBox>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSvgItem>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QXmlStreamReader>

#include <set>

#include "kb/store.h"
#include "lint/graph.h"
#include "state/app_state.h"

namespace torv::qt {

namespace {

constexpr const char* kWholeBase = "(whole rule base)";
/// dot works in seconds on bases of thousands of rules; beyond that, stop.
constexpr int kLayoutMilliseconds = 30000;

QString q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

/// Runs dot over the graph; the SVG, or an empty array with why.
QByteArray layOut(const std::string& dot, QString& why) {
    QProcess p;
    p.start(QStringLiteral("dot"), {QStringLiteral("-Tsvg")});
    if (!p.waitForStarted(5000)) {
        why = QStringLiteral("The graph cannot be laid out: the program 'dot' (Graphviz) could not be started.");
        return {};
    }
    p.write(dot.data(), static_cast<qint64>(dot.size()));
    p.closeWriteChannel();
    if (!p.waitForFinished(kLayoutMilliseconds)) {
        p.kill();
        p.waitForFinished(1000);
        why = QStringLiteral("Laying out the graph took too long. Choose a condition and a smaller depth.");
        return {};
    }
    if (p.exitStatus() != QProcess::NormalExit) {
        why = QStringLiteral("The graph cannot be laid out: the program 'dot' stopped abnormally. "
                             "Choose a condition and a smaller depth.");
        return {};
    }
    if (p.exitCode() != 0) {
        why = QStringLiteral("The graph cannot be laid out: ") + QString::fromUtf8(p.readAllStandardError()).left(2000);
        return {};
    }
    return p.readAllStandardOutput();
}

/// The node groups of dot's SVG: element id to node title (the DOT id).
std::vector<std::pair<QString, QString>> nodeGroups(const QByteArray& svg) {
    std::vector<std::pair<QString, QString>> out;
    QXmlStreamReader xml(svg);
    QString group;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("g")) {
            const auto attrs = xml.attributes();
            group = attrs.value(QLatin1String("class")) == QLatin1String("node") ? attrs.value(QLatin1String("id")).toString()
                                                                                   : QString();
        } else if (xml.name() == QLatin1String("title") && !group.isEmpty()) {
            out.emplace_back(group, xml.readElementText());
            group.clear();
        }
    }
    return out;
}

}  // namespace

GraphWindow::GraphWindow(const AppState& app, std::function<void(std::size_t)> openRule, QWidget* parent)
    : QWidget(parent), app_(app), openRule_(std::move(openRule)) {
    setWindowTitle(QString::fromUtf8(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);

    focus_ = new QComboBox(this);
    focus_->setObjectName(QStringLiteral("focus"));
    focus_->setEditable(true);
    focus_->setInsertPolicy(QComboBox::NoInsert);
    focus_->setMinimumContentsLength(24);
    focus_->addItem(QString::fromUtf8(kWholeBase));
    std::set<std::string> names;
    for (const auto& r : app.store.rules()) {
        names.insert(kb::jest_negacja(r.wniosek) ? r.wniosek.substr(1) : r.wniosek.str());
        for (const auto& c : r.warunki) names.insert(kb::jest_negacja(c) ? c.substr(1) : c.str());
    }
    for (const auto& n : names) focus_->addItem(q(n));
    depth_ = new QSpinBox(this);
    depth_->setObjectName(QStringLiteral("depth"));
    depth_->setRange(1, 50);
    depth_->setValue(2);
    auto* show = new QPushButton(QStringLiteral("&Show"), this);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("Find a condition or rule"));
    auto* zoomIn = new QPushButton(QStringLiteral("Zoom &in"), this);
    auto* zoomOut = new QPushButton(QStringLiteral("Zoom &out"), this);
    auto* fitButton = new QPushButton(QStringLiteral("&Fit"), this);

    auto* focusLabel = new QLabel(QStringLiteral("&Neighbourhood of"), this);
    focusLabel->setBuddy(focus_);
    auto* depthLabel = new QLabel(QStringLiteral("&depth"), this);
    depthLabel->setBuddy(depth_);
    auto* searchLabel = new QLabel(QStringLiteral("Fin&d"), this);
    searchLabel->setBuddy(search_);

    auto* bar = new QHBoxLayout;
    bar->addWidget(focusLabel);
    bar->addWidget(focus_, 1);
    bar->addWidget(depthLabel);
    bar->addWidget(depth_);
    bar->addWidget(show);
    bar->addSpacing(12);
    bar->addWidget(searchLabel);
    bar->addWidget(search_, 1);
    bar->addWidget(zoomIn);
    bar->addWidget(zoomOut);
    bar->addWidget(fitButton);

    scene_ = new QGraphicsScene(this);
    view_ = new QGraphicsView(scene_, this);
    view_->setObjectName(QStringLiteral("graph"));
    view_->setDragMode(QGraphicsView::ScrollHandDrag);
    view_->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view_->viewport()->installEventFilter(this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(status_);
    layout->addWidget(view_, 1);

    connect(show, &QPushButton::clicked, this, &GraphWindow::relayout);
    connect(focus_, &QComboBox::activated, this, &GraphWindow::relayout);
    connect(search_, &QLineEdit::returnPressed, this, [this] { findNext(search_->text()); });
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomBy(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomBy(0.8); });
    connect(fitButton, &QPushButton::clicked, this, &GraphWindow::fit);

    relayout();
}

GraphWindow::~GraphWindow() = default;

QString GraphWindow::status() const { return status_->isHidden() ? QString() : status_->text(); }

void GraphWindow::showStatus(const QString& text) {
    status_->setText(text);
    status_->setVisible(!text.isEmpty());
}

double GraphWindow::zoom() const { return view_->transform().m11(); }

void GraphWindow::relayout() {
    scene_->clear();
    found_ = nullptr;
    nodes_.clear();
    laidOutNumbers_.clear();
    lastFound_.clear();
    delete renderer_;
    renderer_ = nullptr;
    const auto& rules = app_.store.rules();
    if (rules.empty()) {
        showStatus(QStringLiteral("No rule base is loaded."));
        return;
    }
    lint::GraphOptions options;
    const QString chosen = focus_->currentText().trimmed();
    if (!chosen.isEmpty() && chosen != QString::fromUtf8(kWholeBase)) {
        options.focus = chosen.toStdString();
        options.depth = depth_->value();
    } else if (rules.size() > kWholeGraphLimit) {
        showStatus(QStringLiteral("The rule base has %1 rules, too many to show at once. "
                                  "Choose a condition to see its neighbourhood.")
                       .arg(rules.size()));
        return;
    }
    QString why;
    const QByteArray svg = layOut(lint::dependencyGraph(app_, options), why);
    if (svg.isEmpty()) {
        showStatus(why);
        return;
    }
    renderer_ = new QSvgRenderer(svg, this);
    if (!renderer_->isValid()) {
        showStatus(QStringLiteral("The layout from dot could not be read."));
        return;
    }
    showStatus({});
    auto* item = new QGraphicsSvgItem;
    item->setSharedRenderer(renderer_);
    scene_->addItem(item);
    scene_->setSceneRect(item->boundingRect());
    // Element bounds are in the SVG's user units; the item spans the view box.
    const QRectF box = renderer_->viewBoxF();
    const QSizeF size = item->boundingRect().size();
    const double sx = box.width() > 0 ? size.width() / box.width() : 1;
    const double sy = box.height() > 0 ? size.height() / box.height() : 1;
    for (const auto& [element, title] : nodeGroups(svg)) {
        const QRectF r = renderer_->transformForElement(element).mapRect(renderer_->boundsOnElement(element));
        nodes_[title] = QRectF((r.x() - box.x()) * sx, (r.y() - box.y()) * sy, r.width() * sx, r.height() * sy);
    }
    for (const auto& r : rules) laidOutNumbers_.push_back(r.numer);
    fit();
}

QString GraphWindow::nodeAt(const QPointF& p) const {
    for (const auto& [id, rect] : nodes_)
        if (rect.contains(p)) return id;
    return {};
}

void GraphWindow::nodeClicked(const QString& id, bool twice) {
    if (auto index = lint::ruleIndexOfNode(id.toStdString())) {
        const auto& rules = app_.store.rules();
        // The base may have been reloaded since the layout.
        if (*index < rules.size() && *index < laidOutNumbers_.size() && rules.size() == laidOutNumbers_.size() &&
            rules[*index].numer == laidOutNumbers_[*index] && openRule_)
            openRule_(*index);
        return;
    }
    if (twice && id.startsWith(QStringLiteral("c:"))) {
        focus_->setCurrentText(id.mid(2));
        relayout();
    }
}

bool GraphWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::MouseButtonDblClick) {
            auto* m = static_cast<QMouseEvent*>(event);
            if (m->button() == Qt::LeftButton) {
                const QString id = nodeAt(view_->mapToScene(m->position().toPoint()));
                if (!id.isEmpty()) nodeClicked(id, event->type() == QEvent::MouseButtonDblClick);
            }
        } else if (event->type() == QEvent::Wheel) {
            auto* w = static_cast<QWheelEvent*>(event);
            if (w->modifiers() & Qt::ControlModifier) {
                zoomBy(w->angleDelta().y() > 0 ? 1.25 : 0.8);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool GraphWindow::findNext(const QString& text) {
    if (text.isEmpty() || nodes_.empty()) return false;
    auto label = [](const QString& id) {
        if (id.startsWith(QStringLiteral("c:"))) return id.mid(2);
        return id;
    };
    // Rules are found by "rule 12" or by the number alone.
    auto matches = [&](const QString& id) {
        if (auto i = lint::ruleIndexOfNode(id.toStdString()); i && *i < laidOutNumbers_.size()) {
            const QString n = QString::number(laidOutNumbers_[*i]);
            return text == n || QStringLiteral("rule ") + n == text.toLower();
        }
        return label(id).contains(text, Qt::CaseInsensitive);
    };
    auto start = text == lastSearch_ && !lastFound_.isEmpty() ? nodes_.upper_bound(lastFound_) : nodes_.begin();
    auto hit = std::find_if(start, nodes_.end(), [&](const auto& n) { return matches(n.first); });
    if (hit == nodes_.end()) hit = std::find_if(nodes_.begin(), start, [&](const auto& n) { return matches(n.first); });
    lastSearch_ = text;
    if (hit == nodes_.end() || !matches(hit->first)) {
        lastFound_.clear();
        return false;
    }
    lastFound_ = hit->first;
    if (!found_) {
        found_ = scene_->addRect(QRectF(), QPen(QColor(220, 0, 0), 3));
        found_->setZValue(1);
    }
    found_->setRect(hit->second.adjusted(-4, -4, 4, 4));
    view_->centerOn(hit->second.center());
    return true;
}

void GraphWindow::zoomBy(double factor) {
    const double next = zoom() * factor;
    if (next < 0.02 || next > 20) return;
    autoFit_ = false;
    view_->scale(factor, factor);
}

void GraphWindow::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (autoFit_) fit();
}

void GraphWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (autoFit_) fit();
}

void GraphWindow::fit() {
    autoFit_ = true;
    if (scene_->items().isEmpty()) return;
    view_->resetTransform();
    const QRectF r = scene_->sceneRect();
    const QSize v = view_->viewport()->size();
    // Small graphs keep their natural size; large ones shrink to fit.
    if (r.width() > v.width() || r.height() > v.height()) view_->fitInView(r, Qt::KeepAspectRatio);
}

}  // namespace torv::qt
