#include "wiring/wiring.h"

#include "platform/screens.h"

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

} // namespace deskleaf
