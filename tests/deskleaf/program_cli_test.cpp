// deskleaf apply, remove, colour, remind, reminders and autorun, end to end on temporary
// folders with the real binary.
#include "deskleaf/cli_runner.h"
#include "model/settings.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <QImage>

#include <gtest/gtest.h>

#include <dirent.h>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace {

using deskleaf::testfiles::readBytes;
using deskleaf::testfiles::writeBytes;

std::string quoted(const QString& text)
{
    return "'" + text.toStdString() + "'";
}

// A folder of its own, and a home, configuration and runtime folder that reach no real
// desktop or user manager.
struct Home {
    QTemporaryDir tmp;
    QString folder = tmp.filePath("程序 folder");
    std::string environment = "env -u DBUS_SESSION_BUS_ADDRESS HOME=" + quoted(tmp.path()) +
                              " XDG_CONFIG_HOME=" + quoted(tmp.filePath("config")) +
                              " XDG_CACHE_HOME=" + quoted(tmp.filePath("cache")) +
                              " XDG_RUNTIME_DIR=" + quoted(tmp.filePath("run"));
    Home()
    {
        QDir().mkpath(folder);
        QDir().mkpath(tmp.filePath("run"));
        QFile(tmp.filePath("run"))
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    CliResult run(const std::string& args, const std::string& more = "") const
    {
        return runDeskleaf(args + " --folder " + quoted(folder), environment + " " + more);
    }
    // A link to the binary beside a Tidemark: auto-run
    // registers that Tidemark.
    QString besideTidemark() const
    {
        const QString app = tmp.filePath("app");
        QDir().mkpath(app);
        QFile::link(DESKLEAF_CLI, app + "/deskleaf");
        writeBytes(app + "/Tidemark", "#!/bin/sh\n");
        QFile(app + "/Tidemark").setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        return app + "/deskleaf";
    }
    // Started by another name: a link to the binary.
    CliResult runAs(const QString& program, const std::string& args,
                    const std::string& more = "") const
    {
        return runShell(environment + " " + more + " " + quoted(program) + " " + args +
                        " --folder " + quoted(folder));
    }
    QByteArray settings() const { return readBytes(folder + "/kel.ini"); }
};

} // namespace

// Every command takes --help (and -h) without a folder or a display, prints its synopsis and
// an option line for each option the synopsis shows, and the main help lists it.
TEST(ProgramCommands, EachTakesHelpAndTheMainHelpListsThem)
{
    Home home;
    const CliResult apply = home.run("apply");
    EXPECT_EQ(apply.status, 1);
    EXPECT_EQ(apply.err,
              "deskleaf apply: There is no calendar wallpaper yet: open a picture first.\n");
    const CliResult all = runDeskleaf("--help");
    for (const std::string verb :
         {"lunar", "month", "render", "refresh", "apply", "remove", "colour", "remind", "reminders",
          "week", "autorun", "holidays"}) {
        const CliResult r = runDeskleaf(verb + " --help", "env -u DISPLAY -u WAYLAND_DISPLAY");
        EXPECT_EQ(r.status, 0) << verb << r.err;
        EXPECT_EQ(r.err, "") << verb;
        EXPECT_EQ(r.out.rfind("usage: deskleaf " + verb, 0), 0u) << r.out;
        EXPECT_EQ(runDeskleaf(verb + " -h").out, r.out) << verb;
        std::size_t synopsis = r.out.find('\n'); // its end: the lines of "usage:"
        while (r.out.compare(synopsis + 1, 16, "       deskleaf ") == 0)
            synopsis = r.out.find('\n', synopsis + 1);
        const std::size_t options = r.out.find("\noptions:\n", synopsis);
        ASSERT_NE(options, std::string::npos) << r.out;
        for (std::size_t at = r.out.find("--"); at < synopsis; at = r.out.find("--", at + 2)) {
            const std::size_t end = r.out.find_first_of(" ]\n", at);
            const std::string option = r.out.substr(at, end - at);
            EXPECT_NE(r.out.find("\n  " + option + ' ', options), std::string::npos)
                << verb << ": " << option;
        }
        EXPECT_NE(all.out.find("deskleaf " + verb + " "), std::string::npos) << verb;
    }
}

TEST(ColourCommand, StoresEachSpellingAndRefusesPureRed)
{
    Home home;
    const struct {
        const char *verb, *value, *line;
    } stored[] = {
        {"colour", "'#00ff80'", "text5=8453888"}, // red in the low byte
        {"color", "-2147483643", "text5=-2147483643"},
        {"colour", "default", "text5=16771047"},
    };
    for (const auto& [verb, value, line] : stored) {
        const CliResult r = home.run(std::string(verb) + ' ' + value);
        EXPECT_EQ(r.status, 0) << value << r.err;
        EXPECT_NE(home.settings().indexOf(line), -1) << value;
    }
    const QByteArray before = home.settings();
    CliResult r = home.run("colour '#FF0000'");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "deskleaf colour: 和当天日期颜色冲突，不能选择红色，OK！\n");
    for (const char* bad : {"16777216", "'#GG0000'", "-2147483000", "''"}) {
        r = home.run(std::string("colour ") + bad);
        EXPECT_EQ(r.status, 2) << bad;
    }
    EXPECT_EQ(home.settings(), before);
}

TEST(RemindCommands, StoreRefuseReplaceDeleteAndList)
{
    Home home;
    // 12-25 stored before 03-07; 圣诞 in GBK is CA A5 B5 AE.
    ASSERT_TRUE(writeBytes(home.folder + "/kel.ini", "[MyApp4]\r\n12-25=\xCA\xA5\xB5\xAE\r\n"));
    EXPECT_EQ(home.run("remind 03-07 生日").status, 0);
    EXPECT_EQ(home.run("remind 02-29 闰日").status, 0);

    const QByteArray before = home.settings();
    CliResult r = home.run("remind 03-07 别的");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "生日\n");
    EXPECT_EQ(r.err, "deskleaf remind: 03-07 has a text already; --replace replaces it\n");
    EXPECT_EQ(home.settings(), before);

    EXPECT_EQ(home.run("remind 03-07 别的 --replace").status, 0);
    r = home.run("reminders");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "02-29\t闰日\n03-07\t别的\n12-25\t圣诞\n");
    EXPECT_EQ(home.run("remind 02-29 --delete").status, 0);
    EXPECT_EQ(home.run("reminders").out, "03-07\t别的\n12-25\t圣诞\n");

    for (const char* bad :
         {"remind 02-30 x", "remind 13-01 x", "remind 3-07 x", "remind 03-07",
          "remind 03-07 x --delete", "remind 03-07 x y", "remind 03-07 x --all"}) {
        r = home.run(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("usage: deskleaf remind"), std::string::npos) << bad;
    }
    EXPECT_EQ(home.run("reminders").out, "03-07\t别的\n12-25\t圣诞\n");
}

// Reminds of the same days at once: each day keeps the text of the one that said it stored
// it, and every other one was refused.
TEST(RemindCommands, AtOnceLoseNoText)
{
    Home home;
    ASSERT_TRUE(writeBytes(home.folder + "/kel.ini", "[MyApp4]\r\n")); // no default texts
    const CliResult r =
        runShell("for i in $(seq 0 19); do (" + home.environment + " '" + DESKLEAF_CLI +
                 "' remind 03-0$((i % 9 + 1)) text$i --folder " + quoted(home.folder) +
                 " >/dev/null 2>&1; echo \"$i $?\") & done; wait");
    std::map<int, std::vector<int>> storedBy; // day: the reminds that exited 0
    std::istringstream lines(r.out);
    for (int i, status; lines >> i >> status;) {
        EXPECT_TRUE(status == 0 || status == 1) << i << ": " << status;
        if (status == 0)
            storedBy[i % 9 + 1].push_back(i);
    }
    std::string expected;
    for (const auto& [day, reminds] : storedBy) {
        EXPECT_EQ(reminds.size(), 1u) << "day " << day;
        expected += "03-0" + std::to_string(day) + "\ttext" + std::to_string(reminds[0]) + '\n';
    }
    EXPECT_EQ(storedBy.size(), 9u);
    const std::string listed = home.run("reminders").out;
    EXPECT_NE(listed.find(expected), std::string::npos) << listed;
}

// Refreshes at once (the logon start and the timer after midnight) make the day once.
TEST(RefreshCommand, AtOnceMakesTheDayOnce)
{
    Home home;
    const QString bin = home.tmp.filePath("bin");
    ASSERT_TRUE(
        QDir().mkpath(bin) &&
        writeBytes(bin + "/gsettings",
                   "#!/bin/sh\n[ \"$1\" = set ] && echo \"$3\" >> \"$HOME/sets\" && sleep 0.2\n"
                   "exit 0\n"));
    QFile(bin + "/gsettings").setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    QImage(640, 480, QImage::Format_RGB32).save(home.tmp.filePath("photo.png"));
    ASSERT_EQ(home.run("render --size 800x600 --picture " + quoted(home.tmp.filePath("photo.png")))
                  .status,
              0);
    ASSERT_EQ(home.runAs(home.besideTidemark(), "autorun on", "PATH=" + quoted(bin) + ":\"$PATH\"")
                  .status,
              0);
    const CliResult r = runShell("for i in 1 2 3; do " + home.environment + " PATH=" + quoted(bin) +
                                 ":\"$PATH\" XDG_CURRENT_DESKTOP=GNOME '" + DESKLEAF_CLI +
                                 "' refresh --folder " + quoted(home.folder) + " & done; wait");
    EXPECT_EQ(r.err, "");
    std::istringstream lines(r.out);
    int made = 0, already = 0;
    for (std::string line; std::getline(lines, line);)
        (line == "today's wallpaper was made already" ? already : made) += 1;
    EXPECT_EQ(made, 1) << r.out;
    EXPECT_EQ(already, 2) << r.out;
    EXPECT_EQ(readBytes(home.tmp.filePath("sets")).count('\n'), 2); // picture and its fill
}

// A folder whose name is not UTF-8 (GBK, here) is refused, never written as another one.
TEST(ProgramFolder, ANameThatIsNotUtf8IsRefused)
{
    QTemporaryDir tmp;
    const QByteArray gbk = QFile::encodeName(tmp.path()) + "/\xB2\xE2\xCA\xD4";
    ASSERT_EQ(mkdir(gbk.constData(), 0755), 0);
    ASSERT_TRUE(QFile::copy(DESKLEAF_CLI, tmp.filePath("deskleaf")));
    ASSERT_EQ(rename(QFile::encodeName(tmp.filePath("deskleaf")).constData(),
                     (gbk + "/deskleaf").constData()),
              0);
    const std::string shown = tmp.path().toStdString() + "/\\xB2\\xE2\\xCA\\xD4";
    for (const std::string& command :
         {"'" + std::string(DESKLEAF_CLI) + "' remind 03-07 x --folder '" + gbk.toStdString() + "'",
          "'" + std::string(DESKLEAF_CLI) + "' render --size 800x600 --folder '" +
              gbk.toStdString() + "'",
          "'" + gbk.toStdString() + "/deskleaf' colour default"}) {
        const CliResult r = runShell(command);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find(shown), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("not UTF-8"), std::string::npos) << r.err;
    }
    // Nothing was written, here or in a folder of another name.
    const auto entries = [](const QByteArray& folder) {
        std::vector<std::string> names;
        DIR* listing = opendir(folder.constData());
        while (const dirent* entry = listing ? readdir(listing) : nullptr)
            if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        if (listing)
            closedir(listing);
        return names;
    };
    EXPECT_EQ(entries(QFile::encodeName(tmp.path())), std::vector<std::string>{"\xB2\xE2\xCA\xD4"});
    EXPECT_EQ(entries(gbk), std::vector<std::string>{"deskleaf"});
    unlink((gbk + "/deskleaf").constData()); // QTemporaryDir cannot name them
    rmdir(gbk.constData());
}

// A systemctl that answers with $HOME/state as a user manager would, links the timer on
// enable, and refuses the enable while $HOME/refuse exists.
constexpr const char* kSystemctl = R"(#!/bin/sh
wants="$XDG_CONFIG_HOME/systemd/user/timers.target.wants"
case "$*" in
  *is-system-running) cat "$HOME/state";;
  *'enable --now'*) [ -e "$HOME/refuse" ] && { echo 'Access denied' >&2; exit 1; }
    mkdir -p "$wants" && ln -sf ../deskleaf-refresh.timer "$wants/";;
  *'disable --now'*) rm -f "$wants"/*;;
esac
)";

TEST(AutorunCommand, RegistersTheLogonStartAndTheDailyRefresh)
{
    Home home;
    const QString bin = home.tmp.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(bin) && writeBytes(bin + "/systemctl", kSystemctl));
    QFile(bin + "/systemctl").setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const std::string path = "PATH=" + quoted(bin) + ":\"$PATH\"";
    const QString service = home.tmp.filePath("config/systemd/user/deskleaf-refresh.service");
    const QString autostart = home.tmp.filePath("config/autostart/qorvent.desktop");
    ASSERT_TRUE(writeBytes(home.tmp.filePath("state"), "running\n"));

    // The binary alone: no Tidemark beside it to register.
    const QString alone = home.tmp.filePath("alone");
    ASSERT_TRUE(QDir().mkpath(alone) && QFile::copy(DESKLEAF_CLI, alone + "/deskleaf"));
    CliResult r = home.runAs(alone + "/deskleaf", "autorun on", path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "deskleaf autorun: auto-run starts Tidemark at logon, and there is no "
                     "Tidemark beside this command: " +
                         alone.toStdString() + "/Tidemark does not exist or cannot be run\n");
    EXPECT_EQ(home.runAs(alone + "/deskleaf", "autorun status", path).out,
              "auto-run\toff\nlogon start\toff\ndaily refresh\toff\n");
    // Started by a link beside Tidemark.
    const QString link = home.besideTidemark(), app = QFileInfo(link).absolutePath();
    const auto run = [&](const std::string& args) { return home.runAs(link, args, path); };

    r = run("autorun on");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(
        readBytes(autostart).indexOf("\nExec=\"" + app.toUtf8() + "/Tidemark\" --logon-start\n"),
        -1);
    // The command beside it runs, on the folder's absolute path.
    EXPECT_NE(readBytes(service).indexOf("\nExecStart=\"" + app.toUtf8() +
                                         "/deskleaf\" refresh --folder \"" + home.folder.toUtf8() +
                                         "\"\n"),
              -1)
        << readBytes(service).toStdString();
    EXPECT_EQ(run("autorun status").out, "auto-run\ton\nlogon start\ton\ndaily refresh\ton\n");
    // Any spelling of 1 shows as on, as the window's box shows it.
    deskleaf::ProfileFile profile(home.folder + "/kel.ini");
    deskleaf::writeSetting(profile, deskleaf::settings::AutoRun, QStringLiteral("1.0"));
    EXPECT_EQ(run("autorun status").out, "auto-run\ton\nlogon start\ton\ndaily refresh\ton\n");
    deskleaf::writeSetting(profile, deskleaf::settings::AutoRun, QStringLiteral("1"));

    // A refused timer is one line and exit 1, and keeps the logon start. (A timer still
    // enabled with the same units needs no systemctl: this one was disabled by hand.)
    ASSERT_TRUE(QFile::remove(
        home.tmp.filePath("config/systemd/user/timers.target.wants/deskleaf-refresh.timer")));
    ASSERT_TRUE(writeBytes(home.tmp.filePath("refuse"), ""));
    r = run("autorun on");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "deskleaf autorun: Could not set up the daily refresh: systemctl --user "
                     "enable --now deskleaf-refresh.timer failed: Access denied\n");
    EXPECT_TRUE(QFile::exists(autostart));

    EXPECT_EQ(run("autorun off").status, 0);
    EXPECT_FALSE(QFile::exists(service) || QFile::exists(autostart));

    // No user manager: the logon start alone, said once, done.
    ASSERT_TRUE(writeBytes(home.tmp.filePath("state"), "offline\n"));
    r = run("autorun on");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "deskleaf autorun: The calendar is refreshed at each logon only, not after "
                     "midnight: no systemd user manager runs (systemctl --user "
                     "is-system-running: offline).\n");
    EXPECT_TRUE(QFile::exists(autostart) && !QFile::exists(service));
    r = run("autorun on"); // said once
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");

    for (const char* bad : {"autorun", "autorun maybe", "autorun on off"})
        EXPECT_EQ(run(bad).status, 2) << bad;
}

// Without /proc/self/exe (a private /proc) the folder comes from the name the program was
// started by, looked up on the PATH; a name that names no file is an error, never the
// working folder.
TEST(ProgramFolder, IsTheRunningProgramsOwnNeverTheWorkingFolder)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "AddressSanitizer cannot run a program without /proc";
#endif
    if (runShell("unshare -m true").status != 0)
        GTEST_SKIP() << "no private mount namespace here";
    const Home home;
    QTemporaryDir tmp;
    const QString bin = tmp.filePath("bin"), elsewhere = tmp.filePath("elsewhere");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::copy(DESKLEAF_CLI, bin + "/deskleaf"));
    ASSERT_TRUE(writeBytes(bin + "/kel.ini", "[MyApp4]\r\n03-07=beside\r\n"));
    ASSERT_TRUE(writeBytes(elsewhere + "/kel.ini", "[MyApp4]\r\n03-07=working folder\r\n"));
    // Started as plain "deskleaf" from the working folder, with this PATH and no other, so
    // that a deskleaf installed on the machine is never found.
    const auto startedOn = [&](const QString& path) {
        return runShell("cd " + quoted(elsewhere) + " && " + home.environment +
                        " unshare -m bash -c 'mount -t tmpfs none /proc && PATH=\"$1\" exec -a "
                        "deskleaf \"$0\" reminders' " +
                        quoted(bin + "/deskleaf") + " " + quoted(path));
    };

    const CliResult found = startedOn(bin);
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "03-07\tbeside\n");

    const CliResult lost = startedOn(elsewhere);
    EXPECT_EQ(lost.status, 1);
    EXPECT_EQ(lost.out, "");
    EXPECT_EQ(lost.err, "deskleaf reminders: could not find this program's own file "
                        "(/proc/self/exe cannot be read and \"deskleaf\", the name it was "
                        "started by, is no file); --folder DIR names the folder\n");
}

// Lunar reminders round the command line: stored in their own section beside the untouched
// month-day texts, refused without --replace, listed after the month-day ones, shown on
// today's line after the month-day text, deleted; and the week's first day.
TEST(RemindCommands, LunarRoundTripAndTheWeeksFirstDay)
{
    Home home;
    ASSERT_TRUE(writeBytes(home.folder + "/kel.ini", "[MyApp4]\r\n06-25=Lunch\r\n"));
    EXPECT_EQ(home.run("remind --lunar 06-01 初一").status, 0);
    EXPECT_EQ(home.run("remind --lunar 06-30 三十").status, 0);
    const QByteArray before = home.settings();
    EXPECT_TRUE(before.startsWith("[MyApp4]\r\n06-25=Lunch\r\n")) << before.constData();
    CliResult r = home.run("remind --lunar 06-01 别的");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "初一\n");
    EXPECT_EQ(r.err, "deskleaf remind: lunar 06-01 has a text already; --replace replaces it\n");
    EXPECT_EQ(home.settings(), before);
    EXPECT_EQ(home.run("remind --lunar 06-01 生日 --replace").status, 0);
    EXPECT_EQ(home.run("reminders").out, "06-25\tLunch\nlunar 06-01\t生日\nlunar 06-30\t三十\n");
    // 2025-06-25 is 六月初一.
    r = home.run("month 2025-06 --today 2025-06-25");
    EXPECT_NE(r.out.find("Label6\t今天是:Lunch、生日\n"), std::string::npos) << r.out;

    EXPECT_EQ(home.run("remind --lunar 06-01 --delete").status, 0);
    EXPECT_EQ(home.run("reminders").out, "06-25\tLunch\nlunar 06-30\t三十\n");
    for (const char* bad : {"remind --lunar 13-01 x", "remind --lunar 00-05 x",
                            "remind --lunar 06-31 x", "remind --lunar 6-01 x"}) {
        r = home.run(bad);
        EXPECT_EQ(r.status, 2) << bad;
        EXPECT_NE(r.err.find("is not a lunar month and day"), std::string::npos) << r.err;
    }

    // February 2026 begins on a Sunday: alone in cell 0 Monday first, in cell 1 Sunday first.
    EXPECT_EQ(home.run("week").out, "monday\n");
    EXPECT_NE(home.run("month 2026-02").out.find("\n1\t2 "), std::string::npos);
    EXPECT_EQ(home.run("week sunday").status, 0);
    EXPECT_EQ(home.run("week").out, "sunday\n");
    EXPECT_NE(home.run("month 2026-02").out.find("\n1\t1 "), std::string::npos);
    EXPECT_EQ(home.run("week friday").status, 2);
    EXPECT_EQ(home.run("week").out, "sunday\n");
}
