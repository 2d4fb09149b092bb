// Recording stand-ins for the desktop: what was asked, and failures on demand.
#pragma once

#include "platform/command_runner.h"
#include "platform/logon_start.h"
#include "platform/refresh_timer.h"
#include "platform/wallpaper.h"

#include <QStringList>

#include <map>
#include <set>

namespace deskleaf::fakes {

class FakeWallpaper final : public WallpaperSetter {
public:
    using WallpaperSetter::apply;
    void apply(const WallpaperPictures& pictures) override
    {
        for (const WallpaperPicture& picture : pictures)
            calls << "apply " + (picture.screen.isEmpty() ? QString() : picture.screen + ' ') +
                         picture.path;
        if (fail)
            throw PlatformError("Could not set the wallpaper on TestDesk: refused");
    }
    void remove() override
    {
        calls << "remove";
        if (fail)
            throw PlatformError("Could not remove the wallpaper on TestDesk: refused");
    }
    QStringList calls;
    bool fail = false;
};

class FakeLogonStart final : public LogonStart {
public:
    void enable(const QString& name, const QString& executable) override
    {
        calls << "enable " + name + " " + executable;
        if (fail)
            throw PlatformError("Could not register the program to start at logon: refused");
        enabled.insert(name);
    }
    void disable(const QString& name) override
    {
        calls << "disable " + name;
        enabled.erase(name);
    }
    bool isEnabled(const QString& name) const override { return enabled.count(name) > 0; }
    QStringList calls;
    std::set<QString> enabled;
    bool fail = false;
};

// Records "program arg ..." per call; answers are looked up by that text, success otherwise.
class FakeCommandRunner final : public CommandRunner {
public:
    CommandResult run(const QString& program, const QStringList& args, int) override
    {
        calls << (QStringList{program} + args).join(u' ');
        const auto answer = answers.find(calls.last());
        return answer != answers.end() ? answer->second : CommandResult{true, false, 0, {}, {}};
    }
    bool has(const QString&) override { return true; }
    QStringList calls;
    std::map<QString, CommandResult> answers;
};

class FakeDailyRefresh final : public DailyRefresh {
public:
    QString enable(const RefreshCommand& command) override
    {
        calls << "enable " + command.program + " " + command.folder;
        if (fail)
            throw PlatformError("Could not set up the daily refresh: refused");
        enabled = missing.isEmpty();
        return missing;
    }
    void disable() override
    {
        calls << "disable";
        enabled = false;
    }
    bool isEnabled() const override { return enabled; }
    QStringList calls;
    QString missing; // why there is none, when set
    bool enabled = false;
    bool fail = false;
};

} // namespace deskleaf::fakes
