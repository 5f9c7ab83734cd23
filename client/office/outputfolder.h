#pragma once
// Where finished workbooks and documents go, and who opens them for the user.
#include "fileservice.h"

#include <QDateTime>
#include <QString>

namespace corvexa::office {

struct OutputTarget {
    QString folder;               // the export folder setting
    FileService* files = nullptr; // opens the written file; may be null (nothing is opened)
};

// A folder under the user's documents.
QString defaultExportFolder();

// Creates the folder when missing; false with the reason when it cannot be written.
bool prepareFolder(const QString& folder, QString* reason);

// A name that says what the file holds and when: "现有党员_20080515-093000.xlsx";
// "(2)", "(3)", ... are added when that name is taken.
QString exportPath(const QString& folder, const QString& subject, const QString& suffix,
                   const QDateTime& when = QDateTime::currentDateTime());

} // namespace corvexa::office
