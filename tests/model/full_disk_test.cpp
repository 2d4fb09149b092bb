// Writes on a real file system that fills up or turns read-only: a small tmpfs, mounted
// for the test (root only; skipped elsewhere).
#include "model/pic_buffer.h"
#include "model/profile_file.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/statvfs.h>

using namespace deskleaf;
using testfiles::readBytes;
using testfiles::writeBytes;

namespace {

class SmallDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=512k") !=
            0)
            GTEST_SKIP() << "cannot mount a tmpfs here";
        mounted = true;
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    QString path(const char* name) const { return dir.filePath(name); }

    // Fills the disk up to free bytes left, in a file of its own.
    void leaveFree(qint64 free)
    {
        QFile::remove(path("filler"));
        struct statvfs disk {};
        ASSERT_EQ(::statvfs(QFile::encodeName(dir.path()).constData(), &disk), 0);
        const qint64 available = qint64(disk.f_bavail) * qint64(disk.f_frsize);
        ASSERT_TRUE(
            writeBytes(path("filler"), QByteArray(std::max<qint64>(0, available - free), 'f')));
    }
    QStringList files() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir dir;
    bool mounted = false;
};

} // namespace

TEST_F(SmallDisk, AFullDiskIsNamedAndKeepsTheOldFiles)
{
    QImage old(100, 80, QImage::Format_RGB32);
    old.fill(Qt::blue);
    saveBitmap(old, path("zm.bmp"));
    ProfileFile profile(path("kel.ini"));
    profile.write("MyApp3", "text5", "255");
    const QByteArray zm = readBytes(path("zm.bmp")), ini = readBytes(path("kel.ini"));
    QImage next(200, 150, QImage::Format_RGB32); // about 90 KB as a bitmap
    next.fill(Qt::red);

    // Every level of free space from none to nearly enough: the write is whole or refused.
    int refused = 0;
    for (qint64 free = 0; free < 100'000; free += 8'192) {
        leaveFree(free);
        const std::string bitmap =
            thrownMessage<PictureError>([&] { saveBitmap(next, path("zm.bmp")); });
        if (bitmap.empty()) {
            EXPECT_EQ(QImage(path("zm.bmp")).size(), QSize(200, 150)) << free;
            saveBitmap(old, path("zm.bmp"));
            continue;
        }
        ++refused;
        EXPECT_NE(bitmap.find("No space left on device"), std::string::npos) << free << bitmap;
        EXPECT_EQ(readBytes(path("zm.bmp")), zm) << free;
        EXPECT_EQ(files(), QStringList({"filler", "kel.ini", "kel.ini.lock", "zm.bmp"})) << free;
    }
    EXPECT_GE(refused, 10);

    leaveFree(0);
    const std::string setting = thrownMessage<ProfileError>(
        [&] { profile.write("MyApp4", "0101", QString(5000, QChar(u'x'))); });
    EXPECT_NE(setting.find("No space left on device"), std::string::npos) << setting;
    EXPECT_EQ(readBytes(path("kel.ini")), ini);
}

TEST_F(SmallDisk, AReadOnlyDiskIsNamed)
{
    ProfileFile profile(path("kel.ini"));
    profile.write("MyApp3", "text5", "255");
    ASSERT_EQ(::mount(nullptr, QFile::encodeName(dir.path()).constData(), nullptr,
                      MS_REMOUNT | MS_RDONLY, nullptr),
              0);
    const std::string bitmap = thrownMessage<PictureError>(
        [&] { saveBitmap(QImage(50, 40, QImage::Format_RGB32), path("zm.bmp")); });
    EXPECT_NE(bitmap.find("Read-only file system"), std::string::npos) << bitmap;
    const std::string setting =
        thrownMessage<ProfileError>([&] { profile.write("MyApp3", "text5", "0"); });
    EXPECT_NE(setting.find("Read-only file system"), std::string::npos) << setting;
}
