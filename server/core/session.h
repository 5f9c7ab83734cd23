#pragma once
// One client's conversation with the server: protocol version, login, record
// providers, ad-hoc statements, applies and the transaction bracket. Knows
// nothing about sockets: a message in, a reply out.
#include "common/wire.h"
#include "core/apply.h"
#include "db/database.h"

#include <QString>
#include <memory>

namespace corvexa::server {

class ProviderCatalogue;

struct LoginState {
    bool authenticated = false;
    qint64 userId = -1;
    QString loginName;
    QString dzzId;
};

class Session {
public:
    Session(std::unique_ptr<db::Database> db, sql::Translator& translator);
    ~Session();

    wire::Message handle(const wire::Message& request);
    // Request kinds a client may send; any other closes the connection.
    static bool knows(const QString& kind);
    // The connection is gone: a transaction left open is rolled back.
    void end();

    const LoginState& login() const { return m_login; }
    bool inTransaction() const { return m_inTransaction; }

private:
    wire::Message hello(const wire::Message& request);
    wire::Message doLogin(const wire::Message& request);
    wire::Message open(const wire::Message& request);
    wire::Message execute(const wire::Message& request);
    wire::Message apply(const wire::Message& request);
    wire::Message call(const wire::Message& request);

    // The statement and parameters of a provider, checked against the login.
    bool providerStatement(const QCborMap& body, std::shared_ptr<const sql::Translation>& translation,
                           std::vector<QVariant>& params, QString& table, QStringList& key, QString& error);

    std::unique_ptr<db::Database> m_db;
    sql::Translator& m_translator;
    bool m_greeted = false;
    bool m_inTransaction = false;
    LoginState m_login;
    qint64 m_currentUser = -1;
};

wire::Message errorReply(const wire::Message& request, const QString& message);

} // namespace corvexa::server
