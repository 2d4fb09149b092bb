#include "deskleaf/wallpaper_commands.h"

#include "deskleaf/arguments.h"
#include "deskleaf/command_support.h"
#include "model/jobs.h"
#include "model/settings.h"
#include "platform/screens.h"
#include "platform/startup_clock.h"
#include "wiring/wiring.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <map>
#include <ostream>
#include <string>

namespace deskleaf::cli {
namespace {

// --name value pairs; the names a verb accepts are given with their value's spelling.
std::map<std::string_view, std::string_view> options(std::span<const std::string_view> args,
                                                     std::span<const std::string_view> known)
{
    std::map<std::string_view, std::string_view> result;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (std::find(known.begin(), known.end(), args[i]) == known.end())
            throw UsageError{"unknown option \"" + std::string(args[i]) + "\""};
        if (i + 1 == args.size())
            throw UsageError{std::string(args[i]) + " needs a value"};
        result[args[i]] = args[i + 1];
    }
    return result;
}

QDate todayOption(const std::map<std::string_view, std::string_view>& opts)
{
    const auto it = opts.find("--today");
    if (it == opts.end())
        return RealDesktop::today();
    const auto date = parseQDate(it->second);
    if (!date)
        throw UsageError{"--today \"" + std::string(it->second) + "\" is not a date (YYYY-MM-DD)"};
    return *date;
}

QString folderOption(const std::map<std::string_view, std::string_view>& opts)
{
    const auto it = opts.find("--folder");
    return programFolderPath(it != opts.end() ? std::optional(it->second) : std::nullopt);
}

// The screen the wallpaper is for; the offscreen platform's pretend screen does not count.
QSize screenSize()
{
    const bool real = QGuiApplication::platformName() != QLatin1String("offscreen");
    return screenSizeInPixels(real ? QGuiApplication::primaryScreen() : nullptr);
}

int usage(std::ostream& err, const std::string& verb, const UsageError& e, const char* synopsis)
{
    err << "deskleaf " << verb << ": " << e.message << "\nusage: " << synopsis << '\n';
    return 2;
}

constexpr const char* kMonthUsage = "deskleaf month YYYY-MM [--today YYYY-MM-DD] [--folder DIR]";
constexpr const char* kRefreshUsage = "deskleaf refresh [--folder DIR]";
constexpr const char* kRenderUsage =
    "deskleaf render --folder DIR [--picture FILE] [--size WxH] [--scale F] "
    "[--fit stretch|fill|fit] [--today YYYY-MM-DD]";

// The largest scale factor the calendar block is drawn at.
constexpr double kMaxScale = 8;

} // namespace

int runMonth(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    try {
        if (args.empty())
            throw UsageError{"which month?"};
        const auto month = parseMonth(args[0]);
        if (!month)
            throw UsageError{"\"" + std::string(args[0]) + "\" is not a month (YYYY-MM)"};
        static constexpr std::string_view known[] = {"--today", "--folder"};
        const auto opts = options(args.subspan(1), known);
        const QDate today = todayOption(opts);
        const ProgramFolder folder(folderOption(opts));

        MonthGrid grid(MonthGrid::Kind::Main);
        grid.setDayMarks(dayMarksOf(folder));
        grid.setLunarTexts(lunarTextsOf(folder));
        grid.setSundayFirst(weekStartsOnSunday(folder.profile()));
        grid.fill(*month, today, customTextsOf(folder));
        std::string text;
        for (int i = 0; i < MonthGrid::kCells; ++i) {
            text += std::to_string(i) + '\t' + grid.Label3(i).toStdString();
            // A marked cell's 休 or 班 in a third column.
            if (const DayMark mark = grid.cellMark(i).mark; mark != DayMark::None)
                text += '\t' + dayMarkText(mark).toStdString();
            text += '\n';
        }
        text += "Label4\t" + grid.Label4().toStdString() + '\n';
        text += "Label5\t" + grid.Label5().toStdString() + '\n';
        text += "Label6\t" + grid.Label6().toStdString() + '\n';
        out << text << std::flush;
        return 0;
    } catch (const UsageError& e) {
        return usage(err, "month", e, kMonthUsage);
    } catch (const std::exception& e) {
        err << "deskleaf month: " << e.what() << '\n';
        return 1;
    }
}

int runRender(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    try {
        static constexpr std::string_view known[] = {"--folder", "--picture", "--size",
                                                     "--scale",  "--fit",     "--today"};
        const auto opts = options(args, known);
        if (!opts.contains("--folder"))
            throw UsageError{"--folder is needed"};
        ProgramFolder folder(pathArgument(opts.at("--folder")));
        const QDate today = todayOption(opts);
        std::optional<QSize> size;
        if (const auto it = opts.find("--size"); it != opts.end()) {
            size = parseSize(it->second);
            if (!size)
                throw UsageError{"--size \"" + std::string(it->second) +
                                 "\" is not WxH with sides of 1 to " +
                                 std::to_string(kMaxScreenSide) + " pixels"};
        }
        std::optional<double> scale;
        if (const auto it = opts.find("--scale"); it != opts.end()) {
            bool ok = false;
            scale = toQString(it->second).toDouble(&ok);
            if (!ok || !(*scale >= 0.5 && *scale <= kMaxScale))
                throw UsageError{"--scale \"" + std::string(it->second) +
                                 "\" is not a scale factor from 0.5 to 8, such as 1.5"};
        }
        std::optional<PictureFit> fit;
        if (const auto it = opts.find("--fit"); it != opts.end()) {
            fit = pictureFitFromText(toQString(it->second));
            if (!fit)
                throw UsageError{"--fit \"" + std::string(it->second) +
                                 "\" is not stretch, fill or fit"};
        }
        if (!QFileInfo(folder.path()).isDir()) {
            err << "deskleaf render: " << native(folder.path()) << " is not a folder\n";
            return 1;
        }
        if (fit)
            writeSetting(folder.profile(), settings::PictureFit, pictureFitText(*fit));

        // The monitors as they are, or the one picture of the size asked for.
        const RealDesktop desktop{QString()};
        ComposeTarget target = composeTargetFor(folder, size ? ScreenList() : currentScreens(),
                                                desktop.wallpaper().layout(), scale);
        const bool monitors = !target.screens.isEmpty();
        if (!monitors) {
            const ScreenList screens = currentScreens();
            const double screenScale = screens.isEmpty() ? 1 : screens.front().scale;
            target.screens =
                ComposeTarget::single(size.value_or(screenSize()), scale.value_or(screenScale))
                    .screens;
        }

        MonthGrid grid(MonthGrid::Kind::Main);
        fillForToday(grid, folder, today);
        const ComposedWallpaper composed =
            opts.contains("--picture")
                ? importPicture(folder, pathArgument(opts.at("--picture")), target, grid)
                : renderWallpaper(folder, grid, monitors || scale ? target : ComposeTarget{});
        out << native(folder.wallpaperPath()) << '\n';
        if (monitors)
            out << "composed for " << describeScreens(composed).toStdString() << '\n';
        out << std::flush;
        return 0;
    } catch (const UsageError& e) {
        return usage(err, "render", e, kRenderUsage);
    } catch (const std::exception& e) {
        err << "deskleaf render: " << e.what() << '\n';
        return 1;
    }
}

int runRefresh(std::span<const std::string_view> args, std::ostream& out, std::ostream& err)
{
    try {
        static constexpr std::string_view known[] = {"--folder"};
        const auto opts = options(args, known);
        ProgramFolder folder(folderOption(opts));
        const RealDesktop desktop{QString()}; // for the wallpaper: it registers nothing
        const LogonJobResult result = runLogonJob(folder, desktop.wallpaper(), RealDesktop::today(),
                                                  currentTarget(folder, desktop.desktop()));
        switch (result.job) {
        case LogonJob::Made:
            out << native(folder.wallpaperPath()) << '\n';
            return 0;
        case LogonJob::AutoRunOff:
            out << "auto-run is off: nothing to do\n";
            return 0;
        case LogonJob::AlreadyDone:
            out << "today's wallpaper was made already\n";
            return 0;
        case LogonJob::NoBackground:
        case LogonJob::Failed:
            break;
        }
        err << "deskleaf refresh: " << result.message.toStdString() << '\n';
        return 1;
    } catch (const UsageError& e) {
        return usage(err, "refresh", e, kRefreshUsage);
    } catch (const std::exception& e) {
        err << "deskleaf refresh: " << e.what() << '\n';
        return 1;
    }
}

} // namespace deskleaf::cli
