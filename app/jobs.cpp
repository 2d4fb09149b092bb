#include "jobs.h"

#include "calendar_renderer.h"
#include "file_backup.h"
#include "pic_buffer.h"
#include "settings.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace deskleaf {
namespace {

// A start this soon after start-up is the logon start, in seconds.
constexpr double kLogonStartWindow = 180;

} // namespace

bool isLogonStart(std::optional<double> secondsSinceStartup)
{
    return secondsSinceStartup && *secondsSinceStartup < kLogonStartWindow;
}

MonthGrid::CustomTextLookup customTextsOf(const ProgramFolder& folder)
{
    return [&folder](int month, int day) { return customText(folder.profile(), month, day); };
}

void fillForToday(MonthGrid& grid, const ProgramFolder& folder, QDate today)
{
    grid.fill(today, today, customTextsOf(folder));
}

ImportedPicture importPicture(ProgramFolder& folder, const QString& picturePath, QSize size,
                              const MonthGrid& grid)
{
    const FolderJob job(folder); // from the first read to the last commit
    const ImportedPicture picture{QString::number(size.width()), size};
    picBuffer surface;
    surface.setBackground(loadStretchedPicture(picturePath, size));
    // A folder's first import starts kel.ini from the shipped default, whose texts the
    // calendar then shows.
    MonthGrid shown = grid;
    if (ensureSettingsFile(folder))
        shown.fill(grid.shownDate(), grid.today(), customTextsOf(folder));
    printCalendar(surface, shown, readSetting(folder.profile(), settings::CalendarColour));

    // Both bitmaps are whole on disk before anything is replaced. Then zm.bmp, kel.bmp and
    // the width are committed in that order, each in one step, and a failure puts back
    // what was already replaced. A new width is cleared before kel.bmp changes (whether or
    // not there is one now) and stored after it, so that no crash between the steps leaves a
    // width kel.bmp does not have.
    PendingBitmap background(surface.background(), folder.backgroundPath());
    PendingBitmap wallpaper(surface.composed(), folder.wallpaperPath());
    const QString oldWidth = readSetting(folder.profile(), settings::PictureWidth);
    const bool widthChanges = oldWidth != picture.widthText;
    FileBackup keptWallpaper(folder.wallpaperPath());
    FileBackup keptBackground(folder.backgroundPath());
    bool widthCleared = false;
    try {
        if (widthChanges && !oldWidth.isEmpty()) {
            writeSetting(folder.profile(), settings::PictureWidth, QString());
            widthCleared = true;
        }
        wallpaper.commit();
        background.commit();
        if (widthChanges)
            writeSetting(folder.profile(), settings::PictureWidth, picture.widthText);
    } catch (const std::exception& e) {
        QString notRestored;
        for (FileBackup* kept : {&keptBackground, &keptWallpaper}) {
            try {
                kept->restore();
            } catch (const std::exception& also) {
                notRestored += u' ' + QString::fromUtf8(also.what());
            }
        }
        if (widthCleared) {
            try {
                writeSetting(folder.profile(), settings::PictureWidth, oldWidth);
            } catch (const std::exception& also) {
                notRestored += u' ' + QString::fromUtf8(also.what());
            }
        }
        if (!notRestored.isEmpty())
            throw PictureError(QStringLiteral("%1 Putting the old files back failed too:%2")
                                   .arg(QString::fromUtf8(e.what()), notRestored)
                                   .toStdString());
        throw;
    }
    return picture;
}

std::optional<ImportedPicture> storedPicture(const ProgramFolder& folder)
{
    const QSize size = QImageReader(folder.backgroundPath()).size();
    if (!size.isValid())
        return std::nullopt;
    return ImportedPicture{QString::number(size.width()), size};
}

namespace {

// The stored background, kel.bmp, on a surface of its own.
picBuffer storedBackground(const ProgramFolder& folder)
{
    picBuffer surface;
    surface.setBackground(loadStretchedPicture(folder.backgroundPath(), {}));
    return surface;
}

void renderOnto(picBuffer& surface, const ProgramFolder& folder, const MonthGrid& grid)
{
    RenderCalendarWallpaper(surface, grid, folder.profile());
    saveBitmap(surface.composed(), folder.wallpaperPath());
}

} // namespace

void renderWallpaper(const ProgramFolder& folder, const MonthGrid& grid)
{
    const FolderJob job(folder);
    picBuffer surface = storedBackground(folder);
    renderOnto(surface, folder, grid);
}

WallpaperPictures wallpaperPictures(const ProgramFolder& folder)
{
    return {{QString(), folder.wallpaperPath()}};
}

void applyWallpaper(const ProgramFolder& folder, WallpaperSetter& wallpaper)
{
    if (!QFileInfo::exists(folder.wallpaperPath()))
        throw JobError("There is no calendar wallpaper yet: open a picture first.");
    wallpaper.apply(wallpaperPictures(folder));
}

void removeWallpaper(WallpaperSetter& wallpaper)
{
    wallpaper.remove();
}

LogonJobResult runLogonJob(ProgramFolder& folder, WallpaperSetter& wallpaper, QDate today)
{
    // One at a time from the check of the day to its record, so that a day is made once.
    std::optional<FolderJob> job;
    try {
        job.emplace(folder);
    } catch (const ProfileError& e) {
        return {LogonJob::Failed, QString::fromUtf8(e.what())};
    }
    if (readSetting(folder.profile(), settings::AutoRun) != QLatin1String("1"))
        return {LogonJob::AutoRunOff, {}};
    if (readSetting(folder.profile(), settings::LastWallpaperDate) == today.toString(Qt::ISODate))
        return {LogonJob::AlreadyDone, {}};

    picBuffer surface;
    try {
        surface = storedBackground(folder);
    } catch (const PictureError& e) {
        return {LogonJob::NoBackground, QString::fromUtf8(e.what())};
    }
    try {
        MonthGrid grid(MonthGrid::Kind::Main);
        fillForToday(grid, folder, today);
        renderOnto(surface, folder, grid);
        wallpaper.apply(wallpaperPictures(folder));
        writeSetting(folder.profile(), settings::LastWallpaperDate, lastWallpaperDateText(today));
    } catch (const std::exception& e) {
        return {LogonJob::Failed, QString::fromUtf8(e.what())};
    }
    return {LogonJob::Made, {}};
}

QString colourRefusal(qint32 colour)
{
    return colour == kPureRed ? QStringLiteral("和当天日期颜色冲突，不能选择红色，OK！")
                              : QString();
}

void storeCalendarColour(ProgramFolder& folder, qint32 colour)
{
    if (const QString refusal = colourRefusal(colour); !refusal.isEmpty())
        throw JobError(refusal.toStdString());
    writeSetting(folder.profile(), settings::CalendarColour, QString::number(colour));
}

QString programBeside(const QString& executable, const QString& name)
{
#ifdef Q_OS_WIN
    const QString file = name + QStringLiteral(".exe");
#else
    const QString& file = name;
#endif
    return QFileInfo(executable).absoluteDir().filePath(file);
}

AutoRunResult setAutoRun(ProgramFolder& folder, const Desktop& desktop, bool on)
{
    const FolderJob job(folder);
    // The flag is stored first, so it follows the box even when the desktop refuses.
    writeSetting(folder.profile(), settings::AutoRun,
                 on ? QStringLiteral("1") : QStringLiteral("0"));
    const QString name = QString::fromLatin1(kLogonName);
    if (on) {
        desktop.logon.enable(name, desktop.executable);
        const QString missing =
            desktop.refresh.enable({programBeside(desktop.executable, QStringLiteral("deskleaf")),
                                    QFileInfo(folder.path()).absoluteFilePath()});
        if (!missing.isEmpty())
            return {QStringLiteral("The calendar is refreshed at each logon only, not after "
                                   "midnight: %1.")
                        .arg(missing)};
        return {};
    }
    // Both are removed even when one of them refuses.
    QStringList failed;
    const auto attempt = [&failed](const std::function<void()>& step) {
        try {
            step();
        } catch (const PlatformError& e) {
            failed << QString::fromUtf8(e.what());
        }
    };
    attempt([&] { desktop.logon.disable(name); });
    attempt([&] { desktop.refresh.disable(); });
    if (!failed.isEmpty())
        throw PlatformError(failed.join(u' ').toStdString());
    return {};
}

StartupDecision decideStartup(ProgramFolder& folder, const Desktop& desktop, QDate today,
                              std::optional<double> secondsSinceStartup)
{
    StartupDecision decision{true, false, std::nullopt, {}};
    // The flag is read and registered again as one step: an "autorun off" meanwhile is
    // not undone.
    std::optional<FolderJob> job;
    try {
        job.emplace(folder);
    } catch (const ProfileError& e) {
        decision.problem = QString::fromUtf8(e.what());
    }
    // Any spelling of the number 1 ticks the box; the unattended job wants "1" exactly.
    bool isNumber = false;
    decision.autoRunTicked =
        readSetting(folder.profile(), settings::AutoRun).trimmed().toDouble(&isNumber) == 1 &&
        isNumber;
    if (decision.autoRunTicked && job) {
        try {
            // Registered again at every start; the notice was told when the box was ticked.
            (void)setAutoRun(folder, desktop, true);
        } catch (const std::exception& e) {
            decision.problem = QString::fromUtf8(e.what());
        }
    }
    if (isLogonStart(secondsSinceStartup)) {
        decision.interactive = false;
        // Without its turn on the folder the job cannot run; the problem says why.
        decision.logonJob = job ? runLogonJob(folder, desktop.wallpaper, today)
                                : LogonJobResult{LogonJob::Failed, {}};
    }
    return decision;
}

} // namespace deskleaf
