#include "deskleaf/program_commands.h"

#include "controls/system_colour.h"
#include "deskleaf/command_support.h"
#include "model/jobs.h"
#include "model/official_days.h"
#include "model/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <charconv>
#include <functional>
#include <ostream>
#include <vector>

namespace deskleaf::cli {
namespace {

struct Arguments {
    std::vector<std::string_view> words; // the operands, in order
    std::vector<std::string_view> flags; // the flags given, of those the verb takes
    std::optional<std::string_view> folder;

    bool has(std::string_view flag) const
    {
        return std::find(flags.begin(), flags.end(), flag) != flags.end();
    }
};

struct Verb {
    std::string_view name;
    const char* synopsis;
    const char* help;                    // what it does, after the synopsis in --help
    std::vector<std::string_view> flags; // besides --folder DIR and --help
    std::size_t minWords, maxWords;      // how many operands it takes
    std::function<int(const Arguments&, ProgramFolder&, std::ostream& out, std::ostream& err)> run;
};

// "--" ends the options, so that a reminder may start with a dash; a negative number (a
// system colour) is an operand.
Arguments parse(const Verb& verb, std::span<const std::string_view> args, bool& help)
{
    Arguments parsed;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            help = true;
        } else if (options && arg == "--folder") {
            if (i + 1 == args.size())
                throw UsageError{"--folder needs a value"};
            parsed.folder = args[++i];
        } else if (options && arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9')) {
            if (std::find(verb.flags.begin(), verb.flags.end(), arg) == verb.flags.end())
                throw UsageError{"unknown option \"" + std::string(arg) + "\""};
            parsed.flags.push_back(arg);
        } else {
            parsed.words.push_back(arg);
        }
    }
    if (!help && parsed.words.size() < verb.minWords)
        throw UsageError{"too few arguments"};
    if (!help && parsed.words.size() > verb.maxWords)
        throw UsageError{"unexpected \"" + std::string(parsed.words[verb.maxWords]) + "\""};
    return parsed;
}

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

// The desktop program, registered to start at logon, is beside this command: beside the
// name it was started by (on the PATH, or a link to it),
// else beside its own file.
QString desktopProgram()
{
    const QString startedBy = QCoreApplication::arguments().value(0);
    const QString started = startedBy.contains(u'/') ? QFileInfo(startedBy).absoluteFilePath()
                                                     : QStandardPaths::findExecutable(startedBy);
    for (const QString& command : {started, runningProgram()}) {
        const QFileInfo program(programBeside(command, QStringLiteral("Tidemark")));
        if (!command.isEmpty() && program.isFile() && program.isExecutable())
            return program.filePath();
    }
    return programBeside(runningProgram(), QStringLiteral("Tidemark"));
}

RealDesktop realDesktop()
{
    return RealDesktop(desktopProgram());
}

// For the wallpaper alone, which registers no program.
RealDesktop wallpaperDesktop()
{
    return RealDesktop(QString());
}

int apply(const Arguments&, ProgramFolder& folder, std::ostream&, std::ostream&)
{
    const RealDesktop real = wallpaperDesktop();
    applyWallpaper(folder, real.wallpaper(), currentTarget(folder, real.desktop()),
                   RealDesktop::today());
    return 0;
}

int remove(const Arguments&, ProgramFolder&, std::ostream&, std::ostream&)
{
    removeWallpaper(wallpaperDesktop().wallpaper());
    return 0;
}

int colour(const Arguments& args, ProgramFolder& folder, std::ostream&, std::ostream&)
{
    const qint32 value = parseColour(args.words[0]);
    ensureSettingsFile(folder);
    storeCalendarColour(folder, value);
    return 0;
}

int remind(const Arguments& args, ProgramFolder& folder, std::ostream& out, std::ostream& err)
{
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

int reminders(const Arguments&, ProgramFolder& folder, std::ostream& out, std::ostream&)
{
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

int week(const Arguments& args, ProgramFolder& folder, std::ostream& out, std::ostream&)
{
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

int autorun(const Arguments& args, ProgramFolder& folder, std::ostream& out, std::ostream& err)
{
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

int holidays(const Arguments& args, ProgramFolder& folder, std::ostream& out, std::ostream& err)
{
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

const std::vector<Verb>& verbs()
{
    static const std::vector<Verb> table = {
        {"apply",
         "deskleaf apply [--folder DIR]",
         "Sets DIR/zm.bmp as the desktop wallpaper now.",
         {},
         0,
         0,
         apply},
        {"remove",
         "deskleaf remove [--folder DIR]",
         "Removes the desktop wallpaper.",
         {},
         0,
         0,
         remove},
        {"colour",
         "deskleaf colour VALUE|default [--folder DIR]",
         "Stores the calendar's colour in DIR/kel.ini: #RRGGBB, a colour integer as kel.ini\n"
         "keeps it (0x00BBGGRR in decimal, or a system colour such as -2147483643), or the\n"
         "default. Pure red is today's colour and is refused. The next render prints with it.",
         {},
         1,
         1,
         colour},
        {"remind",
         "deskleaf remind [--lunar] MM-DD TEXT [--replace] [--folder DIR]\n"
         "       deskleaf remind [--lunar] MM-DD --delete [--folder DIR]",
         "Stores TEXT as the reminder of that day of every year, shown on the day when it has\n"
         "no lunar festival. A day's text is replaced only with --replace: without it the\n"
         "stored text is printed and nothing changes. --delete removes the day's text.\n"
         "With --lunar, MM-DD is a lunar month and day (01-12, 01-30), shown every lunar year:\n"
         "in the regular month MM, never in a leap month of that number; day 30 in a month of\n"
         "29 days shows on its 29th. A day with both kinds shows the month-day text first.",
         {"--replace", "--delete", "--lunar"},
         1,
         2,
         remind},
        {"reminders",
         "deskleaf reminders [--folder DIR]",
         "Prints the stored reminders in date order, one per line: MM-DD, a tab, the text;\n"
         "then the lunar ones in lunar order: \"lunar MM-DD\", a tab, the text.",
         {},
         0,
         0,
         reminders},
        {"week",
         "deskleaf week [monday|sunday] [--folder DIR]",
         "Stores the week's first day of the calendar, on the wallpaper and in the date\n"
         "picker: monday (the default) or sunday. Without a word, prints the stored one.",
         {},
         0,
         1,
         week},
        {"holidays",
         "deskleaf holidays [--folder DIR]\n"
         "       deskleaf holidays import FILE\n"
         "       deskleaf holidays marks on|off [--folder DIR]",
         "Prints, one a line, each year whose official days off (休) and make-up working\n"
         "days (班) the calendar marks, a tab, shipped or yours, a tab, the file; stderr says\n"
         "the year today's calendar lacks. import checks FILE, a year's notice as JSON\n"
         "({\"year\": YYYY, \"days\": [{\"name\", \"date\", \"isOffDay\"}]}: dates in YYYY or\n"
         "the December before, each once, names given), makes it your file for that year,\n"
         "which serves instead of the shipped one, and prints the days it changed. marks\n"
         "turns the calendar's marks on or off.",
         {},
         0,
         2,
         holidays},
        {"autorun",
         "deskleaf autorun on|off|status [--folder DIR]",
         "Ticks or clears the main window's auto-run box: the start at logon and, where a\n"
         "systemd user manager runs, the daily refresh just after midnight. status prints\n"
         "the stored flag and both registrations.",
         {},
         1,
         1,
         autorun},
    };
    return table;
}

// A message on one line, however it was written.
std::string oneLine(const char* message)
{
    return QString::fromUtf8(message).simplified().toStdString();
}

// The verb as the table names it: "color" is "colour".
std::string_view tableName(std::string_view verb)
{
    return verb == "color" ? std::string_view("colour") : verb;
}

} // namespace

bool isProgramCommand(std::string_view verb)
{
    return std::any_of(verbs().begin(), verbs().end(),
                       [&](const Verb& v) { return v.name == tableName(verb); });
}

int runProgramCommand(std::string_view name, std::span<const std::string_view> args,
                      std::ostream& out, std::ostream& err)
{
    const Verb& verb = *std::find_if(verbs().begin(), verbs().end(),
                                     [&](const Verb& v) { return v.name == tableName(name); });
    const std::string prefix = "deskleaf " + std::string(verb.name) + ": ";
    try {
        bool help = false;
        const Arguments parsed = parse(verb, args, help);
        if (help) {
            out << "usage: " << verb.synopsis << '\n' << verb.help << '\n';
            return 0;
        }
        ProgramFolder folder(programFolderPath(parsed.folder));
        const int status = verb.run(parsed, folder, out, err);
        out << std::flush;
        return status;
    } catch (const UsageError& e) {
        err << prefix << e.message << "\nusage: " << verb.synopsis << '\n';
        return 2;
    } catch (const std::exception& e) {
        err << prefix << oneLine(e.what()) << '\n';
        return 1;
    }
}

} // namespace deskleaf::cli
