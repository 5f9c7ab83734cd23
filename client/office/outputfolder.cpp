#include "outputfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace corvexa::office {

QString defaultExportFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty()) documents = QDir::homePath();
    return documents + QStringLiteral("/Corvexa导出");
}

bool prepareFolder(const QString& folder, QString* reason) {
    if (folder.isEmpty()) {
        *reason = QStringLiteral("没有设置导出文件夹");
        return false;
    }
    if (!QDir().mkpath(folder)) {
        *reason = QStringLiteral("无法创建导出文件夹：%1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Permissions alone do not tell (network shares, read-only media): try it.
    QTemporaryFile probe(folder + QStringLiteral("/.~probe-XXXXXX"));
    if (!probe.open()) {
        *reason = QStringLiteral("导出文件夹不可写：%1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

QString exportPath(const QString& folder, const QString& subject, const QString& suffix,
                   const QDateTime& when) {
    QString safe = subject.trimmed();
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : safe)
        if (forbidden.contains(c) || c.unicode() < 32) c = QLatin1Char('_');
    if (safe.isEmpty()) safe = QStringLiteral("导出");
    const QString stem = safe + QLatin1Char('_') + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = folder + QLatin1Char('/') + stem + suffix;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + stem + QStringLiteral("(%1)").arg(n) + suffix;
    return path;
}

} // namespace corvexa::office
