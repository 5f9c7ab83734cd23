#include "session.h"

#include "common/value.h"
#include "core/providers.h"
#include "sql/schema.h"

#include <QCborArray>

namespace corvexa::server {
namespace {

wire::Message reply(const wire::Message& request, const QString& kind, QCborMap body = {}) {
    return {kind, request.requestId, std::move(body)};
}

Value::Type valueTypeOf(sql::SqlType t) {
    switch (t) {
    case sql::SqlType::Boolean:
        return Value::Type::Bool;
    case sql::SqlType::Integer:
        return Value::Type::Int;
    case sql::SqlType::Float:
        return Value::Type::Double;
    case sql::SqlType::Decimal:
        return Value::Type::Double;
    case sql::SqlType::Text:
        return Value::Type::Text;
    case sql::SqlType::DateTime:
        return Value::Type::DateTime;
    default:
        return Value::Type::Null;
    }
}

// A stored value in the type its column promises on the wire.
Value toWire(const QVariant& v, Value::Type type) {
    if (v.isNull()) return Value();
    switch (type) {
    case Value::Type::Bool:
        return Value::fromBool(v.toBool());
    case Value::Type::Int:
        return Value::fromInt(v.toLongLong());
    case Value::Type::Double:
        return Value::fromDouble(v.toDouble());
    case Value::Type::Text:
        return Value::fromText(v.toString());
    case Value::Type::DateTime:
        return Value::fromDateTime(v.toDateTime());
    default:
        return Value::fromVariant(v);
    }
}

QHash<QString, QVariant> decodeFields(const QCborValue& cbor, QString& error) {
    QHash<QString, QVariant> out;
    const QCborMap map = cbor.toMap();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        auto v = wire::decodeValue(it.value());
        if (!v) {
            error = QStringLiteral("字段 %1 的值无法识别").arg(it.key().toString());
            return {};
        }
        out.insert(it.key().toString(), v->toVariant());
    }
    return out;
}

const char* columnTypeName(sql::ColumnType type) {
    switch (type) {
    case sql::ColumnType::Text:
        return "text";
    case sql::ColumnType::Memo:
        return "memo";
    case sql::ColumnType::SmallInt:
        return "smallint";
    case sql::ColumnType::Integer:
        return "integer";
    case sql::ColumnType::Serial:
        return "serial";
    case sql::ColumnType::Decimal:
        return "decimal";
    case sql::ColumnType::Float:
        return "float";
    case sql::ColumnType::Boolean:
        return "boolean";
    case sql::ColumnType::DateTime:
        return "datetime";
    }
    return "";
}

// What the client needs to check edits before sending them: for each result
// column that is a column of the table the changes go to, its schema type, its
// width and whether it is required. Other columns get an empty map.
QCborArray describeFields(const std::vector<sql::ResultColumn>& columns, const sql::Schema& schema,
                          const QString& table) {
    const sql::TableDef* def = table.isEmpty() ? nullptr : schema.table(table);
    QCborArray out;
    for (const auto& c : columns) {
        QCborMap field;
        if (const sql::ColumnDef* col = def ? def->column(c.name) : nullptr) {
            field.insert(QStringLiteral("type"), QString::fromLatin1(columnTypeName(col->type)));
            if (col->width > 0) field.insert(QStringLiteral("width"), col->width);
            field.insert(QStringLiteral("required"), col->required);
        }
        out.append(field);
    }
    return out;
}

} // namespace

wire::Message errorReply(const wire::Message& request, const QString& message) {
    QCborMap body;
    body.insert(QStringLiteral("message"), message);
    return reply(request, QStringLiteral("error"), body);
}

Session::Session(std::unique_ptr<db::Database> db, sql::Translator& translator)
    : m_db(std::move(db)), m_translator(translator) {}

Session::~Session() {
    end();
}

void Session::end() {
    if (m_inTransaction) {
        m_db->exec(QStringLiteral("ROLLBACK"));
        m_inTransaction = false;
    }
}

bool Session::knows(const QString& kind) {
    static const QStringList kinds = {QStringLiteral("hello"), QStringLiteral("login"),
                                      QStringLiteral("open"),  QStringLiteral("execute"),
                                      QStringLiteral("apply"), QStringLiteral("call")};
    return kinds.contains(kind);
}

wire::Message Session::handle(const wire::Message& request) {
    if (request.kind == u"hello") return hello(request);
    if (!m_greeted) return errorReply(request, QStringLiteral("请先交换协议版本"));
    if (request.kind == u"login") return doLogin(request);
    if (!m_login.authenticated) return errorReply(request, QStringLiteral("尚未登录"));
    if (request.kind == u"open") return open(request);
    if (request.kind == u"execute") return execute(request);
    if (request.kind == u"apply") return apply(request);
    if (request.kind == u"call") return call(request);
    return errorReply(request, QStringLiteral("未知的请求 %1").arg(request.kind));
}

wire::Message Session::hello(const wire::Message& request) {
    qint64 version = request.body.value(QStringLiteral("version")).toInteger(-1);
    if (version != wire::kProtocolVersion)
        return errorReply(request, QStringLiteral("协议版本不一致：服务器为 %1，客户端为 %2")
                                       .arg(wire::kProtocolVersion)
                                       .arg(version));
    m_greeted = true;
    QCborMap body;
    body.insert(QStringLiteral("version"), wire::kProtocolVersion);
    body.insert(QStringLiteral("server"), QStringLiteral("corvexa-server"));
    return reply(request, QStringLiteral("hello"), body);
}

// Name and password trimmed and compared without regard to case; the answers
// come in the order the login dialog reports them.
wire::Message Session::doLogin(const wire::Message& request) {
    const QString name = request.body.value(QStringLiteral("user")).toString().trimmed();
    const QString password = request.body.value(QStringLiteral("password")).toString().trimmed();
    // The password column is readable only by the server's own statements.
    db::QueryResult r = m_db->run(
        *m_translator.translate(
            QStringLiteral(
                "Select UserID,DZZ_ID,Usable,LoginName,LoginPSWD from DZZ_Users where LoginName=:AName"),
            {true, true}),
        {name});
    if (!r.ok) return errorReply(request, r.error);
    QCborMap body;
    if (r.rows.empty()) {
        body.insert(QStringLiteral("result"), QStringLiteral("unknown-user"));
        return reply(request, QStringLiteral("login"), body);
    }
    const auto& row = r.rows.front();
    const qint64 userId = row[0].toLongLong();
    const QString stored = row[4].toString();
    if (stored.trimmed().toUpper() != password.toUpper()) {
        body.insert(QStringLiteral("result"), QStringLiteral("wrong-password"));
        return reply(request, QStringLiteral("login"), body);
    }
    const bool usable = row[2].toBool();
    body.insert(QStringLiteral("result"), usable ? QStringLiteral("ok") : QStringLiteral("disabled"));
    body.insert(QStringLiteral("userId"), userId);
    body.insert(QStringLiteral("dzzId"), row[1].toString());
    if (usable) {
        m_login = {true, userId, row[3].toString(), row[1].toString()};
    }
    return reply(request, QStringLiteral("login"), body);
}

bool Session::providerStatement(const QCborMap& body, std::shared_ptr<const sql::Translation>& translation,
                                std::vector<QVariant>& params, QString& table, QStringList& key,
                                QString& error) {
    const QString provider = body.value(QStringLiteral("provider")).toString();
    if (ProviderCatalogue::isCommandProvider(provider)) {
        const QString command = body.value(QStringLiteral("command")).toString();
        translation = m_translator.translate(command);
        if (!translation->ok) {
            error = translation->error.describe(command);
            return false;
        }
        table = translation->targetTable;
        if (const sql::TableDef* def = m_translator.schema().table(table)) key = def->key;
        return true;
    }
    const ProviderDef* def = ProviderCatalogue::standard().find(provider);
    if (!def) {
        error = QStringLiteral("未知的数据提供者 %1").arg(provider);
        return false;
    }
    translation = m_translator.translate(def->statement, {true});
    if (!translation->ok) {
        error = translation->error.message;
        return false;
    }
    const QCborMap given = body.value(QStringLiteral("params")).toMap();
    for (const QString& name : translation->parameters) {
        QCborValue v;
        for (auto it = given.constBegin(); it != given.constEnd(); ++it) {
            if (it.key().toString().compare(name, Qt::CaseInsensitive) == 0) v = it.value();
        }
        if (v.isUndefined()) {
            error = QStringLiteral("数据提供者 %1 缺少参数 %2").arg(def->name, name);
            return false;
        }
        // Parameters travel as text; the numeric ones may also come as numbers.
        QVariant value = v.isInteger() ? QVariant(v.toInteger()) : v.toVariant();
        if (ProviderCatalogue::parameterType(name) == sql::SqlType::Integer) {
            bool ok = v.isInteger();
            if (!ok) value = value.toString().trimmed().toLongLong(&ok);
            if (!ok) {
                error = QStringLiteral("参数 %1 应为整数").arg(name);
                return false;
            }
        } else {
            value = value.toString();
        }
        // Named providers serve only the login's own organization.
        if (name.compare(QStringLiteral("ADZZ_ID"), Qt::CaseInsensitive) == 0 &&
            value.toString().trimmed().compare(m_login.dzzId, Qt::CaseInsensitive) != 0) {
            error = QStringLiteral("只能读取本二级党组织的数据");
            return false;
        }
        // The user table answers only for the login's own row.
        if (name.compare(QStringLiteral("AName"), Qt::CaseInsensitive) == 0 &&
            value.toString().trimmed().compare(m_login.loginName, Qt::CaseInsensitive) != 0) {
            error = QStringLiteral("只能读取当前用户自己的信息");
            return false;
        }
        params.push_back(value);
    }
    table = def->table;
    key = def->key;
    return true;
}

wire::Message Session::open(const wire::Message& request) {
    std::shared_ptr<const sql::Translation> t;
    std::vector<QVariant> params;
    QString table, error;
    QStringList key;
    if (!providerStatement(request.body, t, params, table, key, error)) return errorReply(request, error);
    db::QueryResult r = m_db->run(*t, params);
    if (!r.ok) return errorReply(request, r.error);
    QCborMap body;
    if (!t->isQuery) return reply(request, QStringLiteral("done"), body);
    wire::RowSet rows;
    for (const auto& c : t->columns)
        rows.columns.push_back({c.name, valueTypeOf(c.type)});
    rows.rows.reserve(qsizetype(r.rows.size()));
    for (const auto& row : r.rows) {
        QList<Value> values;
        values.reserve(qsizetype(row.size()));
        for (size_t i = 0; i < row.size(); ++i)
            values.push_back(toWire(row[i], rows.columns[qsizetype(i)].type));
        rows.rows.push_back(std::move(values));
    }
    body.insert(QStringLiteral("rows"), wire::encodeRowSet(rows));
    body.insert(QStringLiteral("fields"), describeFields(t->columns, m_translator.schema(), table));
    body.insert(QStringLiteral("table"), table);
    body.insert(QStringLiteral("key"), QCborArray::fromStringList(key));
    return reply(request, QStringLiteral("rows"), body);
}

wire::Message Session::execute(const wire::Message& request) {
    return open(request);
}

wire::Message Session::apply(const wire::Message& request) {
    std::shared_ptr<const sql::Translation> t;
    std::vector<QVariant> params;
    QString table, error;
    QStringList key;
    if (!providerStatement(request.body, t, params, table, key, error)) return errorReply(request, error);
    if (table.isEmpty()) return errorReply(request, QStringLiteral("该数据集不是单表查询，不能保存修改"));
    std::vector<RowChange> changes;
    for (const QCborValue& c : request.body.value(QStringLiteral("changes")).toArray()) {
        const QCborMap m = c.toMap();
        RowChange change;
        const QString kind = m.value(QStringLiteral("kind")).toString();
        change.kind = kind == u"insert"   ? RowChange::Kind::Insert
                      : kind == u"delete" ? RowChange::Kind::Delete
                                          : RowChange::Kind::Update;
        change.values = decodeFields(m.value(QStringLiteral("values")), error);
        change.original = decodeFields(m.value(QStringLiteral("original")), error);
        if (!error.isEmpty()) return errorReply(request, error);
        // Rows of another organization are never written.
        for (const auto* fields : {&change.values, &change.original}) {
            for (auto it = fields->constBegin(); it != fields->constEnd(); ++it) {
                if (it.key().compare(QStringLiteral("DZZ_ID"), Qt::CaseInsensitive) == 0 &&
                    !it.value().isNull() &&
                    it.value().toString().trimmed().compare(m_login.dzzId, Qt::CaseInsensitive) != 0)
                    return errorReply(request, QStringLiteral("只能修改本二级党组织的数据"));
            }
        }
        changes.push_back(std::move(change));
    }
    ApplyEngine engine(*m_db, m_translator);
    ApplyResult result = engine.apply(table, key, changes);
    QCborMap body;
    body.insert(QStringLiteral("failed"), result.failed);
    body.insert(QStringLiteral("messages"), QCborArray::fromStringList(result.messages));
    QCborArray serials;
    for (qint64 s : result.insertedSerials)
        serials.append(s);
    body.insert(QStringLiteral("serials"), serials);
    return reply(request, QStringLiteral("applied"), body);
}

wire::Message Session::call(const wire::Message& request) {
    const QString method = request.body.value(QStringLiteral("method")).toString();
    QString error;
    if (method.compare(QStringLiteral("SetCurUser"), Qt::CaseInsensitive) == 0) {
        m_currentUser = request.body.value(QStringLiteral("arg")).toInteger(-1);
    } else if (method.compare(QStringLiteral("BeginTrans"), Qt::CaseInsensitive) == 0) {
        if (m_inTransaction) return errorReply(request, QStringLiteral("事务已经开始，不能再次开始"));
        if (!m_db->beginTransaction(&error)) return errorReply(request, error);
        m_inTransaction = true;
    } else if (method.compare(QStringLiteral("CommitTrans"), Qt::CaseInsensitive) == 0 ||
               method.compare(QStringLiteral("RollbackTrans"), Qt::CaseInsensitive) == 0) {
        if (!m_inTransaction) return errorReply(request, QStringLiteral("没有已开始的事务"));
        bool commit = method.compare(QStringLiteral("CommitTrans"), Qt::CaseInsensitive) == 0;
        m_inTransaction = false;
        if (!m_db->exec(commit ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"), &error)) {
            m_db->exec(QStringLiteral("ROLLBACK"));
            return errorReply(request, error);
        }
    } else {
        return errorReply(request, QStringLiteral("未知的远程方法 %1").arg(method));
    }
    return reply(request, QStringLiteral("done"));
}

} // namespace corvexa::server
