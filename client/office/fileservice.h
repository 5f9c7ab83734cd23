#pragma once
// File dialogs and "open this file for the user" go through one service, so
// that tests can replace them with a recorder.
#include <QString>
#include <QStringList>

class QWidget;

namespace corvexa::office {

class FileService {
public:
    virtual ~FileService() = default;
    // Empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter) = 0;
    // Hands a written file to the desktop's default application.
    virtual bool openForUser(const QString& path) = 0;
};

class DesktopFileService : public FileService {
public:
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter) override;
    bool openForUser(const QString& path) override;
};

// Answers dialogs from queues filled by the test and records what would have
// been opened.
class RecordingFileService : public FileService {
public:
    QStringList openAnswers;
    QStringList saveAnswers;
    QStringList opened;
    QStringList asked; // captions of the dialogs shown, in order

    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                         const QString& filter) override;
    bool openForUser(const QString& path) override;
};

// The service in use: the desktop's until another is installed; install()
// hands back the previous one.
FileService& fileService();
FileService* installFileService(FileService* service);

} // namespace corvexa::office
