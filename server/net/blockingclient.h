#pragma once
// A blocking conversation with the server, one request and one answer at a
// time: for the command-line client, the tests and the benchmarks.
#include "common/wire.h"

#include <QCborArray>
#include <QTcpSocket>

namespace corvexa::server {

class BlockingClient {
public:
    explicit BlockingClient(int timeoutMs = 30000) : m_timeoutMs(timeoutMs) {}

    bool connectTo(const QString& host, quint16 port);
    QString errorString() const { return m_socket.errorString(); }

    // The answer, or an "error" message when none comes or the stream breaks.
    wire::Message request(const QString& kind, const QCborMap& body = {});

    bool hello();
    // The server's answer: "ok", "unknown-user", "wrong-password", "disabled",
    // or the error text.
    QString login(const QString& user, const QString& password);
    wire::Message open(const QString& provider, const QCborMap& params = {}, const QString& command = {});
    wire::Message apply(const QString& provider, const QCborArray& changes, const QCborMap& params = {});
    wire::Message call(const QString& method);

    QTcpSocket& socket() { return m_socket; }

private:
    QTcpSocket m_socket;
    wire::FrameDecoder m_decoder;
    qint64 m_id = 0;
    int m_timeoutMs;
};

} // namespace corvexa::server
