#include "deskleaf/wallpaper_commands.h"

#include "deskleaf/arguments.h"
#include "deskleaf/command_support.h"
#include "model/jobs.h"
#include "model/settings.h"
#include "platform/screens.h"
#include "wiring/wiring.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <ostream>
#include <string>

namespace deskleaf::cli {
namespace {

QDate todayOption(const Arguments& args)
{
    const std::optional<std::string_view> today = args.value("--today");
    if (!today)
        return RealDesktop::today();
    const auto date = parseQDate(*today);
    if (!date)
        throw UsageError{"--today \"" + std::string(*today) + "\" is not a date (YYYY-MM-DD)"};
    return *date;
}

// The screen the wallpaper is for; the offscreen platform's pretend screen does not count.
QSize screenSize()
{
    const bool real = QGuiApplication::platformName() != QLatin1String("offscreen");
    return screenSizeInPixels(real ? QGuiApplication::primaryScreen() : nullptr);
}

// The largest scale factor the calendar block is drawn at.
constexpr double kMaxScale = 8;

} // namespace

int runMonth(const Arguments& args, std::ostream& out, std::ostream&)
{
    const auto month = parseMonth(args.words[0]);
    if (!month)
        throw UsageError{"\"" + std::string(args.words[0]) + "\" is not a month (YYYY-MM)"};
    const QDate today = todayOption(args);
    const ProgramFolder folder(programFolderPath(args.value("--folder")));

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
    out << text;
    return 0;
}

int runRender(const Arguments& args, std::ostream& out, std::ostream& err)
{
    const std::optional<std::string_view> folderName = args.value("--folder");
    if (!folderName)
        throw UsageError{"--folder is needed"};
    ProgramFolder folder(pathArgument(*folderName));
    const QDate today = todayOption(args);
    std::optional<QSize> size;
    if (const auto text = args.value("--size")) {
        size = parseSize(*text);
        if (!size)
            throw UsageError{"--size \"" + std::string(*text) +
                             "\" is not WxH with sides of 1 to " + std::to_string(kMaxScreenSide) +
                             " pixels"};
    }
    std::optional<double> scale;
    if (const auto text = args.value("--scale")) {
        bool ok = false;
        scale = toQString(*text).toDouble(&ok);
        if (!ok || !(*scale >= 0.5 && *scale <= kMaxScale))
            throw UsageError{"--scale \"" + std::string(*text) +
                             "\" is not a scale factor from 0.5 to 8, such as 1.5"};
    }
    std::optional<PictureFit> fit;
    if (const auto text = args.value("--fit")) {
        fit = pictureFitFromText(toQString(*text));
        if (!fit)
            throw UsageError{"--fit \"" + std::string(*text) + "\" is not stretch, fill or fit"};
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
            ComposeTarget::single(size.value_or(screenSize()), scale.value_or(screenScale)).screens;
    }

    MonthGrid grid(MonthGrid::Kind::Main);
    fillForToday(grid, folder, today);
    const std::optional<std::string_view> picture = args.value("--picture");
    const ComposedWallpaper composed =
        picture ? importPicture(folder, pathArgument(*picture), target, grid)
                : renderWallpaper(folder, grid, monitors || scale ? target : ComposeTarget{});
    out << native(folder.wallpaperPath()) << '\n';
    if (monitors)
        out << "composed for " << describeScreens(composed).toStdString() << '\n';
    return 0;
}

int runRefresh(const Arguments& args, std::ostream& out, std::ostream& err)
{
    ProgramFolder folder(programFolderPath(args.value("--folder")));
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
}

} // namespace deskleaf::cli
