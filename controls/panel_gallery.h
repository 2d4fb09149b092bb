// Pictures of the panel controls for review: the title panel in each of its looks and the group
// frame in each of its themes, saved as PNG files.
#pragma once

#include <QString>

namespace deskleaf {

// Writes panel-normal.png, panel-over.png, panel-pressed.png, panel-disabled.png and
// container-theme-00.png to container-theme-11.png into dir, which must exist. Needs a
// QApplication; a file that cannot be written is reported with qWarning.
void renderPanelGallery(const QString& dir);

} // namespace deskleaf
