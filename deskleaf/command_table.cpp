#include "deskleaf/command_table.h"

#include "deskleaf/command_support.h"
#include "deskleaf/lunar_command.h"
#include "deskleaf/program_commands.h"
#include "deskleaf/wallpaper_commands.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cstdint>

namespace deskleaf::cli {
namespace {

constexpr Option kFolder = {
    "--folder", "DIR",
    QT_TRANSLATE_NOOP("deskleaf", "works on DIR's kel.ini and pictures, not the program's folder")};
constexpr Option kToday = {"--today", "YYYY-MM-DD",
                           QT_TRANSLATE_NOOP("deskleaf", "takes that day for today")};

const std::vector<Command> kCommands = {
    {"lunar",
     "deskleaf lunar FROM [TO]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "one line per day from FROM to TO (YYYY-MM-DD), tab-separated:\n"
                       "date, weekday (1 = Sunday), lunar year, month, day, leap (0|1),\n"
                       "solar term, lunar festival, weekday festival, lunar day text,\n"
                       "休 (day off), 班 (make-up working day) or empty, the holiday's name"),
     "",
     {},
     Needs::Nothing,
     runLunar},
    {"month",
     "deskleaf month YYYY-MM [--today YYYY-MM-DD] [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "the calendar's texts for a month: 37 day cells (a marked cell's 休 or 班\n"
                       "in a third column), then the header and today's line, with the\n"
                       "reminders of DIR/kel.ini"),
     "",
     {kToday, kFolder},
     Needs::CoreApplication,
     runMonth},
    {"render",
     "deskleaf render --folder DIR [--picture FILE] [--size WxH] [--scale F] "
     "[--fit stretch|fill|fit] [--today YYYY-MM-DD]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "composes today's wallpaper in DIR for every monitor, or one of WxH:\n"
                       "from FILE (kept in DIR, fitted to each monitor by --fit, which is\n"
                       "stored), or again from the kept picture; the calendar goes on the\n"
                       "primary monitor, drawn at --scale (default: the monitor's); prints\n"
                       "the path of the primary's zm.bmp and the monitors composed for"),
     "",
     {{"--folder", "DIR", QT_TRANSLATE_NOOP("deskleaf", "the folder to compose in (needed)")},
      {"--picture", "FILE",
       QT_TRANSLATE_NOOP("deskleaf", "the picture to compose from, kept in DIR")},
      {"--size", "WxH",
       QT_TRANSLATE_NOOP("deskleaf", "one picture of that size instead of one per monitor")},
      {"--scale", "F", QT_TRANSLATE_NOOP("deskleaf", "draws the calendar at F, from 0.5 to 8")},
      {"--fit", "stretch|fill|fit",
       QT_TRANSLATE_NOOP("deskleaf", "how the picture fits each monitor; stored in DIR")},
      kToday},
     Needs::Screens,
     runRender},
    {"refresh",
     "deskleaf refresh [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "the logon start's job: when auto-run is on and it was not done today,\n"
                       "today's calendar on DIR/kel.bmp becomes the desktop wallpaper"),
     "",
     {kFolder},
     Needs::Offscreen,
     runRefresh},
    {"apply",
     "deskleaf apply [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf", "composes today's wallpaper for the monitors and sets it"),
     QT_TRANSLATE_NOOP("deskleaf", "Sets DIR/zm.bmp as the desktop wallpaper now."),
     {kFolder},
     Needs::Offscreen,
     runApply},
    {"remove",
     "deskleaf remove [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "puts back the wallpaper the desktop had before, or a plain colour"),
     QT_TRANSLATE_NOOP("deskleaf", "Removes the desktop wallpaper."),
     {kFolder},
     Needs::Offscreen,
     runRemove},
    {"colour",
     "deskleaf colour VALUE|default [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "stores the calendar's colour: #RRGGBB, a colour integer or default"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Stores the calendar's colour in DIR/kel.ini: #RRGGBB, a colour integer as kel.ini\n"
         "keeps it (0x00BBGGRR in decimal, or a system colour such as -2147483643), or the\n"
         "default. Pure red is today's colour and is refused. The next render prints with it."),
     {kFolder},
     Needs::Offscreen,
     runColour},
    {"remind",
     "deskleaf remind [--lunar] MM-DD TEXT [--replace] [--folder DIR]\n"
     "deskleaf remind [--lunar] MM-DD --delete [--folder DIR]",
     QT_TRANSLATE_NOOP(
         "deskleaf", "stores, replaces (--replace) or deletes the reminder of a day of every year\n"
                     "(--lunar: of a lunar month and day, every lunar year)"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Stores TEXT as the reminder of that day of every year, shown on the day when it has\n"
         "no lunar festival. A day's text is replaced only with --replace: without it the\n"
         "stored text is printed and nothing changes. --delete removes the day's text.\n"
         "With --lunar, MM-DD is a lunar month and day (01-12, 01-30), shown every lunar year:\n"
         "in the regular month MM, never in a leap month of that number; day 30 in a month of\n"
         "29 days shows on its 29th. A day with both kinds shows the month-day text first."),
     {{"--replace", "", QT_TRANSLATE_NOOP("deskleaf", "replaces the day's stored text")},
      {"--delete", "", QT_TRANSLATE_NOOP("deskleaf", "deletes the day's text")},
      {"--lunar", "", QT_TRANSLATE_NOOP("deskleaf", "MM-DD is a lunar month and day")},
      kFolder},
     Needs::Offscreen,
     runRemind},
    {"reminders",
     "deskleaf reminders [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "prints the stored reminders in date order: MM-DD, a tab, the text;\n"
                       "then the lunar ones: \"lunar MM-DD\", a tab, the text"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Prints the stored reminders in date order, one per line: MM-DD, a tab, the text;\n"
         "then the lunar ones in lunar order: \"lunar MM-DD\", a tab, the text."),
     {kFolder},
     Needs::Offscreen,
     runReminders},
    {"autorun",
     "deskleaf autorun on|off|status [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "ticks or clears auto-run: the start at logon and the daily refresh"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Ticks or clears the main window's auto-run box: the start at logon and, where a\n"
         "systemd user manager runs, the daily refresh just after midnight. status prints\n"
         "the stored flag and both registrations."),
     {kFolder},
     Needs::Offscreen,
     runAutorun},
    {"week",
     "deskleaf week [monday|sunday] [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "prints or stores the week's first day: monday (the default) or sunday"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Stores the week's first day of the calendar, on the wallpaper and in the date\n"
         "picker: monday (the default) or sunday. Without a word, prints the stored one."),
     {kFolder},
     Needs::Offscreen,
     runWeek},
    {"holidays",
     "deskleaf holidays [--folder DIR]\n"
     "deskleaf holidays import FILE\n"
     "deskleaf holidays marks on|off [--folder DIR]",
     QT_TRANSLATE_NOOP("deskleaf",
                       "lists the years of official days off and make-up working days and\n"
                       "where each file comes from; import adds a year's file of your own"),
     QT_TRANSLATE_NOOP(
         "deskleaf",
         "Prints, one a line, each year whose official days off (休) and make-up working\n"
         "days (班) the calendar marks, a tab, shipped or yours, a tab, the file; stderr says\n"
         "the year today's calendar lacks. import checks FILE, a year's notice as JSON\n"
         "({\"year\": YYYY, \"days\": [{\"name\", \"date\", \"isOffDay\"}]}: dates in YYYY or\n"
         "the December before, each once, names given), makes it your file for that year,\n"
         "which serves instead of the shipped one, and prints the days it changed. marks\n"
         "turns the calendar's marks on or off."),
     {kFolder},
     Needs::Offscreen,
     runHolidays},
};

constexpr Option kHelp = {"--help", "", QT_TRANSLATE_NOOP("deskleaf", "prints this help")};

constexpr const char* kUsageEnd = QT_TRANSLATE_NOOP(
    "deskleaf", "DIR is the program's folder unless --folder is given. Each command takes "
                "--help;\ndeskleaf --version prints the version.\nExit status: 0 done, 1 "
                "refused or failed, 2 bad usage.\n");

std::string translated(std::string_view english)
{
    return QCoreApplication::translate("deskleaf", std::string(english).c_str()).toStdString();
}

// "usage: " in the user's language, and blanks as wide on a terminal, which the synopsis's
// further lines start with (a character from U+1100 on, Chinese, takes two columns).
std::pair<std::string, std::string> usagePrefix()
{
    const QString usage = QCoreApplication::translate("deskleaf", "usage: ");
    std::size_t columns = 0;
    for (const char32_t c : usage.toUcs4())
        columns += c >= 0x1100 ? 2 : 1;
    return {usage.toStdString(), std::string(columns, ' ')};
}

bool isOption(std::string_view arg)
{
    return arg.size() > 1 && arg[0] == '-' && (arg[1] < '0' || arg[1] > '9');
}

// Each line of text after the indent, the first after `first` instead.
std::string indented(std::string_view text, std::string_view first, std::string_view indent)
{
    std::string result;
    for (const std::string_view line : split(text, '\n'))
        (result += result.empty() ? first : indent).append(line) += '\n';
    return result;
}

// The words of a synopsis line; a bracketed group ("[--folder DIR]") is one.
std::vector<std::string_view> synopsisWords(std::string_view line)
{
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < line.size();) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = at;
        for (int depth = 0; end < line.size() && (depth > 0 || line[end] != ' '); ++end)
            depth += line[end] == '[' ? 1 : line[end] == ']' ? -1 : 0;
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

} // namespace

bool Arguments::has(std::string_view option) const
{
    return value(option).has_value();
}

std::optional<std::string_view> Arguments::value(std::string_view option) const
{
    const auto given = std::find_if(options.rbegin(), options.rend(),
                                    [&](const auto& o) { return o.first == option; });
    return given == options.rend() ? std::nullopt : std::optional(given->second);
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        pieces.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return pieces;
}

std::vector<std::vector<std::string_view>> synopsisOperands(const Command& command)
{
    std::vector<std::vector<std::string_view>> forms;
    for (const std::string_view line : split(command.synopsis, '\n')) {
        std::vector<std::string_view>& operands = forms.emplace_back();
        const std::vector<std::string_view> words = synopsisWords(line);
        for (std::size_t i = 2; i < words.size(); ++i) { // after "deskleaf NAME"
            if (words[i].starts_with("[-"))
                continue;
            const auto option = std::find_if(command.options.begin(), command.options.end(),
                                             [&](const Option& o) { return o.name == words[i]; });
            if (option != command.options.end())
                i += !option->value.empty();
            else
                operands.push_back(words[i]);
        }
    }
    return forms;
}

std::span<const Command> commands()
{
    return kCommands;
}

const Command* findCommand(std::string_view name)
{
    if (name == "color")
        name = "colour";
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command& c) { return c.name == name; });
    return found == kCommands.end() ? nullptr : &*found;
}

Arguments parseArguments(const Command& command, std::span<const std::string_view> args, bool& help)
{
    Arguments parsed;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            help = true;
        } else if (options && isOption(arg)) {
            const auto option = std::find_if(command.options.begin(), command.options.end(),
                                             [&](const Option& o) { return o.name == arg; });
            if (option == command.options.end())
                throw UsageError{QCoreApplication::translate("deskleaf", "unknown option \"%1\"")
                                     .arg(toQString(arg))
                                     .toStdString()};
            if (!option->value.empty() && i + 1 == args.size())
                throw UsageError{QCoreApplication::translate("deskleaf", "%1 needs a value")
                                     .arg(toQString(arg))
                                     .toStdString()};
            parsed.options.emplace_back(option->name,
                                        option->value.empty() ? std::string_view() : args[++i]);
        } else {
            parsed.words.push_back(arg);
        }
    }
    // From the fewest operands a form of the synopsis needs to the most one shows.
    std::size_t fewest = SIZE_MAX, most = 0;
    for (const std::vector<std::string_view>& form : synopsisOperands(command)) {
        most = std::max(most, form.size());
        fewest = std::min<std::size_t>(
            fewest, std::count_if(form.begin(), form.end(), [](std::string_view operand) {
                return !operand.starts_with('[');
            }));
    }
    if (!help && parsed.words.size() < fewest)
        throw UsageError{
            QCoreApplication::translate("deskleaf", "too few arguments").toStdString()};
    if (!help && parsed.words.size() > most)
        throw UsageError{QCoreApplication::translate("deskleaf", "unexpected \"%1\"")
                             .arg(toQString(parsed.words[most]))
                             .toStdString()};
    return parsed;
}

std::string synopsisText(const Command& command)
{
    const auto [usage, blanks] = usagePrefix();
    return indented(command.synopsis, usage, blanks);
}

std::string usageText()
{
    // In the user's language where main installed its translation; the man page's English
    // otherwise.
    const auto [usage, blanks] = usagePrefix();
    std::string text;
    for (const Command& command : kCommands)
        text += indented(command.synopsis, text.empty() ? usage : blanks, blanks);
    for (const Command& command : kCommands) {
        // The summary beside a short name, below a long one.
        std::string name = "  " + std::string(command.name);
        name += name.size() < 10 ? std::string(10 - name.size(), ' ') : "\n          ";
        text += indented(translated(command.summary), name, "          ");
    }
    return text + translated(kUsageEnd);
}

std::string helpText(const Command& command)
{
    // In the user's language as the usage is; its synopsis and option words as they are.
    std::string text =
        synopsisText(command) +
        indented(translated(command.help.empty() ? command.summary : command.help), "", "") +
        translated(QT_TRANSLATE_NOOP("deskleaf", "options:")) + '\n';
    std::vector<Option> options = command.options;
    options.push_back(kHelp);
    std::size_t width = 0;
    for (const Option& option : options)
        width = std::max(width, option.name.size() + 1 + option.value.size());
    for (const Option& option : options) {
        std::string named = std::string(option.name);
        if (!option.value.empty())
            named += ' ' + std::string(option.value);
        text += "  " + named + std::string(width + 2 - named.size(), ' ') +
                translated(option.help) + '\n';
    }
    return text;
}

} // namespace deskleaf::cli
