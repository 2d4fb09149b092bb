// The settings the program keeps in kel.ini, one row each, and the custom festival texts.
#pragma once

#include "model/profile_file.h"
#include "model/program_folder.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace deskleaf {

struct SettingKey {
    const char* section;
    const char* key;
    const char* placeholder; // what a read returns when nothing is stored
};

namespace settings {
inline constexpr SettingKey AutoRun{"MyApp3", "text4", "zd"};
inline constexpr SettingKey CalendarColour{"MyApp3", "text5", "ys"};
inline constexpr SettingKey PictureWidth{"MyApp3", "text6", "fbl"};
inline constexpr SettingKey LastWallpaperDate{"MyApp", "text0", "ghrq"};
// How the picture fills a monitor: "stretch" (the default), "fill" or "fit".
inline constexpr SettingKey PictureFit{"Deskleaf", "fit", "stretch"};
// How kel.bmp was fitted to its monitor, stored with its width; older folders stretched.
inline constexpr SettingKey BackgroundFit{"Deskleaf", "backgroundFit", "stretch"};
// "1": the calendar on every monitor, not only on the primary one.
inline constexpr SettingKey CalendarOnEveryScreen{"Deskleaf", "calendarOnEveryScreen", "0"};
// "0": no 休 and 班 marks on the calendar; they are shown by default.
inline constexpr SettingKey HolidayMarks{"Deskleaf", "holidayMarks", "1"};
// "sunday": the calendar's weeks start on Sunday; "monday" (the default) as always.
inline constexpr SettingKey WeekStart{"Deskleaf", "weekStart", "monday"};
// "1": the user has been told once that the calendar is refreshed at each logon only.
inline constexpr SettingKey LogonOnlyNoticeTold{"Deskleaf", "logonOnlyNoticeTold", "0"};
inline constexpr const char* CustomTextSection = "MyApp4";
// Reminders on lunar dates, "MM-DD=text": a section of their own that older copies ignore.
inline constexpr const char* LunarTextSection = "DeskleafLunar";
inline constexpr int DefaultCalendarColour = 16771047;
} // namespace settings

QString readSetting(const ProfileFile& file, const SettingKey& setting);
void writeSetting(ProfileFile& file, const SettingKey& setting, const QString& value);

// The rows read through their checks, for every front end. The auto-run box shows ticked for
// any spelling of the number 1 (" 1.0"); the unattended start and the daily refresh run for
// the exact "1" only, which ticking the box writes.
bool autoRunBoxTicked(const ProfileFile& file);
bool autoRunOn(const ProfileFile& file);
// The calendar colour as a colour integer (isColour): the stored one, signed or in its
// unsigned spelling, else the default colour.
qint32 calendarColour(const ProfileFile& file);
// Whether the notice that the calendar is refreshed at each logon only was told already.
bool logonOnlyNoticeTold(const ProfileFile& file);

// The user's text for month-day of every year, when a non-empty one is stored.
std::optional<QString> customText(const ProfileFile& file, int month, int day);
// Every day of a leap year that has a text, by month and day, from one read of the file.
QList<std::pair<QDate, QString>> customTexts(const ProfileFile& file);
void writeCustomText(ProfileFile& file, int month, int day, const QString& text);

// The user's text for lunar month and day (1-12, 1-30) of every lunar year, when a non-empty
// one is stored.
std::optional<QString> lunarCustomText(const ProfileFile& file, int month, int day);
// Every lunar month and day that has a text, in lunar order, from one read of the file.
struct LunarReminder {
    int month;
    int day;
    QString text;
};
QList<LunarReminder> lunarCustomTexts(const ProfileFile& file);
// An empty text deletes the reminder.
void writeLunarCustomText(ProfileFile& file, int month, int day, const QString& text);

// True when the stored week starts on Sunday.
bool weekStartsOnSunday(const ProfileFile& file);

// "text0" as written: a blank, then yyyy-MM-dd. Reads drop the blank, so what
// readSetting(file, settings::LastWallpaperDate) gives back equals day.toString(Qt::ISODate).
QString lastWallpaperDateText(QDate day);

// Writes the default kel.ini shipped with the program (the calendar colour and the fixed-date
// festivals) into folder, creating the folder, when it has none. Returns true when it wrote
// one; a file already there, even a broken one, is left alone. Throws ProfileError when it
// cannot write.
bool ensureSettingsFile(ProgramFolder& folder);

// The shipped default kel.ini as the file holds it (GBK, CR-LF). Throws ProfileError when it
// is missing from the program.
QByteArray defaultSettingsBytes();

// The texts under MyApp4 in that default, in file order. Throws ProfileError when the default
// is missing from the program.
QStringList defaultCustomTexts();

} // namespace deskleaf
