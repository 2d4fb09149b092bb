#include "controls/system_colour.h"

#include <array>

namespace deskleaf {

namespace {

struct PaletteEntry {
    bool known;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

constexpr PaletteEntry active(QPalette::ColorRole role)
{
    return {true, QPalette::Active, role};
}

constexpr PaletteEntry disabled(QPalette::ColorRole role)
{
    return {true, QPalette::Disabled, role};
}

// The inverse of how Qt's Windows platform theme fills its palette from GetSysColor, with the
// nearest role for the captions, menus and borders that a palette does not carry.
constexpr std::array<PaletteEntry, 31> kSystemColours{{
    active(QPalette::Button),                    // 0 scroll bar
    active(QPalette::Dark),                      // 1 desktop
    active(QPalette::Highlight),                 // 2 active caption
    disabled(QPalette::Highlight),               // 3 inactive caption
    active(QPalette::Window),                    // 4 menu
    active(QPalette::Base),                      // 5 window
    active(QPalette::Shadow),                    // 6 window frame
    active(QPalette::WindowText),                // 7 menu text
    active(QPalette::WindowText),                // 8 window text
    active(QPalette::HighlightedText),           // 9 caption text
    active(QPalette::Button),                    // 10 active border
    active(QPalette::Button),                    // 11 inactive border
    active(QPalette::Mid),                       // 12 application workspace
    active(QPalette::Highlight),                 // 13 highlight
    active(QPalette::HighlightedText),           // 14 highlighted text
    active(QPalette::Button),                    // 15 button face
    active(QPalette::Dark),                      // 16 button shadow
    disabled(QPalette::WindowText),              // 17 grey text
    active(QPalette::ButtonText),                // 18 button text
    disabled(QPalette::HighlightedText),         // 19 inactive caption text
    active(QPalette::Light),                     // 20 button highlight
    active(QPalette::Shadow),                    // 21 3-D dark shadow
    active(QPalette::Midlight),                  // 22 3-D light
    active(QPalette::ToolTipText),               // 23 tooltip text
    active(QPalette::ToolTipBase),               // 24 tooltip background
    {false, QPalette::Active, QPalette::NoRole}, // 25 has no colour
    active(QPalette::Link),                      // 26 hot-tracked item
    active(QPalette::Highlight),                 // 27 active caption gradient
    disabled(QPalette::Highlight),               // 28 inactive caption gradient
    active(QPalette::Highlight),                 // 29 menu highlight
    active(QPalette::Window),                    // 30 menu bar
}};

} // namespace

std::optional<QColor> systemColour(int index, const QPalette& palette)
{
    if (index < 0 || index >= int(kSystemColours.size()) || !kSystemColours[index].known)
        return std::nullopt;
    const PaletteEntry& entry = kSystemColours[index];
    return palette.color(entry.group, entry.role);
}

bool isColour(qint32 value)
{
    if (!isSystemColour(value))
        return value <= 0xFFFFFF;
    const qint32 index = value & 0x7FFFFFFF;
    return index < qint32(kSystemColours.size()) && kSystemColours[std::size_t(index)].known;
}

std::optional<QColor> translateColour(qint32 value, const QPalette& palette)
{
    if (isSystemColour(value))
        return systemColour(value & 0x7FFFFFFF, palette);
    return plainColour(value);
}

} // namespace deskleaf
