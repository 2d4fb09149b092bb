#include "wiring.h"

#include "startup_clock.h"

#include <QStandardPaths>

namespace deskleaf {

RealDesktop::RealDesktop(QString executable)
    : wallpaper_(makeWallpaperSetter(DesktopEnvironment::fromProcess(), runner_)),
      logon_(makeLogonStart()), executable_(std::move(executable))
{
}

RealDesktop::~RealDesktop() = default;

QDate RealDesktop::today()
{
    return QDate::currentDate();
}

QString defaultProgramFolder(const QString& executable)
{
    return programFolder(executable, QStringLiteral(DESKLEAF_INSTALL_BINDIR),
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

} // namespace deskleaf
