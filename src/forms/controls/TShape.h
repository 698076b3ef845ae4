// A shape control: a rectangle or rounded rectangle with a one-pixel outline and a fill
// colour. The fill colour is a value other code reads (the position picker keeps its whole
// selection state in it), so it is kept exactly as set, system colours included. Drawn over
// the fill, never instead of it: a small number in the top-left corner, a cross, and a focus
// frame. A shape can stand for one choice among several to assistive technology (a radio
// button, checked or not).
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

    // 0: no number.
    int Number() const { return number_; }
    void SetNumber(int number);
    bool Crossed() const { return crossed_; }
    void SetCrossed(bool crossed);
    bool FocusFrame() const { return focusFrame_; }
    void SetFocusFrame(bool shown);
    // Shown to assistive technology as a radio button with this checked state.
    bool IsChoice() const { return choice_; }
    bool Checked() const { return checked_; }
    void SetChoice(bool checked);

signals:
    // Any mouse button, with any modifier keys.
    void MouseDown(TShape *sender, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    Kind kind_;
    platform::TColor brushColor_ = platform::clWhite;
    int number_ = 0;
    bool crossed_ = false;
    bool focusFrame_ = false;
    bool choice_ = false;
    bool checked_ = false;
};
