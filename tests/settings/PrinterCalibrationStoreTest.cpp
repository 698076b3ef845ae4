// Each printer's correction in the store: under a key of its own whatever its name, exact
// integers and the day, none when anything is missing or unreadable, removable.
#include "StoreFixture.h"

#include "platform/Registry.h"
#include "settings/PrinterCalibrationStore.h"
#include "settings/uRegistry.h"

namespace {

const QString kTitle = QStringLiteral("Merovan");

using CalibrationStore = StoreTest;

TEST_F(CalibrationStore, EveryPrinterHasItsOwnKeyWhateverItsName) {
    const struct {
        QString printer;
        QString key;
    } cases[] = {
        {"MerovanPDF", "MerovanPDF"}, {"HP LaserJet 4", "HP%20LaserJet%204"},
        {"..\\Setup", "..%5CSetup"}, // cannot climb out of its section
        {"a/b%c~", "a%2Fb%25c%7E"},   {"Łódź-2_x.y", "%C5%81%C3%B3d%C5%BA-2_x.y"},
    };
    TCalibrationValues values{2000, 5000, -1500, -4000};
    const QDate day(2026, 12, 10);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.printer.toStdString());
        EXPECT_EQ(CalibrationKeyName(c.printer), c.key);
        WriteCalibration(kTitle, c.printer, values, day);
        EXPECT_EQ(ReadCalibration(kTitle, c.printer).values, values);
        EXPECT_EQ(ReadCalibration(kTitle, c.printer).date, day);
        EXPECT_TRUE(platform::Registry::real()
                        .queryValue("SOFTWARE\\ZOVI Software\\Merovan\\Kalibracja\\" + c.key + "\\",
                                    "StretchY")
                        .has_value());
        values.ShiftXMicrometres += 1; // each printer its own values
    }
    EXPECT_EQ(ReadCalibration(kTitle, "MerovanPDF").values,
              (TCalibrationValues{2000, 5000, -1500, -4000}));
    EXPECT_FALSE(ReadCalibration(kTitle, "Setup").Stored());
}

TEST_F(CalibrationStore, MissingUnreadableOrImplausibleValuesMeanNoCorrection) {
    const QString section = QStringLiteral("Kalibracja\\P1");
    const auto set = [&](const char *name, const TSettingsValue &value) {
        return [=] { WriteToHKCUkey(kTitle, section, name, value); };
    };
    const struct {
        const char *what;
        std::function<void()> change;
    } cases[] = {
        {"one value missing", [&] { DeleteFromHKCUkey(kTitle, section, "ShiftY"); }},
        {"a text", set("StretchX", TSettingsValue::Text("200"))},
        {"a shift over 5 mm", set("ShiftY", TSettingsValue::Integer(5001))},
        {"a stretch over 2 %", set("StretchX", TSettingsValue::Integer(-20001))},
        {"the page stretched to nothing", set("StretchY", TSettingsValue::Integer(-1000000))},
        {"the smallest integer", set("ShiftX", TSettingsValue::Integer(INT32_MIN))},
        {"removed", [&] { DeleteCalibration(kTitle, "P1"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        WriteCalibration(kTitle, "P1", {100, 200, 300, 400}, QDate::currentDate());
        c.change();
        EXPECT_EQ(ReadCalibration(kTitle, "P1").values, TCalibrationValues{});
    }
    DeleteCalibration(kTitle, "P1"); // nothing there is no fault
    const TCalibrationValues largest{5000, 20000, -5000, -20000};
    WriteCalibration(kTitle, "P1", largest, {});
    EXPECT_EQ(ReadCalibration(kTitle, "P1").values, largest);
    EXPECT_FALSE(ReadCalibration(kTitle, "P1").date.isValid());
}

} // namespace
