#include "tcpserver.h"

#include "common/wire.h"
#include "core/session.h"
#include "db/database.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>

namespace corvexa::server {
namespace {

// Lives in the connection's thread: reads frames, answers them in order.
class Connection : public QObject {
public:
    Connection(qintptr descriptor, quint64 id, const ServerConfig& config, sql::Translator& translator)
        : m_descriptor(descriptor), m_id(id), m_config(config), m_translator(translator) {}

    void start() {
        m_socket = new QTcpSocket(this);
        if (!m_socket->setSocketDescriptor(m_descriptor)) {
            qWarning("connection %llu: %s", m_id, qPrintable(m_socket->errorString()));
            finish();
            return;
        }
        m_peer = m_socket->peerAddress().toString();
        QString error;
        std::unique_ptr<db::Database> db = db::openDatabase(m_config.databaseUrl, &error);
        if (db) {
            m_session = std::make_unique<Session>(std::move(db), m_translator);
            qInfo("connection %llu from %s opened", m_id, qPrintable(m_peer));
        } else {
            // The client is told why before the connection closes (a database
            // server that is down or has no connection left).
            m_unavailable = QStringLiteral("服务器无法连接数据库：%1").arg(error);
            qWarning("connection %llu from %s: database: %s", m_id, qPrintable(m_peer), qPrintable(error));
        }
        connect(m_socket, &QTcpSocket::readyRead, this, [this] { readFrames(); });
        connect(m_socket, &QTcpSocket::disconnected, this, [this] { finish(); });
    }

private:
    void readFrames() {
        m_decoder.feed(m_socket->readAll());
        wire::Message request;
        while (m_decoder.next(request)) {
            if (!Session::knows(request.kind)) {
                qWarning("connection %llu from %s closed: unknown request kind '%s'", m_id,
                         qPrintable(m_peer), qPrintable(request.kind.left(40)));
                m_socket->abort();
                finish();
                return;
            }
            if (!m_session) {
                m_socket->write(wire::encodeFrame(errorReply(request, m_unavailable)));
                m_socket->waitForBytesWritten(2000);
                m_socket->disconnectFromHost();
                finish();
                return;
            }
            QElapsedTimer timer;
            timer.start();
            wire::Message answer = m_session->handle(request);
            if (request.kind == u"login")
                qInfo("connection %llu: login %s: %s", m_id,
                      qPrintable(request.body.value(QStringLiteral("user")).toString().trimmed()),
                      qPrintable(answer.body.value(QStringLiteral("result")).toString()));
            if (answer.kind == u"error")
                qInfo("connection %llu: %s failed: %s", m_id, qPrintable(request.kind),
                      qPrintable(answer.body.value(QStringLiteral("message")).toString()));
            if (timer.elapsed() > 500)
                qInfo("connection %llu: slow %s (%lld ms): %s", m_id, qPrintable(request.kind),
                      timer.elapsed(), qPrintable(request.body.value(QStringLiteral("provider")).toString()));
            QByteArray frame = wire::encodeFrame(answer);
            if (frame.isEmpty())
                frame = wire::encodeFrame(errorReply(request, QStringLiteral("结果太大，无法发送")));
            m_socket->write(frame);
        }
        if (m_decoder.hasError()) {
            qWarning("connection %llu from %s closed: %s", m_id, qPrintable(m_peer),
                     qPrintable(m_decoder.errorText()));
            m_socket->abort();
            finish();
        }
    }

    void finish() {
        if (m_finished) return;
        m_finished = true;
        if (m_session) {
            if (m_session->inTransaction()) qInfo("connection %llu: open transaction rolled back", m_id);
            m_session->end();
        }
        qInfo("connection %llu closed", m_id);
        thread()->quit();
    }

    qintptr m_descriptor;
    quint64 m_id;
    ServerConfig m_config;
    sql::Translator& m_translator;
    QTcpSocket* m_socket = nullptr;
    QString m_peer;
    wire::FrameDecoder m_decoder;
    std::unique_ptr<Session> m_session;
    QString m_unavailable;
    bool m_finished = false;
};

} // namespace

TcpServer::TcpServer(const ServerConfig& config, sql::Translator& translator, QObject* parent)
    : QTcpServer(parent), m_config(config), m_translator(translator) {}

void TcpServer::incomingConnection(qintptr socketDescriptor) {
    auto* thread = new QThread;
    auto* connection = new Connection(socketDescriptor, m_nextConnection++, m_config, m_translator);
    connection->moveToThread(thread);
    connect(thread, &QThread::started, connection, [connection] { connection->start(); });
    connect(thread, &QThread::finished, connection, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

} // namespace corvexa::server
