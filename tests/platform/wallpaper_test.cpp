#include "test_files.h"
#include "wallpaper.h"
#include "wallpaper_desktop.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonObject>
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
    {{"LXQt"}, "x11", {"pcmanfm-qt"}, {},
     {"pcmanfm-qt --set-wallpaper {snapshot} --wallpaper-mode stretch"},
     {"pcmanfm-qt --wallpaper-mode color"}},
    {{"LXDE"}, "x11", {"pcmanfm"}, {},
     {"pcmanfm --set-wallpaper {snapshot} --wallpaper-mode stretch"},
     {"pcmanfm --wallpaper-mode color"}},
    // remove replaces the swaybg that apply started.
    {{"sway", "FooWM"}, "wayland", {"swaybg", "pkill"}, {}, {"swaybg -i {snapshot} -m stretch &"},
     {"swaybg -m solid_color -c 000000 &", "pkill -F {cache}/swaybg.pid -x swaybg"}},
    {{""}, "x11", {"feh", "xsetroot"}, {}, {"feh --bg-scale {snapshot}"}, {"xsetroot -solid black"}},
    {{"i3"}, "x11", {"xwallpaper", "xsetroot"}, {}, {"xwallpaper --stretch {snapshot}"},
     {"xsetroot -solid black"}},
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
        std::string message = "(no PlatformError)";
        try {
            row.remove ? setter->remove() : setter->apply(scene.picture);
        } catch (const PlatformError& e) {
            message = e.what();
        }
        EXPECT_EQ(message, QString(row.message).replace("{cache}", scene.cache).toStdString());
        EXPECT_TRUE(scene.snapshots().isEmpty());
    }
}

// Every swaybg this program starts must be seen running and be the one the next change
// stops; anything else piles up unseen behind the wallpaper.
TEST(SwaybgWallpaper, CountsOnlyARunningSwaybgAndAStoppedOldOne)
{
    const QString stopped = "Could not set the wallpaper on sway: the new swaybg runs, but the "
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
        const auto setter = scene.setter("sway", "wayland");
        std::string message;
        try {
            setter->apply(scene.picture);
        } catch (const PlatformError& e) {
            message = e.what();
        }
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
    const auto setter = scene.setter("sway", "wayland");
    const auto failure = [&](const std::function<void()>& call) {
        try {
            call();
        } catch (const PlatformError& e) {
            return std::string(e.what());
        }
        return std::string("(done)");
    };

    // The old one keeps showing its picture: it is not stopped.
    scene.runner.detachedEnds = true;
    EXPECT_EQ(failure([&] { setter->apply(scene.picture); }),
              "Could not set the wallpaper on sway: swaybg ended as soon as it started: it "
              "cannot read the picture or reach the Wayland compositor");
    EXPECT_EQ(failure([&] { setter->remove(); }),
              "Could not remove the wallpaper on sway: swaybg ended as soon as it started: it "
              "cannot reach the Wayland compositor");
    EXPECT_EQ(scene.runner.calls.filter("pkill"), QStringList());
    EXPECT_EQ(testfiles::readBytes(pidFile), "17\n");
    EXPECT_TRUE(scene.snapshots().isEmpty());

    // Without pkill the old one could not be stopped: nothing is started.
    scene.runner.detachedEnds = false;
    scene.runner.installed = {"swaybg"};
    scene.runner.calls.clear();
    EXPECT_EQ(failure([&] { setter->remove(); }),
              "Could not remove the wallpaper on sway: pkill is not installed, so the swaybg "
              "started before could not be stopped");
    EXPECT_TRUE(scene.runner.calls.isEmpty());

    // A folder where the id file goes: this swaybg could never be stopped.
    ASSERT_TRUE(QFile::remove(pidFile));
    ASSERT_TRUE(QDir().mkpath(pidFile));
    scene.runner.installed = {"swaybg", "pkill"};
    const std::string message = failure([&] { setter->apply(scene.picture); });
    EXPECT_TRUE(QString::fromStdString(message).startsWith(
        "Could not set the wallpaper on sway: swaybg runs, but its process id could not be "
        "written to " +
        pidFile + " ("))
        << message;
    EXPECT_TRUE(message.ends_with("so it may keep running behind the next wallpaper")) << message;
}

// Sets a variable for one scope and puts back what was there.
struct ScopedEnv {
    const char* name;
    std::optional<QByteArray> old =
        qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    ScopedEnv(const char* variable, const QString& value) : name(variable)
    {
        qputenv(name, value.toUtf8());
    }
    ~ScopedEnv() { old ? qputenv(name, *old) : qunsetenv(name); }
};

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
    try {
        gnome->apply(WallpaperPictures{{"HDMI-1", scene.picture, {}, false},
                                       {"DP-2", scene.picture, {}, false}});
        ADD_FAILURE() << "accepted";
    } catch (const PlatformError& e) {
        EXPECT_TRUE(QString(e.what()).contains("one picture for all screens")) << e.what();
    }
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
