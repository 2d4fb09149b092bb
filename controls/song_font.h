// The Song (serif) face the windows' captions and texts are set in: SimSun where the desktop has
// it, else Noto Serif CJK SC, the same style.
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace deskleaf {

inline QFont songFont(int points, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

} // namespace deskleaf
