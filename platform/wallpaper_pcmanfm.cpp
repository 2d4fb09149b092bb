// LXQt and LXDE: their file managers, pcmanfm-qt and pcmanfm, draw the desktop.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

namespace deskleaf::detail {

namespace {

class PcmanfmWallpaper final : public DesktopWallpaper {
public:
    PcmanfmWallpaper(QString name, QString program, const DesktopEnvironment& env,
                     CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), program_(std::move(program))
    {
    }

private:
    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        run(program_, {QStringLiteral("--set-wallpaper"), snapshot,
                       QStringLiteral("--wallpaper-mode"), QStringLiteral("stretch")});
    }

    void clear() override
    {
        run(program_, {QStringLiteral("--wallpaper-mode"), QStringLiteral("color")});
    }

    const QString program_;
};

} // namespace

std::unique_ptr<WallpaperSetter> makePcmanfmWallpaper(QString name, QString program,
                                                      const DesktopEnvironment& env,
                                                      CommandRunner& runner)
{
    return std::make_unique<PcmanfmWallpaper>(std::move(name), std::move(program), env, runner);
}

} // namespace deskleaf::detail
