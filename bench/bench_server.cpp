// Server benchmarks, run by hand:
//   1. the organization-wide current-member set at --scale rows (default 20000),
//      fetched over loopback against the same statement run directly;
//   2. N concurrent sessions (default 100) doing keep-alives and queries:
//      errors and latency percentiles.
// Usage: bench_server [scale] [sessions] [rounds] [database URL]
// Without a URL the records go into a temporary SQLite file; a URL such as
// postgresql://user@host:port/db must name an empty database.
#include "common/blockingclient.h"
#include "common/wire.h"
#include "core/providers.h"
#include "db/database.h"
#include "demo/demodata.h"
#include "sql/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

using namespace corvexa;

namespace {

// The benchmark's requests: logged in as the demo administrator, reading
// organization 01.
struct Client : wire::BlockingClient {
    bool connectTo(quint16 port) { return BlockingClient::connectTo(QStringLiteral("127.0.0.1"), port); }
    bool login() {
        return hello() && BlockingClient::login(QStringLiteral("admin"), QStringLiteral("demo")) == u"ok";
    }
    wire::Message open(const QString& provider, const QString& command = {}) {
        QCborMap params;
        params.insert(QStringLiteral("ADZZ_ID"), QStringLiteral("01"));
        return BlockingClient::open(provider, params, command);
    }
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int scale = argc > 1 ? atoi(argv[1]) : 20000;
    const int sessions = argc > 2 ? atoi(argv[2]) : 100;
    const int rounds = argc > 3 ? atoi(argv[3]) : 20;
    QTemporaryDir dir;
    const QString url = argc > 4 ? QString::fromLocal8Bit(argv[4])
                                 : QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.sqlite"));
    {
        QString error;
        QElapsedTimer t;
        t.start();
        auto d = db::openDatabase(url, &error);
        if (!d || !d->createSchema(sql::Schema::standard(), &error) ||
            !demo::populate(*d, {scale, QDate::currentDate()}, &error)) {
            fprintf(stderr, "demo data: %s\n", qPrintable(error));
            return 1;
        }
        printf("demo data at scale %d written in %lld ms\n", scale, t.elapsed());
        if (d->backend() == sql::Backend::PostgreSQL) d->exec(QStringLiteral("ANALYZE"));
    }
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.setStandardOutputFile(QProcess::nullDevice());
    server.start(QCoreApplication::applicationDirPath() + QStringLiteral("/corvexa-server"),
                 {QStringLiteral("--db"), url, QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                  QStringLiteral("--port"), QString::number(port)});
    server.waitForStarted();
    QThread::msleep(500);

    // 1. The whole organization's current student members.
    const auto* provider = server::ProviderCatalogue::standard().find(QStringLiteral("DSP_XSXY_ALL"));
    auto direct = db::openDatabase(url);
    sql::Translator translator(sql::Schema::standard(), direct->backend());
    auto t = translator.translate(provider->statement, {true});
    const int repeats = 5;
    QElapsedTimer timer;
    size_t rows = 0;
    double directMs = 1e300, wireMs = 1e300;
    for (int i = 0; i < repeats; ++i) {
        timer.restart();
        auto r = direct->run(*t, {QStringLiteral("01")});
        directMs = std::min(directMs, timer.nsecsElapsed() / 1e6);
        rows = r.rows.size();
    }
    Client client;
    if (!client.connectTo(port) || !client.login()) {
        fprintf(stderr, "cannot log in to the server\n");
        return 1;
    }
    qsizetype wireRows = 0;
    for (int i = 0; i < repeats; ++i) {
        timer.restart();
        auto answer = client.open(QStringLiteral("DSP_XSXY_ALL"));
        auto set = wire::decodeRowSet(answer.body.value(QStringLiteral("rows")));
        wireMs = std::min(wireMs, timer.nsecsElapsed() / 1e6);
        wireRows = set ? set->rows.size() : -1;
    }
    printf("DSP_XSXY_ALL: %zu rows directly in %.1f ms; %lld rows over loopback in %.1f ms; ratio %.2f\n",
           rows, directMs, qlonglong(wireRows), wireMs, wireMs / directMs);

    // 2. Concurrent sessions.
    std::atomic<int> errors{0};
    std::vector<std::vector<double>> latencies(static_cast<size_t>(sessions));
    std::vector<std::thread> threads;
    timer.restart();
    for (int s = 0; s < sessions; ++s) {
        threads.emplace_back([&, s] {
            Client c;
            if (!c.connectTo(port) || !c.login()) {
                ++errors;
                return;
            }
            for (int i = 0; i < rounds; ++i) {
                QElapsedTimer one;
                one.start();
                auto a =
                    c.open(QStringLiteral("DSP_KeepConnection"),
                           QStringLiteral("Update DZZ_Users Set UserOnline=1 where LoginName='admin' and "
                                          "LoginPSWD='DEMO'"));
                if (a.kind != u"done") ++errors;
                latencies[size_t(s)].push_back(one.nsecsElapsed() / 1e6);
                one.restart();
                auto b = c.open(QStringLiteral("DSP_Temp"),
                                QStringLiteral("Select B.DZB_ID, Count(*) AS RS from Stud_XianYou B where "
                                               "B.DZZ_ID='01' group by B.DZB_ID"));
                if (b.kind != u"rows") ++errors;
                latencies[size_t(s)].push_back(one.nsecsElapsed() / 1e6);
            }
        });
    }
    for (auto& th : threads)
        th.join();
    std::vector<double> all;
    for (const auto& l : latencies)
        all.insert(all.end(), l.begin(), l.end());
    printf("%d sessions x %d rounds (keep-alive + query): %zu requests in %lld ms, %d errors; latency ms p50 "
           "%.2f "
           "p90 %.2f p99 %.2f max %.2f\n",
           sessions, rounds, all.size(), timer.elapsed(), errors.load(), percentile(all, 0.5),
           percentile(all, 0.9), percentile(all, 0.99), percentile(all, 1.0));
    server.terminate();
    server.waitForFinished(5000);
    return errors.load() == 0 ? 0 : 1;
}
