#include "model/jobs.h"

#include "files/file_backup.h"
#include "files/pending_file.h"
#include "model/calendar_renderer.h"
#include "model/pic_buffer.h"
#include "model/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace deskleaf {
bool isLogonStart(const QStringList& arguments)
{
    return arguments.contains(QLatin1String(kLogonStartArgument));
}

MonthGrid::CustomTextLookup customTextsOf(const ProgramFolder& folder)
{
    return [&folder](int month, int day) { return customText(folder.profile(), month, day); };
}

MonthGrid::LunarTextLookup lunarTextsOf(const ProgramFolder& folder)
{
    return [&folder](int month, int day) { return lunarCustomText(folder.profile(), month, day); };
}

QStringList monthTexts(const ProgramFolder& folder, QDate day)
{
    const ProfileFile& file = folder.profile();
    QHash<int, QString> byDay; // by day of the month
    for (const auto& [date, text] : customTexts(file))
        if (date.month() == day.month())
            byDay.insert(date.day(), text);
    QHash<int, QString> lunar;
    for (const LunarReminder& reminder : lunarCustomTexts(file))
        lunar.insert(reminder.month * 100 + reminder.day, reminder.text);
    const MonthGrid::LunarTextLookup lunarText = [&lunar](int month, int d) {
        const auto found = lunar.constFind(month * 100 + d);
        return found == lunar.cend() ? std::nullopt : std::optional<QString>(*found);
    };
    QStringList lines;
    for (QDate d(day.year(), day.month(), 1); d.isValid() && d.month() == day.month();
         d = d.addDays(1)) {
        const QString key = d.toString(QStringLiteral("MM-dd "));
        if (const auto found = byDay.constFind(d.day()); found != byDay.cend())
            lines << key + *found;
        if (const QString text = lunarReminderText(d, lunarText); !text.isEmpty()) {
            const std::optional<LunarDay> l = lunarDayOf(d);
            lines << key + lunarDayName(l->month, l->day) + u' ' + text;
        }
    }
    return lines;
}

MonthGrid::DayMarkLookup dayMarksOf(const ProgramFolder& folder)
{
    if (!holidayMarksShown(folder))
        return {};
    auto days = std::make_shared<const OfficialDays>(OfficialDays::load());
    return [days](QDate date) { return days->day(date); };
}

void fillForToday(MonthGrid& grid, const ProgramFolder& folder, QDate today)
{
    grid.setDayMarks(dayMarksOf(folder));
    grid.setLunarTexts(lunarTextsOf(folder));
    grid.setSundayFirst(weekStartsOnSunday(folder.profile()));
    grid.fill(today, today, customTextsOf(folder));
}

namespace {

// The user's picture copied whole beside its final name, put in place by commit().
class PendingCopy {
public:
    PendingCopy(const QString& from, const QString& to) : file_(to)
    {
        QFile source(from);
        if (!source.open(QIODevice::ReadOnly))
            fail(from, source.errorString());
        if (!file_.create())
            fail(to, file_.errorString());
        QByteArray chunk;
        while (!(chunk = source.read(1 << 20)).isEmpty())
            if (file_.write(chunk) != chunk.size())
                fail(to, file_.errorString());
        if (source.error() != QFileDevice::NoError)
            fail(from, source.errorString());
    }
    void commit()
    {
        if (!file_.commit())
            fail(file_.path(), file_.errorString());
    }

private:
    [[noreturn]] static void fail(const QString& path, const QString& why)
    {
        throw PictureError(
            QCoreApplication::translate("Jobs", "Could not keep a copy of the picture as %1: %2")
                .arg(QDir::toNativeSeparators(path), why)
                .toStdString());
    }
    PendingFile file_;
};

// Every file a composed wallpaper is stored in, written whole beside its name first. Then
// the kept picture, the other monitors' wallpapers, zm.bmp, kel.bmp and the width are
// committed in that order, and a failure puts back what was already replaced. A new width
// is cleared before kel.bmp changes and stored after it, so that no crash between the steps
// leaves a width kel.bmp does not have, whether or not there is one now. Wallpapers of monitors no
// longer there and an older kept picture go once everything is in place.
void storeComposed(ProgramFolder& folder, const ComposedWallpaper& wallpaper,
                   const QString& keptFrom, PictureFit fit)
{
    const ScreenPicture& primary = wallpaper.screens.front();
    const QString widthText = QString::number(primary.background.width());
    const QString fitText = pictureFitText(fit);

    // The other monitors' wallpapers are written, through to the disk, beside the primary's.
    QStringList othersPaths;
    std::vector<std::future<std::unique_ptr<PendingBitmap>>> writing;
    const auto write = [&](const QImage& image, const QString& path) {
        othersPaths << path;
        // The image by value: the caller's may be a copy that goes before the thread ends.
        writing.push_back(std::async(std::launch::async, [image, path] {
            auto bitmap = std::make_unique<PendingBitmap>(image, path);
            bitmap->sync();
            return bitmap;
        }));
    };
    if (!wallpaper.spanned.isNull()) {
        write(wallpaper.spanned, folder.spannedWallpaperPath());
    } else {
        for (const ScreenPicture& screen : wallpaper.screens.mid(1))
            write(screen.composed, folder.screenWallpaperPath(screen.screen.name));
    }
    std::optional<PendingCopy> kept;
    QString keptPath;
    if (!keptFrom.isEmpty()) {
        keptPath = folder.keptPicturePathFor(keptFrom);
        kept.emplace(keptFrom, keptPath);
    }
    PendingBitmap background(primary.background, folder.backgroundPath());
    PendingBitmap composed(primary.composed, folder.wallpaperPath());
    std::vector<std::unique_ptr<PendingBitmap>> others;
    for (auto& other : writing)
        others.push_back(other.get());

    const QString oldWidth = readSetting(folder.profile(), settings::PictureWidth);
    const bool widthChanges = oldWidth != widthText;
    const QString oldFit = readSetting(folder.profile(), settings::BackgroundFit);
    const bool fitChanges = oldFit != fitText;
    std::vector<std::unique_ptr<FileBackup>> backups;
    const auto keep = [&backups](const QString& path) {
        auto backup = std::make_unique<FileBackup>(path);
        if (const QString reason = backup->keep(); !reason.isEmpty())
            throw PictureError(reason.toStdString());
        backups.push_back(std::move(backup));
    };
    if (kept)
        keep(keptPath);
    for (const QString& path : othersPaths)
        keep(path);
    keep(folder.wallpaperPath());
    keep(folder.backgroundPath());
    bool widthCleared = false;
    bool fitCleared = false;
    try {
        if (kept)
            kept->commit();
        for (const auto& other : others)
            other->commit();
        composed.commit();
        if (widthChanges && !oldWidth.isEmpty()) {
            writeSetting(folder.profile(), settings::PictureWidth, QString());
            widthCleared = true;
        }
        if (fitChanges && QFileInfo::exists(folder.backgroundPath())) {
            writeSetting(folder.profile(), settings::BackgroundFit, QStringLiteral("none"));
            fitCleared = true;
        }
        background.commit();
        if (widthChanges)
            writeSetting(folder.profile(), settings::PictureWidth, widthText);
        if (fitChanges)
            writeSetting(folder.profile(), settings::BackgroundFit, fitText);
    } catch (const std::exception& e) {
        QString notRestored;
        for (auto it = backups.rbegin(); it != backups.rend(); ++it) {
            if (const QString reason = (*it)->restore(); !reason.isEmpty())
                notRestored += u' ' + reason;
        }
        const auto putBack = [&](bool cleared, const SettingKey& key, const QString& old) {
            if (!cleared)
                return;
            try {
                writeSetting(folder.profile(), key, old);
            } catch (const std::exception& also) {
                notRestored += u' ' + QString::fromUtf8(also.what());
            }
        };
        putBack(widthCleared, settings::PictureWidth, oldWidth);
        putBack(fitCleared, settings::BackgroundFit, oldFit);
        if (!notRestored.isEmpty())
            throw ImportNotUndone(
                QCoreApplication::translate("Jobs", "%1 Putting the old files back failed too:%2")
                    .arg(QString::fromUtf8(e.what()), notRestored)
                    .toStdString());
        throw;
    }
    // Leftovers cost disk space only.
    for (const QString& path : folder.screenWallpaperPaths())
        if (!othersPaths.contains(path))
            QFile::remove(path);
    if (kept) {
        const QDir dir(folder.path());
        for (const QString& name : dir.entryList({QStringLiteral("original.*")}, QDir::Files))
            if (dir.filePath(name) != keptPath)
                QFile::remove(dir.filePath(name));
    }
}

ComposedWallpaper composeFrom(const QString& picturePath, const ComposeTarget& target,
                              ProgramFolder& folder, const MonthGrid& grid)
{
    if (target.screens.isEmpty())
        throw JobError(
            QCoreApplication::translate("Jobs", "There is no screen to compose a wallpaper for.")
                .toStdString());
    // Each screen's background is stored, and must open again.
    for (const ScreenInfo& screen : target.screens)
        if (const auto refusal = backgroundSizeRefusal(screen.pixels.size()))
            throw PictureError(refusal->toStdString());
    const QImage picture = loadPicture(picturePath, target.decodeSize());
    // A folder's first import starts kel.ini from the shipped default, whose texts the
    // calendar then shows.
    MonthGrid shown = grid;
    if (ensureSettingsFile(folder))
        shown.fill(grid.shownDate(), grid.today(), customTextsOf(folder));
    return composeWallpaper(picture, target, shown, calendarColour(folder.profile()));
}

} // namespace

ComposeTarget composeTargetFor(const ProgramFolder& folder, const ScreenList& screens,
                               PictureLayout layout, std::optional<double> scale)
{
    ComposeTarget target;
    target.screens = screens;
    if (scale)
        for (ScreenInfo& screen : target.screens)
            screen.scale = *scale;
    target.layout = layout;
    target.fit = storedPictureFit(folder);
    target.calendarOnEveryScreen = calendarOnEveryScreen(folder);
    return target;
}

PictureFit storedPictureFit(const ProgramFolder& folder)
{
    return pictureFitFromText(readSetting(folder.profile(), settings::PictureFit))
        .value_or(PictureFit::Stretch);
}

void storePictureFit(ProgramFolder& folder, PictureFit fit)
{
    writeSetting(folder.profile(), settings::PictureFit, pictureFitText(fit));
}

bool calendarOnEveryScreen(const ProgramFolder& folder)
{
    return readSetting(folder.profile(), settings::CalendarOnEveryScreen).trimmed() ==
           QLatin1String("1");
}

void storeCalendarOnEveryScreen(ProgramFolder& folder, bool on)
{
    writeSetting(folder.profile(), settings::CalendarOnEveryScreen,
                 on ? QStringLiteral("1") : QStringLiteral("0"));
}

bool holidayMarksShown(const ProgramFolder& folder)
{
    return readSetting(folder.profile(), settings::HolidayMarks).trimmed() != QLatin1String("0");
}

void storeHolidayMarks(ProgramFolder& folder, bool on)
{
    writeSetting(folder.profile(), settings::HolidayMarks,
                 on ? QStringLiteral("1") : QStringLiteral("0"));
}

void storeWeekStart(ProgramFolder& folder, bool sunday)
{
    writeSetting(folder.profile(), settings::WeekStart,
                 sunday ? QStringLiteral("sunday") : QStringLiteral("monday"));
}

QString missingHolidaysNotice(const ProgramFolder& folder, QDate today)
{
    if (!holidayMarksShown(folder))
        return {};
    const std::optional<int> year = OfficialDays::load().missingYear(today);
    return year ? missingYearNotice(*year) : QString();
}

ComposeTarget currentTarget(const ProgramFolder& folder, const Desktop& desktop)
{
    return composeTargetFor(folder, desktop.screens(), desktop.wallpaper.layout(), std::nullopt);
}

ComposedWallpaper importPicture(ProgramFolder& folder, const QString& picturePath,
                                const ComposeTarget& target, const MonthGrid& grid)
{
    const FolderJob job(folder); // from the first read to the last commit
    const ComposedWallpaper wallpaper = composeFrom(picturePath, target, folder, grid);
    storeComposed(folder, wallpaper, picturePath, target.fit);
    return wallpaper;
}

ImportedPicture importPicture(ProgramFolder& folder, const QString& picturePath, QSize size,
                              const MonthGrid& grid)
{
    const FolderJob job(folder);
    ComposeTarget target = composeTargetFor(folder, {}, PictureLayout::PerScreen, std::nullopt);
    target.screens = ComposeTarget::single(size).screens;
    importPicture(folder, picturePath, target, grid);
    return {QString::number(size.width()), size};
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

// Whether kel.bmp serves the target as it is: one monitor of its size, fitted as asked.
bool backgroundFits(const ProgramFolder& folder, const ComposeTarget& target)
{
    if (target.screens.isEmpty())
        return true;
    const auto stored = storedPicture(folder);
    return target.screens.size() == 1 && stored &&
           stored->size == target.screens.front().pixels.size() &&
           readSetting(folder.profile(), settings::BackgroundFit) == pictureFitText(target.fit);
}

} // namespace

ComposedWallpaper renderWallpaper(ProgramFolder& folder, const MonthGrid& grid,
                                  const ComposeTarget& target)
{
    const FolderJob job(folder);
    if (backgroundFits(folder, target)) {
        picBuffer surface = storedBackground(folder);
        const double scale = target.screens.isEmpty() ? 1 : target.screens.front().scale;
        RenderCalendarWallpaper(surface, grid, folder.profile(), scale);
        saveBitmap(surface.composed(), folder.wallpaperPath());
        ScreenInfo screen =
            target.screens.isEmpty()
                ? ScreenInfo{QString(), QRect(QPoint(), surface.background().size()), 1, true}
                : target.screens.front();
        return {{{screen, surface.background(), surface.composed(), true}}, {}, {}};
    }
    // Other monitors, or another size: composed again from the picture the user chose, or
    // from kel.bmp where an older folder kept none.
    QString source = folder.keptPicturePath();
    if (source.isEmpty())
        source = folder.backgroundPath();
    const ComposedWallpaper wallpaper = composeFrom(source, target, folder, grid);
    storeComposed(folder, wallpaper, QString(), target.fit);
    return wallpaper;
}

WallpaperPictures wallpaperPictures(const ProgramFolder& folder, const ComposeTarget& target)
{
    if (target.screens.size() <= 1)
        return {{QString(), folder.wallpaperPath(), {}, false}};
    if (target.spans()) {
        QRect area;
        for (const ScreenInfo& screen : target.screens)
            area |= screen.pixels;
        return {{QString(), folder.spannedWallpaperPath(), area, true}};
    }
    WallpaperPictures pictures;
    for (const ScreenInfo& screen : target.screens)
        pictures.append(
            {screen.name,
             screen.primary ? folder.wallpaperPath() : folder.screenWallpaperPath(screen.name),
             screen.pixels, false});
    return pictures;
}

void applyWallpaper(ProgramFolder& folder, WallpaperSetter& wallpaper, const ComposeTarget& target,
                    QDate today)
{
    if (!QFileInfo::exists(folder.backgroundPath()))
        throw JobError(QCoreApplication::translate(
                           "Jobs", "There is no calendar wallpaper yet: open a picture first.")
                           .toStdString());
    MonthGrid grid(MonthGrid::Kind::Main);
    fillForToday(grid, folder, today);
    renderWallpaper(folder, grid, target);
    wallpaper.apply(wallpaperPictures(folder, target));
}

void removeWallpaper(WallpaperSetter& wallpaper)
{
    wallpaper.remove();
}

LogonJobResult runLogonJob(ProgramFolder& folder, WallpaperSetter& wallpaper, QDate today,
                           const ComposeTarget& target)
{
    // One at a time from the check of the day to its record, so that a day is made once.
    std::optional<FolderJob> job;
    try {
        job.emplace(folder);
    } catch (const ProfileError& e) {
        return {LogonJob::Failed, QString::fromUtf8(e.what())};
    }
    if (!autoRunOn(folder.profile()))
        return {LogonJob::AutoRunOff, {}};
    if (readSetting(folder.profile(), settings::LastWallpaperDate) == today.toString(Qt::ISODate))
        return {LogonJob::AlreadyDone, {}};

    if (!storedPicture(folder)) {
        try {
            (void)storedBackground(folder); // for the reason
        } catch (const PictureError& e) {
            return {LogonJob::NoBackground, QString::fromUtf8(e.what())};
        }
    }
    try {
        MonthGrid grid(MonthGrid::Kind::Main);
        fillForToday(grid, folder, today);
        renderWallpaper(folder, grid, target);
        wallpaper.apply(wallpaperPictures(folder, target));
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
        // Said once: the reason stays the same from one tick to the next.
        if (missing.isEmpty() || logonOnlyNoticeTold(folder.profile()))
            return {};
        writeSetting(folder.profile(), settings::LogonOnlyNoticeTold, QStringLiteral("1"));
        return {QCoreApplication::translate(
                    "Jobs", "The calendar is refreshed at each logon only, not after "
                            "midnight: %1.")
                    .arg(missing)};
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
                              bool logonStart)
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
    decision.autoRunTicked = autoRunBoxTicked(folder.profile());
    if (decision.autoRunTicked && job) {
        try {
            // Registered again at every start; the notice was told when the box was ticked.
            (void)setAutoRun(folder, desktop, true);
        } catch (const std::exception& e) {
            decision.problem = QString::fromUtf8(e.what());
        }
    }
    if (logonStart) {
        decision.interactive = false;
        // Without its turn on the folder the job cannot run; the problem says why.
        decision.logonJob =
            job ? runLogonJob(folder, desktop.wallpaper, today, currentTarget(folder, desktop))
                : LogonJobResult{LogonJob::Failed, {}};
    }
    return decision;
}

} // namespace deskleaf
