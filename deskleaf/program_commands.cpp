#include "deskleaf/program_commands.h"

#include "controls/system_colour.h"
#include "deskleaf/command_support.h"
#include "model/jobs.h"
#include "model/official_days.h"
#include "model/settings.h"
#include "wiring/program_place.h"
#include "wiring/wiring.h"

#include <QDir>
#include <QFileInfo>

#include <charconv>
#include <ostream>

namespace deskleaf::cli {
namespace {

// A day of every year, MM-DD; 02-29 is one.
std::pair<int, int> parseDay(std::string_view text)
{
    const auto digits = [&](std::size_t at) {
        const char a = text[at], b = text[at + 1];
        return a >= '0' && a <= '9' && b >= '0' && b <= '9' ? (a - '0') * 10 + (b - '0') : -1;
    };
    if (text.size() == 5 && text[2] == '-') {
        const int month = digits(0), day = digits(3);
        if (QDate::isValid(2000, month, day)) // a leap year
            return {month, day};
    }
    throw UsageError{"\"" + std::string(text) + "\" is not a day of the year (MM-DD)"};
}

// A lunar month and day, MM-DD: months 01 to 12, days 01 to 30.
std::pair<int, int> parseLunarDay(std::string_view text)
{
    if (text.size() == 5 && text[2] == '-') {
        int month = 0, day = 0;
        const auto m = std::from_chars(text.data(), text.data() + 2, month);
        const auto d = std::from_chars(text.data() + 3, text.data() + 5, day);
        if (m.ptr == text.data() + 2 && d.ptr == text.data() + 5 && month >= 1 && month <= 12 &&
            day >= 1 && day <= 30)
            return {month, day};
    }
    throw UsageError{"\"" + std::string(text) +
                     "\" is not a lunar month and day (MM-DD, months 01-12, days 01-30)"};
}

// #RRGGBB, default, or a colour integer as kel.ini keeps it: 0x00BBGGRR or a system colour.
qint32 parseColour(std::string_view text)
{
    const auto bad = [&] {
        return UsageError{"\"" + std::string(text) +
                          "\" is not a colour (#RRGGBB, a colour integer or default)"};
    };
    if (text == "default")
        return settings::DefaultCalendarColour;
    if (text.size() == 7 && text[0] == '#') {
        unsigned rgb = 0;
        const auto [end, ec] = std::from_chars(text.data() + 1, text.data() + 7, rgb, 16);
        if (ec != std::errc() || end != text.data() + 7)
            throw bad();
        return colourValue(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
    }
    qint32 value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw bad();
    if (!isColour(value))
        throw bad();
    return value;
}

QString dayKey(int month, int day)
{
    return QStringLiteral("%1-%2")
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'));
}

RealDesktop realDesktop()
{
    // The desktop program is registered to start at logon.
    return RealDesktop(programBesideThisOne(QStringLiteral("Tidemark")));
}

// For the wallpaper alone, which registers no program.
RealDesktop wallpaperDesktop()
{
    return RealDesktop(QString());
}

// The years the 休 and 班 marks cover and where each file comes from; the files of the user's
// own that were refused; and once, the year missing for today's calendar.
int listHolidays(std::ostream& out, std::ostream& err)
{
    const OfficialDays days = OfficialDays::load();
    std::string lines;
    for (const OfficialDays::YearFile& file : days.years()) {
        if (!file.path.isEmpty())
            lines += std::to_string(file.year) +
                     (file.source == OfficialDays::Source::User ? "\tyours\t" : "\tshipped\t") +
                     native(file.path) + '\n';
        if (!file.refused.isEmpty())
            err << "deskleaf holidays: refused " << file.refused.toStdString()
                << (file.path.isEmpty() ? "\n" : "; the shipped file serves\n");
    }
    out << lines;
    if (const std::optional<int> year = days.missingYear(RealDesktop::today()))
        err << "deskleaf holidays: no file covers " << *year << ", so its days are not marked; "
            << "when the State Council's notice is out, add it with "
            << "\"deskleaf holidays import FILE\" (it goes to "
            << native(userHolidayFolder() + QStringLiteral("/%1.json").arg(*year)) << ")\n";
    return 0;
}

} // namespace

int runApply(const Arguments& args, std::ostream&, std::ostream&)
{
    ProgramFolder folder = programFolderOf(args);
    const RealDesktop real = wallpaperDesktop();
    applyWallpaper(folder, real.wallpaper(), currentTarget(folder, real.desktop()),
                   RealDesktop::today());
    return 0;
}

int runRemove(const Arguments& args, std::ostream&, std::ostream&)
{
    // It needs no folder, but its --folder DIR is checked as every command's is.
    programFolderPath(args.value("--folder"));
    removeWallpaper(wallpaperDesktop().wallpaper());
    return 0;
}

int runColour(const Arguments& args, std::ostream&, std::ostream&)
{
    ProgramFolder folder = programFolderOf(args);
    const qint32 value = parseColour(args.words[0]);
    ensureSettingsFile(folder);
    storeCalendarColour(folder, value);
    return 0;
}

int runRemind(const Arguments& args, std::ostream& out, std::ostream& err)
{
    ProgramFolder folder = programFolderOf(args);
    const bool lunar = args.has("--lunar");
    const auto [month, day] = lunar ? parseLunarDay(args.words[0]) : parseDay(args.words[0]);
    const bool remove = args.has("--delete");
    if (remove && (args.words.size() > 1 || args.has("--replace")))
        throw UsageError{"--delete takes no text and no --replace"};
    if (!remove && args.words.size() < 2)
        throw UsageError{"which text? (--delete removes one)"};
    const QString text = remove ? QString() : toQString(args.words[1]).simplified();
    if (!remove && text.isEmpty())
        throw UsageError{"the text is empty (--delete removes one)"};

    // From the look at the day's text to the write: another remind waits.
    const ProfileFile::Hold held = folder.profile().hold();
    const std::optional<QString> stored = lunar ? lunarCustomText(folder.profile(), month, day)
                                                : customText(folder.profile(), month, day);
    if (stored == (remove ? std::nullopt : std::optional(text)))
        return 0; // as asked already
    if (stored && !remove && !args.has("--replace")) {
        out << stored->toStdString() << '\n';
        err << "deskleaf remind: " << (lunar ? "lunar " : "") << dayKey(month, day).toStdString()
            << " has a text already; --replace replaces it\n";
        return 1;
    }
    ensureSettingsFile(folder);
    if (lunar)
        writeLunarCustomText(folder.profile(), month, day, text);
    else
        writeCustomText(folder.profile(), month, day, text);
    return 0;
}

int runReminders(const Arguments& args, std::ostream& out, std::ostream&)
{
    const ProgramFolder folder = programFolderOf(args);
    std::string lines;
    for (const auto& [day, text] : customTexts(folder.profile()))
        lines += (dayKey(day.month(), day.day()) + u'\t' + text + u'\n').toStdString();
    for (const LunarReminder& reminder : lunarCustomTexts(folder.profile()))
        lines += (QStringLiteral("lunar ") + dayKey(reminder.month, reminder.day) + u'\t' +
                  reminder.text + u'\n')
                     .toStdString();
    out << lines;
    return 0;
}

int runWeek(const Arguments& args, std::ostream& out, std::ostream&)
{
    ProgramFolder folder = programFolderOf(args);
    if (args.words.empty()) {
        out << (weekStartsOnSunday(folder.profile()) ? "sunday\n" : "monday\n");
        return 0;
    }
    const std::string_view day = args.words[0];
    if (day != "monday" && day != "sunday")
        throw UsageError{"\"" + std::string(day) + "\": monday or sunday"};
    ensureSettingsFile(folder);
    storeWeekStart(folder, day == "sunday");
    return 0;
}

int runAutorun(const Arguments& args, std::ostream& out, std::ostream& err)
{
    ProgramFolder folder = programFolderOf(args);
    const std::string_view what = args.words[0];
    const RealDesktop real = realDesktop();
    const Desktop desktop = real.desktop();
    if (what == "status") {
        const auto onOff = [](bool on) { return on ? "on\n" : "off\n"; };
        out << "auto-run\t" << onOff(autoRunBoxTicked(folder.profile())) << "logon start\t"
            << onOff(desktop.logon.isEnabled(QString::fromLatin1(kLogonName))) << "daily refresh\t"
            << onOff(desktop.refresh.isEnabled());
        return 0;
    }
    if (what != "on" && what != "off")
        throw UsageError{"\"" + std::string(what) + "\": on, off or status"};
    // Nothing is stored for a program that could not start.
    if (const QFileInfo program(desktop.executable);
        what == "on" && !(program.isFile() && program.isExecutable()))
        throw std::runtime_error(
            QStringLiteral("auto-run starts Tidemark at logon, and there is no Tidemark beside "
                           "this command: %1 does not exist or cannot be run")
                .arg(QDir::toNativeSeparators(desktop.executable))
                .toStdString());
    ensureSettingsFile(folder);
    const AutoRunResult result = setAutoRun(folder, desktop, what == "on");
    if (!result.notice.isEmpty())
        err << "deskleaf autorun: " << result.notice.toStdString() << '\n';
    return 0;
}

int runHolidays(const Arguments& args, std::ostream& out, std::ostream& err)
{
    ProgramFolder folder = programFolderOf(args);
    if (args.words.empty())
        return listHolidays(out, err);
    const std::string_view what = args.words[0];
    if (what == "import" && args.words.size() == 2) {
        const ImportResult result =
            importOfficialYear(pathArgument(args.words[1]), userHolidayFolder());
        out << result.year << '\t' << native(result.path) << '\n'
            << (result.changes.isEmpty() ? QStringLiteral("no day changed") : result.changes)
                   .toStdString()
            << '\n';
        return 0;
    }
    if (what == "marks" && args.words.size() == 2 &&
        (args.words[1] == "on" || args.words[1] == "off")) {
        ensureSettingsFile(folder);
        storeHolidayMarks(folder, args.words[1] == "on");
        return 0;
    }
    throw UsageError{"\"" + std::string(what) + "\": import FILE or marks on|off"};
}

} // namespace deskleaf::cli
