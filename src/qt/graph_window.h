// "Rule dependency graph": the loaded rule base laid out by Graphviz's dot
// program and shown as SVG, with zoom, search and the neighbourhood of one
// condition for large bases. Clicking a rule opens it.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QRectF>
#include <QWidget>

class QComboBox;
class QGraphicsRectItem;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QLineEdit;
class QSpinBox;
class QSvgRenderer;

namespace torv { struct AppState; }

namespace torv::qt {

class GraphWindow : public QWidget {
    Q_OBJECT
public:
    /// Above this many rules the whole base is not laid out at once.
    static constexpr std::size_t kWholeGraphLimit = 400;
    /// The window title.
    static constexpr const char* kTitle = "Rule dependency graph";

    /// `openRule` is given the position of a clicked rule in the rule table.
    GraphWindow(const AppState& app, std::function<void(std::size_t)> openRule, QWidget* parent = nullptr);
    ~GraphWindow() override;

    QGraphicsView* view() const { return view_; }
    QLineEdit* search() const { return search_; }
    QComboBox* focusChoice() const { return focus_; }
    QSpinBox* depth() const { return depth_; }
    /// What the window says instead of a graph (no rules, dot missing...).
    QString status() const;
    /// The nodes laid out: DOT id to its rectangle in scene coordinates.
    const std::map<QString, QRectF>& nodes() const { return nodes_; }
    double zoom() const;

    /// Lays out again: the whole base, or the neighbourhood chosen.
    void relayout();
    /// Centres on the next node whose name contains the text; false if none.
    bool findNext(const QString& text);
    void zoomBy(double factor);
    void fit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// Until the user zooms, the graph follows the window's size.
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    /// The node under a scene point, or an empty id.
    QString nodeAt(const QPointF& scenePoint) const;
    void nodeClicked(const QString& id, bool twice);
    void showStatus(const QString& text);

    const AppState& app_;
    std::function<void(std::size_t)> openRule_;
    QGraphicsView* view_;
    QGraphicsScene* scene_;
    QLineEdit* search_;
    QComboBox* focus_;
    QSpinBox* depth_;
    QLabel* status_;
    QSvgRenderer* renderer_ = nullptr;
    QGraphicsRectItem* found_ = nullptr;
    std::map<QString, QRectF> nodes_;
    /// Rule numbers as laid out: a click on a base reloaded since does nothing.
    std::vector<std::int32_t> laidOutNumbers_;
    QString lastSearch_;
    QString lastFound_;
    bool autoFit_ = true;
};

}  // namespace torv::qt
