// Reading the user's workbooks for the import: the same small table as .xlsx,
// .ods, .csv and legacy .xls comes back as the import expects it.
#include "workbookreader.h"
#include "zippackage.h"

#include <QTemporaryDir>
#include <QtTest>
#include <xlsxwriter.h>

using namespace corvexa::office;

namespace {
const QStringList kHeader = {QStringLiteral("姓名"), QStringLiteral("出生日期"), QStringLiteral("年龄"),
                             QStringLiteral("身高"), QStringLiteral("手机")};

// Dates with a built-in format in one row and a format of the workbook's own in the other.
QString writeXlsx(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(file.constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "党员");
    workbook_add_worksheet(book, "空表");
    lxw_format* builtinDate = workbook_add_format(book);
    format_set_num_format_index(builtinDate, 14);
    lxw_format* ownDate = workbook_add_format(book);
    format_set_num_format(ownDate, "yyyy\"年\"m\"月\"d\"日\"");
    lxw_format* decimals = workbook_add_format(book);
    format_set_num_format(decimals, "0.00");
    for (int c = 0; c < kHeader.size(); ++c)
        worksheet_write_string(sheet, 0, lxw_col_t(c), kHeader[c].toUtf8().constData(), nullptr);
    worksheet_write_string(sheet, 1, 0, "张三", nullptr);
    lxw_datetime born{1990, 1, 15, 0, 0, 0};
    worksheet_write_datetime(sheet, 1, 1, &born, builtinDate);
    worksheet_write_number(sheet, 1, 2, 18, nullptr);
    worksheet_write_number(sheet, 1, 3, 1.75, decimals);
    worksheet_write_number(sheet, 1, 4, 13812345678.0, nullptr);
    worksheet_write_string(sheet, 2, 0, "李四", nullptr);
    lxw_datetime joined{2008, 5, 15, 0, 0, 0};
    worksheet_write_datetime(sheet, 2, 1, &joined, ownDate);
    workbook_close(book);
    return path;
}

QString writeOds(const QString& path) {
    auto cell = [](const QString& type, const QString& value, const QString& shown) {
        if (type == u"string")
            return QStringLiteral("<table:table-cell "
                                  "office:value-type=\"string\"><text:p>%1</text:p></table:table-cell>")
                .arg(shown);
        const QString attribute =
            type == u"date" ? QStringLiteral("office:date-value") : QStringLiteral("office:value");
        return QStringLiteral("<table:table-cell office:value-type=\"%1\" "
                              "%2=\"%3\"><text:p>%4</text:p></table:table-cell>")
            .arg(type, attribute, value, shown);
    };
    QString header;
    for (const QString& h : kHeader)
        header += cell(QStringLiteral("string"), {}, h);
    const QString content =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" office:version=\"1.2\">"
            "<office:body><office:spreadsheet><table:table table:name=\"党员\">"
            "<table:table-row>%1</table:table-row><table:table-row>%2</table:table-row>"
            "<table:table-row>%3</table:table-row></table:table><table:table table:name=\"空表\"/>"
            "</office:spreadsheet></office:body></office:document-content>")
            .arg(header,
                 cell(QStringLiteral("string"), {}, QStringLiteral("张三")) +
                     cell(QStringLiteral("date"), QStringLiteral("1990-01-15"), QStringLiteral("1990/1/15")) +
                     cell(QStringLiteral("float"), QStringLiteral("18"), QStringLiteral("18")) +
                     cell(QStringLiteral("float"), QStringLiteral("1.75"), QStringLiteral("1.75")) +
                     cell(QStringLiteral("float"), QStringLiteral("13812345678"),
                          QStringLiteral("13812345678")),
                 cell(QStringLiteral("string"), {}, QStringLiteral("李四")) +
                     cell(QStringLiteral("date"), QStringLiteral("2008-05-15"),
                          QStringLiteral("2008年5月15日")));
    ZipPackage ods;
    ods.setPart(QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet");
    ods.setPart(
        QStringLiteral("META-INF/manifest.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><manifest:manifest "
        "xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\"><manifest:file-entry "
        "manifest:full-path=\"/\" manifest:media-type=\"application/vnd.oasis.opendocument.spreadsheet\"/>"
        "<manifest:file-entry manifest:full-path=\"content.xml\" manifest:media-type=\"text/xml\"/>"
        "</manifest:manifest>");
    ods.setPart(QStringLiteral("content.xml"), content.toUtf8());
    QString error;
    if (!ods.write(path, &error)) qWarning() << error;
    return path;
}

QString writeCsv(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("姓名,出生日期,年龄,身高,手机\n张三,1990-01-15,18,1.75,13812345678\n李四,2008-05-15,,,\n");
    return path;
}
} // namespace

class TestWorkbookReader : public QObject {
    Q_OBJECT
private slots:
    void readsAsTheImportExpects_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("sheets");
        const QStringList two = {QStringLiteral("党员"), QStringLiteral("空表")};
        QTest::newRow("xlsx") << "xlsx" << two;
        QTest::newRow("ods") << "ods" << two;
        QTest::newRow("csv") << "csv" << QStringList{QStringLiteral("党员")};
        QTest::newRow("xls") << "xls" << two;
    }
    void readsAsTheImportExpects() {
        QFETCH(QString, kind);
        QFETCH(QStringList, sheets);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("党员.") + kind);
        QString path;
        if (kind == u"xlsx")
            path = writeXlsx(target);
        else if (kind == u"ods")
            path = writeOds(target);
        else if (kind == u"csv")
            path = writeCsv(target);
        else
            path = QStringLiteral(CORVEXA_OFFICE_FIXTURES "/import.xls"); // made by fixtures/make_xls.pl

        WorkbookReader reader;
        const OfficeResult opened = reader.open(path);
        QVERIFY2(opened.ok, qPrintable(opened.text()));
        QCOMPARE(reader.sheetNames(), sheets);
        QCOMPARE(reader.currentSheet(), 0);
        for (int c = 1; c <= kHeader.size(); ++c)
            QCOMPARE(reader.cellText(1, c), kHeader[c - 1]);
        QCOMPARE(reader.cellText(2, 1), QStringLiteral("张三"));
        QCOMPARE(reader.cellText(2, 2), QStringLiteral("1990-01-15"));
        QCOMPARE(reader.cellText(2, 3), QStringLiteral("18"));
        QCOMPARE(reader.cellText(2, 4), QStringLiteral("1.75"));
        QCOMPARE(reader.cellText(2, 5), QStringLiteral("13812345678"));
        QCOMPARE(reader.cellText(3, 1), QStringLiteral("李四"));
        QCOMPARE(reader.cellText(3, 2), QStringLiteral("2008-05-15"));
        QCOMPARE(reader.cellText(3, 3), QString());
        QCOMPARE(reader.cellText(4, 1), QString());
        QCOMPARE(reader.cellText(0, 1), QString());
        QCOMPARE(reader.rowCount(), 3);
        QCOMPARE(reader.columnCount(), 5);
        if (sheets.size() > 1) {
            QVERIFY(reader.selectSheet(1));
            QCOMPARE(reader.cellText(1, 1), QString());
            QCOMPARE(reader.rowCount(), 0);
        }
        QVERIFY(!reader.selectSheet(sheets.size()));
    }

    void attachAsksThroughTheFileService() {
        QTemporaryDir dir;
        RecordingFileService files;
        WorkbookReader reader;
        OfficeResult result = attachWorkbook(reader, files);
        QVERIFY(!result.ok);
        QVERIFY(result.message.isEmpty()); // cancelled: nothing to show
        files.openAnswers << writeCsv(dir.filePath(QStringLiteral("名单.csv")));
        result = attachWorkbook(reader, files);
        QVERIFY2(result.ok, qPrintable(result.text()));
        QCOMPARE(reader.sheetNames(), QStringList{QStringLiteral("名单")});
        QCOMPARE(reader.cellText(2, 1), QStringLiteral("张三"));
        QCOMPARE(files.asked.size(), 2);
    }

    // Some tools write texts inline in the cells instead of in the shared table.
    void inlineStringsAreRead() {
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("inline.xlsx")));
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE; // writes inline strings
        lxw_workbook* book = workbook_new_opt(path.constData(), &options);
        lxw_worksheet* sheet = workbook_add_worksheet(book, "名单");
        worksheet_write_string(sheet, 0, 0, "姓名", nullptr);
        worksheet_write_number(sheet, 0, 1, 7, nullptr);
        worksheet_write_string(sheet, 1, 0, "A&B <王五>", nullptr);
        worksheet_write_string(sheet, 1, 1, "  两个空格", nullptr);
        workbook_close(book);

        WorkbookReader reader;
        const OfficeResult opened = reader.open(QFile::decodeName(path));
        QVERIFY2(opened.ok, qPrintable(opened.text()));
        QCOMPARE(reader.cellText(1, 1), QStringLiteral("姓名"));
        QCOMPARE(reader.cellText(1, 2), QStringLiteral("7"));
        QCOMPARE(reader.cellText(2, 1), QStringLiteral("A&B <王五>"));
        QCOMPARE(reader.cellText(2, 2), QStringLiteral("  两个空格"));
    }

    void numbersInTheirDefaultText_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 18.0 << "18";
        QTest::newRow("negative") << -3.0 << "-3";
        QTest::newRow("fraction") << 0.1 << "0.1";
        QTest::newRow("sum with rounding error") << 0.1 + 0.2 << "0.3";
        QTest::newRow("mobile number") << 13812345678.0 << "13812345678";
        QTest::newRow("zero") << 0.0 << "0";
    }
    void numbersInTheirDefaultText() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(numberText(value), text);
    }

    void failuresSayWhy_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << "没有.xlsx" << QByteArray();
        QTest::newRow("not a workbook") << "坏.xlsx" << QByteArray("this is not a zip");
        QTest::newRow("not a legacy workbook") << "坏.xls" << QByteArray(600, 'x');
        QTest::newRow("unknown kind") << "名单.doc" << QByteArray("text");
    }
    void failuresSayWhy() {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        WorkbookReader reader;
        const OfficeResult result = reader.open(path);
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("启动EXCEL错误，可能EXCEL没有安装!"));
        QVERIFY(result.reason.contains(name));
        QVERIFY(reader.sheetNames().isEmpty());
        QCOMPARE(reader.cellText(1, 1), QString());
    }
};

QTEST_MAIN(TestWorkbookReader)
#include "tst_workbookreader.moc"
