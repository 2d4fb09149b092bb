// External programs go through this seam: tests record the calls and make them fail.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace deskleaf {

struct CommandResult {
    bool started = false;  // false when the program is missing or cannot run
    bool timedOut = false; // killed after the time limit
    int exitCode = -1;     // -1 when it did not exit by itself
    QString out;           // the last 64 KiB of standard output, UTF-8
    QString err;           // the last 64 KiB of standard error, UTF-8
    int signal = 0;        // the signal that ended it, 0 when it exited

    bool succeeded() const { return started && !timedOut && exitCode == 0; }
    // How it ended: "failed with exit code 3", "crashed (SIGSEGV)".
    QString ending() const;
};

// What is kept of each stream a program writes: enough for any message, however much it
// writes.
inline constexpr qsizetype kOutputTailBytes = 64 * 1024;

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Runs program with args (no shell) and returns within timeoutMs, killing it if need be;
    // keeps the last kOutputTailBytes of each stream.
    virtual CommandResult run(const QString& program, const QStringList& args,
                              int timeoutMs = 10'000) = 0;
    // Whether program can be found on the PATH.
    virtual bool has(const QString& program) = 0;
    // Starts program with args (no shell) and leaves it running after this program exits,
    // its output discarded; returns its process id, or nothing when it could not be started.
    // Runners that cannot leave a program running start nothing.
    virtual std::optional<qint64> startDetached(const QString& /*program*/,
                                                const QStringList& /*args*/)
    {
        return std::nullopt;
    }
    // Watches the process pid, which startDetached gave, for watchMs: false as soon as it
    // has ended, true when it still runs at the end.
    virtual bool keepsRunning(qint64 /*pid*/, int /*watchMs*/) { return false; }
};

// The real runner: QProcess with an argument list.
class ProcessRunner final : public CommandRunner {
public:
    CommandResult run(const QString& program, const QStringList& args, int timeoutMs) override;
    bool has(const QString& program) override;
    std::optional<qint64> startDetached(const QString& program, const QStringList& args) override;
    bool keepsRunning(qint64 pid, int watchMs) override;
};

} // namespace deskleaf
