// corvexa: the desktop program of the records system.
#include "dlglogin.h"
#include "formmain.h"
#include "splash.h"

#include "data/datamodule.h"
#include "data/errors.h"
#include "data/services.h"

#include <QApplication>
#include <memory>

using namespace corvexa::client;

namespace {

// A failure that no operation caught ends that operation only: it is shown in
// the program's error box and the program goes on.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            ShowFailure(e);
        } catch (...) {
            messages().show(MessageKind::Failure, QStringLiteral("未知错误"));
        }
        return false;
    }
};

class MainWindowShell : public ShellStep {
public:
    void createMainWindow(TDM& dm) override {
        window = std::make_unique<TFormMain>(dm);
        window->showMaximized();
    }
    void setStatus(const QString&, const QString&, const QString&) override {}
    std::unique_ptr<TFormMain> window;
};

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvexa"));
    QApplication::setApplicationDisplayName(QStringLiteral("Corvexa（党组织用户版）"));
    DialogMessageService dialogs;
    installMessageService(&dialogs);

    auto splash = std::make_unique<TFormSplash>();
    splash->show();
    QApplication::processEvents();

    TDM dm;
    DialogLogin login;
    MainWindowShell shell;
    bool started = false;
    try {
        started = dm.startUp(login, shell);
    } catch (const std::exception& e) {
        messages().show(MessageKind::Failure, QString::fromUtf8(e.what()));
    }
    splash.reset();
    if (!started) return 0;
    return app.exec();
}
