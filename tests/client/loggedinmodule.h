#pragma once
// Data modules for the screens' tests: each with a settings file of its own,
// logged in to the test server through the whole start-up when asked.
#include "data/datamodule.h"
#include "serverfixture.h"

#include <memory>

namespace corvexa::testing {

// The main window's step of the start-up, when the window is not under test.
class NoShell : public client::ShellStep {
public:
    void createMainWindow(client::TDM&) override {}
    void setStatus(const QString&, const QString&, const QString&) override {}
};

inline std::unique_ptr<client::TDM> dataModule(const QString& settingsFile) {
    return std::make_unique<client::TDM>(std::make_unique<client::SettingsStore>(settingsFile));
}

// Null when the start-up fails.
inline std::unique_ptr<client::TDM> startedModule(const ServerFixture& server, const QString& settingsFile,
                                                  const QString& user,
                                                  const QString& password = QStringLiteral("demo")) {
    auto dm = dataModule(settingsFile);
    client::DirectLogin login(server.address(), user, password, 2026);
    NoShell shell;
    if (!dm->startUp(login, shell)) return nullptr;
    return dm;
}

} // namespace corvexa::testing
