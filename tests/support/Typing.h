// Typing any text as key presses; QTest's own keyClicks knows only ASCII.
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace testing_support {

// One key press per character (a character outside the basic plane is one press).
inline void Type(QWidget *widget, const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length),
                            Qt::NoModifier);
        i += length - 1;
    }
}

} // namespace testing_support
