#pragma once
// The two services through which the data layer reaches the user and the
// calendar. Tests install scripted implementations.
#include <QDate>
#include <QList>
#include <QString>
#include <exception>
#include <functional>

namespace corvexa::client {

// Quit: the close question of the main window (Yes/No, system modal).
// Failure: the program's default error box for a failure no operation caught.
enum class MessageKind { Error, TransError, Info, Warning, Confirm, Delete, Quit, Failure };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer show(MessageKind kind, const QString& text) = 0;

    static QString titleOf(MessageKind kind);
};

// QMessageBox with the titles, buttons, icons and default buttons of the
// program's message boxes.
class DialogMessageService : public MessageService {
public:
    MessageAnswer show(MessageKind kind, const QString& text) override;
};

// Answers from a script and a record of every box that was asked for.
class ScriptedMessageService : public MessageService {
public:
    struct Shown {
        MessageKind kind;
        QString title;
        QString text;
    };
    // Answers given in turn; once used up, OK boxes answer Ok and questions Cancel.
    void script(QList<MessageAnswer> answers) { m_answers = std::move(answers); }
    MessageAnswer show(MessageKind kind, const QString& text) override;

    const QList<Shown>& shown() const { return m_shown; }
    void clear() { m_shown.clear(); }

private:
    QList<MessageAnswer> m_answers;
    QList<Shown> m_shown;
};

class ClockService {
public:
    virtual ~ClockService() = default;
    virtual QDate today() const = 0;
};

class SystemClock : public ClockService {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class FixedClock : public ClockService {
public:
    explicit FixedClock(QDate day) : m_day(day) {}
    void setToday(QDate day) { m_day = day; }
    QDate today() const override { return m_day; }

private:
    QDate m_day;
};

// The services in use. Until something else is installed they are the dialog
// boxes and the system clock; install() hands back the previous one.
MessageService& messages();
MessageService* installMessageService(MessageService* service);
ClockService& clock();
ClockService* installClock(ClockService* clock);

// The program's message boxes.
MessageAnswer ShowError(const QString& text);
MessageAnswer ShowTransError(const QString& text);
MessageAnswer ShowInfo(const QString& text);
MessageAnswer ShowWarning(const QString& text);
MessageAnswer AskConfirm(const QString& text);
MessageAnswer AskDelete(const QString& text);

// The program's display of a failure nobody handled: an EAbort says nothing,
// anything else shows its text in the failure box.
void ShowFailure(const std::exception& failure);
// Runs what the user asked for; a failure is shown as above. False then.
bool runAction(const std::function<void()>& action);

} // namespace corvexa::client
