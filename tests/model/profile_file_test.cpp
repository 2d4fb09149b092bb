#include "model/profile_file.h"

#include "files/file_lock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "support/test_files.h"
#include "support/throws.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// Failures show the text, not its bytes.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using deskleaf::ProfileError;
using deskleaf::ProfileFile;

namespace {

QByteArray gbk(const QString& text)
{
    return QStringEncoder("GBK")(text);
}

using deskleaf::testfiles::readBytes;

class ProfileFileTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("kel.ini");
    ProfileFile file{path};

    void put(const QByteArray& bytes) { ASSERT_TRUE(deskleaf::testfiles::writeBytes(path, bytes)); }
    QString read(const char* section, const char* key) { return file.read(section, key, "?"); }
};

// As another editor saves it: comments, odd blanks, quotes, duplicates.
const QByteArray EditedFile =
    "[ First ]\n  ; comment=not a key\na=1\n Spaced Key \t =\t two  words \t\n"
    "dup=first\ndup=second\ndq=\"  kept  \"\nsq='x'\nmixed=\"x'\nlone=\"\nempty=\n"
    "semi=a;b ; c\nno equals sign\neq=a=b\n" +
    gbk("chinese=中文 节日\n[first]\ninDuplicate=1\n[Second] trailing=text\nk=2\n[Third\nk=3\n"
        "[盷]\nk=4"); // the second byte of 盷 is ']'

TEST_F(ProfileFileTest, ReadsAFileWrittenByAnotherEditorWithAnyLineEnds)
{
    const struct {
        const char *section, *key, *expected;
    } cases[] = {{"First", "a", "1"},
                 {"FIRST", "A", "1"},
                 {"  first ", " a  ", "1"},
                 {"First", "spaced key", "two  words"},
                 {"First", "dup", "first"},
                 {"First", "dq", "  kept  "},
                 {"First", "sq", "x"},
                 {"First", "mixed", "\"x'"},
                 {"First", "lone", "\""},
                 {"First", "empty", ""},
                 {"First", "semi", "a;b ; c"},
                 {"First", "no equals sign", "?"},
                 {"First", "; comment", "?"},
                 {"First", "eq", "a=b"},
                 {"First", "chinese", "中文 节日"},
                 {"First", "inDuplicate", "?"},
                 {"Second", "k", "2"},
                 {"Second", "trailing", "?"},
                 {"Third", "k", "3"},
                 {"盷", "k", "4"},
                 {"Missing", "a", "?"}};
    for (const char* end : {"\r\n", "\n", "\r"}) {
        put(QByteArray(EditedFile).replace("\n", end));
        for (const auto& c : cases)
            EXPECT_EQ(read(c.section, c.key), QString::fromUtf8(c.expected))
                << c.section << "/" << c.key << " with line end " << QByteArray(end).toHex().data();
    }
}

TEST_F(ProfileFileTest, UnreadableOrMissingGivesThePlaceholder)
{
    EXPECT_EQ(read("S", "k"), "?"); // no file
    put("k=outside\n[S]\nbad=\x81 x\nbad=good\ncut=\xD6\nok=\xD6\xD0\n");
    const struct {
        const char *key, *expected;
    } cases[] = {{"k", "?"}, {"bad", "?"}, {"cut", "?"}, {"ok", "中"}};
    for (const auto& c : cases)
        EXPECT_EQ(read("S", c.key), QString::fromUtf8(c.expected)) << c.key;
}

TEST_F(ProfileFileTest, ChineseTextsRoundTripAsGbkAndWhole)
{
    file.write("MyApp4", "07-01", "中");
    EXPECT_EQ(readBytes(path), "[MyApp4]\r\n07-01=\xD6\xD0\r\n");
    for (const QString& text : {QString("香港回归纪念日 建党节"), QString("3pm 牙医 €"),
                                QString("a;b=c [x]"), QString(1000, QChar(0x8282))}) {
        file.write("MyApp4", "07-01", text);
        EXPECT_EQ(file.read("MyApp4", "07-01", "?"), text);
        EXPECT_EQ(readBytes(path), "[MyApp4]\r\n07-01=" + gbk(text) + "\r\n");
    }
}

TEST_F(ProfileFileTest, WritingChangesOnlyWhatItMust)
{
    const struct {
        QByteArray before;
        const char *section, *key, *value;
        QByteArray after;
    } cases[] = {
        {"", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"[MyApp3]\r\n Text5 = 1 \r\n", "myapp3", "text5", "2", "[MyApp3]\r\n Text5 =2\r\n"},
        {"[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
         "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
        {"[A]\n; c\n[B]\n", "a", "k", "v", "[A]\nk=v\r\n; c\n[B]\n"},
        {"[A]\nx=1\n\n", "B", "k", "v", "[A]\nx=1\n\n[B]\r\nk=v\r\n"},
        {"[A]\nx=1", "B", "k", "v", "[A]\nx=1\r\n[B]\r\nk=v\r\n"},
        {"[A]\nx=1", "A", "y", "2", "[A]\nx=1\r\ny=2\r\n"},
        {"[A]\rx=1\rx=2\r[a]\rx=3\r", "A", "X", "9", "[A]\rx=9\rx=2\r[a]\rx=3\r"},
        {"[A]\rx=1\r[a]\r", "A", "y", "9", "[A]\rx=1\ry=9\r\n[a]\r"},
        {"\xEF\xBB\xBF[A]\r\nx=1\r\n", "a", "x", "2", "\xEF\xBB\xBF[A]\r\nx=2\r\n"},
        {"[A]\n\x81 junk\nb\xFF=\x81\nx=\"q\"\n[B", "A", "x", "ok",
         "[A]\n\x81 junk\nb\xFF=\x81\nx=ok\n[B"},
        {"[A]\nx=1\n", "A", "x", "a\r\nb\nc\rd", "[A]\nx=a b c d\n"}};
    for (const auto& c : cases) {
        put(c.before);
        file.write(c.section, c.key, QString::fromUtf8(c.value));
        EXPECT_EQ(readBytes(path), c.after) << c.before.toStdString();
    }
}

TEST_F(ProfileFileTest, RefusesWhatWouldInjectLinesOrCannotBeStored)
{
    const struct {
        QString section, key, value;
    } cases[] = {{"", "k", "v"},    {"  ", "k", "v"},
                 {"a]b", "k", "v"}, {"[a", "k", "v"},
                 {"a=b", "k", "v"}, {"a\nb", "k", "v"},
                 {"S", " ", "v"},   {"S", "[k", "v"},
                 {"S", "k=", "v"},  {"S", "k\r", "v"},
                 {"S", ";k", "v"},  {"S", "k", "节日🎉"},
                 {"S", "🎉", "v"},   {"S", "k", QString(QChar(0xD800))}};
    const QByteArray before = "[S]\nk=old\n";
    put(before);
    for (const auto& c : cases) {
        EXPECT_THROW(file.write(c.section, c.key, c.value), ProfileError)
            << c.section.toStdString();
        EXPECT_EQ(readBytes(path), before);
    }
}

TEST_F(ProfileFileTest, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const QByteArray before = "[S]\r\nk=old\r\n";
    put(before);
    // A file-size limit fails the new copy halfway, as a full disk would, even as root. It
    // holds for every file the process writes, so nothing is checked before it is lifted.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    getrlimit(RLIMIT_FSIZE, &oldLimit);
    rlimit small = oldLimit;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string error =
        deskleaf::thrownMessage<ProfileError>([&] { file.write("S", "k", QString(5000, u'x')); });
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "Could not save the settings file " + path.toStdString() + ": File too large");
    EXPECT_EQ(readBytes(path), before);
    // The lock file stays; nothing else is left beside the file.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"kel.ini", "kel.ini.lock"}));
}

TEST_F(ProfileFileTest, AFolderThatCannotBeWrittenIsAnError)
{
    put("x");
    ProfileFile underAFile(path + "/kel.ini");
    EXPECT_THROW(underAFile.write("S", "k", "v"), ProfileError);

    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    ProfileFile inLocked(locked + "/kel.ini");
    inLocked.write("S", "k", "old");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    if (QFile probe(locked + "/probe"); probe.open(QIODevice::WriteOnly))
        GTEST_SKIP() << "permissions do not stop writes here (running as root)";
    EXPECT_THROW(inLocked.write("S", "k", "new"), ProfileError);
    EXPECT_EQ(inLocked.read("S", "k", "?"), "old");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ProfileFileTest, TwoWritersLoseNothing)
{
    const auto writeMany = [this](const char* prefix) {
        ProfileFile own(path);
        for (int i = 0; i < 20; ++i) {
            EXPECT_NO_THROW(own.write("S", prefix + QString::number(i), "v"));
        }
    };
    std::thread other(writeMany, "a");
    writeMany("b");
    other.join();
    for (int i = 0; i < 20; ++i)
        for (const char* prefix : {"a", "b"})
            EXPECT_EQ(file.read("S", prefix + QString::number(i), "?"), "v") << prefix << i;
}

TEST_F(ProfileFileTest, TwoProcessesWritingAtOnceLoseNothing)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    const QString prefix = child == 0 ? "child" : "parent";
    bool wrote = true;
    for (int i = 0; i < 20; ++i) {
        try {
            ProfileFile(path).write("S", prefix + QString::number(i), "v");
        } catch (const ProfileError&) {
            wrote = false;
        }
    }
    if (child == 0)
        _exit(wrote ? 0 : 1);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(wrote);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int i = 0; i < 20; ++i)
        for (const char* who : {"child", "parent"})
            EXPECT_EQ(file.read("S", who + QString::number(i), "?"), "v") << who << i;
}

pid_t holdLockElsewhere(const QString& lockPath, int holdMs);

// Not a plain file of ours: a FIFO is neither waited on nor written, a link is written
// through to its target, a read-only file stays as it is.
TEST_F(ProfileFileTest, ASettingsFileThatIsNotAPlainFileOfOurs)
{
    const QByteArray old = "[S]\r\nk=old\r\n";
    const QString target = dir.filePath("elsewhere.ini");
    alarm(30); // a read or write that waits on the FIFO ends the test here
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    EXPECT_EQ(read("S", "k"), "?");
    EXPECT_THROW(file.write("S", "k", "new"), ProfileError);
    EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    ASSERT_TRUE(QFile::remove(path));

    ASSERT_TRUE(deskleaf::testfiles::writeBytes(target, old) && QFile::link(target, path));
    file.write("S", "k", "new");
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(readBytes(target), "[S]\r\nk=new\r\n");
    ASSERT_TRUE(QFile::remove(path));

    put(old);
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_THROW_MSG(file.write("S", "k", "new"), ProfileError,
                     ::testing::HasSubstr(std::strerror(EACCES)));
    EXPECT_EQ(readBytes(path), old);
    alarm(0);
}

// What killed writes left (unlocked new files) goes with the next write of the same file; a
// new file another writer still holds, and the files of other names, stay.
TEST_F(ProfileFileTest, TheNextWriteRemovesWhatKilledWritesLeft)
{
    put("[S]\r\nk=old\r\n");
    for (const char* name : {".kel.ini.1f2e3d4c", ".kel.ini.a", ".kel.ini.b0", ".other.ini.1a"})
        ASSERT_TRUE(deskleaf::testfiles::writeBytes(dir.filePath(name), "x"));
    const pid_t writer = holdLockElsewhere(dir.filePath(".kel.ini.b0"), -1);
    ASSERT_GT(writer, 0);
    file.write("S", "k", "new");
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({".kel.ini.b0", ".other.ini.1a", "kel.ini", "kel.ini.lock"}));
}

// The kernel lock the program takes, held by another process. holdMs < 0 holds it until the
// process is killed.
pid_t holdLockElsewhere(const QString& lockPath, int holdMs)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const QByteArray name = QFile::encodeName(lockPath);
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(name.constData(), O_RDWR | O_CREAT, 0644);
        const char locked = fd >= 0 && flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
        if (write(ready[1], &locked, 1) != 1 || locked != 'y')
            _exit(1);
        if (holdMs < 0)
            for (;;)
                pause();
        usleep(useconds_t(holdMs) * 1000);
        _exit(0);
    }
    close(ready[1]);
    char locked = 'n';
    const bool told = pid > 0 && read(ready[0], &locked, 1) == 1;
    close(ready[0]);
    return told && locked == 'y' ? pid : -1;
}

class ProfileFileLockTest : public ProfileFileTest {
protected:
    QString lockPath = path + ".lock";

    std::string failure(const QString& value)
    {
        return deskleaf::thrownMessage<ProfileError>([&] { file.write("S", "k", value); });
    }
};

TEST_F(ProfileFileLockTest, ALockFileThatIsAFolderIsAnErrorAtOnce)
{
    put("[S]\r\nk=old\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir("kel.ini.lock"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(failure("new"), "Could not save the settings file " + path.toStdString() +
                                  ": could not open the lock file " + lockPath.toStdString() +
                                  ": " + std::strerror(EISDIR));
    EXPECT_LT(clock.elapsed(), 2500); // far below the five seconds a holder is waited for
    EXPECT_EQ(readBytes(path), "[S]\r\nk=old\r\n");
}

TEST_F(ProfileFileLockTest, ALockLeftByAKilledHolderDoesNotBlock)
{
    const pid_t holder = holdLockElsewhere(lockPath, -1);
    ASSERT_GT(holder, 0);
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
    QElapsedTimer clock;
    clock.start();
    file.write("S", "k", "v");
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_EQ(read("S", "k"), "v");
    EXPECT_TRUE(QFileInfo(lockPath).isFile()); // never deleted, so never two lock files
}

TEST_F(ProfileFileLockTest, AWriteWaitsForAHolderThatLetsGo)
{
    const pid_t holder = holdLockElsewhere(lockPath, 300);
    ASSERT_GT(holder, 0);
    file.write("S", "k", "after");
    waitpid(holder, nullptr, 0);
    EXPECT_EQ(read("S", "k"), "after");
}

TEST_F(ProfileFileLockTest, AHolderThatKeepsTheLockFailsTheWriteAfterFiveSeconds)
{
    if (QStandardPaths::findExecutable("flock").isEmpty())
        GTEST_SKIP() << "flock(1) is missing";
    put("[S]\r\nk=old\r\n");
    // Another program on the same kernel lock: flock(1) holds it while cat waits for input.
    QProcess holder;
    holder.start("flock", {lockPath, "sh", "-c", "echo locked; exec cat"});
    ASSERT_TRUE(holder.waitForReadyRead(5000));
    EXPECT_EQ(failure("new"), "Could not save the settings file " + path.toStdString() +
                                  ": another program kept it locked for 5 seconds");
    EXPECT_EQ(readBytes(path), "[S]\r\nk=old\r\n");
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(5000));
    file.write("S", "k", "new");
    EXPECT_EQ(read("S", "k"), "new");
}

// Also run as nobody, where a lock file without write permission can only be opened to read.
TEST_F(ProfileFileLockTest, SomeoneElsesReadOnlyLockFileStillLocks)
{
    const QByteArray stale = "4000000\nTidemark\nother-host\n"; // left by an older version
    ASSERT_TRUE(deskleaf::testfiles::writeBytes(lockPath, stale));
    ASSERT_TRUE(
        QFile::setPermissions(lockPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    if (geteuid() == 0) {
        ASSERT_EQ(chown(QFile::encodeName(lockPath).constData(), 65534, 65534), 0);
    }

    deskleaf::FileLock first(lockPath), second(lockPath);
    ASSERT_EQ(first.lock(std::chrono::milliseconds(0)), deskleaf::FileLock::Result::Locked)
        << first.errorString().toStdString();
    EXPECT_EQ(second.lock(std::chrono::milliseconds(50)), deskleaf::FileLock::Result::TimedOut);
    first.unlock();
    EXPECT_EQ(second.lock(std::chrono::milliseconds(0)), deskleaf::FileLock::Result::Locked);
    second.unlock();

    file.write("S", "k", "v");
    EXPECT_EQ(read("S", "k"), "v");
    EXPECT_EQ(readBytes(lockPath), stale);
}

// The same edits in each encoding a file can be saved in: what the file holds reads as
// text, and a write keeps the file in its encoding, changing only its own lines.
TEST_F(ProfileFileTest, AFileStaysInItsOwnEncoding)
{
    const struct {
        const char* encoding;
        QByteArray mark;
        bool holdsEverything; // GBK has no emoji
    } cases[] = {{"GBK", "", false},
                 {"UTF-8", "\xEF\xBB\xBF", true},
                 {"UTF-8", "", true},
                 {"UTF-16LE", "\xFF\xFE", true},
                 {"UTF-16BE", "\xFE\xFF", true}};
    // "[中]": in UTF-8 its last byte and the ']' would pass for one GBK character.
    const QString before = "[MyApp4]\r\n01-01=测试提醒\r\n02-14= 情人节 \r\n[中]\nk=旧\n";
    const QString after =
        "[MyApp4]\r\n01-01=新的提醒\r\n02-14= 情人节 \r\n03-08=妇女节\r\n[中]\nk=旧\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding + std::string(c.mark.isEmpty() ? "" : " with its mark"));
        const auto bytes = [&c](const QString& text) {
            return c.mark + QStringEncoder(c.encoding)(text);
        };
        put(bytes(before));
        EXPECT_EQ(read("MyApp4", "01-01"), "测试提醒");
        EXPECT_EQ(read("MyApp4", "02-14"), "情人节");
        EXPECT_EQ(read("中", "k"), "旧");

        file.write("myapp4", "03-08", "妇女节");
        file.write("MyApp4", "01-01", "新的提醒");
        EXPECT_EQ(readBytes(path), bytes(after));
        if (c.holdsEverything) {
            file.write("中", "e", "节日🎉");
            EXPECT_EQ(readBytes(path), bytes(after + "e=节日🎉\r\n"));
            EXPECT_EQ(read("中", "e"), "节日🎉");
            // A value that begins with U+FEFF keeps it: it is no byte order mark there.
            file.write("中", "b", QChar(0xFEFF) + QString("x"));
            EXPECT_EQ(read("中", "b"), QChar(0xFEFF) + QString("x"));
        } else {
            EXPECT_THROW(file.write("中", "e", "节日🎉"), ProfileError);
            EXPECT_EQ(readBytes(path), bytes(after));
        }
    }
}

TEST_F(ProfileFileTest, APlainAsciiFileTakesChineseAsGbk)
{
    put("[S]\r\nk=v\r\n");
    file.write("S", "k", "中文");
    EXPECT_EQ(readBytes(path), "[S]\r\nk=" + gbk("中文") + "\r\n");
    EXPECT_EQ(read("S", "k"), "中文");

    // The GBK bytes of 一 are also valid UTF-8, and the file would read as other text.
    put("[S]\r\nk=v\r\n");
    EXPECT_THROW(file.write("S", "k", "一"), ProfileError);
    EXPECT_EQ(readBytes(path), "[S]\r\nk=v\r\n");
}

} // namespace
