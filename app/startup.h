// The start-up decision: within three minutes of start-up the program makes the day's
// wallpaper unattended (when asked to and not yet done today) and ends without a window;
// otherwise the main window opens.
#pragma once

#include "logon_start.h"
#include "profile_file.h"
#include "wallpaper.h"

#include <QDate>
#include <QString>

#include <optional>

namespace deskleaf {

// The name the program is registered under to start at logon.
inline constexpr const char* kLogonName = "qorvent";
// A start this soon after start-up is the logon start, in seconds.
inline constexpr double kUnattendedWindow = 180;

struct StartupServices {
    ProfileFile& profile;
    QString folder; // holds kel.ini, kel.bmp, zm.bmp
    QDate today;
    WallpaperSetter& wallpaper;
    LogonStart& logon;
    QString executable; // the path registered for the logon start
};

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
LogonJobResult runLogonWallpaper(const StartupServices& services);

// Ticks or clears the auto-run box: stores the flag first, then registers or removes the
// logon start. Throws ProfileError or PlatformError.
void setAutoRun(const StartupServices& services, bool on);

struct StartupDecision {
    bool interactive;                       // show the main window
    bool autoRunTicked;                     // the auto-run box shows ticked
    std::optional<LogonJobResult> logonJob; // set on the unattended road
    QString problem;                        // a registration that failed, for the window to tell
};

// Runs once before any window exists. secondsSinceStartup empty means unknown, which
// counts as a start by the user.
StartupDecision decideStartup(const StartupServices& services,
                              std::optional<double> secondsSinceStartup);

} // namespace deskleaf
