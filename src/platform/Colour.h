// Colour values as the system stores them: red in the low byte, green in the second, blue
// in the third; a system colour is 0xFF000000 plus the system colour index and resolves to
// the desktop's colour for that role when drawn.
#pragma once

#include <QColor>
#include <cstdint>

namespace platform {

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;

constexpr TColor SelectionColour = 11448063; // the chosen sheet position
constexpr TColor FocusColour = 11795199;     // the focused entry field

constexpr bool IsSystemColour(TColor c) { return (c & 0xFF000000u) == 0xFF000000u; }

// The colour to draw with; system colours take the application palette's colour.
QColor ToQColor(TColor colour);

// The value of an ordinary (non-system) colour.
constexpr TColor FromRgb(int red, int green, int blue)
{
    return TColor(red) | (TColor(green) << 8) | (TColor(blue) << 16);
}
TColor FromQColor(const QColor &colour);

} // namespace platform
