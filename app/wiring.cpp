#include "wiring.h"

#include "screens.h"
#include "startup_clock.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString defaultProgramFolder(const QString& executable)
{
    // Installed under another prefix than the configured one (cmake --install --prefix), the
    // copy is known by its launcher, which lies at the same place relative to bin/.
    const QString bin = QFileInfo(executable).absolutePath();
    const bool installedHere = QFileInfo::exists(QDir(bin).filePath(DESKLEAF_INSTALLED_LAUNCHER));
    return programFolder(executable, installedHere ? bin : QStringLiteral(DESKLEAF_INSTALL_BINDIR),
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace deskleaf
