// Other X11 window managers: feh or xwallpaper puts the picture on the root window, each
// monitor's own where there are several.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>

namespace deskleaf::detail {

namespace {

// The monitors' names in the X server's order, which is Xinerama's (the primary first): the
// order in which feh hands out its pictures.
QStringList parseMonitors(const QString& listing)
{
    // " 0: +*DUMMY0 1920/508x1080/286+0+0  DUMMY0"
    QStringList names;
    for (const QString& line : listing.split(u'\n')) {
        const QStringList fields = line.simplified().split(u' ');
        if (fields.size() >= 3 && fields[0].endsWith(u':') && fields[0].front().isDigit()) {
            QString name = fields[1];
            while (name.startsWith(u'+') || name.startsWith(u'*'))
                name.remove(0, 1);
            names << name;
        }
    }
    return names;
}

class RootWindowWallpaper final : public DesktopWallpaper {
public:
    RootWindowWallpaper(QString name, QString program, const DesktopEnvironment& env,
                        CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), program_(std::move(program))
    {
    }

private:
    bool feh() const { return program_ == QStringLiteral("feh"); }

    // xwallpaper reads PNG and JPEG only.
    SnapshotFormat snapshotFormat() const override
    {
        return feh() ? SnapshotFormat::AsGiven : SnapshotFormat::Png;
    }

    // Without a monitor named, feh and xwallpaper stretch the picture onto each monitor;
    // a picture that spans them is stretched over the whole root window instead.
    void show(const WallpaperPicture& picture) override
    {
        QStringList args;
        if (picture.spansScreens)
            args << (feh() ? QStringLiteral("--no-xinerama") : QStringLiteral("--no-randr"));
        args << (feh() ? QStringLiteral("--bg-scale") : QStringLiteral("--stretch"))
             << picture.path;
        run(program_, args);
    }

    void showPerScreen(const WallpaperPictures& pictures) override
    {
        const QStringList monitors = monitorNames();
        for (const WallpaperPicture& picture : pictures) {
            if (!monitors.contains(picture.screen))
                throw StepError(QStringLiteral("there is no monitor named \"%1\" (xrandr lists %2)")
                                    .arg(picture.screen, monitors.join(QStringLiteral(", "))));
        }
        QStringList args;
        if (feh()) {
            // feh gives its pictures to the monitors in the server's order.
            args << QStringLiteral("--bg-scale");
            for (const QString& monitor : monitors)
                args << pictureFor(monitor, pictures);
        } else {
            for (const WallpaperPicture& picture : pictures)
                args << QStringLiteral("--output") << picture.screen << QStringLiteral("--stretch")
                     << picture.path;
        }
        run(program_, args);
    }

    static QString pictureFor(const QString& monitor, const WallpaperPictures& pictures)
    {
        for (const WallpaperPicture& picture : pictures) {
            if (picture.screen == monitor)
                return picture.path;
        }
        throw StepError(QStringLiteral("no picture was given for the monitor \"%1\"").arg(monitor));
    }

    QStringList monitorNames()
    {
        if (!has(QStringLiteral("xrandr")))
            throw StepError(QStringLiteral(
                "xrandr is not installed, so the monitors cannot be told apart by name"));
        const QStringList names =
            parseMonitors(run(QStringLiteral("xrandr"), {QStringLiteral("--listmonitors")}));
        if (names.isEmpty())
            throw StepError(QStringLiteral("xrandr lists no monitors"));
        return names;
    }

    void clear() override
    {
        if (!has(QStringLiteral("xsetroot")))
            throw StepError(
                QStringLiteral("xsetroot is not installed, and %1 cannot show a plain colour")
                    .arg(program_));
        run(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("black")});
        // feh's script would bring this program's picture back at the next login.
        if (feh() && isSnapshotScript(readFehbg()))
            QFile::remove(fehbgPath());
    }

    // feh keeps what it shows in ~/.fehbg, a script that shows it again at login; xwallpaper
    // keeps nothing, so removing its picture leaves a plain colour.
    QJsonObject current() override
    {
        if (!feh())
            return {};
        const QByteArray script = readFehbg();
        if (script.trimmed().isEmpty())
            return {};
        return {{QStringLiteral("fehbg"), QString::fromUtf8(script)}};
    }

    void restore(const QJsonObject& recorded) override
    {
        const QString script = recorded.value(QStringLiteral("fehbg")).toString();
        if (!feh() || script.isEmpty()) {
            clear();
            return;
        }
        const QString path = fehbgPath();
        if (const QString failure = writeWholeFile(path, script.toUtf8()); !failure.isEmpty())
            throw StepError(QStringLiteral("could not write %1 back (%2)")
                                .arg(QDir::toNativeSeparators(path), failure));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        run(QStringLiteral("sh"), {path});
    }

    static QString fehbgPath() { return QDir::home().absoluteFilePath(QStringLiteral(".fehbg")); }

    static QByteArray readFehbg()
    {
        QFile file(fehbgPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    bool isSnapshotScript(const QByteArray& script) const
    {
        return !script.isEmpty() && script.contains(QDir(env_.cacheFolder).absolutePath().toUtf8());
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
