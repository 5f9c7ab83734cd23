#include "services.h"

#include "errors.h"

#include <QApplication>
#include <QMessageBox>

namespace corvexa::client {

QString MessageService::titleOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("系统错误");
    case MessageKind::TransError:
        return QStringLiteral("事务处理错误");
    case MessageKind::Info:
        return QStringLiteral("系统提示");
    case MessageKind::Warning:
        return QStringLiteral("系统警告");
    case MessageKind::Confirm:
        return QStringLiteral("请确认选择");
    case MessageKind::Delete:
        return QStringLiteral("确认删除");
    case MessageKind::Quit:
        return QStringLiteral("退出系统");
    case MessageKind::Failure:
        return QStringLiteral("Corvexa（党组织用户版）");
    }
    return {};
}

MessageAnswer DialogMessageService::show(MessageKind kind, const QString& text) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(titleOf(kind));
    box.setText(text);
    box.setWindowModality(Qt::ApplicationModal);
    const bool question = kind == MessageKind::Confirm || kind == MessageKind::Delete;
    switch (kind) {
    case MessageKind::Error:
    case MessageKind::TransError:
    case MessageKind::Failure:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageKind::Info:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageKind::Confirm:
    case MessageKind::Delete:
    case MessageKind::Quit:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (kind == MessageKind::Quit) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(kind == MessageKind::Confirm ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return question                    ? MessageAnswer::Cancel
               : kind == MessageKind::Quit ? MessageAnswer::No
                                           : MessageAnswer::Ok;
    }
}

MessageAnswer ScriptedMessageService::show(MessageKind kind, const QString& text) {
    m_shown.append({kind, titleOf(kind), text});
    if (!m_answers.isEmpty()) return m_answers.takeFirst();
    if (kind == MessageKind::Quit) return MessageAnswer::No;
    return kind == MessageKind::Confirm || kind == MessageKind::Delete ? MessageAnswer::Cancel
                                                                       : MessageAnswer::Ok;
}

namespace {
MessageService* g_messages = nullptr;
ClockService* g_clock = nullptr;
} // namespace

MessageService& messages() {
    static DialogMessageService dialogs;
    return g_messages ? *g_messages : dialogs;
}

MessageService* installMessageService(MessageService* service) {
    return std::exchange(g_messages, service);
}

ClockService& clock() {
    static SystemClock system;
    return g_clock ? *g_clock : system;
}

ClockService* installClock(ClockService* clock) {
    return std::exchange(g_clock, clock);
}

void ShowFailure(const std::exception& failure) {
    if (dynamic_cast<const EAbort*>(&failure)) return;
    messages().show(MessageKind::Failure, QString::fromUtf8(failure.what()));
}

bool runAction(const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        ShowFailure(e);
        return false;
    }
}

MessageAnswer ShowError(const QString& text) {
    return messages().show(MessageKind::Error, text);
}
MessageAnswer ShowTransError(const QString& text) {
    return messages().show(MessageKind::TransError, text);
}
MessageAnswer ShowInfo(const QString& text) {
    return messages().show(MessageKind::Info, text);
}
MessageAnswer ShowWarning(const QString& text) {
    return messages().show(MessageKind::Warning, text);
}
MessageAnswer AskConfirm(const QString& text) {
    return messages().show(MessageKind::Confirm, text);
}
MessageAnswer AskDelete(const QString& text) {
    return messages().show(MessageKind::Delete, text);
}

} // namespace corvexa::client
