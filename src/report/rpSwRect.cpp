#include "rpSwRect.h"

#include "RpDevice.h"

namespace {

// Hundredths of an inch in tenths of a millimetre.
long double Tenths(int hundredths) {
    return hundredths * 2.54L;
}

} // namespace

TRpShadowRect::TRpShadowRect() : TRpPrintable(100, 50) {}

void TRpShadowRect::RenderItem(int offsetX, int offsetY) {
    if (!DrawsOnCanvas() || !Enabled())
        return;
    TRpDevice *device = RunDevice();
    if (!device)
        return;
    platform::Canvas &canvas = device->Canvas();
    const TRpDeviceMapping &mapping = device->Mapping();

    const int shadowX = shadowWidth_ == 0 ? 0 : mapping.LengthX(Tenths(shadowWidth_));
    const int shadowY = shadowWidth_ == 0 ? 0 : mapping.LengthY(Tenths(shadowWidth_));
    const int cornerWidth = mapping.LengthX(Tenths(curve_));
    const int cornerHeight = mapping.LengthY(Tenths(curve_));

    const PageBox box = BoxAt(offsetX, offsetY);
    const int x1 = mapping.DeviceX(box.left);
    const int y1 = mapping.DeviceY(box.top);
    const int x2 = mapping.DeviceX(box.right);
    const int y2 = mapping.DeviceY(box.bottom);

    const auto figure = [&](int left, int top, int right, int bottom) {
        if (rounded_)
            canvas.RoundRect(left, top, right, bottom, cornerWidth, cornerHeight);
        else
            canvas.Rectangle(left, top, right, bottom);
    };

    // The shadow's outline takes the shadow's colour and the face pen's width and style.
    platform::Pen shadowPen = pen_;
    shadowPen.colour = shadowBrush_.colour;
    canvas.setBrush(shadowBrush_);
    canvas.setPen(shadowPen);
    figure(x1 + shadowX, y1 + shadowY, x2, y2);

    canvas.setBrush(brush_);
    canvas.setPen(pen_);
    figure(x1, y1, x2 - shadowX, y2 - shadowY);
}
