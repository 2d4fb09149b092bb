// The daily refresh's systemd units, checked by systemd's own parser, and their registration
// through a recording command runner.
#include "platform/refresh_timer.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

const QString kIsRunning = "systemctl --user is-system-running";
const QString kReload = "systemctl --user daemon-reload";
const QString kEnable = "systemctl --user enable --now deskleaf-refresh.timer";
const QString kDisable = "systemctl --user disable --now deskleaf-refresh.timer";

void makeProgram(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile program(path);
    program.open(QIODevice::WriteOnly);
    program.write("#!/bin/sh\n");
    program.close();
    program.setPermissions(program.permissions() | QFile::ExeOwner);
}

// A program folder whose name needs every escape, and a deskleaf command in a folder with
// every character systemd takes in a program's path.
struct Scene {
    QTemporaryDir tmp;
    QString folder = tmp.filePath(R"(数据 "q" 'x' $HOME 100% back\slash)");
    QString bin = tmp.filePath("程序 $HOME 100%");
    QString units = tmp.filePath("config/systemd/user");
    fakes::FakeCommandRunner runner;
    SystemdUserTimer timer{units,
                           runner,
                           {{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
                            {"DISPLAY", ":0"},
                            {"XAUTHORITY", R"(/run/x "auth" 50%\)"}}};
    RefreshCommand command{bin + "/deskleaf", folder};

    Scene()
    {
        makeProgram(command.program);
        // It prints "degraded" with exit status 1: a manager all the same.
        runner.answers[kIsRunning] = {true, false, 1, "degraded\n", {}};
    }
    QString unit(const char* name) const
    {
        return QString::fromUtf8(testfiles::readBytes(QDir(units).filePath(name)));
    }
};

} // namespace

TEST(SystemdUserTimer, UnitsPassSystemdAnalyzeForAwkwardPaths)
{
    Scene s;
    ASSERT_EQ(s.timer.enable(s.command), "");
    EXPECT_EQ(s.runner.calls, QStringList({kIsRunning, kReload, kEnable}));
    const QString service = s.unit("deskleaf-refresh.service");
    // '$' is a variable in the arguments only; the program's path is taken as it is.
    const QString base = s.tmp.path() + "/";
    EXPECT_TRUE(service.contains("\nExecStart=\"" + base +
                                 R"(程序 $HOME 100%%/deskleaf" refresh )" + "--folder \"" + base +
                                 R"(数据 \"q\" 'x' $$HOME 100%% back\\slash")" + "\n"))
        << service.toStdString();

    const QString analyze = QStandardPaths::findExecutable("systemd-analyze");
    if (analyze.isEmpty())
        GTEST_SKIP() << "systemd-analyze is missing: scripts/setup installs the systemd package";
    // A user manager's verify needs a runtime folder of its own, nothing more.
    const QString runtime = s.tmp.filePath("run");
    ASSERT_TRUE(QDir().mkpath(runtime));
    QFile(runtime).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess verify;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime);
    verify.setProcessEnvironment(environment);
    // A wrong escape in the program's path makes it "not executable"; bad quoting or an
    // unknown specifier is reported too.
    verify.start(analyze, {"--user", "verify", s.timer.servicePath(), s.timer.timerPath()});
    ASSERT_TRUE(verify.waitForFinished(30'000));
    EXPECT_EQ(verify.exitCode(), 0) << verify.readAllStandardError().toStdString();
    EXPECT_EQ(verify.readAllStandardError().toStdString(), "");
}

TEST(SystemdUserTimer, EveryStepIsCheckedAndClearingRemovesBothUnits)
{
    // No manager: nothing written, and the reason.
    for (const CommandResult& answer : {CommandResult{true, false, 1, "offline\n", {}},
                                        CommandResult{false, false, -1, {}, {}}}) {
        Scene s;
        s.runner.answers[kIsRunning] = answer;
        const QString why = s.timer.enable(s.command);
        EXPECT_TRUE(why.contains(answer.started ? "offline" : "not installed"))
            << why.toStdString();
        EXPECT_FALSE(QFile::exists(s.timer.timerPath()));
        EXPECT_EQ(s.runner.calls.size(), 1);
    }

    // A failing step is an error naming the command and what it said.
    for (const QString& failing : {kReload, kEnable}) {
        Scene s;
        s.runner.answers[failing] = {
            true, false, 1, {}, "Unit deskleaf-refresh.timer not found.\n"};
        EXPECT_THROW_MSG(
            (void)s.timer.enable(s.command), PlatformError,
            ::testing::StrEq("Could not set up the daily refresh: " + failing.toStdString() +
                             " failed: Unit deskleaf-refresh.timer not found."));
    }
    // A program systemd cannot run is refused before anything is written.
    Scene s;
    const QString quote = s.tmp.path() + R"(/a "quote"/deskleaf)";
    makeProgram(quote);
    for (const auto& [program, why] : {std::pair{s.bin + "/missing", "command is missing"},
                                       std::pair{quote, "cannot run a program whose path"}}) {
        EXPECT_THROW_MSG((void)s.timer.enable({program, s.folder}), PlatformError,
                         ::testing::HasSubstr(why))
            << program.toStdString();
    }
    EXPECT_FALSE(QFile::exists(s.timer.servicePath()));

    // Enabled with the same units, as at every start: no systemctl; a new session's display
    // is written again.
    ASSERT_EQ(s.timer.enable(s.command), "");
    ASSERT_TRUE(QDir().mkpath(s.units + "/timers.target.wants"));
    ASSERT_TRUE(
        QFile::link(s.timer.timerPath(), s.units + "/timers.target.wants/deskleaf-refresh.timer"));
    s.runner.calls.clear();
    ASSERT_EQ(s.timer.enable(s.command), "");
    EXPECT_TRUE(s.runner.calls.isEmpty()) << s.runner.calls.join("; ").toStdString();
    SystemdUserTimer moved{s.units, s.runner, {{"DISPLAY", ":1"}}};
    ASSERT_EQ(moved.enable(s.command), "");
    EXPECT_EQ(s.runner.calls.size(), 3);
    EXPECT_TRUE(s.unit("deskleaf-refresh.service").contains("DISPLAY=:1"));

    // Clearing: stopped, both files gone, reloaded; nothing to do the second time.
    s.runner.calls.clear();
    s.timer.disable();
    EXPECT_EQ(s.runner.calls, QStringList({kDisable, kReload}));
    EXPECT_FALSE(QFile::exists(s.timer.servicePath()) || QFile::exists(s.timer.timerPath()));
    s.timer.disable();
    EXPECT_EQ(s.runner.calls.size(), 2);
}
