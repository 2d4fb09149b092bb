#include "model/jobs.h"
#include "model/settings.h"
#include "support/fakes.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

using namespace deskleaf;
using deskleaf::fakes::FakeDailyRefresh;
using deskleaf::fakes::FakeLogonStart;
using deskleaf::fakes::FakeWallpaper;

namespace {

using testfiles::readBytes;

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        QImage background(800, 450, QImage::Format_RGB32);
        background.fill(qRgb(20, 40, 60));
        ASSERT_TRUE(background.save(path("kel.bmp"), "BMP"));
    }
    QString path(const char* name) const { return dir.filePath(name); }
    void store(const SettingKey& key, const QString& value) { writeSetting(profile, key, value); }
    StartupDecision decide(bool logonStart, QDate day = QDate(2026, 12, 8))
    {
        return decideStartup(folder, desktop, day, logonStart);
    }

    QTemporaryDir dir;
    ProgramFolder folder{dir.path()};
    ProfileFile& profile = folder.profile();
    FakeWallpaper wallpaper;
    FakeLogonStart logon;
    FakeDailyRefresh refresh;
    Desktop desktop{wallpaper, logon, refresh, "/opt/deskleaf/Tidemark"};
};

} // namespace

TEST_F(Startup, LogonStartMakesTheDaysWallpaperOnce)
{
    store(settings::AutoRun, "1");
    store(settings::LastWallpaperDate, lastWallpaperDateText(QDate(2026, 12, 7)));
    // A width kel.bmp does not have, as an import cut short could leave: the calendar still
    // goes on the picture.
    store(settings::PictureWidth, "1920");

    const StartupDecision first = decide(true);
    EXPECT_FALSE(first.interactive);
    ASSERT_TRUE(first.logonJob);
    EXPECT_EQ(first.logonJob->job, LogonJob::Made);
    EXPECT_EQ(wallpaper.calls, QStringList{"apply " + path("zm.bmp")});
    EXPECT_EQ(QImage(path("zm.bmp")).size(), QSize(800, 450));
    EXPECT_NE(QImage(path("zm.bmp")), QImage(path("kel.bmp")));
    EXPECT_EQ(readSetting(profile, settings::LastWallpaperDate), "2026-12-08");
    // Ticked at every start: registered again.
    EXPECT_EQ(logon.calls, QStringList{"enable qorvent /opt/deskleaf/Tidemark"});

    const QByteArray zm = readBytes(path("zm.bmp"));
    const StartupDecision second = decide(true);
    EXPECT_EQ(second.logonJob->job, LogonJob::AlreadyDone);
    EXPECT_EQ(wallpaper.calls.size(), 1);
    EXPECT_EQ(readBytes(path("zm.bmp")), zm);

    EXPECT_EQ(decide(true, QDate(2026, 12, 9)).logonJob->job, LogonJob::Made);
}

TEST_F(Startup, LogonStartThatCannotFinishTriesAgainNextTime)
{
    store(settings::AutoRun, "1");
    store(settings::LastWallpaperDate, lastWallpaperDateText(QDate(2026, 12, 7)));
    const QByteArray ini = readBytes(path("kel.ini"));

    wallpaper.fail = true;
    EXPECT_EQ(decide(true).logonJob->job, LogonJob::Failed);
    EXPECT_EQ(readSetting(profile, settings::LastWallpaperDate), "2026-12-07");

    wallpaper.fail = false;
    QFile::remove(path("kel.bmp"));
    const LogonJobResult missing = *decide(true).logonJob;
    EXPECT_EQ(missing.job, LogonJob::NoBackground);
    EXPECT_TRUE(missing.message.contains("kel.bmp"));
    QFile junk(path("kel.bmp"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a bitmap");
    junk.close();
    EXPECT_EQ(decide(true).logonJob->job, LogonJob::NoBackground);
    // Too narrow for the calendar: a wallpaper without it is never set.
    QImage narrow(300, 450, QImage::Format_RGB32);
    narrow.fill(Qt::gray);
    ASSERT_TRUE(narrow.save(path("kel.bmp"), "BMP"));
    const LogonJobResult cut = *decide(true).logonJob;
    EXPECT_EQ(cut.job, LogonJob::Failed);
    EXPECT_TRUE(cut.message.contains("narrower")) << cut.message.toStdString();
    EXPECT_EQ(readBytes(path("kel.ini")), ini);
    EXPECT_EQ(wallpaper.calls.size(), 1);
}

// The unattended start tells a failed registration too, after doing the day's job.
TEST_F(Startup, LogonStartDoesItsJobAndKeepsAFailedRegistration)
{
    store(settings::AutoRun, "1");
    store(settings::LastWallpaperDate, lastWallpaperDateText(QDate(2026, 12, 7)));
    logon.fail = true;
    const StartupDecision d = decide(true);
    EXPECT_FALSE(d.interactive);
    EXPECT_EQ(d.logonJob->job, LogonJob::Made);
    EXPECT_EQ(d.problem, "Could not register the program to start at logon: refused");
}

TEST_F(Startup, AutoRunFlagDecidesTheBoxAndTheJob)
{
    struct Row {
        const char* flag; // nullptr: nothing stored
        bool ticked;
        LogonJob job;
    };
    const Row rows[] = {
        {nullptr, false, LogonJob::AutoRunOff}, // a fresh folder
        {"0", false, LogonJob::AutoRunOff},     {"1", true, LogonJob::Made},
        {"1.0", true, LogonJob::Made}, // ticking the box stores "1" before the job looks
        {"yes", false, LogonJob::AutoRunOff},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.flag ? r.flag : "(none)");
        QFile::remove(path("kel.ini"));
        if (r.flag)
            store(settings::AutoRun, r.flag);
        const StartupDecision d = decide(true);
        EXPECT_EQ(d.autoRunTicked, r.ticked);
        EXPECT_EQ(d.logonJob->job, r.job);
    }
}

// Auto-run cleared by another program while the start waits for its turn on the folder: the
// start reads the flag after it and does not register the program again.
TEST_F(Startup, AFlagClearedWhileTheStartWaitsIsNotTickedAgain)
{
    store(settings::AutoRun, "1");
    std::promise<void> holding;
    std::thread other([&] {
        ProgramFolder same(dir.path()); // a lock of its own, as another process has
        const FolderJob job(same);
        holding.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writeSetting(same.profile(), settings::AutoRun, "0");
    });
    holding.get_future().wait();
    const StartupDecision d = decide(false);
    other.join();
    EXPECT_FALSE(d.autoRunTicked);
    EXPECT_TRUE(logon.calls.isEmpty());
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "0");
}

// Only the logon entry's argument makes a start unattended: a start from the menu just
// after logging in shows the window.
TEST_F(Startup, StartsWithoutTheLogonArgumentOpenTheWindow)
{
    EXPECT_TRUE(isLogonStart({"--logon-start"}));
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"--logon-starts"}, QStringList{"/home/u/photo.jpg"}})
        EXPECT_FALSE(isLogonStart(arguments)) << arguments.join(' ').toStdString();

    store(settings::AutoRun, "1");
    const StartupDecision d = decide(false);
    EXPECT_TRUE(d.interactive);
    EXPECT_TRUE(d.autoRunTicked);
    EXPECT_FALSE(d.logonJob);
    EXPECT_TRUE(wallpaper.calls.isEmpty());
    logon.fail = true;
    EXPECT_TRUE(decide(false).problem.contains("refused"));
}

TEST_F(Startup, AutoRunStoresTheFlagFirstAndSetsUpTheDailyRefresh)
{
    EXPECT_TRUE(setAutoRun(folder, desktop, true).notice.isEmpty());
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "1");
    EXPECT_TRUE(logon.isEnabled("qorvent"));
    EXPECT_EQ(refresh.calls, QStringList{"enable /opt/deskleaf/deskleaf " + dir.path()});
    EXPECT_TRUE(setAutoRun(folder, desktop, false).notice.isEmpty());
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "0");
    EXPECT_FALSE(logon.isEnabled("qorvent"));
    EXPECT_FALSE(refresh.isEnabled());

    // No daily refresh on this computer: the logon start alone, and a notice.
    refresh.missing = "no systemd user manager runs";
    EXPECT_TRUE(setAutoRun(folder, desktop, true).notice.contains("no systemd user manager runs"));
    EXPECT_TRUE(logon.isEnabled("qorvent"));

    // A refresh that fails keeps the logon start.
    refresh.fail = true;
    EXPECT_THROW((void)setAutoRun(folder, desktop, true), PlatformError);
    EXPECT_TRUE(logon.isEnabled("qorvent"));
    logon.fail = true;
    EXPECT_THROW((void)setAutoRun(folder, desktop, true), PlatformError);
    EXPECT_EQ(readSetting(profile, settings::AutoRun), "1"); // follows the box all the same
    EXPECT_NO_THROW((void)setAutoRun(folder, desktop, false));
    EXPECT_EQ(refresh.calls.last(), "disable");
}
