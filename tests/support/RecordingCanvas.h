// A drawing surface that records each primitive with its device coordinates and the pen,
// brush and font it was drawn with. Text is measured with the font realised at the
// canvas's resolution, as a painter on a device of that resolution would.
#pragma once

#include "platform/Canvas.h"

#include <QString>

#include <vector>

namespace testing_support {

struct DrawCall {
    enum class Kind { Rectangle, RoundRect, FillRect, Line, Text };
    Kind kind = Kind::Rectangle;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0; // for text: the anchor point in x1, y1
    int cornerWidth = 0, cornerHeight = 0;
    QString text;
    platform::TextAnchor anchor = platform::TextAnchor::Left;
    bool opaque = false;
    platform::Pen pen;
    platform::Brush brush;
    platform::Font font;
};

class RecordingCanvas final : public platform::Canvas {
public:
    RecordingCanvas(int dpiX, int dpiY) : dpiX_(dpiX), dpiY_(dpiY) {}

    int dpiX() const override { return dpiX_; }
    int dpiY() const override { return dpiY_; }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void FillRect(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const QString &text, platform::TextAnchor anchor,
                 bool opaque) override;
    QSize TextExtent(const QString &text) override;

    std::vector<DrawCall> calls;

private:
    DrawCall &record(DrawCall::Kind kind, int x1, int y1, int x2, int y2);

    int dpiX_;
    int dpiY_;
};

} // namespace testing_support
