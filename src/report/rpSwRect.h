// The shadow rectangle: a rectangle, with rounded corners when asked, over a drop shadow
// displaced to the right and downwards.
#pragma once

#include "platform/Canvas.h"
#include "report/RpPrintable.h"

class TRpShadowRect final : public TRpPrintable {
public:
    TRpShadowRect();

    const platform::Brush &Brush() const { return brush_; }
    const platform::Pen &Pen() const { return pen_; }
    const platform::Brush &ShadowBrush() const { return shadowBrush_; }
    // The item keeps its own objects and takes the settings of the given ones.
    void SetBrush(const platform::Brush &brush) { brush_ = brush; }
    void SetPen(const platform::Pen &pen) { pen_ = pen; }
    void SetShadowBrush(const platform::Brush &brush) { shadowBrush_ = brush; }

    // Hundredths of an inch on paper: the shadow's displacement and the corner ellipse.
    int ShadowWidth() const { return shadowWidth_; }
    void SetShadowWidth(int width) { shadowWidth_ = width; }
    int Curve() const { return curve_; }
    void SetCurve(int curve) { curve_ = curve; }
    bool Rounded() const { return rounded_; }
    void SetRounded(bool rounded) { rounded_ = rounded; }

    // Stream-only: a stored Visible entry is read into Enabled.
    void ReadVisible(bool visible) { SetEnabled(visible); }

    // The frame is stored but never drawn.
    void RenderItem(int offsetX, int offsetY) override;

private:
    platform::Brush brush_;
    platform::Pen pen_;
    platform::Brush shadowBrush_{platform::clGray, platform::BrushStyle::Solid};
    int shadowWidth_ = 4;
    int curve_ = 10;
    bool rounded_ = true;
};
