#include "FakePrinterDevice.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>

namespace testing_support {
namespace {

class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}

    Primitives *target = nullptr;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }
    void updateState(const QPaintEngineState &state) override {
        if (state.state() & DirtyPen)
            pen_ = state.pen();
        if (state.state() & DirtyBrush)
            brush_ = state.brush();
        if (state.state() & DirtyFont)
            font_ = state.font();
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
    }

    void drawRects(const QRectF *rects, int count) override {
        for (int i = 0; i < count; ++i)
            add(Primitive::Kind::Rect, transform_.mapRect(rects[i]));
    }
    void drawLines(const QLineF *lines, int count) override {
        for (int i = 0; i < count; ++i) {
            const QLineF l = transform_.map(lines[i]);
            add(Primitive::Kind::Line, QRectF(l.p1(), l.p2()));
        }
    }
    void drawEllipse(const QRectF &rect) override {
        add(Primitive::Kind::Ellipse, transform_.mapRect(rect));
    }
    void drawPath(const QPainterPath &path) override {
        add(Primitive::Kind::Path, transform_.map(path).boundingRect());
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode) override {
        add(Primitive::Kind::Polygon,
            transform_.map(QPolygonF(QList<QPointF>(points, points + count))).boundingRect());
    }
    void drawTextItem(const QPointF &origin, const QTextItem &item) override {
        const QPointF at = transform_.map(origin);
        Primitive &p = add(Primitive::Kind::Text, QRectF(at, QSizeF(item.width(), item.ascent())));
        p.text = item.text();
        p.font = item.font();
    }
    void drawPixmap(const QRectF &rect, const QPixmap &, const QRectF &) override {
        add(Primitive::Kind::Pixmap, transform_.mapRect(rect));
    }
    void drawImage(const QRectF &rect, const QImage &, const QRectF &,
                   Qt::ImageConversionFlags) override {
        add(Primitive::Kind::Image, transform_.mapRect(rect));
    }

private:
    Primitive &add(Primitive::Kind kind, const QRectF &bounds) {
        static Primitives discarded;
        Primitives &into = target ? *target : discarded;
        Primitive p;
        p.kind = kind;
        p.bounds = bounds;
        p.font = font_;
        p.penColour = pen_.color();
        p.penWidth = pen_.widthF();
        p.penStyle = pen_.style();
        p.brushColour = brush_.color();
        p.brushStyle = brush_.style();
        into.push_back(p);
        return into.back();
    }

    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
};

} // namespace

RecordingPaintDevice::RecordingPaintDevice(int width, int height, int dpiX, int dpiY)
    : width_(width), height_(height), dpiX_(dpiX), dpiY_(dpiY),
      engine_(std::make_unique<RecordingEngine>()) {}

RecordingPaintDevice::~RecordingPaintDevice() = default;

QPaintEngine *RecordingPaintDevice::paintEngine() const {
    return engine_.get();
}

void RecordingPaintDevice::recordInto(Primitives *target) {
    static_cast<RecordingEngine *>(engine_.get())->target = target;
}

int RecordingPaintDevice::metric(PaintDeviceMetric metric) const {
    switch (metric) {
    case PdmWidth:
        return width_;
    case PdmHeight:
        return height_;
    case PdmWidthMM:
        return qRound(width_ * 25.4 / dpiX_);
    case PdmHeightMM:
        return qRound(height_ * 25.4 / dpiY_);
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return dpiX_;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return dpiY_;
    case PdmNumColors:
        return INT_MAX;
    case PdmDepth:
        return 32;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    default:
        return 0;
    }
}

} // namespace testing_support
