// Colours as the controls keep them: the platform's 32-bit colour integer, red in the low byte
// (0x00BBGGRR). A value with the top bit set names a system colour by its index in the low bits;
// those are read from a QPalette.
#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

#include <optional>

namespace deskleaf {

constexpr qint32 kSystemColourFlag = qint32(0x80000000u);

constexpr bool isSystemColour(qint32 value)
{
    return value < 0;
}

constexpr qint32 systemColourValue(int index)
{
    return kSystemColourFlag | index;
}

constexpr qint32 colourValue(int red, int green, int blue)
{
    return red + green * 256 + blue * 65536;
}

inline qint32 colourValue(const QColor& colour)
{
    return colourValue(colour.red(), colour.green(), colour.blue());
}

// A plain colour value as a QColor; the top byte is ignored.
inline QColor plainColour(qint32 value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// System colour index (the numbering of Windows' GetSysColor, 0..30) read from palette;
// nothing for an index outside that table.
std::optional<QColor> systemColour(int index, const QPalette& palette);

// Whether value names a colour: a plain one (0x00BBGGRR) or a system colour of the table.
bool isColour(qint32 value);

// value as a colour, a system colour looked up in palette; nothing when that lookup fails.
std::optional<QColor> translateColour(qint32 value, const QPalette& palette);

} // namespace deskleaf
