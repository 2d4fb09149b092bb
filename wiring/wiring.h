// The real adapters of this computer, wired in one place for both programs: the desktop's
// wallpaper, the logon start, the daily refresh, the external-program runner, the clock and
// the program folder.
#pragma once

#include "model/jobs.h"
#include "platform/command_runner.h"

#include <memory>

namespace deskleaf {

class RealDesktop {
public:
    // executable is the program registered to start at logon.
    explicit RealDesktop(QString executable);
    ~RealDesktop();

    Desktop desktop() const { return {*wallpaper_, *logon_, *refresh_, executable_, &screens}; }
    WallpaperSetter& wallpaper() const { return *wallpaper_; }
    static QDate today();

private:
    // The monitors now; when they cannot be read, none, so that the wallpaper keeps the
    // size it was made for (the reason goes to the log).
    static ScreenList screens();

    ProcessRunner runner_;
    std::unique_ptr<WallpaperSetter> wallpaper_;
    std::unique_ptr<LogonStart> logon_;
    std::unique_ptr<DailyRefresh> refresh_;
    QString executable_;
};

// Why the running program's own file cannot be named, when its path is not UTF-8 text
// (pathFromSystem); else an empty text.
QString unnamableExecutable();

// Where the program keeps its files: beside the executable, which can be unpacked anywhere,
// or $XDG_DATA_HOME/Deskleaf for a copy installed under the install prefix.
// Throws std::runtime_error when the data folder's name cannot be kept (pathFromSystem).
QString defaultProgramFolder(const QString& executable);

} // namespace deskleaf
