#pragma once
// The document output (the transfer registration form): a copy of a .docx
// template whose bookmarks and table cells are filled, written on release into
// the export folder and opened for the user.
//
// The template holds each bookmark right before one placeholder character;
// going to a bookmark selects that character, filling it types over it.
#include "officeresult.h"
#include "outputfolder.h"
#include "zippackage.h"

#include <QDomDocument>
#include <QString>

namespace corvexa::office {

class WordDocument {
public:
    explicit WordDocument(OutputTarget target);

    OfficeResult newDocument(const QString& templatePath);
    bool isOpen() const { return open_; }

    // Selects the character after the bookmark; false when there is no such bookmark.
    bool gotoBookmark(const QString& name);
    // Goes to the bookmark when the trimmed name is not empty, then types the
    // text over the selection (two blanks for an empty text).
    bool fillBookmark(const QString& name, const QString& text);
    // Inserts n empty copies of the table row holding the selection below it;
    // returns the number of rows inserted (0 when n < 1 or outside a table).
    int insertRows(int n);

    // 1-based table (in document order), row and cell.
    bool setCell(int table, int row, int column, const QString& text);
    QString cellText(int table, int row, int column) const;
    int tableRowCount(int table) const;
    // The text of the paragraph holding the bookmark, for checking what a fill wrote.
    QString bookmarkParagraphText(const QString& name) const;

    // Writes "<subject>_<time>.docx" into the export folder and opens it for
    // the user; the document is closed afterwards either way.
    OfficeResult release(const QString& subject);
    void discard();

private:
    QDomElement bookmark(const QString& name) const;
    QDomElement tableCell(int table, int row, int column) const;

    OutputTarget target_;
    bool open_ = false;
    ZipPackage package_;
    QDomDocument document_;
    QDomElement selectionText_; // the w:t holding the selected character
    int selectionOffset_ = 0;
    QDomElement selectionAnchor_; // the bookmark the selection started from
};

} // namespace corvexa::office
