// A picture cut into equal cells, as the buttons keep their faces: rows x columns cells,
// numbered from 0 left to right, then top to bottom.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

namespace deskleaf {

class SpriteSheet {
public:
    SpriteSheet() = default;
    SpriteSheet(const QPixmap& picture, int rows, int columns);

    // One of the controls' own sheets, by file name under :/deskleaf/controls/images/, with
    // its twice-as-large drawing NAME@2x.png where there is one.
    static SpriteSheet fromResource(const QString& file, int rows, int columns);

    int cellCount() const { return rows_ * columns_; }
    QSize cellSize() const;
    // Where cell index lies in the picture; empty when there is no such cell.
    QRect cellRect(int index) const;
    // Cell index as a picture of its own; a null pixmap when there is no such cell.
    QPixmap cell(int index) const;
    // The same cell for a screen of this pixel ratio: above 1 from the twice-as-large drawing
    // (device pixel ratio 2, the same size in logical pixels) when the sheet has one.
    QPixmap cell(int index, qreal ratio) const;
    const QPixmap& picture() const { return picture_; }

private:
    QPixmap picture_;
    QPixmap twice_; // null, or exactly twice picture_'s size
    int rows_ = 0;
    int columns_ = 0;
};

} // namespace deskleaf
