#include "connection.h"

#include "errors.h"

namespace corvexa::client {

std::optional<ServerAddress> parseServerAddress(const QString& text) {
    ServerAddress address;
    const QString trimmed = text.trimmed();
    const qsizetype colon = trimmed.lastIndexOf(u':');
    // More than one colon is an IPv6 address without a port.
    if (colon < 0 || trimmed.indexOf(u':') != colon) {
        address.host = trimmed;
    } else {
        bool ok = false;
        const uint port = trimmed.mid(colon + 1).trimmed().toUInt(&ok);
        if (!ok || port == 0 || port > 65535) return std::nullopt;
        address.host = trimmed.left(colon).trimmed();
        address.port = quint16(port);
    }
    if (address.host.isEmpty()) address.host = QStringLiteral("127.0.0.1");
    return address;
}

void ServerConnection::connectTo(const QString& hostText) {
    const auto address = parseServerAddress(hostText);
    if (!address) throw ConnectionError(QStringLiteral("服务器地址“%1”的端口号不正确").arg(hostText));
    if (!m_client.connectTo(address->host, address->port))
        throw ConnectionError(QStringLiteral("不能连接到服务器 %1:%2：%3")
                                  .arg(address->host)
                                  .arg(address->port)
                                  .arg(m_client.errorString()));
    QCborMap body;
    body.insert(QStringLiteral("version"), wire::kProtocolVersion);
    request(QStringLiteral("hello"), body);
}

void ServerConnection::disconnect() {
    m_client.disconnect();
}

wire::Message ServerConnection::request(const QString& kind, const QCborMap& body,
                                        std::optional<wire::RowSet>* rows) {
    wire::Message answer = rows ? m_client.request(kind, body, *rows) : m_client.request(kind, body);
    if (answer.kind != u"error") return answer;
    const QString text = answer.body.value(QStringLiteral("message")).toString();
    if (m_client.lostConnection())
        throw ConnectionError(
            QStringLiteral("与服务器的连接已断开：%1\n\n请检查网络后重新启动本系统。").arg(text));
    throw DataError(text);
}

LoginResult ServerConnection::login(const QString& user, const QString& password, qint64* userId,
                                    QString* dzzId) {
    QCborMap body;
    body.insert(QStringLiteral("user"), user);
    body.insert(QStringLiteral("password"), password);
    const wire::Message answer = request(QStringLiteral("login"), body);
    const QString result = answer.body.value(QStringLiteral("result")).toString();
    if (userId) *userId = answer.body.value(QStringLiteral("userId")).toInteger(-1);
    if (dzzId) *dzzId = answer.body.value(QStringLiteral("dzzId")).toString();
    if (result == u"ok") return LoginResult::Ok;
    if (result == u"wrong-password") return LoginResult::WrongPassword;
    if (result == u"disabled") return LoginResult::Disabled;
    return LoginResult::UnknownUser;
}

OpenResult ServerConnection::decodeRows(const wire::Message& answer, std::optional<wire::RowSet>&& streamed) {
    OpenResult result;
    if (answer.kind != u"rows") return result;
    if (!streamed) {
        QString error;
        streamed = wire::decodeRowSet(answer.body.value(QStringLiteral("rows")), &error);
        if (!streamed) throw DataError(QStringLiteral("服务器返回的数据无法识别：%1").arg(error));
    }
    result.hasRows = true;
    result.rows = std::move(*streamed);
    const QCborArray fields = answer.body.value(QStringLiteral("fields")).toArray();
    result.columns.resize(result.rows.columns.size());
    for (qsizetype i = 0; i < result.columns.size() && i < fields.size(); ++i) {
        const QCborMap f = fields.at(i).toMap();
        result.columns[i] = {f.value(QStringLiteral("type")).toString(),
                             int(f.value(QStringLiteral("width")).toInteger()),
                             f.value(QStringLiteral("required")).toBool()};
    }
    result.table = answer.body.value(QStringLiteral("table")).toString();
    for (const QCborValue& k : answer.body.value(QStringLiteral("key")).toArray())
        result.key << k.toString();
    return result;
}

namespace {
QCborMap requestBody(const QString& provider, const QCborMap& params, const QString& command) {
    QCborMap body;
    body.insert(QStringLiteral("provider"), provider);
    body.insert(QStringLiteral("params"), params);
    if (!command.isEmpty()) body.insert(QStringLiteral("command"), command);
    return body;
}
} // namespace

OpenResult ServerConnection::open(const QString& provider, const QCborMap& params, const QString& command) {
    // Rows are read straight from the answer's bytes.
    std::optional<wire::RowSet> rows;
    wire::Message answer = request(QStringLiteral("open"), requestBody(provider, params, command), &rows);
    return decodeRows(answer, std::move(rows));
}

ApplyOutcome ServerConnection::apply(const QString& provider, const QCborMap& params, const QString& command,
                                     const QCborArray& changes) {
    QCborMap body = requestBody(provider, params, command);
    body.insert(QStringLiteral("changes"), changes);
    ApplyOutcome outcome;
    wire::Message answer;
    try {
        answer = request(QStringLiteral("apply"), body);
    } catch (const ConnectionError&) {
        throw;
    } catch (const DataError& refused) {
        outcome.failed = int(changes.size());
        outcome.messages << refused.message();
        return outcome;
    }
    outcome.failed = int(answer.body.value(QStringLiteral("failed")).toInteger());
    for (const QCborValue& m : answer.body.value(QStringLiteral("messages")).toArray())
        outcome.messages << m.toString();
    for (const QCborValue& s : answer.body.value(QStringLiteral("serials")).toArray())
        outcome.serials << s.toInteger(-1);
    return outcome;
}

void ServerConnection::call(const QString& method, const QCborValue& arg) {
    QCborMap body;
    body.insert(QStringLiteral("method"), method);
    if (!arg.isUndefined()) body.insert(QStringLiteral("arg"), arg);
    request(QStringLiteral("call"), body);
}

void ServerConnection::SetCurUser(qint32 userId) {
    call(QStringLiteral("SetCurUser"), QCborValue(qint64(userId)));
}
void ServerConnection::BeginTrans() {
    call(QStringLiteral("BeginTrans"));
}
void ServerConnection::CommitTrans() {
    call(QStringLiteral("CommitTrans"));
}
void ServerConnection::RollbackTrans() {
    call(QStringLiteral("RollbackTrans"));
}

} // namespace corvexa::client
