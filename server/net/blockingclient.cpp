#include "blockingclient.h"

namespace corvexa::server {

bool BlockingClient::connectTo(const QString& host, quint16 port) {
    m_socket.connectToHost(host, port);
    return m_socket.waitForConnected(m_timeoutMs);
}

wire::Message BlockingClient::request(const QString& kind, const QCborMap& body) {
    m_socket.write(wire::encodeFrame({kind, ++m_id, body}));
    m_socket.flush();
    wire::Message answer;
    while (!m_decoder.next(answer)) {
        if (m_decoder.hasError() || !m_socket.waitForReadyRead(m_timeoutMs)) {
            QCborMap error;
            error.insert(QStringLiteral("message"),
                         m_decoder.hasError() ? m_decoder.errorText() : m_socket.errorString());
            return {QStringLiteral("error"), m_id, error};
        }
        m_decoder.feed(m_socket.readAll());
    }
    return answer;
}

bool BlockingClient::hello() {
    QCborMap body;
    body.insert(QStringLiteral("version"), wire::kProtocolVersion);
    return request(QStringLiteral("hello"), body).kind == u"hello";
}

QString BlockingClient::login(const QString& user, const QString& password) {
    QCborMap body;
    body.insert(QStringLiteral("user"), user);
    body.insert(QStringLiteral("password"), password);
    wire::Message answer = request(QStringLiteral("login"), body);
    if (answer.kind != u"login") return answer.body.value(QStringLiteral("message")).toString();
    return answer.body.value(QStringLiteral("result")).toString();
}

wire::Message BlockingClient::open(const QString& provider, const QCborMap& params, const QString& command) {
    QCborMap body;
    body.insert(QStringLiteral("provider"), provider);
    body.insert(QStringLiteral("params"), params);
    if (!command.isEmpty()) body.insert(QStringLiteral("command"), command);
    return request(QStringLiteral("open"), body);
}

wire::Message BlockingClient::apply(const QString& provider, const QCborArray& changes,
                                    const QCborMap& params) {
    QCborMap body;
    body.insert(QStringLiteral("provider"), provider);
    body.insert(QStringLiteral("params"), params);
    body.insert(QStringLiteral("changes"), changes);
    return request(QStringLiteral("apply"), body);
}

wire::Message BlockingClient::call(const QString& method) {
    QCborMap body;
    body.insert(QStringLiteral("method"), method);
    return request(QStringLiteral("call"), body);
}

} // namespace corvexa::server
