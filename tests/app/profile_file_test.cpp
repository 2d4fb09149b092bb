#include "profile_file.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <thread>

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

// As another editor saves it: a byte order mark, comments, odd blanks, quotes, duplicates.
const QByteArray EditedFile =
    "\xEF\xBB\xBF[ First ]\n  ; comment=not a key\na=1\n Spaced Key \t =\t two  words \t\n"
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
    std::string error = "no error";
    try {
        file.write("S", "k", QString(5000, u'x'));
    } catch (const ProfileError& e) {
        error = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "Could not save the settings file " + path.toStdString() + ": File too large");
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kel.ini"});
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
        for (int i = 0; i < 20; ++i)
            own.write("S", prefix + QString::number(i), "v");
    };
    std::thread other(writeMany, "a");
    writeMany("b");
    other.join();
    for (int i = 0; i < 20; ++i)
        for (const char* prefix : {"a", "b"})
            EXPECT_EQ(file.read("S", prefix + QString::number(i), "?"), "v") << prefix << i;
}

} // namespace
