#include "program_folder.h"

#include <QDir>

namespace deskleaf {

ProgramFolder::ProgramFolder(const QString& path)
    : path_(QDir(path).absolutePath()),
      background_(QDir(path_).filePath(QStringLiteral("kel.bmp"))),
      wallpaper_(QDir(path_).filePath(QStringLiteral("zm.bmp"))),
      profile_(QDir(path_).filePath(QStringLiteral("kel.ini")))
{
}

} // namespace deskleaf
