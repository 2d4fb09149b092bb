// Xfce: xfdesktop keeps a picture and a style per monitor and workspace in xfconf.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>

namespace deskleaf::detail {

namespace {

// xfdesktop 4.18 reads /backdrop/screen0/monitor<OUTPUT>/workspace<N>/, OUTPUT being the
// RandR output's name without its spaces ("monitorHDMI-1", and "monitorscreen" on Xvfb);
// it never reads the "monitor0" of older versions. Started on a profile that has none of
// these, it stores its own default picture there. In single-workspace mode, its default,
// every workspace shows workspace0.
const QString kBackdrops = QStringLiteral("/backdrop/");
const QString kImage = QStringLiteral("last-image");
const QString kStyle = QStringLiteral("image-style");
const QString kStretched = QStringLiteral("3");
const QString kNoImage = QStringLiteral("0");

QString monitorBackdrop(QString output)
{
    output.remove(QRegularExpression(QStringLiteral("\\s")));
    return QStringLiteral("/backdrop/screen0/monitor%1/workspace0/").arg(output);
}

// A backdrop's folder and what it holds: its picture and style, each absent when unset.
struct Backdrop {
    QString image;
    QString style;
};
using Backdrops = QMap<QString, Backdrop>;

class XfceWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // Every backdrop xfdesktop has stored shows the picture; before it has stored any, the
    // backdrops it will read for the monitors connected now are created.
    void show(const WallpaperPicture& picture) override
    {
        QStringList folders = stored().keys();
        if (folders.isEmpty())
            for (const QString& output : outputs())
                folders << monitorBackdrop(output);
        for (const QString& folder : folders)
            setPicture(folder, picture.path, kStretched);
    }

    // Each monitor's backdrops on every workspace stored, or its workspace0.
    void showPerScreen(const WallpaperPictures& snapshots) override
    {
        const QStringList folders = stored().keys();
        for (const WallpaperPicture& picture : snapshots) {
            const QString first = monitorBackdrop(picture.screen);
            const QString monitor = first.chopped(QStringLiteral("workspace0/").size());
            QStringList mine;
            for (const QString& folder : folders)
                if (folder.startsWith(monitor))
                    mine << folder;
            if (mine.isEmpty())
                mine << first;
            for (const QString& folder : mine)
                setPicture(folder, picture.path, kStretched);
        }
    }

    void clear() override
    {
        QStringList folders = stored().keys();
        if (folders.isEmpty())
            for (const QString& output : outputs())
                folders << monitorBackdrop(output);
        for (const QString& folder : folders)
            setProperty(folder + kStyle, QStringLiteral("int"), kNoImage);
    }

    // {"<backdrop folder>": {"last-image": path, "image-style": "5"}, ...}
    QJsonObject current() override
    {
        QJsonObject recorded;
        const Backdrops backdrops = stored();
        for (auto it = backdrops.begin(); it != backdrops.end(); ++it) {
            QJsonObject backdrop;
            if (!it->image.isNull())
                backdrop[kImage] = it->image;
            if (!it->style.isNull())
                backdrop[kStyle] = it->style;
            recorded[it.key()] = backdrop;
        }
        return recorded;
    }

    // Backdrops created since (a monitor this program gave its first picture) lose it.
    void restore(const QJsonObject& recorded) override
    {
        const QStringList now = stored().keys();
        for (const QString& folder : now)
            if (!recorded.contains(folder))
                setProperty(folder + kStyle, QStringLiteral("int"), kNoImage);
        for (auto it = recorded.begin(); it != recorded.end(); ++it) {
            if (!it.key().startsWith(kBackdrops) || !it.key().endsWith(u'/'))
                continue; // not one this program recorded
            const QJsonObject backdrop = it->toObject();
            if (backdrop.contains(kImage))
                setProperty(it.key() + kImage, QStringLiteral("string"),
                            backdrop[kImage].toString());
            if (backdrop.contains(kStyle))
                setProperty(it.key() + kStyle, QStringLiteral("int"), backdrop[kStyle].toString());
        }
    }

    void setPicture(const QString& folder, const QString& path, const QString& style)
    {
        setProperty(folder + kImage, QStringLiteral("string"), path);
        setProperty(folder + kStyle, QStringLiteral("int"), style);
    }

    // The backdrops stored, by folder: the lines of `xfconf-query -l -v` are a property,
    // spaces, and its value.
    Backdrops stored()
    {
        Backdrops found;
        const QStringList lines =
            query({QStringLiteral("-l"), QStringLiteral("-v")}).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            if (!line.startsWith(kBackdrops))
                continue;
            const qsizetype gap = line.indexOf(u' ');
            const QString property = line.left(gap);
            const QString value = gap < 0 ? QString() : line.mid(gap).trimmed();
            const QString folder = property.left(property.lastIndexOf(u'/') + 1);
            if (property.endsWith(u'/' + kImage))
                found[folder].image = value;
            else if (property.endsWith(u'/' + kStyle))
                found[folder].style = value;
        }
        return found;
    }

    // The connected outputs' names, the first output of each RandR monitor, as xfdesktop
    // (through GTK) names them: `xrandr --listmonitors` prints "Monitors: 2", then for each
    // "0: +*NAME W/MMxH/MM+X+Y  OUTPUT" (names may hold spaces).
    QStringList outputs()
    {
        if (!has(QStringLiteral("xrandr")))
            throw StepError(QStringLiteral("Xfce's desktop has not stored a wallpaper yet, "
                                           "and xrandr, which names the monitors it will read "
                                           "it for, is not installed"));
        static const QRegularExpression geometry(
            QStringLiteral("^\\s*\\d+:.* \\d+/\\d+x\\d+/\\d+[+-]\\d+[+-]\\d+ (.+)$"));
        QStringList names;
        const QStringList lines = run(QStringLiteral("xrandr"), {QStringLiteral("--listmonitors")})
                                      .split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines)
            if (const QRegularExpressionMatch match = geometry.match(line); match.hasMatch())
                names << match.captured(1).trimmed();
        if (names.isEmpty())
            throw StepError(QStringLiteral("xrandr --listmonitors named no monitor"));
        return names;
    }

    // -n creates the property when it is missing and only sets it otherwise.
    void setProperty(const QString& property, const QString& type, const QString& value)
    {
        query({QStringLiteral("-p"), property, QStringLiteral("-n"), QStringLiteral("-t"), type,
               QStringLiteral("-s"), value});
    }

    QString query(const QStringList& args)
    {
        return run(QStringLiteral("xfconf-query"),
                   QStringList{QStringLiteral("-c"), QStringLiteral("xfce4-desktop")} + args);
    }
};

} // namespace

std::unique_ptr<WallpaperSetter> makeXfceWallpaper(QString name, const DesktopEnvironment& env,
                                                   CommandRunner& runner)
{
    return std::make_unique<XfceWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
