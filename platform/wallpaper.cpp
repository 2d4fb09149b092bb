#include "platform/wallpaper.h"

#include "platform/wallpaper_xdg.h"

#include <QDir>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include "platform/wallpaper_desktop.h"
#include "platform/windows/win_wallpaper.h"
#endif

namespace deskleaf {

DesktopEnvironment DesktopEnvironment::fromProcess()
{
    DesktopEnvironment env;
    env.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    env.sessionType = qEnvironmentVariable("XDG_SESSION_TYPE");
    env.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    env.cacheFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
                          .absoluteFilePath(QStringLiteral("deskleaf"));
    env.stateFolder = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                          .absoluteFilePath(QStringLiteral("deskleaf"));
    env.swaySocket = qEnvironmentVariable("SWAYSOCK");
    return env;
}

#ifdef Q_OS_WIN
namespace {

class WindowsWallpaper final : public detail::DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    void show(const WallpaperPicture& picture) override
    {
        check(windows::setDesktopWallpaper(QDir::toNativeSeparators(picture.path).toStdWString()));
    }

    void clear() override { check(windows::setDesktopWallpaper(std::wstring())); }

    static void check(const std::wstring& error)
    {
        if (!error.empty())
            throw detail::StepError(QString::fromStdWString(error));
    }
};

} // namespace
#endif

std::unique_ptr<WallpaperSetter> makeWallpaperSetter(const DesktopEnvironment& env,
                                                     CommandRunner& runner)
{
#ifdef Q_OS_WIN
    return std::make_unique<WindowsWallpaper>(QStringLiteral("Windows"), env, runner);
#else
    return detail::makeXdgWallpaperSetter(env, runner);
#endif
}

} // namespace deskleaf
