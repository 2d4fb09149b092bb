// deskleaf month and deskleaf render, end to end on real folders.
#include "deskleaf/cli_runner.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

std::string quoted(const QString& path)
{
    return "'" + path.toStdString() + "'";
}

void writeFile(const QString& path, const QByteArray& data)
{
    ASSERT_TRUE(deskleaf::testfiles::writeBytes(path, data));
}

} // namespace

TEST(MonthCommand, PrintsTheGridWithTheFoldersReminders)
{
    QTemporaryDir dir;
    // 03-07 in GBK: 生日 is C9 FA C8 D5.
    writeFile(dir.filePath("kel.ini"), "[MyApp4]\r\n03-07=\xC9\xFA\xC8\xD5\r\n");
    const CliResult r =
        runDeskleaf("month 2026-03 --today 2026-03-07 --folder " + quoted(dir.path()));
    ASSERT_EQ(r.status, 0) << r.err;
    std::string expected = "0\t1 十三\n1\t2 十四\n2\t3 十五\n3\t4 十六\n4\t5 惊蛰\n";
    EXPECT_EQ(r.out.substr(0, expected.size()), expected);
    EXPECT_NE(r.out.find("\n30\t31 十三\n31\t\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\n36\t\nLabel4\t03. 2026\nLabel5\t农历:一月\nLabel6\t今天是:生日\n"),
              std::string::npos)
        << r.out;
}

TEST(MonthCommand, BadUsage)
{
    for (const char* args : {"month", "month 2026-13", "month 2026-03 --today 2026-02-30",
                             "month 2026-03 --colour red", "month 2026-03 --folder"}) {
        const CliResult r = runDeskleaf(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
        EXPECT_NE(r.err.find("usage: deskleaf month"), std::string::npos) << args;
    }
}

TEST(RenderCommand, FromAPictureAndThenFromTheStoredBackground)
{
    QTemporaryDir dir;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(30, 60, 90));
    ASSERT_TRUE(picture.save(dir.filePath("photo.jpg")));

    const std::string folder = quoted(dir.path());
    CliResult r =
        runDeskleaf("render --folder " + folder + " --picture " +
                    quoted(dir.filePath("photo.jpg")) + " --size 1280x720 --today 2026-03-05");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, QDir(dir.path()).absoluteFilePath("zm.bmp").toStdString() + "\n");
    EXPECT_EQ(QImage(dir.filePath("kel.bmp")).size(), QSize(1280, 720));
    const QImage first(dir.filePath("zm.bmp"));
    EXPECT_EQ(first.size(), QSize(1280, 720));
    // The first write starts kel.ini from the shipped default, festivals and colour included.
    const QByteArray settings = deskleaf::testfiles::readBytes(dir.filePath("kel.ini"));
    EXPECT_NE(settings.indexOf("text6=1280"), -1);
    EXPECT_NE(settings.indexOf("text5=16771047"), -1);
    EXPECT_NE(settings.indexOf("[MyApp4]"), -1);

    // The logon road: kel.bmp as it is, today's calendar printed anew.
    r = runDeskleaf("render --folder " + folder + " --today 2026-03-06");
    ASSERT_EQ(r.status, 0) << r.err;
    const QImage second(dir.filePath("zm.bmp"));
    EXPECT_EQ(second.size(), QSize(1280, 720));
    EXPECT_NE(second, first);
    r = runDeskleaf("render --folder " + folder + " --today 2026-03-05");
    EXPECT_EQ(QImage(dir.filePath("zm.bmp")), first);
}

namespace {

// The stored width as kel.ini holds it, empty when the key has no value.
QByteArray storedWidth(const QString& folder)
{
    const QByteArray ini = deskleaf::testfiles::readBytes(folder + "/kel.ini");
    const qsizetype at = ini.indexOf("text6=");
    return at < 0 ? QByteArray("(none)") : ini.mid(at + 6, ini.indexOf('\r', at) - at - 6);
}

} // namespace

// Killed at each step of an import, after or (before) each rename: the width on record is
// none, or kel.bmp's own, and the next import removes whatever the killed one left.
TEST(RenderCommand, AKillAtAnyStepOfAnImportLeavesNoWidthTheBackgroundLacks)
{
    QTemporaryDir dir;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(30, 60, 90));
    ASSERT_TRUE(picture.save(dir.filePath("photo.png")));
    const std::string folder = quoted(dir.path());
    const std::string import =
        "render --folder " + folder + " --picture " + quoted(dir.filePath("photo.png"));
    const struct {
        const char* file;
        const char* at;
        bool before;
        bool noBackground; // the old width on record, but no kel.bmp
    } kills[] = {
        {"kel.ini", "1", true, false}, // clearing the old width
        {"kel.ini", "1", false, false}, {"zm.bmp", "1", true, false},
        {"zm.bmp", "1", false, false},  {"kel.bmp", "1", false, false},
        {"kel.bmp", "1", false, true},  {"kel.ini", "2", false, false}, // storing the new one
    };
    for (const auto& kill : kills) {
        const std::string step =
            std::string(kill.before ? "before " : "after ") + kill.file + " #" + kill.at;
        // Both bitmaps are written each time (kel.ini only when the width changes).
        ASSERT_EQ(runDeskleaf(import + " --size 1024x768").status, 0) << step;
        EXPECT_EQ(QDir(dir.path()).entryList({".*.bmp.*"}, QDir::Files | QDir::Hidden),
                  QStringList())
            << "left before " << step;
        if (kill.noBackground) {
            ASSERT_TRUE(QFile::remove(dir.filePath("kel.bmp")));
        }
        const CliResult killed =
            runDeskleaf(import + " --size 1280x720",
                        std::string("ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD='") +
                            CRASH_AFTER_RENAME + "' CRASH_AFTER_RENAME_TO=" + kill.file +
                            " CRASH_AT=" + kill.at + (kill.before ? " CRASH_BEFORE=1" : ""));
        EXPECT_NE(killed.status, 0) << step;
        const QImage background(dir.filePath("kel.bmp"));
        const QByteArray stored = storedWidth(dir.path());
        if (!background.isNull()) {
            EXPECT_TRUE(stored.isEmpty() || stored == QByteArray::number(background.width()))
                << step << ": text6=" << stored.toStdString() << " beside kel.bmp "
                << background.width();
        }
    }
    ASSERT_EQ(runDeskleaf(import + " --size 1280x720").status, 0);
    ASSERT_EQ(runDeskleaf(import + " --size 1024x768").status, 0);
    EXPECT_EQ(QDir(dir.path()).entryList({".*"}, QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(storedWidth(dir.path()), "1024");
    EXPECT_EQ(runDeskleaf("render --folder " + folder).status, 0);
}

// Imports into one folder run one after the other: one started while another waits between
// its kel.bmp and its width leaves the width, kel.bmp and zm.bmp of the same import.
TEST(RenderCommand, AnImportStartedDuringAnotherWaitsForIt)
{
    QTemporaryDir dir;
    QImage picture(320, 240, QImage::Format_RGB32);
    picture.fill(qRgb(90, 60, 30));
    ASSERT_TRUE(picture.save(dir.filePath("photo.png")));
    const std::string import = "'" + std::string(DESKLEAF_CLI) + "' render --folder " +
                               quoted(dir.path()) + " --picture " +
                               quoted(dir.filePath("photo.png"));
    const std::string flag = quoted(dir.filePath("paused"));
    runShell("ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD='" +
             std::string(CRASH_AFTER_RENAME) + "' CRASH_AFTER_RENAME_TO=kel.bmp PAUSE_FLAG=" +
             flag + " " + import + " --size 1280x720 & for i in $(seq 300); do [ -e " + flag +
             " ] && break; sleep 0.1; done; " + import + " --size 1600x900; wait");
    ASSERT_TRUE(QFile::exists(dir.filePath("paused")));
    const QImage background(dir.filePath("kel.bmp"));
    EXPECT_EQ(storedWidth(dir.path()), QByteArray::number(background.width()));
    EXPECT_EQ(QImage(dir.filePath("zm.bmp")).size(), background.size());
}

TEST(RenderCommand, Errors)
{
    QTemporaryDir dir;
    const std::string folder = quoted(dir.path());
    writeFile(dir.filePath("notes.txt"), "hello");

    CliResult r = runDeskleaf("render --folder " + folder); // no kel.bmp yet
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("kel.bmp"), std::string::npos) << r.err;

    r = runDeskleaf("render --folder " + folder + " --picture " +
                    quoted(dir.filePath("notes.txt")) + " --size 800x600");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not a picture"), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(dir.filePath("zm.bmp")));
    EXPECT_FALSE(QFile::exists(dir.filePath("kel.ini")));

    r = runDeskleaf("render --folder " + quoted(dir.filePath("nowhere")) + " --size 800x600");
    EXPECT_EQ(r.status, 1);

    // A picture we may not read says so (as nobody, where the test runs as root).
    QImage(8, 8, QImage::Format_RGB32).save(dir.filePath("secret.png"));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath("secret.png"), {}));
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther);
    r = runDeskleaf("render --folder " + folder + " --picture " +
                        quoted(dir.filePath("secret.png")) + " --size 800x600",
                    geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : "");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(std::strerror(EACCES)), std::string::npos) << r.err;

    for (const char* args :
         {"render", "render --folder", "render --folder . --size 800",
          "render --folder . --size 0x600", "render --folder . --size 16385x900",
          "render --folder . --today soon", "render --folder . --frobnicate 1"}) {
        r = runDeskleaf(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
}
