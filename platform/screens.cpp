#include "platform/screens.h"

#include "platform/platform_error.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#ifdef DESKLEAF_HAVE_XCB_RANDR
#include <xcb/randr.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

#ifdef DESKLEAF_HAVE_WAYLAND
#include "platform/screens_wayland.h"
#endif

namespace deskleaf {
namespace {

// A scale hint beyond this is a typing error, not a desktop.
constexpr double kLargestScale = 8;

// Rounds a logical length times the device pixel ratio to device pixels.
int devicePixels(int logical, double ratio)
{
    return int(std::lround(logical * ratio));
}

// Through Qt, for the platforms that have no better source (Windows, and builds without
// xcb or the Wayland client). Exact at whole scales only: Qt 6.4 on Wayland knows the
// compositor's scale rounded up. The position stays as Qt gives it, which is the
// platform's own (native on Windows, the compositor's layout on Wayland).
ScreenList qtScreens()
{
    ScreenList screens;
    if (!qGuiApp || QGuiApplication::platformName() == QLatin1String("offscreen") ||
        QGuiApplication::platformName() == QLatin1String("minimal"))
        return screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const double ratio = screen->devicePixelRatio();
        screens.append({screen->name(),
                        QRect(logical.topLeft(), QSize(devicePixels(logical.width(), ratio),
                                                       devicePixels(logical.height(), ratio))),
                        ratio, screen == primary});
    }
    return screens;
}

// A scale from text holding unit for each 1 of scale (Xft.dpi: 96 dots an inch).
std::optional<double> scaleHint(const QString& text, double unit = 1)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok) / unit;
    if (!ok || !(value > 0) || value > kLargestScale)
        return std::nullopt;
    return value;
}

#ifdef DESKLEAF_HAVE_XCB_RANDR

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> XcbReply<T> own(T* reply)
{
    return XcbReply<T>(reply, &std::free);
}

QString atomName(xcb_connection_t* connection, xcb_atom_t atom)
{
    const auto reply =
        own(xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr));
    if (!reply)
        return {};
    return QString::fromUtf8(xcb_get_atom_name_name(reply.get()),
                             xcb_get_atom_name_name_length(reply.get()));
}

// The XSETTINGS of the screen's settings manager, when one runs.
QByteArray xsettings(xcb_connection_t* connection, int screen)
{
    const auto atom = [connection](const QByteArray& name) -> xcb_atom_t {
        const auto reply = own(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 1, quint16(name.size()), name.constData()),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    };
    const xcb_atom_t selection = atom("_XSETTINGS_S" + QByteArray::number(screen));
    const xcb_atom_t settings = atom("_XSETTINGS_SETTINGS");
    if (selection == XCB_ATOM_NONE || settings == XCB_ATOM_NONE)
        return {};
    const auto owner = own(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE)
        return {};
    const auto reply = own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, owner->owner, settings, settings, 0, 1 << 16),
        nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QByteArray resourceManager(xcb_connection_t* connection, xcb_window_t root)
{
    // The whole database: a property longer than asked for comes back cut.
    constexpr uint32_t kLongs = 1 << 20;
    const auto reply =
        own(xcb_get_property_reply(connection,
                                   xcb_get_property(connection, 0, root, XCB_ATOM_RESOURCE_MANAGER,
                                                    XCB_ATOM_STRING, 0, kLongs),
                                   nullptr));
    if (!reply || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

// RandR 1.5 monitors: what Qt's and GTK's screens are made of, in the server's pixels
// whatever the toolkits' scale (QT_SCALE_FACTOR, Xft.dpi), rotation already applied.
ScreenList randrMonitors(xcb_connection_t* connection, xcb_window_t root)
{
    ScreenList screens;
    const auto reply = own(xcb_randr_get_monitors_reply(
        connection, xcb_randr_get_monitors(connection, root, 1), nullptr));
    if (!reply)
        return screens;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t& m = *it.data;
        if (m.width > 0 && m.height > 0)
            screens.append({atomName(connection, m.name), QRect(m.x, m.y, m.width, m.height), 1,
                            m.primary != 0});
    }
    return screens;
}

// RandR 1.2 to 1.4: every output lit by a CRTC.
ScreenList randrOutputs(xcb_connection_t* connection, xcb_window_t root)
{
    ScreenList screens;
    const auto resources = own(xcb_randr_get_screen_resources_current_reply(
        connection, xcb_randr_get_screen_resources_current(connection, root), nullptr));
    if (!resources)
        return screens;
    const auto primary = own(xcb_randr_get_output_primary_reply(
        connection, xcb_randr_get_output_primary(connection, root), nullptr));
    const xcb_randr_output_t* outputs =
        xcb_randr_get_screen_resources_current_outputs(resources.get());
    const int count = xcb_randr_get_screen_resources_current_outputs_length(resources.get());
    for (int i = 0; i < count; ++i) {
        const auto output = own(xcb_randr_get_output_info_reply(
            connection,
            xcb_randr_get_output_info(connection, outputs[i], resources->config_timestamp),
            nullptr));
        if (!output || output->crtc == XCB_NONE)
            continue;
        const auto crtc = own(xcb_randr_get_crtc_info_reply(
            connection,
            xcb_randr_get_crtc_info(connection, output->crtc, resources->config_timestamp),
            nullptr));
        if (!crtc || crtc->width == 0 || crtc->height == 0)
            continue;
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char*>(xcb_randr_get_output_info_name(output.get())),
            xcb_randr_get_output_info_name_length(output.get()));
        screens.append({name, QRect(crtc->x, crtc->y, crtc->width, crtc->height), 1,
                        primary && primary->output == outputs[i]});
    }
    return screens;
}

ScreenList x11Screens(const ScreenEnvironment& env)
{
    int number = 0;
    const QByteArray display = env.x11Display.toLocal8Bit();
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(display.constData(), &number), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        throw PlatformError("Could not read the monitors: cannot open the X display " +
                            display.toStdString());
    auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < number && roots.rem; ++i)
        xcb_screen_next(&roots);
    if (!roots.rem)
        throw PlatformError("Could not read the monitors: the X display " + display.toStdString() +
                            " has no screen " + std::to_string(number));
    const xcb_screen_t& root = *roots.data;

    ScreenList screens;
    const xcb_query_extension_reply_t* randr =
        xcb_get_extension_data(connection.get(), &xcb_randr_id);
    if (randr && randr->present) {
        const auto version = own(xcb_randr_query_version_reply(
            connection.get(), xcb_randr_query_version(connection.get(), 1, 5), nullptr));
        const int minor = version && version->major_version == 1 ? int(version->minor_version) : 0;
        if (minor >= 5)
            screens = randrMonitors(connection.get(), root.root);
        if (screens.isEmpty() && minor >= 2)
            screens = randrOutputs(connection.get(), root.root);
    }
    if (screens.isEmpty()) // no RandR: the one screen, as the X server has it
        screens.append(
            {QString(), QRect(0, 0, root.width_in_pixels, root.height_in_pixels), 1, true});
    const double scale = x11Scale(resourceManager(connection.get(), root.root),
                                  xsettings(connection.get(), number), env);
    for (ScreenInfo& screen : screens)
        screen.scale = scale;
    return screens;
}

#endif

std::string describe(const CommandResult& result)
{
    if (!result.started)
        return "swaymsg could not be started";
    if (result.timedOut)
        return "swaymsg did not answer";
    const QString err = result.err.trimmed();
    const std::string ending = result.signal != 0
                                   ? result.ending().toStdString()
                                   : "ended with exit status " + std::to_string(result.exitCode);
    return "swaymsg " + ending + (err.isEmpty() ? std::string() : ": " + err.toStdString());
}

} // namespace

ScreenEnvironment ScreenEnvironment::fromProcess()
{
    ScreenEnvironment env;
    env.swaySocket = qEnvironmentVariable("SWAYSOCK");
    env.waylandDisplay = qEnvironmentVariable("WAYLAND_DISPLAY");
    env.x11Display = qEnvironmentVariable("DISPLAY");
    env.gdkScale = qEnvironmentVariable("GDK_SCALE");
    env.qtScaleFactor = qEnvironmentVariable("QT_SCALE_FACTOR");
    return env;
}

ScreenList swayScreens(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isArray())
        throw PlatformError("Could not read sway's outputs: " +
                            (error.error != QJsonParseError::NoError
                                 ? error.errorString().toStdString()
                                 : std::string("the answer is not a list")));
    ScreenList screens;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject output = value.toObject();
        if (!output.value(QLatin1String("active")).toBool())
            continue; // disabled: no mode, nothing to draw on
        const QString name = output.value(QLatin1String("name")).toString();
        const QJsonObject mode = output.value(QLatin1String("current_mode")).toObject();
        QSize size(mode.value(QLatin1String("width")).toInt(),
                   mode.value(QLatin1String("height")).toInt());
        if (size.isEmpty())
            throw PlatformError("Could not read sway's outputs: " + name.toStdString() +
                                " has no current mode");
        // "90", "270", "flipped-90", "flipped-270" turn the mode on its side.
        const QString transform = output.value(QLatin1String("transform")).toString();
        if (transform.endsWith(QLatin1String("90")) || transform.endsWith(QLatin1String("270")))
            size.transpose();
        const QJsonObject rect = output.value(QLatin1String("rect")).toObject();
        const double scale = output.value(QLatin1String("scale")).toDouble();
        screens.append({name,
                        QRect(QPoint(rect.value(QLatin1String("x")).toInt(),
                                     rect.value(QLatin1String("y")).toInt()),
                              size),
                        scale > 0 ? scale : 1.0, output.value(QLatin1String("primary")).toBool()});
    }
    return screens;
}

std::optional<int> xsettingsInteger(const QByteArray& xsettings, const QByteArray& name)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(xsettings.constData());
    const qsizetype size = xsettings.size();
    if (size < 12)
        return std::nullopt;
    const bool bigEndian = bytes[0] == 1;
    const auto card = [&](qsizetype at, int width) {
        quint32 value = 0;
        for (int i = 0; i < width; ++i)
            value |= quint32(bytes[at + (bigEndian ? width - 1 - i : i)]) << (8 * i);
        return value;
    };
    const auto padded = [](qsizetype n) { return (n + 3) / 4 * 4; };
    const quint32 count = card(8, 4);
    qsizetype at = 12;
    for (quint32 i = 0; i < count; ++i) {
        if (at + 4 > size)
            return std::nullopt;
        const int type = bytes[at];
        const qsizetype nameLength = card(at + 2, 2);
        const qsizetype valueAt = at + 4 + padded(nameLength) + 4; // after the serial
        if (valueAt > size)
            return std::nullopt;
        const QByteArray settingName = xsettings.mid(at + 4, nameLength);
        qsizetype next = 0;
        switch (type) {
        case 0: // integer
            if (valueAt + 4 > size)
                return std::nullopt;
            if (settingName == name)
                return qint32(card(valueAt, 4));
            next = valueAt + 4;
            break;
        case 1: // string
            if (valueAt + 4 > size)
                return std::nullopt;
            next = valueAt + 4 + padded(card(valueAt, 4));
            break;
        case 2: // colour
            next = valueAt + 8;
            break;
        default:
            return std::nullopt;
        }
        at = next;
    }
    return std::nullopt;
}

double x11Scale(const QByteArray& resourceManager, const QByteArray& xsettings,
                const ScreenEnvironment& env)
{
    double scale = 1;
    const auto raise = [&scale](std::optional<double> hint) {
        if (hint)
            scale = std::max(scale, *hint);
    };
    // "Xft.dpi:\t144", one resource a line.
    for (const QByteArray& line : resourceManager.split('\n')) {
        if (line.startsWith("Xft.dpi:")) {
            raise(scaleHint(QString::fromLatin1(line.mid(8)), 96));
            break;
        }
    }
    if (const auto window = xsettingsInteger(xsettings, "Gdk/WindowScalingFactor");
        window && *window >= 1 && *window <= kLargestScale)
        scale = std::max(scale, double(*window));
    // GDK_SCALE is a whole number to GTK.
    bool whole = false;
    const int gdk = env.gdkScale.trimmed().toInt(&whole);
    if (whole && gdk >= 1 && gdk <= kLargestScale)
        scale = std::max(scale, double(gdk));
    raise(scaleHint(env.qtScaleFactor));
    return scale;
}

ScreenList primaryFirst(ScreenList screens)
{
    const auto layoutOrder = [](const ScreenInfo& a, const ScreenInfo& b) {
        return std::pair(a.pixels.x(), a.pixels.y()) < std::pair(b.pixels.x(), b.pixels.y());
    };
    std::stable_sort(screens.begin(), screens.end(), layoutOrder);
    auto primary =
        std::find_if(screens.begin(), screens.end(), [](const ScreenInfo& s) { return s.primary; });
    if (primary == screens.end())
        primary = std::find_if(screens.begin(), screens.end(),
                               [](const ScreenInfo& s) { return s.pixels.topLeft() == QPoint(); });
    if (primary == screens.end())
        primary = screens.begin();
    for (auto it = screens.begin(); it != screens.end(); ++it)
        it->primary = it == primary;
    if (primary != screens.end())
        std::rotate(screens.begin(), primary, primary + 1);
    return screens;
}

ScreenList currentScreens(const ScreenEnvironment& env, CommandRunner& runner)
{
    if (!env.swaySocket.isEmpty()) {
        const CommandResult result =
            runner.run(QStringLiteral("swaymsg"),
                       {QStringLiteral("-s"), env.swaySocket, QStringLiteral("-t"),
                        QStringLiteral("get_outputs"), QStringLiteral("--raw")},
                       5'000);
        if (result.succeeded())
            return primaryFirst(swayScreens(result.out.toUtf8()));
        // A socket left over from an earlier session: the Wayland display still tells.
        if (env.waylandDisplay.isEmpty())
            throw PlatformError("Could not read sway's outputs: " + describe(result));
    }
#ifdef DESKLEAF_HAVE_WAYLAND
    if (!env.waylandDisplay.isEmpty())
        return primaryFirst(detail::waylandScreens(env.waylandDisplay));
#endif
#ifdef DESKLEAF_HAVE_XCB_RANDR
    if (env.waylandDisplay.isEmpty() && !env.x11Display.isEmpty())
        return primaryFirst(x11Screens(env));
#endif
    return primaryFirst(qtScreens());
}

ScreenList currentScreens()
{
    ProcessRunner runner;
    return currentScreens(ScreenEnvironment::fromProcess(), runner);
}

} // namespace deskleaf
