#pragma once
// A workbook whose sheets are copies of the first sheet of one template .xlsx:
// the template's package is kept, its worksheets replaced by the filled copies.
#include "workbook.h"
#include "zippackage.h"

#include <QDomDocument>
#include <QString>

namespace corvexa::office {

class TemplateBook {
public:
    // Reads the template; false with the reason when it cannot serve.
    bool load(const QString& templatePath, QString* reason);
    QString templatePath() const { return path_; }
    // Writes the sheets (all made from this template) as one workbook.
    bool write(const QString& path, const std::vector<Workbook::Sheet>& sheets, int activeSheet,
               QString* reason) const;

private:
    QString path_;
    ZipPackage package_;
    QString sheetPart_; // e.g. "xl/worksheets/sheet1.xml"
    QByteArray sheetXml_;
    QByteArray sheetRels_; // the sheet's own relationships, if any
};

// "A" for 1, "AA" for 27.
QString columnLetters(int column);

} // namespace corvexa::office
