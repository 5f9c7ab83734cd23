#include "lettertemplate.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace corvexa::office {
namespace {
const QString kFormat = QStringLiteral("corvexa-letter/1");

QString alignName(Qt::Alignment a) {
    if (a & Qt::AlignHCenter) return QStringLiteral("center");
    if (a & Qt::AlignRight) return QStringLiteral("right");
    if (a & Qt::AlignJustify) return QStringLiteral("justify");
    return QStringLiteral("left");
}

Qt::Alignment alignFrom(const QString& name) {
    if (name == u"center") return Qt::AlignHCenter;
    if (name == u"right") return Qt::AlignRight;
    if (name == u"justify") return Qt::AlignJustify;
    return Qt::AlignLeft;
}

const char* kindName(LetterItem::Kind k) {
    switch (k) {
    case LetterItem::Line:
        return "line";
    case LetterItem::Frame:
        return "frame";
    case LetterItem::Text:
        break;
    }
    return "text";
}
} // namespace

const QStringList& letterFields() {
    static const QStringList fields = {
        QStringLiteral("VarNo"),       QStringLiteral("VarName"),     QStringLiteral("VarDYLX"),
        QStringLiteral("VarFrom1"),    QStringLiteral("VarFrom2"),    QStringLiteral("VarTo"),
        QStringLiteral("VarDF"),       QStringLiteral("VarYear"),     QStringLiteral("VarMonth"),
        QStringLiteral("VarDay"),      QStringLiteral("VarYXQ"),      QStringLiteral("VarSex"),
        QStringLiteral("VarSFZ"),      QStringLiteral("VarMinZhu"),   QStringLiteral("VarAge"),
        QStringLiteral("VarLXTEL"),    QStringLiteral("VarLXMobile"), QStringLiteral("VarLXMail"),
        QStringLiteral("VarDZZ_TEL"),  QStringLiteral("VarDZZ_Fax"),  QStringLiteral("VarDZZ_Zip"),
        QStringLiteral("VarDZZ_Addr"), QStringLiteral("VarDZZ")};
    return fields;
}

QString fillFields(const QString& text, const QVariantHash& record) {
    static const QRegularExpression field(QStringLiteral(R"(\[([A-Za-z_][A-Za-z0-9_]*)\])"));
    QString out;
    qsizetype last = 0;
    for (auto it = field.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        const QString name = m.captured(1);
        if (record.contains(name)) {
            const QVariant v = record.value(name);
            out += v.isNull() ? QString() : v.toString();
        } else {
            out += m.captured(0);
        }
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QList<QVariantHash> recordsFromModel(const QAbstractItemModel& model) {
    QStringList names;
    for (int c = 0; c < model.columnCount(); ++c)
        names << model.headerData(c, Qt::Horizontal).toString();
    QList<QVariantHash> records;
    for (int r = 0; r < model.rowCount(); ++r) {
        QVariantHash record;
        for (int c = 0; c < names.size(); ++c)
            record.insert(names[c], model.data(model.index(r, c), Qt::DisplayRole));
        records << record;
    }
    return records;
}

QFont letterFont(const LetterItem& item) {
    QFont font;
    font.setFamilies({item.fontFamily, QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("SimSun")});
    font.setPointSizeF(item.fontSize > 0 ? item.fontSize : 12);
    font.setBold(item.bold);
    return font;
}

std::optional<LetterTemplate> LetterTemplate::fromJson(const QByteArray& json, QString* error) {
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        *error = QStringLiteral("模板格式错误：%1").arg(parseError.errorString());
        return {};
    }
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat) {
        *error = QStringLiteral("不是介绍信模板文件");
        return {};
    }
    LetterTemplate t;
    t.title = root.value(QStringLiteral("title")).toString();
    const QJsonObject page = root.value(QStringLiteral("page")).toObject();
    t.pageSize = QSizeF(page.value(QStringLiteral("width")).toDouble(210),
                        page.value(QStringLiteral("height")).toDouble(297));
    if (t.pageSize.width() < 10 || t.pageSize.height() < 10 || t.pageSize.width() > 2000 ||
        t.pageSize.height() > 2000) {
        *error = QStringLiteral("模板的页面大小无效");
        return {};
    }
    for (const QJsonValue& v : root.value(QStringLiteral("items")).toArray()) {
        const QJsonObject o = v.toObject();
        LetterItem item;
        const QString kind = o.value(QStringLiteral("type")).toString();
        item.kind = kind == u"line"    ? LetterItem::Line
                    : kind == u"frame" ? LetterItem::Frame
                                       : LetterItem::Text;
        item.box = QRectF(o.value(QStringLiteral("x")).toDouble(), o.value(QStringLiteral("y")).toDouble(),
                          o.value(QStringLiteral("w")).toDouble(), o.value(QStringLiteral("h")).toDouble());
        item.text = o.value(QStringLiteral("text")).toString();
        item.fontFamily = o.value(QStringLiteral("font")).toString(QStringLiteral("SimSun"));
        item.fontSize = o.value(QStringLiteral("size")).toDouble(12);
        item.bold = o.value(QStringLiteral("bold")).toBool();
        item.align = alignFrom(o.value(QStringLiteral("align")).toString());
        item.lineWidth = o.value(QStringLiteral("lineWidth")).toDouble(0.3);
        item.dashed = o.value(QStringLiteral("dashed")).toBool();
        t.items << item;
    }
    return t;
}

QByteArray LetterTemplate::toJson() const {
    QJsonArray items;
    for (const LetterItem& item : this->items) {
        QJsonObject o;
        o.insert(QStringLiteral("type"), QLatin1String(kindName(item.kind)));
        o.insert(QStringLiteral("x"), item.box.x());
        o.insert(QStringLiteral("y"), item.box.y());
        o.insert(QStringLiteral("w"), item.box.width());
        o.insert(QStringLiteral("h"), item.box.height());
        if (item.kind == LetterItem::Text) {
            o.insert(QStringLiteral("text"), item.text);
            o.insert(QStringLiteral("font"), item.fontFamily);
            o.insert(QStringLiteral("size"), item.fontSize);
            if (item.bold) o.insert(QStringLiteral("bold"), true);
            o.insert(QStringLiteral("align"), alignName(item.align));
        } else {
            o.insert(QStringLiteral("lineWidth"), item.lineWidth);
            if (item.dashed) o.insert(QStringLiteral("dashed"), true);
        }
        items.append(o);
    }
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("title"), title);
    root.insert(QStringLiteral("page"), QJsonObject{{QStringLiteral("width"), pageSize.width()},
                                                    {QStringLiteral("height"), pageSize.height()}});
    root.insert(QStringLiteral("items"), items);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<LetterTemplate> LetterTemplate::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开模板文件：%1").arg(path);
        return {};
    }
    return fromJson(file.readAll(), error);
}

bool LetterTemplate::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(toJson()) < 0 || !file.commit()) {
        *error = QStringLiteral("无法保存模板文件：%1").arg(path);
        return false;
    }
    return true;
}

} // namespace corvexa::office
