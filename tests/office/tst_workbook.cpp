// Workbooks written through the office layer and read back: plain exports of
// item models, and candidate sheets filled into copies of the shipped template.
#include "tableexport.h"
#include "workbook.h"
#include "workbookreader.h"
#include "zippackage.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

using namespace corvexa::office;

namespace {
QString templatePath(const QString& name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FixedReport/") + name;
}
const QString kStudentSheet = QStringLiteral("学生党员发展对象基本情况一览表.xlsx");

// Three members as a list shows them: caption column plus two sub-columns.
std::unique_ptr<QStandardItemModel> memberList() {
    auto model = std::make_unique<QStandardItemModel>(0, 3);
    model->setHorizontalHeaderLabels(
        {QStringLiteral("党员编号"), QStringLiteral("姓名"), QStringLiteral("入党日期")});
    model->appendRow({new QStandardItem(QStringLiteral("X01-000001")),
                      new QStandardItem(QStringLiteral("张三")),
                      new QStandardItem(QStringLiteral("2008-05-15"))});
    model->appendRow({new QStandardItem(QStringLiteral("X01-000002")),
                      new QStandardItem(QStringLiteral("李四")), new QStandardItem()});
    model->appendRow({new QStandardItem(QStringLiteral("X01-000003")),
                      new QStandardItem(QStringLiteral("王五")),
                      new QStandardItem(QStringLiteral("2007-12-01"))});
    return model;
}

// The column widths of a worksheet's part, in order.
QStringList columnWidths(const QByteArray& sheet) {
    static const QRegularExpression width(QStringLiteral("<col [^>]*width=\"([0-9.]+)\""));
    QStringList out;
    for (auto it = width.globalMatch(QString::fromUtf8(sheet)); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

// The style index of one cell in a worksheet's part.
QString styleOf(const QByteArray& sheet, const QString& ref) {
    const QRegularExpression cell(QStringLiteral("<c [^>]*r=\"%1\"[^>]*>").arg(ref));
    static const QRegularExpression style(QStringLiteral(" s=\"(\\d+)\""));
    return style.match(cell.match(QString::fromUtf8(sheet)).captured(0)).captured(1);
}

QStringList rowTexts(const WorkbookReader& reader, int row, int columns) {
    QStringList out;
    for (int c = 1; c <= columns; ++c)
        out << reader.cellText(row, c);
    return out;
}
} // namespace

class TestWorkbook : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        files_ = RecordingFileService();
    }

    void plainExportReadsBack() {
        auto model = memberList();
        QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        Workbook book({dir_->path(), &files_});
        QVERIFY(book.newSheet());
        book.setCell(1, 1, QStringLiteral("二级党组织："));
        book.setCell(1, 2, QStringLiteral("计算机学院党委"));
        QCOMPARE(exportModel(book, *model, {7, {}, {}}), 3);
        const OfficeResult result = book.release(QStringLiteral("现有党员"));
        QVERIFY2(result.ok, qPrintable(result.text()));
        QVERIFY(!book.isOpen());

        // Written once into the export folder under a telling name, then opened for the user.
        QCOMPARE(files_.opened, QStringList{result.path});
        QCOMPARE(QFileInfo(result.path).absolutePath(), QFileInfo(dir_->path()).absoluteFilePath());
        QVERIFY(QFileInfo(result.path).fileName().startsWith(QStringLiteral("现有党员_")));
        QVERIFY(result.path.endsWith(QStringLiteral(".xlsx")));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);

        WorkbookReader reader;
        const OfficeResult opened = reader.open(result.path);
        QVERIFY2(opened.ok, qPrintable(opened.text()));
        QCOMPARE(reader.sheetNames(), QStringList{QStringLiteral("Sheet1")});
        QCOMPARE(rowTexts(reader, 1, 2),
                 (QStringList{QStringLiteral("二级党组织："), QStringLiteral("计算机学院党委")}));
        QCOMPARE(rowTexts(reader, 7, 4), (QStringList{QStringLiteral("序号"), QStringLiteral("党员编号"),
                                                      QStringLiteral("姓名"), QStringLiteral("入党日期")}));
        QCOMPARE(rowTexts(reader, 8, 4), (QStringList{QStringLiteral("1"), QStringLiteral("X01-000001"),
                                                      QStringLiteral("张三"), QStringLiteral("2008-05-15")}));
        QCOMPARE(rowTexts(reader, 9, 4), (QStringList{QStringLiteral("2"), QStringLiteral("X01-000002"),
                                                      QStringLiteral("李四"), QString()}));
        QCOMPARE(reader.cellText(10, 3), QStringLiteral("王五"));
        QCOMPARE(reader.rowCount(), 10);
    }

    // A selection exports only its rows, numbered from 1; a column list picks and orders columns.
    void exportsChosenRowsAndColumns() {
        auto model = memberList();
        Workbook book({dir_->path(), nullptr});
        QVERIFY(book.newSheet());
        QCOMPARE(exportModel(book, *model, {4, {1, 0}, {2, 0}}), 2);
        QCOMPARE(book.cell(4, 2), QStringLiteral("姓名"));
        QCOMPARE(book.cell(4, 3), QStringLiteral("党员编号"));
        QCOMPARE(book.cell(5, 1), QStringLiteral("1"));
        QCOMPARE(book.cell(5, 2), QStringLiteral("王五"));
        QCOMPARE(book.cell(6, 1), QStringLiteral("2"));
        QCOMPARE(book.cell(6, 3), QStringLiteral("X01-000001"));
        QCOMPARE(book.cell(7, 1), QString());
    }

    void candidateSheetsFromTemplate_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("branchColumn");
        QTest::addColumn<int>("dateColumn");
        QTest::addColumn<QString>("lastHeading");
        QTest::newRow("students") << kStudentSheet << "学生党员发展对象基本情况一览表" << 7 << 14 << "N";
        QTest::newRow("staff") << "教工党员发展对象基本情况一览表.xlsx"
                               << "教工党员发展对象基本情况一览表" << 6 << 13 << "M";
    }
    // Eleven candidates, five per sheet, as the pre-review page writes them.
    void candidateSheetsFromTemplate() {
        QFETCH(QString, file);
        QFETCH(QString, title);
        QFETCH(int, branchColumn);
        QFETCH(int, dateColumn);
        QFETCH(QString, lastHeading);
        Workbook book({dir_->path(), &files_});
        QVERIFY(book.newBook());
        auto writeHeader = [&] {
            book.setCell(2, 1, QStringLiteral("计算机学院党委"));
            book.setCell(2, branchColumn, QStringLiteral("本科生第一党支部"));
            book.setCell(9, 1,
                         QStringLiteral("注：党支部现有申请入党人员  40 人，党员  12   人, 学生  300  人"));
            book.setCell(11, dateColumn, QStringLiteral("2008年5月15日"));
        };
        QVERIFY(book.addSheet(templatePath(file), 1, QStringLiteral("第1页")));
        writeHeader();
        int n = 0;
        for (int written = 0; written < 11; ++written) {
            if (n == 5) {
                const int k = written / 5 + 1;
                QVERIFY(book.addSheet(templatePath(file), k, QStringLiteral("第%1页").arg(k)));
                writeHeader();
                n = 0;
            }
            ++n;
            const QString id = QString::number(written + 1);
            book.setCell(3 + n, 1, QStringLiteral("2008-") + id);
            book.setCell(3 + n, 3, QStringLiteral("学生") + id);
            book.setCell(3 + n, 8, QStringLiteral("本科"));
        }
        const OfficeResult result = book.release(QStringLiteral("预审表"));
        QVERIFY2(result.ok, qPrintable(result.text()));

        WorkbookReader reader;
        const OfficeResult opened = reader.open(result.path);
        QVERIFY2(opened.ok, qPrintable(opened.text()));
        QCOMPARE(reader.sheetNames(),
                 (QStringList{QStringLiteral("第1页"), QStringLiteral("第2页"), QStringLiteral("第3页")}));
        for (int s = 0; s < 3; ++s) {
            QVERIFY(reader.selectSheet(s));
            // The template's own texts stay; the header cells are ours.
            QCOMPARE(reader.cellText(1, 1), title);
            QCOMPARE(reader.cellText(3, 1), QStringLiteral("入党志愿书编号"));
            QCOMPARE(reader.cellText(3, 3), QStringLiteral("姓名"));
            QCOMPARE(reader.cellText(2, 1), QStringLiteral("计算机学院党委"));
            QCOMPARE(reader.cellText(2, branchColumn - 1), QStringLiteral("党支部："));
            QCOMPARE(reader.cellText(2, branchColumn), QStringLiteral("本科生第一党支部"));
            QVERIFY(reader.cellText(9, 1).startsWith(QStringLiteral("注：党支部现有申请入党人员  40 人")));
            QCOMPARE(reader.cellText(11, dateColumn - 1), QStringLiteral("填表日期："));
            QCOMPARE(reader.cellText(11, dateColumn), QStringLiteral("2008年5月15日"));
            const int rows = s < 2 ? 5 : 1;
            for (int r = 1; r <= 5; ++r) {
                const QString expected = r <= rows ? QStringLiteral("学生%1").arg(s * 5 + r) : QString();
                QCOMPARE(reader.cellText(3 + r, 3), expected);
            }
        }

        // Borders, merged cells and widths come from the template: the copies
        // keep its merges, column widths and each cell's style.
        ZipPackage written, original;
        QString error;
        QVERIFY(written.read(result.path, &error));
        QVERIFY(original.read(templatePath(file), &error));
        const QByteArray sheet3 = written.part(QStringLiteral("xl/worksheets/sheet3.xml"));
        const QByteArray model = original.part(QStringLiteral("xl/worksheets/sheet1.xml"));
        for (const QString& merge : {QStringLiteral("A1:%1").arg(lastHeading + u'1'),
                                     QStringLiteral("A9:%1").arg(lastHeading + u'9')})
            QVERIFY(sheet3.contains(QStringLiteral("<mergeCell ref=\"%1\"/>").arg(merge).toUtf8()));
        QCOMPARE(columnWidths(sheet3), columnWidths(model));
        QVERIFY(!columnWidths(model).isEmpty());
        QVERIFY(!styleOf(model, QStringLiteral("C4")).isEmpty());
        for (const QString& ref :
             {QStringLiteral("A1"), QStringLiteral("C4"), lastHeading + u'8', QStringLiteral("A9")})
            QCOMPARE(styleOf(sheet3, ref), styleOf(model, ref));
        QVERIFY(!written.has(QStringLiteral("xl/worksheets/sheet4.xml")));
        // Every part is well-formed, and the package lists exactly our three sheets.
        for (const QString& name : written.names()) {
            if (!name.endsWith(QStringLiteral(".xml")) && !name.endsWith(QStringLiteral(".rels"))) continue;
            QXmlStreamReader xml(written.part(name));
            while (!xml.atEnd())
                xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(name + QStringLiteral(": ") + xml.errorString()));
        }
        const QByteArray types = written.part(QStringLiteral("[Content_Types].xml"));
        QCOMPARE(types.count("worksheet+xml"), 3);
        QVERIFY(!types.contains("app.xml"));
    }

    void failuresSayWhy_data() {
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing template") << "template";
        QTest::newRow("folder not writable") << "folder";
        QTest::newRow("no sheet") << "empty";
        QTest::newRow("template into plain book") << "mixed";
        QTest::newRow("sheet name Excel refuses") << "name";
    }
    void failuresSayWhy() {
        QFETCH(QString, failure);
        // A file where the folder should be: the folder cannot be made.
        QFile blocker(dir_->filePath(QStringLiteral("blocked")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString folder =
            failure == u"folder" ? blocker.fileName() + QStringLiteral("/out") : dir_->path();
        Workbook book({folder, &files_});
        OfficeResult result;
        if (failure == u"template") {
            QVERIFY(book.newBook());
            result = book.addSheet(dir_->filePath(QStringLiteral("没有这个模板.xlsx")), 1,
                                   QStringLiteral("第1页"));
            QVERIFY(result.reason.contains(QStringLiteral("没有这个模板.xlsx")));
        } else if (failure == u"folder") {
            QVERIFY(book.newSheet());
            book.setCell(1, 1, QStringLiteral("x"));
            result = book.release(QStringLiteral("导出"));
        } else if (failure == u"empty") {
            QVERIFY(book.newBook());
            result = book.release(QStringLiteral("导出"));
        } else if (failure == u"mixed") {
            QVERIFY(book.newSheet());
            result = book.addSheet(templatePath(kStudentSheet), 1, QStringLiteral("第1页"));
        } else {
            QVERIFY(book.newBook());
            result = book.addSheet(templatePath(kStudentSheet), 1, QStringLiteral("第1/2页"));
        }
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("打开Excel时出现错误！"));
        QVERIFY(!result.reason.isEmpty());
        QVERIFY(result.text().startsWith(QStringLiteral("打开Excel时出现错误！\n")));
        QVERIFY(files_.opened.isEmpty());
        // Nothing half-written is left in the export folder.
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("blocked")});
    }

    void exportNamesDoNotCollide() {
        const QDateTime when(QDate(2008, 5, 15), QTime(9, 30));
        const QString first =
            exportPath(dir_->path(), QStringLiteral("现有/党员"), QStringLiteral(".xlsx"), when);
        QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("现有_党员_20080515-093000.xlsx"));
        QFile(first).open(QIODevice::WriteOnly);
        QCOMPARE(
            QFileInfo(exportPath(dir_->path(), QStringLiteral("现有/党员"), QStringLiteral(".xlsx"), when))
                .fileName(),
            QStringLiteral("现有_党员_20080515-093000(2).xlsx"));
    }

private:
    std::unique_ptr<QTemporaryDir> dir_;
    RecordingFileService files_;
};

QTEST_MAIN(TestWorkbook)
#include "tst_workbook.moc"
