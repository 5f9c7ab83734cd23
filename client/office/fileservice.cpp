#include "fileservice.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

namespace corvexa::office {

QString DesktopFileService::openFileName(QWidget* parent, const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, {}, filter);
}

QString DesktopFileService::saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                         const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

bool DesktopFileService::openForUser(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QString RecordingFileService::openFileName(QWidget*, const QString& caption, const QString&) {
    asked << caption;
    return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
}

QString RecordingFileService::saveFileName(QWidget*, const QString& caption, const QString&, const QString&) {
    asked << caption;
    return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
}

bool RecordingFileService::openForUser(const QString& path) {
    opened << path;
    return true;
}

namespace {
FileService* g_files = nullptr;
}

FileService& fileService() {
    static DesktopFileService desktop;
    return g_files ? *g_files : desktop;
}

FileService* installFileService(FileService* service) {
    FileService* previous = g_files;
    g_files = service;
    return previous;
}

} // namespace corvexa::office
