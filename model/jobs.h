// The program's jobs, which the windows and the deskleaf command call alike: import a
// picture, render today's wallpaper, set or remove it, the logon job and the auto-run
// registration. A job takes the program folder and the seams it needs and returns a result
// or throws (PictureError, ProfileError, PlatformError, JobError); it never asks the user.
#pragma once

#include "model/month_grid.h"
#include "model/picture_import.h"
#include "model/program_folder.h"
#include "model/screen_pictures.h"
#include "platform/logon_start.h"
#include "platform/refresh_timer.h"
#include "platform/wallpaper.h"

#include <QDate>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

namespace deskleaf {

// A job that cannot be done as asked; what() is a UTF-8 sentence for the user.
class JobError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An import that failed and could not put every file back: what() names both failures.
class ImportNotUndone : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What the jobs need of the computer; each program wires the real ones once, tests fakes.
struct Desktop {
    WallpaperSetter& wallpaper;
    LogonStart& logon;
    DailyRefresh& refresh;
    QString executable; // the program registered to start at logon; deskleaf is beside it
    // The monitors now, the primary first; empty when they cannot be known.
    std::function<ScreenList()> screens = [] { return ScreenList(); };
};

// What the wallpaper is composed for on desktop now, by the folder's settings.
ComposeTarget currentTarget(const ProgramFolder& folder, const Desktop& desktop);

using Clock = std::function<QDate()>;

// The name the program is registered under to start at logon.
inline constexpr const char* kLogonName = "qorvent";

// The program called name (Tidemark, deskleaf) in the folder of executable.
QString programBeside(const QString& executable, const QString& name);

// Whether a start with these arguments (without the program's name) is the logon start,
// which makes the day's wallpaper unseen: only the logon entry passes kLogonStartArgument.
bool isLogonStart(const QStringList& arguments);

// The folder's own texts for a month and day, as the grid looks them up.
MonthGrid::CustomTextLookup customTextsOf(const ProgramFolder& folder);
// The lunar-date reminders of folder's kel.ini, read at each call; folder must outlive it.
MonthGrid::LunarTextLookup lunarTextsOf(const ProgramFolder& folder);
// The user's texts that fall in the month of day, one line each in day order: "03-07 生日"
// for a month-day text, "03-18 一月三十 生日" for a lunar one (on the day it shows, named by
// its lunar day), the month-day text of a day first. From one read of each section.
QStringList monthTexts(const ProgramFolder& folder, QDate day);
// The official days off and make-up working days the calendar marks, from the shipped and
// the user's files; none when the folder's settings turn the marks off.
MonthGrid::DayMarkLookup dayMarksOf(const ProgramFolder& folder);
// Brings grid to today's month, as the wallpaper prints it, with the marks of dayMarksOf.
void fillForToday(MonthGrid& grid, const ProgramFolder& folder, QDate today);

// What the wallpaper is composed for: the monitors, the desktop's layout, and the fit and
// the calendar's screens as the settings file says. scale, when given, replaces every
// screen's own.
ComposeTarget composeTargetFor(const ProgramFolder& folder, const ScreenList& screens,
                               PictureLayout layout, std::optional<double> scale);

// Decodes the picture once, fits it to every screen of target, prints grid's calendar on the
// primary one (or on every one), and replaces the kept copy of the picture, the other
// monitors' wallpapers, zm.bmp, kel.bmp (the primary's background) and the stored width.
// Each file is always a whole old or a whole new one; when the job fails, all are as they
// were, or, when putting them back failed too, it throws ImportNotUndone naming both reasons.
ComposedWallpaper importPicture(ProgramFolder& folder, const QString& picturePath,
                                const ComposeTarget& target, const MonthGrid& grid);
// The same for one picture of size.
ImportedPicture importPicture(ProgramFolder& folder, const QString& picturePath, QSize size,
                              const MonthGrid& grid);

// The size kel.bmp was made for, from its header; nothing when there is none.
std::optional<ImportedPicture> storedPicture(const ProgramFolder& folder);

// Prints grid's calendar afresh and replaces zm.bmp with it: on kel.bmp when target is one
// monitor of kel.bmp's size (or has no screens at all), else composed again for target's
// monitors from the kept picture (kel.bmp where none is kept), as an import does.
ComposedWallpaper renderWallpaper(ProgramFolder& folder, const MonthGrid& grid,
                                  const ComposeTarget& target = {});

// What the desktop is handed for target: zm.bmp for one monitor; the spanning picture
// where the desktop spans one over several; else each monitor's own.
WallpaperPictures wallpaperPictures(const ProgramFolder& folder, const ComposeTarget& target);
// Composes today's calendar for target's monitors and sets it as the wallpaper; JobError
// when no picture was opened yet.
void applyWallpaper(ProgramFolder& folder, WallpaperSetter& wallpaper, const ComposeTarget& target,
                    QDate today);
// Puts back the desktop's own wallpaper, or leaves it a plain colour.
void removeWallpaper(WallpaperSetter& wallpaper);

enum class LogonJob {
    Made,         // zm.bmp composed, set as the wallpaper, today recorded
    AutoRunOff,   // the auto-run flag is not "1"
    AlreadyDone,  // made earlier today
    NoBackground, // kel.bmp missing or not a picture: tried again next time
    Failed,       // composing or the wallpaper call failed: tried again next time
};

struct LogonJobResult {
    LogonJob job;
    QString message; // what failed, for Failed and NoBackground
};

// The logon start's wallpaper job: today's calendar on kel.bmp, saved as zm.bmp, set as
// the wallpaper; today is recorded only after the wallpaper call succeeded.
LogonJobResult runLogonJob(ProgramFolder& folder, WallpaperSetter& wallpaper, QDate today,
                           const ComposeTarget& target = {});

// The calendar's colour, a colour integer (0x00BBGGRR, or a system colour). Pure red is
// today's colour and cannot be chosen: colourRefusal gives the reason, empty for any other
// colour. storeCalendarColour throws JobError with that reason, or ProfileError.
inline constexpr qint32 kPureRed = 0x0000FF;
QString colourRefusal(qint32 colour);
void storeCalendarColour(ProgramFolder& folder, qint32 colour);

// How the picture fills each monitor, and whether every monitor shows the calendar, as
// stored; the next composition follows them. The stores throw ProfileError.
PictureFit storedPictureFit(const ProgramFolder& folder);
void storePictureFit(ProgramFolder& folder, PictureFit fit);
bool calendarOnEveryScreen(const ProgramFolder& folder);
void storeCalendarOnEveryScreen(ProgramFolder& folder, bool on);

// Whether the calendar shows the 休 and 班 marks (the default), as stored. The store throws
// ProfileError.
bool holidayMarksShown(const ProgramFolder& folder);
void storeHolidayMarks(ProgramFolder& folder, bool on);
// The week's first day of the calendar: Sunday when sunday, else Monday (the default).
void storeWeekStart(ProgramFolder& folder, bool sunday);

// Which year's file of days off is missing for today's calendar and how to add it, when the
// marks are shown; else an empty text.
QString missingHolidaysNotice(const ProgramFolder& folder, QDate today);

struct AutoRunResult {
    // Said the first time it is ticked where there is no daily refresh (remembered in
    // kel.ini), else empty.
    QString notice;
};

// Ticks or clears the auto-run box: stores the flag first, then registers or removes the
// logon start and the daily refresh (deskleaf beside the registered program, run on this
// folder). A refresh that cannot be set up never undoes the logon start. Throws ProfileError
// or PlatformError.
[[nodiscard]] AutoRunResult setAutoRun(ProgramFolder& folder, const Desktop& desktop, bool on);

struct StartupDecision {
    bool interactive;                       // show the main window
    bool autoRunTicked;                     // the auto-run box shows ticked
    std::optional<LogonJobResult> logonJob; // set on the unattended road
    QString problem;                        // a registration that failed, for the window to tell
};

// Runs once before any window exists.
StartupDecision decideStartup(ProgramFolder& folder, const Desktop& desktop, QDate today,
                              bool logonStart);

} // namespace deskleaf
