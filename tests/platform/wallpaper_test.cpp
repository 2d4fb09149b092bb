#include "platform/wallpaper.h"
#include "platform/wallpaper_desktop.h"
#include "support/scoped_env.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <map>
#include <optional>
#include <set>

using namespace deskleaf;

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Records every call; a program that is not installed cannot be started.
class FakeRunner final : public CommandRunner {
public:
    std::set<QString> installed;
    std::map<QString, QString> output;   // standard output by program
    std::map<QString, QString> refusing; // standard error by program, which exits with 1
    std::map<QString, int> exitCode;     // by program, with nothing on standard error
    std::set<QString> hanging;           // these time out
    QString refusingCall;                // a call whose text holds this exits with 1
    bool detachedEnds = false;           // a detached program ends as soon as it started
    QStringList calls;                   // "program arg ..."; " &" ends a detached one

    CommandResult run(const QString& program, const QStringList& args, int) override
    {
        calls << (QStringList{program} + args).join(u' ');
        CommandResult result{
            installed.contains(program), hanging.contains(program), 0, output[program], {}};
        if (const auto code = exitCode.find(program); code != exitCode.end())
            result.exitCode = code->second;
        if (const auto refusal = refusing.find(program); refusal != refusing.end())
            result = {true, false, 1, {}, refusal->second};
        if (!refusingCall.isEmpty() && calls.last().contains(refusingCall))
            result = {true, false, 1, {}, "refused"};
        return result;
    }
    bool has(const QString& program) override { return installed.contains(program); }
    std::optional<qint64> startDetached(const QString& program, const QStringList& args) override
    {
        calls << (QStringList{program} + args).join(u' ') + " &";
        return installed.contains(program) ? std::optional<qint64>(4242) : std::nullopt;
    }
    bool keepsRunning(qint64, int) override { return !detachedEnds; }
};

// A picture, and a cache folder whose name needs percent-encoding in a URI.
struct Scene {
    QTemporaryDir tmp;
    QString picture = tmp.filePath("zm.bmp");
    QString cache = tmp.filePath("图片 my wall#1");
    QString cacheUri = "file://" + tmp.path() + "/%E5%9B%BE%E7%89%87%20my%20wall%231";
    FakeRunner runner;

    Scene() { writePicture("first"); }
    void writePicture(const QByteArray& bytes) const
    {
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    std::unique_ptr<WallpaperSetter> setter(const QString& desktop, const QString& session)
    {
        return makeWallpaperSetter({desktop, session, {}, cache, {}}, runner);
    }
    QStringList snapshots() const { return QDir(cache).entryList({"wallpaper-*"}, QDir::Files); }
};

// clang-format off
const QString kGnome43Keys = "picture-options\npicture-uri\npicture-uri-dark\n";
const QStringList kGnomeApply = {"gsettings list-keys org.gnome.desktop.background",
    "gsettings set org.gnome.desktop.background picture-uri '{uri}'",
    "gsettings set org.gnome.desktop.background picture-uri-dark '{uri}'",
    "gsettings set org.gnome.desktop.background picture-options 'stretched'"};
const QString kGnomeRemove = "gsettings set org.gnome.desktop.background picture-options 'none'";

struct DesktopCase {
    QStringList desktops;  // XDG_CURRENT_DESKTOP values that all behave alike
    QString session;
    std::set<QString> installed;
    QString output;      // of gsettings list-keys and xfconf-query -l
    QStringList apply;   // {snapshot}, {uri} and {cache} stand for the paths
    QStringList remove;  // run after apply
};

const DesktopCase kDesktops[] = {
    {{"ubuntu:GNOME", "GNOME", "Budgie:GNOME", "Pantheon"}, "wayland", {"gsettings"}, kGnome43Keys,
     kGnomeApply, {kGnomeRemove}},
    // GNOME before 42 has no picture-uri-dark.
    {{"GNOME"}, "x11", {"gsettings"}, "picture-options\npicture-uri\n",
     {kGnomeApply[0], kGnomeApply[1], kGnomeApply[3]}, {kGnomeRemove}},
    {{"X-Cinnamon"}, "x11", {"gsettings"}, {},
     {"gsettings set org.cinnamon.desktop.background picture-uri '{uri}'",
      "gsettings set org.cinnamon.desktop.background picture-options 'stretched'"},
     {"gsettings set org.cinnamon.desktop.background picture-options 'none'"}},
    {{"MATE"}, "x11", {"gsettings"}, {},
     {"gsettings set org.mate.background picture-filename '{snapshot}'",
      "gsettings set org.mate.background picture-options 'stretched'"},
     {"gsettings set org.mate.background picture-filename ''"}},
    // KDE Plasma and Xfce: wallpaper_desktops_test.cpp
    // Other wlroots compositors than sway: remove replaces the swaybg that apply started.
    {{"river", "FooWM"}, "wayland", {"swaybg", "pkill"}, {}, {"swaybg -i {snapshot} -m stretch &"},
     {"swaybg -m solid_color -c #000000 &", "pkill -F {cache}/swaybg.pid -x swaybg"}},
    {{""}, "x11", {"feh", "xsetroot"}, {}, {"feh --bg-scale {snapshot}"}, {"xsetroot -solid black"}},
};
// clang-format on

TEST(WallpaperSetter, RunsTheCommandsOfEachDesktop)
{
    for (const DesktopCase& row : kDesktops) {
        for (const QString& desktop : row.desktops) {
            SCOPED_TRACE(desktop.toStdString());
            Scene scene;
            scene.runner.installed = row.installed;
            scene.runner.output = {{"gsettings", row.output}, {"xfconf-query", row.output}};
            const auto setter = scene.setter(desktop, row.session);
            setter->apply(scene.picture);
            ASSERT_EQ(scene.snapshots().size(), 1);
            const QString name = scene.snapshots().front();
            const auto expand = [&](QStringList calls) {
                return calls.replaceInStrings("{snapshot}", QDir(scene.cache).filePath(name))
                    .replaceInStrings("{uri}", scene.cacheUri + u'/' + name)
                    .replaceInStrings("{cache}", scene.cache);
            };
            EXPECT_EQ(scene.runner.calls, expand(row.apply));
            scene.runner.calls.clear();
            setter->remove();
            EXPECT_EQ(scene.runner.calls, expand(row.remove));
        }
    }
}

TEST(WallpaperSetter, HandsEachApplyANewCopyAndKeepsOnlyTheOneShown)
{
    Scene scene;
    scene.runner.installed = {"gsettings"};
    const auto setter = scene.setter("GNOME", "x11");
    setter->apply(scene.picture);
    const QStringList first = scene.snapshots();
    ASSERT_EQ(first.size(), 1);

    scene.writePicture("second");
    setter->apply(scene.picture);
    const QStringList second = scene.snapshots();
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second, first);
    QFile copy(QDir(scene.cache).filePath(second[0]));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "second");

    // A failed apply leaves the desktop on the last copy it was given.
    scene.runner.refusing["gsettings"] = "refused";
    EXPECT_THROW(setter->apply(scene.picture), PlatformError);
    EXPECT_EQ(scene.snapshots(), second);

    // Failing halfway, the desktop may already show the new copy: it is kept.
    scene.runner.refusing.clear();
    scene.runner.output["gsettings"] = "picture-options\npicture-uri\n";
    scene.runner.refusingCall = "picture-options";
    EXPECT_THROW(setter->apply(scene.picture), PlatformError);
    EXPECT_EQ(scene.snapshots().size(), 2);
}

TEST(WallpaperSetter, NamesTheDesktopAndWhatFailed)
{
    struct {
        QString desktop;
        std::set<QString> installed;
        std::map<QString, QString> refusing;
        std::set<QString> hanging;
        bool remove;
        QString message; // {cache} stands for the cache folder
    } const rows[] = {
        // clang-format off
        {"GNOME", {"gsettings"}, {{"gsettings", "No such schema “org.gnome.desktop.background”\n"}}, {}, false,
         "Could not set the wallpaper on GNOME: gsettings failed: No such schema “org.gnome.desktop.background”"},
        {"KDE", {"qdbus"}, {}, {"qdbus"}, false,
         "Could not set the wallpaper on KDE Plasma: qdbus did not finish within 10 seconds"},
        // The tool alone cannot tell Plasma to stretch: nothing is set rather than a crop.
        {"KDE", {"plasma-apply-wallpaperimage"}, {}, {}, false, "Could not set the wallpaper on "
         "KDE Plasma: neither qdbus nor dbus-send is installed, so the Plasma shell cannot be "
         "told what to show"},
        {"XFCE", {}, {}, {}, true,
         "Could not remove the wallpaper on Xfce: xfconf-query is not installed or could not be started"},
        {"i3", {"feh"}, {}, {}, true, "Could not remove the wallpaper on the desktop \"i3\": "
         "xsetroot is not installed, and feh cannot show a plain colour"},
        {"FooWM", {}, {}, {}, false, "Could not set the wallpaper: the desktop \"FooWM\" is not one "
         "this program knows, and neither feh nor xwallpaper is installed"},
        // A file stands where the cache folder should be made.
        {"GNOME", {"gsettings"}, {}, {}, false,
         "Could not set the wallpaper on GNOME: could not create the folder {cache}: Not a directory"},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message.toStdString());
        Scene scene;
        if (row.message.contains("{cache}"))
            QFile(scene.cache).open(QIODevice::WriteOnly);
        scene.runner.installed = row.installed;
        scene.runner.refusing = row.refusing;
        scene.runner.hanging = row.hanging;
        const auto setter = scene.setter(row.desktop, "x11");
        const std::string message = thrownMessage<PlatformError>(
            [&] { row.remove ? setter->remove() : setter->apply(scene.picture); });
        EXPECT_EQ(message, QString(row.message).replace("{cache}", scene.cache).toStdString());
        EXPECT_TRUE(scene.snapshots().isEmpty());
    }
}

// Every swaybg this program starts must be seen running and be the one the next change
// stops; anything else piles up unseen behind the wallpaper.
TEST(SwaybgWallpaper, CountsOnlyARunningSwaybgAndAStoppedOldOne)
{
    const QString stopped = "Could not set the wallpaper on river: the new swaybg runs, but the "
                            "one started before could not be stopped ";
    struct {
        const char* what;
        std::map<QString, int> exitCode;
        std::map<QString, QString> refusing;
        std::set<QString> hanging;
        QString message; // empty: done
    } const rows[] = {
        {"old one gone already", {{"pkill", 1}}, {}, {}, {}},
        // pkill exits with 1 for an unreadable id file too: nothing it could stop.
        {"id file not valid", {}, {{"pkill", "pkill: pidfile not valid"}}, {}, {}},
        {"pkill refuses", {{"pkill", 3}}, {}, {}, stopped + "(pkill failed with exit code 3)"},
        {"pkill hangs", {}, {}, {"pkill"}, stopped + "(pkill did not finish within 10 seconds)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Scene scene;
        scene.runner.installed = {"swaybg", "pkill"};
        scene.runner.exitCode = row.exitCode;
        scene.runner.refusing = row.refusing;
        scene.runner.hanging = row.hanging;
        ASSERT_TRUE(QDir().mkpath(scene.cache));
        const QString pidFile = QDir(scene.cache).filePath("swaybg.pid");
        ASSERT_TRUE(testfiles::writeBytes(pidFile, "17\n"));
        const auto setter = scene.setter("river", "wayland");
        const std::string message =
            thrownMessage<PlatformError>([&] { setter->apply(scene.picture); });
        EXPECT_EQ(message, row.message.toStdString());
        EXPECT_EQ(scene.runner.calls.last(), "pkill -F " + pidFile + " -x swaybg");
        EXPECT_EQ(testfiles::readBytes(pidFile), "4242\n"); // the one that runs now is stopped next
    }
}

TEST(SwaybgWallpaper, ASwaybgThatEndsAtOnceOrCannotBeRecordedIsAFailure)
{
    Scene scene;
    scene.runner.installed = {"swaybg", "pkill"};
    ASSERT_TRUE(QDir().mkpath(scene.cache));
    const QString pidFile = QDir(scene.cache).filePath("swaybg.pid");
    ASSERT_TRUE(testfiles::writeBytes(pidFile, "17\n"));
    const auto setter = scene.setter("river", "wayland");
    const auto failure = [](const auto& call) { return thrownMessage<PlatformError>(call); };

    // The old one keeps showing its picture: it is not stopped.
    scene.runner.detachedEnds = true;
    EXPECT_EQ(failure([&] { setter->apply(scene.picture); }),
              "Could not set the wallpaper on river: swaybg ended as soon as it started: it "
              "cannot read the picture or reach the Wayland compositor");
    EXPECT_EQ(failure([&] { setter->remove(); }),
              "Could not remove the wallpaper on river: swaybg ended as soon as it started: it "
              "cannot reach the Wayland compositor");
    EXPECT_EQ(scene.runner.calls.filter("pkill"), QStringList());
    EXPECT_EQ(testfiles::readBytes(pidFile), "17\n");
    EXPECT_TRUE(scene.snapshots().isEmpty());

    // Without pkill the old one could not be stopped: nothing is started.
    scene.runner.detachedEnds = false;
    scene.runner.installed = {"swaybg"};
    scene.runner.calls.clear();
    EXPECT_EQ(failure([&] { setter->remove(); }),
              "Could not remove the wallpaper on river: pkill is not installed, so the swaybg "
              "started before could not be stopped");
    EXPECT_TRUE(scene.runner.calls.isEmpty());

    // A folder where the id file goes: this swaybg could never be stopped.
    ASSERT_TRUE(QFile::remove(pidFile));
    ASSERT_TRUE(QDir().mkpath(pidFile));
    scene.runner.installed = {"swaybg", "pkill"};
    const std::string message = failure([&] { setter->apply(scene.picture); });
    EXPECT_TRUE(QString::fromStdString(message).startsWith(
        "Could not set the wallpaper on river: swaybg runs, but its process id could not be "
        "written to " +
        pidFile + " ("))
        << message;
    EXPECT_TRUE(message.ends_with("so it may keep running behind the next wallpaper")) << message;
}

using testfiles::ScopedEnv;

// The real gsettings, on its keyfile backend in a private folder so that the user's own
// settings are never touched.
TEST(GnomeWallpaper, StoresTheSnapshotInTheRealSettings)
{
    if (QStandardPaths::findExecutable("gsettings").isEmpty())
        GTEST_SKIP() << "gsettings is not installed";
    Scene scene;
    ScopedEnv backend("GSETTINGS_BACKEND", "keyfile"),
        config("XDG_CONFIG_HOME", scene.tmp.filePath("config"));
    ProcessRunner runner;
    const auto get = [&](const QString& key) {
        return runner.run("gsettings", {"get", "org.gnome.desktop.background", key}, 10'000)
            .out.trimmed();
    };
    const auto setter =
        makeWallpaperSetter({"ubuntu:GNOME", "wayland", "wayland-0", scene.cache, {}}, runner);

    setter->apply(scene.picture);
    ASSERT_EQ(scene.snapshots().size(), 1);
    const QString uri = u'\'' + scene.cacheUri + u'/' + scene.snapshots().front() + u'\'';
    EXPECT_EQ(get("picture-uri"), uri);
    EXPECT_EQ(get("picture-uri-dark"), uri);
    EXPECT_EQ(get("picture-options"), "'stretched'");

    setter->remove();
    EXPECT_EQ(get("picture-options"), "'none'");
}

} // namespace

// A desktop that shows a picture per screen, recording which snapshot each screen got; its
// own wallpaper setting is `setting`.
class PerScreenDesktop final : public detail::DesktopWallpaper {
public:
    using DesktopWallpaper::DesktopWallpaper;
    QStringList shown;
    QString setting = "/home/u/beach.jpg";

private:
    void show(const WallpaperPicture& picture) override
    {
        shown = {"* " + picture.path};
        setting = picture.path;
    }
    void clear() override
    {
        shown.clear();
        setting.clear();
    }
    void showPerScreen(const WallpaperPictures& snapshots) override
    {
        shown.clear();
        for (const WallpaperPicture& p : snapshots)
            shown << p.screen + ' ' + p.path;
        setting = snapshots.front().path;
    }
    QJsonObject current() override
    {
        return setting.isEmpty() ? QJsonObject() : QJsonObject{{"picture", setting}};
    }
    void restore(const QJsonObject& recorded) override
    {
        shown.clear();
        setting = recorded["picture"].toString();
    }
};

TEST(WallpaperSetter, KeepsThePictureOfEveryScreen)
{
    Scene scene;
    PerScreenDesktop desktop("TestDesk", {"TestDesk", "x11", {}, scene.cache, {}}, scene.runner);
    desktop.apply(WallpaperPictures{{"HDMI-1", scene.picture, {}, false},
                                    {"DP-2", scene.picture, {}, false}});
    ASSERT_EQ(desktop.shown.size(), 2);
    EXPECT_EQ(scene.snapshots().size(), 2);
    for (const QString& screen : desktop.shown)
        EXPECT_TRUE(QFile::exists(screen.section(' ', 1))) << screen.toStdString();
    desktop.apply(scene.picture); // one for every screen again: the two others go
    EXPECT_EQ(scene.snapshots().size(), 1);

    // A desktop with one picture for all screens says so and keeps what it shows.
    const auto gnome = scene.setter("GNOME", "x11");
    EXPECT_EQ(gnome->layout(), PictureLayout::Spanned);
    EXPECT_THROW_MSG(gnome->apply(WallpaperPictures{{"HDMI-1", scene.picture, {}, false},
                                                    {"DP-2", scene.picture, {}, false}}),
                     PlatformError, ::testing::HasSubstr("one picture for all screens"));
    EXPECT_EQ(scene.snapshots().size(), 1);
}

TEST(WallpaperSetter, RemovePutsBackTheWallpaperShownBeforeTheFirstApply)
{
    Scene scene;
    const QString state = scene.tmp.filePath("state");
    PerScreenDesktop desktop("Test Desk", {"TestDesk", "x11", {}, scene.cache, state},
                             scene.runner);
    desktop.apply(scene.picture);
    desktop.apply(scene.picture); // shows our own snapshot now: the first record stays
    desktop.remove();
    EXPECT_EQ(desktop.setting, "/home/u/beach.jpg");
    EXPECT_TRUE(QDir(state).isEmpty()) << "the record is used once";

    desktop.remove(); // nothing recorded: a plain colour
    EXPECT_EQ(desktop.setting, "");

    // A record that cannot be written fails the apply before the desktop changes.
    desktop.setting = "/home/u/beach.jpg";
    QFile(state).remove();
    QDir().rmdir(state);
    ASSERT_TRUE(testfiles::writeBytes(state, "a file where the folder should be"));
    EXPECT_THROW(desktop.apply(scene.picture), PlatformError);
    EXPECT_EQ(desktop.setting, "/home/u/beach.jpg");
}

namespace {

// Answers each call as `answer` says (done, nothing said, by default) and records it.
class ScriptedRunner final : public CommandRunner {
public:
    std::set<QString> missing;
    std::function<CommandResult(const QStringList& call)> answer;
    std::set<qint64> ended; // processes that have ended
    QStringList calls;      // "program arg ..."; " &" ends a detached one
    QStringList last;       // the last call's program and arguments

    CommandResult run(const QString& program, const QStringList& args, int) override
    {
        const QStringList call = QStringList{program} + args;
        calls << call.join(u' ');
        last = call;
        if (missing.contains(program))
            return {};
        return answer ? answer(call) : CommandResult{true, false, 0, {}, {}};
    }
    bool has(const QString& program) override { return !missing.contains(program); }
    std::optional<qint64> startDetached(const QString& program, const QStringList& args) override
    {
        calls << (QStringList{program} + args).join(u' ') + " &";
        return 4242;
    }
    bool keepsRunning(qint64 pid, int) override { return !ended.contains(pid); }
};

CommandResult said(const QString& out, int exitCode = 0)
{
    return {true, false, exitCode, out, {}};
}

// A home of its own, with the desktop's configuration in it, and pictures of one colour.
struct Home {
    QTemporaryDir tmp;
    ScopedEnv home{"HOME", tmp.path()};
    ScopedEnv config{"XDG_CONFIG_HOME", tmp.filePath("config")};
    QString cache = tmp.filePath("cache 图片");
    ScriptedRunner runner;

    QString picture(const QString& name, const QColor& colour) const
    {
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = tmp.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }
    QString configFile(const QString& name, const QByteArray& text) const
    {
        const QString path = tmp.filePath("config/" + name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(testfiles::writeBytes(path, text));
        return path;
    }
    std::unique_ptr<WallpaperSetter> setter(const QString& desktop, const QString& session = "x11")
    {
        return makeWallpaperSetter({desktop, session, {}, cache, tmp.filePath("state")}, runner);
    }
    // The message apply or remove fails with, or an empty text.
    static std::string failure(const std::function<void()>& call)
    {
        return thrownMessage<PlatformError>(call);
    }
};

QColor colourOf(const QString& path)
{
    return QImage(path).pixelColor(0, 0);
}

// feh hands its pictures to the monitors in the X server's order, the primary first, which
// xrandr lists; xwallpaper takes them by the monitors' names but reads PNG and JPEG only.
TEST(RootWindowWallpaper, GivesEachMonitorItsOwnPicture)
{
    const QString monitors = "Monitors: 2\n 0: +*DUMMY1 1080/286x1920/508+1920+0  DUMMY1\n"
                             " 1: +DUMMY0 1920/508x1080/286+0+0  DUMMY0\n";
    struct {
        QString program;
        QStringList screens;  // one picture each; none: one picture spanning the monitors
        QStringList expected; // the tool's words, a picture as its colour: "red"
        QString message;      // or why it failed
    } const rows[] = {
        // clang-format off
        {"feh", {"DUMMY0", "DUMMY1"}, {"feh", "--bg-scale", "green", "red"}, {}},
        {"xwallpaper", {"DUMMY0", "DUMMY1"},
         {"xwallpaper", "--output", "DUMMY0", "--stretch", "red", "--output", "DUMMY1", "--stretch", "green"}, {}},
        {"feh", {}, {"feh", "--no-xinerama", "--bg-scale", "blue"}, {}},
        {"xwallpaper", {}, {"xwallpaper", "--no-randr", "--stretch", "blue"}, {}},
        {"feh", {"DUMMY0", "HDMI-9"}, {}, "there is no monitor named \"HDMI-9\" (xrandr lists DUMMY1, DUMMY0)"},
        // clang-format on
    };
    const std::map<QString, QColor> colours = {{"DUMMY0", Qt::red}, {"DUMMY1", Qt::green}};
    for (const auto& row : rows) {
        SCOPED_TRACE((row.program + ' ' + row.screens.join(',')).toStdString());
        Home home;
        home.runner.missing = {row.program == "feh" ? "xwallpaper" : "feh"};
        home.runner.answer = [&](const QStringList& call) {
            return said(call[0] == "xrandr" ? monitors : QString());
        };
        WallpaperPictures pictures;
        for (const QString& screen : row.screens) {
            const QColor colour = colours.contains(screen) ? colours.at(screen) : Qt::gray;
            pictures.append({screen, home.picture(screen + ".bmp", colour), {}, false});
        }
        if (pictures.isEmpty())
            pictures.append({{}, home.picture("zm.bmp", Qt::blue), {}, true});
        const std::string message = Home::failure([&] { home.setter("i3")->apply(pictures); });
        if (!row.message.isEmpty()) {
            EXPECT_EQ(message, ("Could not set the wallpaper on the desktop \"i3\": " + row.message)
                                   .toStdString());
            continue;
        }
        ASSERT_EQ(message, "");
        QStringList words = home.runner.last;
        for (QString& word : words) {
            if (!word.startsWith(home.cache))
                continue;
            EXPECT_EQ(testfiles::readBytes(word).startsWith("\x89PNG"), row.program == "xwallpaper")
                << word.toStdString();
            word = colourOf(word) == Qt::red     ? "red"
                   : colourOf(word) == Qt::green ? "green"
                   : colourOf(word) == Qt::blue  ? "blue"
                                                 : "?";
        }
        EXPECT_EQ(words, row.expected);
        for (const WallpaperPicture& picture : pictures)
            EXPECT_TRUE(testfiles::readBytes(picture.path).startsWith("BM")) << "left as it was";
    }

    Home home;
    home.runner.missing = {"feh"};
    const QString damaged = home.tmp.filePath("zm.bmp");
    ASSERT_TRUE(testfiles::writeBytes(damaged, "BM not a bitmap"));
    const std::string message = Home::failure([&] { home.setter("i3")->apply(damaged); });
    EXPECT_TRUE(message.starts_with("Could not set the wallpaper on the desktop \"i3\": could not "
                                    "read the picture " +
                                    damaged.toStdString() + " to hand it over as PNG: "))
        << message;
    EXPECT_TRUE(home.runner.calls.filter("xwallpaper").isEmpty());
}

// feh's ~/.fehbg shows the user's picture again at login: remove writes it back and runs it.
// Where there was none, the one that would show this program's picture goes.
TEST(FehWallpaper, RemovePutsBackTheUsersFehbg)
{
    for (const bool hadOne : {true, false}) {
        SCOPED_TRACE(hadOne);
        Home home;
        const QString fehbg = home.tmp.filePath(".fehbg");
        const QByteArray users = "#!/bin/sh\nfeh --no-fehbg --bg-scale '/home/u/beach.jpg'\n";
        if (hadOne) {
            ASSERT_TRUE(testfiles::writeBytes(fehbg, users));
        }
        home.runner.answer = [&](const QStringList& call) { // feh writes it as it shows
            if (call[0] == "feh")
                testfiles::writeBytes(fehbg, "feh --bg-scale '" + call.last().toUtf8() + "'\n");
            return said({});
        };
        const auto setter = home.setter("i3");
        setter->apply(home.picture("zm.bmp", Qt::red));
        setter->apply(home.picture("zm.bmp", Qt::green)); // shows this program's: kept as it was
        home.runner.calls.clear();
        setter->remove();
        if (hadOne) {
            EXPECT_EQ(testfiles::readBytes(fehbg), users);
            EXPECT_EQ(home.runner.calls, QStringList{"sh " + fehbg});
        } else {
            EXPECT_FALSE(QFile::exists(fehbg));
            EXPECT_EQ(home.runner.calls, QStringList{"xsetroot -solid black"});
        }
    }
}

// sway's own background, from its configuration, is drawn until one is set through its IPC;
// remove runs the configuration's background commands again, in their order.
TEST(SwayWallpaper, SetsEachOutputAndPutsBackTheConfigurationsBackground)
{
    Home home;
    home.configFile("sway/conf.d/50-outputs.conf", "output DP-1 bg \"/srv/my pic.png\" fit\n");
    const QString config = "set $wall /usr/share/backgrounds/wall.png\n"
                           "# output * bg /commented.png fill\n"
                           "output * bg $wall fill\n"
                           "include conf.d/*.conf\n"
                           "output HEADLESS-2 {\n    bg #112233 solid_color\n}\n"
                           "output HDMI-A-1 resolution 1920x1080 bg ~/a.png center #000000\n"
                           "output HDMI-A-2 bg relative.png tile\n";
    QString refusal; // what swaymsg says when it refuses a command
    home.runner.answer = [&](const QStringList& call) {
        if (call.contains("get_config"))
            return said(QJsonDocument(QJsonObject{{"config", config}}).toJson());
        if (call.contains("get_outputs"))
            return said(R"([{"name": "HEADLESS-1"}, {"name": "HEADLESS-2"}])");
        return refusal.isEmpty() ? said({}) : said(refusal, 2);
    };
    const auto setter = home.setter("sway", "wayland");
    setter->apply(WallpaperPictures{{"HEADLESS-2", home.picture("b.bmp", Qt::green), {}, false},
                                    {"HEADLESS-1", home.picture("a.bmp", Qt::red), {}, false}});
    const QStringList shown = home.runner.calls.filter(" bg ");
    ASSERT_EQ(shown.size(), 2);
    for (const QString& call : shown) {
        // A blank in a path is escaped, for sway expands the path as the shell would.
        EXPECT_TRUE(
            call.contains(R"( bg ")" + QString(home.cache).replace(" ", R"(\ )") + "/wallpaper-"))
            << call.toStdString();
        EXPECT_TRUE(call.endsWith(R"(.bmp" stretch)")) << call.toStdString();
    }
    EXPECT_TRUE(shown[0].startsWith(R"(swaymsg output "HEADLESS-2" bg )"));

    home.runner.calls.clear();
    setter->remove();
    const QString folder = home.tmp.filePath("config/sway");
    EXPECT_EQ(home.runner.calls,
              QStringList({"swaymsg output * bg /usr/share/backgrounds/wall.png fill",
                           R"(swaymsg output DP-1 bg "/srv/my pic.png" fit)",
                           "swaymsg output HEADLESS-2 bg #112233 solid_color",
                           "swaymsg output HDMI-A-1 bg ~/a.png center #000000",
                           R"(swaymsg output HDMI-A-2 bg ")" + folder + R"(/relative.png" tile)"}));

    home.runner.calls.clear();
    setter->remove(); // nothing recorded any more
    EXPECT_EQ(home.runner.calls, QStringList{"swaymsg output * bg #000000 solid_color"});

    EXPECT_EQ(
        Home::failure([&] {
            setter->apply(WallpaperPictures{{"HDMI-9", home.picture("a.bmp", Qt::red), {}, false}});
        }),
        "Could not set the wallpaper on sway: sway has no output named \"HDMI-9\" (it has "
        "HEADLESS-1, HEADLESS-2)");
    refusal = "Error: Unable to access background file";
    EXPECT_EQ(Home::failure([&] { setter->apply(home.picture("a.bmp", Qt::red)); }),
              "Could not set the wallpaper on sway: swaymsg failed: Error: Unable to access "
              "background file");
}

// pcmanfm-qt 1.2 saves its picture with the mode it read at its start, and passes on to its
// desktop only a mode other than that one.
TEST(PcmanfmQtWallpaper, RemovePutsBackTheSavedPictureInItsSavedMode)
{
    struct {
        const char* mode; // saved, and read by pcmanfm-qt at its start
        QStringList remove;
    } const rows[] = {
        {"stretch", {"pcmanfm-qt --set-wallpaper {beach} --wallpaper-mode stretch"}},
        // Only a desktop drawn anew takes its start's mode; pcmanfm-qt ends with its desktop.
        {"fit",
         {"pcmanfm-qt --set-wallpaper {beach} --wallpaper-mode fit", "pcmanfm-qt --desktop-off",
          "pcmanfm-qt --desktop --profile lxqt &"}},
        // No picture: a picture of the saved colour, which leaves the desktop in stretch.
        {"none", {"pcmanfm-qt --set-wallpaper {cache}/plain-102030.png --wallpaper-mode stretch"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        Home home;
        const QString beach = home.picture("beach.bmp", Qt::yellow);
        const QString settings =
            home.configFile("pcmanfm-qt/lxqt/settings.conf",
                            QString("[Desktop]\nWallpaper=%1\nWallpaperMode=%2\nBgColor=#102030\n")
                                .arg(beach, row.mode)
                                .toUtf8());
        home.runner.answer = [&](const QStringList& call) {
            if (call[0] == "pgrep")
                return said("1000000077 pcmanfm-qt --desktop --profile=lxqt\n");
            if (call.contains("--desktop-off"))
                home.runner.ended.insert(1000000077);
            if (call.contains("--set-wallpaper")) {
                QSettings saved(settings, QSettings::IniFormat);
                saved.setValue("Desktop/Wallpaper", call[2]);
            }
            return said({});
        };
        const auto setter = home.setter("LXQt");
        EXPECT_EQ(setter->layout(), PictureLayout::Spanned);
        setter->apply(home.picture("zm.bmp", Qt::red));
        home.runner.calls.clear();
        setter->remove();
        EXPECT_EQ(home.runner.calls.filter(QRegularExpression("^(?!pgrep)")),
                  QStringList(row.remove)
                      .replaceInStrings("{beach}", beach)
                      .replaceInStrings("{cache}", home.cache));
        if (QString(row.mode) == "none") {
            EXPECT_EQ(colourOf(home.cache + "/plain-102030.png"), QColor("#102030"));
        }
    }

    // Without its desktop pcmanfm-qt takes nothing, saves nothing and exits with 0.
    Home home;
    home.runner.answer = [](const QStringList& call) { return said({}, call[0] == "pgrep"); };
    EXPECT_EQ(Home::failure([&] { home.setter("LXQt")->apply(home.picture("zm.bmp", Qt::red)); }),
              "Could not set the wallpaper on LXQt: pcmanfm-qt did not take the picture: its "
              "desktop (pcmanfm-qt --desktop) does not run");
}

// pcmanfm keeps each monitor's settings in desktop-items-N.conf, N counting from the left;
// a monitor's window reads its file only when made, so the desktop is turned off and on.
TEST(PcmanfmWallpaper, WritesEachMonitorsFileAndDrawsTheDesktopAnew)
{
    const QByteArray items = "[*]\nwallpaper_mode=color\nwallpaper_common=1\ndesktop_bg=#000000\n"
                             "\n[Trash]\nx=10\ny=20\n";
    for (const bool endsWithItsDesktop : {true, false}) {
        SCOPED_TRACE(endsWithItsDesktop);
        Home home;
        const QString left = home.configFile("pcmanfm/LXDE/desktop-items-0.conf", items);
        const QString right = home.configFile("pcmanfm/LXDE/desktop-items-1.conf", items);
        home.runner.answer = [&](const QStringList& call) {
            if (call[0] == "pgrep")
                return said("1000000077 pcmanfm --desktop --profile LXDE\n",
                            home.runner.ended.contains(1000000077));
            if (call.contains("--desktop-off") && endsWithItsDesktop)
                home.runner.ended.insert(1000000077);
            return said({});
        };
        const QStringList redraw = {"pcmanfm --desktop-off",
                                    endsWithItsDesktop ? "pcmanfm --desktop --profile LXDE &"
                                                       : "pcmanfm --desktop"};
        const auto setter = home.setter("LXDE");
        // The right-hand monitor comes first.
        setter->apply(WallpaperPictures{
            {"DUMMY1", home.picture("r.bmp", Qt::green), {1920, 0, 1080, 1920}, false},
            {"DUMMY0", home.picture("l.bmp", Qt::red), {0, 0, 1920, 1080}, false}});
        EXPECT_EQ(home.runner.calls.filter(QRegularExpression("^(?!pgrep)")), redraw);
        for (const auto& [file, colour] : {std::pair{left, QColor(Qt::red)}, {right, Qt::green}}) {
            const QByteArray text = testfiles::readBytes(file);
            EXPECT_TRUE(
                text.startsWith("[*]\nwallpaper_mode=stretch\nwallpaper_common=1\nwallpaper="))
                << text.toStdString();
            EXPECT_TRUE(text.endsWith("desktop_bg=#000000\n\n[Trash]\nx=10\ny=20\n"))
                << "icons kept";
            const QString snapshot = QString(text).section("wallpaper=", 1).section('\n', 0, 0);
            EXPECT_EQ(colourOf(snapshot), colour);
        }

        home.runner.calls.clear();
        home.runner.ended.clear();
        setter->remove();
        EXPECT_EQ(testfiles::readBytes(left), items);
        EXPECT_EQ(testfiles::readBytes(right), items);
        EXPECT_EQ(home.runner.calls.filter(QRegularExpression("^(?!pgrep)")), redraw);
    }

    // A pcmanfm without its desktop would wait on a message box; its files stay as they are.
    Home home;
    const QString left = home.configFile("pcmanfm/LXDE/desktop-items-0.conf", items);
    home.runner.answer = [](const QStringList& call) { return said({}, call[0] == "pgrep"); };
    EXPECT_EQ(Home::failure([&] {
                  home.setter("LXDE")->apply(WallpaperPictures{
                      {"DUMMY0", home.picture("l.bmp", Qt::red), {0, 0, 1920, 1080}, false},
                      {"DUMMY1", home.picture("r.bmp", Qt::green), {1920, 0, 1080, 1920}, false}});
              }),
              "Could not set the wallpaper on LXDE: pcmanfm does not run, so nothing draws the "
              "desktop (it is started as pcmanfm --desktop)");
    EXPECT_EQ(testfiles::readBytes(left), items);
}

} // namespace
