#include "platform/command_runner.h"
#include "platform/logon_start.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

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

// Loads the entry with GLib's own loader (the one gnome-session uses) and starts it; the
// program it starts writes the path it was started as and its arguments into $STARTED_AS. Debian's
// python3, which has the GLib bindings.
constexpr char kGlibLaunch[] = R"(
import sys, gi
gi.require_version('Gio', '2.0')
from gi.repository import Gio
info = Gio.DesktopAppInfo.new_from_filename(sys.argv[1])
sys.exit('GLib does not load the entry' if info is None else 0 if info.launch([], None) else 1)
)";

// The entry must start the program in a folder of any name a desktop can carry: checked by
// the real validator and by GLib's loader starting it.
TEST(XdgAutostart, EntryStartsTheProgramWhateverItsFolderIsCalled)
{
    QTemporaryDir dir;
    XdgAutostart autostart(dir.filePath("autostart"));
    const QString folders[] = {
        "plain",
        "我的 程序",
        R"(a "quoted" 'single' $HOME `cmd` back\slash 100% ;&|<>~*?#())",
        "tab\there",
        "line\nbreak\rand return",
    };
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        const QString program = dir.filePath(folder) + "/Tidemark";
        ASSERT_TRUE(QDir().mkpath(dir.filePath(folder)));
        writeFile(program, "#!/bin/sh\nprintf %s \"$0 $*\" > \"$STARTED_AS\"\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        autostart.enable("qorvent", program);
        ASSERT_TRUE(autostart.isEnabled("qorvent"));
        const QString entry = readFile(autostart.entryPath("qorvent"));
        EXPECT_TRUE(entry.startsWith("[Desktop Entry]\nType=Application\n")) << entry.toStdString();
        QProcess validate;
        validate.start("desktop-file-validate", {autostart.entryPath("qorvent")});
        ASSERT_TRUE(validate.waitForFinished(10'000));
        EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();

        const QString startedAs = dir.filePath("started-as");
        QFile::remove(startedAs);
        QProcess launch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("STARTED_AS", startedAs);
        launch.setProcessEnvironment(environment);
        launch.start("/usr/bin/python3", {"-c", kGlibLaunch, autostart.entryPath("qorvent")});
        ASSERT_TRUE(launch.waitForFinished(10'000));
        EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
        QElapsedTimer clock;
        clock.start();
        const QString expected = program + " --logon-start";
        while (readFile(startedAs) != expected && clock.elapsed() < 5000)
            QThread::msleep(20);
        EXPECT_EQ(readFile(startedAs).toStdString(), expected.toStdString()) << entry.toStdString();
    }
    EXPECT_THROW_MSG(autostart.enable("qorvent", dir.filePath("bell\a/Tidemark")), PlatformError,
                     ::testing::EndsWith("the program's path holds a control character, which "
                                         "no autostart entry can carry"));
    autostart.disable("qorvent");
    EXPECT_FALSE(autostart.isEnabled("qorvent"));
    EXPECT_FALSE(QFile::exists(autostart.entryPath("qorvent")));
    autostart.disable("qorvent"); // clearing twice is fine
}

TEST(XdgAutostart, MissingProgramOrRefusedFolderIsAnError)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("file"), "x");
    EXPECT_THROW_MSG(
        XdgAutostart(dir.filePath("autostart")).enable("qorvent", dir.filePath("Tidemark")),
        PlatformError, ::testing::EndsWith("/Tidemark does not exist or cannot be run"));
    EXPECT_FALSE(QFile::exists(dir.filePath("autostart")));
    XdgAutostart autostart(dir.filePath("file/autostart"));
    EXPECT_THROW_MSG(autostart.enable("qorvent", "/bin/sh"), PlatformError,
                     ::testing::EndsWith("cannot be created: Not a directory"));
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

// Peak memory of this process, in KiB (VmHWM).
qint64 peakMemoryKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// A program that writes without end on both streams is killed at the deadline, and only
// the tail of each stream is kept, also while it runs.
TEST(ProcessRunner, KeepsABoundedTailOfAFloodAndNamesACrash)
{
    ProcessRunner runner;
    const qint64 peakBefore = peakMemoryKiB();
    QElapsedTimer clock;
    clock.start();
    const CommandResult flood =
        runner.run("sh", {"-c", "yes deskleaf >&2 & exec yes 'écrit sans fin'"}, 1500);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_TRUE(flood.timedOut);
    EXPECT_LE(flood.out.toUtf8().size(), kOutputTailBytes);
    EXPECT_GT(flood.out.toUtf8().size(), kOutputTailBytes - 20);
    EXPECT_TRUE(flood.out.contains("écrit sans fin\nécrit sans fin\n"));
    EXPECT_FALSE(flood.out.contains(QChar::ReplacementCharacter));
    EXPECT_LE(flood.err.size(), kOutputTailBytes);
    EXPECT_TRUE(flood.err.contains("deskleaf\ndeskleaf"));
    // Gigabytes when the streams are read only at the end; AddressSanitizer's quarantine
    // keeps up to 256 MiB of the freed chunks.
    if (peakBefore > 0) {
        EXPECT_LT(peakMemoryKiB() - peakBefore, 512 * 1024) << "KiB more at the peak";
    }

    const CommandResult crash = runner.run("sh", {"-c", "kill -SEGV $$"}, 10'000);
    EXPECT_TRUE(crash.started);
    EXPECT_FALSE(crash.succeeded());
    EXPECT_EQ(crash.ending(), "crashed (SIGSEGV)");
    const CommandResult failed = runner.run("sh", {"-c", "exit 3"}, 10'000);
    EXPECT_EQ(failed.ending(), "failed with exit code 3");
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
