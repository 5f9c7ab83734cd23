#pragma once
// The spreadsheet output of the exports. Cells are written as text by 1-based
// row and column into the current sheet; release writes the workbook as .xlsx
// into the export folder and hands it to the user, who sees it open as before.
//
// A workbook is either plain (newSheet) or made of sheets copied from one
// template workbook (newBook + addSheet), which keep the template's titles,
// borders, merged cells and column widths.
#include "officeresult.h"
#include "outputfolder.h"

#include <QString>
#include <memory>
#include <vector>

namespace corvexa::office {

class TemplateBook;

class Workbook {
public:
    explicit Workbook(OutputTarget target);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    // A new workbook with one empty sheet, which becomes the current sheet.
    OfficeResult newSheet();
    // A new workbook without sheets; addSheet gives it its sheets.
    OfficeResult newBook();
    // Inserts a copy of the template's first sheet before the sheet at `index`
    // (1-based), makes it the current sheet and names it `name`.
    OfficeResult addSheet(const QString& templatePath, int index, const QString& name);

    // Ignored without a current sheet, or outside 1..1048576 × 1..16384.
    void setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;

    int sheetCount() const { return int(sheets_.size()); }
    QString sheetName(int index) const; // 1-based
    int currentSheet() const { return current_ + 1; }
    bool isOpen() const { return open_; }

    // Writes the workbook as "<subject>_<time>.xlsx" in the export folder and
    // opens it for the user; the workbook is closed afterwards either way.
    OfficeResult release(const QString& subject);
    // Closes the workbook without writing anything.
    void discard();

    struct Sheet {
        QString name;
        bool fromTemplate = false;
        std::vector<std::vector<QString>> rows; // [row-1][column-1]
    };

private:
    OfficeResult writePlain(const QString& path) const;

    OutputTarget target_;
    bool open_ = false;
    std::vector<Sheet> sheets_;
    int current_ = -1;
    std::unique_ptr<TemplateBook> template_;
};

} // namespace corvexa::office
