#include "blockingclient.h"

namespace corvexa::wire {

bool BlockingClient::connectTo(const QString& host, quint16 port) {
    m_decoder = FrameDecoder();
    m_broken = false;
    m_socket.connectToHost(host, port);
    return m_socket.waitForConnected(m_timeoutMs);
}

void BlockingClient::disconnect() {
    m_socket.abort();
}

Message BlockingClient::brokenAnswer(const QString& reason) {
    m_broken = true;
    m_socket.abort();
    QCborMap error;
    error.insert(QStringLiteral("message"), reason);
    return {QStringLiteral("error"), m_id, error};
}

Message BlockingClient::request(const QString& kind, const QCborMap& body) {
    return exchange(kind, body, nullptr);
}

Message BlockingClient::request(const QString& kind, const QCborMap& body, std::optional<RowSet>& rows) {
    return exchange(kind, body, &rows);
}

Message BlockingClient::exchange(const QString& kind, const QCborMap& body, std::optional<RowSet>* rows) {
    ++m_id;
    if (m_broken || m_socket.state() != QAbstractSocket::ConnectedState)
        return brokenAnswer(QStringLiteral("没有与服务器的连接"));
    m_socket.write(encodeFrame({kind, m_id, body}));
    m_socket.flush();
    Message answer;
    while (!(rows ? m_decoder.next(answer, *rows) : m_decoder.next(answer))) {
        if (m_decoder.hasError()) return brokenAnswer(m_decoder.errorText());
        if (!m_socket.waitForReadyRead(m_timeoutMs)) {
            return brokenAnswer(m_socket.error() == QAbstractSocket::SocketTimeoutError
                                    ? QStringLiteral("服务器在 %1 秒内没有应答").arg(m_timeoutMs / 1000.0)
                                    : m_socket.errorString());
        }
        m_decoder.feed(m_socket.readAll());
    }
    return answer;
}

bool BlockingClient::hello() {
    QCborMap body;
    body.insert(QStringLiteral("version"), kProtocolVersion);
    return request(QStringLiteral("hello"), body).kind == u"hello";
}

QString BlockingClient::login(const QString& user, const QString& password) {
    QCborMap body;
    body.insert(QStringLiteral("user"), user);
    body.insert(QStringLiteral("password"), password);
    Message answer = request(QStringLiteral("login"), body);
    if (answer.kind != u"login") return answer.body.value(QStringLiteral("message")).toString();
    return answer.body.value(QStringLiteral("result")).toString();
}

Message BlockingClient::open(const QString& provider, const QCborMap& params, const QString& command) {
    QCborMap body;
    body.insert(QStringLiteral("provider"), provider);
    body.insert(QStringLiteral("params"), params);
    if (!command.isEmpty()) body.insert(QStringLiteral("command"), command);
    return request(QStringLiteral("open"), body);
}

Message BlockingClient::apply(const QString& provider, const QCborArray& changes, const QCborMap& params,
                              const QString& command) {
    QCborMap body;
    body.insert(QStringLiteral("provider"), provider);
    body.insert(QStringLiteral("params"), params);
    if (!command.isEmpty()) body.insert(QStringLiteral("command"), command);
    body.insert(QStringLiteral("changes"), changes);
    return request(QStringLiteral("apply"), body);
}

Message BlockingClient::call(const QString& method, const QCborValue& arg) {
    QCborMap body;
    body.insert(QStringLiteral("method"), method);
    if (!arg.isUndefined()) body.insert(QStringLiteral("arg"), arg);
    return request(QStringLiteral("call"), body);
}

} // namespace corvexa::wire
