#include "wiring/wiring.h"

#include "platform/screens.h"
#include "platform/startup_clock.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <climits>
#include <stdexcept>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

namespace deskleaf {

RealDesktop::RealDesktop(QString executable)
    : wallpaper_(makeWallpaperSetter(DesktopEnvironment::fromProcess(), runner_)),
      logon_(makeLogonStart()), refresh_(makeDailyRefresh(runner_)),
      executable_(std::move(executable))
{
}

RealDesktop::~RealDesktop() = default;

ScreenList RealDesktop::screens()
{
    try {
        return currentScreens();
    } catch (const std::exception& e) {
        qWarning("%s", e.what());
        return {};
    }
}

QDate RealDesktop::today()
{
    return QDate::currentDate();
}

QString unnamableExecutable()
{
#ifdef Q_OS_LINUX
    QByteArray path(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlink("/proc/self/exe", path.data(), std::size_t(path.size()));
    if (size > 0 && size < path.size()) {
        path.truncate(size);
        if (!pathFromSystem(path))
            return unnamablePath(path);
    }
#endif
    return {};
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
            throw std::runtime_error(unnamablePath(value).toStdString());
    return programFolder(executable, installedHere ? bin : QStringLiteral(DESKLEAF_INSTALL_BINDIR),
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace deskleaf
