// The operator's input in the main window: Enter from field to field, the focus colour,
// choosing a sheet position, and the keys that reach the buttons from anywhere.
#include "forms/MainFixture.h"

#include "forms/controls/TEdit.h"
#include "forms/controls/TRadioGroup.h"
#include "forms/controls/TShape.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

using platform::TColor;
using testing_support::MainFixture;

class MainInput : public MainFixture {
protected:
    void ChooseSheet(int item) {
        QTest::mouseClick(
            Child<TRadioGroup>("RadioGroup1")->findChildren<QRadioButton *>().at(item),
            Qt::LeftButton);
    }
    void Choose(int marker, Qt::MouseButton button = Qt::LeftButton,
                Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(window->Shape(marker), button, modifiers, {10, 10});
    }
    // The markers in the selection colour.
    std::vector<int> Chosen() const {
        std::vector<int> chosen;
        for (int n = 1; n <= 10; ++n) {
            const TColor fill = window->ShapeColor(n);
            EXPECT_TRUE(fill == platform::clWhite || fill == platform::SelectionColour) << n;
            if (fill == platform::SelectionColour)
                chosen.push_back(n);
        }
        return chosen;
    }
    // The fields whose background shows the focus colour.
    std::vector<int> Highlighted() const {
        std::vector<int> highlighted;
        for (int n = 1; n <= 4; ++n) {
            const QColor base = window->Edit(n)->palette().color(QPalette::Base);
            if (base == platform::ToQColor(platform::FocusColour))
                highlighted.push_back(n);
            else
                EXPECT_EQ(base, platform::ToQColor(platform::clWindow)) << n;
        }
        return highlighted;
    }
};

TEST_F(MainInput, EnterWithAnyModifierWalksTheFieldsToThePrintButton) {
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier,
                                               Qt::ControlModifier, Qt::KeypadModifier};
    ShowMain();
    for (Qt::KeyboardModifiers modifier : modifiers) {
        SCOPED_TRACE(int(modifier));
        window->Edit(1)->setFocus();
        const char *walk[] = {"Edit2", "Edit3", "Edit4", "BitBtn2"};
        for (const char *next : walk) {
            const Qt::Key key = modifier == Qt::KeypadModifier ? Qt::Key_Enter : Qt::Key_Return;
            QTest::keyClick(QApplication::focusWidget(), key, modifier);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), next);
        }
    }
}

TEST_F(MainInput, OtherKeysLeaveTheFocusInTheField) {
    ShowMain();
    window->Edit(2)->setFocus();
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Down, Qt::Key_Space, Qt::Key_Backspace})
        QTest::keyClick(window->Edit(2), key);
    EXPECT_EQ(QApplication::focusWidget(), window->Edit(2));
}

TEST_F(MainInput, OnlyTheFocusedFieldShowsTheFocusColourAfterTabAndMouse) {
    ShowMain();
    EXPECT_EQ(Highlighted(), std::vector<int>{});
    QTest::mouseClick(window->Edit(3), Qt::LeftButton);
    EXPECT_EQ(Highlighted(), std::vector<int>{3});
    QTest::keyClick(window->Edit(3), Qt::Key_Tab);
    EXPECT_EQ(Highlighted(), std::vector<int>{4});
    QTest::keyClick(window->Edit(4), Qt::Key_Backtab);
    EXPECT_EQ(Highlighted(), std::vector<int>{3});
    QTest::mouseClick(window->Edit(1), Qt::LeftButton);
    EXPECT_EQ(Highlighted(), std::vector<int>{1});
    QTest::keyClick(window->Edit(1), Qt::Key_Return);
    EXPECT_EQ(Highlighted(), std::vector<int>{2});
    // Leaving the fields for a button gives every field its normal colour back.
    QTest::keyClick(window->Edit(2), Qt::Key_Backtab);
    QTest::keyClick(window->Edit(1), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), "CheckBox1");
    EXPECT_EQ(Highlighted(), std::vector<int>{});
}

TEST_F(MainInput, AnyMouseButtonChoosesAMarkerAndClearsTheOthers) {
    struct Press {
        int marker;
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
    };
    const Press presses[] = {
        {2, Qt::LeftButton, {}},
        {7, Qt::RightButton, {}},
        {7, Qt::LeftButton, {}}, // the chosen marker stays chosen
        {1, Qt::MiddleButton, Qt::ShiftModifier},
        {9, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier},
    };
    ShowMain();
    EXPECT_EQ(Chosen(), std::vector<int>{});
    for (const Press &press : presses) {
        Choose(press.marker, press.button, press.modifiers);
        EXPECT_EQ(Chosen(), std::vector<int>{press.marker});
    }
}

TEST_F(MainInput, HiddenMarkerKeepsItsColourAndComesBackChosen) {
    ShowMain();
    ChooseSheet(1);
    Choose(5);
    ChooseSheet(0);
    EXPECT_FALSE(window->Shape(5)->isVisible());
    EXPECT_EQ(Chosen(), std::vector<int>{5});
    ChooseSheet(1);
    EXPECT_TRUE(window->Shape(5)->isVisible());
    EXPECT_EQ(window->Shape(5)->y(), 260);
    EXPECT_EQ(Chosen(), std::vector<int>{5});
}

TEST_F(MainInput, ChosenMarkerMovesWithTheSheetLayout) {
    ShowMain();
    Choose(3);
    EXPECT_EQ(window->Shape(3)->y(), 172);
    ChooseSheet(1);
    EXPECT_EQ(window->RadioGroup1ItemIndex(), 1);
    EXPECT_EQ(window->Shape(3)->y(), 136);
    EXPECT_EQ(Chosen(), std::vector<int>{3});
}

TEST_F(MainInput, EscapeFromAnyControlCloses) {
    const char *controls[] = {"Edit1", "Edit4", "cbDrukarka", "CheckBox1", "BitBtn1", "BitBtn2"};
    for (const char *name : controls) {
        SCOPED_TRACE(name);
        ShowMain();
        QWidget *control = Child<QWidget>(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    }
}

} // namespace
