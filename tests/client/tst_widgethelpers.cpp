// Helpers for the screens' controls: the numeric key filter, the grid-cell
// painter, list sorting and finding.
#include "data/helpers.h"
#include "data/widgethelpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTreeWidget>
#include <QtTest>

using namespace corvexa::client;

class TestWidgetHelpers : public QObject {
    Q_OBJECT
private slots:
    void numKeyFilter() {
        QLineEdit edit;
        NumKeyFilter filter;
        edit.installEventFilter(&filter);
        QTest::keyClicks(&edit, QStringLiteral("43a0-1.5x"));
        QCOMPARE(edit.text(), QStringLiteral("4301.5"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("4301."));
    }

    // Backgrounds of grid cells: stripes, the read-only column, selection.
    void gridCellBackground_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("editable");
        QTest::addColumn<bool>("striped");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("colour");
        const QPalette palette = QApplication::palette();
        QTest::newRow("odd row, striped") << 1 << true << true << false << QColor(192, 220, 192);
        QTest::newRow("even row") << 2 << true << true << false << palette.color(QPalette::ToolTipBase);
        QTest::newRow("odd row, not striped")
            << 1 << true << false << false << palette.color(QPalette::ToolTipBase);
        QTest::newRow("read-only column") << 1 << false << true << false << QColor(Qt::yellow);
        QTest::newRow("selected") << 1 << false << true << true << palette.color(QPalette::Highlight);
    }
    void gridCellBackground() {
        QFETCH(int, row);
        QFETCH(bool, editable);
        QFETCH(bool, striped);
        QFETCH(bool, selected);
        QFETCH(QColor, colour);
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        GridCellDelegate::DrawGridCell(&painter, row, image.rect(), editable, QStringLiteral("2"),
                                       selected ? QStyle::State_Selected : QStyle::State_None, striped,
                                       QStringLiteral("12"), QApplication::palette());
        painter.end();
        QCOMPARE(image.pixelColor(1, 1), colour);
    }

    void listSortingAndFinding() {
        QTreeWidget list;
        list.setColumnCount(2);
        for (auto [name, count] : {std::pair{"beta", "10"}, {"Alpha", "9"}, {"gamma", ""}, {"alpha2", "2"}})
            list.addTopLevelItem(
                new QTreeWidgetItem({QString::fromLatin1(name), QString::fromLatin1(count)}));
        ListSorter sorter(&list, {1});
        auto column = [&](int c) {
            QStringList out;
            for (int i = 0; i < list.topLevelItemCount(); ++i)
                out << list.topLevelItem(i)->text(c);
            return out;
        };
        sorter.sortBy(1); // the first click sorts descending
        QCOMPARE(column(1), QStringList({"10", "9", "2", ""}));
        sorter.sortBy(1); // the same header again: the other way
        QCOMPARE(column(1), QStringList({"", "2", "9", "10"}));
        sorter.sortBy(0); // each column keeps its own direction
        QCOMPARE(column(0), QStringList({"gamma", "beta", "alpha2", "Alpha"}));
        sorter.sortBy(0);
        QCOMPARE(column(0), QStringList({"Alpha", "alpha2", "beta", "gamma"}));
        QCOMPARE(FindListItem(&list, QStringLiteral(" beta ")), list.topLevelItem(2));
        QCOMPARE(FindListItem(&list, QStringLiteral("BETA")), nullptr);
    }
};

QTEST_MAIN(TestWidgetHelpers)
#include "tst_widgethelpers.moc"
