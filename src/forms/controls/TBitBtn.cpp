#include "forms/controls/TBitBtn.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QStyleOptionButton>
#include <QStylePainter>

TBitBtn::TBitBtn(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {
    // In a dialog Qt would make a focused button the default one, so an Enter that only
    // moves the focus onto it would press it too.
    setAutoDefault(false);
    setDefault(false);
}

void TBitBtn::SetSpacing(int spacing) {
    spacing_ = spacing;
    update();
}

void TBitBtn::SetGlyph(const QIcon &glyph, QSize size) {
    setIcon(glyph);
    setIconSize(size);
}

void TBitBtn::SetCancel(bool cancel) {
    if (cancel == Cancel())
        return;
    if (cancel) {
        cancel_ = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &TBitBtn::click,
                                Qt::WindowShortcut);
    } else {
        delete cancel_;
        cancel_ = nullptr;
    }
}

bool TBitBtn::Cancel() const {
    return cancel_ != nullptr;
}

bool TBitBtn::event(QEvent *event) {
    // The accelerator clicks without moving the focus and without Qt's delayed click.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            click();
        return true;
    }
    return QPushButton::event(event);
}

void TBitBtn::keyPressEvent(QKeyEvent *event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TBitBtn::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // Show the focus however it came (the Enter navigation sets it from code): the operator
    // must see which button a plain Enter presses.
    if (hasFocus())
        option.state |= QStyle::State_KeyboardFocusChange;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    QRect content = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (isDown())
        content.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                          style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const QPixmap glyph = icon().pixmap(iconSize(), devicePixelRatio(),
                                        isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const QSize glyphSize = glyph.isNull() ? QSize() : glyph.deviceIndependentSize().toSize();
    const int textWidth = fontMetrics().size(Qt::TextShowMnemonic, text()).width();
    const int gap = glyph.isNull() || text().isEmpty() ? 0 : spacing_;
    int x = content.x() + (content.width() - (glyphSize.width() + gap + textWidth)) / 2;
    if (!glyph.isNull()) {
        painter.drawPixmap(x, content.y() + (content.height() - glyphSize.height()) / 2, glyph);
        x += glyphSize.width() + gap;
    }
    int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    style()->drawItemText(&painter, QRect(x, content.y(), textWidth, content.height()), flags,
                          palette(), isEnabled(), text(), QPalette::ButtonText);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.state |= QStyle::State_KeyboardFocusChange;
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}
