// Letters: the shipped templates, fields filled from letter records, pages
// rendered to PDF and to an image, the preview and the designer.
#include "letterdesigner.h"
#include "letterpreview.h"
#include "letterrenderer.h"

#include <QAbstractItemModelTester>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexa::office;

namespace {
QString shipped(const QString& name) {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/FixedReport/") + name;
}

LetterTemplate load(const QString& path) {
    QString error;
    auto letter = LetterTemplate::load(path, &error);
    if (!letter) qWarning() << error;
    return letter.value_or(LetterTemplate());
}

QList<QVariantHash> threeLetters() {
    QList<QVariantHash> records;
    const QStringList names = {QStringLiteral("张三"), QStringLiteral("李四"), QStringLiteral("王五")};
    for (int i = 0; i < names.size(); ++i) {
        QVariantHash record = sampleLetterRecord();
        record[QStringLiteral("VarName")] = names[i];
        record[QStringLiteral("VarNo")] = QStringLiteral("0801%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        records << record;
    }
    return records;
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

// Share of the image that is not white: a page with the letter's texts on it.
double inkShare(const QImage& image) {
    qint64 ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return double(ink) / (qint64(image.width()) * image.height());
}
} // namespace

class TestLetters : public QObject {
    Q_OBJECT
private slots:
    void shippedTemplatesPlaceTheLetterFields_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("school letter") << "XueXiao.rmf";
        QTest::newRow("provincial letter") << "GGW.rmf";
    }
    void shippedTemplatesPlaceTheLetterFields() {
        QFETCH(QString, file);
        const LetterTemplate letter = load(shipped(file));
        QCOMPARE(letter.pageSize, QSizeF(210, 297));
        QString texts;
        for (const LetterItem& item : letter.items) {
            texts += item.text;
            const QRectF page(QPointF(0, 0), letter.pageSize);
            QVERIFY(page.contains(item.box.topLeft()) && page.contains(item.box.bottomRight()));
        }
        QStringList missing;
        for (const QString& field : letterFields())
            if (!texts.contains(QLatin1Char('[') + field + QLatin1Char(']'))) missing << field;
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u',')));
        QVERIFY(texts.contains(QStringLiteral("存根")));
        QVERIFY(texts.contains(QStringLiteral("中国共产党党员组织关系介绍信")));
    }

    void fieldsAreFilled_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("filled");
        QTest::newRow("text field") << "兹介绍[VarName]同志"
                                    << "兹介绍张三同志";
        QTest::newRow("number field") << "党费交到[VarDF]月"
                                      << "党费交到6月";
        QTest::newRow("empty value") << "年龄[VarAge]岁"
                                     << "年龄岁";
        QTest::newRow("unknown field stays") << "[NoSuch]"
                                             << "[NoSuch]";
        QTest::newRow("brackets without field") << "[ 备注 ]"
                                                << "[ 备注 ]";
        QTest::newRow("two fields") << "[VarYear]年[VarMonth]月"
                                    << "2008年5月";
    }
    void fieldsAreFilled() {
        QFETCH(QString, text);
        QFETCH(QString, filled);
        const QVariantHash record = {{QStringLiteral("VarName"), QStringLiteral("张三")},
                                     {QStringLiteral("VarDF"), 6},
                                     {QStringLiteral("VarAge"), QVariant()},
                                     {QStringLiteral("VarYear"), 2008},
                                     {QStringLiteral("VarMonth"), 5}};
        QCOMPARE(fillFields(text, record), filled);
    }

    void recordsComeFromAModel() {
        QStandardItemModel model(0, 2);
        model.setHorizontalHeaderLabels({QStringLiteral("VarName"), QStringLiteral("VarNo")});
        model.appendRow(
            {new QStandardItem(QStringLiteral("张三")), new QStandardItem(QStringLiteral("08010001"))});
        model.appendRow(
            {new QStandardItem(QStringLiteral("李四")), new QStandardItem(QStringLiteral("08010002"))});
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto records = recordsFromModel(model);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records[1].value(QStringLiteral("VarName")).toString(), QStringLiteral("李四"));
        QCOMPARE(records[0].value(QStringLiteral("VarNo")).toString(), QStringLiteral("08010001"));
    }

    void jsonRoundTripAndBadFiles() {
        const LetterTemplate letter = load(shipped(QStringLiteral("XueXiao.rmf")));
        QString error;
        auto again = LetterTemplate::fromJson(letter.toJson(), &error);
        QVERIFY(again);
        QCOMPARE(*again, letter);
        QVERIFY(!LetterTemplate::fromJson("{\"format\": \"something else\"}", &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!LetterTemplate::fromJson("not json", &error));
        QVERIFY(!LetterTemplate::load(QStringLiteral("/nonexistent/XueXiao.rmf"), &error));
    }

    // Three letter records: three pages, in a PDF and as images.
    void threeLettersToPdfAndImage() {
        QTemporaryDir dir;
        const LetterTemplate letter =
            load(shipped(qEnvironmentVariable("CORVEXA_LETTER_TEMPLATE", QStringLiteral("XueXiao.rmf"))));
        const QString pdf = dir.filePath(QStringLiteral("介绍信.pdf"));
        QString error;
        QVERIFY2(writeLettersPdf(letter, threeLetters(), pdf, &error), qPrintable(error));
        QCOMPARE(pdfPages(pdf), 3);
        QVERIFY(!writeLettersPdf(letter, {}, dir.filePath(QStringLiteral("空.pdf")), &error));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("空.pdf"))));

        const QImage page = renderLetterImage(letter, threeLetters().at(1), 100);
        QCOMPARE(page.size(), QSize(827, 1169));
        QVERIFY(inkShare(page) > 0.01);
        // For a look by eye: CORVEXA_LETTER_PNG names a file for the page, and
        // CORVEXA_LETTER_TEMPLATE another shipped template.
        const QString keep = qEnvironmentVariable("CORVEXA_LETTER_PNG");
        if (!keep.isEmpty()) {
            page.save(keep);
            QFile::remove(keep + QStringLiteral(".pdf"));
            QFile::copy(pdf, keep + QStringLiteral(".pdf"));
        }
        // A different record changes the page: the fields are drawn.
        QVERIFY(page != renderLetterImage(letter, threeLetters().at(0), 100));
    }

    void previewSavesPdfThroughTheFileService() {
        QTemporaryDir dir;
        RecordingFileService files;
        LetterPreview preview(&files);
        preview.setLetters(load(shipped(QStringLiteral("GGW.rmf"))), threeLetters());
        preview.show();
        QCOMPARE(preview.pageCount(), 3);
        preview.setZoom(0.5);
        QCOMPARE(preview.zoom(), 0.5);

        if (!qEnvironmentVariableIsEmpty("CORVEXA_LETTER_PNG"))
            preview.grab().save(qEnvironmentVariable("CORVEXA_LETTER_PNG") + QStringLiteral(".preview.png"));
        QVERIFY(!preview.saveAsPdf()); // the user cancels
        files.saveAnswers << dir.filePath(QStringLiteral("省高工委介绍信"));
        QVERIFY(preview.saveAsPdf());
        QCOMPARE(files.asked, (QStringList{QStringLiteral("保存为PDF"), QStringLiteral("保存为PDF")}));
        QCOMPARE(pdfPages(dir.filePath(QStringLiteral("省高工委介绍信.pdf"))), 3);

        QSignalSpy failed(&preview, &LetterPreview::failed);
        files.saveAnswers << QStringLiteral("/nonexistent-folder/x.pdf");
        QVERIFY(!preview.saveAsPdf());
        QCOMPARE(failed.size(), 1);
    }

    void designerEditsAndSaves() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("XueXiao.rmf"));
        QVERIFY(QFile::copy(shipped(QStringLiteral("XueXiao.rmf")), path));
        LetterDesigner designer;
        QString error;
        QVERIFY(designer.openTemplate(path, &error));
        designer.show();
        QVERIFY(!designer.isModified());
        const int items = int(designer.letterTemplate().items.size());

        // Typing into the text box edits the chosen item.
        designer.selectItem(1);
        auto* text = designer.findChild<QPlainTextEdit*>(QStringLiteral("text"));
        QVERIFY(text);
        QCOMPARE(text->toPlainText(), designer.letterTemplate().items[1].text);
        text->setPlainText(QStringLiteral("编号：[VarNo]"));
        QVERIFY(designer.isModified());
        QCOMPARE(designer.letterTemplate().items[1].text, QStringLiteral("编号：[VarNo]"));
        auto* x = designer.findChild<QDoubleSpinBox*>(QStringLiteral("x"));
        x->setValue(30);
        QCOMPARE(designer.letterTemplate().items[1].box.x(), 30.0);

        designer.addItem(LetterItem::Line);
        designer.selectItem(0);
        designer.removeCurrentItem();
        QCOMPARE(designer.letterTemplate().items.size(), items);
        QCOMPARE(designer.letterTemplate().items[0].text, QStringLiteral("编号：[VarNo]"));

        if (!qEnvironmentVariableIsEmpty("CORVEXA_LETTER_PNG"))
            designer.grab().save(qEnvironmentVariable("CORVEXA_LETTER_PNG") +
                                 QStringLiteral(".designer.png"));
        QVERIFY2(designer.save(&error), qPrintable(error));
        QVERIFY(!designer.isModified());
        QCOMPARE(load(path), designer.letterTemplate());
    }
};

QTEST_MAIN(TestLetters)
#include "tst_letters.moc"
