#pragma once
// A blocking conversation with the server, one request and one answer at a
// time: for the desktop program, the command-line client, the tests and the
// benchmarks.
#include "common/wire.h"

#include <QCborArray>
#include <QTcpSocket>

namespace corvexa::wire {

class BlockingClient {
public:
    explicit BlockingClient(int timeoutMs = 30000) : m_timeoutMs(timeoutMs) {}

    bool connectTo(const QString& host, quint16 port);
    void disconnect();
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState && !m_broken; }
    QString errorString() const { return m_socket.errorString(); }

    // The answer, or an "error" message when none comes or the stream breaks.
    // After a time-out or a broken stream the conversation is out of step, so
    // the connection is closed and every later request fails at once.
    Message request(const QString& kind, const QCborMap& body = {});
    // The same, with a row set in the answer's body read straight into rows
    // (and left out of the body): for large answers.
    Message request(const QString& kind, const QCborMap& body, std::optional<RowSet>& rows);
    // True when the last request failed because the connection is gone (or
    // the answer did not come in time), not because the server refused it.
    bool lostConnection() const { return m_broken; }

    bool hello();
    // The server's answer: "ok", "unknown-user", "wrong-password", "disabled",
    // or the error text.
    QString login(const QString& user, const QString& password);
    Message open(const QString& provider, const QCborMap& params = {}, const QString& command = {});
    Message apply(const QString& provider, const QCborArray& changes, const QCborMap& params = {},
                  const QString& command = {});
    Message call(const QString& method, const QCborValue& arg = {});

    QTcpSocket& socket() { return m_socket; }

private:
    Message brokenAnswer(const QString& reason);
    Message exchange(const QString& kind, const QCborMap& body, std::optional<RowSet>* rows);

    QTcpSocket m_socket;
    FrameDecoder m_decoder;
    qint64 m_id = 0;
    int m_timeoutMs;
    bool m_broken = false;
};

} // namespace corvexa::wire
