#include "command_runner.h"

#include <QProcess>
#include <QStandardPaths>

namespace deskleaf {

CommandResult ProcessRunner::run(const QString& program, const QStringList& args, int timeoutMs)
{
    CommandResult result;
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(timeoutMs))
        return result;
    result.started = true;
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
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
    qint64 pid = 0;
    if (!QProcess::startDetached(program, args, QString(), &pid))
        return std::nullopt;
    return pid;
}

} // namespace deskleaf
