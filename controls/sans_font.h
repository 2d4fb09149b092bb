// The plain sans face the date picker's grid is set in: MS Sans Serif where the desktop has it,
// else Liberation Sans for the digits and Noto Sans CJK SC for the Chinese texts.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace deskleaf {

inline QFont sansFont(qreal points, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(points); // 8.25 and 9.75: the sizes the face was drawn for
    font.setBold(bold);
    return font;
}

} // namespace deskleaf
