// Other X11 window managers: feh or xwallpaper puts the picture on the root window.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

namespace deskleaf::detail {

namespace {

class RootWindowWallpaper final : public DesktopWallpaper {
public:
    RootWindowWallpaper(QString name, QString program, const DesktopEnvironment& env,
                        CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), program_(std::move(program))
    {
    }

private:
    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        run(program_, {program_ == QStringLiteral("feh") ? QStringLiteral("--bg-scale")
                                                         : QStringLiteral("--stretch"),
                       snapshot});
    }

    void clear() override
    {
        if (!has(QStringLiteral("xsetroot")))
            throw StepError(
                QStringLiteral("xsetroot is not installed, and %1 cannot show a plain colour")
                    .arg(program_));
        run(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("black")});
    }

    const QString program_;
};

} // namespace

std::unique_ptr<WallpaperSetter> makeRootWindowWallpaper(QString name, QString program,
                                                         const DesktopEnvironment& env,
                                                         CommandRunner& runner)
{
    return std::make_unique<RootWindowWallpaper>(std::move(name), std::move(program), env, runner);
}

} // namespace deskleaf::detail
