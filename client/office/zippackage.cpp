#include "zippackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <zlib.h>

namespace corvexa::office {

namespace {
// The zip container of OOXML packages, read and written directly on zlib.
// Only what those packages use: stored and deflated entries, no zip64, no
// encryption. (The QuaZip library cannot be used here: it exports minizip's
// symbols, which clash with the copy libxlsxwriter loads in the same process.)
quint16 le16(const uchar* p) {
    return quint16(p[0] | (p[1] << 8));
}
quint32 le32(const uchar* p) {
    return quint32(p[0]) | (quint32(p[1]) << 8) | (quint32(p[2]) << 16) | (quint32(p[3]) << 24);
}
void put16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}
void put32(QByteArray& out, quint32 v) {
    put16(out, quint16(v & 0xFFFF));
    put16(out, quint16(v >> 16));
}

bool inflateRaw(const QByteArray& in, qsizetype expected, QByteArray& out) {
    out.resize(expected);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END && z.total_out == uLong(expected);
}

QByteArray deflateRaw(const QByteArray& in) {
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out;
    out.resize(qsizetype(deflateBound(&z, uLong(in.size()))));
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    z.avail_in = uInt(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}
} // namespace

bool ZipPackage::read(const QString& path, QString* error) {
    parts_.clear();
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists()) {
        *error = QStringLiteral("文件不存在：%1").arg(shown);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开文件：%1").arg(shown);
        return false;
    }
    const QByteArray data = file.readAll();
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const qsizetype size = data.size();
    auto broken = [&] {
        parts_.clear();
        *error = QStringLiteral("不是有效的文件包：%1").arg(shown);
        return false;
    };
    // The end record sits in the last 64 KiB + 22 bytes.
    qsizetype end = -1;
    for (qsizetype i = size - 22; i >= 0 && i >= size - 22 - 65535; --i) {
        if (le32(bytes + i) == 0x06054b50) {
            end = i;
            break;
        }
    }
    if (end < 0) return broken();
    const quint16 count = le16(bytes + end + 10);
    qsizetype at = le32(bytes + end + 16);
    for (int n = 0; n < count; ++n) {
        if (at + 46 > size || le32(bytes + at) != 0x02014b50) return broken();
        const quint16 method = le16(bytes + at + 10);
        const quint32 compressed = le32(bytes + at + 20);
        const quint32 plain = le32(bytes + at + 24);
        const quint16 nameLength = le16(bytes + at + 28);
        const quint16 extraLength = le16(bytes + at + 30);
        const quint16 commentLength = le16(bytes + at + 32);
        const qsizetype local = le32(bytes + at + 42);
        if (at + 46 + nameLength > size || local + 30 > size || le32(bytes + local) != 0x04034b50)
            return broken();
        const QString name = QString::fromUtf8(data.constData() + at + 46, nameLength);
        const qsizetype start = local + 30 + le16(bytes + local + 26) + le16(bytes + local + 28);
        if (start + qsizetype(compressed) > size || plain > 256u * 1024 * 1024) return broken();
        const QByteArray stored = data.mid(start, compressed);
        QByteArray content;
        if (method == 0)
            content = stored;
        else if (method != 8 || !inflateRaw(stored, plain, content))
            return broken();
        if (crc32(0, reinterpret_cast<const Bytef*>(content.constData()), uInt(content.size())) !=
            le32(bytes + at + 16))
            return broken();
        if (!name.endsWith(QLatin1Char('/'))) parts_.append({name, content});
        at += 46 + nameLength + extraLength + commentLength;
    }
    if (parts_.isEmpty()) return broken();
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
        QByteArray out, directory;
        for (const auto& [name, data] : parts_) {
            const QByteArray utf8Name = name.toUtf8();
            const QByteArray packed = deflateRaw(data);
            const quint32 crc =
                quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
            const quint32 offset = quint32(out.size());
            // Local header: deflated, UTF-8 names, a fixed time (1980-01-01) so
            // the same parts always give the same file.
            put32(out, 0x04034b50);
            put16(out, 20);
            put16(out, 0x0800);
            put16(out, 8);
            put16(out, 0);
            put16(out, 0x21);
            put32(out, crc);
            put32(out, quint32(packed.size()));
            put32(out, quint32(data.size()));
            put16(out, quint16(utf8Name.size()));
            put16(out, 0);
            out += utf8Name;
            out += packed;

            put32(directory, 0x02014b50);
            put16(directory, 20);
            put16(directory, 20);
            put16(directory, 0x0800);
            put16(directory, 8);
            put16(directory, 0);
            put16(directory, 0x21);
            put32(directory, crc);
            put32(directory, quint32(packed.size()));
            put32(directory, quint32(data.size()));
            put16(directory, quint16(utf8Name.size()));
            put16(directory, 0);
            put16(directory, 0);
            put16(directory, 0);
            put16(directory, 0);
            put32(directory, 0);
            put32(directory, offset);
            directory += utf8Name;
        }
        const quint32 directoryOffset = quint32(out.size());
        out += directory;
        put32(out, 0x06054b50);
        put16(out, 0);
        put16(out, 0);
        put16(out, quint16(parts_.size()));
        put16(out, quint16(parts_.size()));
        put32(out, quint32(directory.size()));
        put32(out, directoryOffset);
        put16(out, 0);
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.flush()) {
            *err = QStringLiteral("无法写入文件：%1").arg(QDir::toNativeSeparators(temporary));
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
