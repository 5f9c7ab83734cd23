#pragma once
// A letter template: items placed in millimetres on one page, texts with
// fields written "[VarName]" that each letter record fills in. Stored as JSON
// (see README.md in this folder).
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QVariantHash>
#include <optional>

class QAbstractItemModel;

namespace corvexa::office {

struct LetterItem {
    enum Kind { Text, Line, Frame };
    Kind kind = Text;
    QRectF box;   // mm from the page's top left; a line runs from the top left to the bottom right
    QString text; // Text: with [Field] placeholders
    QString fontFamily = QStringLiteral("SimSun");
    double fontSize = 12; // points
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft;
    double lineWidth = 0.3; // mm, for lines and frames
    bool dashed = false;

    bool operator==(const LetterItem&) const = default;
};

struct LetterTemplate {
    QString title;
    QSizeF pageSize{210, 297}; // mm, A4 portrait
    QList<LetterItem> items;

    static std::optional<LetterTemplate> fromJson(const QByteArray& json, QString* error);
    QByteArray toJson() const;
    static std::optional<LetterTemplate> load(const QString& path, QString* error);
    bool save(const QString& path, QString* error) const; // never leaves a half-written file

    bool operator==(const LetterTemplate&) const = default;
};

// The fields of the letter record, in their order.
const QStringList& letterFields();

// Replaces every [Field] by the record's value as text; unknown fields stay as written.
QString fillFields(const QString& text, const QVariantHash& record);

// One record per model row, named by the horizontal header captions.
QList<QVariantHash> recordsFromModel(const QAbstractItemModel& model);

// The font of a text item, with CJK fallbacks so that Chinese renders on every desktop.
QFont letterFont(const LetterItem& item);

} // namespace corvexa::office
