// LXDE: pcmanfm draws the desktop, one window per monitor, each with its own settings in
// ~/.config/pcmanfm/PROFILE/desktop-items-N.conf, N counting the monitors from the left.
//
// `pcmanfm --set-wallpaper` reaches only the first monitor's window, and a window reads its
// file only when it is made; so for several monitors each file is written and the desktop
// turned off and on.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <numeric>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace deskleaf::detail {

namespace {

// Whether the process pid draws on this program's X display: the same user may have several
// sessions. A process whose environment cannot be read is taken to.
bool onThisDisplay(qint64 pid)
{
    static const QRegularExpression screen(QStringLiteral("\\.[0-9]+$"));
    const QString ours = qEnvironmentVariable("DISPLAY").remove(screen);
    QFile environment(QStringLiteral("/proc/%1/environ").arg(pid));
    if (ours.isEmpty() || !environment.open(QIODevice::ReadOnly))
        return true;
    const QList<QByteArray> entries = environment.readAll().split('\0');
    for (const QByteArray& entry : entries) {
        if (entry.startsWith("DISPLAY="))
            return QString::fromLocal8Bit(entry.mid(8)).remove(screen) == ours;
    }
    return false;
}

} // namespace

std::optional<RunningProgram> findRunning(CommandRunner& runner, const QString& program)
{
    QStringList args{QStringLiteral("-a"), QStringLiteral("-x"), program};
#ifdef Q_OS_UNIX
    args << QStringLiteral("-u") << QString::number(getuid());
#endif
    const CommandResult result = runner.run(QStringLiteral("pgrep"), args, kToolTimeoutMs);
    if (!result.succeeded())
        return std::nullopt; // none runs (exit code 1), or pgrep is missing
    // "PID PROGRAM ARGUMENT...", the oldest first
    for (const QString& line : result.out.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        if (words.size() < 2)
            continue;
        const qint64 pid = words.takeFirst().toLongLong();
        if (onThisDisplay(pid))
            return RunningProgram{pid, words.mid(1)};
    }
    return std::nullopt;
}

QString runningProfile(CommandRunner& runner, const QString& program, const QString& fallback)
{
    const std::optional<RunningProgram> running = findRunning(runner, program);
    if (!running)
        return fallback;
    const QStringList& args = running->arguments;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if ((arg == QStringLiteral("--profile") || arg == QStringLiteral("-p")) &&
            i + 1 < args.size())
            return args[i + 1];
        if (arg.startsWith(QStringLiteral("--profile=")))
            return arg.mid(QStringLiteral("--profile=").size());
        if (arg.startsWith(QStringLiteral("-p")) && arg.size() > 2 && !arg.startsWith(u"--"))
            return arg.mid(2);
    }
    return QStringLiteral("default");
}

RunningProgram requireRunning(CommandRunner& runner, const QString& program)
{
    std::optional<RunningProgram> running = findRunning(runner, program);
    if (!running)
        throw StepError(QStringLiteral("%1 does not run, so nothing draws the desktop (it is "
                                       "started as %1 --desktop)")
                            .arg(program));
    return *running;
}

void redrawDesktop(CommandRunner& runner, const QString& program, const QString& profile)
{
    constexpr int kEndMs = 2000;  // the program ends within this long after --desktop-off
    constexpr int kStartMs = 500; // one that cannot draw the desktop ends within this long
    const auto check = [&](const QStringList& args) {
        const CommandResult result = runner.run(program, args, kToolTimeoutMs);
        if (!result.succeeded())
            throw StepError(
                QStringLiteral("%1 %2 failed%3")
                    .arg(program, args.join(u' '),
                         result.timedOut ? QStringLiteral(": it did not finish") : QString()));
    };
    const RunningProgram running = requireRunning(runner, program);
    check({QStringLiteral("--desktop-off")});
    if (runner.keepsRunning(running.pid, kEndMs)) {
        check({QStringLiteral("--desktop")});
        return;
    }
    const std::optional<qint64> pid = runner.startDetached(
        program, {QStringLiteral("--desktop"), QStringLiteral("--profile"), profile});
    if (!pid || !runner.keepsRunning(*pid, kStartMs))
        throw StepError(QStringLiteral("%1 --desktop, started again to draw the desktop anew, "
                                       "ended at once")
                            .arg(program));
}

namespace {

const QString kProgram = QStringLiteral("pcmanfm");
// The keys of a desktop-items file's "*" group that say what the monitor shows.
const QRegularExpression kWallpaperKey(
    QStringLiteral("^(wallpaper_mode|wallpaper_common|wallpaper|wallpapers_configured|"
                   "wallpaper[0-9]+)$"));

// GTK 2 counts the monitors from the left, then from the top.
QList<int> monitorNumbers(const WallpaperPictures& pictures)
{
    QList<int> order(pictures.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const QRect& ra = pictures[a].area;
        const QRect& rb = pictures[b].area;
        if (ra.x() != rb.x())
            return ra.x() < rb.x();
        if (ra.y() != rb.y())
            return ra.y() < rb.y();
        if (ra.height() != rb.height())
            return ra.height() > rb.height();
        return ra.width() > rb.width();
    });
    QList<int> numbers(pictures.size());
    for (int n = 0; n < order.size(); ++n)
        numbers[order[n]] = n;
    return numbers;
}

// One desktop-items file, read and written as lines so that the icons' places in it stay
// as pcmanfm wrote them.
class DesktopItems {
public:
    explicit DesktopItems(QString path) : path_(std::move(path))
    {
        QFile file(path_);
        if (file.open(QIODevice::ReadOnly))
            lines_ = QString::fromUtf8(file.readAll()).split(u'\n');
        if (lines_.size() == 1 && lines_.front().isEmpty())
            lines_.clear();
    }

    bool exists() const { return !lines_.isEmpty(); }

    // The lines of the "*" group that say what the monitor shows, as written.
    QStringList wallpaperLines() const
    {
        QStringList found;
        const auto [begin, end] = group();
        for (qsizetype i = begin; i < end; ++i) {
            if (isWallpaperLine(lines_[i]))
                found << lines_[i];
        }
        return found;
    }

    // Puts wallpaper in place of those lines; a file without a "*" group gets model's, as
    // pcmanfm gives a new monitor the first one's settings.
    void setWallpaperLines(const QStringList& wallpaper, const DesktopItems& model)
    {
        if (group().first < 0) {
            const auto [begin, end] = model.group();
            QStringList copied{QStringLiteral("[*]")};
            if (begin >= 0)
                copied += model.lines_.mid(begin, end - begin);
            else
                copied << QString();
            lines_ = copied + lines_;
        }
        const auto [begin, end] = group();
        qsizetype at = -1;
        for (qsizetype i = end - 1; i >= begin; --i) {
            if (isWallpaperLine(lines_[i])) {
                lines_.removeAt(i);
                at = i;
            }
        }
        if (at < 0)
            at = begin;
        for (const QString& line : wallpaper)
            lines_.insert(at++, line);
    }

    void write() const
    {
        if (const QString failure = writeWholeFile(path_, lines_.join(u'\n').toUtf8());
            !failure.isEmpty())
            throw StepError(QStringLiteral("could not write %1 (%2)")
                                .arg(QDir::toNativeSeparators(path_), failure));
    }

private:
    static bool isWallpaperLine(const QString& line)
    {
        return kWallpaperKey.match(line.section(u'=', 0, 0).trimmed()).hasMatch();
    }

    // The lines of the "*" group after its header: [first, last); -1 when there is none.
    std::pair<qsizetype, qsizetype> group() const
    {
        const qsizetype header = lines_.indexOf(QStringLiteral("[*]"));
        if (header < 0)
            return {-1, -1};
        qsizetype end = header + 1;
        while (end < lines_.size() && !lines_[end].startsWith(u'['))
            ++end;
        return {header + 1, end};
    }

    QString path_;
    QStringList lines_;
};

class PcmanfmWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // The first monitor; on one monitor, the only one.
    void show(const WallpaperPicture& picture) override
    {
        requireRunning(runner_, kProgram); // else pcmanfm opens a message box and waits
        run(kProgram,
            {QStringLiteral("--set-wallpaper"), picture.path, QStringLiteral("--wallpaper-mode"),
             picture.spansScreens ? QStringLiteral("screen") : QStringLiteral("stretch")});
    }

    void showPerScreen(const WallpaperPictures& pictures) override
    {
        if (pictures.size() == 1) {
            show(pictures.front());
            return;
        }
        requireRunning(runner_, kProgram);
        for (const WallpaperPicture& picture : pictures) {
            if (picture.area.isEmpty())
                throw StepError(QStringLiteral("where the monitor \"%1\" lies is not known, so "
                                               "its pcmanfm settings cannot be found")
                                    .arg(picture.screen));
        }
        const QList<int> numbers = monitorNumbers(pictures);
        const DesktopItems first(itemsPath(0));
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            DesktopItems items(itemsPath(numbers[i]));
            items.setWallpaperLines({QStringLiteral("wallpaper_mode=stretch"),
                                     QStringLiteral("wallpaper_common=1"),
                                     QStringLiteral("wallpaper=") + pictures[i].path},
                                    first);
            items.write();
        }
        redraw();
    }

    void clear() override
    {
        requireRunning(runner_, kProgram);
        run(kProgram, {QStringLiteral("--wallpaper-mode"), QStringLiteral("color")});
        // The other monitors' windows read their files only when made.
        bool others = false;
        const DesktopItems first(itemsPath(0));
        for (int n = 1; n < kMaxMonitors; ++n) {
            DesktopItems items(itemsPath(n));
            if (!items.exists())
                break;
            QStringList lines = items.wallpaperLines();
            if (lines.contains(QStringLiteral("wallpaper_mode=color")))
                continue;
            lines.removeIf([](const QString& line) { return line.startsWith(u"wallpaper_mode="); });
            lines.prepend(QStringLiteral("wallpaper_mode=color"));
            items.setWallpaperLines(lines, first);
            items.write();
            others = true;
        }
        if (others)
            redraw();
    }

    // Every monitor's wallpaper keys, by its number.
    QJsonObject current() override
    {
        QJsonObject monitors;
        for (int n = 0; n < kMaxMonitors; ++n) {
            const DesktopItems items(itemsPath(n));
            if (!items.exists())
                break;
            monitors[QString::number(n)] = QJsonArray::fromStringList(items.wallpaperLines());
        }
        if (monitors.isEmpty())
            return {};
        return {{QStringLiteral("monitors"), monitors}};
    }

    void restore(const QJsonObject& recorded) override
    {
        const QJsonObject monitors = recorded.value(QStringLiteral("monitors")).toObject();
        if (monitors.isEmpty()) {
            clear();
            return;
        }
        requireRunning(runner_, kProgram);
        const DesktopItems first(itemsPath(0));
        for (auto monitor = monitors.begin(); monitor != monitors.end(); ++monitor) {
            DesktopItems items(itemsPath(monitor.key().toInt()));
            QStringList lines;
            for (const QJsonValue& line : monitor.value().toArray())
                lines << line.toString();
            items.setWallpaperLines(lines, first);
            items.write();
        }
        redraw();
    }

    void redraw() { redrawDesktop(runner_, kProgram, profile()); }

    QString profile()
    {
        if (profile_.isEmpty())
            profile_ = runningProfile(runner_, kProgram, QStringLiteral("LXDE"));
        return profile_;
    }

    QString itemsPath(int monitor)
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .absoluteFilePath(
                QStringLiteral("pcmanfm/%1/desktop-items-%2.conf").arg(profile()).arg(monitor));
    }

    static constexpr int kMaxMonitors = 16;
    QString profile_;
};

} // namespace

std::unique_ptr<WallpaperSetter> makePcmanfmWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner)
{
    return std::make_unique<PcmanfmWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
