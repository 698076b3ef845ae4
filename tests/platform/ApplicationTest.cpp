#include "platform/Application.h"
#include "support/Doubles.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(ErrorDisplay, FullStopOnlyAfterCharactersAboveIt)
{
    const struct {
        const char *message;
        const char *shown;
    } cases[] = {
        {"Printer index out of range", "Printer index out of range."},
        {"Failed to set data for 'CheckBox1'", "Failed to set data for 'CheckBox1'"},
        {"Value 7", "Value 7."},
        {"(closed)", "(closed)"},
        {"Done.", "Done."},
        {"Zażółć", "Zażółć."},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ErrorDisplayText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
            << c.message;
}

TEST(ErrorDisplay, GuardShowsEscapedErrorWithTitleAndCarriesOn)
{
    testing_support::RecordingMessages messages;
    SetApplicationTitle("Merovan");
    const bool completed = Guarded([] { throw Error("RpPrinter not ready"); });
    EXPECT_FALSE(completed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages.shown[0].caption, "Merovan");
    EXPECT_EQ(messages.shown[0].text, "RpPrinter not ready.");
    EXPECT_TRUE(Guarded([] {}));
    EXPECT_EQ(messages.shown.size(), 1u);
}
