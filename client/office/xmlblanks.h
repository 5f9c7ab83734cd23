#pragma once
// The DOM parser drops text that is only blanks, but in a document or a cell a
// run of blanks is text. Before parsing, the blanks of such text elements
// (<t>, <w:t>, ...) are written as private-use characters; they are turned
// back when text is read or the part is written.
#include <QByteArray>
#include <QString>

namespace corvexa::office {

QByteArray protectBlankRuns(const QByteArray& xml);
QString restoreBlanks(QString text);

} // namespace corvexa::office
