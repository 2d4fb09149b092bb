// sway, through its own IPC, and other wlroots compositors, through a swaybg of our own.
#include "platform/wallpaper_adapters.h"

#include "platform/wallpaper_desktop.h"

#include "files/pending_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

#include <algorithm>
#include <map>

namespace deskleaf::detail {

namespace {

// A file path as one word of a sway command. sway splits a command at blanks outside quotes
// and then expands the path as the shell would a word (wordexp), so inside the quotes every
// ASCII character but letters, digits and / . _ - is escaped with a backslash.
QString swayWord(const QString& path)
{
    QString word = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c.unicode() < 0x80 && !c.isLetterOrNumber() && !QStringLiteral("/._-").contains(c))
            word += u'\\';
        word += c;
    }
    return word + u'"';
}

// sway's words: split at blanks outside quotes, the quotes kept.
QStringList swayWords(const QString& line)
{
    QStringList words;
    QString word;
    QChar quote;
    bool escaped = false;
    for (const QChar c : line) {
        if (escaped) {
            escaped = false;
        } else if (c == u'\\') {
            escaped = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c.isSpace()) {
            if (!word.isEmpty())
                words << word;
            word.clear();
            continue;
        }
        word += c;
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// The background commands of a sway configuration, in the order sway runs them: each
// `output NAME … bg …` line, also inside `output NAME { … }` blocks and included files,
// with the configuration's variables put in, as `output NAME bg FILE MODE [#FALLBACK]`.
class SwayConfigReader {
public:
    QStringList commands;

    void read(const QString& text, const QString& folder, int depth = 0)
    {
        QStringList blocks;
        QString pending;
        for (QString line : text.split(u'\n')) {
            line = line.trimmed();
            if (line.endsWith(u'\\')) { // continued on the next line
                pending += line.chopped(1);
                continue;
            }
            line = (pending + line).trimmed();
            pending.clear();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            if (line == u'}') {
                if (!blocks.isEmpty())
                    blocks.removeLast();
                continue;
            }
            if (line.endsWith(u'{')) {
                blocks << line.chopped(1).trimmed();
                continue;
            }
            if (!blocks.isEmpty())
                line = blocks.join(u' ') + u' ' + line;
            take(line, folder, depth);
        }
    }

private:
    static constexpr int kMaxIncludeDepth = 8;
    static constexpr const char* kModes[] = {"stretch", "center", "fill",
                                             "fit",     "tile",   "solid_color"};
    std::map<QString, QString> variables_;

    void take(const QString& line, const QString& folder, int depth)
    {
        const QStringList words = swayWords(line);
        const QString command = words.front().toLower();
        if (command == QStringLiteral("set") && words.size() >= 3 && words[1].startsWith(u'$')) {
            variables_[words[1]] = substitute(words.mid(2).join(u' '));
            return;
        }
        if (command == QStringLiteral("include") && words.size() >= 2 && depth < kMaxIncludeDepth) {
            include(substitute(words.mid(1).join(u' ')), folder, depth);
            return;
        }
        if (command == QStringLiteral("output") && words.size() >= 4)
            background(swayWords(substitute(line)), folder);
    }

    // sway puts in the longest variable name first.
    QString substitute(QString text) const
    {
        std::vector<std::pair<QString, QString>> byLength(variables_.begin(), variables_.end());
        std::sort(byLength.begin(), byLength.end(),
                  [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
        for (const auto& [name, value] : byLength)
            text.replace(name, value);
        return text;
    }

    void include(QString pattern, const QString& folder, int depth)
    {
        if (pattern.size() >= 2 && (pattern.front() == u'"' || pattern.front() == u'\'') &&
            pattern.back() == pattern.front())
            pattern = pattern.mid(1, pattern.size() - 2);
        if (pattern.startsWith(QStringLiteral("~/")))
            pattern = QDir::home().absoluteFilePath(pattern.mid(2));
        const QFileInfo where(QDir(folder), pattern);
        const QDir dir = where.absoluteDir();
        const QStringList names =
            dir.entryList({where.fileName()}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names) {
            QFile file(dir.absoluteFilePath(name));
            if (file.open(QIODevice::ReadOnly))
                read(QString::fromUtf8(file.readAll()), dir.absolutePath(), depth + 1);
        }
    }

    void background(const QStringList& words, const QString& folder)
    {
        qsizetype at = 2;
        while (at < words.size() && words[at].compare(QStringLiteral("bg"), Qt::CaseInsensitive) &&
               words[at].compare(QStringLiteral("background"), Qt::CaseInsensitive))
            ++at;
        QStringList source;
        for (++at; at < words.size(); ++at) {
            const bool mode = std::any_of(std::begin(kModes), std::end(kModes), [&](const char* m) {
                return words[at].compare(QLatin1String(m), Qt::CaseInsensitive) == 0;
            });
            if (mode)
                break;
            source << words[at];
        }
        if (source.isEmpty() || at >= words.size())
            return; // no background, or not one sway takes
        // sway reads a relative picture path from the configuration's folder.
        if (source.size() == 1 && !source[0].startsWith(u'#') && !source[0].startsWith(u'/') &&
            !source[0].startsWith(u'~') && !source[0].startsWith(u'"') &&
            !source[0].startsWith(u'\'') && !source[0].startsWith(u'$'))
            source[0] = swayWord(QDir(folder).absoluteFilePath(source[0]));
        QStringList command{QStringLiteral("output"), words[1], QStringLiteral("bg")};
        command << source << words[at];
        if (at + 1 < words.size() && words[at + 1].startsWith(u'#'))
            command << words[at + 1];
        commands << command.join(u' ');
    }
};

// sway draws the background set through its IPC in place of its configuration's own, and
// records nothing: the configuration's background is put back by running its commands again.
class SwayWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    void show(const WallpaperPicture& picture) override
    {
        swaymsg({QStringLiteral("output * bg %1 stretch").arg(swayWord(picture.path))});
    }

    void showPerScreen(const WallpaperPictures& pictures) override
    {
        // sway keeps a background for any name, shown when such an output appears.
        const QStringList outputs = outputNames();
        for (const WallpaperPicture& picture : pictures) {
            if (!outputs.contains(picture.screen))
                throw StepError(QStringLiteral("sway has no output named \"%1\" (it has %2)")
                                    .arg(picture.screen, outputs.join(QStringLiteral(", "))));
        }
        for (const WallpaperPicture& picture : pictures)
            swaymsg({QStringLiteral("output \"%1\" bg %2 stretch")
                         .arg(picture.screen, swayWord(picture.path))});
    }

    void clear() override { swaymsg({QStringLiteral("output * bg #000000 solid_color")}); }

    QJsonObject current() override
    {
        const QJsonObject reply =
            QJsonDocument::fromJson(
                swaymsg({QStringLiteral("-t"), QStringLiteral("get_config"), QStringLiteral("-r")})
                    .toUtf8())
                .object();
        SwayConfigReader reader;
        reader.read(reply.value(QStringLiteral("config")).toString(), userConfigFolder());
        if (reader.commands.isEmpty())
            return {};
        return {{QStringLiteral("sway"), QJsonArray::fromStringList(reader.commands)}};
    }

    void restore(const QJsonObject& recorded) override
    {
        const QJsonArray commands = recorded.value(QStringLiteral("sway")).toArray();
        if (commands.isEmpty()) {
            clear();
            return;
        }
        for (const QJsonValue& command : commands)
            swaymsg({command.toString()});
    }

    QStringList outputNames()
    {
        QStringList names;
        const QJsonArray outputs =
            QJsonDocument::fromJson(
                swaymsg({QStringLiteral("-t"), QStringLiteral("get_outputs"), QStringLiteral("-r")})
                    .toUtf8())
                .array();
        for (const QJsonValue& output : outputs)
            names << output.toObject().value(QStringLiteral("name")).toString();
        return names;
    }

    // Relative paths in the main configuration are sway's own folder's.
    static QString userConfigFolder()
    {
        return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
            .absoluteFilePath(QStringLiteral("sway"));
    }

    QString swaymsg(const QStringList& args) { return run(QStringLiteral("swaymsg"), args); }
};

class SwaybgWallpaper final : public DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;

private:
    // A swaybg that cannot read its picture or reach the compositor ends within this long.
    static constexpr int kWatchMs = 500;

    void show(const WallpaperPicture& picture) override
    {
        const QString& snapshot = picture.path;
        replaceSwaybg(
            {QStringLiteral("-i"), snapshot, QStringLiteral("-m"), QStringLiteral("stretch")},
            QStringLiteral("it cannot read the picture or reach the Wayland compositor"));
    }

    // A plain colour: stopping ours alone would uncover the compositor's own picture.
    void clear() override
    {
        replaceSwaybg({QStringLiteral("-m"), QStringLiteral("solid_color"), QStringLiteral("-c"),
                       QStringLiteral("#000000")},
                      QStringLiteral("it cannot reach the Wayland compositor"));
    }

    // Starts the new swaybg first, so the screen is never left bare, then stops the one
    // this program started last. Its id is kept in a file, since every run of the program
    // is a new process; -x swaybg keeps a stale id from stopping anything else.
    void replaceSwaybg(const QStringList& args, const QString& whyItEnds)
    {
        const QString swaybg = QStringLiteral("swaybg");
        const QString pidFile =
            QDir(env_.cacheFolder).absoluteFilePath(QStringLiteral("swaybg.pid"));
        const bool oldOne = QFileInfo::exists(pidFile);
        if (!has(swaybg))
            throw StepError(QStringLiteral("swaybg is not installed"));
        if (oldOne && !has(QStringLiteral("pkill")))
            throw StepError(QStringLiteral(
                "pkill is not installed, so the swaybg started before could not be stopped"));
        const std::optional<qint64> pid = runner_.startDetached(swaybg, args);
        if (!pid)
            throw StepError(QStringLiteral("swaybg could not be started"));
        if (!runner_.keepsRunning(*pid, kWatchMs))
            throw StepError(
                QStringLiteral("swaybg ended as soon as it started: %1").arg(whyItEnds));
        QStringList problems;
        if (oldOne)
            problems << stopOldSwaybg(pidFile);
        problems << storePid(pidFile, *pid);
        problems.removeAll(QString());
        if (!problems.isEmpty())
            throw StepError(problems.join(QStringLiteral("; ")));
    }

    // What went wrong, or nothing. pkill exits with 1 when no process matched: the old
    // swaybg is gone already.
    QString stopOldSwaybg(const QString& pidFile)
    {
        const QString pkill = QStringLiteral("pkill");
        const CommandResult result = runner_.run(
            pkill, {QStringLiteral("-F"), pidFile, QStringLiteral("-x"), QStringLiteral("swaybg")},
            kToolTimeoutMs);
        QString why;
        if (!result.started)
            why = QStringLiteral("pkill could not be started");
        else if (result.timedOut)
            why =
                QStringLiteral("pkill did not finish within %1 seconds").arg(kToolTimeoutMs / 1000);
        else if (result.exitCode == 0 || result.exitCode == 1)
            return {};
        else if (!result.err.trimmed().isEmpty())
            why = QStringLiteral("pkill failed: %1").arg(result.err.trimmed());
        else
            why = QStringLiteral("pkill ") + result.ending();
        return QStringLiteral("the new swaybg runs, but the one started before could not be "
                              "stopped (%1)")
            .arg(why);
    }

    // Without the id the next change cannot stop this swaybg.
    static QString storePid(const QString& pidFile, qint64 pid)
    {
        QDir().mkpath(QFileInfo(pidFile).absolutePath()); // when not, the open says why
        const QString failure = writeWholeFile(pidFile, QByteArray::number(pid) + '\n');
        if (failure.isEmpty())
            return {};
        return QStringLiteral("swaybg runs, but its process id could not be written to %1 (%2), "
                              "so it may keep running behind the next wallpaper")
            .arg(QDir::toNativeSeparators(pidFile), failure);
    }
};

} // namespace

std::unique_ptr<WallpaperSetter> makeWlrootsWallpaper(QString name, const DesktopEnvironment& env,
                                                      CommandRunner& runner)
{
    const bool sway = !env.swaySocket.isEmpty() || env.currentDesktop.split(u':').contains(
                                                       QStringLiteral("sway"), Qt::CaseInsensitive);
    if (sway)
        return std::make_unique<SwayWallpaper>(std::move(name), env, runner);
    return std::make_unique<SwaybgWallpaper>(std::move(name), env, runner);
}

} // namespace deskleaf::detail
