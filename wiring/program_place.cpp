#include "wiring/program_place.h"

#include "model/jobs.h"
#include "model/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <climits>
#include <stdexcept>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

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

QString runningProgram()
{
#ifdef Q_OS_LINUX
    // Qt names the file even when its bytes are not UTF-8, and then names another one.
    QByteArray link(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlink("/proc/self/exe", link.data(), std::size_t(link.size()));
    if (size > 0 && size < link.size()) {
        link.truncate(size);
        if (!pathFromSystem(link))
            throw std::runtime_error("this program's own file: " +
                                     unnamablePath(link).toStdString());
    }
#endif
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        throw std::runtime_error(
            QStringLiteral("could not find this program's own file (/proc/self/exe cannot be "
                           "read and \"%1\", the name it was started by, is no file)")
                .arg(QCoreApplication::arguments().value(0))
                .toStdString());
    return path;
}

QString defaultProgramFolder(const QString& executable)
{
    // Installed under another prefix than the configured one (cmake --install --prefix), the
    // copy is known by its launcher, which lies at the same place relative to bin/.
    const QString bin = QFileInfo(executable).absolutePath();
    const bool installedHere = QFileInfo::exists(QDir(bin).filePath(DESKLEAF_INSTALLED_LAUNCHER));
    // The data folder comes from the environment, as bytes.
    for (const char* variable : {"XDG_DATA_HOME", "HOME"})
        if (const QByteArray value = qgetenv(variable); !pathFromSystem(value))
            throw std::runtime_error("this program's folder: " +
                                     unnamablePath(value).toStdString());
    return programFolder(executable, installedHere ? bin : QStringLiteral(DESKLEAF_INSTALL_BINDIR),
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString programBesideThisOne(const QString& name)
{
    const QString startedBy = QCoreApplication::arguments().value(0);
    const QString started = startedBy.contains(u'/') ? QFileInfo(startedBy).absoluteFilePath()
                                                     : QStandardPaths::findExecutable(startedBy);
    const QString own = runningProgram();
    for (const QString& program : {started, own}) {
        const QFileInfo beside(programBeside(program, name));
        if (!program.isEmpty() && beside.isFile() && beside.isExecutable())
            return beside.filePath();
    }
    return programBeside(own, name);
}

} // namespace deskleaf
