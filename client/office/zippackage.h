#pragma once
// The parts of an OOXML package (a zip) held in memory, in their stored order,
// so that a copy of a template can be changed part by part and written anew.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

namespace corvexa::office {

class ZipPackage {
public:
    bool read(const QString& path, QString* error);
    bool has(const QString& name) const;
    QByteArray part(const QString& name) const;
    void setPart(const QString& name, const QByteArray& data); // replaces, or appends a new part
    void removePart(const QString& name);
    QStringList names() const;
    // Writes beside the target and renames at the end, so a failure never
    // leaves a half-written file under the final name.
    bool write(const QString& path, QString* error) const;

private:
    QList<QPair<QString, QByteArray>> parts_;
};

// Writes by way of a temporary name in the same folder: `writer` fills the
// temporary file; on success it takes the final name, else it is removed.
bool writeThroughTemporary(const QString& path, QString* error,
                           const std::function<bool(const QString& temporaryPath, QString* error)>& writer);

} // namespace corvexa::office
