#include "program_folder.h"

#include "file_lock.h"
#include "settings.h"

#include <QDir>

namespace deskleaf {
namespace {

// Long enough for any job another copy of the program runs: an import of a large picture,
// or a desktop tool given its full time.
constexpr std::chrono::seconds kJobWait{60};

} // namespace

ProgramFolder::ProgramFolder(const QString& path)
    : path_(QDir(path).absolutePath()),
      background_(QDir(path_).filePath(QStringLiteral("kel.bmp"))),
      wallpaper_(QDir(path_).filePath(QStringLiteral("zm.bmp"))),
      profile_(QDir(path_).filePath(QStringLiteral("kel.ini")), &defaultSettingsBytes),
      jobs_(std::make_shared<NestedFileLock>(QDir(path_).filePath(QStringLiteral("jobs.lock"))))
{
}

ProgramFolder::~ProgramFolder() = default;

FolderJob::FolderJob(const ProgramFolder& folder) : lock_(folder.jobs_)
{
    switch (lock_->lock(kJobWait)) {
    case FileLock::Result::Locked:
        return;
    case FileLock::Result::TimedOut:
        throw ProfileError(QStringLiteral("Another copy of the program kept the folder %1 busy "
                                          "for %2 seconds; nothing was changed.")
                               .arg(QDir::toNativeSeparators(folder.path()))
                               .arg(kJobWait.count())
                               .toStdString());
    case FileLock::Result::Failed:
        break;
    }
    throw ProfileError(
        QStringLiteral("Could not work on the folder %1: %2")
            .arg(QDir::toNativeSeparators(folder.path()), lock_->file().errorString())
            .toStdString());
}

FolderJob::~FolderJob()
{
    lock_->unlock();
}

} // namespace deskleaf
