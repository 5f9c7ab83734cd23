#pragma once
// The spreadsheet input of the import: the user's workbook (.xlsx, .ods, .csv
// or legacy .xls) is read whole; one sheet is chosen and its cells are read as
// the import expects them: text as typed, numbers in their default text form
// ("12", "3.5"), dates as "yyyy-MM-dd" (with " HH:mm:ss" when they carry a time).
#include "fileservice.h"
#include "officeresult.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace corvexa::office {

class WorkbookReader {
public:
    // Failures report the import's message followed by the reason.
    OfficeResult open(const QString& path);
    void close();

    QStringList sheetNames() const;
    // 0-based; the first sheet is chosen when a workbook opens.
    bool selectSheet(int index);
    int currentSheet() const { return current_; }
    // 1-based row and column of the chosen sheet; empty outside its cells.
    QString cellText(int row, int column) const;
    int rowCount() const;    // last used row of the chosen sheet
    int columnCount() const; // last used column of the chosen sheet

    struct Sheet {
        QString name;
        QHash<quint64, QString> cells; // key: (row << 16) | column, both 1-based
        int rows = 0;
        int columns = 0;
        void set(int row, int column, const QString& text);
    };

private:
    std::vector<Sheet> sheets_;
    int current_ = -1;
};

// Asks the user for a workbook through the file service and opens it; a
// cancelled choice fails with no message (nothing to show).
OfficeResult attachWorkbook(WorkbookReader& reader, FileService& files, QWidget* parent = nullptr);

// The default text of a number: up to 15 significant digits, no exponent for
// everyday magnitudes, no trailing zeros ("12", "0.1", "13812345678").
QString numberText(double value);

} // namespace corvexa::office
