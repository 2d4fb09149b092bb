// sway and other wlroots compositors.
#include "wallpaper_adapters.h"

#include "wallpaper_desktop.h"

#include "pending_file.h"

#include <QDir>
#include <QFileInfo>

namespace deskleaf::detail {

namespace {

class SwaybgWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // A swaybg that cannot read its picture or reach the compositor ends within this long.
    static constexpr int kWatchMs = 500;

    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
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
            why = QStringLiteral("pkill failed with exit code %1").arg(result.exitCode);
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

} // namespace

std::unique_ptr<WallpaperSetter> makeWlrootsWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner)
{
    return std::make_unique<SwaybgWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
