// The picture button: pressed by a plain Enter or Space when focused, never a default
// button, Esc for a cancel button, picture left of the caption at the set spacing.
#include "forms/controls/TBitBtn.h"
#include "forms/controls/TEdit.h"

#include <QDialog>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Dialog : QDialog {
    Dialog() {
        edit = new TEdit(this);
        edit->setGeometry(10, 10, 100, 21);
        cancel = new TBitBtn(QStringLiteral("Anuluj <Esc>"), this);
        cancel->setGeometry(10, 40, 121, 41);
        cancel->SetCancel(true);
        button = new TBitBtn(QStringLiteral("&Zatwierdź"), this);
        button->setGeometry(140, 40, 121, 41);
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    }
    TEdit *edit;
    TBitBtn *cancel;
    TBitBtn *button;
};

struct KeyCase {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int presses;
};

TEST(TBitBtn, AFocusedButtonIsPressedByPlainEnterOrSpaceOnly) {
    Dialog dialog;
    QSignalSpy clicked(dialog.button, &QPushButton::clicked);
    const KeyCase cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 1},      {Qt::Key_Enter, Qt::KeypadModifier, 1},
        {Qt::Key_Space, Qt::NoModifier, 1},       {Qt::Key_Return, Qt::ShiftModifier, 0},
        {Qt::Key_Return, Qt::ControlModifier, 0}, {Qt::Key_Enter, Qt::AltModifier, 0},
    };
    for (const KeyCase &c : cases) {
        dialog.button->setFocus();
        clicked.clear();
        QTest::keyClick(dialog.button, c.key, c.modifiers);
        EXPECT_EQ(clicked.count(), c.presses) << c.key << " " << int(c.modifiers);
        EXPECT_EQ(dialog.result(), 0);
    }
}

TEST(TBitBtn, IsNeverTheDefaultButton) {
    Dialog dialog;
    QSignalSpy clicked(dialog.button, &QPushButton::clicked);
    dialog.button->setFocus();
    dialog.edit->setFocus(); // Qt would have made the button default on the way
    EXPECT_FALSE(dialog.button->isDefault());
    QTest::keyClick(dialog.edit, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(TBitBtn, EscAnywhereInTheWindowPressesTheCancelButton) {
    Dialog dialog;
    QSignalSpy cancelled(dialog.cancel, &QPushButton::clicked);
    QObject::connect(dialog.cancel, &QPushButton::clicked, &dialog, [&] { dialog.done(2); });
    dialog.edit->setFocus();
    QTest::keyClick(dialog.edit, Qt::Key_Escape);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(dialog.result(), 2);
}

TEST(TBitBtn, TheAcceleratorPressesAtOnceWithoutTakingTheFocus) {
    Dialog dialog;
    QSignalSpy clicked(dialog.button, &QPushButton::clicked);
    dialog.edit->setFocus();
    QTest::keyClick(dialog.edit, Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), dialog.edit);
}

// Columns of the button image that hold a pixel of the given colour, or dark text.
std::pair<int, int> Columns(const QImage &image, const std::function<bool(QRgb)> &take) {
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 8; y < image.height() - 8; ++y)
            if (take(image.pixel(x, y))) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

TEST(TBitBtn, PictureAndCaptionAreCentredTogetherWithTheSpacingBetween) {
    for (int spacing : {8, 12}) {
        QPixmap picture(18, 18);
        picture.fill(Qt::red);
        TBitBtn button(QStringLiteral("Zatwierdź"), nullptr);
        button.resize(121, 41);
        button.SetGlyph(QIcon(picture), QSize(18, 18));
        button.SetSpacing(spacing);
        const QImage image = button.grab().toImage();
        const auto [glyphLeft, glyphRight] =
            Columns(image, [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 60; });
        const auto [textLeft, textRight] = Columns(
            image, [](QRgb p) { return qRed(p) < 100 && qGreen(p) < 100 && qBlue(p) < 100; });
        EXPECT_EQ(glyphRight - glyphLeft + 1, 18);
        const int textWidth = button.fontMetrics().horizontalAdvance(button.text());
        // The caption's ink starts within a pixel or two of its advance box.
        EXPECT_NEAR(textLeft - (glyphRight + 1), spacing, 2) << spacing;
        const int groupLeft = glyphLeft;
        const int groupRight = glyphRight + 1 + spacing + textWidth;
        EXPECT_NEAR(groupLeft, 121 - groupRight, 3) << spacing;
        EXPECT_LT(textRight, groupRight + 1);
    }
}

} // namespace
