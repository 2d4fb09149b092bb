#include "platform/icon_labels.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include "platform/windows/win_icon_labels.h"
#endif

namespace deskleaf {

IconLabels clearIconLabelBackground()
{
#ifdef Q_OS_WIN
    windows::clearDesktopLabelBackground();
    return IconLabels::Cleared;
#else
    return IconLabels::NoBackground;
#endif
}

} // namespace deskleaf
