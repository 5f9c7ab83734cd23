// Writing a long export cell by cell through the office layer, against
// libxlsxwriter writing the same cells directly.
//
//   build/bin/bench_office [rows] [columns]      (default 20000 × 25)
#include "workbook.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <xlsxwriter.h>

using namespace corvexa::office;

namespace {
QString cellText(int row, int column) {
    switch (column % 4) {
    case 0:
        return QStringLiteral("X01-%1").arg(row, 6, 10, QLatin1Char('0'));
    case 1:
        return QStringLiteral("党员%1").arg(row);
    case 2:
        return QString::number(row * 7 + column);
    default:
        return QStringLiteral("2008-05-%1").arg(row % 28 + 1, 2, 10, QLatin1Char('0'));
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 20000;
    const int columns = argc > 2 ? std::atoi(argv[2]) : 25;
    QTemporaryDir dir;

    QElapsedTimer timer;
    timer.start();
    Workbook book({dir.path(), nullptr});
    book.newSheet();
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            book.setCell(r, c, cellText(r, c));
    const OfficeResult result = book.release(QStringLiteral("bench"));
    const qint64 layer = timer.elapsed();
    if (!result) {
        std::fprintf(stderr, "%s\n", qPrintable(result.text()));
        return 1;
    }

    timer.restart();
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("direct.xlsx")));
    lxw_workbook* direct = workbook_new(path.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(direct, nullptr);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= columns; ++c)
            worksheet_write_string(sheet, lxw_row_t(r - 1), lxw_col_t(c - 1),
                                   cellText(r, c).toUtf8().constData(), nullptr);
    workbook_close(direct);
    const qint64 plain = timer.elapsed();

    std::printf("%d rows x %d columns: office layer %lld ms, libxlsxwriter directly %lld ms, ratio %.2f\n",
                rows, columns, static_cast<long long>(layer), static_cast<long long>(plain),
                plain > 0 ? double(layer) / double(plain) : 0.0);
    return 0;
}
