// A button with a picture left of its caption, the two centred together with a set spacing
// between them. It is never a default button: Enter presses it only when it has the focus
// and no modifier key is held (Space as well); its accelerator presses it at once. A cancel
// button is pressed by Esc anywhere in its window.
#pragma once

#include <QPushButton>

class TBitBtn : public QPushButton {
    Q_OBJECT
public:
    TBitBtn(const QString &caption, QWidget *parent);

    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    // The picture in its normal state; the disabled state is derived from it.
    void SetGlyph(const QIcon &glyph, QSize size);
    void SetCancel(bool cancel);
    bool Cancel() const;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int spacing_ = 4;
    class QShortcut *cancel_ = nullptr;
};
