// The transfer registration form filled into a copy of the shipped .docx
// template and read back: bookmarks, inserted rows and table cells.
#include "worddocument.h"
#include "zippackage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexa::office;

namespace {
QString formTemplate() {
    return QCoreApplication::applicationDirPath() +
           QStringLiteral("/FixedReport/学院毕业生党员组织关系介绍信转移登记表.docx");
}

struct Graduate {
    QString name, type, unit, party, region, id, tel, mobile, mail;
};

Graduate graduate(int i) {
    static const QStringList regions = {QStringLiteral("省外"), QStringLiteral(" 校内 "),
                                        QStringLiteral("省内"), QStringLiteral(" 省外")};
    const QString n = QString::number(i + 1);
    return {QStringLiteral("毕业生") + n,
            i % 2 ? QStringLiteral("预备") : QStringLiteral("正式"),
            QStringLiteral("接收单位") + n,
            QStringLiteral("上级党组织") + n,
            regions[i % regions.size()],
            QStringLiteral("1101011990010100") + n.rightJustified(2, QLatin1Char('0')),
            QStringLiteral("010-8888") + n,
            QStringLiteral("1380000") + n,
            QStringLiteral("g%1@example.com").arg(n)};
}
} // namespace

class TestWordDocument : public QObject {
    Q_OBJECT
private slots:
    void registrationForm_data() {
        QTest::addColumn<int>("graduates");
        QTest::addColumn<int>("inserted");
        QTest::newRow("9 graduates") << 9 << 0;
        QTest::newRow("10 graduates") << 10 << 1;
        QTest::newRow("25 graduates") << 25 << 16;
        QTest::newRow("3 graduates") << 3 << 0;
    }
    void registrationForm() {
        QFETCH(int, graduates);
        QFETCH(int, inserted);
        QTemporaryDir dir;
        RecordingFileService files;
        WordDocument doc({dir.path(), &files});
        QVERIFY(doc.newDocument(formTemplate()));
        QCOMPARE(doc.tableRowCount(1), 10);

        // The registration form's steps, in their order.
        QVERIFY(doc.fillBookmark(QStringLiteral("bk_XueYuan"), QStringLiteral("计算机学院")));
        QVERIFY(doc.fillBookmark(QStringLiteral("bk_BYDY"), QString::number(graduates)));
        QVERIFY(doc.fillBookmark(QStringLiteral("bk_Ins"), QString()));
        const int extra = graduates < 10 ? 0 : graduates - 9;
        QCOMPARE(doc.insertRows(extra), inserted);
        int outside = 0, inside = 0;
        for (int i = 0; i < graduates; ++i) {
            const Graduate g = graduate(i);
            const QStringList cells = {g.name, g.type, g.unit,   g.party, g.region.trimmed(),
                                       g.id,   g.tel,  g.mobile, g.mail};
            for (int c = 0; c < cells.size(); ++c)
                QVERIFY(doc.setCell(1, i + 2, c + 1, cells[c]));
            outside += g.region.trimmed() == u"省外";
            inside += g.region.trimmed() == u"校内";
        }
        QVERIFY(doc.fillBookmark(QStringLiteral("bk_Wai"), QString::number(outside)));
        QVERIFY(doc.fillBookmark(QStringLiteral("bk_Xiao"), QString::number(inside)));
        const OfficeResult result = doc.release(QStringLiteral("组织关系转移登记表"));
        QVERIFY2(result.ok, qPrintable(result.text()));
        QCOMPARE(files.opened, QStringList{result.path});
        QVERIFY(result.path.endsWith(QStringLiteral(".docx")));

        WordDocument back({dir.path(), nullptr});
        QVERIFY(back.newDocument(result.path));
        QCOMPARE(back.bookmarkParagraphText(QStringLiteral("bk_XueYuan")),
                 QStringLiteral("计算机学院毕业生党员组织关系介绍信转移登记表"));
        QCOMPARE(back.bookmarkParagraphText(QStringLiteral("bk_BYDY")),
                 QStringLiteral("毕业生党员总数：%1 人；其中组织关系转往省外：%2 人，转往校内：%3 人。")
                     .arg(graduates)
                     .arg(outside)
                     .arg(inside));
        QCOMPARE(back.tableRowCount(1), 10 + inserted);
        QCOMPARE(back.cellText(1, 1, 1), QStringLiteral("姓名"));
        QCOMPARE(back.cellText(1, 1, 9), QStringLiteral("电子邮件"));
        for (int i : {0, graduates - 1}) {
            const Graduate g = graduate(i);
            QCOMPARE(back.cellText(1, i + 2, 1), g.name);
            QCOMPARE(back.cellText(1, i + 2, 5), g.region.trimmed());
            QCOMPARE(back.cellText(1, i + 2, 9), g.mail);
        }
        // Rows left over stay empty, apart from the two blanks typed at bk_Ins.
        for (int row = graduates + 2; row <= 10; ++row)
            QCOMPARE(back.cellText(1, row, 1), row == 10 ? QStringLiteral("  ") : QString());

        // Every bookmark is still there once; copied rows carry none.
        ZipPackage package;
        QString error;
        QVERIFY(package.read(result.path, &error));
        const QByteArray xml = package.part(QStringLiteral("word/document.xml"));
        for (const char* name : {"bk_XueYuan", "bk_BYDY", "bk_Ins", "bk_Wai", "bk_Xiao"})
            QCOMPARE(xml.count(QByteArray("w:name=\"") + name + '"'), 1);
        QVERIFY(package.part(QStringLiteral("word/settings.xml")).contains("<w:hideSpellingErrors/>"));
    }

    // An empty name types at the current selection, as after going to a bookmark.
    void fillWithoutNameTypesAtSelection() {
        QTemporaryDir dir;
        WordDocument doc({dir.path(), nullptr});
        QVERIFY(doc.newDocument(formTemplate()));
        QVERIFY(doc.gotoBookmark(QStringLiteral("bk_XueYuan")));
        QVERIFY(doc.fillBookmark(QStringLiteral("  "), QStringLiteral("外语")));
        QVERIFY(doc.fillBookmark(QString(), QStringLiteral("学院")));
        QCOMPARE(doc.bookmarkParagraphText(QStringLiteral("bk_XueYuan")),
                 QStringLiteral("外语学院毕业生党员组织关系介绍信转移登记表"));
        QVERIFY(!doc.gotoBookmark(QStringLiteral("bk_None")));
        QVERIFY(!doc.fillBookmark(QStringLiteral("bk_None"), QStringLiteral("x")));
        QCOMPARE(doc.insertRows(0), 0);
    }

    void failuresSayWhy() {
        QTemporaryDir dir;
        RecordingFileService files;
        WordDocument doc({dir.path(), &files});
        OfficeResult result = doc.newDocument(dir.filePath(QStringLiteral("没有.docx")));
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("打开Word时出现错误！"));
        QVERIFY(result.reason.contains(QStringLiteral("没有.docx")));

        QFile broken(dir.filePath(QStringLiteral("坏.docx")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a zip at all");
        broken.close();
        result = doc.newDocument(broken.fileName());
        QVERIFY(!result.ok);
        QCOMPARE(result.message, QStringLiteral("打开Word时出现错误！"));
        QVERIFY(!doc.isOpen());

        // Nothing is written when the folder cannot be.
        WordDocument blocked({broken.fileName() + QStringLiteral("/out"), &files});
        QVERIFY(blocked.newDocument(formTemplate()));
        result = blocked.release(QStringLiteral("登记表"));
        QVERIFY(!result.ok);
        QVERIFY(!result.reason.isEmpty());
        QVERIFY(files.opened.isEmpty());
    }
};

QTEST_MAIN(TestWordDocument)
#include "tst_worddocument.moc"
