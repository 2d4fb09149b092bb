#include "platform/startup_clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace deskleaf {

QString programFolder(const QString& executable, const QString& installBinFolder,
                      const QString& dataHome)
{
    const QString folder = QFileInfo(executable).absolutePath();
    if (!installBinFolder.isEmpty() &&
        QFileInfo(folder).canonicalFilePath() == QFileInfo(installBinFolder).canonicalFilePath())
        return QDir(dataHome).filePath(QStringLiteral("Deskleaf"));
    return folder;
}

} // namespace deskleaf
