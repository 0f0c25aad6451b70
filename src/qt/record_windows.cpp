// Record inspection windows laid out from a record source.
#include "qt/record_windows.h"

#include <QAbstractListModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "port/texts.h"
#include "qt/text_codec.h"
#include "qt/view_windows.h"

namespace torv::qt {

namespace {

/// The record numbers, made as the view asks for them.
class NumberModel : public QAbstractListModel {
public:
    NumberModel(std::shared_ptr<const port::RecordSource> source, QObject* parent)
        : QAbstractListModel(parent), source_(std::move(source)) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(source_->count());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return QString::number(source_->number(static_cast<std::size_t>(index.row())));
    }

private:
    std::shared_ptr<const port::RecordSource> source_;
};

}  // namespace

RecordWindow::RecordWindow(std::shared_ptr<const port::RecordSource> source, std::function<void()> help,
                           QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    const port::RecordLayout& layout = source_->layout();
    setWindowTitle(toQ(layout.title));
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);

    // Left: the record numbers.
    auto* left = new QVBoxLayout;
    numbers_ = new QListView(this);
    numbers_->setObjectName(QStringLiteral("numbers"));
    numbers_->setUniformItemSizes(true);
    numbers_->setModel(new NumberModel(source_, numbers_));
    numbers_->setMaximumWidth(160);
    if (!layout.numberLabel.empty()) {
        auto* label = new QLabel(toQ(layout.numberLabel), this);
        label->setBuddy(numbers_);
        left->addWidget(label);
    }
    left->addWidget(numbers_, 1);
    columns->addLayout(left, 1);

    // Right: heading, counts, the record's fields and lists.
    auto* right = new QVBoxLayout;
    if (!layout.heading.empty()) {
        auto* h = new QLabel(toQ(layout.heading), this);
        h->setObjectName(QStringLiteral("heading"));
        QFont f = h->font();
        f.setBold(true);
        h->setFont(f);
        h->setAlignment(Qt::AlignCenter);
        right->addWidget(h);
    }
    if (!layout.formula.empty()) {
        auto* formula = new QLabel(toQ(layout.formula), this);
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
    for (const auto& [label, count] : layout.counts) {
        auto* e = readOnly(toQ(label));
        e->setText(QString::number(count));
        form->addRow(toQ(label), e);
    }
    for (const auto& label : layout.fields) {
        auto* e = readOnly(toQ(label));
        fields_ << e;
        form->addRow(toQ(label), e);
    }
    right->addLayout(form);
    if (!layout.groups.empty()) {
        auto* groupRow = new QHBoxLayout;
        for (const auto& group : layout.groups) {
            const QString title = toQ(group);
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
    auto* close = new QPushButton(toQ(layout.closeLabel), this);
    auto* helpButton = new QPushButton(QString::fromUtf8(port::texts::kHelp), this);
    buttons->addWidget(close);
    buttons->addWidget(helpButton);
    outer->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, [this] { closeHost(this); });
    connect(helpButton, &QPushButton::clicked, this, [help] {
        if (help) help();
    });
    connect(numbers_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showRecord(); });
    setFocusProxy(numbers_);
}

QLineEdit* RecordWindow::field(const QString& label) const { return findChild<QLineEdit*>(label); }

QListWidget* RecordWindow::group(const QString& title) const {
    return findChild<QListWidget*>(title.trimmed());
}

void RecordWindow::showRecord() {
    port::RecordEntry r;
    const int row = numbers_->currentIndex().row();
    if (row >= 0 && static_cast<std::size_t>(row) < source_->count()) {
        // A number listed twice shows its first record.
        const std::int32_t n = source_->number(static_cast<std::size_t>(row));
        std::size_t first = 0;
        while (source_->number(first) != n) ++first;
        r = source_->entry(first);
    }
    for (int i = 0; i < fields_.size(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        fields_[i]->setText(k < r.fields.size() ? toQ(r.fields[k]) : QString());
    }
    for (int i = 0; i < groups_.size(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        groups_[i]->clear();
        if (k < r.groups.size()) groups_[i]->addItems(toQ(r.groups[k]));
    }
}

}  // namespace torv::qt
