// Printer calibration offscreen: what readings of each sheet give or why they are refused,
// and the dialog as an operator uses it: saving, checking, removing, closing, the store
// refusing; the main window offering it and telling whether its printer is calibrated.
#include "forms/MainFixture.h"
#include "forms/OrderStoreDouble.h"

#include "forms/kalibracja/Calibration.h"
#include "forms/kalibracja/uKalibracja.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {

using platform::MessageKind;
using testing_support::MainFixture;
using Sheet = TCalibrationSheet;

// What a printer that puts p at a + b·p shows of a sheet printed with the correction given,
// read to two decimals with a comma.
CalibrationReadings Read(Sheet sheet, std::array<double, 4> printer,
                         const TCalibrationValues &with = {}) {
    const auto &marks = MarksOf(sheet);
    const double a[] = {with.ShiftXMicrometres / 1000.0, with.ShiftYMicrometres / 1000.0};
    const double b[] = {1 + with.StretchXPpm / 1e6, 1 + with.StretchYPpm / 1e6};
    CalibrationReadings readings;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t axis = i / 2;
        const double sent = (marks[i] - a[axis]) / b[axis];
        readings[i] = QString::number(printer[axis * 2] + printer[axis * 2 + 1] * sent, 'f', 2)
                          .replace(u'.', u',');
    }
    return readings;
}

TEST(CalibrationReadingsTest, ASpellingIsAReadingOrNot) {
    const struct {
        const char *typed;
        std::optional<double> value;
    } cases[] = {
        {"21,3", 21.3},    {"21.3", 21.3}, {" 21,3 mm ", 21.3}, {"21,3mm", 21.3},
        {"21,3 MM", 21.3}, {"−20", -20},   {"-20", -20},        {"+0,5", 0.5},
        {",5", 0.5},       {"7.", 7},      {"1e3", {}},         {"2O", {}},
        {"21,3 cm", {}},   {"", {}},       {"20,1,2", {}},      {"- -2", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParseReading(QString::fromUtf8(c.typed)), c.value) << c.typed;
}

TEST(CalibrationReadingsTest, ReadingsGiveTheCorrectionOrSayWhyNot) {
    const QString turned = QStringLiteral("Czy arkusz nie był odwrócony albo mierzony od innej "
                                          "krawędzi?");
    const struct {
        const char *what;
        Sheet sheet;
        CalibrationReadings readings;
        std::optional<TCalibrationValues> values;
        QString message; // a part of it
        int field;
    } cases[] = {
        {"as designed",
         Sheet::Calibration,
         {"20", "180", "20", "267"},
         TCalibrationValues{},
         {},
         -1},
        // a + b·20 = 22.1, a + b·180 = 182.9: b = 1.005, a = 2.0
        {"shifted and stretched",
         Sheet::Calibration,
         {"22,1", "182,9", "18,2", "264,212"},
         TCalibrationValues{2000, 5000, -1720, -4000},
         {},
         -1},
        {"an empty field", Sheet::Calibration, {"20", "180", " ", "267"}, {}, "Wpisz odczyt C.", 2},
        {"no number, echoed short",
         Sheet::Calibration,
         {"20", QString(10000, u'x'), "20", "267"},
         {},
         "Pole „B”: „xxxxxxxxxxxx…” nie jest liczbą milimetrów.",
         1},
        {"the shift at the limit",
         Sheet::Calibration,
         {"25", "185", "20", "267"},
         TCalibrationValues{5000, 0, 0, 0},
         {},
         -1},
        {"the shift a micrometre over",
         Sheet::Calibration,
         {"25,001", "185,001", "20", "267"},
         {},
         "Przesunięcie w poziomie z pól „A” i „B” wynosi +5,01 mm — więcej niż 5 mm.",
         0},
        {"the stretch at the limit down",
         Sheet::Calibration,
         {"20", "180", "20", "271,94"},
         TCalibrationValues{0, 0, -400, 20000},
         {},
         -1},
        {"the stretch just over it",
         Sheet::Calibration,
         {"20", "180", "20", "271,96"},
         {},
         "Rozciągnięcie w pionie z pól „C” i „D” wynosi +2,01 % — więcej niż 2 %.",
         2},
        {"turned half round, across",
         Sheet::Calibration,
         {"31,5", "191,5", "20", "267"},
         {},
         turned,
         0},
        {"turned half round, down",
         Sheet::Calibration,
         {"20", "180", "28,5", "275,5"},
         {},
         turned,
         2},
        {"measured from the right edge",
         Sheet::Calibration,
         {"190", "30", "20", "267"},
         {},
         turned,
         0},
        {"a check sheet's readings",
         Sheet::Calibration,
         {"30,1", "170,1", "30", "257"},
         {},
         "Odczyty z pól „A” i „B” pasują do arkusza kontrolnego, nie do arkusza "
         "kalibracyjnego: wpisz je w części „Sprawdzenie”.",
         0},
        {"a calibration sheet's readings on the check",
         Sheet::Check,
         {"20", "180", "20", "267"},
         {},
         "wpisz je w części „Kalibracja”.",
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const TReadingsVerdict verdict = JudgeReadings(c.sheet, c.readings);
        EXPECT_EQ(verdict.values, c.values);
        if (c.message.isEmpty())
            EXPECT_EQ(verdict.message, QString());
        else
            EXPECT_TRUE(verdict.message.contains(c.message)) << verdict.message.toStdString();
        EXPECT_EQ(verdict.field, c.field);
    }
}

// A check sheet printed with the stored correction: what is left, the verdict, and the
// correction refined so that the printer as it really is is corrected.
TEST(CalibrationReadingsTest, ACheckSheetJudgesAndRefinesTheStoredCorrection) {
    const TCalibrationValues stored{2000, 5000, -1500, -4000};
    const struct {
        const char *what;
        std::array<double, 4> printer; // a and b across, a and b down
        bool correct;
    } cases[] = {
        {"the stored correction is right", {2, 1.005, -1.5, 0.996}, true},
        {"a tenth off across", {2.1, 1.005, -1.5, 0.996}, true},
        {"the printer drifted", {2.6, 1.0055, -1.1, 0.9965}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const TReadingsVerdict verdict =
            JudgeReadings(Sheet::Check, Read(Sheet::Check, c.printer, stored), stored);
        EXPECT_EQ(verdict.message, QString());
        EXPECT_EQ(verdict.correct, c.correct);
        ASSERT_TRUE(verdict.values.has_value());
        // Refined, the correction is the printer's own registration, to the readings' hundredth.
        EXPECT_NEAR(verdict.values->ShiftXMicrometres, c.printer[0] * 1000, 15);
        EXPECT_NEAR(verdict.values->StretchXPpm, (c.printer[1] - 1) * 1e6, 100);
        EXPECT_NEAR(verdict.values->ShiftYMicrometres, c.printer[2] * 1000, 15);
        EXPECT_NEAR(verdict.values->StretchYPpm, (c.printer[3] - 1) * 1e6, 100);
    }
}

// The other way round and nothing to correct; the dialog's test reads a shift to the right.
TEST(CalibrationReadingsTest, TheWordsSayWhatThePrinterDoesAndThatMerovanCorrectsIt) {
    EXPECT_EQ(DescribeAxis(false, -500, -250),
              "Pionowo: drukarka przesuwa wydruk o 0,50 mm w górę i ściska go o 0,25 ‰ — "
              "Merovan to koryguje.");
    EXPECT_EQ(DescribeAxis(true, 0, 0),
              "Poziomo: drukarka drukuje dokładnie — nie ma czego korygować.");
}

class Kalibracja : public MainFixture {
protected:
    template <class W> W *In(TfKalibracja &dialog, const char *name) {
        auto *widget = dialog.findChild<W *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Type(TfKalibracja &dialog, const CalibrationReadings &readings,
              const char *prefix = "Edit") {
        for (int i = 0; i < 4; ++i)
            In<QLineEdit>(dialog,
                          (prefix + std::string(CalibrationMarkNames[std::size_t(i)])).c_str())
                ->setText(readings[std::size_t(i)]);
    }
    void Press(TfKalibracja &dialog, const char *button) {
        QTest::mouseClick(In<QPushButton>(dialog, button), Qt::LeftButton);
    }
    const CalibrationReadings typed{"22,1", "182,9", "18,2", "264,212"};
    const TCalibrationValues saved{2000, 5000, -1720, -4000};
};

TEST_F(Kalibracja, ReadingsSaveForTheChosenPrinterAndTheFaultyFieldTakesTheFocus) {
    TfKalibracja dialog(QStringLiteral("P2"));
    dialog.show();
    EXPECT_EQ(dialog.Printer(), "P2");
    Type(dialog, {"22,1", "182,9", "x", "264,212"});
    Press(dialog, "BitBtnZapisz");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Pole „C”: „x” nie jest liczbą milimetrów.");
    EXPECT_EQ(dialog.focusWidget(), In<QLineEdit>(dialog, "EditC"));
    EXPECT_FALSE(StoredCalibration("P2").Stored());
    Type(dialog, typed);
    EXPECT_TRUE(
        In<QLabel>(dialog, "LabelKalibracja")
            ->text()
            .startsWith(
                "Poziomo: drukarka przesuwa wydruk o 2,00 mm w prawo i rozciąga go o 5,00 ‰"));
    Press(dialog, "BitBtnZapisz");
    EXPECT_EQ(StoredCalibration("P2").values, saved);
    EXPECT_EQ(StoredCalibration("P2").date, QDate::currentDate());
    EXPECT_FALSE(StoredCalibration("P1").Stored());
    EXPECT_TRUE(In<QLabel>(dialog, "LabelZapisana")
                    ->text()
                    .contains(QDate::currentDate().toString("dd.MM.yyyy")));
    // Saved, the dialog closes without asking.
    messages.shown.clear();
    dialog.reject();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(Kalibracja, RemovingAndClosingOverUnsavedReadingsAskFirst) {
    SaveCalibration("P1", saved);
    struct Case {
        const char *button;
        bool answer;
        bool stored;  // afterwards
        bool visible; // afterwards
    };
    const Case cases[] = {{"BitBtnUsun", false, true, true},
                          {"BitBtnUsun", true, false, true},
                          {"BitBtnZamknij", false, true, true},
                          {"BitBtnZamknij", true, true, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.button << " " << c.answer);
        SaveCalibration("P1", saved);
        messages.shown.clear();
        messages.answers = {c.answer};
        TfKalibracja dialog;
        dialog.show();
        Type(dialog, typed);
        Press(dialog, c.button);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Question);
        EXPECT_EQ(StoredCalibration("P1").Stored(), c.stored);
        EXPECT_EQ(dialog.isVisible(), c.visible);
    }
}

// Whichever write the store refuses, its error shows, the readings stay, and the printer keeps
// the correction it had, whole: never none, never a mix of the old and the new.
TEST_F(Kalibracja, StoreThatRefusesTheWriteShowsItsErrorAndKeepsTheEarlierCorrection) {
    const TCalibrationValues earlier{1000, 1000, 1000, 1000};
    for (int refused = 1; refused <= 8; ++refused) {
        SCOPED_TRACE(refused);
        testing_support::MemoryRegistry store;
        SaveCalibration("P1", earlier);
        store.refuseFromWrite = store.writes + refused;
        messages.shown.clear();
        TfKalibracja dialog;
        Type(dialog, typed);
        Press(dialog, "BitBtnZapisz");
        if (messages.shown.empty()) {
            EXPECT_EQ(StoredCalibration("P1").values, saved);
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
        EXPECT_EQ(messages.shown[0].text, "Failed to set data for 'ShiftX'");
        EXPECT_EQ(StoredCalibration("P1").values, earlier);
        EXPECT_TRUE(In<QLabel>(dialog, "LabelZapisana")->text().contains("o 1,00 mm w prawo"));
        EXPECT_EQ(In<QLineEdit>(dialog, "EditB")->text(), "182,9");
    }
}

TEST_F(Kalibracja, EveryButtonHasAnAcceleratorAndOnlyWhatCanBeDoneIsOffered) {
    TfKalibracja dialog;
    QStringList letters;
    for (const QPushButton *button : dialog.findChildren<QPushButton *>()) {
        const qsizetype amp = button->text().indexOf(u'&');
        ASSERT_GE(amp, 0) << button->objectName().toStdString();
        letters << button->text().mid(amp + 1, 1).toLower();
    }
    EXPECT_EQ(QSet<QString>(letters.begin(), letters.end()).size(), letters.size()) << "clash";
    // Without a stored correction there is nothing to check, refine or remove.
    for (const char *button : {"BitBtnSprawdz", "BitBtnPopraw", "BitBtnUsun"})
        EXPECT_FALSE(In<QPushButton>(dialog, button)->isEnabled()) << button;
    SetPrinterCount(0);
    TfKalibracja none;
    for (const char *button :
         {"BitBtnArkusz", "BitBtnZapisz", "BitBtnSprawdz", "BitBtnPopraw", "BitBtnUsun"})
        EXPECT_FALSE(In<QPushButton>(none, button)->isEnabled()) << button;
    EXPECT_TRUE(In<QPushButton>(none, "BitBtnZamknij")->isEnabled());
}

TEST_F(Kalibracja, MainWindowOffersItForItsPrinterAndTellsWhetherItIsCalibrated) {
    SaveCalibration("P3", saved);
    ShowMain();
    auto *list = Child<QComboBox>("cbDrukarka");
    const auto tooltip = [list] {
        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), list->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(list, &hover);
        return list->toolTip();
    };
    EXPECT_TRUE(tooltip().contains("bez kalibracji")) << tooltip().toStdString();
    list->setCurrentIndex(2);
    EXPECT_TRUE(tooltip().contains(QDate::currentDate().toString("dd.MM.yyyy")));
    // From the menu bar and from the list's context menu, on the chosen printer.
    const auto opened = [&](const std::function<void()> &open) {
        QString printer;
        // Two watchers: the dialog a menu entry opens waits in a loop of its own, inside the
        // first one's turn, where only the second can see it.
        QTimer menus, dialogs;
        QObject::connect(&menus, &QTimer::timeout, [&] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                EXPECT_EQ(menu->actions().value(0)->text(), "Kalibracja drukarki…");
                menu->actions()[0]->trigger();
                menu->close();
            }
        });
        QObject::connect(&dialogs, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<TfKalibracja *>(top);
                    dialog && dialog->isVisible()) {
                    printer = dialog->Printer();
                    dialog->reject();
                }
        });
        menus.start(10);
        dialogs.start(10);
        open();
        return printer;
    };
    EXPECT_EQ(opened([&] { Child<QAction>("ActionKalibracja")->trigger(); }), "P3");
    EXPECT_EQ(opened([&] {
                  // The right mouse button on the list, as the operator presses it.
                  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                          list->mapToGlobal(QPoint(5, 5)));
                  QApplication::sendEvent(list, &click);
              }),
              "P3");
}

} // namespace
