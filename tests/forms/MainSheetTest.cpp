// The loaded sheet's memory in the main window: what uses a position and what does not, what
// the markers show of it, what a restart keeps, and the picker from the keyboard.
#include "forms/MainFixture.h"

#include "forms/controls/TShape.h"
#include "report/RpProgress.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

using platform::MessageKind;
using platform::PrintJobStatus;

class MainSheet : public testing_support::MainFixture {
protected:
    TfMain &Start() {
        TfMain &main = ShowMain();
        for (int n = 1; n <= 4; ++n)
            main.Edit(n)->setText(QStringLiteral("X%1").arg(n));
        return main;
    }
    // Chooses the marker, for a plate of a vehicle not printed before: these tests are about
    // the sheet, not about plates printed again.
    void Choose(int marker) {
        window->Edit(3)->setText(QStringLiteral("BODY%1").arg(++bodies_));
        QTest::mouseClick(window->Shape(marker), Qt::LeftButton, {}, {9, 9});
    }
    void Trigger(const char *action) { Child<QAction>(action)->trigger(); }
    void SwitchSheet(int layout) {
        QTest::mouseClick(Child<QWidget>("RadioGroup1")->findChildren<QRadioButton *>().at(layout),
                          Qt::LeftButton);
    }
    // The positions the markers show crossed, by position number.
    QList<int> Crossed() const {
        QList<int> crossed;
        for (int marker = 1; marker <= TfMain::MarkerCount; ++marker)
            if (window->Shape(marker)->isVisible() && window->Shape(marker)->Crossed())
                crossed << window->Shape(marker)->Number();
        return crossed;
    }
    int bodies_ = 0;
    QStringList Told() const {
        QStringList told;
        for (const auto &message : messages.shown)
            told << message.text;
        return told;
    }
};

TEST_F(MainSheet, OnlyACompletedPrintOrTheOperatorUsesAPosition) {
    PrintJobStatus paused;
    paused.state = PrintJobStatus::State::Pending;
    paused.printerStopped = true;
    struct Case {
        const char *what;
        std::function<void()> act;
        QList<int> used; // on the 8-position sheet, after the act and after a restart
        QStringList told;
    };
    const QString stored = QStringLiteral("Failed to set data for 'Wykorzystane8'");
    const QString question =
        QStringLiteral("Pozycja 6 tego arkusza jest już wykorzystana. Drukować mimo to?");
    const QString usedUp = QStringLiteral(
        "Arkusz jest wykorzystany. Włóż nowy arkusz i wybierz Arkusz → Nowy arkusz.");
    const auto printed = [this] { return printers->callsStartingWith({"StartDoc"}).size(); };
    const Case cases[] = {
        {"print completed",
         [this] {
             Choose(7);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
         },
         {6},
         {}},
        {"print refused",
         [this] {
             printers->find("P1")->refusal = QStringLiteral("Not accepting jobs");
             Choose(7);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
         },
         {},
         {"Drukarka „P1” nie przyjęła wydruku: Not accepting jobs."}},
        {"print cancelled at a stuck printer",
         [this, paused] {
             printers->jobStates = {paused};
             printers->onLook = [](int) {
                 for (QWidget *top : QApplication::topLevelWidgets())
                     if (auto *p = dynamic_cast<TRpProgressForm *>(top);
                         p && !p->Problem().isEmpty())
                         p->BtnAnuluj->click();
             };
             Choose(7);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
         },
         {},
         {"Wydruk na drukarce „P1” anulowano (zadanie 1): tabliczka nie została wydrukowana."}},
        {"preview",
         [this] {
             Choose(7);
             QTimer::singleShot(50, [] {
                 for (QWidget *top : QApplication::topLevelWidgets())
                     if (top->objectName() == "TRpStandardPreview")
                         top->close();
             });
             QTest::mouseClick(Child<QWidget>("BitBtn1"), Qt::LeftButton);
         },
         {},
         {}},
        {"a used position, printing declined",
         [this, printed] {
             Choose(7);
             Trigger("ActionWykorzystana");
             messages.answers = {false};
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
             EXPECT_EQ(printed(), 0u);
             EXPECT_EQ(messages.shown[0].kind, MessageKind::Question);
         },
         {6},
         {question}},
        {"the last free position printed, then printed again after Tak",
         [this, printed] {
             for (const int marker : {1, 2, 3, 4, 6, 8, 9}) {
                 Choose(marker);
                 Trigger("ActionWykorzystana");
             }
             Choose(7);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
             messages.answers = {true};
             Choose(7);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
             EXPECT_EQ(printed(), 2u);
         },
         {1, 2, 3, 4, 5, 6, 7, 8},
         {usedUp, question, usedUp}},
        {"marked used, then another marked used and freed",
         [this] {
             Choose(2);
             Trigger("ActionWykorzystana");
             Choose(9);
             Trigger("ActionWykorzystana");
             Trigger("ActionWolna");
         },
         {2},
         {}},
        {"a new sheet, after some prints",
         [this] {
             for (const int marker : {1, 6}) {
                 Choose(marker);
                 QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
             }
             Trigger("ActionNowyArkusz");
         },
         {},
         {"Włożono nowy arkusz? Wszystkie pozycje arkusza 8 szt. będą znów wolne."}},
        {"a new sheet declined",
         [this] {
             Choose(1);
             Trigger("ActionWykorzystana");
             messages.answers = {false};
             Trigger("ActionNowyArkusz");
         },
         {1},
         {"Włożono nowy arkusz? Wszystkie pozycje arkusza 8 szt. będą znów wolne."}},
        {"the 10-position sheet has a memory of its own",
         [this] {
             Choose(4);
             Trigger("ActionWykorzystana");
             SwitchSheet(1);
             EXPECT_EQ(Crossed(), QList<int>());
             Choose(10);
             QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
             EXPECT_EQ(Crossed(), QList<int>{10});
             SwitchSheet(0);
         },
         {4},
         {}},
        {"the store refuses",
         [this] {
             Choose(3);
             BreakStore();
             Trigger("ActionWykorzystana");
             EXPECT_EQ(Crossed(), QList<int>());
             RepairStore();
         },
         {},
         {stored}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RepairStore();
        SetPrinterCount(1);
        messages.shown.clear();
        Start();
        c.act();
        EXPECT_EQ(Crossed(), c.used);
        EXPECT_EQ(Told(), c.told);
        window.reset();
        ShowMain();
        EXPECT_EQ(Crossed(), c.used) << "after a restart";
        window.reset();
    }
}

TEST_F(MainSheet, EveryMarkerSaysItsPositionAndState) {
    Start();
    Choose(3);
    Child<QAction>("ActionWykorzystana")->trigger();
    Choose(7);
    Child<QAction>("ActionWykorzystana")->trigger();
    Choose(6);
    const std::map<int, QString> names{
        {1, "Pozycja 1 — wolna"}, {2, "Pozycja 2 — wolna"},   {3, "Pozycja 3 — wykorzystana"},
        {4, "Pozycja 4 — wolna"}, {6, "Pozycja 5 — wybrana"}, {7, "Pozycja 6 — wykorzystana"},
        {8, "Pozycja 7 — wolna"}, {9, "Pozycja 8 — wolna"}};
    for (const auto &[marker, name] : names) {
        EXPECT_EQ(window->Shape(marker)->accessibleName(), name);
        EXPECT_EQ(window->Shape(marker)->toolTip(), name);
    }
    EXPECT_FALSE(Child<QAction>("ActionWolna")->isEnabled());
    Choose(3);
    EXPECT_EQ(window->Shape(3)->accessibleName(), "Pozycja 3 — wybrana, wykorzystana");
    EXPECT_TRUE(Child<QAction>("ActionWolna")->isEnabled());
    EXPECT_FALSE(Child<QAction>("ActionWykorzystana")->isEnabled());
}

// The miniature from the keyboard: one tab stop, arrows move the frame, Space or Enter choose,
// a digit chooses its position at once; keys the sheet has no position for do nothing.
TEST_F(MainSheet, ThePickerIsUsableFromTheKeyboard) {
    struct Case {
        int layout;
        std::vector<int> keys;
        int framed; // the marker with the focus frame afterwards
        int chosen; // the marker chosen afterwards; 0: none
    };
    const Case cases[] = {
        {0, {}, 1, 0},
        {0, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}, 3, 3},
        {0, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, 4, 4},
        {0, {Qt::Key_Right, Qt::Key_Down, Qt::Key_Enter}, 7, 7},
        {0, {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Space}, 1, 1},
        {0, {Qt::Key_5}, 6, 6},
        {0, {Qt::Key_8}, 9, 9},
        {0, {Qt::Key_9}, 1, 0},
        {0, {Qt::Key_0}, 1, 0},
        {1, {Qt::Key_0}, 10, 10},
        {1,
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space},
         5,
         5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "layout " << c.layout << ", " << c.keys.size() << " keys");
        TfMain &main = Start();
        SwitchSheet(c.layout);
        // Tab from the sheet choice reaches the miniature.
        QWidget *sheet = Child<QWidget>("Shape11");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), sheet);
        for (const int key : c.keys)
            QTest::keyClick(sheet, Qt::Key(key));
        for (int marker = 1; marker <= TfMain::MarkerCount; ++marker) {
            EXPECT_EQ(main.Shape(marker)->FocusFrame(), marker == c.framed) << marker;
            EXPECT_EQ(main.ShapeColor(marker) == platform::SelectionColour, marker == c.chosen)
                << marker;
        }
        QTest::keyClick(sheet, Qt::Key_Tab);
        EXPECT_FALSE(main.Shape(c.framed)->FocusFrame()) << "the frame goes with the focus";
        window.reset();
    }
}

} // namespace
