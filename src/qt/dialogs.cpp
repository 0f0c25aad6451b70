// Resource dialogs: layouts stretch with the dialog, buttons keep the order
// and labels of the system, the first button is the default one.
#include "port/texts.h"
#include "port/user_port.h"
#include "qt/dialogs.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace torv::qt {

namespace {
QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QLineEdit* readOnlyField(const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setReadOnly(true);
    e->setCursorPosition(0);
    return e;
}

QListWidget* listOf(const QStringList& items, QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->addItems(items);
    l->setUniformItemSizes(true);
    return l;
}
}  // namespace

// ---- ImageView ----

ImageView::ImageView(QImage image, QWidget* parent) : QWidget(parent), image_(std::move(image)) {
    setMinimumSize(160, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::setImage(QImage image) {
    image_ = std::move(image);
    update();
}

void ImageView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (image_.isNull()) p.fillRect(rect(), palette().window());
    else p.drawImage(rect(), image_);
}

void ImageView::mouseDoubleClickEvent(QMouseEvent*) { emit doubleClicked(); }

// ---- PortDialog ----

PortDialog::PortDialog(const QString& title, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    auto* outer = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    outer->addLayout(body_, 1);
    buttonRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(buttonRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    outer->addWidget(buttonRow_);
}

QPushButton* PortDialog::addButton(const QString& label, int result) {
    auto* b = new QPushButton(label, buttonRow_);
    static_cast<QHBoxLayout*>(buttonRow_->layout())->addWidget(b);
    if (buttons_.isEmpty()) b->setDefault(true);
    buttons_ << b;
    if (result != kKeepOpen) connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
    return b;
}

QPushButton* PortDialog::button(const QString& label) const {
    for (auto* b : buttons_)
        if (b->text() == label) return b;
    return nullptr;
}

void PortDialog::setResizable(bool resizable) {
    layout()->setSizeConstraint(resizable ? QLayout::SetDefaultConstraint : QLayout::SetFixedSize);
    setSizeGripEnabled(resizable);
}

// ---- RulePickDialog ----

namespace {
constexpr int kNumberWidth = 11;        // "Rule number"
constexpr int kConclusionColumn = 25;   // where "Rule conclusion" starts in the heading
}  // namespace

QString ruleColumns(const QString& line) {
    // "12  wet" under the heading: the number right-aligned below "Rule
    // number", the conclusion below "Rule conclusion" (the font is fixed).
    const QString trimmed = line.trimmed();
    const qsizetype gap = trimmed.indexOf(QLatin1Char(' '));
    if (gap < 0) return line;
    const QString number = trimmed.left(gap);
    const QString conclusion = trimmed.mid(gap).trimmed();
    QString out = number.rightJustified(kNumberWidth, QLatin1Char(' '));
    out += QString(std::max<qsizetype>(2, kConclusionColumn - out.size()), QLatin1Char(' '));
    return out + conclusion;
}

RulePickDialog::RulePickDialog(const QStringList& lines, QWidget* parent)
    : PortDialog(QString::fromUtf8(port::titles::kPickRuleForFlattening), parent) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* heading = plainLabel(QString::fromUtf8(port::texts::kRuleForFlatteningHeading), this);
    heading->setFont(fixed);
    QStringList shown;
    for (const auto& l : lines) shown << ruleColumns(l);
    list_ = listOf(shown, this);
    list_->setFont(fixed);
    heading->setBuddy(list_);
    body()->addWidget(heading);
    body()->addWidget(list_, 1);
    addButton(QStringLiteral("&OK"), Accepted);
    addButton(QStringLiteral("&Cancel"), Rejected);
    auto* help = addButton(QStringLiteral("&Help"), kKeepOpen);
    connect(help, &QPushButton::clicked, this, &RulePickDialog::helpRequested);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(520, 360);
}

int RulePickDialog::selectedRow() const {
    const auto sel = list_->selectedItems();
    return sel.isEmpty() ? -1 : list_->row(sel.front());
}

// ---- FramedListDialog ----

FramedListDialog::FramedListDialog(const QString& title, const QString& frame, const QStringList& items,
                                   QWidget* parent)
    : PortDialog(title, parent) {
    auto* box = new QGroupBox(frame, this);
    auto* lay = new QVBoxLayout(box);
    list_ = listOf(items, box);
    lay->addWidget(list_);
    body()->addWidget(box, 1);
    addButton(QStringLiteral("&OK"), Accepted);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(420, 320);
}

int FramedListDialog::selectedRow() const {
    const auto sel = list_->selectedItems();
    return sel.isEmpty() ? -1 : list_->row(sel.front());
}

// ---- ImportedFactsDialog ----

ImportedFactsDialog::ImportedFactsDialog(const QStringList& facts, const QStringList& values,
                                         QWidget* parent)
    : PortDialog(QString::fromUtf8(port::titles::kImportedFacts), parent) {
    auto framed = [this](const QString& frame, const QStringList& items, const char* name) {
        auto* box = new QGroupBox(frame, this);
        auto* lay = new QVBoxLayout(box);
        auto* list = listOf(items, box);
        list->setObjectName(QString::fromLatin1(name));
        lay->addWidget(list);
        body()->addWidget(box, 1);
    };
    framed(QString::fromUtf8(port::texts::kImportedFactsCaption), facts, "facts");
    framed(QString::fromUtf8(port::texts::kImportedValuesCaption), values,
           "values");
    addButton(QStringLiteral("&OK"), Accepted);
    resize(480, 420);
}

// ---- RadioDialog ----

RadioDialog::RadioDialog(const QString& title, const QString& text, const QStringList& labels,
                         int preselected, QWidget* parent)
    : PortDialog(title, parent) {
    body()->addWidget(plainLabel(text, this));
    group_ = new QButtonGroup(this);
    for (int i = 0; i < labels.size(); ++i) {
        auto* r = new QRadioButton(labels[i], this);
        r->setObjectName(QStringLiteral("radio%1").arg(i + 1));
        group_->addButton(r, i + 1);
        body()->addWidget(r);
    }
    if (auto* b = group_->button(preselected)) {
        b->setChecked(true);
        b->setFocus();
    }
    addButton(QStringLiteral("&OK"), Accepted);
    setResizable(false);
}

int RadioDialog::checked() const { return group_->checkedId(); }

QAbstractButton* RadioDialog::radio(int number) const { return group_->button(number); }

// ---- BitmapDialog ----

BitmapDialog::BitmapDialog(const QImage& image, QWidget* parent)
    : PortDialog(QString::fromUtf8(port::titles::kGraphicsView), parent) {
    auto* view = new ImageView(image, this);
    body()->addWidget(view, 1);
    addButton(QStringLiteral("&End"), Accepted);
    QSize size = image.isNull() ? QSize(400, 300) : image.size().boundedTo(QSize(900, 650));
    resize(size.expandedTo(QSize(240, 180)) + QSize(24, 64));
}

// ---- TextReaderDialog ----

TextReaderDialog::TextReaderDialog(const QString& title, const QString& field, const QString& text,
                                   QWidget* parent)
    : PortDialog(title, parent) {
    field_ = readOnlyField(field, this);
    field_->setObjectName(QStringLiteral("field"));
    field_->setFocusPolicy(Qt::ClickFocus);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("text"));
    text_->setReadOnly(true);
    text_->setPlainText(text);
    text_->moveCursor(QTextCursor::Start);
    body()->addWidget(field_);
    body()->addWidget(text_, 1);
    addButton(QStringLiteral("&Continue"), Accepted);
    resize(560, 420);
}

// ---- ArgumentValueDialog ----

ArgumentValueDialog::ArgumentValueDialog(const QString& argument, QWidget* parent)
    : PortDialog(QString::fromUtf8(port::titles::kArgumentValue), parent) {
    body()->addWidget(plainLabel(QString::fromUtf8(port::texts::kArgumentValuePrompt), this));
    auto* row = new QHBoxLayout;
    auto* name = readOnlyField(argument, this);
    name->setObjectName(QStringLiteral("argument"));
    name->setMinimumWidth(220);
    name->setFocusPolicy(Qt::ClickFocus);
    value_ = new QLineEdit(this);
    value_->setObjectName(QStringLiteral("value"));
    value_->setMinimumWidth(140);
    row->addWidget(name, 2);
    row->addWidget(plainLabel(QString::fromUtf8(port::texts::kArgumentValueEquals), this));
    row->addWidget(value_, 1);
    body()->addLayout(row);
    addButton(QStringLiteral("&OK"), Accepted);
    addButton(QStringLiteral("End"), kEndPressed);
    value_->setFocus();
    setResizable(false);
}

QString ArgumentValueDialog::value() const { return value_->text(); }

// ---- CaptionListDialog ----

CaptionListDialog::CaptionListDialog(const QString& title, const QString& caption, const QStringList& items,
                                     Selection selection, QWidget* parent)
    : PortDialog(title, parent) {
    caption_ = readOnlyField(caption, this);
    caption_->setObjectName(QStringLiteral("caption"));
    caption_->setFocusPolicy(Qt::ClickFocus);
    list_ = listOf(items, this);
    list_->setObjectName(QStringLiteral("list"));
    switch (selection) {
    case Selection::None: list_->setSelectionMode(QAbstractItemView::NoSelection); break;
    case Selection::Single: list_->setSelectionMode(QAbstractItemView::SingleSelection); break;
    case Selection::Multi: list_->setSelectionMode(QAbstractItemView::MultiSelection); break;
    }
    if (selection == Selection::Single && list_->count() > 0) list_->setCurrentRow(0);
    if (selection == Selection::Single)
        connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    body()->addWidget(caption_);
    body()->addWidget(list_, 1);
    addButton(QStringLiteral("&Continue"), Accepted);
    addButton(QStringLiteral("End"), kEndPressed);
    list_->setFocus();
    resize(520, 360);
}

QList<int> CaptionListDialog::selectedRows() const {
    QList<int> rows;
    for (auto* item : list_->selectedItems()) rows << list_->row(item);
    std::sort(rows.begin(), rows.end());
    return rows;
}

// ---- MediaPickerDialog ----

MediaPickerDialog::MediaPickerDialog(const QString& title, const QString& baseLabel, const QString& baseName,
                                     const QString& pickLabel, const QStringList& files, QWidget* parent)
    : PortDialog(title, parent) {
    auto* grid = new QGridLayout;
    grid->addWidget(plainLabel(baseLabel, this), 0, 0);
    auto* base = readOnlyField(baseName, this);
    base->setObjectName(QStringLiteral("base"));
    base->setFocusPolicy(Qt::ClickFocus);
    base->setMinimumWidth(240);
    grid->addWidget(base, 0, 1);
    auto* pick = plainLabel(pickLabel, this);
    grid->addWidget(pick, 1, 0, 1, 2);
    files_ = new QComboBox(this);
    files_->setObjectName(QStringLiteral("files"));
    files_->addItems(files);
    pick->setBuddy(files_);
    grid->addWidget(files_, 2, 0, 1, 2);
    body()->addLayout(grid);
    addButton(QStringLiteral("&OK"), Accepted);
    files_->setFocus();
    setResizable(false);
}

QString MediaPickerDialog::chosen() const { return files_->currentText(); }

// ---- AboutDialog ----

AboutDialog::AboutDialog(QWidget* parent) : PortDialog(QString::fromUtf8(port::titles::kAbout), parent) {
    auto* row = new QHBoxLayout;
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(introPicture().scaled(
        192, 120, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    row->addWidget(picture);
    auto* texts = new QVBoxLayout;
    auto* name = plainLabel(QString::fromUtf8(port::texts::kProgramName), this);
    name->setObjectName(QStringLiteral("name"));
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* what = plainLabel(QString::fromUtf8(port::texts::kAboutDescription), this);
    what->setObjectName(QStringLiteral("description"));
    what->setWordWrap(true);
    what->setMinimumWidth(300);
    texts->addWidget(name);
    texts->addWidget(what);
    texts->addStretch(1);
    row->addLayout(texts, 1);
    body()->addLayout(row);
    addButton(QStringLiteral("OK"), Accepted);
    setResizable(false);
}

// ---- intro picture ----

QImage introPicture(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();

    QLinearGradient sky(0, 0, w, h);
    sky.setColorAt(0, QColor(18, 40, 78));
    sky.setColorAt(1, QColor(20, 110, 120));
    p.fillRect(img.rect(), sky);

    // A small chaining network: askable conditions on the left feed rules
    // that reach one conclusion on the right.
    const QPointF inputs[] = {{0.10, 0.22}, {0.10, 0.42}, {0.10, 0.62}, {0.10, 0.82}};
    const QPointF middle[] = {{0.34, 0.32}, {0.34, 0.62}, {0.34, 0.86}};
    const QPointF goals[] = {{0.56, 0.47}, {0.56, 0.80}};
    auto at = [&](QPointF f) { return QPointF(f.x() * w, f.y() * h); };
    QPen edge(QColor(255, 255, 255, 90), std::max(1.0, w / 400));
    p.setPen(edge);
    for (const auto& a : inputs)
        for (const auto& b : middle)
            if (std::abs(a.y() - b.y()) < 0.32) p.drawLine(at(a), at(b));
    for (const auto& a : middle)
        for (const auto& b : goals) p.drawLine(at(a), at(b));
    const qreal r = h / 40;
    auto node = [&](QPointF f, QColor c) {
        p.setPen(QPen(QColor(255, 255, 255, 200), std::max(1.0, w / 500)));
        p.setBrush(c);
        p.drawEllipse(at(f), r, r);
    };
    for (const auto& a : inputs) node(a, QColor(255, 196, 61));
    for (const auto& a : middle) node(a, QColor(110, 200, 255));
    for (const auto& a : goals) node(a, QColor(130, 230, 150));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(static_cast<int>(h / 8.5));
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    const QRectF textArea(w * 0.62, h * 0.08, w * 0.36, h * 0.84);
    p.drawText(textArea.adjusted(0, 0, 0, -h * 0.55), Qt::AlignLeft | Qt::AlignBottom,
               QStringLiteral("torv_AE"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(static_cast<int>(h / 24));
    p.setFont(small);
    p.setPen(QColor(230, 240, 250));
    p.drawText(textArea.adjusted(0, h * 0.34, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Rule- and Model-Based Expert System Shell\n\n"
                              "Augmented Exact Forward and Backward Chaining"));
    p.setPen(QPen(QColor(255, 196, 61), std::max(2.0, h / 150)));
    p.drawLine(QPointF(w * 0.62, h * 0.40), QPointF(w * 0.95, h * 0.40));
    return img;
}

}  // namespace torv::qt
