#include "letterpreview.h"

#include "letterrenderer.h"

#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvexa::office {
namespace {
constexpr int kGap = 16; // px between pages and around them
}

LetterPagesView::LetterPagesView(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    setPalette(p);
}

void LetterPagesView::setLetters(const LetterTemplate& letter, const QList<QVariantHash>& records) {
    letter_ = letter;
    records_ = records;
    resize(sizeHint());
    update();
}

void LetterPagesView::setZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.1, 5.0);
    resize(sizeHint());
    update();
}

void LetterPagesView::setHighlight(const QRectF& box) {
    highlight_ = box;
    update();
}

QSizeF LetterPagesView::pageSizePx() const {
    return QSizeF(letter_.pageSize.width() / 25.4 * logicalDpiX() * zoom_,
                  letter_.pageSize.height() / 25.4 * logicalDpiY() * zoom_);
}

QSize LetterPagesView::sizeHint() const {
    const QSizeF page = pageSizePx();
    const int n = std::max(1, pageCount());
    return QSize(int(page.width()) + 2 * kGap, int(n * (page.height() + kGap)) + kGap);
}

void LetterPagesView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QSizeF page = pageSizePx();
    const double left = std::max<double>(kGap, (width() - page.width()) / 2);
    for (int i = 0; i < records_.size(); ++i) {
        const QRectF rect(left, kGap + i * (page.height() + kGap), page.width(), page.height());
        if (!rect.intersects(event->rect())) continue;
        painter.fillRect(rect.translated(3, 3), QColor(0x50, 0x50, 0x50));
        painter.fillRect(rect, Qt::white);
        painter.save();
        painter.translate(rect.topLeft());
        painter.scale(zoom_, zoom_);
        paintLetter(painter, letter_, records_[i]);
        if (!highlight_.isNull()) {
            const double sx = logicalDpiX() / 25.4, sy = logicalDpiY() / 25.4;
            const QRectF box(highlight_.x() * sx, highlight_.y() * sy, highlight_.width() * sx,
                             highlight_.height() * sy);
            QPen pen(Qt::red, 0, Qt::DashLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(-2, -2, 2, 2));
        }
        painter.restore();
    }
}

LetterPreview::LetterPreview(FileService* files, QWidget* parent)
    : QWidget(parent), files_(files), printer_(QPrinter::HighResolution) {
    setWindowTitle(QStringLiteral("打印预览"));
    auto* bar = new QToolBar(this);
    zoomBox_ = new QComboBox(bar);
    zoomBox_->setObjectName(QStringLiteral("zoom"));
    for (int percent : {50, 75, 100, 125, 150, 200})
        zoomBox_->addItem(QStringLiteral("%1%").arg(percent), percent / 100.0);
    zoomBox_->addItem(QStringLiteral("适合宽度"), 0.0);
    zoomBox_->setCurrentIndex(2);
    bar->addAction(QStringLiteral("缩小"), this, [this] { setZoom(zoom() / 1.25); });
    bar->addWidget(zoomBox_);
    bar->addAction(QStringLiteral("放大"), this, [this] { setZoom(zoom() * 1.25); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("页面设置..."), this, &LetterPreview::pageSetup);
    bar->addAction(QStringLiteral("打印..."), this, &LetterPreview::print);
    bar->addAction(QStringLiteral("保存为PDF..."), this, &LetterPreview::saveAsPdf);
    bar->addSeparator();
    pageLabel_ = new QLabel(bar);
    bar->addWidget(pageLabel_);
    bar->addSeparator();
    bar->addAction(QStringLiteral("关闭"), this, [this] { window()->close(); });

    pages_ = new LetterPagesView;
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(pages_);
    scroll_->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(scroll_);

    connect(zoomBox_, &QComboBox::activated, this, [this](int index) {
        const double z = zoomBox_->itemData(index).toDouble();
        if (z > 0)
            setZoom(z);
        else
            fitWidth();
    });
    printer_.setPageSize(QPageSize(QPageSize::A4));
    printer_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    resize(900, 1000);
}

void LetterPreview::setLetters(const LetterTemplate& letter, const QList<QVariantHash>& records) {
    letter_ = letter;
    records_ = records;
    pages_->setLetters(letter, records);
    pageLabel_->setText(QStringLiteral("共 %1 页").arg(records.size()));
    printer_.setPageSize(QPageSize(letter.pageSize, QPageSize::Millimeter));
    printer_.setDocName(letter.title);
}

void LetterPreview::setZoom(double zoom) {
    pages_->setZoom(zoom);
    zoomBox_->setEditText(QStringLiteral("%1%").arg(qRound(pages_->zoom() * 100)));
}

void LetterPreview::fitWidth() {
    const double pageWidth = letter_.pageSize.width() / 25.4 * logicalDpiX();
    const double available = scroll_->viewport()->width() - 2 * kGap;
    if (pageWidth > 0 && available > 0) setZoom(available / pageWidth);
}

bool LetterPreview::saveAsPdf() {
    QString path =
        files_->saveFileName(this, QStringLiteral("保存为PDF"), letter_.title + QStringLiteral(".pdf"),
                             QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return false;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    QString error;
    if (!writeLettersPdf(letter_, records_, path, &error)) {
        emit failed(error);
        return false;
    }
    return true;
}

QPointF LetterPreview::printOffset() const {
    const QMarginsF margins = printer_.pageLayout().margins(QPageLayout::Millimeter);
    return QPointF(margins.left(), margins.top());
}

bool LetterPreview::print() {
    QPrintDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return false;
    if (!printLetters(printer_, letter_, records_, printOffset())) {
        emit failed(QStringLiteral("打印机无法开始打印"));
        return false;
    }
    return true;
}

void LetterPreview::pageSetup() {
    QPageSetupDialog dialog(&printer_, this);
    dialog.exec();
}

QVariantHash sampleLetterRecord() {
    const QDate today = QDate::currentDate();
    return {{QStringLiteral("VarNo"), QStringLiteral("08010001")},
            {QStringLiteral("VarName"), QStringLiteral("张三")},
            {QStringLiteral("VarDYLX"), QStringLiteral("正式")},
            {QStringLiteral("VarFrom1"), QStringLiteral("计算机学院党委")},
            {QStringLiteral("VarFrom2"), QStringLiteral("计算机学院")},
            {QStringLiteral("VarTo"), QStringLiteral("某某科技有限公司")},
            {QStringLiteral("VarDF"), 6},
            {QStringLiteral("VarYear"), today.year()},
            {QStringLiteral("VarMonth"), today.month()},
            {QStringLiteral("VarDay"), today.day()},
            {QStringLiteral("VarYXQ"), 90},
            {QStringLiteral("VarSex"), QStringLiteral("男")},
            {QStringLiteral("VarSFZ"), QStringLiteral("110101199001011234")},
            {QStringLiteral("VarMinZhu"), QStringLiteral("汉族")},
            {QStringLiteral("VarAge"), 22},
            {QStringLiteral("VarLXTEL"), QStringLiteral("010-12345678")},
            {QStringLiteral("VarLXMobile"), QStringLiteral("13800000000")},
            {QStringLiteral("VarLXMail"), QStringLiteral("zhangsan@example.com")},
            {QStringLiteral("VarDZZ_TEL"), QStringLiteral("010-87654321")},
            {QStringLiteral("VarDZZ_Fax"), QStringLiteral("010-87654322")},
            {QStringLiteral("VarDZZ_Zip"), QStringLiteral("100000")},
            {QStringLiteral("VarDZZ_Addr"), QStringLiteral("学院路1号")},
            {QStringLiteral("VarDZZ"), QStringLiteral("中共某某科技有限公司委员会")}};
}

} // namespace corvexa::office
