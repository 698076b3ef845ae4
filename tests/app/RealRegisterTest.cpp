// The register of issued plates in the built program on a real desktop: two plates printed,
// the register opened from the menu with the keyboard, the second plate printed again onto
// another position, and the register then holding three plates.
#include "RealProgramFixture.h"

#include "register/PlateRegister.h"

namespace {

using RealRegister = RealProgramFixture;

TEST_F(RealRegister, APlateIsPrintedAgainFromTheRegisterWithTheKeyboard) {
    const QString queue = qEnvironmentVariable("MEROVAN_PDF_QUEUE");
    if (queue.isEmpty())
        GTEST_SKIP() << "no PDF queue: scripts/print-queues sets MEROVAN_PDF_QUEUE";
    Seed("Setup", "CheckBox1", TSettingsValue::Boolean(true));
    Seed("Setup", "cbDrukarkaNazwa", TSettingsValue::Text(queue));
    ASSERT_TRUE(desktop.StartProgram());
    const qulonglong main = desktop.WaitForWindow("Druk Tabliczki");
    desktop.Keys(main, "Tab");
    const auto plates = [&] { return InProgramsStore([] { return TRegisterReader().Count({}); }); };
    const std::array<QString, 4> first{"łada", "niva", "xta212140k1234567", "kr/r1"};
    const std::array<QString, 4> second{"żuk", "a07", "suz00012345", "kr/r2"};
    TypeAndPrint(main, 1, first);
    ASSERT_TRUE(WaitUntil(60000, [&] { return plates() == 1; }));
    TypeAndPrint(main, 2, second);
    ASSERT_TRUE(WaitUntil(60000, [&] { return plates() == 2; }));

    // Menu "Rejestr" (Alt+E), "Rejestr tabliczek…"; the search takes what is typed.
    desktop.Keys(main, "alt+e r");
    const qulonglong window = desktop.WaitForWindow("Rejestr tabliczek");
    ASSERT_NE(window, 0u) << "the register window did not open";
    desktop.Type(window, "suz000");
    desktop.Keys(window, "alt+p"); // "Drukuj ponownie"
    ASSERT_TRUE(WaitUntil(10000, [&] { return !desktop.WindowShown("Rejestr tabliczek"); }));

    // The texts are in the fields and the miniature has the focus: a digit, then "Drukowanie".
    desktop.Keys(main, "3 alt+d");
    const qulonglong question = desktop.WaitForWindow(Title);
    ASSERT_NE(question, 0u) << "a plate printed before was not asked about";
    desktop.Keys(question, "Return"); // "Tak"
    ASSERT_TRUE(WaitUntil(60000, [&] { return plates() == 3; }));
    const std::vector<TRegisterEntry> rows =
        InProgramsStore([] { return TRegisterReader().Rows({}, 0, 10); });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Texts, (std::array<QString, 4>{"ŻUK", "A07", "SUZ00012345", "KR/R2"}));
    EXPECT_EQ(rows[0].Position, 3);
    EXPECT_EQ(rows[1].Position, 2);
    EXPECT_EQ(rows[2].Texts[0], "ŁADA");
    EXPECT_EQ(rows[0].Printer, queue);
    EXPECT_GT(rows[0].Job, rows[1].Job);
}

} // namespace
