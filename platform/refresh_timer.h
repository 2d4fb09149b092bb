// The daily refresh: `deskleaf refresh` run just after every midnight, and at wake when a
// midnight passed while the computer slept, so that a computer left on shows the right day.
#pragma once

#include "platform/command_runner.h"
#include "platform/platform_error.h"

#include <QProcessEnvironment>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace deskleaf {

// What the refresh runs: `program refresh --folder folder`, both absolute paths.
struct RefreshCommand {
    QString program;
    QString folder;
};

class DailyRefresh {
public:
    virtual ~DailyRefresh() = default;
    // Sets up the daily run, replacing an earlier one. Returns why this computer cannot run
    // one, having changed nothing; empty when it was set up. Throws PlatformError.
    virtual QString enable(const RefreshCommand& command) = 0;
    // Removes it; nothing to do when there is none. Throws PlatformError.
    virtual void disable() = 0;
    virtual bool isEnabled() const = 0;
};

// Where nothing runs programs on a schedule for the user: the logon start alone.
class NoDailyRefresh final : public DailyRefresh {
public:
    QString enable(const RefreshCommand&) override;
    void disable() override {}
    bool isEnabled() const override { return false; }
};

// The session's variables the refresh needs to reach the desktop, name and value.
using SessionVariables = std::vector<std::pair<QString, QString>>;

// XDG_CURRENT_DESKTOP and the display variables that are set in environment.
SessionVariables sessionVariables(const QProcessEnvironment& environment);

// A systemd user timer and its oneshot service in unitFolder, enabled through
// `systemctl --user`. The service records the session's variables, since not every session
// hands its environment to the user manager.
class SystemdUserTimer final : public DailyRefresh {
public:
    SystemdUserTimer(QString unitFolder, CommandRunner& runner, SessionVariables session);
    QString enable(const RefreshCommand& command) override;
    void disable() override;
    bool isEnabled() const override;

    static constexpr const char* kService = "deskleaf-refresh.service";
    static constexpr const char* kTimer = "deskleaf-refresh.timer";
    QString servicePath() const;
    QString timerPath() const;

    // The units' texts. Throws PlatformError for a value no unit line can hold.
    static QString serviceUnit(const RefreshCommand& command, const SessionVariables& session);
    static QString timerUnit();
    // word as one quoted word of a unit setting: '\' and '"' take a backslash, '%' (a
    // specifier) doubles, and where variables expand (a command's arguments, not its path)
    // '$' doubles too.
    static QString quoted(const QString& word, bool expandsVariables);

private:
    // Why no user manager can take the timer; empty when one runs.
    QString missingManager();
    // Enabled with exactly these units already: nothing to write or tell systemd.
    bool inPlace(const RefreshCommand& command) const;
    void systemctl(const QStringList& args, const char* doing);
    void write(const QString& path, const QString& text);

    QString folder_;
    CommandRunner& runner_;
    SessionVariables session_;
};

// $XDG_CONFIG_HOME/systemd/user, by default ~/.config/systemd/user.
QString systemdUserUnitFolder();

// The daily refresh of the platform the program was built for, with this process's session.
std::unique_ptr<DailyRefresh> makeDailyRefresh(CommandRunner& runner);

} // namespace deskleaf
