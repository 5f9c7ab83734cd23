#pragma once
// The one socket connection to the application server: blocking requests
// with a time-out, the login, the record providers and the remote methods.
#include "common/blockingclient.h"
#include "recordsource.h"

namespace corvexa::client {

struct ServerAddress {
    QString host;
    quint16 port = 211;
};
// The host typed at login: "host" or "host:port"; the port defaults to 211.
// Nothing when the port part is not a port number.
std::optional<ServerAddress> parseServerAddress(const QString& text);

enum class LoginResult { Ok, UnknownUser, WrongPassword, Disabled };

class ServerConnection : public RecordSource {
public:
    static constexpr int kDefaultTimeoutMs = 60000;
    explicit ServerConnection(int timeoutMs = kDefaultTimeoutMs) : m_client(timeoutMs) {}

    // Connects and agrees on the protocol; throws ConnectionError.
    void connectTo(const QString& hostText);
    void disconnect();
    bool isConnected() const { return m_client.isConnected(); }

    // Throws ConnectionError when no answer comes.
    LoginResult login(const QString& user, const QString& password, qint64* userId = nullptr,
                      QString* dzzId = nullptr);

    OpenResult open(const QString& provider, const QCborMap& params, const QString& command) override;
    ApplyOutcome apply(const QString& provider, const QCborMap& params, const QString& command,
                       const QCborArray& changes) override;

    void SetCurUser(qint32 userId);
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // The raw answer of the last request (benchmarks time the steps apart).
    wire::BlockingClient& client() { return m_client; }
    // The rows of an "open" answer: those read while the frame was read, or
    // else those in its body.
    static OpenResult decodeRows(const wire::Message& answer, std::optional<wire::RowSet>&& streamed = {});

private:
    // The answer, or a DataError/ConnectionError with the server's text.
    wire::Message request(const QString& kind, const QCborMap& body,
                          std::optional<wire::RowSet>* rows = nullptr);
    void call(const QString& method, const QCborValue& arg = {});

    wire::BlockingClient m_client;
};

} // namespace corvexa::client
