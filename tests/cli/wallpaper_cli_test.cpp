// deskleaf month and deskleaf render, end to end on real folders.
#include "cli_runner.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
    EXPECT_NE(deskleaf::testfiles::readBytes(dir.filePath("kel.ini")).indexOf("text6=1280"), -1);

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

TEST(RenderCommand, ACrashDuringAnImportLeavesNoWidthTheBackgroundLacks)
{
    QTemporaryDir dir;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(qRgb(30, 60, 90));
    ASSERT_TRUE(picture.save(dir.filePath("photo.png")));
    const std::string folder = quoted(dir.path());
    const std::string import =
        "render --folder " + folder + " --picture " + quoted(dir.filePath("photo.png"));
    ASSERT_EQ(runDeskleaf(import + " --size 1024x768").status, 0);

    // Killed as each bitmap has just been put in place: the width on record is none, or
    // kel.bmp's own, and the next logon render still prints the calendar.
    for (const char* lastDone : {"zm.bmp", "kel.bmp"}) {
        const CliResult killed =
            runDeskleaf(import + " --size 1280x720",
                        std::string("ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD='") +
                            CRASH_AFTER_RENAME + "' CRASH_AFTER_RENAME_TO=" + lastDone);
        EXPECT_NE(killed.status, 0) << lastDone;
        const int width = QImage(dir.filePath("kel.bmp")).width();
        const QByteArray stored = storedWidth(dir.path());
        EXPECT_TRUE(stored.isEmpty() || stored == QByteArray::number(width))
            << lastDone << ": text6=" << stored.toStdString() << " beside kel.bmp " << width;
        EXPECT_EQ(runDeskleaf("render --folder " + folder).status, 0) << lastDone;
        ASSERT_EQ(runDeskleaf(import + " --size 1024x768").status, 0);
    }
    EXPECT_EQ(storedWidth(dir.path()), "1024");
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

    for (const char* args :
         {"render", "render --folder", "render --folder . --size 800",
          "render --folder . --size 0x600", "render --folder . --size 16385x900",
          "render --folder . --today soon", "render --folder . --frobnicate 1"}) {
        r = runDeskleaf(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
}
