// Shared field behaviours: focus colours by kind of control, the Enter navigation by name.
#include "forms/controls/TBitBtn.h"
#include "forms/controls/TEdit.h"
#include "forms/controls/TPanel.h"
#include "forms/uWspolne.h"
#include "platform/Colour.h"
#include "support/Doubles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

using platform::ToQColor;

namespace {

struct KindCase {
    const char *name;
    std::function<QWidget *()> make;
    platform::TColor normal;
};

QColor Background(QWidget *control, platform::TColor normal) {
    return control->palette().color(normal == platform::clBtnFace ? control->backgroundRole()
                                                                  : QPalette::Base);
}

class ColourByKind : public testing::TestWithParam<KindCase> {};

TEST_P(ColourByKind, EnterGivesFocusColourAndExitTheNormalOne) {
    std::unique_ptr<QWidget> control(GetParam().make());
    SetEnterColour(control.get());
    EXPECT_EQ(Background(control.get(), GetParam().normal), ToQColor(platform::FocusColour));
    SetExitColour(control.get());
    EXPECT_EQ(Background(control.get(), GetParam().normal), ToQColor(GetParam().normal));
    EXPECT_NE(ToQColor(GetParam().normal), ToQColor(platform::FocusColour));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ColourByKind,
    testing::Values(KindCase{"TextField", [] { return new TEdit; }, platform::clWindow},
                    KindCase{"PlainLineEdit", [] { return new QLineEdit; }, platform::clWindow},
                    KindCase{"ComboBox", [] { return new QComboBox; }, platform::clWindow},
                    KindCase{"ListBox", [] { return new QListWidget; }, platform::clWindow},
                    KindCase{"DateField", [] { return new QDateEdit; }, platform::clWindow},
                    KindCase{"Memo", [] { return new QPlainTextEdit; }, platform::clWindow},
                    KindCase{"RichMemo", [] { return new QTextEdit; }, platform::clWindow},
                    KindCase{"DateTimePicker", [] { return new QDateTimeEdit; },
                             platform::clWindow},
                    KindCase{"CheckBox", [] { return new QCheckBox; }, platform::clBtnFace},
                    KindCase{"Panel", [] { return new TPanel(nullptr); }, platform::clBtnFace}),
    [](const testing::TestParamInfo<KindCase> &info) { return info.param.name; });

TEST(ColourByKind, OtherControlsAreLeftAsTheyAre) {
    QLabel label;
    QPushButton button;
    QFrame frame; // a frame that is not a panel
    for (QWidget *control : {static_cast<QWidget *>(&label), static_cast<QWidget *>(&button),
                             static_cast<QWidget *>(&frame)}) {
        const QPalette before = control->palette();
        SetEnterColour(control);
        EXPECT_EQ(control->palette(), before) << control->metaObject()->className();
        SetExitColour(control);
        EXPECT_EQ(control->palette(), before) << control->metaObject()->className();
    }
}

TEST(ColourByKind, LeavingAComboBoxCollapsesItsSelectionToTheStart) {
    QComboBox combo;
    combo.setEditable(true);
    combo.setEditText(QStringLiteral("Drukarka"));
    combo.lineEdit()->selectAll();
    SetExitColour(&combo);
    EXPECT_FALSE(combo.lineEdit()->hasSelectedText());
    EXPECT_EQ(combo.lineEdit()->cursorPosition(), 0);
}

// A window wired as the windows are: fields Edit1 .. EditN, the last one leading to BitBtn2.
class NavigationWindow : public QWidget {
public:
    explicit NavigationWindow(int fields) {
        for (int i = 1; i <= fields; ++i) {
            auto *edit = new TEdit(this);
            edit->setObjectName(QStringLiteral("Edit%1").arg(i));
            edit->setGeometry(10, 10 + 25 * i, 100, 21);
            edit->OnEnter = [](QWidget *sender) { SetEnterColour(sender); };
            edit->OnExit = [](QWidget *sender) { SetExitColour(sender); };
            edit->OnKeyDown = [this, fields](QWidget *sender, int key, Qt::KeyboardModifiers) {
                NavigateOnEnter(this, sender, key, fields, BitBtn2);
            };
            edits.push_back(edit);
        }
        BitBtn2 = new TBitBtn(QStringLiteral("&Drukowanie"), this);
        BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
        BitBtn2->setGeometry(10, 30 + 25 * fields, 100, 30);
        resize(200, 80 + 25 * fields);
        show();
        activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    }
    TEdit *Edit(int n) const { return edits.at(n - 1); }
    std::vector<TEdit *> edits;
    TBitBtn *BitBtn2 = nullptr;
};

// Exactly the focused field shows the focus colour.
void ExpectOnlyColoured(const NavigationWindow &window, QWidget *focused) {
    for (TEdit *edit : window.edits)
        EXPECT_EQ(edit->palette().color(QPalette::Base),
                  ToQColor(edit == focused ? platform::FocusColour : platform::clWindow))
            << edit->objectName().toStdString();
}

TEST(EnterNavigation, EnterWithAnyModifiersWalksTheFieldsToTheConfirmingButton) {
    NavigationWindow window(4);
    QSignalSpy clicked(window.BitBtn2, &QPushButton::clicked);
    window.Edit(1)->setFocus();
    const Qt::KeyboardModifiers modifiers[] = {Qt::NoModifier, Qt::ShiftModifier,
                                               Qt::ControlModifier, Qt::KeypadModifier};
    for (int i = 1; i <= 4; ++i) {
        ExpectOnlyColoured(window, window.Edit(i));
        QTest::keyClick(window.Edit(i), i == 4 ? Qt::Key_Enter : Qt::Key_Return, modifiers[i - 1]);
        EXPECT_EQ(QApplication::focusWidget(),
                  i < 4 ? static_cast<QWidget *>(window.Edit(i + 1)) : window.BitBtn2);
    }
    ExpectOnlyColoured(window, nullptr);
    EXPECT_EQ(clicked.count(), 0);
}

TEST(EnterNavigation, TheKeyIsPassedOnToTheField) {
    NavigationWindow window(2);
    QSignalSpy returned(window.Edit(1), &QLineEdit::returnPressed);
    window.Edit(1)->setFocus();
    QTest::keyClick(window.Edit(1), Qt::Key_Return);
    EXPECT_EQ(returned.count(), 1);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(2));
}

TEST(EnterNavigation, OtherKeysDoNotMove) {
    NavigationWindow window(2);
    window.Edit(1)->setFocus();
    for (Qt::Key key : {Qt::Key_A, Qt::Key_Down, Qt::Key_Escape, Qt::Key_F2})
        QTest::keyClick(window.Edit(1), key);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(1));
}

TEST(EnterNavigation, TwoDigitNumbersAreReadWhole) {
    NavigationWindow window(11);
    window.Edit(9)->setFocus();
    QTest::keyClick(window.Edit(9), Qt::Key_Return);
    QTest::keyClick(window.Edit(10), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(11));
}

TEST(EnterNavigation, NamesAreComparedExactly) {
    NavigationWindow window(3);
    window.Edit(2)->setObjectName(QStringLiteral("edit2"));
    window.Edit(1)->setFocus();
    QTest::keyClick(window.Edit(1), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(1)); // no "Edit2": nothing happens
}

TEST(EnterNavigation, ItFollowsNamesNotTheTabOrder) {
    NavigationWindow window(3);
    window.Edit(2)->setObjectName(QStringLiteral("Edit3x"));
    window.Edit(3)->setObjectName(QStringLiteral("Edit2"));
    window.Edit(1)->setFocus();
    QTest::keyClick(window.Edit(1), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(3));
}

struct FailureCase {
    const char *name;
    std::function<void(NavigationWindow &)> spoil;
    QString shown;
};

class NavigationFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(NavigationFailure, ReachesTheErrorDisplayAndKeepsTheFocus) {
    testing_support::RecordingMessages messages;
    NavigationWindow window(3);
    GetParam().spoil(window);
    window.Edit(1)->setFocus();
    QTest::keyClick(window.Edit(1), Qt::Key_Return);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(messages.shown[0].text, GetParam().shown);
    EXPECT_EQ(QApplication::focusWidget(), window.Edit(1));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, NavigationFailure,
    testing::Values(FailureCase{"NameWithoutNumber",
                                [](NavigationWindow &w) { w.Edit(1)->setObjectName("EditA"); },
                                QStringLiteral("'A' is not a valid integer value.")},
                    FailureCase{"NameTooShort",
                                [](NavigationWindow &w) { w.Edit(1)->setObjectName("Ed"); },
                                QStringLiteral("'' is not a valid integer value.")},
                    FailureCase{"HiddenTarget", [](NavigationWindow &w) { w.Edit(2)->hide(); },
                                QStringLiteral("Cannot focus a disabled or invisible window.")},
                    FailureCase{"DisabledTarget",
                                [](NavigationWindow &w) { w.Edit(2)->setEnabled(false); },
                                QStringLiteral("Cannot focus a disabled or invisible window.")},
                    FailureCase{"TargetNotAControl",
                                [](NavigationWindow &w) {
                                    w.Edit(2)->setObjectName("Other");
                                    (new QObject(&w))->setObjectName("Edit2");
                                },
                                QStringLiteral("Cannot focus a disabled or invisible window.")}),
    [](const testing::TestParamInfo<FailureCase> &info) { return info.param.name; });

TEST(FocusColour, TabAndMouseColourExactlyTheFocusedField) {
    NavigationWindow window(3);
    window.Edit(1)->setFocus();
    QTest::keyClick(window.Edit(1), Qt::Key_Tab);
    ExpectOnlyColoured(window, window.Edit(2));
    QTest::keyClick(window.Edit(2), Qt::Key_Tab, Qt::ShiftModifier);
    ExpectOnlyColoured(window, window.Edit(1));
    QTest::mouseClick(window.Edit(3), Qt::LeftButton);
    ExpectOnlyColoured(window, window.Edit(3));
    QTest::mouseClick(window.BitBtn2, Qt::LeftButton);
    ExpectOnlyColoured(window, nullptr);
}

TEST(FocusColour, AnotherWindowTakingTheFocusKeepsTheFieldColoured) {
    NavigationWindow window(3);
    window.Edit(2)->setFocus();
    QWidget box; // stands for a message box
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    ExpectOnlyColoured(window, window.Edit(2));
    // The focus moves on while the window is inactive; it shows once the window is back.
    window.Edit(3)->setFocus();
    box.hide();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ExpectOnlyColoured(window, window.Edit(3));
}

} // namespace
