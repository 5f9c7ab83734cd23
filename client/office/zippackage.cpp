#include "zippackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace corvexa::office {

bool ZipPackage::read(const QString& path, QString* error) {
    parts_.clear();
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("文件不存在：%1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("不是有效的文件包：%1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile entry(&zip);
        if (!entry.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("无法读取文件包中的 %1：%2").arg(zip.getCurrentFileName(), path);
            return false;
        }
        parts_.append({zip.getCurrentFileName(), entry.readAll()});
    }
    if (zip.getZipError() != 0 || parts_.isEmpty()) {
        *error = QStringLiteral("文件包已损坏：%1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool ZipPackage::has(const QString& name) const {
    for (const auto& p : parts_)
        if (p.first == name) return true;
    return false;
}

QByteArray ZipPackage::part(const QString& name) const {
    for (const auto& p : parts_)
        if (p.first == name) return p.second;
    return {};
}

void ZipPackage::setPart(const QString& name, const QByteArray& data) {
    for (auto& p : parts_) {
        if (p.first == name) {
            p.second = data;
            return;
        }
    }
    parts_.append({name, data});
}

void ZipPackage::removePart(const QString& name) {
    parts_.removeIf([&](const auto& p) { return p.first == name; });
}

QStringList ZipPackage::names() const {
    QStringList out;
    for (const auto& p : parts_)
        out << p.first;
    return out;
}

bool ZipPackage::write(const QString& path, QString* error) const {
    return writeThroughTemporary(path, error, [this](const QString& temporary, QString* err) {
        QuaZip zip(temporary);
        if (!zip.open(QuaZip::mdCreate)) {
            *err = QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(temporary));
            return false;
        }
        for (const auto& [name, data] : parts_) {
            QuaZipFile entry(&zip);
            if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || entry.write(data) != data.size()) {
                *err = QStringLiteral("写入文件时出错：%1").arg(QDir::toNativeSeparators(temporary));
                return false;
            }
            entry.close();
        }
        zip.close();
        if (zip.getZipError() != 0) {
            *err = QStringLiteral("写入文件时出错：%1").arg(QDir::toNativeSeparators(temporary));
            return false;
        }
        return true;
    });
}

bool writeThroughTemporary(const QString& path, QString* error,
                           const std::function<bool(const QString&, QString*)>& writer) {
    QFileInfo target(path);
    const QString temporary = target.absolutePath() + QStringLiteral("/.~") +
                              QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".part");
    if (!writer(temporary, error)) {
        QFile::remove(temporary);
        return false;
    }
    QFile::remove(path);
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        *error = QStringLiteral("无法保存文件：%1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace corvexa::office
