#pragma once
// Accepts connections; each one runs in its own thread with its own session and
// database connection, so a slow or broken client holds up nobody else.
#include "sql/translator.h"

#include <QHostAddress>
#include <QTcpServer>

namespace corvexa::server {

struct ServerConfig {
    QString databaseUrl; // sqlite:PATH
    QHostAddress address = QHostAddress::Any;
    quint16 port = 211;
};

class TcpServer : public QTcpServer {
    Q_OBJECT
public:
    TcpServer(const ServerConfig& config, sql::Translator& translator, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    ServerConfig m_config;
    sql::Translator& m_translator;
    quint64 m_nextConnection = 1;
};

} // namespace corvexa::server
