#include "tableexport.h"

#include <QAbstractItemModel>

namespace corvexa::office {

int exportModel(Workbook& book, const QAbstractItemModel& model, const TableExport& layout) {
    QList<int> columns = layout.columns;
    if (columns.isEmpty())
        for (int c = 0; c < model.columnCount(); ++c)
            columns << c;
    QList<int> rows = layout.rows;
    if (rows.isEmpty())
        for (int r = 0; r < model.rowCount(); ++r)
            rows << r;

    book.setCell(layout.startRow, 1, QStringLiteral("序号"));
    for (int i = 0; i < columns.size(); ++i)
        book.setCell(layout.startRow, i + 2, model.headerData(columns[i], Qt::Horizontal).toString());
    int written = 0;
    for (int r : rows) {
        if (r < 0 || r >= model.rowCount()) continue;
        ++written;
        const int sheetRow = layout.startRow + written;
        book.setCell(sheetRow, 1, QString::number(written));
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant value = model.data(model.index(r, columns[i]), Qt::DisplayRole);
            if (value.isValid() && !value.isNull()) book.setCell(sheetRow, i + 2, value.toString());
        }
    }
    return written;
}

} // namespace corvexa::office
