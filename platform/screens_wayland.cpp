// The outputs of any Wayland compositor, read over the Wayland protocol itself:
// wl_output for the current mode (device pixels) and its transform, xdg-output for the
// name, the layout position and the logical size, from which the fractional scale follows.
#include "platform/screens_wayland.h"

#include "platform/platform_error.h"

#include <wayland-client.h>
#include <xdg-output-unstable-v1-client-protocol.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace deskleaf::detail {
namespace {

struct Output {
    wl_output* output = nullptr;
    uint32_t version = 0;
    zxdg_output_v1* xdg = nullptr;
    QString name;
    QSize mode; // the current mode, in device pixels, before the transform
    int32_t transform = WL_OUTPUT_TRANSFORM_NORMAL;
    int32_t integerScale = 1;
    QPoint position;
    QPoint logicalPosition;
    QSize logicalSize;

    ~Output()
    {
        if (xdg)
            zxdg_output_v1_destroy(xdg);
        if (output && version >= WL_OUTPUT_RELEASE_SINCE_VERSION)
            wl_output_release(output);
        else if (output)
            wl_output_destroy(output);
    }
};

struct Globals {
    std::vector<std::unique_ptr<Output>> outputs;
    zxdg_output_manager_v1* manager = nullptr;
};

void onGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                const char*, const char*, int32_t transform)
{
    auto* o = static_cast<Output*>(data);
    o->position = QPoint(x, y);
    o->transform = transform;
}

void onMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t)
{
    if (flags & WL_OUTPUT_MODE_CURRENT)
        static_cast<Output*>(data)->mode = QSize(width, height);
}

void onDone(void*, wl_output*)
{
}

void onScale(void* data, wl_output*, int32_t factor)
{
    static_cast<Output*>(data)->integerScale = factor;
}

void onName(void* data, wl_output*, const char* name)
{
    auto* o = static_cast<Output*>(data);
    if (o->name.isEmpty()) // xdg-output's name, when it came first, is the same
        o->name = QString::fromUtf8(name);
}

void onDescription(void*, wl_output*, const char*)
{
}

const wl_output_listener kOutputListener = {onGeometry, onMode, onDone,
                                            onScale,    onName, onDescription};

void onLogicalPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y)
{
    static_cast<Output*>(data)->logicalPosition = QPoint(x, y);
}

void onLogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height)
{
    static_cast<Output*>(data)->logicalSize = QSize(width, height);
}

void onXdgDone(void*, zxdg_output_v1*)
{
}

void onXdgName(void* data, zxdg_output_v1*, const char* name)
{
    static_cast<Output*>(data)->name = QString::fromUtf8(name);
}

void onXdgDescription(void*, zxdg_output_v1*, const char*)
{
}

const zxdg_output_v1_listener kXdgOutputListener = {onLogicalPosition, onLogicalSize, onXdgDone,
                                                    onXdgName, onXdgDescription};

void onGlobal(void* data, wl_registry* registry, uint32_t id, const char* interface,
              uint32_t version)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_output_interface.name) == 0) {
        auto output = std::make_unique<Output>();
        output->version = std::min<uint32_t>(version, 4);
        output->output = static_cast<wl_output*>(
            wl_registry_bind(registry, id, &wl_output_interface, output->version));
        wl_output_add_listener(output->output, &kOutputListener, output.get());
        globals->outputs.push_back(std::move(output));
    } else if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
            registry, id, &zxdg_output_manager_v1_interface, std::min<uint32_t>(version, 3)));
    }
}

void onGlobalRemove(void*, wl_registry*, uint32_t)
{
}

const wl_registry_listener kRegistryListener = {onGlobal, onGlobalRemove};

// The scale the compositor draws the output at: device pixels over logical ones, to the
// nearest 120th (the unit of Wayland's fractional scales), as the logical size is whole.
double scaleOf(const Output& o, QSize pixels)
{
    if (o.logicalSize.isEmpty())
        return o.integerScale > 0 ? o.integerScale : 1;
    const bool wide = o.logicalSize.width() >= o.logicalSize.height();
    const double ratio = wide ? double(pixels.width()) / o.logicalSize.width()
                              : double(pixels.height()) / o.logicalSize.height();
    return std::round(ratio * 120) / 120;
}

} // namespace

ScreenList waylandScreens(const QString& display)
{
    const QByteArray name = display.toLocal8Bit();
    const std::unique_ptr<wl_display, decltype(&wl_display_disconnect)> connection(
        wl_display_connect(name.constData()), &wl_display_disconnect);
    if (!connection)
        throw PlatformError("Could not read the monitors: cannot connect to the Wayland display " +
                            name.toStdString());
    Globals globals;
    const std::unique_ptr<wl_registry, decltype(&wl_registry_destroy)> registry(
        wl_display_get_registry(connection.get()), &wl_registry_destroy);
    wl_registry_add_listener(registry.get(), &kRegistryListener, &globals);
    // The first round trip brings the globals, the second the outputs' own events.
    bool answered = wl_display_roundtrip(connection.get()) >= 0;
    if (answered && globals.manager) {
        for (const auto& o : globals.outputs) {
            o->xdg = zxdg_output_manager_v1_get_xdg_output(globals.manager, o->output);
            zxdg_output_v1_add_listener(o->xdg, &kXdgOutputListener, o.get());
        }
    }
    answered = answered && wl_display_roundtrip(connection.get()) >= 0;
    ScreenList screens;
    for (const auto& o : globals.outputs) {
        if (o->mode.isEmpty())
            continue;
        QSize pixels = o->mode;
        if (o->transform % 2 == 1) // 90, 270 and their flipped forms
            pixels.transpose();
        const QPoint position = o->xdg ? o->logicalPosition : o->position;
        screens.append({o->name, QRect(position, pixels), scaleOf(*o, pixels), false});
    }
    globals.outputs.clear();
    if (globals.manager)
        zxdg_output_manager_v1_destroy(globals.manager);
    if (!answered)
        throw PlatformError("Could not read the monitors: the Wayland display " +
                            name.toStdString() + " stopped answering");
    return screens;
}

} // namespace deskleaf::detail
