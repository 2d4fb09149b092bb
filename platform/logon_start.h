// Registers the program to start at logon under a name, with its executable's path.
#pragma once

#include "platform/platform_error.h"

#include <QString>

#include <memory>
#include <optional>

namespace deskleaf {

// The argument the logon start passes to the program, and only it: a start with it takes
// the unattended road, any other start shows the window.
inline constexpr const char* kLogonStartArgument = "--logon-start";

class LogonStart {
public:
    virtual ~LogonStart() = default;
    // Registers executable to be started with kLogonStartArgument. Throws PlatformError
    // when the registration cannot be written or removed.
    virtual void enable(const QString& name, const QString& executable) = 0;
    virtual void disable(const QString& name) = 0;
    virtual bool isEnabled(const QString& name) const = 0;
};

// An XDG autostart entry NAME.desktop in folder (normally ~/.config/autostart).
class XdgAutostart final : public LogonStart {
public:
    explicit XdgAutostart(QString folder) : folder_(std::move(folder)) {}
    void enable(const QString& name, const QString& executable) override;
    void disable(const QString& name) override;
    bool isEnabled(const QString& name) const override;

    QString entryPath(const QString& name) const;
    // The Exec value that runs executable with no arguments, quoted and escaped by the
    // Desktop Entry rules so that every character survives; nothing for a path with a
    // control character other than tab and line breaks, which no entry can carry.
    static std::optional<QString> execValue(const QString& executable);

private:
    QString folder_;
};

// $XDG_CONFIG_HOME/autostart, by default ~/.config/autostart.
QString xdgAutostartFolder();

// The logon start of the platform the program was built for.
std::unique_ptr<LogonStart> makeLogonStart();

} // namespace deskleaf
