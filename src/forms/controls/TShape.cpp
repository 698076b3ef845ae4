#include "forms/controls/TShape.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

TShape::TShape(Kind kind, QWidget *parent) : QWidget(parent), kind_(kind) {}

void TShape::SetBrushColor(platform::TColor colour) {
    if (brushColor_ == colour)
        return;
    brushColor_ = colour;
    update();
}

void TShape::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    painter.setBrush(platform::ToQColor(brushColor_));
    // The outline runs along the control's own edge pixels, as a one-pixel pen drawn
    // from corner to corner does.
    const QRectF box(0.5, 0.5, width() - 1, height() - 1);
    if (kind_ == Kind::RoundRect) {
        // Corner ellipses a quarter of the shorter side across, in whole pixels.
        const int across = std::min(width(), height()) / 4;
        const qreal radius = across / 2.0;
        painter.drawRoundedRect(box, radius, radius);
    } else {
        painter.drawRect(box);
    }
}

void TShape::mousePressEvent(QMouseEvent *event) {
    emit MouseDown(this, event->button());
    event->accept();
}
