#pragma once
// Failures of the data layer. An operation that cannot go on raises one of
// these; the operation's caller shows the text in a message box.
#include <QString>
#include <exception>

namespace corvexa::client {

class DataError : public std::exception {
public:
    explicit DataError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The connection to the server is gone or the server did not answer in time.
class ConnectionError : public DataError {
public:
    using DataError::DataError;
};

// Raised when the server reports rows of an apply that it could not store.
class EApplyError : public DataError {
public:
    using DataError::DataError;
};

// Ends an operation without a word: the user has been told already, or
// nothing needs telling (a refused keystroke, an export that could not start).
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "operation aborted"; }
};

inline const QString& applyErrorText() {
    static const QString text = QStringLiteral("数据保存时出现错误,数据未能正确保存\n\n请重复操作一次。");
    return text;
}

[[noreturn]] inline void RaiseApplyError() {
    throw EApplyError(applyErrorText());
}

} // namespace corvexa::client
