#pragma once
// The named record providers: what each returns, from which statement, and the
// table its changes go to. The statements are written in the records' dialect
// with :Name parameters and go through the same translation as the client's.
#include "sql/types.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace corvexa::server {

struct ProviderDef {
    QString name;      // as the client names it, e.g. DSP_XSXY_Info
    QString statement; // dialect text with :ADZZ_ID, :ADZB_ID, :AYear, ...
    QString table;     // where applied changes are stored
    QStringList key;   // columns that identify a row of that table
};

class ProviderCatalogue {
public:
    static const ProviderCatalogue& standard();

    // Looks a provider up without regard to case (the client sends DSP_XSXZ_LIst).
    const ProviderDef* find(const QString& name) const;
    const std::vector<ProviderDef>& all() const { return m_providers; }

    // Parameters travel as text; these are numbers in the statements.
    static sql::SqlType parameterType(const QString& name);

    // Providers that take their statement from the client.
    static bool isCommandProvider(const QString& name);

private:
    void add(ProviderDef def);
    std::vector<ProviderDef> m_providers;
    QHash<QString, int> m_byName;
};

} // namespace corvexa::server
