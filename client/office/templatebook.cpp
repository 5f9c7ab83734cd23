#include "templatebook.h"

#include "xmlblanks.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace corvexa::office {
namespace {
const QString kMainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString kRelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString kWorksheetType =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet");
const QString kWorksheetContent =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml");

// The parts are parsed without namespace processing, so that writing them back
// keeps their prefixes and declarations exactly; elements are matched by the
// local part of their names and new ones take the prefix of the part's root.
QStringView localPart(const QString& name) {
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? QStringView(name) : QStringView(name).mid(colon + 1);
}

QString prefixOf(const QDomDocument& doc) {
    const QString root = doc.documentElement().tagName();
    const qsizetype colon = root.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : root.left(colon + 1);
}

// The prefix the root declares for the relationships namespace ("r:").
QString relationPrefix(const QDomDocument& doc) {
    const QDomNamedNodeMap attributes = doc.documentElement().attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr a = attributes.item(i).toAttr();
        if (a.name().startsWith(QStringLiteral("xmlns:")) && a.value() == kRelNs)
            return a.name().mid(6) + u':';
    }
    return {};
}

QDomElement firstChild(const QDomNode& parent, const QString& localName) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (localPart(e.tagName()) == localName) return e;
    return {};
}

bool parse(QDomDocument& doc, const QByteArray& xml) {
    return doc.setContent(xml, false);
}

int columnNumber(QStringView ref) {
    int n = 0;
    for (QChar c : ref) {
        if (!c.isLetter()) break;
        n = n * 26 + (c.toUpper().unicode() - 'A' + 1);
    }
    return n;
}

// The workbook's shared string table, to which the written texts are added
// (readers handle shared strings everywhere; inline strings not always).
class SharedStrings {
public:
    explicit SharedStrings(const QByteArray& existing) : xml_(existing) {
        if (xml_.isEmpty())
            xml_ = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<sst xmlns=\"" +
                   kMainNs.toUtf8() + "\" count=\"0\" uniqueCount=\"0\"></sst>";
        static const QRegularExpression item(QStringLiteral("<(\\w+:)?si[ >]"));
        existing_ = int(QString::fromUtf8(xml_).count(item));
    }
    int indexOf(const QString& text) {
        auto it = index_.constFind(text);
        if (it != index_.constEnd()) return *it;
        const int n = existing_ + int(added_.size());
        added_ << text;
        index_.insert(text, n);
        return n;
    }
    QByteArray xml() const {
        QString out = QString::fromUtf8(xml_);
        static const QRegularExpression root(QStringLiteral("<((?:\\w+:)?)sst\\b[^>]*?(/?)>"));
        const auto m = root.match(out);
        const QString prefix = m.captured(1);
        QString items;
        for (const QString& text : added_)
            items += QStringLiteral("<%1si><%1t xml:space=\"preserve\">%2</%1t></%1si>")
                         .arg(prefix, text.toHtmlEscaped());
        if (m.captured(2) == u"/") {
            // An empty table written as <sst .../>: open it up.
            out.replace(m.capturedStart(2), 1, QString());
            out.insert(m.capturedEnd() - 1, items + QStringLiteral("</") + prefix + QStringLiteral("sst>"));
        } else {
            const qsizetype end = out.lastIndexOf(QStringLiteral("</") + prefix + QStringLiteral("sst>"));
            if (end >= 0) out.insert(end, items);
        }
        const QString unique = QString::number(existing_ + added_.size());
        static const QRegularExpression counts(QStringLiteral("\\b(count|uniqueCount)=\"\\d*\""));
        // Every cell now refers to a string of its own as far as the count goes.
        out.replace(counts, QStringLiteral("\\1=\"") + unique + QStringLiteral("\""));
        return out.toUtf8();
    }

private:
    QByteArray xml_;
    int existing_ = 0;
    QStringList added_;
    QHash<QString, int> index_;
};

// Sets one cell of a worksheet's sheetData as a shared string, keeping the
// style the template gave the cell (or its row).
void setCell(QDomDocument& doc, QDomElement& sheetData, int row, int column, const QString& text,
             SharedStrings& strings) {
    QDomElement rowElement;
    for (QDomElement r = sheetData.firstChildElement(); !r.isNull(); r = r.nextSiblingElement()) {
        int n = r.attribute(QStringLiteral("r")).toInt();
        if (n == row) {
            rowElement = r;
            break;
        }
        if (n > row) {
            rowElement = doc.createElement(prefixOf(doc) + QStringLiteral("row"));
            rowElement.setAttribute(QStringLiteral("r"), row);
            sheetData.insertBefore(rowElement, r);
            break;
        }
    }
    if (rowElement.isNull()) {
        rowElement = doc.createElement(prefixOf(doc) + QStringLiteral("row"));
        rowElement.setAttribute(QStringLiteral("r"), row);
        sheetData.appendChild(rowElement);
    }
    rowElement.removeAttribute(QStringLiteral("spans"));
    const QString ref = columnLetters(column) + QString::number(row);
    QDomElement cell;
    for (QDomElement c = rowElement.firstChildElement(); !c.isNull(); c = c.nextSiblingElement()) {
        int n = columnNumber(c.attribute(QStringLiteral("r")));
        if (n == column) {
            cell = c;
            break;
        }
        if (n > column) {
            cell = doc.createElement(prefixOf(doc) + QStringLiteral("c"));
            rowElement.insertBefore(cell, c);
            break;
        }
    }
    if (cell.isNull()) {
        cell = doc.createElement(prefixOf(doc) + QStringLiteral("c"));
        rowElement.appendChild(cell);
    }
    cell.setAttribute(QStringLiteral("r"), ref);
    if (!cell.hasAttribute(QStringLiteral("s")) &&
        rowElement.attribute(QStringLiteral("customFormat")) == u"1")
        cell.setAttribute(QStringLiteral("s"), rowElement.attribute(QStringLiteral("s")));
    while (!cell.firstChild().isNull())
        cell.removeChild(cell.firstChild());
    if (text.isEmpty()) {
        cell.removeAttribute(QStringLiteral("t"));
        return;
    }
    cell.setAttribute(QStringLiteral("t"), QStringLiteral("s"));
    QDomElement v = doc.createElement(prefixOf(doc) + QStringLiteral("v"));
    v.appendChild(doc.createTextNode(QString::number(strings.indexOf(text))));
    cell.appendChild(v);
}

QString resolveTarget(const QString& base, const QString& target) {
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    return QDir::cleanPath(base + QLatin1Char('/') + target);
}
} // namespace

QString columnLetters(int column) {
    QString out;
    while (column > 0) {
        int d = (column - 1) % 26;
        out.prepend(QChar('A' + d));
        column = (column - 1) / 26;
    }
    return out;
}

bool TemplateBook::load(const QString& templatePath, QString* reason) {
    path_ = templatePath;
    if (!QFileInfo::exists(templatePath)) {
        *reason = QStringLiteral("找不到模板文件：%1").arg(QDir::toNativeSeparators(templatePath));
        return false;
    }
    if (!package_.read(templatePath, reason)) return false;
    QDomDocument workbook, rels;
    if (!parse(workbook, package_.part(QStringLiteral("xl/workbook.xml"))) ||
        !parse(rels, package_.part(QStringLiteral("xl/_rels/workbook.xml.rels")))) {
        *reason = QStringLiteral("模板不是有效的Excel工作簿：%1").arg(QDir::toNativeSeparators(templatePath));
        return false;
    }
    QDomElement firstSheet =
        firstChild(firstChild(workbook.documentElement(), QStringLiteral("sheets")), QStringLiteral("sheet"));
    const QString id = firstSheet.attribute(relationPrefix(workbook) + QStringLiteral("id"));
    for (QDomElement r = rels.documentElement().firstChildElement(); !r.isNull(); r = r.nextSiblingElement())
        if (r.attribute(QStringLiteral("Id")) == id)
            sheetPart_ = resolveTarget(QStringLiteral("xl"), r.attribute(QStringLiteral("Target")));
    sheetXml_ = package_.part(sheetPart_);
    if (id.isEmpty() || sheetXml_.isEmpty()) {
        *reason = QStringLiteral("模板中没有工作表：%1").arg(QDir::toNativeSeparators(templatePath));
        return false;
    }
    QFileInfo part(sheetPart_);
    sheetRels_ =
        package_.part(part.path() + QStringLiteral("/_rels/") + part.fileName() + QStringLiteral(".rels"));
    return true;
}

bool TemplateBook::write(const QString& path, const std::vector<Workbook::Sheet>& sheets, int activeSheet,
                         QString* reason) const {
    ZipPackage out = package_;
    QDomDocument workbook, rels, types;
    parse(workbook, package_.part(QStringLiteral("xl/workbook.xml")));
    parse(rels, package_.part(QStringLiteral("xl/_rels/workbook.xml.rels")));
    if (!parse(types, package_.part(QStringLiteral("[Content_Types].xml")))) {
        *reason = QStringLiteral("模板不是有效的Excel工作簿：%1").arg(QDir::toNativeSeparators(path_));
        return false;
    }

    // Drop the template's worksheets and whatever names them by position.
    QDomElement relsRoot = rels.documentElement();
    for (QDomElement r = relsRoot.firstChildElement(); !r.isNull();) {
        QDomElement next = r.nextSiblingElement();
        const QString type = r.attribute(QStringLiteral("Type"));
        if (type == kWorksheetType || type.endsWith(QStringLiteral("/calcChain"))) {
            const QString part = resolveTarget(QStringLiteral("xl"), r.attribute(QStringLiteral("Target")));
            out.removePart(part);
            QFileInfo info(part);
            out.removePart(info.path() + QStringLiteral("/_rels/") + info.fileName() +
                           QStringLiteral(".rels"));
            relsRoot.removeChild(r);
        }
        r = next;
    }
    QDomElement typesRoot = types.documentElement();
    for (QDomElement o = typesRoot.firstChildElement(); !o.isNull();) {
        QDomElement next = o.nextSiblingElement();
        const QString content = o.attribute(QStringLiteral("ContentType"));
        if (content == kWorksheetContent || content.contains(QStringLiteral("calcChain")) ||
            o.attribute(QStringLiteral("PartName")) == u"/docProps/app.xml")
            typesRoot.removeChild(o);
        o = next;
    }
    // The application properties list the template's sheet names; they would be wrong.
    if (out.has(QStringLiteral("docProps/app.xml"))) {
        out.removePart(QStringLiteral("docProps/app.xml"));
        QDomDocument rootRels;
        if (parse(rootRels, out.part(QStringLiteral("_rels/.rels")))) {
            QDomElement root = rootRels.documentElement();
            for (QDomElement r = root.firstChildElement(); !r.isNull();) {
                QDomElement next = r.nextSiblingElement();
                if (r.attribute(QStringLiteral("Target")).endsWith(QStringLiteral("docProps/app.xml")))
                    root.removeChild(r);
                r = next;
            }
            out.setPart(QStringLiteral("_rels/.rels"), rootRels.toByteArray(-1));
        }
    }

    // The shared string table: the template's own, or a new one.
    QString stringsPart;
    for (QDomElement r = relsRoot.firstChildElement(); !r.isNull(); r = r.nextSiblingElement())
        if (r.attribute(QStringLiteral("Type")).endsWith(QStringLiteral("/sharedStrings")))
            stringsPart = resolveTarget(QStringLiteral("xl"), r.attribute(QStringLiteral("Target")));
    if (stringsPart.isEmpty()) {
        stringsPart = QStringLiteral("xl/sharedStrings.xml");
        QDomElement rel = rels.createElement(QStringLiteral("Relationship"));
        rel.setAttribute(QStringLiteral("Id"), QStringLiteral("rIdStrings"));
        rel.setAttribute(QStringLiteral("Type"),
                         QStringLiteral("http://schemas.openxmlformats.org/officeDocument/"
                                        "2006/relationships/sharedStrings"));
        rel.setAttribute(QStringLiteral("Target"), QStringLiteral("sharedStrings.xml"));
        relsRoot.appendChild(rel);
        QDomElement override = types.createElement(QStringLiteral("Override"));
        override.setAttribute(QStringLiteral("PartName"), QStringLiteral("/xl/sharedStrings.xml"));
        override.setAttribute(QStringLiteral("ContentType"),
                              QStringLiteral("application/vnd.openxmlformats-"
                                             "officedocument.spreadsheetml.sharedStrings+xml"));
        typesRoot.appendChild(override);
    }
    SharedStrings strings(package_.part(stringsPart));

    QDomElement wbRoot = workbook.documentElement();
    if (relationPrefix(workbook).isEmpty()) wbRoot.setAttribute(QStringLiteral("xmlns:r"), kRelNs);
    QDomElement sheetsElement = firstChild(wbRoot, QStringLiteral("sheets"));
    while (!sheetsElement.firstChild().isNull())
        sheetsElement.removeChild(sheetsElement.firstChild());
    QDomElement definedNames = firstChild(wbRoot, QStringLiteral("definedNames"));
    if (!definedNames.isNull()) wbRoot.removeChild(definedNames);
    QDomElement view =
        firstChild(firstChild(wbRoot, QStringLiteral("bookViews")), QStringLiteral("workbookView"));
    if (!view.isNull()) {
        view.setAttribute(QStringLiteral("activeTab"), activeSheet);
        view.removeAttribute(QStringLiteral("firstSheet"));
    }

    for (size_t i = 0; i < sheets.size(); ++i) {
        const int number = int(i) + 1;
        const QString part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(number);
        const QString relId = QStringLiteral("rIdSheet%1").arg(number);

        QDomElement sheet = workbook.createElement(prefixOf(workbook) + QStringLiteral("sheet"));
        sheet.setAttribute(QStringLiteral("name"), sheets[i].name);
        sheet.setAttribute(QStringLiteral("sheetId"), number);
        sheet.setAttribute(relationPrefix(workbook) + QStringLiteral("id"), relId);
        sheetsElement.appendChild(sheet);

        QDomElement rel = rels.createElement(QStringLiteral("Relationship"));
        rel.setAttribute(QStringLiteral("Id"), relId);
        rel.setAttribute(QStringLiteral("Type"), kWorksheetType);
        rel.setAttribute(QStringLiteral("Target"), QStringLiteral("worksheets/sheet%1.xml").arg(number));
        relsRoot.appendChild(rel);

        QDomElement override = types.createElement(QStringLiteral("Override"));
        override.setAttribute(QStringLiteral("PartName"), QLatin1Char('/') + part);
        override.setAttribute(QStringLiteral("ContentType"), kWorksheetContent);
        typesRoot.appendChild(override);

        QDomDocument sheetDoc;
        parse(sheetDoc, protectBlankRuns(sheetXml_));
        QDomElement sheetData = firstChild(sheetDoc.documentElement(), QStringLiteral("sheetData"));
        if (sheetData.isNull()) {
            *reason = QStringLiteral("模板工作表没有数据区：%1").arg(QDir::toNativeSeparators(path_));
            return false;
        }
        const auto& rows = sheets[i].rows;
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                if (!rows[r][c].isNull())
                    setCell(sheetDoc, sheetData, int(r) + 1, int(c) + 1, rows[r][c], strings);
        QDomElement sheetView =
            firstChild(firstChild(sheetDoc.documentElement(), QStringLiteral("sheetViews")),
                       QStringLiteral("sheetView"));
        if (!sheetView.isNull()) {
            if (int(i) == activeSheet)
                sheetView.setAttribute(QStringLiteral("tabSelected"), 1);
            else
                sheetView.removeAttribute(QStringLiteral("tabSelected"));
        }
        out.setPart(part, restoreBlanks(sheetDoc.toString(-1)).toUtf8());
        if (!sheetRels_.isEmpty())
            out.setPart(QStringLiteral("xl/worksheets/_rels/sheet%1.xml.rels").arg(number), sheetRels_);
    }
    out.setPart(stringsPart, strings.xml());
    out.setPart(QStringLiteral("[Content_Types].xml"), types.toByteArray(-1));
    out.setPart(QStringLiteral("xl/workbook.xml"), workbook.toByteArray(-1));
    out.setPart(QStringLiteral("xl/_rels/workbook.xml.rels"), rels.toByteArray(-1));
    return out.write(path, reason);
}

} // namespace corvexa::office
