// deskleaf: the command-line front end.
#include "deskleaf/lunar_command.h"
#include "deskleaf/program_commands.h"
#include "deskleaf/wallpaper_commands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kUsage =
    "usage: deskleaf lunar FROM [TO]\n"
    "       deskleaf month YYYY-MM [--today YYYY-MM-DD] [--folder DIR]\n"
    "       deskleaf render --folder DIR [--picture FILE] [--size WxH] [--scale F] "
    "[--fit stretch|fill|fit] [--today YYYY-MM-DD]\n"
    "       deskleaf refresh [--folder DIR]\n"
    "       deskleaf apply [--folder DIR]\n"
    "       deskleaf remove [--folder DIR]\n"
    "       deskleaf colour VALUE|default [--folder DIR]\n"
    "       deskleaf remind [--lunar] MM-DD TEXT [--replace] [--folder DIR]\n"
    "       deskleaf remind [--lunar] MM-DD --delete [--folder DIR]\n"
    "       deskleaf reminders [--folder DIR]\n"
    "       deskleaf autorun on|off|status [--folder DIR]\n"
    "       deskleaf week [monday|sunday] [--folder DIR]\n"
    "       deskleaf holidays [import FILE | marks on|off] [--folder DIR]\n"
    "  lunar   one line per day from FROM to TO (YYYY-MM-DD), tab-separated:\n"
    "          date, weekday (1 = Sunday), lunar year, month, day, leap (0|1),\n"
    "          solar term, lunar festival, weekday festival, lunar day text,\n"
    "          休 (day off), 班 (make-up working day) or empty, the holiday's name\n"
    "  month   the calendar's texts for a month: 37 day cells (a marked cell's 休 or 班\n"
    "          in a third column), then the header and today's line, with the\n"
    "          reminders of DIR/kel.ini\n"
    "  render  composes today's wallpaper in DIR for every monitor, or one of WxH:\n"
    "          from FILE (kept in DIR, fitted to each monitor by --fit, which is\n"
    "          stored), or again from the kept picture; the calendar goes on the\n"
    "          primary monitor, drawn at --scale (default: the monitor's); prints\n"
    "          the path of the primary's zm.bmp and the monitors composed for\n"
    "  refresh the logon start's job: when auto-run is on and it was not done today,\n"
    "          today's calendar on DIR/kel.bmp becomes the desktop wallpaper\n"
    "  apply   composes today's wallpaper for the monitors and sets it\n"
    "  remove  puts back the wallpaper the desktop had before, or a plain colour\n"
    "  colour  stores the calendar's colour: #RRGGBB, a colour integer or default\n"
    "  remind  stores, replaces (--replace) or deletes the reminder of a day of every year\n"
    "          (--lunar: of a lunar month and day, every lunar year)\n"
    "  reminders\n"
    "          prints the stored reminders in date order: MM-DD, a tab, the text;\n"
    "          then the lunar ones: \"lunar MM-DD\", a tab, the text\n"
    "  autorun ticks or clears auto-run: the start at logon and the daily refresh\n"
    "  week    prints or stores the week's first day: monday (the default) or sunday\n"
    "  holidays\n"
    "          lists the years of official days off and make-up working days and\n"
    "          where each file comes from; import adds a year's file of your own\n"
    "DIR is the program's folder unless --folder is given. Each command takes --help;\n"
    "deskleaf --version prints the version.\n"
    "Exit status: 0 done, 1 refused or failed, 2 bad usage.\n";

// Text needs a GUI application for its fonts; without a display, or when the size is
// given, nothing is shown, so the offscreen platform serves.
std::unique_ptr<QCoreApplication> guiApplication(int& argc, char** argv,
                                                 const std::vector<std::string_view>& args)
{
    const bool sizeGiven = std::find(args.begin(), args.end(), "--size") != args.end();
    const bool display =
        qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && (sizeGiven || !display))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::cout << "deskleaf " DESKLEAF_VERSION "\n";
        return 0;
    }
    const std::span<const std::string_view> rest(args.begin() + 1, args.end());
    if (args[0] == "lunar")
        return deskleaf::cli::runLunar(rest, std::cout, std::cerr);
    if (args[0] == "month") {
        QCoreApplication app(argc, argv);
        return deskleaf::cli::runMonth(rest, std::cout, std::cerr);
    }
    if (args[0] == "refresh") {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
        QGuiApplication app(argc, argv);
        return deskleaf::cli::runRefresh(rest, std::cout, std::cerr);
    }
    if (args[0] == "render") {
        const auto app = guiApplication(argc, argv, args);
        return deskleaf::cli::runRender(rest, std::cout, std::cerr);
    }
    if (deskleaf::cli::isProgramCommand(args[0])) {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen"); // nothing is shown
        QGuiApplication app(argc, argv);
        return deskleaf::cli::runProgramCommand(args[0], rest, std::cout, std::cerr);
    }
    std::cerr << "deskleaf: unknown command \"" << args[0] << "\"\n" << kUsage;
    return 2;
}
