#include "platform/command_runner.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <climits>
#include <cstring>

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

// Appends more to tail and keeps its last kOutputTailBytes, starting at a whole UTF-8
// character.
void keepTail(QByteArray& tail, const QByteArray& more)
{
    tail += more;
    if (tail.size() <= kOutputTailBytes)
        return;
    qsizetype cut = tail.size() - kOutputTailBytes;
    for (int i = 0; i < 3 && cut < tail.size() && (quint8(tail[cut]) & 0xC0) == 0x80; ++i)
        ++cut;
    tail.remove(0, cut);
}

QString signalName(int signal)
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 32)
    if (const char* name = sigabbrev_np(signal))
        return QStringLiteral("SIG") + QLatin1String(name);
#endif
#if defined(Q_OS_WIN)
    return QStringLiteral("status 0x%1").arg(quint32(signal), 8, 16, QLatin1Char('0'));
#else
    return QStringLiteral("signal %1").arg(signal);
#endif
}

} // namespace

QString CommandResult::ending() const
{
    if (signal != 0)
        return QStringLiteral("crashed (%1)").arg(signalName(signal));
    return QStringLiteral("failed with exit code %1").arg(exitCode);
}

CommandResult ProcessRunner::run(const QString& program, const QStringList& args, int timeoutMs)
{
    // One deadline for the whole call: starting and running share the time limit.
    const QDeadlineTimer deadline(timeoutMs);
    CommandResult result;
    QProcess process;
    // Each stream is drained as it arrives (the wait calls read the pipes and signal at
    // once), so a program that writes without end costs no memory.
    QByteArray out, err;
    QObject::connect(&process, &QProcess::readyReadStandardOutput,
                     [&] { keepTail(out, process.readAllStandardOutput()); });
    QObject::connect(&process, &QProcess::readyReadStandardError,
                     [&] { keepTail(err, process.readAllStandardError()); });
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
    keepTail(out, process.readAllStandardOutput());
    keepTail(err, process.readAllStandardError());
    result.out = QString::fromUtf8(out);
    result.err = QString::fromUtf8(err);
    if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    } else if (!result.timedOut) {
        // Where Qt knows it (Unix), a crash's exit code is the signal.
        result.signal = process.exitCode() != 0 ? process.exitCode() : -1;
    }
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
