#include "command_runner.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <climits>

#if defined(Q_OS_WIN)
#include <windows.h>
#elif !defined(Q_OS_LINUX)
#include <cerrno>
#include <csignal>
#endif

namespace deskleaf {
namespace {

// A killed process ends at once unless the kernel holds it (a hung disk); so long is waited
// for it past the time limit before the call returns all the same.
constexpr int kReapMs = 250;

int remainingMs(const QDeadlineTimer& deadline)
{
    return int(std::min<qint64>(deadline.remainingTime(), INT_MAX)); // -1: no limit
}

bool isRunning(qint64 pid)
{
#if defined(Q_OS_LINUX)
    // "pid (name) S ...": an ended process that nobody has reaped yet is a zombie, Z.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close < 0 || close + 2 >= line.size())
        return false;
    const char state = line[close + 2];
    return state != 'Z' && state != 'X';
#elif defined(Q_OS_WIN)
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return false;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

} // namespace

CommandResult ProcessRunner::run(const QString& program, const QStringList& args, int timeoutMs)
{
    // One deadline for the whole call: starting and running share the time limit.
    const QDeadlineTimer deadline(timeoutMs);
    CommandResult result;
    QProcess process;
    process.start(program, args);
    const bool started = process.waitForStarted(remainingMs(deadline));
    if (!started && process.state() == QProcess::NotRunning)
        return result; // missing, or refused by the system
    result.started = true;
    bool finished = false;
    if (started) {
        process.closeWriteChannel();
        finished = process.waitForFinished(remainingMs(deadline)) ||
                   process.state() == QProcess::NotRunning;
    }
    if (!finished) {
        process.kill();
        process.waitForFinished(kReapMs);
        result.timedOut = true;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

bool ProcessRunner::has(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

std::optional<qint64> ProcessRunner::startDetached(const QString& program, const QStringList& args)
{
    // Left running after this program ends, it must not write into its terminal.
    QProcess process;
    process.setProgram(program);
    process.setArguments(args);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return std::nullopt;
    return pid;
}

bool ProcessRunner::keepsRunning(qint64 pid, int watchMs)
{
    const QDeadlineTimer deadline(watchMs);
    while (!deadline.hasExpired()) {
        if (!isRunning(pid))
            return false;
        QThread::msleep(ulong(std::clamp(remainingMs(deadline), 1, 20)));
    }
    return isRunning(pid);
}

} // namespace deskleaf
