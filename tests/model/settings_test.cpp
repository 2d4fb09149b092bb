#include "model/settings.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "support/test_files.h"

#include <gtest/gtest.h>

// Failures show the text, not its bytes.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace deskleaf {
namespace {

using deskleaf::testfiles::readBytes;

class SettingsTest : public testing::Test {
protected:
    QTemporaryDir dir;
    ProgramFolder programFolder{dir.path()};
    ProfileFile file{programFolder.settingsPath()};

    void put(const QByteArray& bytes)
    {
        ASSERT_TRUE(deskleaf::testfiles::writeBytes(file.path(), bytes));
    }
};

TEST_F(SettingsTest, CustomTextIsPresentWhenAnythingIsStored)
{
    put("[myapp4]\r\n02-14=\xC7\xE9\xC8\xCB\xBD\xDA\r\n03-01=Dentist 3pm\r\n04-01=42\r\n"
        "05-01=\r\n06-01=  \r\n07-01=\"\"\r\n08-01=jr\r\n");
    const struct {
        int month, day;
        std::optional<QString> expected;
    } cases[] = {
        {2, 14, "情人节"},    {3, 1, "Dentist 3pm"}, {4, 1, "42"}, {5, 1, std::nullopt},
        {6, 1, std::nullopt}, {7, 1, std::nullopt},  {8, 1, "jr"}, {9, 1, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(customText(file, c.month, c.day), c.expected) << c.month << "-" << c.day;
}

TEST_F(SettingsTest, WrittenValuesReadBack)
{
    writeCustomText(file, 2, 4, "立春 家宴");
    writeSetting(file, settings::CalendarColour, "255");
    writeSetting(file, settings::LastWallpaperDate, lastWallpaperDateText(QDate(2024, 2, 10)));
    EXPECT_EQ(readBytes(file.path()),
              QStringEncoder("GBK")(QString("[MyApp4]\r\n02-04=立春 家宴\r\n"
                                            "[MyApp3]\r\ntext5=255\r\n"
                                            "[MyApp]\r\ntext0= 2024-02-10\r\n")));
    EXPECT_EQ(customText(file, 2, 4), "立春 家宴");
    EXPECT_EQ(readSetting(file, {"Myapp3", "text5", "ys"}), "255");
    EXPECT_EQ(readSetting(file, settings::LastWallpaperDate),
              QDate(2024, 2, 10).toString(Qt::ISODate));
}

// One file read by every front end: the window's box, `autorun status`, the unattended start
// and the renderer's colour.
TEST_F(SettingsTest, RowsAreReadThroughTheirChecks)
{
    const struct {
        const char* autoRun;
        bool ticked, on;
    } flags[] = {{"1", true, true},    {" 1.0", true, false}, {"0", false, false},
                 {"zd", false, false}, {"", false, false},    {"1x", false, false}};
    for (const auto& f : flags) {
        writeSetting(file, settings::AutoRun, QString::fromLatin1(f.autoRun));
        EXPECT_EQ(autoRunBoxTicked(file), f.ticked) << f.autoRun;
        EXPECT_EQ(autoRunOn(file), f.on) << f.autoRun;
    }
    const struct {
        const char* stored;
        qint32 colour;
    } colours[] = {{"255", 255},
                   {" 65280 ", 65280},
                   {"-2147483640", qint32(0x80000008u)}, // system colour 8, signed
                   {"2147483656", qint32(0x80000008u)},  // and as some files hold it
                   {"16777216", settings::DefaultCalendarColour},
                   {"-1", settings::DefaultCalendarColour},
                   {"-2147483623", settings::DefaultCalendarColour}, // 25 has no colour
                   {"ys", settings::DefaultCalendarColour},
                   {"12abc", settings::DefaultCalendarColour}};
    for (const auto& c : colours) {
        writeSetting(file, settings::CalendarColour, QString::fromLatin1(c.stored));
        EXPECT_EQ(calendarColour(file), c.colour) << c.stored;
    }
}

TEST_F(SettingsTest, TheDefaultFileHoldsTheColourAndOneTextPerFestivalDay)
{
    ASSERT_TRUE(ensureSettingsFile(programFolder));
    const QByteArray bytes = readBytes(file.path());
    EXPECT_TRUE(bytes.count("\r\n") == bytes.count('\n') && bytes.count('\r') == bytes.count('\n'));
    QStringDecoder fromGbk("GBK", QStringConverter::Flag::Stateless);
    const QString text = fromGbk(bytes);
    ASSERT_FALSE(fromGbk.hasError());

    EXPECT_EQ(readSetting(file, settings::CalendarColour),
              QString::number(settings::DefaultCalendarColour));
    EXPECT_EQ(customText(file, 1, 1), "元旦");
    EXPECT_EQ(customText(file, 7, 1), "建党节 香港回归纪念日");
    EXPECT_EQ(customText(file, 12, 25), "圣诞节");
    // Every day once: a second key for a day would never be read.
    QSet<QString> days;
    for (const QString& line :
         text.sliced(text.indexOf("[MyApp4]")).split("\r\n", Qt::SkipEmptyParts).sliced(1)) {
        const QString day = line.section('=', 0, 0);
        EXPECT_TRUE(QDate::fromString("2024-" + day, Qt::ISODate).isValid()) << line.toStdString();
        EXPECT_FALSE(days.contains(day)) << line.toStdString();
        days.insert(day);
        EXPECT_TRUE(customText(file, day.left(2).toInt(), day.right(2).toInt()))
            << line.toStdString();
    }
    EXPECT_GE(days.size(), 50);
}

TEST_F(SettingsTest, AnExistingFileIsNeverReplaced)
{
    put("broken \xFF");
    EXPECT_FALSE(ensureSettingsFile(programFolder));
    EXPECT_EQ(readBytes(file.path()), "broken \xFF");
    ProgramFolder folder(dir.filePath("new/folder"));
    EXPECT_TRUE(ensureSettingsFile(folder));
    EXPECT_FALSE(ensureSettingsFile(folder));
}

} // namespace
} // namespace deskleaf
