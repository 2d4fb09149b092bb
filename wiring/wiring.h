// The real adapters of this computer, wired in one place for both programs: the desktop's
// wallpaper, the logon start, the daily refresh, the external-program runner and the clock.
// Where the programs live is program_place.h's.
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

} // namespace deskleaf
