// The base frame's shared helpers: list and record-set exports into the
// current sheet, the record-count pane, selecting by caption and the
// check-list menu.
#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"
#include "frames/framebasic.h"
#include "office/fileservice.h"
#include "office/workbook.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QPieSeries>
#include <QTreeWidget>
#include <QtTest>

using namespace corvexa;
using namespace corvexa::client;

namespace {
// Rows of a record set without a server.
class FixedRows : public RecordSource {
public:
    OpenResult rows;
    OpenResult open(const QString&, const QCborMap&, const QString&) override { return rows; }
    ApplyOutcome apply(const QString&, const QCborMap&, const QString&, const QCborArray&) override {
        return {};
    }
};
} // namespace

class TestFrameBasic : public QObject {
    Q_OBJECT
    ScriptedMessageService m_messages;
    office::RecordingFileService m_files;
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;

    static QTreeWidget* list(QObject* owner) {
        auto* tree = new QTreeWidget;
        tree->setParent(nullptr);
        tree->setColumnCount(2);
        tree->setHeaderLabels({QStringLiteral("姓名"), QStringLiteral("支部")});
        tree->setSelectionMode(QAbstractItemView::ExtendedSelection);
        for (const char* name : {"张三", "李四", "王五"})
            new QTreeWidgetItem(tree, {QString::fromUtf8(name), QStringLiteral("第一支部")});
        QObject::connect(owner, &QObject::destroyed, tree, &QObject::deleteLater);
        return tree;
    }
    QStringList sheetRow(int row, int columns) {
        QStringList out;
        for (int c = 1; c <= columns; ++c)
            out << m_dm->excel()->cell(row, c);
        return out;
    }

private slots:
    void initTestCase() {
        installMessageService(&m_messages);
        office::installFileService(&m_files);
        m_dm =
            std::make_unique<TDM>(std::make_unique<SettingsStore>(m_dir.filePath(QStringLiteral("s.ini"))));
        m_dm->settings().setValue(QStringLiteral("ExportDir"), m_dir.filePath(QStringLiteral("out")));
    }
    void init() { m_messages.clear(); }

    // One selected row exports them all; two export only those, numbered 1 and 2.
    void exportListView_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one selected") << QList<int>{1} << QStringList{"张三", "李四", "王五"};
        QTest::newRow("two selected") << QList<int>{0, 2} << QStringList{"张三", "王五"};
    }
    void exportListView() {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, names);
        QObject owner;
        QTreeWidget* tree = list(&owner);
        for (int row : selected)
            tree->topLevelItem(row)->setSelected(true);
        QVERIFY(m_dm->ExcelNewSheet());
        TFrameBasic::ExportListView(tree, 6);
        QCOMPARE(sheetRow(6, 3), QStringList({"序号", "姓名", "支部"}));
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(sheetRow(7 + i, 3), QStringList({QString::number(i + 1), names[i], "第一支部"}));
        QCOMPARE(m_dm->excel()->cell(7 + int(names.size()), 1), QString());
        QCOMPARE(m_messages.shown().last().text, QStringLiteral("数据已经成功导出到Excel！"));
        m_dm->ExcelRelease(QStringLiteral("名单"));
        QVERIFY(m_dm->excel() == nullptr);
        QVERIFY(m_files.opened.last().endsWith(QStringLiteral(".xlsx")));
        QVERIFY(QFile::exists(m_files.opened.last()));
    }

    // Hidden fields leave no column; values as the export writes them.
    void exportDataSet() {
        FixedRows source;
        source.rows.rows.columns = {{QStringLiteral("DY_ID"), Value::Type::Text},
                                    {QStringLiteral("Name"), Value::Type::Text},
                                    {QStringLiteral("isLiuDong"), Value::Type::Bool},
                                    {QStringLiteral("RuDangRQ"), Value::Type::DateTime},
                                    {QStringLiteral("Per"), Value::Type::Double},
                                    {QStringLiteral("N"), Value::Type::Int}};
        source.rows.rows.rows = {
            {Value::fromText(QStringLiteral("X01-000001")), Value::fromText(QStringLiteral("张三")),
             Value::fromBool(false), Value(), Value::fromDouble(0.125), Value::fromInt(7)},
            {Value::fromText(QStringLiteral("X01-000002")), Value::fromText(QStringLiteral("李四")),
             Value::fromBool(true), Value::fromDateTime(QDateTime(QDate(2024, 5, 4), QTime(9, 30), Qt::UTC)),
             Value(), Value::fromInt(12)}};
        source.rows.hasRows = true;
        source.rows.columns = QList<ColumnInfo>(source.rows.rows.columns.size());
        RecordSet set(QStringLiteral("CDS_Test"), QStringLiteral("DSP_Test"), &source);
        set.setFieldVisible(QStringLiteral("DY_ID"), false);
        set.open();
        set.moveTo(1);
        QVERIFY(m_dm->ExcelNewSheet());
        TFrameBasic::ExportDataSet(set, 3);
        QCOMPARE(sheetRow(3, 6), QStringList({"序号", "Name", "isLiuDong", "RuDangRQ", "Per", "N"}));
        QCOMPARE(sheetRow(4, 6), QStringList({"1", "张三", "否", "", "0.13", "7"}));
        QCOMPARE(sheetRow(5, 6), QStringList({"2", "李四", "是", "2024-05-04", "", "12"}));
        QCOMPARE(set.currentRow(), 1);
        QVERIFY(!set.controlsDisabled());
        QVERIFY(m_messages.shown().isEmpty());
        m_dm->ExcelRelease();
    }

    // An export folder that cannot be written is told when the workbook is written.
    void unwritableFolderIsTold() {
        QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_dm->settings().setValue(QStringLiteral("ExportDir"), blocker.fileName() + QStringLiteral("/sub"));
        const qsizetype opened = m_files.opened.size();
        try {
            m_dm->ExcelNewSheet();
            m_dm->ExcelCell(1, 1, QStringLiteral("x"));
            m_dm->ExcelRelease();
        } catch (const EAbort&) {
        }
        m_dm->settings().setValue(QStringLiteral("ExportDir"), m_dir.filePath(QStringLiteral("out")));
        QCOMPARE(m_files.opened.size(), opened);
        QVERIFY(!m_messages.shown().isEmpty());
        QVERIFY(m_messages.shown().last().text.startsWith(QStringLiteral("打开Excel时出现错误！")));
    }

    void selectionHelpers() {
        QObject owner;
        QTreeWidget* tree = list(&owner);
        QString pane;
        setRecordCountSink([&](const QString& text) { pane = text; });
        tree->topLevelItem(0)->setSelected(true);
        tree->topLevelItem(2)->setSelected(true);
        TFrameBasic::ShowSelCount(tree);
        QCOMPARE(pane, QStringLiteral("选中记录条数：2/3"));
        TFrameBasic::SelectItemByCaption(QStringLiteral("李四"), tree);
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{tree->topLevelItem(1)});
        TFrameBasic::SelectItemByCaption(QStringLiteral("无此人"), tree);
        QCOMPARE(tree->selectedItems(), QList<QTreeWidgetItem*>{tree->topLevelItem(1)});
        setRecordCountSink({});
    }

    // Label styles on the slices of a chart, and the chart saved as a bitmap.
    void chartLabels_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QString>("label");
        QTest::newRow("value") << int(TFrameBasic::LabelValue) << "3";
        QTest::newRow("percent") << int(TFrameBasic::LabelPercent) << "75.00%";
        QTest::newRow("title") << int(TFrameBasic::LabelTitle) << "男";
        QTest::newRow("title and percent") << int(TFrameBasic::LabelTitlePercent) << "男 75.00%";
        QTest::newRow("title and value") << int(TFrameBasic::LabelTitleValue) << "男 3";
    }
    void chartLabels() {
        QFETCH(int, style);
        QFETCH(QString, label);
        auto* series = new QPieSeries;
        series->append(QStringLiteral("男"), 3);
        series->append(QStringLiteral("女"), 1);
        QChartView view;
        view.chart()->addSeries(series);
        QCOMPARE(TFrameBasic::labelStyle(&view), int(TFrameBasic::LabelValue));
        TFrameBasic::applyLabelStyle(&view, TFrameBasic::LabelTitleValue); // the title is kept across styles
        TFrameBasic::applyLabelStyle(&view, style);
        QCOMPARE(series->slices().at(0)->label(), label);
        QCOMPARE(TFrameBasic::labelStyle(&view), style);
    }
    // Bars show the same texts, each over its own bar, titled by its category.
    void barLabels() {
        auto* set = new QBarSet(QStringLiteral("人数"));
        *set << 3 << 1;
        auto* series = new QBarSeries;
        series->append(set);
        QChartView view;
        view.resize(400, 300);
        view.chart()->addSeries(series);
        auto* axis = new QBarCategoryAxis;
        axis->append({QStringLiteral("男"), QStringLiteral("女")});
        view.chart()->addAxis(axis, Qt::AlignBottom);
        series->attachAxis(axis);
        TFrameBasic::applyLabelStyle(&view, TFrameBasic::LabelTitlePercent);
        QCOMPARE(TFrameBasic::barLabels(&view), QStringList({"男 75.00%", "女 25.00%"}));
        if (const QString shots = qEnvironmentVariable("CORVEXA_SCREENSHOTS"); !shots.isEmpty()) {
            view.show();
            QTest::qWait(50);
            view.grab().save(shots + QStringLiteral("/barlabels.png"));
        }
        TFrameBasic::applyLabelStyle(&view, TFrameBasic::LabelValue);
        QCOMPARE(TFrameBasic::barLabels(&view), QStringList({"3", "1"}));
    }
    void chartPicture() {
        QChartView view;
        view.resize(300, 200);
        m_files.saveAnswers = {m_dir.filePath(QStringLiteral("chart"))};
        QVERIFY(TFrameBasic::saveChartPicture(&view, nullptr));
        QCOMPARE(m_files.asked.last(), QStringLiteral("保存图片"));
        QImage saved(m_dir.filePath(QStringLiteral("chart.bmp")), "BMP");
        QVERIFY(!saved.isNull());
        m_files.saveAnswers = {QString()}; // cancelled
        QVERIFY(!TFrameBasic::saveChartPicture(&view, nullptr));
    }

    // 全选, 全不选, 反选, 勾选加亮的行.
    void checkListCommands_data() {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("checks");
        QTest::newRow("all") << 0 << "111";
        QTest::newRow("none") << 1 << "000";
        QTest::newRow("invert") << 2 << "010";
        QTest::newRow("highlighted") << 3 << "001";
    }
    void checkListCommands() {
        QFETCH(int, command);
        QFETCH(QString, checks);
        QObject owner;
        QTreeWidget* tree = list(&owner);
        const Qt::CheckState start[] = {Qt::Checked, Qt::Unchecked, Qt::Checked};
        for (int i = 0; i < 3; ++i)
            tree->topLevelItem(i)->setCheckState(0, start[i]);
        tree->topLevelItem(2)->setSelected(true);
        TFrameBasic::applyCheckListCommand(tree, command);
        QString got;
        for (int i = 0; i < 3; ++i)
            got += tree->topLevelItem(i)->checkState(0) == Qt::Checked ? u'1' : u'0';
        QCOMPARE(got, checks);
    }
};

QTEST_MAIN(TestFrameBasic)
#include "tst_framebasic.moc"
