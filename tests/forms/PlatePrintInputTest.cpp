// The plate job's checks through the main window, on recording printers: the first empty
// field stops preview and print with its message and takes the focus, a position the
// sheet does not show is no choice, and a print keeps the printer choice even when there is
// no printer to print on.
#include "forms/MainFixture.h"

#include "forms/controls/TShape.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

namespace {

using platform::MessageKind;
using testing_support::MainFixture;
using testing_support::Primitive;

class PlatePrintInput : public MainFixture {
protected:
    void SetFields(const QStringList &texts) {
        for (int n = 1; n <= TfMain::FieldCount; ++n)
            window->Edit(n)->setText(texts[n - 1]);
    }
    void ChooseSheet(int item) {
        QTest::mouseClick(Child<QWidget>("RadioGroup1")->findChildren<QRadioButton *>().at(item),
                          Qt::LeftButton);
    }
    void Choose(int marker) {
        QTest::mouseClick(window->Shape(marker), Qt::LeftButton, {}, {8, 8});
    }
    QStringList Documents() const { return printers->callsStartingWith({"StartDoc"}); }
};

TEST_F(PlatePrintInput, FirstEmptyFieldStopsWithItsMessageAndTakesTheFocus) {
    struct Case {
        QStringList fields;
        const char *button; // preview or print
        const char *message;
        int focus;
    };
    const QString filled[] = {"FORD", "FOCUS", "WF0AXXGCDA1234567", "KR/001"};
    const Case cases[] = {
        {{"", "", "", ""}, "BitBtn2", "Brak marki pojazdu.", 1},
        {{"   ", filled[1], filled[2], filled[3]}, "BitBtn1", "Brak marki pojazdu.", 1},
        {{filled[0], "\t \x1f", filled[2], filled[3]}, "BitBtn2", "Brak modelu pojazdu.", 2},
        {{filled[0], "", filled[2], ""}, "BitBtn1", "Brak modelu pojazdu.", 2},
        {{filled[0], filled[1], " \x01 ", filled[3]},
         "BitBtn2",
         "Nie wprowadzono nadawanego numeru ...",
         3},
        {{filled[0], filled[1], filled[2], "         "},
         "BitBtn1",
         "Nie podano wyróżnika stacji ...",
         4},
    };
    bool ticked = false;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        ShowMain();
        SetFields(c.fields);
        Choose(3);
        ticked = !ticked;
        window->SetCheckBox1Checked(ticked);
        messages.shown.clear();
        QTest::mouseClick(Child<QWidget>(c.button), Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Information);
        EXPECT_EQ(messages.shown[0].caption, "Merovan");
        EXPECT_EQ(messages.shown[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(QApplication::focusWidget(), window->Edit(c.focus));
        EXPECT_EQ(Documents(), QStringList{});
        EXPECT_EQ(window->CheckBox1Checked(), ticked);
        for (QWidget *top : QApplication::topLevelWidgets())
            EXPECT_FALSE(top != window.get() && top->isVisible())
                << top->objectName().toStdString() << " opened";
    }
}

TEST_F(PlatePrintInput, PositionTheSheetDoesNotShowIsNoChoice) {
    struct Case {
        const char *name;
        int marker; // chosen on the 10-position sheet before switching; 0: none
    };
    const Case cases[] = {{"nothing chosen", 0}, {"marker 5", 5}, {"marker 10", 10}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ShowMain();
        SetFields({"FORD", "FOCUS", "WF0AXXGCDA1234567", "KR/001"});
        if (c.marker) {
            ChooseSheet(1);
            Choose(c.marker);
            ChooseSheet(0);
            ASSERT_EQ(window->ShapeColor(c.marker), platform::SelectionColour);
        }
        messages.shown.clear();
        QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Information);
        EXPECT_EQ(messages.shown[0].caption, "Merovan");
        EXPECT_EQ(messages.shown[0].text, "Nie zaznaczono pola do druku.");
        // The focus stays on the button that was pressed.
        EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("BitBtn2"));
        EXPECT_EQ(Documents(), QStringList{});
        EXPECT_FALSE(window->CheckBox1Checked());
    }
}

TEST_F(PlatePrintInput, PrintWithNoPrinterInstalledPrintsNothingAndKeepsThePrinterChoice) {
    SetPrinterCount(0);
    ShowMain();
    EXPECT_EQ(Child<QComboBox>("cbDrukarka")->count(), 0);
    EXPECT_EQ(window->cbDrukarkaItemIndex(), -1);
    SetFields({"FORD", "FOCUS", "WF0AXXGCDA1234567", "KR/001"});
    Choose(6);
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Documents(), QStringList{});
    EXPECT_TRUE(printers->pages.empty());
    EXPECT_TRUE(window->CheckBox1Checked());
}

TEST_F(PlatePrintInput, TextsReachThePlateExactlyAsTyped) {
    ShowMain();
    const QStringList typed{" FORD", "KA  ", "WF0AXXGCDA1234567", "KR/001 "};
    for (int n = 1; n <= TfMain::FieldCount; ++n) {
        window->Edit(n)->setFocus();
        TypeText(window->Edit(n), typed[n - 1]);
    }
    Choose(2);
    QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(printers->pages.size(), 1u);
    QStringList drawn;
    for (const Primitive &p : printers->pages[0].primitives)
        if (p.kind == Primitive::Kind::Text)
            drawn << p.text;
    for (const QString &text : typed)
        EXPECT_TRUE(drawn.contains(text))
            << '"' << text.toStdString() << "\" in " << drawn.join('|').toStdString();
}

} // namespace
