// A shape control: a rectangle or rounded rectangle with a one-pixel outline and a fill
// colour. The fill colour is a value other code reads (the position picker keeps its whole
// selection state in it), so it is kept exactly as set, system colours included.
#pragma once

#include "platform/Colour.h"

#include <QWidget>

class TShape : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, RoundRect };

    TShape(Kind kind, QWidget *parent);

    platform::TColor BrushColor() const { return brushColor_; }
    void SetBrushColor(platform::TColor colour);

signals:
    // Any mouse button, with any modifier keys.
    void MouseDown(TShape *sender, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Kind kind_;
    platform::TColor brushColor_ = platform::clWhite;
};
