#include "forms/controls/TShape.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// What assistive technology is told of a shape that stands for a choice.
class ChoiceAccessible final : public QAccessibleWidget {
public:
    explicit ChoiceAccessible(TShape *shape) : QAccessibleWidget(shape, QAccessible::RadioButton) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<TShape *>(widget())->Checked();
        return state;
    }
};

QAccessibleInterface *ShapeAccessible(const QString &className, QObject *object) {
    auto *shape = qobject_cast<TShape *>(object);
    if (className != QLatin1String("TShape") || !shape || !shape->IsChoice())
        return nullptr;
    return new ChoiceAccessible(shape);
}

} // namespace

TShape::TShape(Kind kind, QWidget *parent) : QWidget(parent), kind_(kind) {
    static const bool installed = [] {
        QAccessible::installFactory(ShapeAccessible);
        return true;
    }();
    (void)installed;
}

void TShape::SetBrushColor(platform::TColor colour) {
    if (brushColor_ == colour)
        return;
    brushColor_ = colour;
    update();
}

void TShape::SetNumber(int number) {
    number_ = number;
    update();
}

void TShape::SetCrossed(bool crossed) {
    crossed_ = crossed;
    update();
}

void TShape::SetFocusFrame(bool shown) {
    focusFrame_ = shown;
    update();
}

void TShape::SetChoice(bool checked) {
    const bool changed = checked_ != checked;
    choice_ = true;
    checked_ = checked;
    if (changed && QAccessible::isActive()) {
        QAccessible::State state;
        state.checked = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
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
    if (crossed_) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x50, 0x50, 0x50), 2));
        const QRectF inside = box.adjusted(6, 6, -6, -6);
        painter.drawLine(inside.topLeft(), inside.bottomRight());
        painter.drawLine(inside.bottomLeft(), inside.topRight());
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (number_ > 0) {
        QFont small = font();
        small.setPixelSize(9);
        small.setBold(true);
        painter.setFont(small);
        // On the fill colour, so a cross never runs through it.
        const QString text = QString::number(number_);
        const QRect place(4, 3, QFontMetrics(small).horizontalAdvance(text) + 3, 11);
        painter.fillRect(place, platform::ToQColor(brushColor_));
        painter.setPen(Qt::black);
        painter.drawText(place.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    }
    if (focusFrame_) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(3.5, 3.5, width() - 8, height() - 8));
    }
}

void TShape::mousePressEvent(QMouseEvent *event) {
    emit MouseDown(this, event->button());
    event->accept();
}
