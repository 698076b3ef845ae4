// The lines an item or band may draw along the sides of its box.
#pragma once

#include "platform/Canvas.h"

struct TRpDeviceMapping;

class TRpFrame {
public:
    platform::TColor Color = platform::clBlack;
    bool DrawTop = false;
    bool DrawBottom = false;
    bool DrawLeft = false;
    bool DrawRight = false;
    platform::PenStyle Style = platform::PenStyle::Solid;
    int Width = 1; // points

    bool AnySide() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
    // The line thickness in tenths of a millimetre.
    long double Thickness() const { return (long double)Width * 254 / 72; }
    // Draws the sides that are on along the inside of the box, given in page tenths.
    void Draw(platform::Canvas &canvas, const TRpDeviceMapping &mapping, long double left,
              long double top, long double right, long double bottom) const;
};
