// A paint device at a chosen resolution that records every primitive drawn on it, in
// device pixels, with the pen, brush and font it was drawn with.
#pragma once

#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

namespace testing_support {

struct Primitive {
    enum class Kind { Rect, Line, Path, Polygon, Ellipse, Text, Pixmap, Image };
    Kind kind = Kind::Rect;
    QRectF bounds; // device pixels; for text the baseline origin is bounds.topLeft()
    QString text;
    QFont font;
    QColor penColour;
    qreal penWidth = 0;
    Qt::PenStyle penStyle = Qt::SolidLine;
    QColor brushColour;
    Qt::BrushStyle brushStyle = Qt::NoBrush;
};

using Primitives = std::vector<Primitive>;

class RecordingPaintDevice final : public QPaintDevice {
public:
    RecordingPaintDevice(int width, int height, int dpiX, int dpiY);
    ~RecordingPaintDevice() override;

    QPaintEngine *paintEngine() const override;
    // Where primitives go from now on (the page being drawn).
    void recordInto(Primitives *target);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int width_, height_, dpiX_, dpiY_;
    std::unique_ptr<QPaintEngine> engine_;
};

} // namespace testing_support
