// Record inspection windows built from one data-driven layout.
#include "qt/record_windows.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "kb/store.h"
#include "qt/view_windows.h"
#include "qt/text_codec.h"

namespace torv::qt {

namespace {
using Layout = RecordWindowLayout;
using Record = Layout::Record;

QString num(std::int32_t n) { return QString::number(n); }

QStringList numbers(const auto& table) {
    QStringList out;
    for (const auto& r : table) out << num(r.numer);
    return out;
}

/// The first record of the table with this number, or nullptr.
template <class T>
const T* first(const std::vector<T>& table, int number) {
    for (const auto& r : table)
        if (r.numer == number) return &r;
    return nullptr;
}

QStringList ints(const kb::IntList& l) {
    QStringList out;
    for (auto v : l) out << num(v);
    return out;
}

std::vector<std::pair<QString, int>> modelCounts(const kb::ModelBase& m) {
    return {{QStringLiteral("Number of basic models"), static_cast<int>(m.model_b.size())},
            {QStringLiteral("Number of extended models"), static_cast<int>(m.model_e.size())},
            {QStringLiteral("Number of linear models"), static_cast<int>(m.model_lin.size())},
            {QStringLiteral("Number of polynomial models"), static_cast<int>(m.model_poly.size())}};
}
}  // namespace

RecordWindowLayout recordWindowLayout(port::UserPort::RecordWindow which, const kb::Store& store) {
    using W = port::UserPort::RecordWindow;
    Layout l;
    const auto& m = store.modelBase();
    // The window keeps its own copy: the store may be reloaded while it is open.
    switch (which) {
    case W::Rules: {
        auto rules = store.rules();
        l.title = QStringLiteral("Inspection of rules");
        l.numberLabel = QStringLiteral("Rule number");
        l.counts = {{QStringLiteral("Overall number of rules"), static_cast<int>(rules.size())}};
        l.fields = {QStringLiteral("Rule conclusion")};
        l.groups = {QStringLiteral(" List of conditions ")};
        l.numbers = numbers(rules);
        l.record = [rules](int n) -> Record {
            const auto* r = first(rules, n);
            if (!r) return {};
            return {{toQ(r->wniosek)}, {toQ(r->warunki)}};
        };
        break;
    }
    case W::BasicModels: {
        auto models = m.model_b;
        l.title = QStringLiteral("Inspection of basic models");
        l.heading = QStringLiteral("BASIC MODELS");
        l.counts = modelCounts(m);
        l.fields = {QStringLiteral("Model number"),       QStringLiteral("Go-ahead condition"),
                    QStringLiteral("Result/Conclusion"),  QStringLiteral("Argument 1"),
                    QStringLiteral("Operation/Relation"), QStringLiteral("Argument 2"),
                    QStringLiteral("Display semaphor")};
        l.numbers = numbers(models);
        l.record = [models](int n) -> Record {
            const auto* x = first(models, n);
            if (!x) return {};
            return {{num(x->numer), toQ(x->warunek), toQ(x->wynik), toQ(x->arg1), toQ(x->operacja),
                     toQ(x->arg2), num(x->semafor)},
                    {}};
        };
        break;
    }
    case W::ExtendedModels: {
        auto models = m.model_e;
        l.title = QStringLiteral("Inspection of extended models");
        l.heading = QStringLiteral("EXTENDED MODEL");
        l.counts = modelCounts(m);
        l.fields = {QStringLiteral("Model number"), QStringLiteral("Go-ahead condition"),
                    QStringLiteral("Result/Conclusion"), QStringLiteral("Operation/Relation"),
                    QStringLiteral("Display semaphor")};
        l.groups = {QStringLiteral(" List of arguments ")};
        l.numbers = numbers(models);
        l.record = [models](int n) -> Record {
            const auto* x = first(models, n);
            if (!x) return {};
            return {{num(x->numer), toQ(x->warunek), toQ(x->wynik), toQ(x->operacja), num(x->semafor)},
                    {toQ(x->argumenty)}};
        };
        break;
    }
    case W::LinearModels: {
        auto models = m.model_lin;
        l.title = QStringLiteral("Inspection of linear models");
        l.heading = QStringLiteral("LINEAR MODEL");
        l.formula = QStringLiteral("y=a1*x1+a2*x2+...+an*xn");
        l.counts = modelCounts(m);
        l.fields = {QStringLiteral("Model number"), QStringLiteral("Go-ahead condition"),
                    QStringLiteral("Value of :inear form"), QStringLiteral("Display semaphor")};
        l.groups = {QStringLiteral(" List of coefficients "), QStringLiteral(" List of variables ")};
        l.numbers = numbers(models);
        l.record = [models](int n) -> Record {
            const auto* x = first(models, n);
            if (!x) return {};
            return {{num(x->numer), toQ(x->warunek), toQ(x->wynik), num(x->semafor)},
                    {toQ(x->wspolczynniki), toQ(x->zmienne)}};
        };
        break;
    }
    case W::PolynomialModels: {
        auto models = m.model_poly;
        l.title = QStringLiteral("Inspection of polynomial models");
        l.heading = QStringLiteral("POLYNOMIAL MODEL");
        l.formula = QStringLiteral("y=a0+a1*x+a2*x^2+...+an*x^n");
        l.counts = modelCounts(m);
        l.fields = {QStringLiteral("Model number"), QStringLiteral("Go-ahead condition"),
                    QStringLiteral("Polynomial value"), QStringLiteral("Value of variable"),
                    QStringLiteral("Display semaphor")};
        l.groups = {QStringLiteral(" List of coefficients "), QStringLiteral(" List of powers ")};
        l.numbers = numbers(models);
        l.record = [models](int n) -> Record {
            const auto* x = first(models, n);
            if (!x) return {};
            return {{num(x->numer), toQ(x->warunek), toQ(x->wynik), toQ(x->zmienna), num(x->semafor)},
                    {toQ(x->wspolczynniki), ints(x->potegi)}};
        };
        break;
    }
    case W::Constraints: {
        auto constraints = store.constraints();
        l.title = QStringLiteral("Inspection of constraints");
        l.closeLabel = QStringLiteral("&Closej");
        l.numberLabel = QStringLiteral("Constraint number");
        l.counts = {{QStringLiteral("Number of constraints"), static_cast<int>(constraints.size())}};
        l.groups = {QStringLiteral(" Mutually exclusive conditions ")};
        l.numbers = numbers(constraints);
        l.record = [constraints](int n) -> Record {
            const auto* c = first(constraints, n);
            if (!c) return {};
            return {{}, {toQ(c->warunki)}};
        };
        break;
    }
    }
    return l;
}

RecordWindow::RecordWindow(RecordWindowLayout layout, std::function<void()> help, QWidget* parent)
    : QWidget(parent), layout_(std::move(layout)) {
    setWindowTitle(layout_.title);
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    // Left: the record numbers.
    auto* left = new QVBoxLayout;
    numbers_ = new QListWidget(this);
    numbers_->setObjectName(QStringLiteral("numbers"));
    numbers_->addItems(layout_.numbers);
    numbers_->setMaximumWidth(160);
    if (!layout_.numberLabel.isEmpty()) {
        auto* label = new QLabel(layout_.numberLabel, this);
        label->setBuddy(numbers_);
        left->addWidget(label);
    }
    left->addWidget(numbers_, 1);
    columns->addLayout(left, 1);

    // Right: heading, counts, the record's fields and lists.
    auto* right = new QVBoxLayout;
    if (!layout_.heading.isEmpty()) {
        auto* h = new QLabel(layout_.heading, this);
        h->setObjectName(QStringLiteral("heading"));
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        h->setAlignment(Qt::AlignCenter);
        right->addWidget(h);
    }
    if (!layout_.formula.isEmpty()) {
        auto* formula = new QLabel(layout_.formula, this);
        formula->setObjectName(QStringLiteral("formula"));
        formula->setAlignment(Qt::AlignCenter);
        right->addWidget(formula);
    }
    auto readOnly = [this](const QString& label) {
        auto* e = new QLineEdit(this);
        e->setReadOnly(true);
        e->setObjectName(label);
        return e;
    };
    auto* form = new QFormLayout;
    for (const auto& [label, count] : layout_.counts) {
        auto* e = readOnly(label);
        e->setText(QString::number(count));
        form->addRow(label, e);
    }
    for (const auto& label : layout_.fields) {
        auto* e = readOnly(label);
        fields_ << e;
        form->addRow(label, e);
    }
    right->addLayout(form);
    if (!layout_.groups.isEmpty()) {
        auto* groupRow = new QHBoxLayout;
        for (const auto& title : layout_.groups) {
            auto* box = new QGroupBox(title, this);
            auto* lay = new QVBoxLayout(box);
            auto* list = new QListWidget(box);
            list->setObjectName(title.trimmed());
            lay->addWidget(list);
            groups_ << list;
            groupRow->addWidget(box, 1);
        }
        right->addLayout(groupRow, 1);
    } else {
        right->addStretch(1);
    }
    columns->addLayout(right, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* close = new QPushButton(layout_.closeLabel, this);
    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    buttons->addWidget(close);
    buttons->addWidget(helpButton);
    outer->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, [this] { closeHost(this); });
    connect(helpButton, &QPushButton::clicked, this, [help] {
        if (help) help();
    });
    connect(numbers_, &QListWidget::currentRowChanged, this, [this] { showRecord(); });
    setFocusProxy(numbers_);
}

QLineEdit* RecordWindow::field(const QString& label) const { return findChild<QLineEdit*>(label); }

QListWidget* RecordWindow::group(const QString& title) const {
    return findChild<QListWidget*>(title.trimmed());
}

void RecordWindow::showRecord() {
    const auto* item = numbers_->currentItem();
    Record r;
    if (item && layout_.record) {
        bool ok = false;
        const int n = item->text().toInt(&ok);
        if (ok) r = layout_.record(n);
    }
    for (int i = 0; i < fields_.size(); ++i) fields_[i]->setText(r.fields.value(i));
    for (int i = 0; i < groups_.size(); ++i) {
        groups_[i]->clear();
        if (static_cast<std::size_t>(i) < r.groups.size()) groups_[i]->addItems(r.groups[i]);
    }
}

}  // namespace torv::qt
