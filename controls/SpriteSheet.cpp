#include "controls/SpriteSheet.h"

#include <algorithm>

// The resources live in a static library, so nothing pulls them in unless asked.
static void registerControlResources()
{
    static const bool once = [] {
        Q_INIT_RESOURCE(controls);
        return true;
    }();
    (void)once;
}

namespace deskleaf {

SpriteSheet::SpriteSheet(const QPixmap& picture, int rows, int columns)
    : picture_(picture), rows_(picture.isNull() ? 0 : std::max(rows, 0)),
      columns_(picture.isNull() ? 0 : std::max(columns, 0))
{
}

SpriteSheet SpriteSheet::fromResource(const QString& file, int rows, int columns)
{
    registerControlResources();
    const QString path = QStringLiteral(":/deskleaf/controls/images/") + file;
    SpriteSheet sheet(QPixmap(path), rows, columns);
    QString twice = path;
    twice.insert(twice.lastIndexOf(u'.'), QStringLiteral("@2x"));
    if (QPixmap picture(twice); picture.size() == sheet.picture_.size() * 2)
        sheet.twice_ = picture;
    return sheet;
}

QSize SpriteSheet::cellSize() const
{
    if (cellCount() == 0)
        return {};
    return {picture_.width() / columns_, picture_.height() / rows_};
}

QRect SpriteSheet::cellRect(int index) const
{
    if (index < 0 || index >= cellCount())
        return {};
    const QSize size = cellSize();
    return {QPoint(index % columns_ * size.width(), index / columns_ * size.height()), size};
}

QPixmap SpriteSheet::cell(int index) const
{
    const QRect rect = cellRect(index);
    return rect.isEmpty() ? QPixmap() : picture_.copy(rect);
}

} // namespace deskleaf

namespace deskleaf {

QPixmap SpriteSheet::cell(int index, qreal ratio) const
{
    const QRect rect = cellRect(index);
    if (ratio <= 1 || twice_.isNull() || rect.isEmpty())
        return cell(index);
    QPixmap cell = twice_.copy(QRect(rect.topLeft() * 2, rect.size() * 2));
    cell.setDevicePixelRatio(2);
    return cell;
}

} // namespace deskleaf
