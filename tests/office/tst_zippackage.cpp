// Zip packages: what is written reads back part by part, and damaged files are
// refused without reading outside the data.
#include "zippackage.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace corvexa::office;

class TestZipPackage : public QObject {
    Q_OBJECT
private slots:
    void roundTrip() {
        QTemporaryDir dir;
        ZipPackage package;
        package.setPart(QStringLiteral("[Content_Types].xml"), "<Types/>");
        package.setPart(QStringLiteral("word/document.xml"), QByteArray(20000, 'a') + "党员");
        package.setPart(QStringLiteral("empty.bin"), QByteArray());
        package.setPart(QStringLiteral("[Content_Types].xml"), "<Types></Types>"); // replaced in place
        package.removePart(QStringLiteral("missing"));
        const QString path = dir.filePath(QStringLiteral("包.docx"));
        QString error;
        QVERIFY2(package.write(path, &error), qPrintable(error));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("包.docx")});

        ZipPackage back;
        QVERIFY2(back.read(path, &error), qPrintable(error));
        QCOMPARE(back.names(),
                 (QStringList{QStringLiteral("[Content_Types].xml"), QStringLiteral("word/document.xml"),
                              QStringLiteral("empty.bin")}));
        QCOMPARE(back.part(QStringLiteral("[Content_Types].xml")), QByteArray("<Types></Types>"));
        QCOMPARE(back.part(QStringLiteral("word/document.xml")), QByteArray(20000, 'a') + "党员");
        QVERIFY(back.has(QStringLiteral("empty.bin")));
        QVERIFY(QFileInfo(path).size() < 2000); // deflated
    }

    // Every cut of the file and a changed byte in the data are refused cleanly.
    void damagedFilesAreRefused() {
        QTemporaryDir dir;
        ZipPackage package;
        package.setPart(QStringLiteral("a.xml"), "<a>one</a>");
        package.setPart(QStringLiteral("b.xml"), QByteArray(300, 'b'));
        const QString path = dir.filePath(QStringLiteral("good.zip"));
        QString error;
        QVERIFY(package.write(path, &error));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray good = file.readAll();
        file.close();

        auto readsAs = [&](const QByteArray& bytes) {
            QFile out(dir.filePath(QStringLiteral("damaged.zip")));
            out.open(QIODevice::WriteOnly | QIODevice::Truncate);
            out.write(bytes);
            out.close();
            ZipPackage damaged;
            QString why;
            const bool ok = damaged.read(out.fileName(), &why);
            return ok ? QString() : why;
        };
        for (qsizetype cut = 0; cut < good.size(); ++cut)
            QVERIFY2(!readsAs(good.left(cut)).isEmpty(), qPrintable(QString::number(cut)));
        QByteArray flipped = good;
        flipped[40] = char(flipped[40] ^ 0x55); // inside the first part's data
        QVERIFY(!readsAs(flipped).isEmpty());
        QVERIFY(readsAs(good).isEmpty());
    }
};

QTEST_MAIN(TestZipPackage)
#include "tst_zippackage.moc"
