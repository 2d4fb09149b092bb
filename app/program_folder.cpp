#include "program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace deskleaf {

ProgramFolder::ProgramFolder(const QString& path)
    : path_(QDir(path).absolutePath()),
      background_(QDir(path_).filePath(QStringLiteral("kel.bmp"))),
      wallpaper_(QDir(path_).filePath(QStringLiteral("zm.bmp"))),
      profile_(QDir(path_).filePath(QStringLiteral("kel.ini")))
{
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
