#include "startup_clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

#ifdef Q_OS_WIN
#include "windows/win_system.h"
#include <windows.h>
#endif

namespace deskleaf {
namespace {

std::optional<double> firstNumber(const QByteArray& text)
{
    bool ok = false;
    const double value = text.trimmed().split(' ').value(0).toDouble(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

// The session's start on the monotonic clock, from logind's record of it.
std::optional<double> sessionAge(const UptimeSources& sources)
{
    if (sources.sessionId.isEmpty() || sources.sessionId.contains(u'/') || !sources.monotonicNow)
        return std::nullopt;
    QFile file(QDir(sources.sessionsFolder).filePath(sources.sessionId));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith("MONOTONIC="))
            continue;
        bool ok = false;
        const qint64 micros = line.mid(10).trimmed().toLongLong(&ok);
        if (!ok || micros <= 0)
            return std::nullopt;
        const double age = sources.monotonicNow() - double(micros) / 1e6;
        return age >= 0 ? std::optional(age) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

UptimeSources UptimeSources::fromProcess()
{
    UptimeSources sources;
    sources.sessionId = qEnvironmentVariable("XDG_SESSION_ID");
    sources.monotonicNow = [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    return sources;
}

std::optional<double> secondsSinceStartup(const UptimeSources& sources)
{
#ifdef Q_OS_WIN
    (void)sources;
    return win::secondsSinceStartup();
#else
    QFile file(sources.procUptime);
    std::optional<double> system;
    if (file.open(QIODevice::ReadOnly))
        system = firstNumber(file.readAll());
    const std::optional<double> session = sessionAge(sources);
    if (system && session)
        return std::min(*system, *session);
    return system ? system : session;
#endif
}

QString programFolder(const QString& executable, const QString& installBinFolder,
                      const QString& dataHome)
{
    const QString folder = QFileInfo(executable).absolutePath();
    if (!installBinFolder.isEmpty() &&
        QFileInfo(folder).canonicalFilePath() == QFileInfo(installBinFolder).canonicalFilePath())
        return QDir(dataHome).filePath(QStringLiteral("Deskleaf"));
    return folder;
}

} // namespace deskleaf
