#include "letterdesigner.h"

#include "letterpreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace corvexa::office {
namespace {
QDoubleSpinBox* spin(const QString& name, double max, double step, const QString& suffix) {
    auto* s = new QDoubleSpinBox;
    s->setObjectName(name);
    s->setRange(0, max);
    s->setDecimals(1);
    s->setSingleStep(step);
    s->setSuffix(suffix);
    return s;
}

QString itemCaption(const LetterItem& item) {
    switch (item.kind) {
    case LetterItem::Line:
        return item.dashed ? QStringLiteral("虚线") : QStringLiteral("直线");
    case LetterItem::Frame:
        return QStringLiteral("方框");
    case LetterItem::Text:
        break;
    }
    QString text = item.text.simplified();
    if (text.size() > 24) text = text.left(24) + QStringLiteral("…");
    return QStringLiteral("文字：") + text;
}
} // namespace

LetterDesigner::LetterDesigner(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("介绍信模板设计"));
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("items"));
    auto* addText = new QPushButton(QStringLiteral("添加文字"));
    auto* addLine = new QPushButton(QStringLiteral("添加直线"));
    auto* addFrame = new QPushButton(QStringLiteral("添加方框"));
    auto* remove = new QPushButton(QStringLiteral("删除"));
    auto* saveButton = new QPushButton(QStringLiteral("保存模板"));
    saveButton->setObjectName(QStringLiteral("save"));

    x_ = spin(QStringLiteral("x"), 2000, 1, QStringLiteral(" mm"));
    y_ = spin(QStringLiteral("y"), 2000, 1, QStringLiteral(" mm"));
    w_ = spin(QStringLiteral("w"), 2000, 1, QStringLiteral(" mm"));
    h_ = spin(QStringLiteral("h"), 2000, 1, QStringLiteral(" mm"));
    font_ = new QFontComboBox;
    size_ = spin(QStringLiteral("size"), 200, 0.5, QStringLiteral(" pt"));
    size_->setMinimum(4);
    bold_ = new QCheckBox(QStringLiteral("粗体"));
    align_ = new QComboBox;
    align_->addItem(QStringLiteral("左对齐"), int(Qt::AlignLeft));
    align_->addItem(QStringLiteral("居中"), int(Qt::AlignHCenter));
    align_->addItem(QStringLiteral("右对齐"), int(Qt::AlignRight));
    align_->addItem(QStringLiteral("两端对齐"), int(Qt::AlignJustify));
    lineWidth_ = spin(QStringLiteral("lineWidth"), 5, 0.1, QStringLiteral(" mm"));
    dashed_ = new QCheckBox(QStringLiteral("虚线"));
    text_ = new QPlainTextEdit;
    text_->setObjectName(QStringLiteral("text"));
    field_ = new QComboBox;
    field_->addItem(QStringLiteral("插入字段..."));
    field_->addItems(letterFields());

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("左边距："), x_);
    form->addRow(QStringLiteral("上边距："), y_);
    form->addRow(QStringLiteral("宽度："), w_);
    form->addRow(QStringLiteral("高度："), h_);
    form->addRow(QStringLiteral("字体："), font_);
    form->addRow(QStringLiteral("字号："), size_);
    form->addRow(QString(), bold_);
    form->addRow(QStringLiteral("对齐："), align_);
    form->addRow(QStringLiteral("线宽："), lineWidth_);
    form->addRow(QString(), dashed_);
    form->addRow(QStringLiteral("文字："), text_);
    form->addRow(QString(), field_);

    auto* buttons = new QHBoxLayout;
    for (auto* b : {addText, addLine, addFrame, remove})
        buttons->addWidget(b);
    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->addWidget(list_);
    leftLayout->addLayout(buttons);
    leftLayout->addLayout(form);
    leftLayout->addWidget(saveButton);

    preview_ = new LetterPagesView;
    preview_->setZoom(0.6);
    auto* scroll = new QScrollArea;
    scroll->setWidget(preview_);
    auto* splitter = new QSplitter;
    splitter->addWidget(left);
    splitter->addWidget(scroll);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    connect(list_, &QListWidget::currentRowChanged, this, [this] { loadForm(); });
    connect(addText, &QPushButton::clicked, this, [this] { addItem(LetterItem::Text); });
    connect(addLine, &QPushButton::clicked, this, [this] { addItem(LetterItem::Line); });
    connect(addFrame, &QPushButton::clicked, this, [this] { addItem(LetterItem::Frame); });
    connect(remove, &QPushButton::clicked, this, &LetterDesigner::removeCurrentItem);
    connect(saveButton, &QPushButton::clicked, this, [this] {
        QString error;
        if (!save(&error)) emit failed(error);
    });
    for (auto* s : {x_, y_, w_, h_, size_, lineWidth_})
        connect(s, &QDoubleSpinBox::valueChanged, this, &LetterDesigner::applyForm);
    // The family is taken only when the user picks one: the box shows a
    // substitute for a family this desktop lacks, which must not replace it.
    connect(font_, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
        const int index = currentItem();
        if (loading_ || index < 0 || index >= letter_.items.size()) return;
        letter_.items[index].fontFamily = font.family();
        preview_->setLetters(letter_, {sampleLetterRecord()});
        setModified(true);
    });
    connect(bold_, &QCheckBox::toggled, this, &LetterDesigner::applyForm);
    connect(dashed_, &QCheckBox::toggled, this, &LetterDesigner::applyForm);
    connect(align_, &QComboBox::currentIndexChanged, this, &LetterDesigner::applyForm);
    connect(text_, &QPlainTextEdit::textChanged, this, &LetterDesigner::applyForm);
    connect(field_, &QComboBox::activated, this, [this](int index) {
        if (index > 0) text_->insertPlainText(QLatin1Char('[') + field_->itemText(index) + QLatin1Char(']'));
        field_->setCurrentIndex(0);
    });
    resize(1200, 800);
}

bool LetterDesigner::openTemplate(const QString& path, QString* error) {
    auto loaded = LetterTemplate::load(path, error);
    if (!loaded) return false;
    path_ = path;
    letter_ = *loaded;
    refreshList();
    selectItem(letter_.items.isEmpty() ? -1 : 0);
    preview_->setLetters(letter_, {sampleLetterRecord()});
    setModified(false);
    return true;
}

bool LetterDesigner::save(QString* error) {
    if (path_.isEmpty()) {
        *error = QStringLiteral("没有打开的模板");
        return false;
    }
    if (!letter_.save(path_, error)) return false;
    setModified(false);
    return true;
}

void LetterDesigner::selectItem(int index) {
    list_->setCurrentRow(index);
}
int LetterDesigner::currentItem() const {
    return list_->currentRow();
}

void LetterDesigner::addItem(LetterItem::Kind kind) {
    LetterItem item;
    item.kind = kind;
    item.box = kind == LetterItem::Line ? QRectF(20, 20, 170, 0) : QRectF(20, 20, 80, 10);
    if (kind == LetterItem::Text) item.text = QStringLiteral("新文字");
    letter_.items << item;
    refreshList();
    selectItem(int(letter_.items.size()) - 1);
    preview_->setLetters(letter_, {sampleLetterRecord()});
    setModified(true);
}

void LetterDesigner::removeCurrentItem() {
    const int index = currentItem();
    if (index < 0 || index >= letter_.items.size()) return;
    letter_.items.removeAt(index);
    refreshList();
    selectItem(std::min(index, int(letter_.items.size()) - 1));
    preview_->setLetters(letter_, {sampleLetterRecord()});
    setModified(true);
}

void LetterDesigner::refreshList() {
    loading_ = true;
    list_->clear();
    for (const LetterItem& item : letter_.items)
        list_->addItem(itemCaption(item));
    loading_ = false;
}

void LetterDesigner::loadForm() {
    const int index = currentItem();
    const bool valid = index >= 0 && index < letter_.items.size();
    loading_ = true;
    const LetterItem item = valid ? letter_.items[index] : LetterItem();
    x_->setValue(item.box.x());
    y_->setValue(item.box.y());
    w_->setValue(item.box.width());
    h_->setValue(item.box.height());
    font_->setCurrentFont(QFont(item.fontFamily));
    size_->setValue(item.fontSize);
    bold_->setChecked(item.bold);
    align_->setCurrentIndex(std::max(0, align_->findData(int(item.align))));
    lineWidth_->setValue(item.lineWidth);
    dashed_->setChecked(item.dashed);
    text_->setPlainText(item.text);
    preview_->setHighlight(valid ? item.box : QRectF());
    const bool text = valid && item.kind == LetterItem::Text;
    for (QWidget* w : std::initializer_list<QWidget*>{font_, size_, bold_, align_, text_, field_})
        w->setEnabled(text);
    for (QWidget* w : std::initializer_list<QWidget*>{lineWidth_, dashed_})
        w->setEnabled(valid && !text);
    for (QWidget* w : std::initializer_list<QWidget*>{x_, y_, w_, h_})
        w->setEnabled(valid);
    loading_ = false;
}

void LetterDesigner::applyForm() {
    const int index = currentItem();
    if (loading_ || index < 0 || index >= letter_.items.size()) return;
    LetterItem& item = letter_.items[index];
    LetterItem before = item;
    item.box = QRectF(x_->value(), y_->value(), w_->value(), h_->value());
    if (item.kind == LetterItem::Text) {
        item.fontSize = size_->value();
        item.bold = bold_->isChecked();
        item.align = Qt::Alignment(align_->currentData().toInt());
        item.text = text_->toPlainText();
    } else {
        item.lineWidth = lineWidth_->value();
        item.dashed = dashed_->isChecked();
    }
    if (item == before) return;
    list_->item(index)->setText(itemCaption(item));
    preview_->setLetters(letter_, {sampleLetterRecord()});
    preview_->setHighlight(item.box);
    setModified(true);
}

void LetterDesigner::setModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    setWindowModified(modified);
    emit modifiedChanged(modified);
}

} // namespace corvexa::office
