// Client data-core benchmark, run by hand: the organization-wide current
// student members (about 20,000 rows by default) read through the record-set
// layer and shown, timed in three steps:
//   wire    request sent until the last byte of the answer is in (the
//           server's query and encoding included),
//   decode  frame parsed and its rows typed into the record set,
//   fill    every cell's display text of a list (item model), and a list view
//           filled with items as the member frames do.
// Usage: bench_clientdata [rows]
#include "data/catalogue.h"
#include "data/connection.h"
#include "data/recordsetmodel.h"
#include "db/sqlitedatabase.h"
#include "demo/demodata.h"
#include "sql/schema.h"
#include "sql/translator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <QtEndian>
#include <cstdio>

using namespace corvexa;
using namespace corvexa::client;

namespace {

qint64 organizationRows(const QString& path) {
    db::SqliteDatabase d;
    d.open(path);
    sql::Translator tr(sql::Schema::standard(), sql::Backend::SQLite);
    auto r = d.run(*tr.translate(QStringLiteral("Select Count(*) from Stud_XianYou where DZZ_ID='01'")));
    return r.ok && !r.rows.empty() ? r.rows.front().front().toLongLong() : 0;
}

bool writeDemo(const QString& path, int scale) {
    QFile::remove(path);
    db::SqliteDatabase d;
    QString error;
    if (!d.open(path, &error) || !d.createSchema(sql::Schema::standard(), &error) ||
        !demo::populate(d, {scale, QDate::currentDate()}, &error)) {
        fprintf(stderr, "demo data: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int wanted = argc > 1 ? atoi(argv[1]) : 20000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
    // The demo shares its scale out over five organizations; scale it so that
    // organization 01 alone has the wanted rows.
    if (!writeDemo(path, wanted)) return 1;
    const qint64 first = organizationRows(path);
    if (first > 0 && first < wanted) {
        if (!writeDemo(path, int(qint64(wanted) * wanted / first) + 10)) return 1;
    }

    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/corvexa-server"),
                 {QStringLiteral("--db"), QStringLiteral("sqlite:") + path, QStringLiteral("--listen"),
                  QStringLiteral("127.0.0.1"), QStringLiteral("--port"), QString::number(port)});
    server.waitForStarted();
    QThread::msleep(500);

    ServerConnection connection;
    try {
        connection.connectTo(QStringLiteral("127.0.0.1:%1").arg(port));
        if (connection.login(QStringLiteral("admin"), QStringLiteral("demo")) != LoginResult::Ok) {
            fprintf(stderr, "cannot log in\n");
            return 1;
        }
    } catch (const std::exception& e) {
        fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    Catalogue catalogue(&connection, [] { return QStringLiteral("01"); });
    RecordSet& branches = catalogue[u"CDS_XS_DZB"];
    branches.setParam(QStringLiteral("ADZZ_ID"), QStringLiteral("01"));
    branches.open();
    RecordSet& members = catalogue[u"CDS_XSXY_ALL"];
    RecordSetModel model(&members,
                         {QStringLiteral("DY_ID"), QStringLiteral("Name"), QStringLiteral("Sex"),
                          QStringLiteral("ChuShengRQ"), QStringLiteral("Age"), QStringLiteral("DangYuanLX"),
                          QStringLiteral("RuDangRQ"), QStringLiteral("ZuanYe"), QStringLiteral("BanJi"),
                          QStringLiteral("ZB_Name")});
    QCborMap params;
    params.insert(QStringLiteral("ADZZ_ID"), QStringLiteral("01"));

    const int repeats = 5;
    double wireMs = 1e300, decodeMs = 1e300, modelMs = 1e300, listMs = 1e300;
    qsizetype bytes = 0;
    int rows = 0;
    QElapsedTimer timer;
    QTreeWidget list;
    list.setColumnCount(model.columnCount());
    for (int i = 0; i < repeats; ++i) {
        // The request written straight to the connection's socket, so that
        // the bytes' arrival and their decoding are timed apart.
        QCborMap body;
        body.insert(QStringLiteral("provider"), QStringLiteral("DSP_XSXY_ALL"));
        body.insert(QStringLiteral("params"), params);
        QTcpSocket& socket = connection.client().socket();
        timer.restart();
        socket.write(wire::encodeFrame({QStringLiteral("open"), 1000 + i, body}));
        socket.flush();
        QByteArray received;
        qsizetype expected = -1;
        while (expected < 0 || received.size() < expected) {
            if (!socket.waitForReadyRead(60000)) {
                fprintf(stderr, "no answer\n");
                return 1;
            }
            received += socket.readAll();
            if (expected < 0 && received.size() >= wire::kHeaderBytes)
                expected = wire::kHeaderBytes + qFromBigEndian<quint32>(received.constData());
        }
        wireMs = std::min(wireMs, timer.nsecsElapsed() / 1e6);
        bytes = received.size();

        timer.restart();
        wire::FrameDecoder decoder;
        decoder.feed(received);
        wire::Message answer;
        std::optional<wire::RowSet> streamed;
        if (!decoder.next(answer, streamed)) {
            fprintf(stderr, "bad frame: %s\n", qPrintable(decoder.errorText()));
            return 1;
        }
        members.load(ServerConnection::decodeRows(answer, std::move(streamed)));
        decodeMs = std::min(decodeMs, timer.nsecsElapsed() / 1e6);
        rows = members.rowCount();

        timer.restart();
        qsizetype chars = 0;
        for (int r = 0; r < model.rowCount(); ++r) {
            for (int c = 0; c < model.columnCount(); ++c)
                chars += model.data(model.index(r, c)).toString().size();
        }
        modelMs = std::min(modelMs, timer.nsecsElapsed() / 1e6);
        if (chars == 0) fprintf(stderr, "no text\n");

        timer.restart();
        list.clear();
        QList<QTreeWidgetItem*> items;
        items.reserve(members.rowCount());
        const int columns = model.columnCount();
        for (int r = 0; r < members.rowCount(); ++r) {
            auto* item = new QTreeWidgetItem;
            for (int c = 0; c < columns; ++c)
                item->setText(c, members.displayText(r, model.fieldOfColumn(c)));
            items << item;
        }
        list.addTopLevelItems(items);
        listMs = std::min(listMs, timer.nsecsElapsed() / 1e6);
    }
    printf("CDS_XSXY_ALL: %d rows, %d fields (%lld bytes on the wire), best of %d\n", rows,
           members.fieldCount(), qlonglong(bytes), repeats);
    printf("  wire    %8.1f ms  request until the last byte is in (server query and encoding included)\n",
           wireMs);
    printf("  decode  %8.1f ms  frame parsed, rows typed into the record set\n", decodeMs);
    printf("  fill    %8.1f ms  display text of %d cells through the item model (age and branch name "
           "included)\n",
           modelMs, rows * model.columnCount());
    printf("  list    %8.1f ms  a list view filled with %d items\n", listMs, rows);
    server.terminate();
    server.waitForFinished(5000);
    return 0;
}
