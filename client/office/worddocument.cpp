#include "worddocument.h"

#include "xmlblanks.h"

#include <QDir>
#include <QFileInfo>

namespace corvexa::office {
namespace {

// Parsed without namespace processing, so that writing the document back
// keeps its prefixes and declarations exactly; names are matched by their
// local part and new elements take the prefix of the document's root.
QStringView localPart(const QString& name) {
    const qsizetype colon = name.indexOf(QLatin1Char(':'));
    return colon < 0 ? QStringView(name) : QStringView(name).mid(colon + 1);
}

bool is(const QDomNode& node, const char* localName) {
    return node.isElement() && localPart(node.toElement().tagName()) == QLatin1String(localName);
}

QString prefixOf(const QDomDocument& doc) {
    const QString root = doc.documentElement().tagName();
    const qsizetype colon = root.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : root.left(colon + 1);
}

QDomElement ancestor(QDomNode node, const char* localName) {
    for (; !node.isNull(); node = node.parentNode())
        if (is(node, localName)) return node.toElement();
    return {};
}

QList<QDomElement> children(const QDomElement& parent, const char* localName) {
    QList<QDomElement> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (is(e, localName)) out << e;
    return out;
}

bool inside(const QDomNode& outer, QDomNode node) {
    for (; !node.isNull(); node = node.parentNode())
        if (node == outer) return true;
    return false;
}

// The next node in document order that is not inside `node`.
QDomNode nextOutside(QDomNode node) {
    while (!node.isNull()) {
        if (!node.nextSibling().isNull()) return node.nextSibling();
        node = node.parentNode();
    }
    return {};
}

QDomNode nextInOrder(const QDomNode& node) {
    if (!node.firstChild().isNull()) return node.firstChild();
    return nextOutside(node);
}

void setText(QDomElement& t, const QString& text) {
    while (!t.firstChild().isNull())
        t.removeChild(t.firstChild());
    t.appendChild(t.ownerDocument().createTextNode(text));
    t.setAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
}

QString paragraphText(const QDomElement& paragraph) {
    QString text;
    if (paragraph.isNull()) return text;
    for (QDomNode n = paragraph.firstChild(); !n.isNull() && inside(paragraph, n); n = nextInOrder(n))
        if (is(n, "t")) text += n.toElement().text();
    return restoreBlanks(text);
}

// A run carrying the text, in the character format of the paragraph mark.
QDomElement makeRun(QDomDocument& doc, const QDomElement& paragraph, const QString& text) {
    QDomElement run = doc.createElement(prefixOf(doc) + QStringLiteral("r"));
    for (const QDomElement& pPr : children(paragraph, "pPr"))
        for (const QDomElement& rPr : children(pPr, "rPr"))
            run.appendChild(rPr.cloneNode(true));
    QDomElement t = doc.createElement(prefixOf(doc) + QStringLiteral("t"));
    setText(t, text);
    run.appendChild(t);
    return run;
}
} // namespace

WordDocument::WordDocument(OutputTarget target) : target_(std::move(target)) {}

OfficeResult WordDocument::newDocument(const QString& templatePath) {
    discard();
    QString reason;
    if (!QFileInfo::exists(templatePath))
        return OfficeResult::failure(
            kWordOpenError, QStringLiteral("找不到模板文件：%1").arg(QDir::toNativeSeparators(templatePath)));
    if (!package_.read(templatePath, &reason)) return OfficeResult::failure(kWordOpenError, reason);
    if (!document_.setContent(protectBlankRuns(package_.part(QStringLiteral("word/document.xml"))), false))
        return OfficeResult::failure(
            kWordOpenError,
            QStringLiteral("模板不是有效的Word文档：%1").arg(QDir::toNativeSeparators(templatePath)));
    // No spelling or grammar marks over the filled-in names and numbers.
    QDomDocument settings;
    if (settings.setContent(package_.part(QStringLiteral("word/settings.xml")), false)) {
        QDomElement root = settings.documentElement();
        for (const char* flag : {"hideSpellingErrors", "hideGrammaticalErrors"}) {
            if (children(root, flag).isEmpty())
                root.insertBefore(settings.createElement(prefixOf(settings) + QLatin1String(flag)),
                                  root.firstChild());
        }
        package_.setPart(QStringLiteral("word/settings.xml"), settings.toByteArray(-1));
    }
    open_ = true;
    return OfficeResult::success();
}

QDomElement WordDocument::bookmark(const QString& name) const {
    const QDomNodeList starts = const_cast<QDomDocument&>(document_).elementsByTagName(
        prefixOf(document_) + QStringLiteral("bookmarkStart"));
    for (int i = 0; i < starts.size(); ++i) {
        QDomElement e = starts.at(i).toElement();
        if (e.attribute(prefixOf(document_) + QStringLiteral("name")) == name) return e;
    }
    return {};
}

bool WordDocument::gotoBookmark(const QString& name) {
    QDomElement start = bookmark(name);
    if (start.isNull()) return false;
    selectionAnchor_ = start;
    selectionText_ = QDomElement();
    selectionOffset_ = 0;
    const QDomElement paragraph = ancestor(start, "p");
    for (QDomNode n = nextOutside(start); !n.isNull(); n = nextInOrder(n)) {
        if (!paragraph.isNull() && !inside(paragraph, n)) break;
        if (is(n, "t") && !n.toElement().text().isEmpty()) {
            selectionText_ = n.toElement();
            break;
        }
    }
    return true;
}

bool WordDocument::fillBookmark(const QString& name, const QString& text) {
    if (!open_) return false;
    if (!name.trimmed().isEmpty() && !gotoBookmark(name.trimmed())) return false;
    if (selectionAnchor_.isNull()) return false;
    const QString typed = text.isEmpty() ? QStringLiteral("  ") : text;
    if (!selectionText_.isNull()) {
        QString current = restoreBlanks(selectionText_.text());
        current.replace(selectionOffset_, 1, typed);
        setText(selectionText_, current);
    } else {
        // Nothing follows the bookmark: the text goes right after it.
        QDomElement paragraph = ancestor(selectionAnchor_, "p");
        QDomElement run = makeRun(document_, paragraph, typed);
        selectionAnchor_.parentNode().insertAfter(run, selectionAnchor_);
        selectionText_ = run.lastChildElement();
        selectionOffset_ = 0;
    }
    // Like typing: the selection collapses behind the text.
    selectionOffset_ += int(typed.size());
    return true;
}

int WordDocument::insertRows(int n) {
    if (!open_ || n < 1) return 0;
    QDomNode at = selectionText_.isNull() ? QDomNode(selectionAnchor_) : QDomNode(selectionText_);
    QDomElement row = ancestor(at, "tr");
    if (row.isNull()) return 0;
    QDomElement empty = row.cloneNode(true).toElement();
    // The copies are empty: no text, and no second copy of a bookmark.
    for (QDomElement cell : children(empty, "tc")) {
        QList<QDomElement> paragraphs = children(cell, "p");
        for (int i = 0; i < paragraphs.size(); ++i) {
            if (i > 0) {
                cell.removeChild(paragraphs[i]);
                continue;
            }
            for (QDomNode c = paragraphs[i].firstChild(); !c.isNull();) {
                QDomNode next = c.nextSibling();
                if (!is(c, "pPr")) paragraphs[i].removeChild(c);
                c = next;
            }
        }
    }
    QDomNode after = row;
    for (int i = 0; i < n; ++i)
        after = row.parentNode().insertAfter(empty.cloneNode(true), after);
    return n;
}

QDomElement WordDocument::tableCell(int table, int row, int column) const {
    if (!open_ || table < 1 || row < 1 || column < 1) return {};
    const QDomNodeList tables =
        const_cast<QDomDocument&>(document_).elementsByTagName(prefixOf(document_) + QStringLiteral("tbl"));
    int seen = 0;
    for (int i = 0; i < tables.size(); ++i) {
        QDomElement t = tables.at(i).toElement();
        if (!ancestor(t.parentNode(), "tbl").isNull()) continue; // tables inside cells do not count
        if (++seen != table) continue;
        const auto rows = children(t, "tr");
        if (row > rows.size()) return {};
        const auto cells = children(rows[row - 1], "tc");
        return column <= cells.size() ? cells[column - 1] : QDomElement();
    }
    return {};
}

bool WordDocument::setCell(int table, int row, int column, const QString& text) {
    QDomElement cell = tableCell(table, row, column);
    if (cell.isNull()) return false;
    const QList<QDomElement> paragraphs = children(cell, "p");
    QDomElement paragraph;
    if (paragraphs.isEmpty()) {
        paragraph = document_.createElement(prefixOf(document_) + QStringLiteral("p"));
        cell.appendChild(paragraph);
    } else {
        paragraph = paragraphs.first();
        for (int i = 1; i < paragraphs.size(); ++i)
            cell.removeChild(paragraphs[i]);
    }
    // Runs go; paragraph format and bookmarks stay.
    for (QDomNode c = paragraph.firstChild(); !c.isNull();) {
        QDomNode next = c.nextSibling();
        if (!is(c, "pPr") && !is(c, "bookmarkStart") && !is(c, "bookmarkEnd")) paragraph.removeChild(c);
        c = next;
    }
    if (!text.isEmpty()) paragraph.appendChild(makeRun(document_, paragraph, text));
    return true;
}

QString WordDocument::cellText(int table, int row, int column) const {
    QDomElement cell = tableCell(table, row, column);
    QStringList lines;
    for (const QDomElement& p : children(cell, "p"))
        lines << paragraphText(p);
    return lines.join(QLatin1Char('\n'));
}

int WordDocument::tableRowCount(int table) const {
    int rows = 0;
    while (!tableCell(table, rows + 1, 1).isNull())
        ++rows;
    return rows;
}

QString WordDocument::bookmarkParagraphText(const QString& name) const {
    return paragraphText(ancestor(bookmark(name), "p"));
}

OfficeResult WordDocument::release(const QString& subject) {
    if (!open_) return OfficeResult::failure(kWordOpenError, QStringLiteral("没有打开的文档"));
    QString reason;
    if (!prepareFolder(target_.folder, &reason)) {
        discard();
        return OfficeResult::failure(kWordOpenError, reason);
    }
    package_.setPart(QStringLiteral("word/document.xml"), restoreBlanks(document_.toString(-1)).toUtf8());
    const QString path = exportPath(target_.folder, subject, QStringLiteral(".docx"));
    const bool written = package_.write(path, &reason);
    discard();
    if (!written) return OfficeResult::failure(kWordOpenError, reason);
    if (target_.files) target_.files->openForUser(path);
    return OfficeResult::success(path);
}

void WordDocument::discard() {
    open_ = false;
    package_ = ZipPackage();
    document_ = QDomDocument();
    selectionText_ = QDomElement();
    selectionAnchor_ = QDomElement();
    selectionOffset_ = 0;
}

} // namespace corvexa::office
