// The calibration dialog offscreen: readings give the correction shown, implausible ones are
// refused naming the field, and the correction is saved, removed or kept when the store
// refuses; the main window's printer list opens it for its printer.
#include "forms/MainFixture.h"
#include "forms/OrderStoreDouble.h"

#include "forms/kalibracja/Calibration.h"
#include "forms/kalibracja/uKalibracja.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using platform::MessageKind;
using testing_support::MainFixture;

class Kalibracja : public MainFixture {
protected:
    template <class W> W *In(TfKalibracja &dialog, const char *name) {
        auto *widget = dialog.findChild<W *>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void Type(TfKalibracja &dialog, const CalibrationReadings &readings) {
        const char *names[] = {"EditA", "EditB", "EditC", "EditD"};
        for (int i = 0; i < 4; ++i)
            In<QLineEdit>(dialog, names[i])->setText(readings[std::size_t(i)]);
    }
    void Press(TfKalibracja &dialog, const char *button) {
        QTest::mouseClick(In<QPushButton>(dialog, button), Qt::LeftButton);
    }
};

TEST_F(Kalibracja, ReadingsGiveTheCorrectionShownPerAxis) {
    const struct {
        CalibrationReadings readings;
        const char *across, *down;
    } cases[] = {
        {{"20", "190", "20", "277"},
         "Poziomo: przesunięcie +0,00 mm, rozciągnięcie +0,00 ‰",
         "Pionowo: przesunięcie +0,00 mm, rozciągnięcie +0,00 ‰"},
        // a + b·20 = 22.1, a + b·190 = 192.95: b = 1.005, a = 2.0
        {{"22,1", "192.95", " 18,2 ", "274,172"},
         "Poziomo: przesunięcie +2,00 mm, rozciągnięcie +5,00 ‰",
         "Pionowo: przesunięcie −1,72 mm, rozciągnięcie −4,00 ‰"},
        {{"20", "", "20", "277"}, "Poziomo: —", "Pionowo: —"},
        {{"20", "x", "20", "277"}, "Poziomo: —", "Pionowo: —"},
    };
    for (const auto &c : cases) {
        TfKalibracja dialog;
        Type(dialog, c.readings);
        EXPECT_EQ(In<QLabel>(dialog, "LabelPoziomo")->text(), QString::fromUtf8(c.across));
        EXPECT_EQ(In<QLabel>(dialog, "LabelPionowo")->text(), QString::fromUtf8(c.down));
    }
    const auto values = CalibrationFromReadings({"22,1", "192.95", "18,2", "274,172"});
    ASSERT_TRUE(std::holds_alternative<TCalibrationValues>(values));
    EXPECT_EQ(std::get<TCalibrationValues>(values), (TCalibrationValues{2000, 5000, -1720, -4000}));
}

TEST_F(Kalibracja, ImplausibleReadingsAreRefusedNamingTheFieldAndNothingIsSaved) {
    const struct {
        CalibrationReadings readings;
        const char *message;
    } cases[] = {
        {{"20", "190", "2O", "277"}, "Pole „C”: „2O” nie jest liczbą milimetrów."},
        {{"", "190", "20", "277"}, "Pole „A”: „” nie jest liczbą milimetrów."},
        {{"25,1", "195,1", "20", "277"},
         "Przesunięcie w poziomie z pól „A” i „B” wynosi +5,10 mm — więcej niż 5 mm. "
         "Sprawdź odczyty."},
        {{"20", "190", "20", "283"},
         "Rozciągnięcie w pionie z pól „C” i „D” wynosi +2,33 % — więcej niż 2 %. "
         "Sprawdź odczyty."},
    };
    for (const auto &c : cases) {
        messages.shown.clear();
        TfKalibracja dialog;
        Type(dialog, c.readings);
        Press(dialog, "BitBtnZapisz");
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
        EXPECT_EQ(messages.shown[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(StoredCalibration("P1"), TCalibrationValues{});
        EXPECT_EQ(In<QLineEdit>(dialog, "EditA")->text(), c.readings[0]);
    }
}

TEST_F(Kalibracja, SaveAndRemoveActOnTheChosenPrinterOnly) {
    TfKalibracja dialog(QStringLiteral("P2"));
    EXPECT_EQ(dialog.Printer(), "P2");
    Type(dialog, {"22,1", "192.95", "18,2", "274,172"});
    Press(dialog, "BitBtnZapisz");
    EXPECT_TRUE(messages.shown.empty());
    const TCalibrationValues saved{2000, 5000, -1720, -4000};
    EXPECT_EQ(StoredCalibration("P2"), saved);
    EXPECT_EQ(StoredCalibration("P1"), TCalibrationValues{});
    EXPECT_TRUE(In<QLabel>(dialog, "LabelZapisana")->text().contains("+2,00 mm"));
    In<QComboBox>(dialog, "cbDrukarka")->setCurrentIndex(0);
    Press(dialog, "BitBtnUsun");
    EXPECT_EQ(StoredCalibration("P2"), saved);
    In<QComboBox>(dialog, "cbDrukarka")->setCurrentIndex(1);
    Press(dialog, "BitBtnUsun");
    EXPECT_EQ(StoredCalibration("P2"), TCalibrationValues{});
    EXPECT_TRUE(In<QLabel>(dialog, "LabelZapisana")->text().contains("brak"));
}

// Whichever write the store refuses, its error shows, the readings stay, and the printer keeps
// the correction it had, whole: never none, never a mix of the old and the new.
TEST_F(Kalibracja, StoreThatRefusesTheWriteShowsItsErrorAndKeepsTheEarlierCorrection) {
    const TCalibrationValues earlier{1000, 1000, 1000, 1000};
    const TCalibrationValues typed{2000, 5000, -1720, -4000};
    for (int refused = 1; refused <= 8; ++refused) {
        SCOPED_TRACE(refused);
        testing_support::MemoryRegistry store;
        SaveCalibration("P1", earlier);
        store.refuseFromWrite = store.writes + refused;
        messages.shown.clear();
        TfKalibracja dialog;
        Type(dialog, {"22,1", "192.95", "18,2", "274,172"});
        Press(dialog, "BitBtnZapisz");
        if (messages.shown.empty()) {
            EXPECT_EQ(StoredCalibration("P1"), typed);
            continue;
        }
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
        EXPECT_EQ(messages.shown[0].text, "Failed to set data for 'ShiftX'");
        EXPECT_EQ(StoredCalibration("P1"), earlier);
        EXPECT_TRUE(In<QLabel>(dialog, "LabelZapisana")->text().contains("+1,00 mm"));
        EXPECT_EQ(In<QLineEdit>(dialog, "EditB")->text(), "192.95");
        EXPECT_TRUE(In<QLabel>(dialog, "LabelPoziomo")->text().contains("+2,00 mm"));
    }
}

TEST_F(Kalibracja, WithoutAPrinterNothingCanBePrintedSavedOrRemoved) {
    SetPrinterCount(0);
    TfKalibracja dialog;
    for (const char *button : {"BitBtnArkusz", "BitBtnZapisz", "BitBtnSprawdz", "BitBtnUsun"})
        EXPECT_FALSE(In<QPushButton>(dialog, button)->isEnabled()) << button;
    EXPECT_TRUE(In<QPushButton>(dialog, "BitBtnZamknij")->isEnabled());
}

TEST_F(Kalibracja, MainWindowsPrinterListOpensItForTheSelectedPrinter) {
    ShowMain();
    auto *list = Child<QComboBox>("cbDrukarka");
    list->setCurrentIndex(2);
    QString opened;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->actions().size(), 1);
        EXPECT_EQ(menu->actions()[0]->text(), "Kalibracja drukarki…");
        QTimer::singleShot(0, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *dialog = qobject_cast<TfKalibracja *>(top);
                    dialog && dialog->isVisible()) {
                    opened = dialog->Printer();
                    dialog->reject();
                }
        });
        menu->actions()[0]->trigger();
        menu->close();
    });
    // The right mouse button on the list, as the operator presses it.
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list, &click);
    EXPECT_EQ(opened, "P3");
    EXPECT_EQ(list->currentIndex(), 2);
}

} // namespace
