// How long ago the user's day at the computer began: the shorter of the time since the
// system started and the time since the login session started.
#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace deskleaf {

struct UptimeSources {
    QString procUptime = QStringLiteral("/proc/uptime");
    QString sessionsFolder = QStringLiteral("/run/systemd/sessions"); // systemd-logind
    QString sessionId;                                                // XDG_SESSION_ID
    std::function<double()> monotonicNow; // seconds on the monotonic clock

    static UptimeSources fromProcess();
};

// Seconds since start-up, or nothing when the system does not say. On Linux a session
// often begins long after the machine started; the logon start must count from it.
std::optional<double>
secondsSinceStartup(const UptimeSources& sources = UptimeSources::fromProcess());

// Where the program keeps kel.ini and its bitmaps: beside the executable, which can be
// unpacked anywhere; an installed executable (in installBinFolder) cannot write there and
// uses dataHome/Deskleaf instead.
QString programFolder(const QString& executable, const QString& installBinFolder,
                      const QString& dataHome);

} // namespace deskleaf
