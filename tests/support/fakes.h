// Recording stand-ins for the desktop: what was asked, and failures on demand.
#pragma once

#include "logon_start.h"
#include "wallpaper.h"

#include <QStringList>

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

} // namespace deskleaf::fakes
