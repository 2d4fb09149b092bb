// Pictures of the skinned buttons in each of their looks, for the documentation.
#pragma once

#include <QString>

namespace deskleaf {

// Saves into dir (made if missing) button-normal.png, -hover, -pressed, -disabled and
// -highlighted: a 100 x 30 command button captioned "打开图片"; and caption-GLYPH-CELL.png
// for the glyphs close, maximise and minimise in the cells normal, hover, pressed, disabled.
void renderButtonGallery(const QString& dir);

} // namespace deskleaf
