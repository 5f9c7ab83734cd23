#include "settings.h"

#include "common/dates.h"

#include <QStandardPaths>
#include <QtEndian>
#include <cstring>

namespace corvexa::client {

QString SettingsStore::defaultFilePath() {
    const QString fromEnv = qEnvironmentVariable("CORVEXA_SETTINGS");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QKTV/Velmor.ini");
}

SettingsStore::SettingsStore(const QString& filePath) {
#ifdef Q_OS_WIN
    if (filePath.isEmpty() && qEnvironmentVariableIsEmpty("CORVEXA_SETTINGS")) {
        m_settings = std::make_unique<QSettings>(QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\QKTV\\Velmor"),
                                                 QSettings::NativeFormat);
        return;
    }
#endif
    m_settings =
        std::make_unique<QSettings>(filePath.isEmpty() ? defaultFilePath() : filePath, QSettings::IniFormat);
}

bool SettingsStore::isUsable() const {
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::actualKey(const QString& name) const {
    const QStringList keys = m_settings->childKeys();
    for (const QString& key : keys) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) return key;
    }
    return {};
}

bool SettingsStore::contains(const QString& name) const {
    return !actualKey(name).isEmpty();
}

QVariant SettingsStore::value(const QString& name) const {
    const QString key = actualKey(name);
    return key.isEmpty() ? QVariant() : m_settings->value(key);
}

void SettingsStore::setValue(const QString& name, const QVariant& value) {
    for (const QString& key : m_settings->childKeys()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0 && key != name) m_settings->remove(key);
    }
    m_settings->setValue(name, value);
}

void SettingsStore::sync() {
    m_settings->sync();
}

std::optional<QDate> SettingsStore::date(const QString& name) const {
    const QVariant v = value(name);
    if (!v.isValid()) return std::nullopt;
    const QByteArray bytes = v.toByteArray();
    if (v.typeId() == QMetaType::QByteArray && bytes.size() == 8) {
        const quint64 bits = qFromLittleEndian<quint64>(bytes.constData());
        double days = 0;
        std::memcpy(&days, &bits, sizeof days);
        const QDateTime d = dates::fromDayNumber(days);
        if (d.isValid()) return d.date();
        return std::nullopt;
    }
    if (auto d = dates::parseDateText(v.toString())) return d->date();
    return std::nullopt;
}

void SettingsStore::setDate(const QString& name, const QDate& date) {
    const double days = dates::toDayNumber(QDateTime(date, QTime(0, 0), Qt::UTC));
    quint64 bits = 0;
    std::memcpy(&bits, &days, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    setValue(name, bytes);
}

LetterSettings readLetterSettings(const SettingsStore& store, const QString& xueYuan, const QString& dzzName,
                                  const QDate& today) {
    LetterSettings s;
    s.PrintDate = today;
    s.DWFrom = xueYuan;
    s.DZZFrom = dzzName;
    if (!store.isUsable()) return s;
    auto readInt = [&](const char* name, int& target) {
        bool ok = false;
        const int v = store.value(QString::fromLatin1(name)).toInt(&ok);
        if (ok) target = v;
    };
    auto readText = [&](const char* name, QString& target) {
        if (store.contains(QString::fromLatin1(name)))
            target = store.value(QString::fromLatin1(name)).toString();
    };
    readInt("DangFei", s.DangFei);
    readInt("YouXiaoQi", s.YouXiaoQi);
    if (auto d = store.date(QStringLiteral("PrintDate"))) s.PrintDate = *d;
    if (store.contains(QStringLiteral("UseCurDate")))
        s.UseCurDate =
            store.value(QStringLiteral("UseCurDate")).toInt() != 0 ||
            store.value(QStringLiteral("UseCurDate")).toString().compare(u"true", Qt::CaseInsensitive) == 0;
    readText("DWFrom", s.DWFrom);
    readText("DZZFrom", s.DZZFrom);
    readText("DZZ_Tel", s.DZZ_Tel);
    readText("DZZ_Fax", s.DZZ_Fax);
    readText("DZZ_Zip", s.DZZ_Zip);
    readText("DZZ_Addr", s.DZZ_Addr);
    return s;
}

void writeLetterSettings(SettingsStore& store, const LetterSettings& s) {
    if (!store.isUsable()) return;
    store.setValue(QStringLiteral("DangFei"), s.DangFei);
    store.setValue(QStringLiteral("YouXiaoQi"), s.YouXiaoQi);
    store.setDate(QStringLiteral("PrintDate"), s.PrintDate);
    store.setValue(QStringLiteral("UseCurDate"), s.UseCurDate ? 1 : 0);
    store.setValue(QStringLiteral("DWFrom"), s.DWFrom);
    store.setValue(QStringLiteral("DZZFrom"), s.DZZFrom);
    store.setValue(QStringLiteral("DZZ_Tel"), s.DZZ_Tel);
    store.setValue(QStringLiteral("DZZ_Fax"), s.DZZ_Fax);
    store.setValue(QStringLiteral("DZZ_Zip"), s.DZZ_Zip);
    store.setValue(QStringLiteral("DZZ_Addr"), s.DZZ_Addr);
    store.sync();
}

} // namespace corvexa::client
