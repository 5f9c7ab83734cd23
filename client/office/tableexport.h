#pragma once
// A list exported into the current sheet with one shared layout: the start row
// holds "序号" and the column captions, each following row a running number
// and the row's texts. Lists and record sets both arrive as item models.
#include "workbook.h"

#include <QList>

class QAbstractItemModel;

namespace corvexa::office {

struct TableExport {
    int startRow = 1;
    QList<int> columns; // model columns to export, in this order; empty: all
    QList<int> rows;    // model rows to export, in this order; empty: all
};

// Captions come from the horizontal header, texts from the display role; an
// empty or invalid value leaves its cell blank. Returns the number of rows written.
int exportModel(Workbook& book, const QAbstractItemModel& model, const TableExport& layout = {});

} // namespace corvexa::office
