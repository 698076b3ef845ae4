// The main window's command buttons as the operator reaches them: accelerators, Enter on
// the focused print button, and a print that makes the printer choice stick.
#include "forms/MainFixture.h"

#include "forms/controls/TShape.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using platform::MessageKind;
using testing_support::MainFixture;

class MainCommand : public MainFixture {
protected:
    void FillFields() {
        const char *texts[] = {"ford", "focus", "wf0axxgcda1234567", "kr/001"};
        for (int n = 1; n <= 4; ++n)
            window->Edit(n)->setText(texts[n - 1]);
    }
    // Closes every window a command opens besides the main window, once it shows, and
    // notes its name.
    void CloseOtherWindowsWhenShown() {
        auto *poll = new QTimer(window.get());
        QObject::connect(poll, &QTimer::timeout, [this] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top != window.get() && top->isVisible()) {
                    closed << top->objectName();
                    top->close();
                }
        });
        poll->start(20);
    }
    QStringList closed;
    QStringList Documents() const { return printers->callsStartingWith({"StartDoc"}); }
};

TEST_F(MainCommand, AcceleratorsPressTheirButtons) {
    struct Case {
        Qt::Key key;
        const char *button;
    };
    const Case cases[] = {{Qt::Key_P, "BitBtn1"}, {Qt::Key_D, "BitBtn2"}, {Qt::Key_Z, "BitBtn4"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        ShowMain();
        CloseOtherWindowsWhenShown();
        std::map<std::string, std::unique_ptr<QSignalSpy>> spies;
        for (const char *name : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4"})
            spies[name] = std::make_unique<QSignalSpy>(Child<QAbstractButton>(name),
                                                       &QAbstractButton::clicked);
        QTest::keyClick(window->Edit(2), c.key, Qt::AltModifier);
        for (const auto &[name, spy] : spies)
            EXPECT_EQ(spy->count(), name == c.button ? 1 : 0) << name;
    }
}

TEST_F(MainCommand, PlainEnterOnTheFocusedPrintButtonPrints) {
    ShowMain();
    FillFields();
    window->Edit(4)->setFocus();
    QTest::keyClick(window->Edit(4), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget()->objectName().toStdString(), "BitBtn2");
    for (Qt::KeyboardModifier modifier : {Qt::ShiftModifier, Qt::ControlModifier})
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, modifier);
    EXPECT_TRUE(messages.shown.empty());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Information);
    EXPECT_EQ(messages.shown[0].caption, "Merovan");
    EXPECT_EQ(messages.shown[0].text, "Nie zaznaczono pola do druku.");
}

TEST_F(MainCommand, PrintGoesToTheChosenPrinterAndKeepsIt) {
    ShowMain();
    FillFields();
    QTest::mouseClick(window->Shape(7), Qt::LeftButton, {}, {5, 5});
    Child<QComboBox>("cbDrukarka")->setCurrentIndex(1);
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    EXPECT_EQ(Documents(), QStringList{"StartDoc P2 Quendrel"});
    EXPECT_TRUE(window->CheckBox1Checked());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainCommand, PreviewPrintsNothingAndLeavesThePrinterChoiceAlone) {
    ShowMain();
    FillFields();
    QTest::mouseClick(window->Shape(1), Qt::LeftButton, {}, {5, 5});
    CloseOtherWindowsWhenShown();
    QTest::mouseClick(Child<QWidget>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(closed, QStringList{"TRpStandardPreview"});
    EXPECT_EQ(Documents(), QStringList{});
    EXPECT_FALSE(window->CheckBox1Checked());
    EXPECT_TRUE(messages.shown.empty());
}

// Closing the main window over an open preview ends both once the save succeeds; a refused
// save keeps both open.
TEST_F(MainCommand, ClosingTheMainWindowOverThePreviewEndsBothOnlyWhenSaved) {
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused save" : "save");
        window.reset();
        if (refused)
            BreakStore();
        else
            RepairStore();
        ShowMain();
        FillFields();
        QTest::mouseClick(window->Shape(1), Qt::LeftButton, {}, {5, 5});
        bool mainClosed = true;
        bool previewLeftOpen = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *preview = nullptr;
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top != window.get() && top->isVisible())
                    preview = top;
            if (!preview)
                return;
            poll.stop();
            mainClosed = window->close();
            previewLeftOpen = preview->isVisible();
            preview->close(); // ends the wait when the preview was kept
        });
        poll.start(20);
        QTest::mouseClick(Child<QWidget>("BitBtn1"), Qt::LeftButton);
        EXPECT_EQ(mainClosed, !refused);
        EXPECT_EQ(previewLeftOpen, refused);
        EXPECT_EQ(window->isVisible(), refused);
        if (!refused) {
            EXPECT_EQ(Stored("Dane", "Edit1", TSettingsTag::String), TSettingsValue::Text("ford"));
        }
        EXPECT_EQ(messages.shown.size(), refused ? 1u : 0u);
        messages.shown.clear();
    }
}

TEST_F(MainCommand, OrderButtonOpensTheOrdererDialogAndItsCancelSendsNothing) {
    ShowMain();
    CloseOtherWindowsWhenShown();
    QTest::mouseClick(Child<QWidget>("BitBtn4"), Qt::LeftButton);
    EXPECT_EQ(closed, QStringList{"fDaneZamawiajacego"});
    EXPECT_EQ(shell.links, QStringList{});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(MainCommand, EmptyFieldStopsThePrintAndTakesTheFocus) {
    ShowMain();
    FillFields();
    window->Edit(3)->setText("   ");
    QTest::mouseClick(window->Shape(2), Qt::LeftButton, {}, {5, 5});
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Nie wprowadzono nadawanego numeru ...");
    EXPECT_EQ(QApplication::focusWidget(), window->Edit(3));
    EXPECT_EQ(Documents(), QStringList{});
    EXPECT_FALSE(window->CheckBox1Checked());
}

} // namespace
