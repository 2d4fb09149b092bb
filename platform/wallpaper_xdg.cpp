// Every desktop is told to stretch the picture: it has the screen's size, so stretching
// leaves it unscaled, and on a screen of another shape the calendar on its right edge
// stays whole, where zoom or fill would crop it.
#include "wallpaper_xdg.h"

#include "pending_file.h"
#include "wallpaper_desktop.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace deskleaf::detail {

namespace {

QString fileUri(const QString& path)
{
    return QString::fromLatin1(QUrl::fromLocalFile(path).toEncoded());
}

// gsettings parses its value as GVariant text; a quoted string cannot be misread.
QString gvariantString(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    return u'\'' + text + u'\'';
}

QString javaScriptString(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2)); // drop the brackets
}

struct GSettingsKeys {
    QString schema;
    QString pictureKey;
    bool takesUri;    // false: a plain path
    bool darkVariant; // also set picture-uri-dark, where the schema has it
};

class GSettingsWallpaper final : public DesktopWallpaper {
public:
    GSettingsWallpaper(QString name, GSettingsKeys keys, const DesktopEnvironment& env,
                       CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), keys_(std::move(keys))
    {
    }

private:
    void show(const QString& snapshot) override
    {
        QStringList pictureKeys{keys_.pictureKey};
        // Without it dark mode keeps its own picture; GNOME before 42 has no such key.
        if (keys_.darkVariant &&
            run(QStringLiteral("gsettings"), {QStringLiteral("list-keys"), keys_.schema})
                .split(u'\n')
                .contains(QStringLiteral("picture-uri-dark")))
            pictureKeys << QStringLiteral("picture-uri-dark");
        const QString value = gvariantString(keys_.takesUri ? fileUri(snapshot) : snapshot);
        for (const QString& key : pictureKeys)
            set(key, value);
        set(QStringLiteral("picture-options"), QStringLiteral("'stretched'"));
    }

    void clear() override { set(QStringLiteral("picture-options"), QStringLiteral("'none'")); }

    void set(const QString& key, const QString& value)
    {
        run(QStringLiteral("gsettings"), {QStringLiteral("set"), keys_.schema, key, value});
    }

    const GSettingsKeys keys_;
};

// plasma-apply-wallpaperimage (Plasma 5.27) sets the picture only, keeping the user's fill
// mode, so the shell's own script sets both: the tool itself runs the same script.
class PlasmaWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // FillMode of the org.kde.image wallpaper is Qt Quick's Image.fillMode: Stretch is 0;
    // Plasma's own default, 2, crops.
    void show(const QString& snapshot) override
    {
        evaluate(QStringLiteral("var all = desktops();\n"
                                "for (var i = 0; i < all.length; i++) {\n"
                                "    all[i].wallpaperPlugin = \"org.kde.image\";\n"
                                "    all[i].currentConfigGroup = "
                                "[\"Wallpaper\", \"org.kde.image\", \"General\"];\n"
                                "    all[i].writeConfig(\"FillMode\", 0);\n"
                                "    all[i].writeConfig(\"Image\", %1);\n"
                                "}\n")
                     .arg(javaScriptString(fileUri(snapshot))));
    }

    // The colour plugin shows the colour the user last chose in it.
    void clear() override
    {
        evaluate(QStringLiteral("var all = desktops();\n"
                                "for (var i = 0; i < all.length; i++)\n"
                                "    all[i].wallpaperPlugin = \"org.kde.color\";\n"));
    }

    // Runs script in the Plasma shell.
    void evaluate(const QString& script)
    {
        const QString service = QStringLiteral("org.kde.plasmashell");
        const QString object = QStringLiteral("/PlasmaShell");
        const QString method = QStringLiteral("org.kde.PlasmaShell.evaluateScript");
        for (const QString& qdbus : {QStringLiteral("qdbus6"), QStringLiteral("qdbus")}) {
            if (has(qdbus)) {
                run(qdbus, {service, object, method, script});
                return;
            }
        }
        if (!has(QStringLiteral("dbus-send")))
            throw StepError(QStringLiteral("neither qdbus nor dbus-send is installed, so the "
                                           "Plasma shell cannot be told what to show"));
        // --print-reply waits for the answer, so a refusal is seen.
        run(QStringLiteral("dbus-send"),
            {QStringLiteral("--session"), QStringLiteral("--print-reply"),
             QStringLiteral("--dest=") + service, object, method,
             QStringLiteral("string:") + script});
    }
};

const QString kPrimaryBackdrop = QStringLiteral("/backdrop/screen0/monitor0/workspace0/");

class XfceWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // Each monitor and workspace has its own last-image; the first one is created
    // when Xfce has not stored any yet.
    void show(const QString& snapshot) override
    {
        QStringList images = backdropProperties(QStringLiteral("/last-image"));
        if (images.isEmpty()) {
            images << kPrimaryBackdrop + QStringLiteral("last-image");
            query({QStringLiteral("-p"), images.front(), QStringLiteral("-n"), QStringLiteral("-t"),
                   QStringLiteral("string"), QStringLiteral("-s"), snapshot});
        } else {
            for (const QString& image : images)
                query({QStringLiteral("-p"), image, QStringLiteral("-s"), snapshot});
        }
        for (const QString& image : images)
            setStyle(image.chopped(QStringLiteral("last-image").size()) +
                         QStringLiteral("image-style"),
                     QStringLiteral("3")); // stretched
    }

    void clear() override
    {
        QStringList styles = backdropProperties(QStringLiteral("/image-style"));
        if (styles.isEmpty())
            styles << kPrimaryBackdrop + QStringLiteral("image-style");
        for (const QString& style : styles)
            setStyle(style, QStringLiteral("0")); // none
    }

    QStringList backdropProperties(const QString& ending)
    {
        QStringList found;
        const QStringList listed = query({QStringLiteral("-l")}).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : listed) {
            const QString property = line.trimmed();
            if (property.startsWith(QStringLiteral("/backdrop/")) && property.endsWith(ending))
                found << property;
        }
        return found;
    }

    // -n creates the property when it is missing and only sets it otherwise.
    void setStyle(const QString& property, const QString& style)
    {
        query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"),
               QStringLiteral("int"), QStringLiteral("-s"), style});
    }

    QString query(const QStringList& args)
    {
        return run(QStringLiteral("xfconf-query"),
                   QStringList{QStringLiteral("-c"), QStringLiteral("xfce4-desktop")} + args);
    }
};

// pcmanfm (LXDE) and pcmanfm-qt (LXQt) draw the desktop and take the same options.
class PcmanfmWallpaper final : public DesktopWallpaper {
public:
    PcmanfmWallpaper(QString name, QString program, const DesktopEnvironment& env,
                     CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), program_(std::move(program))
    {
    }

private:
    void show(const QString& snapshot) override
    {
        run(program_, {QStringLiteral("--set-wallpaper"), snapshot,
                       QStringLiteral("--wallpaper-mode"), QStringLiteral("stretch")});
    }

    void clear() override
    {
        run(program_, {QStringLiteral("--wallpaper-mode"), QStringLiteral("color")});
    }

    const QString program_;
};

// wlroots compositors show a wallpaper only while a swaybg keeps running.
class SwaybgWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // A swaybg that cannot read its picture or reach the compositor ends within this long.
    static constexpr int kWatchMs = 500;

    void show(const QString& snapshot) override
    {
        replaceSwaybg(
            {QStringLiteral("-i"), snapshot, QStringLiteral("-m"), QStringLiteral("stretch")},
            QStringLiteral("it cannot read the picture or reach the Wayland compositor"));
    }

    // A plain colour: stopping ours alone would uncover the compositor's own picture.
    void clear() override
    {
        replaceSwaybg({QStringLiteral("-m"), QStringLiteral("solid_color"), QStringLiteral("-c"),
                       QStringLiteral("000000")},
                      QStringLiteral("it cannot reach the Wayland compositor"));
    }

    // Starts the new swaybg first, so the screen is never left bare, then stops the one
    // this program started last. Its id is kept in a file, since every run of the program
    // is a new process; -x swaybg keeps a stale id from stopping anything else.
    void replaceSwaybg(const QStringList& args, const QString& whyItEnds)
    {
        const QString swaybg = QStringLiteral("swaybg");
        const QString pidFile =
            QDir(env_.cacheFolder).absoluteFilePath(QStringLiteral("swaybg.pid"));
        const bool oldOne = QFileInfo::exists(pidFile);
        if (!has(swaybg))
            throw StepError(QStringLiteral("swaybg is not installed"));
        if (oldOne && !has(QStringLiteral("pkill")))
            throw StepError(QStringLiteral(
                "pkill is not installed, so the swaybg started before could not be stopped"));
        const std::optional<qint64> pid = runner_.startDetached(swaybg, args);
        if (!pid)
            throw StepError(QStringLiteral("swaybg could not be started"));
        if (!runner_.keepsRunning(*pid, kWatchMs))
            throw StepError(
                QStringLiteral("swaybg ended as soon as it started: %1").arg(whyItEnds));
        QStringList problems;
        if (oldOne)
            problems << stopOldSwaybg(pidFile);
        problems << storePid(pidFile, *pid);
        problems.removeAll(QString());
        if (!problems.isEmpty())
            throw StepError(problems.join(QStringLiteral("; ")));
    }

    // What went wrong, or nothing. pkill exits with 1 when no process matched: the old
    // swaybg is gone already.
    QString stopOldSwaybg(const QString& pidFile)
    {
        const QString pkill = QStringLiteral("pkill");
        const CommandResult result = runner_.run(
            pkill, {QStringLiteral("-F"), pidFile, QStringLiteral("-x"), QStringLiteral("swaybg")},
            kToolTimeoutMs);
        QString why;
        if (!result.started)
            why = QStringLiteral("pkill could not be started");
        else if (result.timedOut)
            why =
                QStringLiteral("pkill did not finish within %1 seconds").arg(kToolTimeoutMs / 1000);
        else if (result.exitCode == 0 || result.exitCode == 1)
            return {};
        else if (!result.err.trimmed().isEmpty())
            why = QStringLiteral("pkill failed: %1").arg(result.err.trimmed());
        else
            why = QStringLiteral("pkill ") + result.ending();
        return QStringLiteral("the new swaybg runs, but the one started before could not be "
                              "stopped (%1)")
            .arg(why);
    }

    // Without the id the next change cannot stop this swaybg.
    static QString storePid(const QString& pidFile, qint64 pid)
    {
        QDir().mkpath(QFileInfo(pidFile).absolutePath()); // when not, the open says why
        const QString failure = writeWholeFile(pidFile, QByteArray::number(pid) + '\n');
        if (failure.isEmpty())
            return {};
        return QStringLiteral("swaybg runs, but its process id could not be written to %1 (%2), "
                              "so it may keep running behind the next wallpaper")
            .arg(QDir::toNativeSeparators(pidFile), failure);
    }
};

// Other X11 window managers: the picture goes on the root window.
class RootWindowWallpaper final : public DesktopWallpaper {
public:
    RootWindowWallpaper(QString name, QString program, const DesktopEnvironment& env,
                        CommandRunner& runner)
        : DesktopWallpaper(std::move(name), env, runner), program_(std::move(program))
    {
    }

private:
    void show(const QString& snapshot) override
    {
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
        return std::make_unique<GSettingsWallpaper>(
            name,
            GSettingsKeys{QStringLiteral("org.gnome.desktop.background"),
                          QStringLiteral("picture-uri"), true, true},
            env, runner);
    case Family::Cinnamon:
        return std::make_unique<GSettingsWallpaper>(
            name,
            GSettingsKeys{QStringLiteral("org.cinnamon.desktop.background"),
                          QStringLiteral("picture-uri"), true, false},
            env, runner);
    case Family::Mate:
        return std::make_unique<GSettingsWallpaper>(
            name,
            GSettingsKeys{QStringLiteral("org.mate.background"), QStringLiteral("picture-filename"),
                          false, false},
            env, runner);
    case Family::Plasma:
        return std::make_unique<PlasmaWallpaper>(name, env, runner);
    case Family::Xfce:
        return std::make_unique<XfceWallpaper>(name, env, runner);
    case Family::Lxqt:
        return std::make_unique<PcmanfmWallpaper>(name, QStringLiteral("pcmanfm-qt"), env, runner);
    case Family::Lxde:
        return std::make_unique<PcmanfmWallpaper>(name, QStringLiteral("pcmanfm"), env, runner);
    case Family::Wlroots:
        return std::make_unique<SwaybgWallpaper>(name, env, runner);
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
        return std::make_unique<SwaybgWallpaper>(name, env, runner);
    for (const QString& program : {QStringLiteral("feh"), QStringLiteral("xwallpaper")}) {
        if (runner.has(program))
            return std::make_unique<RootWindowWallpaper>(name, program, env, runner);
    }
    return std::make_unique<UnknownDesktop>(env.currentDesktop);
}

} // namespace deskleaf::detail
