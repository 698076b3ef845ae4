#include "RpFrame.h"

#include "RpDevice.h"

#include <algorithm>

void TRpFrame::Draw(platform::Canvas &canvas, const TRpDeviceMapping &mapping, long double left,
                    long double top, long double right, long double bottom) const {
    if (!AnySide() || Style == platform::PenStyle::Clear)
        return;
    const int x1 = mapping.DeviceX(left);
    const int y1 = mapping.DeviceY(top);
    const int x2 = mapping.DeviceX(right);
    const int y2 = mapping.DeviceY(bottom);
    const int across = std::max(1, mapping.LengthY(Thickness())); // top and bottom lines
    const int down = std::max(1, mapping.LengthX(Thickness()));   // left and right lines
    if (Style == platform::PenStyle::Solid || Style == platform::PenStyle::InsideFrame) {
        canvas.setBrush({Color, platform::BrushStyle::Solid});
        if (DrawTop)
            canvas.FillRect(x1, y1, x2, y1 + across);
        if (DrawBottom)
            canvas.FillRect(x1, y2 - across, x2, y2);
        if (DrawLeft)
            canvas.FillRect(x1, y1, x1 + down, y2);
        if (DrawRight)
            canvas.FillRect(x2 - down, y1, x2, y2);
        return;
    }
    // Patterned lines are one pixel wide, as on the platform this mirrors.
    canvas.setPen({Color, 1, Style, platform::PenMode::Copy});
    if (DrawTop)
        canvas.Line(x1, y1, x2, y1);
    if (DrawBottom)
        canvas.Line(x1, y2 - 1, x2, y2 - 1);
    if (DrawLeft)
        canvas.Line(x1, y1, x1, y2);
    if (DrawRight)
        canvas.Line(x2 - 1, y1, x2 - 1, y2);
}
