#pragma once
// Letters drawn from a template and letter records: one page per record, on
// any paint device (screen image, printer, PDF). Positions are millimetres
// from the paper's top left, shifted by the page set-up's offset.
#include "lettertemplate.h"

#include <QImage>
#include <QList>
#include <QPointF>

class QPainter;
class QPrinter;

namespace corvexa::office {

// Paints one letter on the painter's device, whose resolution gives the scale.
void paintLetter(QPainter& painter, const LetterTemplate& letter, const QVariantHash& record,
                 QPointF offsetMm = {});

// One page as an image at the given resolution (dots per inch), white paper.
QImage renderLetterImage(const LetterTemplate& letter, const QVariantHash& record, int dpi);

// All letters into one PDF, one page each; false with the reason on failure,
// and no file is left behind then.
bool writeLettersPdf(const LetterTemplate& letter, const QList<QVariantHash>& records, const QString& path,
                     QString* error);

// All letters to a printer prepared by the caller (paper, copies, page range
// are the printer's); false when the printer could not start.
bool printLetters(QPrinter& printer, const LetterTemplate& letter, const QList<QVariantHash>& records,
                  QPointF offsetMm = {});

} // namespace corvexa::office
