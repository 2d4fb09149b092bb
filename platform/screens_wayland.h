// The Wayland source of screens.h, built where the Wayland client library is.
#pragma once

#include "platform/screens.h"

namespace deskleaf::detail {

// The outputs of the compositor at display (WAYLAND_DISPLAY), none marked primary (the
// protocol has no such notion). Throws PlatformError when it cannot be reached.
ScreenList waylandScreens(const QString& display);

} // namespace deskleaf::detail
