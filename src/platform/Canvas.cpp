#include "Canvas.h"

#include "Rounding.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdlib>

namespace platform {
namespace {

Qt::BrushStyle ToQtBrushStyle(BrushStyle style) {
    switch (style) {
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Clear:
        return Qt::NoBrush;
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    case BrushStyle::FDiagonal:
        return Qt::FDiagPattern;
    case BrushStyle::BDiagonal:
        return Qt::BDiagPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

Qt::PenStyle ToQtPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Solid:
    case PenStyle::InsideFrame:
        return Qt::SolidLine;
    case PenStyle::Dash:
        return Qt::DashLine;
    case PenStyle::Dot:
        return Qt::DotLine;
    case PenStyle::DashDot:
        return Qt::DashDotLine;
    case PenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case PenStyle::Clear:
        return Qt::NoPen;
    }
    return Qt::SolidLine;
}

QPainter::CompositionMode ToCompositionMode(PenMode mode) {
    switch (mode) {
    case PenMode::Copy:
        return QPainter::CompositionMode_SourceOver;
    case PenMode::NotCopy:
        return QPainter::RasterOp_NotSource;
    case PenMode::Xor:
        return QPainter::RasterOp_SourceXorDestination;
    case PenMode::Not:
        return QPainter::RasterOp_NotDestination;
    }
    return QPainter::CompositionMode_SourceOver;
}

QBrush ToQBrush(const Brush &brush) {
    return QBrush(ToQColor(brush.colour), ToQtBrushStyle(brush.style));
}

int PenPixels(const Pen &pen) {
    return std::max(1, pen.width);
}

bool SolidPen(const Pen &pen) {
    return pen.style == PenStyle::Solid || pen.style == PenStyle::InsideFrame;
}

// GDI accepts the corners in any order.
void Normalise(int &x1, int &y1, int &x2, int &y2) {
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
}

} // namespace

int FontPixelSize(int points, int dpi) {
    return int(RoundHalfEven((long double)points * dpi / 72));
}

QFont RealiseFont(const Font &font, int dpi) {
    QFont realised(font.face);
    realised.setPixelSize(std::max(1, FontPixelSize(std::abs(font.size), dpi)));
    realised.setBold(font.style.bold);
    realised.setItalic(font.style.italic);
    realised.setUnderline(font.style.underline);
    realised.setStrikeOut(font.style.strikeOut);
    realised.setKerning(false);
    // Plain advances, as the platform this mirrors measures Latin text: no ligatures.
    realised.setStyleStrategy(QFont::PreferNoShaping);
    return realised;
}

PainterCanvas::PainterCanvas(QPaintDevice &device)
    : own_(std::make_unique<QPainter>(&device)), painter_(own_.get()), dpiX_(device.logicalDpiX()),
      dpiY_(device.logicalDpiY()) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

PainterCanvas::PainterCanvas(QPainter &painter, int dpiX, int dpiY)
    : painter_(&painter), dpiX_(dpiX), dpiY_(dpiY) {
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

PainterCanvas::~PainterCanvas() = default;

void PainterCanvas::applyFont() {
    if (appliedFont_ == font())
        return;
    painter_->setFont(RealiseFont(font(), dpiY_));
    appliedFont_ = font();
}

void PainterCanvas::applyPenMode() {
    painter_->setCompositionMode(ToCompositionMode(pen().mode));
}

void PainterCanvas::strokeInsideOutline(int x1, int y1, int x2, int y2) {
    const QColor colour = ToQColor(pen().colour);
    const int w = PenPixels(pen());
    if (SolidPen(pen())) {
        if (2 * w >= x2 - x1 || 2 * w >= y2 - y1) {
            painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), colour);
            return;
        }
        painter_->fillRect(QRect(x1, y1, x2 - x1, w), colour);
        painter_->fillRect(QRect(x1, y2 - w, x2 - x1, w), colour);
        painter_->fillRect(QRect(x1, y1 + w, w, y2 - y1 - 2 * w), colour);
        painter_->fillRect(QRect(x2 - w, y1 + w, w, y2 - y1 - 2 * w), colour);
        return;
    }
    // Patterned pens are one pixel wide, as on the platform this mirrors.
    painter_->setPen(QPen(colour, 0, ToQtPenStyle(pen().style)));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Normalise(x1, y1, x2, y2);
    if (x2 == x1 || y2 == y1)
        return;
    applyPenMode();
    const bool outline = pen().style != PenStyle::Clear;
    if (brush().style != BrushStyle::Clear) {
        const int inset = outline ? 0 : 1;
        painter_->fillRect(QRect(x1, y1, x2 - x1 - inset, y2 - y1 - inset), ToQBrush(brush()));
    }
    if (outline)
        strokeInsideOutline(x1, y1, x2, y2);
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    Normalise(x1, y1, x2, y2);
    if (x2 == x1 || y2 == y1)
        return;
    applyPenMode();
    const QRectF box(x1, y1, x2 - x1, y2 - y1);
    if (brush().style != BrushStyle::Clear) {
        QPainterPath inside;
        inside.addRoundedRect(box, cornerWidth / 2.0, cornerHeight / 2.0);
        painter_->fillPath(inside, ToQBrush(brush()));
    }
    if (pen().style != PenStyle::Clear) {
        const qreal w = PenPixels(pen());
        QPen qpen(ToQColor(pen().colour), w, ToQtPenStyle(pen().style));
        qpen.setJoinStyle(Qt::MiterJoin);
        painter_->setPen(qpen);
        painter_->setBrush(Qt::NoBrush);
        // The stroke is centred on its path: inset by half the width to keep it inside.
        painter_->drawRoundedRect(box.adjusted(w / 2, w / 2, -w / 2, -w / 2),
                                  std::max(0.0, (cornerWidth - w) / 2),
                                  std::max(0.0, (cornerHeight - w) / 2));
    }
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::FillRect(int x1, int y1, int x2, int y2) {
    Normalise(x1, y1, x2, y2);
    if (brush().style == BrushStyle::Clear)
        return;
    painter_->fillRect(QRect(x1, y1, x2 - x1, y2 - y1), ToQBrush(brush()));
}

void PainterCanvas::Line(int x1, int y1, int x2, int y2) {
    if (pen().style == PenStyle::Clear)
        return;
    applyPenMode();
    QPen qpen(ToQColor(pen().colour), PenPixels(pen()), ToQtPenStyle(pen().style));
    qpen.setCapStyle(Qt::FlatCap);
    painter_->setPen(qpen);
    painter_->drawLine(QPoint(x1, y1), QPoint(x2, y2));
    painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void PainterCanvas::TextOut(int x, int y, const QString &text, TextAnchor anchor, bool opaque) {
    applyFont();
    const QFontMetrics metrics = painter_->fontMetrics();
    // The line is anchored by its exact advance on this device: whole-pixel widths would move
    // a right-aligned or centred line by up to a pixel.
    const qreal advance =
        QFontMetricsF(painter_->font(), painter_->device()).horizontalAdvance(text);
    qreal left = x;
    if (anchor == TextAnchor::Right)
        left = x - advance;
    else if (anchor == TextAnchor::Centre)
        left = x - advance / 2;
    const bool scaled = textScaleX_ != 1 || textScaleY_ != 1;
    if (scaled) {
        painter_->save();
        painter_->translate(x, y);
        painter_->scale(textScaleX_, textScaleY_);
        painter_->translate(-x, -y);
    }
    if (opaque)
        painter_->fillRect(QRectF(left, y, advance, metrics.ascent() + metrics.descent()),
                           ToQColor(brush().colour));
    painter_->setPen(ToQColor(font().colour));
    painter_->drawText(QPointF(left, y + metrics.ascent()), text);
    if (scaled)
        painter_->restore();
}

QSize PainterCanvas::TextExtent(const QString &text) {
    applyFont();
    const QFontMetrics metrics = painter_->fontMetrics();
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

} // namespace platform
