#include "model/program_folder.h"

#include "files/file_lock.h"
#include "model/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace deskleaf {
namespace {

// Long enough for any job another copy of the program runs: an import of a large picture,
// or a desktop tool given its full time.
constexpr std::chrono::seconds kJobWait{60};

} // namespace

std::optional<QString> pathFromSystem(QByteArrayView bytes)
{
    QString path = QFile::decodeName(bytes.toByteArray());
    if (QFile::encodeName(path) != bytes)
        return std::nullopt;
    return path;
}

QString unnamablePath(QByteArrayView bytes)
{
    // The bytes that are not UTF-8 are shown as \xHH, the rest as it is.
    QString shown;
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    for (qsizetype i = 0; i < bytes.size();) {
        qsizetype length = 1;
        while (length <= 4 && i + length <= bytes.size() && !bytes.sliced(i, length).isValidUtf8())
            ++length;
        if (length <= 4 && i + length <= bytes.size()) {
            shown += utf8(bytes.sliced(i, length));
            i += length;
        } else {
            shown += QStringLiteral("\\x") +
                     QString::number(uchar(bytes[i]), 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return QStringLiteral("the name %1 is not UTF-8 text, which this program needs for its file "
                          "and folder names; rename it")
        .arg(shown);
}

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

namespace {

const QString kKeptPictureStem = QStringLiteral("original");

} // namespace

QString ProgramFolder::keptPicturePath() const
{
    const QStringList kept =
        QDir(path_).entryList({kKeptPictureStem + QStringLiteral(".*")}, QDir::Files, QDir::Name);
    return kept.isEmpty() ? QString() : QDir(path_).filePath(kept.front());
}

QString ProgramFolder::keptPicturePathFor(const QString& picture) const
{
    QString suffix = QFileInfo(picture).suffix().toLower();
    // Only letters and digits: the suffix comes from a file name the user chose.
    suffix.removeIf([](QChar c) { return !(c.isLetterOrNumber() && c.unicode() < 128); });
    return QDir(path_).filePath(kKeptPictureStem + u'.' +
                                (suffix.isEmpty() ? QStringLiteral("img") : suffix));
}

QString ProgramFolder::screenWallpaperPath(const QString& screen) const
{
    QString name = screen;
    for (QChar& c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'-' && c != u'_')
            c = u'_';
    return QDir(path_).filePath(QStringLiteral("zm-%1.bmp").arg(name));
}

QString ProgramFolder::spannedWallpaperPath() const
{
    return QDir(path_).filePath(QStringLiteral("zm-all.bmp"));
}

QStringList ProgramFolder::screenWallpaperPaths() const
{
    QStringList paths;
    for (const QString& name : QDir(path_).entryList({QStringLiteral("zm-*.bmp")}, QDir::Files))
        paths << QDir(path_).filePath(name);
    return paths;
}

} // namespace deskleaf
