#include "command_runner.h"
#include "logon_start.h"
#include "startup_clock.h"
#include "test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    ASSERT_TRUE(testfiles::writeBytes(path, data));
}

QString readFile(const QString& path)
{
    return QString::fromUtf8(testfiles::readBytes(path));
}

} // namespace

// The entry must survive every character a path may hold, checked by the real validator
// and by reading the Exec value back as a desktop would.
TEST(XdgAutostart, EntryValidatesForAwkwardPaths)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath("autostart"));
    const QString paths[] = {
        "/opt/deskleaf/Tidemark",
        "/home/li/我的 程序/Tidemark",
        R"(/tmp/a "quoted" $HOME `cmd` back\slash 100%/Tidemark)",
    };
    for (const QString& path : paths) {
        autostart.enable("qorvent", path);
        ASSERT_TRUE(autostart.isEnabled("qorvent"));
        const QString entry = readFile(autostart.entryPath("qorvent"));
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n")) << entry.toStdString();
        QProcess validate;
        validate.start("desktop-file-validate", {autostart.entryPath("qorvent")});
        ASSERT_TRUE(validate.waitForFinished(10'000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();

        // Undo the string escapes, then the quoting, as a launcher does.
        QString exec = entry.section("Exec=", 1).section('\n', 0, 0);
        ASSERT_TRUE(exec.endsWith(" --logon-start")) << exec.toStdString();
        exec.chop(QString(" --logon-start").size());
        exec.replace("\\\\", "\\").replace("%%", "%");
        ASSERT_TRUE(exec.startsWith('"') && exec.endsWith('"')) << exec.toStdString();
        QString unquoted;
        for (qsizetype i = 1; i + 1 < exec.size(); ++i) {
            if (exec[i] == '\\')
                ++i;
            unquoted += exec[i];
        }
        EXPECT_EQ(unquoted, path);
    }
    autostart.disable("qorvent");
    EXPECT_FALSE(autostart.isEnabled("qorvent"));
    EXPECT_FALSE(QFile::exists(autostart.entryPath("qorvent")));
    autostart.disable("qorvent"); // clearing twice is fine
}

TEST(XdgAutostart, RefusedFolderIsAnError)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("file"), "x");
    XdgAutostart autostart(dir.filePath("file/autostart"));
    EXPECT_THROW(autostart.enable("qorvent", "/opt/Tidemark"), PlatformError);
    EXPECT_THROW(autostart.enable("qorvent", "/opt/a\nExec=evil"), PlatformError);
}

TEST(StartupClock, ShorterOfSystemAndSessionTime)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("uptime"), "5000.25 9000.00\n");
    QDir(dir.path()).mkdir("sessions");
    writeFile(dir.filePath("sessions/7"), "# logind\nUSER=1000\nREALTIME=1700000000000000\n"
                                          "MONOTONIC=4900000000\n");
    UptimeSources sources;
    sources.procUptime = dir.filePath("uptime");
    sources.sessionsFolder = dir.filePath("sessions");
    sources.monotonicNow = [] { return 4960.0; };

    EXPECT_EQ(secondsSinceStartup(sources), 5000.25); // no session
    sources.sessionId = "7";
    EXPECT_EQ(secondsSinceStartup(sources), 60.0); // logged in a minute ago
    sources.sessionId = "8";
    EXPECT_EQ(secondsSinceStartup(sources), 5000.25); // no record of that session
    sources.sessionId = "../uptime";
    EXPECT_EQ(secondsSinceStartup(sources), 5000.25);
    sources.sessionId = "7";
    sources.procUptime = dir.filePath("missing");
    EXPECT_EQ(secondsSinceStartup(sources), 60.0);
    sources.sessionId.clear();
    EXPECT_EQ(secondsSinceStartup(sources), std::nullopt);
    writeFile(dir.filePath("garbage"), "soon\n");
    sources.procUptime = dir.filePath("garbage");
    EXPECT_EQ(secondsSinceStartup(sources), std::nullopt);
}

TEST(ProgramFolder, BesideTheExecutableUnlessInstalled)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("prefix/bin");
    QDir(dir.path()).mkpath("unpacked here");
    EXPECT_EQ(programFolder(dir.filePath("unpacked here/Tidemark"), dir.filePath("prefix/bin"),
                            "/home/li/.local/share"),
              dir.filePath("unpacked here"));
    EXPECT_EQ(programFolder(dir.filePath("prefix/bin/Tidemark"), dir.filePath("prefix/bin"),
                            "/home/li/.local/share"),
              "/home/li/.local/share/Deskleaf");
}

// The real runner on real programs: the time limit holds for the whole call.
TEST(ProcessRunner, KeepsItsTimeLimitAndSaysWhatHappened)
{
    ProcessRunner runner;
    QElapsedTimer clock;
    clock.start();
    const CommandResult slow = runner.run("sleep", {"30"}, 300);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_TRUE(slow.started);
    EXPECT_TRUE(slow.timedOut);
    EXPECT_FALSE(slow.succeeded());

    const CommandResult missing = runner.run("/nonexistent/deskleaf-no-such-tool", {}, 300);
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(missing.timedOut);
    EXPECT_FALSE(missing.succeeded());

    const CommandResult done =
        runner.run("sh", {"-c", "printf 'out ü'; printf err >&2; exit 3"}, 10'000);
    EXPECT_TRUE(done.started);
    EXPECT_FALSE(done.timedOut);
    EXPECT_EQ(done.exitCode, 3);
    EXPECT_EQ(done.out, "out ü");
    EXPECT_EQ(done.err, "err");
}

TEST(ProcessRunner, TellsARunningDetachedProgramFromOneThatEnded)
{
    ProcessRunner runner;
    const std::optional<qint64> sleeper = runner.startDetached("sleep", {"30"});
    ASSERT_TRUE(sleeper);
    EXPECT_TRUE(runner.keepsRunning(*sleeper, 200));
    // An ended process is seen at once, also while it waits to be reaped (a zombie).
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(*sleeper), SIGKILL);
    EXPECT_FALSE(runner.keepsRunning(*sleeper, 5000));
    EXPECT_LT(clock.elapsed(), 1500);

    const std::optional<qint64> quitter = runner.startDetached("false", {});
    ASSERT_TRUE(quitter);
    clock.start();
    EXPECT_FALSE(runner.keepsRunning(*quitter, 5000));
    EXPECT_LT(clock.elapsed(), 1500);
    EXPECT_FALSE(runner.startDetached("/nonexistent/deskleaf-no-such-tool", {}));
}
