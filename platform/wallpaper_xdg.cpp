// Picks the wallpaper setter by XDG_CURRENT_DESKTOP; bare X11 and Wayland sessions get a
// generic one.
#include "platform/wallpaper_xdg.h"

#include "platform/wallpaper_adapters.h"

#include <QUrl>

namespace deskleaf::detail {

QString fileUri(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

namespace {

class UnknownDesktop final : public WallpaperSetter {
public:
    explicit UnknownDesktop(const QString& desktop)
        : reason_(
              desktop.isEmpty()
                  ? QStringLiteral("the desktop is not one this program knows "
                                   "(XDG_CURRENT_DESKTOP is not set)")
                  : QStringLiteral("the desktop \"%1\" is not one this program knows").arg(desktop))
    {
    }

    using WallpaperSetter::apply;
    void apply(const WallpaperPictures&) override { fail(QStringLiteral("set")); }
    void remove() override { fail(QStringLiteral("remove")); }

private:
    [[noreturn]] void fail(const QString& verb) const
    {
        throw PlatformError(QStringLiteral("Could not %1 the wallpaper: %2, and neither feh nor "
                                           "xwallpaper is installed")
                                .arg(verb, reason_)
                                .toStdString());
    }

    const QString reason_;
};

enum class Family { Gnome, Cinnamon, Mate, Plasma, Xfce, Lxqt, Lxde, Wlroots };

struct KnownDesktop {
    const char* id;   // an XDG_CURRENT_DESKTOP entry, lower-cased
    const char* name; // for the user
    Family family;
};

constexpr KnownDesktop kKnownDesktops[] = {
    {"gnome", "GNOME", Family::Gnome},
    {"ubuntu", "GNOME", Family::Gnome},
    {"budgie", "Budgie", Family::Gnome},
    {"unity", "Unity", Family::Gnome},
    {"pantheon", "Pantheon", Family::Gnome},
    {"x-cinnamon", "Cinnamon", Family::Cinnamon},
    {"cinnamon", "Cinnamon", Family::Cinnamon},
    {"mate", "MATE", Family::Mate},
    {"kde", "KDE Plasma", Family::Plasma},
    {"xfce", "Xfce", Family::Xfce},
    {"lxqt", "LXQt", Family::Lxqt},
    {"lxde", "LXDE", Family::Lxde},
    {"sway", "sway", Family::Wlroots},
    {"hyprland", "Hyprland", Family::Wlroots},
    {"river", "river", Family::Wlroots},
    {"wlroots", "this wlroots desktop", Family::Wlroots},
};

std::unique_ptr<WallpaperSetter> makeKnown(const KnownDesktop& desktop,
                                           const DesktopEnvironment& env, CommandRunner& runner)
{
    QString name = QString::fromLatin1(desktop.name);
    switch (desktop.family) {
    case Family::Gnome:
        return makeGSettingsWallpaper(name, GSettingsDesktop::Gnome, env, runner);
    case Family::Cinnamon:
        return makeGSettingsWallpaper(name, GSettingsDesktop::Cinnamon, env, runner);
    case Family::Mate:
        return makeGSettingsWallpaper(name, GSettingsDesktop::Mate, env, runner);
    case Family::Plasma:
        return makePlasmaWallpaper(name, env, runner);
    case Family::Xfce:
        return makeXfceWallpaper(name, env, runner);
    case Family::Lxqt:
        return makePcmanfmQtWallpaper(name, env, runner);
    case Family::Lxde:
        return makePcmanfmWallpaper(name, env, runner);
    case Family::Wlroots:
        return makeWlrootsWallpaper(name, env, runner);
    }
    return nullptr;
}

} // namespace

std::unique_ptr<WallpaperSetter> makeXdgWallpaperSetter(const DesktopEnvironment& env,
                                                        CommandRunner& runner)
{
    // The first entry this program knows wins: "ubuntu:GNOME", "Budgie:GNOME".
    const QStringList entries = env.currentDesktop.toLower().split(u':', Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        for (const KnownDesktop& desktop : kKnownDesktops) {
            if (entry.trimmed() == QLatin1String(desktop.id))
                return makeKnown(desktop, env, runner);
        }
    }
    const QString name = env.currentDesktop.isEmpty()
                             ? QStringLiteral("this desktop")
                             : QStringLiteral("the desktop \"%1\"").arg(env.currentDesktop);
    if (env.sessionType.compare(QStringLiteral("wayland"), Qt::CaseInsensitive) == 0 ||
        !env.waylandDisplay.isEmpty())
        return makeWlrootsWallpaper(name, env, runner);
    for (const QString& program : {QStringLiteral("feh"), QStringLiteral("xwallpaper")}) {
        if (runner.has(program))
            return makeRootWindowWallpaper(name, program, env, runner);
    }
    return std::make_unique<UnknownDesktop>(env.currentDesktop);
}

} // namespace deskleaf::detail
