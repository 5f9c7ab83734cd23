#include "xmlblanks.h"

#include <QRegularExpression>

namespace corvexa::office {

QByteArray protectBlankRuns(const QByteArray& xml) {
    static const QRegularExpression blankRun(
        QStringLiteral("(<(?:\\w+:)?t(?:\\s[^>]*)?>)([ \\t\\r\\n]+)(</)"));
    QString text = QString::fromUtf8(xml);
    QString out;
    qsizetype last = 0;
    for (auto it = blankRun.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart(2) - last);
        for (QChar c : m.capturedView(2))
            out += QChar(0xE000 + c.unicode());
        last = m.capturedEnd(2);
    }
    out += QStringView(text).mid(last);
    return out.toUtf8();
}

QString restoreBlanks(QString text) {
    for (QChar& c : text)
        if (c.unicode() >= 0xE000 && c.unicode() <= 0xE020) c = QChar(c.unicode() - 0xE000);
    return text;
}

} // namespace corvexa::office
