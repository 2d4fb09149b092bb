#include "platform/refresh_timer.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace deskleaf {
namespace {

// The variables recorded in the service, in this order.
constexpr const char* kSessionNames[] = {"XDG_CURRENT_DESKTOP", "DISPLAY", "WAYLAND_DISPLAY",
                                         "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS"};

// A user manager in one of these states takes units; "offline" or no answer means none.
bool managerRuns(const QString& state)
{
    return state == QLatin1String("running") || state == QLatin1String("degraded") ||
           state == QLatin1String("starting") || state == QLatin1String("initializing");
}

QString commandText(const QStringList& args)
{
    return QStringLiteral("systemctl ") + args.join(u' ');
}

QString failure(const CommandResult& result)
{
    if (!result.started)
        return QStringLiteral("it could not be started");
    if (result.timedOut)
        return QStringLiteral("it did not finish in time");
    const QString err = result.err.simplified();
    if (result.signal != 0)
        return err.isEmpty() ? QStringLiteral("it ") + result.ending() : err;
    return err.isEmpty() ? QStringLiteral("exit status %1").arg(result.exitCode) : err;
}

[[noreturn]] void refuse(const QString& why)
{
    throw PlatformError(
        QStringLiteral("Could not set up the daily refresh: %1").arg(why).toStdString());
}

// A unit line ends at a line break; other control characters have no place in one either.
void checkOneLine(const QString& value, const QString& what)
{
    for (const QChar c : value)
        if (c.category() == QChar::Other_Control)
            refuse(QStringLiteral("%1 holds a control character").arg(what));
}

} // namespace

QString NoDailyRefresh::enable(const RefreshCommand&)
{
    return QStringLiteral("this system has no daily timer for it");
}

SessionVariables sessionVariables(const QProcessEnvironment& environment)
{
    SessionVariables variables;
    for (const char* name : kSessionNames) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty())
            variables.emplace_back(QString::fromLatin1(name), value);
    }
    return variables;
}

SystemdUserTimer::SystemdUserTimer(QString unitFolder, CommandRunner& runner,
                                   SessionVariables session)
    : folder_(std::move(unitFolder)), runner_(runner), session_(std::move(session))
{
}

QString SystemdUserTimer::servicePath() const
{
    return QDir(folder_).filePath(QString::fromLatin1(kService));
}

QString SystemdUserTimer::timerPath() const
{
    return QDir(folder_).filePath(QString::fromLatin1(kTimer));
}

QString SystemdUserTimer::quoted(const QString& word, bool expandsVariables)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == u'\\' || c == u'"')
            result += u'\\';
        else if (c == u'%' || (expandsVariables && c == u'$'))
            result += c;
        result += c;
    }
    return result + u'"';
}

QString SystemdUserTimer::serviceUnit(const RefreshCommand& command,
                                      const SessionVariables& session)
{
    checkOneLine(command.program, QStringLiteral("the deskleaf command's path"));
    // systemd takes no quote or backslash in the path of the program it runs, escaped or not.
    for (const QChar c : {u'"', u'\'', u'\\'})
        if (command.program.contains(c))
            refuse(QStringLiteral("systemd cannot run a program whose path holds %1: %2")
                       .arg(c == u'\\' ? QStringLiteral("a backslash") : QStringLiteral("a quote"),
                            QDir::toNativeSeparators(command.program)));
    checkOneLine(command.folder, QStringLiteral("the program folder's path"));
    QString environment;
    for (const auto& [name, value] : session) {
        checkOneLine(value, name);
        environment += QStringLiteral("Environment=%1\n").arg(quoted(name + u'=' + value, false));
    }
    return QStringLiteral("# Written by Deskleaf when auto-run is ticked, removed when it is "
                          "cleared.\n"
                          "[Unit]\n"
                          "Description=Print today's calendar on the Deskleaf wallpaper\n"
                          "\n"
                          "[Service]\n"
                          "Type=oneshot\n"
                          "%1"
                          "ExecStart=%2 refresh --folder %3\n")
        .arg(environment, quoted(command.program, false), quoted(command.folder, true));
}

QString SystemdUserTimer::timerUnit()
{
    return QStringLiteral(
        "# Written by Deskleaf when auto-run is ticked, removed when it is cleared.\n"
        "[Unit]\n"
        "Description=Refresh the Deskleaf wallpaper after midnight and after a resume\n"
        "\n"
        "[Timer]\n"
        "# A calendar time that passed while the computer slept fires right after it wakes.\n"
        "OnCalendar=*-*-* 00:00:30\n"
        "Persistent=true\n"
        "\n"
        "[Install]\n"
        "WantedBy=timers.target\n");
}

QString SystemdUserTimer::missingManager()
{
    const CommandResult result =
        runner_.run(QStringLiteral("systemctl"), {"--user", "is-system-running"});
    // It exits with 1 for "degraded" too, so the state it prints decides.
    const QString state = result.out.trimmed();
    if (result.started && !result.timedOut && managerRuns(state))
        return {};
    if (!result.started)
        return QStringLiteral("systemctl is not installed");
    return QStringLiteral("no systemd user manager runs (systemctl --user is-system-running: %1)")
        .arg(state.isEmpty() ? failure(result) : state);
}

void SystemdUserTimer::systemctl(const QStringList& args, const char* doing)
{
    const QStringList all = QStringList{QStringLiteral("--user")} + args;
    const CommandResult result = runner_.run(QStringLiteral("systemctl"), all);
    if (!result.succeeded())
        throw PlatformError(QStringLiteral("Could not %1 the daily refresh: %2 failed: %3")
                                .arg(QString::fromLatin1(doing), commandText(all), failure(result))
                                .toStdString());
}

void SystemdUserTimer::write(const QString& path, const QString& text)
{
    if (const QString failure = writeWholeFile(path, text.toUtf8()); !failure.isEmpty())
        refuse(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), failure));
}

bool SystemdUserTimer::inPlace(const RefreshCommand& command) const
{
    if (!isEnabled())
        return false;
    const auto text = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    try {
        return text(servicePath()) == serviceUnit(command, session_) &&
               text(timerPath()) == timerUnit();
    } catch (const PlatformError&) {
        return false; // a command no unit can hold; enable says why
    }
}

QString SystemdUserTimer::enable(const RefreshCommand& command)
{
    // The box registers again at every start of the program: a start finds the units in
    // place and runs no systemctl.
    if (inPlace(command))
        return {};
    if (QString why = missingManager(); !why.isEmpty())
        return why;
    const QFileInfo program(command.program);
    if (!program.isFile() || !program.isExecutable())
        refuse(QStringLiteral("the deskleaf command is missing: %1")
                   .arg(QDir::toNativeSeparators(command.program)));
    const QString service = serviceUnit(command, session_);
    if (const QString why = makeFolders(folder_); !why.isEmpty())
        refuse(QStringLiteral("the folder %1 cannot be created: %2")
                   .arg(QDir::toNativeSeparators(folder_), why));
    // The service first: the timer never names a unit that is not there.
    write(servicePath(), service);
    write(timerPath(), timerUnit());
    systemctl({"daemon-reload"}, "set up");
    systemctl({"enable", "--now", QString::fromLatin1(kTimer)}, "set up");
    return {};
}

void SystemdUserTimer::disable()
{
    if (!QFileInfo::exists(servicePath()) && !QFileInfo::exists(timerPath()))
        return;
    systemctl({"disable", "--now", QString::fromLatin1(kTimer)}, "remove");
    for (const QString& path : {timerPath(), servicePath()}) {
        QFile file(path);
        if (file.exists() && !file.remove())
            throw PlatformError(QStringLiteral("Could not remove the daily refresh: %1: %2")
                                    .arg(QDir::toNativeSeparators(path), file.errorString())
                                    .toStdString());
    }
    systemctl({"daemon-reload"}, "remove");
}

bool SystemdUserTimer::isEnabled() const
{
    // `systemctl enable` links the timer here.
    return QFileInfo::exists(
        QDir(folder_).filePath(QStringLiteral("timers.target.wants/") + QLatin1String(kTimer)));
}

QString systemdUserUnitFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("systemd/user"));
}

std::unique_ptr<DailyRefresh> makeDailyRefresh(CommandRunner& runner)
{
#ifdef Q_OS_WIN
    (void)runner;
    return std::make_unique<NoDailyRefresh>();
#else
    return std::make_unique<SystemdUserTimer>(
        systemdUserUnitFolder(), runner,
        sessionVariables(QProcessEnvironment::systemEnvironment()));
#endif
}

} // namespace deskleaf
