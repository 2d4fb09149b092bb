// China's official days off (休) and make-up working days (班), one file a year as the State
// Council announces them. The program ships 2007-2026; a file of the user's own for a year
// ($XDG_DATA_HOME/deskleaf/holidays/cn/YYYY.json on Linux) overrides the shipped one, so a new
// notice needs no new program. A year's notice may name days of the December before (the New
// Year holiday), so a day is looked up in the files of its year and of the next.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <map>
#include <optional>

namespace deskleaf {

enum class DayMark { None, Off, Work };

struct OfficialDay {
    DayMark mark = DayMark::None;
    QString name; // the holiday's name, empty for DayMark::None
};

// 休, 班 or an empty text.
QString dayMarkText(DayMark mark);

// One year's file: its year and its days, in file order.
struct OfficialYear {
    int year = 0;
    std::map<QDate, OfficialDay> days;
};

// Reads a year's file; throws std::runtime_error with the reason (a UTF-8 sentence) when it is
// not JSON of the layout {"year": Y, "days": [{"name", "date", "isOffDay"}]}, when a date is
// outside Y and the December before, when a date is named twice or a name is empty.
OfficialYear parseOfficialYear(const QByteArray& json);

class OfficialDays {
public:
    enum class Source { Shipped, User };
    struct YearFile {
        int year;
        Source source;
        QString path;    // the file that serves: a resource path or the user's file
        QString refused; // a user's file for the year that was refused, and why; else empty
    };

    // The shipped files and the user's own in userFolder (by default userHolidayFolder()).
    static OfficialDays load();
    static OfficialDays load(const QString& userFolder);

    // The mark of a day: from its year's file, else from the next year's (the December before
    // a notice's year). None where no file names it or where the data is missing.
    OfficialDay day(QDate date) const;
    // Whether the days of date's month can be marked: its year's file is there, for December
    // the next year's.
    bool covers(QDate date) const;
    // The year whose file is missing for the calendar of date: date's own year, else from
    // 1 November the next year. Nothing when both are there.
    std::optional<int> missingYear(QDate date) const;
    // The file that serves for year, nothing when none does.
    const OfficialYear* year(int year) const;
    // Every year with a file, in order, with where it comes from; a year whose only file was
    // refused has an empty path.
    QList<YearFile> years() const;

private:
    // The files of a year, found at load and read when the year is first asked for (a
    // month's calendar reads two of them): one object serves one thread.
    struct Found {
        QString shipped, user;
    };
    std::map<int, Found> found_;
    mutable std::map<int, std::optional<OfficialYear>> data_; // nothing: no file serves
    mutable std::map<int, YearFile> files_;
};

// Where the user's own files go: $XDG_DATA_HOME/deskleaf/holidays/cn on Linux.
QString userHolidayFolder();

// "缺少 2027 年的节假日安排：..." said once where the marks stop: which year is missing and how
// to add it.
QString missingYearNotice(int year);

struct ImportResult {
    int year;
    QString path;    // where the file was put
    QString changes; // what it changed against the file that served before, one line each
};

// Validates the file at path (as parseOfficialYear) and puts it in place as the user's file
// for its year in userFolder, through a pending file. Throws std::runtime_error with the reason;
// then nothing is written.
ImportResult importOfficialYear(const QString& path, const QString& userFolder);

} // namespace deskleaf
