#include "letterrenderer.h"

#include "zippackage.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace corvexa::office {

void paintLetter(QPainter& painter, const LetterTemplate& letter, const QVariantHash& record,
                 QPointF offsetMm) {
    const QPaintDevice* device = painter.device();
    const double sx = device->logicalDpiX() / 25.4;
    const double sy = device->logicalDpiY() / 25.4;
    auto toDevice = [&](const QRectF& mm) {
        return QRectF((mm.x() + offsetMm.x()) * sx, (mm.y() + offsetMm.y()) * sy, mm.width() * sx,
                      mm.height() * sy);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const LetterItem& item : letter.items) {
        const QRectF box = toDevice(item.box);
        switch (item.kind) {
        case LetterItem::Text: {
            painter.setPen(Qt::black);
            painter.setFont(letterFont(item));
            painter.drawText(box, int(item.align | Qt::AlignVCenter) | Qt::TextWordWrap,
                             fillFields(item.text, record));
            break;
        }
        case LetterItem::Line:
        case LetterItem::Frame: {
            QPen pen(Qt::black, std::max(item.lineWidth * sx, 1.0));
            if (item.dashed) pen.setStyle(Qt::DashLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            if (item.kind == LetterItem::Line)
                painter.drawLine(box.topLeft(), box.bottomRight());
            else
                painter.drawRect(box);
            break;
        }
        }
    }
    painter.restore();
}

QImage renderLetterImage(const LetterTemplate& letter, const QVariantHash& record, int dpi) {
    const QSize size(qRound(letter.pageSize.width() / 25.4 * dpi),
                     qRound(letter.pageSize.height() / 25.4 * dpi));
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintLetter(painter, letter, record);
    return image;
}

bool writeLettersPdf(const LetterTemplate& letter, const QList<QVariantHash>& records, const QString& path,
                     QString* error) {
    if (records.isEmpty()) {
        *error = QStringLiteral("没有可以打印的记录！");
        return false;
    }
    return writeThroughTemporary(path, error, [&](const QString& temporary, QString* err) {
        QPdfWriter pdf(temporary);
        pdf.setResolution(300);
        pdf.setTitle(letter.title);
        pdf.setCreator(QStringLiteral("Corvexa"));
        pdf.setPageSize(QPageSize(letter.pageSize, QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        QPainter painter;
        if (!painter.begin(&pdf)) {
            *err = QStringLiteral("无法写入文件：%1").arg(temporary);
            return false;
        }
        for (int i = 0; i < records.size(); ++i) {
            if (i > 0) pdf.newPage();
            paintLetter(painter, letter, records[i]);
        }
        return painter.end();
    });
}

bool printLetters(QPrinter& printer, const LetterTemplate& letter, const QList<QVariantHash>& records,
                  QPointF offsetMm) {
    printer.setFullPage(true); // positions count from the paper's edge
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    for (int i = 0; i < records.size(); ++i) {
        if (i > 0) printer.newPage();
        paintLetter(painter, letter, records[i], offsetMm);
    }
    return painter.end();
}

} // namespace corvexa::office
