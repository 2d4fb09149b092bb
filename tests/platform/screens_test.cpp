#include "platform/screens.h"
#include "support/fakes.h"
#include "support/test_files.h"
#include "support/throws.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace deskleaf;

namespace {

QByteArray captured(const char* name)
{
    return testfiles::readBytes(QStringLiteral(DESKLEAF_CAPTURED_DIR "/") + name);
}

std::string text(const ScreenList& screens)
{
    std::string out;
    for (const ScreenInfo& s : screens)
        out += QStringLiteral("%1 %2x%3+%4+%5 @%6%7; ")
                   .arg(s.name)
                   .arg(s.pixels.width())
                   .arg(s.pixels.height())
                   .arg(s.pixels.x())
                   .arg(s.pixels.y())
                   .arg(s.scale)
                   .arg(s.primary ? " primary" : "")
                   .toStdString();
    return out;
}

} // namespace

// Answers of sway 1.7 on its headless backend, captured with `swaymsg -t get_outputs --raw`.
TEST(SwayScreens, CapturedAnswersGiveTheModeNotTheLogicalSize)
{
    const struct {
        const char* file;
        const char* screens;
    } rows[] = {
        // 2560x1440 at 1.5 is 1706x960 in sway's layout; 1920x1080 at 1.25 is 1536x864
        {"sway-1.7-two-outputs.json",
         "HEADLESS-1 2560x1440+0+0 @1.5; HEADLESS-2 1920x1080+1706+0 @1.25; "},
        // transform 90: the mode stays 1920x1080, the monitor stands 1080 wide
        {"sway-1.7-turned-output.json",
         "HEADLESS-1 2560x1440+0+0 @1.5; HEADLESS-2 1080x1920+1706+0 @1.25; "},
        // a disabled output has no mode and a rect at the origin: left out
        {"sway-1.7-disabled-output.json", "HEADLESS-1 1920x1080+0+0 @2; "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text(swayScreens(captured(row.file))), row.screens) << row.file;
}

TEST(SwayScreens, AnythingElseIsAnErrorNamingWhy)
{
    const struct {
        QByteArray json;
        const char* error;
    } rows[] = {
        {"", "Could not read sway's outputs: illegal value"},
        {R"({"success": false})", "Could not read sway's outputs: the answer is not a list"},
        {R"([{"name": "DP-1", "active": true, "current_mode": {}}])",
         "Could not read sway's outputs: DP-1 has no current mode"},
    };
    for (const auto& row : rows) {
        EXPECT_THROW_MSG(swayScreens(row.json), PlatformError, ::testing::StrEq(row.error))
            << row.json.toStdString();
    }
}

TEST(X11Scale, LargestHintOfTheDesktop)
{
    const struct {
        const char* resources;
        const char* gdkScale;
        const char* qtScaleFactor;
        double scale;
    } rows[] = {
        {"", "", "", 1},
        {"Xft.dpi:\t144\n", "", "", 1.5},
        {"Xcursor.size:\t48\nXft.dpi:\t192\nXft.antialias:\t1\n", "", "", 2},
        {"Xft.dpi: 110.4\n", "", "", 1.15}, // GNOME writes its text scaling in
        {"Xft.dpi:\t72\n", "", "", 1},      // smaller fonts, not a smaller desktop
        {"Xft.dpi:\tlarge\n", "", "", 1},
        {"", "2", "", 2},
        {"", "1.5", "", 1}, // GTK takes whole numbers only
        {"", "", "1.25", 1.25},
        {"", "", "100", 1},
        {"Xft.dpi:\t144\n", "", "2", 2},
        {"Xft.dpi:\t192\n", "1", "1.5", 2},
    };
    for (const auto& row : rows) {
        ScreenEnvironment env;
        env.gdkScale = row.gdkScale;
        env.qtScaleFactor = row.qtScaleFactor;
        EXPECT_DOUBLE_EQ(x11Scale(row.resources, {}, env), row.scale)
            << row.resources << "|" << row.gdkScale << "|" << row.qtScaleFactor;
    }
}

TEST(PrimaryFirst, OneMonitorIsPrimaryAndLeads)
{
    const auto screen = [](const char* name, int x, int y, bool primary = false) {
        return ScreenInfo{name, QRect(x, y, 100, 100), 1, primary};
    };
    const struct {
        ScreenList screens;
        const char* ordered;
    } rows[] = {
        {{}, ""},
        // the marked one leads, the others follow left to right
        {{screen("C", 200, 0), screen("A", 0, 0), screen("B", 100, 0, true)},
         "B 100x100+100+0 @1 primary; A 100x100+0+0 @1; C 100x100+200+0 @1; "},
        // none marked (sway, an X server without a primary output): the one at the origin
        {{screen("R", 100, 0), screen("O", 0, 0), screen("L", -100, 0)},
         "O 100x100+0+0 @1 primary; L 100x100+-100+0 @1; R 100x100+100+0 @1; "},
        // none marked and none at the origin: the first in layout order
        {{screen("T", 50, 0), screen("U", 50, -100)},
         "U 100x100+50+-100 @1 primary; T 100x100+50+0 @1; "},
        // two marked: one primary only
        {{screen("Y", 100, 0, true), screen("X", 0, 0, true)},
         "X 100x100+0+0 @1 primary; Y 100x100+100+0 @1; "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(text(primaryFirst(row.screens)), row.ordered);
}

TEST(CurrentScreens, SwayIsAskedThroughItsSocket)
{
    fakes::FakeCommandRunner runner;
    const QString call = "swaymsg -s /run/user/1000/sway-ipc.sock -t get_outputs --raw";
    runner.answers[call] = {
        true, false, 0, QString::fromUtf8(captured("sway-1.7-turned-output.json")), {}};
    ScreenEnvironment env;
    env.swaySocket = "/run/user/1000/sway-ipc.sock";
    EXPECT_EQ(text(currentScreens(env, runner)),
              "HEADLESS-1 2560x1440+0+0 @1.5 primary; HEADLESS-2 1080x1920+1706+0 @1.25; ");
    EXPECT_EQ(runner.calls, QStringList{call});

    // Without a Wayland display to fall back on, a socket that does not answer is an error.
    runner.answers[call] = {
        true, false, 1, {}, "Unable to connect to /run/user/1000/sway-ipc.sock"};
    EXPECT_THROW_MSG(currentScreens(env, runner), PlatformError,
                     ::testing::StrEq("Could not read sway's outputs: swaymsg ended with exit "
                                      "status 1: Unable to connect to "
                                      "/run/user/1000/sway-ipc.sock"));
}

// Cinnamon and Xfce keep their window scaling in the XSETTINGS, with Xft.dpi left at 96.
TEST(X11Scale, ReadsTheWindowScalingOfTheXSettings)
{
    // type, a blank, the name's length, the name padded to 4, the last change's serial, value
    const auto setting = [](char type, const QByteArray& name, const QByteArray& value) {
        return QByteArray(1, type) + QByteArray(1, 0) + char(name.size()) + char(0) + name +
               QByteArray((4 - name.size() % 4) % 4, 0) + QByteArray(4, 0) + value;
    };
    const auto card = [](quint32 v) {
        QByteArray bytes(4, 0);
        qToLittleEndian(v, bytes.data());
        return bytes;
    };
    const QByteArray theme =
        setting(1, "Net/ThemeName", card(7) + QByteArray("Adwaita") + QByteArray(1, 0));
    const QByteArray colour = setting(2, "Gtk/Colour", QByteArray(8, 0x11));
    const QByteArray scaling = setting(0, "Gdk/WindowScalingFactor", card(2));
    const QByteArray all =
        QByteArray(1, 0) + QByteArray(3, 0) + card(5) + card(3) + theme + colour + scaling;

    EXPECT_EQ(xsettingsInteger(all, "Gdk/WindowScalingFactor"), 2);
    EXPECT_EQ(xsettingsInteger(all, "Net/ThemeName"), std::nullopt);
    EXPECT_EQ(xsettingsInteger(all.chopped(2), "Gdk/WindowScalingFactor"), std::nullopt);
    EXPECT_DOUBLE_EQ(x11Scale("Xft.dpi:\t96\n", all, {}), 2);
    EXPECT_DOUBLE_EQ(x11Scale("Xft.dpi:\t96\n", all.left(12) + theme, {}), 1);
}
