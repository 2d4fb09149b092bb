#include "startup.h"

#include "calendar_renderer.h"
#include "month_grid.h"
#include "picture_import.h"
#include "settings.h"

#include <QDir>

namespace deskleaf {

LogonJobResult runLogonWallpaper(const StartupServices& s)
{
    if (readSetting(s.profile, settings::AutoRun) != QLatin1String("1"))
        return {LogonJob::AutoRunOff, {}};
    if (readSetting(s.profile, settings::LastWallpaperDate) == s.today.toString(Qt::ISODate))
        return {LogonJob::AlreadyDone, {}};

    const QDir folder(s.folder);
    picBuffer surface;
    try {
        surface.setBackground(loadStretchedPicture(folder.filePath(QStringLiteral("kel.bmp")), {}));
    } catch (const PictureError& e) {
        return {LogonJob::NoBackground, QString::fromUtf8(e.what())};
    }
    try {
        MonthGrid grid(MonthGrid::Kind::Main);
        grid.fill(s.today, s.today,
                  [&](int month, int day) { return customText(s.profile, month, day); });
        const QString zm = folder.filePath(QStringLiteral("zm.bmp"));
        RenderCalendarWallpaper(surface, grid, s.profile, s.today, zm);
        s.wallpaper.apply(zm);
        writeSetting(s.profile, settings::LastWallpaperDate, lastWallpaperDateText(s.today));
    } catch (const std::exception& e) {
        return {LogonJob::Failed, QString::fromUtf8(e.what())};
    }
    return {LogonJob::Made, {}};
}

void setAutoRun(const StartupServices& s, bool on)
{
    // The flag is stored first, so it follows the box even when the desktop refuses.
    writeSetting(s.profile, settings::AutoRun, on ? QStringLiteral("1") : QStringLiteral("0"));
    if (on)
        s.logon.enable(QString::fromLatin1(kLogonName), s.executable);
    else
        s.logon.disable(QString::fromLatin1(kLogonName));
}

StartupDecision decideStartup(const StartupServices& s, std::optional<double> secondsSinceStartup)
{
    StartupDecision decision{true, false, std::nullopt, {}};
    // Any spelling of the number 1 ticks the box; the unattended job wants "1" exactly.
    bool isNumber = false;
    decision.autoRunTicked =
        readSetting(s.profile, settings::AutoRun).trimmed().toDouble(&isNumber) == 1 && isNumber;
    if (decision.autoRunTicked) {
        try {
            setAutoRun(s, true); // registers the logon start again, at every start
        } catch (const std::exception& e) {
            decision.problem = QString::fromUtf8(e.what());
        }
    }
    if (secondsSinceStartup && *secondsSinceStartup < kUnattendedWindow) {
        decision.interactive = false;
        decision.logonJob = runLogonWallpaper(s);
    }
    return decision;
}

} // namespace deskleaf
