#include "files/file_backup.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace deskleaf {
namespace {

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString failed(const char* what, const QString& path, const std::error_code& error)
{
    return QStringLiteral("Could not %1 %2: %3")
        .arg(QLatin1StringView(what), QDir::toNativeSeparators(path),
             QString::fromLocal8Bit(error.message()));
}

} // namespace

FileBackup::FileBackup(QString path) : path_(std::move(path))
{
}

QString FileBackup::keep()
{
    if (!QFileInfo::exists(path_))
        return {};
    const QFileInfo info(path_);
    kept_ = info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".old"));
    std::error_code error;
    std::filesystem::remove(fsPath(kept_), error); // left over from a run that was killed
    // A second link costs nothing; file systems without links get a copy.
    std::filesystem::create_hard_link(fsPath(path_), fsPath(kept_), error);
    if (error) {
        error.clear();
        std::filesystem::copy_file(fsPath(path_), fsPath(kept_),
                                   std::filesystem::copy_options::overwrite_existing, error);
    }
    if (error) {
        const QString kept = kept_;
        kept_.clear();
        std::error_code ignored;
        std::filesystem::remove(fsPath(kept), ignored);
        return failed("keep a copy of", path_, error);
    }
    return {};
}

FileBackup::~FileBackup()
{
    if (kept_.isEmpty())
        return;
    std::error_code ignored;
    std::filesystem::remove(fsPath(kept_), ignored);
}

QString FileBackup::restore()
{
    std::error_code error;
    if (kept_.isEmpty()) {
        std::filesystem::remove(fsPath(path_), error);
        return error ? failed("remove", path_, error) : QString();
    }
    // Still the same file when path was never replaced: a rename between two names of one
    // file does nothing, so the second name is dropped instead.
    std::error_code unknown; // a path that is gone is not the kept file
    if (std::filesystem::equivalent(fsPath(kept_), fsPath(path_), unknown))
        std::filesystem::remove(fsPath(kept_), error);
    else
        std::filesystem::rename(fsPath(kept_), fsPath(path_), error);
    if (error)
        return failed("put back", path_, error);
    kept_.clear();
    return {};
}

} // namespace deskleaf
