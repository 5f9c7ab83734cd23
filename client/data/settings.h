#pragma once
// The per-machine settings: on Windows the key \Software\QKTV\Velmor under
// HKEY_LOCAL_MACHINE, elsewhere a settings file. Value names are compared
// without regard to case, as the registry does.
#include <QDate>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

namespace corvexa::client {

class SettingsStore {
public:
    // filePath: the settings file to use instead of the machine's place (tests);
    // empty: the registry key on Windows, else $CORVEXA_SETTINGS or the user's
    // configuration folder.
    explicit SettingsStore(const QString& filePath = {});
    static QString defaultFilePath();

    // False when the key (or file) cannot be opened; nothing is then read.
    bool isUsable() const;
    bool contains(const QString& name) const;
    QVariant value(const QString& name) const;
    // Replaces any value whose name differs only in letter case.
    void setValue(const QString& name, const QVariant& value);
    void sync();

    // Dates are kept as 8 bytes: the day count since 1899-12-30 as a double,
    // so that they read back as the same date.
    std::optional<QDate> date(const QString& name) const;
    void setDate(const QString& name, const QDate& date);

private:
    QString actualKey(const QString& name) const;
    std::unique_ptr<QSettings> m_settings;
};

// The letter settings, with their defaults.
struct LetterSettings {
    int DangFei = 6;
    int YouXiaoQi = 90;
    QDate PrintDate;
    bool UseCurDate = true;
    QString DWFrom;
    QString DZZFrom;
    QString DZZ_Tel;
    QString DZZ_Fax;
    QString DZZ_Zip;
    QString DZZ_Addr;
};

// Reads the values that exist; the others keep the defaults: DWFrom the
// college's name, DZZFrom the organization's name, PrintDate today.
LetterSettings readLetterSettings(const SettingsStore& store, const QString& xueYuan, const QString& dzzName,
                                  const QDate& today);
void writeLetterSettings(SettingsStore& store, const LetterSettings& settings);

} // namespace corvexa::client
