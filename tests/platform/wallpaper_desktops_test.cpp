// GNOME, Cinnamon, MATE, Xfce and KDE Plasma: what their setters run for several monitors
// and to put back the wallpaper shown before, and the GSettings desktops on the real
// gsettings.
#include "platform/wallpaper.h"
#include "support/scoped_env.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>
#include <set>
#include <utility>
#include <vector>

using namespace deskleaf;

namespace {

// Records every call and answers each with the output of the first rule whose text the
// call holds; a program not installed cannot be started.
class ScriptedRunner final : public CommandRunner {
public:
    std::set<QString> installed;
    std::vector<std::pair<QString, QString>> answers; // text in the call, standard output
    QStringList calls;

    CommandResult run(const QString& program, const QStringList& args, int) override
    {
        calls << (QStringList{program} + args).join(u' ');
        QString out;
        for (const auto& [text, answer] : answers)
            if (calls.last().contains(text)) {
                out = answer;
                break;
            }
        return {installed.contains(program), false, 0, out, {}};
    }
    bool has(const QString& program) override { return installed.contains(program); }
};

const QString kXfce = "xfconf-query -c xfce4-desktop ";
const QString kHdmi = "/backdrop/screen0/monitorHDMI-1/workspace";
const QString kPlasma =
    "qdbus org.kde.plasmashell /PlasmaShell org.kde.PlasmaShell.evaluateScript ";

struct DesktopRun {
    const char* what;
    QString desktop;
    std::set<QString> installed;
    std::vector<std::pair<QString, QString>> answers;
    WallpaperPictures pictures; // the first one's path is "1", the second's "2"
    QStringList calls; // each call holds its entry; {1} and {2} stand for the copies, {uri1}
                       // for the first one's URI
    QString message;   // the failure, or empty
};

// clang-format off
const DesktopRun kRuns[] = {
    {"Xfce before xfdesktop ever ran: the monitors RandR names", "XFCE",
     {"xfconf-query", "xrandr"},
     {{"xrandr", "Monitors: 2\n 0: +*DP-2 1920/510x1080/290+0+0  DP-2\n"
                 " 1: +Virtual 1 1080/290x1920/510+1920+0  Virtual 1\n"}},
     {{{}, "1", {}, false}},
     {kXfce + "-l -v", "xrandr --listmonitors",
      kXfce + "-p /backdrop/screen0/monitorDP-2/workspace0/last-image -n -t string -s {1}",
      kXfce + "-p /backdrop/screen0/monitorDP-2/workspace0/image-style -n -t int -s 3",
      kXfce + "-p /backdrop/screen0/monitorVirtual1/workspace0/last-image -n -t string -s {1}",
      kXfce + "-p /backdrop/screen0/monitorVirtual1/workspace0/image-style -n -t int -s 3"}, {}},
    {"Xfce per monitor: every workspace stored, or workspace0 of a new monitor", "XFCE",
     {"xfconf-query"},
     {{"-l -v", kHdmi + "0/last-image   /usr/share/backgrounds/xfce/xfce-shapes.svg\n" +
                kHdmi + "1/image-style  5\n/backdrop/single-workspace-mode  true\n"}},
     {{"eDP-1", "1", {0, 0, 1920, 1080}, false}, {"HDMI-1", "2", {1920, 0, 1080, 1920}, false}},
     {kXfce + "-l -v",
      kXfce + "-p /backdrop/screen0/monitoreDP-1/workspace0/last-image -n -t string -s {1}",
      "monitoreDP-1/workspace0/image-style -n -t int -s 3",
      kXfce + "-p " + kHdmi + "0/last-image -n -t string -s {2}", kHdmi + "0/image-style",
      kXfce + "-p " + kHdmi + "1/last-image -n -t string -s {2}", kHdmi + "1/image-style"},
     {}},
    {"Plasma per screen: where each monitor lies", "KDE", {"qdbus"}, {{"evaluateScript", "2\n"}},
     {{"HDMI-1", "1", {1920, 0, 1080, 1920}, false}},
     {kPlasma + "var pictures = [{\"height\":1920,\"uri\":\"{uri1}\",\"width\":1080,\"x\":1920,\"y\":0}];"},
     {}},
    // Before its desktops exist the shell runs the script and changes nothing.
    {"Plasma without desktops", "KDE", {"dbus-send"},
     {{"evaluateScript", "method return time=1.5 sender=:1.9 -> destination=:1.20 serial=7\n"
                         "   string \"0\"\n"}},
     {{{}, "1", {}, false}}, {"dbus-send --session --print-reply"},
     "Could not set the wallpaper on KDE Plasma: the Plasma shell has no desktop to show it on "
     "(its script changed 0)"},
};
// clang-format on

struct Folder {
    QTemporaryDir tmp;
    QString picture = tmp.filePath("1");
    QString cache = tmp.filePath("cache");
    QString state = tmp.filePath("state");
    Folder()
    {
        testfiles::writeBytes(picture, "1");
        testfiles::writeBytes(tmp.filePath("2"), "2");
    }
    // text with {1}, {2} and {uri1} replaced by the copies of pictures 1 and 2 (told by their
    // bytes) and the first one's URI.
    QString expand(QString text) const
    {
        for (const QString& name : QDir(cache).entryList({"wallpaper-*"}, QDir::Files)) {
            const QString copy = QDir(cache).filePath(name);
            const QString which = QString::fromLatin1(testfiles::readBytes(copy));
            text.replace("{uri" + which + "}",
                         QString::fromLatin1(QUrl::fromLocalFile(copy).toEncoded()))
                .replace("{" + which + "}", copy);
        }
        return text;
    }
};

TEST(DesktopWallpapers, SetEveryMonitorTheDesktopReads)
{
    for (const DesktopRun& row : kRuns) {
        SCOPED_TRACE(row.what);
        Folder folder;
        ScriptedRunner runner;
        runner.installed = row.installed;
        runner.answers = row.answers;
        WallpaperPictures pictures = row.pictures;
        for (WallpaperPicture& picture : pictures)
            picture.path = folder.tmp.filePath(picture.path);
        const auto setter = makeWallpaperSetter({row.desktop, "x11", {}, folder.cache, {}}, runner);
        const std::string message = thrownMessage<PlatformError>([&] { setter->apply(pictures); });
        EXPECT_EQ(message, row.message.toStdString());
        ASSERT_EQ(runner.calls.size(), row.calls.size()) << runner.calls.join('\n').toStdString();
        for (qsizetype i = 0; i < row.calls.size(); ++i) {
            const QString want = folder.expand(row.calls[i]);
            EXPECT_TRUE(runner.calls[i].contains(want))
                << runner.calls[i].toStdString() << "\n  lacks " << want.toStdString();
        }
    }
}

// What each desktop showed, read before the first apply, comes back on remove, exactly as
// the desktop's tool printed it.
TEST(DesktopWallpapers, RemovePutsBackWhatTheDesktopShowed)
{
    struct {
        QString desktop;
        std::set<QString> installed;
        std::vector<std::pair<QString, QString>> answers;
        std::vector<std::pair<QString, QString>> later; // the answers after apply, if others
        QStringList restore; // what remove runs, each call holding its entry
    } const rows[] = {
        // clang-format off
        {"MATE", {"gsettings"},
         {{"list-recursively", "org.mate.background picture-filename '/home/u/My \\'beach\\'.jpg'\n"
                               "org.mate.background picture-options 'zoom'\n"
                               "org.mate.background primary-color '#5891BC'\n"}}, {},
         {"gsettings set org.mate.background picture-filename '/home/u/My \\'beach\\'.jpg'",
          "gsettings set org.mate.background picture-options 'zoom'"}},
        {"GNOME", {"gsettings"},
         {{"list-recursively", "org.gnome.desktop.background picture-options 'zoom'\n"
                               "org.gnome.desktop.background picture-uri 'file:///b.jpg'\n"
                               "org.gnome.desktop.background picture-uri-dark 'file:///d.jpg'\n"}}, {},
         {"picture-uri 'file:///b.jpg'", "picture-uri-dark 'file:///d.jpg'",
          "picture-options 'zoom'"}},
        // A monitor connected since loses the picture this program gave it.
        {"XFCE", {"xfconf-query"},
         {{"-l -v", kHdmi + "0/image-style  5\n" + kHdmi + "0/last-image   /b c.jpg\n"}},
         {{"-l -v", kHdmi + "0/last-image   /x.bmp\n/backdrop/screen0/monitorDP-2/workspace0/"
                    "last-image /x.bmp\n"}},
         {kXfce + "-l -v", kXfce + "-p /backdrop/screen0/monitorDP-2/workspace0/image-style -n -t int -s 0",
          kXfce + "-p " + kHdmi + "0/last-image -n -t string -s /b c.jpg",
          kXfce + "-p " + kHdmi + "0/image-style -n -t int -s 5"}},
        {"KDE", {"qdbus"},
         {{"print(JSON.stringify(found))", R"([{"fillMode":2,"id":1,"image":"file:///b.jpg",)"
                                           R"("plugin":"org.kde.image","screen":0}])"},
          {"evaluateScript", "1"}}, {},
         {kPlasma + R"(var recorded = [{"fillMode":2,"id":1,"image":"file:///b.jpg",)"
                    R"("plugin":"org.kde.image","screen":0}];)"}},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.desktop.toStdString());
        Folder folder;
        ScriptedRunner runner;
        runner.installed = row.installed;
        runner.answers = row.answers;
        const auto setter =
            makeWallpaperSetter({row.desktop, "x11", {}, folder.cache, folder.state}, runner);
        setter->apply(folder.picture);
        if (!row.later.empty())
            runner.answers = row.later;
        runner.calls.clear();
        setter->remove();
        ASSERT_EQ(runner.calls.size(), row.restore.size()) << runner.calls.join('\n').toStdString();
        for (qsizetype i = 0; i < row.restore.size(); ++i)
            EXPECT_TRUE(runner.calls[i].contains(row.restore[i]))
                << runner.calls[i].toStdString() << "\n  lacks " << row.restore[i].toStdString();
    }
}

using testfiles::ScopedEnv;

// The real gsettings on its keyfile backend, in a private folder: the values each schema
// accepts (MATE has no picture-options 'none'), and what it prints read back as it was.
TEST(GSettingsWallpaper, PutsBackThePreviousPictureInTheRealSettings)
{
    if (QStandardPaths::findExecutable("gsettings").isEmpty())
        GTEST_SKIP() << "gsettings is not installed";
    struct {
        QString desktop, schema, key, previous;
        QString cleared; // key=value after a remove with nothing recorded
    } const rows[] = {
        {"GNOME", "org.gnome.desktop.background", "picture-uri", "'file:///b%20c.jpg'",
         "picture-options='none'"},
        {"X-Cinnamon", "org.cinnamon.desktop.background", "picture-uri", "'file:///b.jpg'",
         "picture-options='none'"},
        {"MATE", "org.mate.background", "picture-filename", "\"/home/u/b's.jpg\"",
         "picture-filename=''"},
    };
    ProcessRunner runner;
    const auto gsettings = [&](const QStringList& args) {
        const CommandResult result = runner.run("gsettings", args, 10'000);
        EXPECT_TRUE(result.succeeded()) << result.err.toStdString();
        return result.out.trimmed();
    };
    const QStringList schemas = gsettings({"list-schemas"}).split('\n');
    for (const auto& row : rows) {
        SCOPED_TRACE(row.desktop.toStdString());
        if (!schemas.contains(row.schema)) {
            ADD_FAILURE() << row.schema.toStdString() << " is not installed (scripts/setup)";
            continue;
        }
        Folder folder;
        ScopedEnv backend("GSETTINGS_BACKEND", "keyfile"),
            config("XDG_CONFIG_HOME", folder.tmp.filePath("config"));
        gsettings({"set", row.schema, row.key, row.previous});
        gsettings({"set", row.schema, "picture-options", "'zoom'"});
        const auto setter =
            makeWallpaperSetter({row.desktop, "x11", {}, folder.cache, folder.state}, runner);

        setter->apply(folder.picture);
        EXPECT_TRUE(gsettings({"get", row.schema, row.key}).contains("wallpaper-"));
        EXPECT_EQ(gsettings({"get", row.schema, "picture-options"}), "'stretched'");
        setter->remove();
        EXPECT_EQ(gsettings({"get", row.schema, row.key}), row.previous);
        EXPECT_EQ(gsettings({"get", row.schema, "picture-options"}), "'zoom'");

        setter->apply(folder.picture);
        ASSERT_EQ(QDir(folder.state).entryList(QDir::Files).size(), 1);
        ASSERT_TRUE(QDir(folder.state).removeRecursively());
        setter->remove(); // nothing recorded: a plain colour
        const QString key = row.cleared.section('=', 0, 0);
        EXPECT_EQ(gsettings({"get", row.schema, key}), row.cleared.section('=', 1));
    }
}

} // namespace
