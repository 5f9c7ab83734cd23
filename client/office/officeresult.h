#pragma once
// What an office operation reports: success, or the message the user sees
// followed by the reason it failed. Nothing here shows a box; the caller does.
#include <QString>

namespace corvexa::office {

inline const QString kExcelOpenError = QStringLiteral("打开Excel时出现错误！");
inline const QString kExcelAttachError = QStringLiteral("启动EXCEL错误，可能EXCEL没有安装!");
inline const QString kWordOpenError = QStringLiteral("打开Word时出现错误！");

struct OfficeResult {
    bool ok = true;
    QString message; // the fixed text the user knows
    QString reason;  // why it failed: missing template, folder not writable, ...
    QString path;    // the file written, when one was

    static OfficeResult success(const QString& path = {}) { return {true, {}, {}, path}; }
    static OfficeResult failure(const QString& message, const QString& reason) {
        return {false, message, reason, {}};
    }
    // The text for the message box: the fixed message, then the reason on its own line.
    QString text() const { return reason.isEmpty() ? message : message + QLatin1Char('\n') + reason; }
    explicit operator bool() const { return ok; }
};

} // namespace corvexa::office
