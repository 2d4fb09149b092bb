// LXQt: pcmanfm-qt draws the desktop and keeps its wallpaper in
// ~/.config/pcmanfm-qt/PROFILE/settings.conf.
//
// pcmanfm-qt 1.2 changes what its desktop shows on --set-wallpaper and --wallpaper-mode, but
// keeps the mode it read at its start: it saves that one with the new picture, and a mode
// equal to it is not passed on to the desktop. So this setter only ever passes `stretch`
// (the desktop then shows stretch or the saved mode, which is also stretch), shows a plain
// colour as a picture of that colour, and to bring back a saved mode other than stretch
// turns the desktop off and on.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include "files/pending_file.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSettings>
#include <QStandardPaths>

namespace deskleaf::detail {

namespace {

const QString kProgram = QStringLiteral("pcmanfm-qt");
const QString kWallpaper = QStringLiteral("Desktop/Wallpaper");
const QString kMode = QStringLiteral("Desktop/WallpaperMode");
const QString kColour = QStringLiteral("Desktop/BgColor");

class PcmanfmQtWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

    // With several monitors pcmanfm-qt stretches its one picture over the whole layout.
    PictureLayout layout() const override { return PictureLayout::Spanned; }

private:
    void show(const WallpaperPicture& picture) override { setWallpaper(picture.path); }

    void clear() override { showColour(saved(kColour)); }

    // What pcmanfm-qt shows at its next start: its own settings, or, in a profile it has not
    // written yet, the system's.
    QJsonObject current() override
    {
        QString file = settingsPath();
        if (!QFileInfo::exists(file)) {
            const QStringList folders = QStandardPaths::locateAll(
                QStandardPaths::GenericConfigLocation,
                QStringLiteral("pcmanfm-qt/%1").arg(profile()), QStandardPaths::LocateDirectory);
            for (const QString& folder : folders) {
                if (QFileInfo::exists(folder + QStringLiteral("/settings.conf"))) {
                    file = folder + QStringLiteral("/settings.conf");
                    break;
                }
            }
        }
        const QSettings settings(file, QSettings::IniFormat);
        return {{QStringLiteral("wallpaper"), settings.value(kWallpaper).toString()},
                {QStringLiteral("mode"), settings.value(kMode, QStringLiteral("none")).toString()},
                {QStringLiteral("colour"), settings.value(kColour).toString()}};
    }

    void restore(const QJsonObject& recorded) override
    {
        const QString wallpaper = recorded.value(QStringLiteral("wallpaper")).toString();
        const QString mode = recorded.value(QStringLiteral("mode")).toString();
        if (mode == QStringLiteral("none") || mode.isEmpty() || !QFileInfo::exists(wallpaper)) {
            showColour(recorded.value(QStringLiteral("colour")).toString());
            return;
        }
        const QString started = saved(kMode);
        setWallpaper(wallpaper, mode);
        // The desktop takes only a mode other than its start's; that one it takes when drawn
        // anew.
        if (mode == started && mode != QStringLiteral("stretch"))
            redrawDesktop(runner_, kProgram, profile());
    }

    // pcmanfm-qt saves its settings once its desktop took the picture; without a desktop
    // running it takes nothing and says nothing.
    void setWallpaper(const QString& path, const QString& mode = QStringLiteral("stretch"))
    {
        run(kProgram,
            {QStringLiteral("--set-wallpaper"), path, QStringLiteral("--wallpaper-mode"), mode});
        if (saved(kWallpaper) != path)
            throw StepError(QStringLiteral("pcmanfm-qt did not take the picture: its desktop "
                                           "(pcmanfm-qt --desktop) does not run"));
    }

    // A plain colour is shown as a picture of it: the mode `color` would stay on the desktop
    // when the saved mode is stretch, and no later picture would show.
    void showColour(const QString& name)
    {
        QColor colour(name);
        if (!colour.isValid())
            colour = Qt::black;
        const QString path =
            QDir(env_.cacheFolder)
                .absoluteFilePath(
                    QStringLiteral("plain-%1.png").arg(colour.name(QColor::HexRgb).mid(1)));
        if (!QFileInfo::exists(path)) {
            QImage image(1, 1, QImage::Format_RGB32);
            image.fill(colour);
            QDir().mkpath(env_.cacheFolder); // when not, the write says why
            PendingFile file(path);
            QImageWriter writer(&file, "png");
            if (!file.create() || !writer.write(image) || !file.commit())
                throw StepError(
                    QStringLiteral("could not write %1: %2")
                        .arg(QDir::toNativeSeparators(path),
                             file.failed() ? file.errorString() : writer.errorString()));
        }
        setWallpaper(path);
    }

    // The profile of the running desktop; the session's, LXQt's own `lxqt`, when none runs.
    QString profile()
    {
        if (profile_.isEmpty())
            profile_ = runningProfile(runner_, kProgram, QStringLiteral("lxqt"));
        return profile_;
    }

    QString settingsPath()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .absoluteFilePath(QStringLiteral("pcmanfm-qt/%1/settings.conf").arg(profile()));
    }

    // Read anew each time: pcmanfm-qt writes the file while this runs.
    QString saved(const QString& key)
    {
        QSettings settings(settingsPath(), QSettings::IniFormat);
        settings.sync();
        return settings.value(key).toString();
    }

    QString profile_;
};

} // namespace

std::unique_ptr<WallpaperSetter> makePcmanfmQtWallpaper(QString name, const DesktopEnvironment& env,
                                                        CommandRunner& runner)
{
    return std::make_unique<PcmanfmQtWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
