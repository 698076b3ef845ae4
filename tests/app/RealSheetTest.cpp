// The loaded sheet's memory in the built program on a real desktop: an 8-position sheet
// filled plate by plate across two restarts, each plate typed, placed and printed with the
// keyboard only on the cups-pdf queue of scripts/print-queues.
#include "RealProgramFixture.h"

#include "support/Pdf.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <unistd.h>

namespace {

using RealSheet = RealProgramFixture;

// Where the plates of the 8-position sheet lie, millimetres from the paper's edges.
constexpr double ColumnLeft[] = {13.5, 103.5};
constexpr double RowTop[] = {30.5, 90.3, 150.1, 210.0};

TEST_F(RealSheet, EightPlatesFillTheSheetAcrossRestartsAndTheNinthIsRefused) {
    const QString queue = qEnvironmentVariable("MEROVAN_PDF_QUEUE");
    const QString output = qEnvironmentVariable("MEROVAN_PDF_OUTDIR");
    if (queue.isEmpty() || output.isEmpty())
        GTEST_SKIP() << "no PDF queue: scripts/print-queues sets MEROVAN_PDF_QUEUE";
    Seed("Setup", "CheckBox1", TSettingsValue::Boolean(true));
    Seed("Setup", "cbDrukarkaNazwa", TSettingsValue::Text(queue));
    ASSERT_TRUE(desktop.StartProgram());
    qulonglong main = desktop.WaitForWindow("Druk Tabliczki");
    desktop.Keys(main, "Tab"); // the window opens on "Podgląd"; each plate starts on "Drukowanie"
    const QString run = QString::number(::getpid() % 100000);
    QStringList stations;
    for (int position = 1; position <= 8; ++position) {
        SCOPED_TRACE(position);
        if (position == 4 || position == 7) {
            CloseMain();
            ASSERT_TRUE(desktop.ProgramEnded(10000));
            ASSERT_TRUE(desktop.StartProgram());
            main = desktop.WaitForWindow("Druk Tabliczki");
            desktop.Keys(main, "Tab");
        }
        const QString station = QStringLiteral("S%1P%2").arg(run).arg(position);
        stations << station;
        // A vehicle of its own: this test is about the sheet, not about plates issued again.
        TypeAndPrint(main, position,
                     {"żuk", "a07", QStringLiteral("suz%1").arg(station.toLower()), station});
        ASSERT_TRUE(WaitUntil(60000, [&] { return Sheet(0).Used(position); }))
            << "position " << position << " not used after its print";
        EXPECT_EQ(Sheet(0).UsedCount(), position);
        // The marker shows it: its cross runs through its middle.
        const QRect window = desktop.Geometry(main);
        const int bar = window.height() - 446;
        const int column = (position - 1) / 4;
        const int row = (position - 1) % 4;
        QThread::msleep(300);
        const QImage screen = desktop.Screenshot();
        ASSERT_FALSE(screen.isNull());
        const QPoint middle =
            window.topLeft() + QPoint(26 + 96 * column + 46, bar + 51 + 32 + 70 * row + 29);
        EXPECT_LT(qGray(screen.pixel(middle)), 150) << "no cross over position " << position;
    }
    // The sheet is used up, and says so.
    const qulonglong usedUp = desktop.WaitForWindow(Title);
    ASSERT_NE(usedUp, 0u);
    desktop.Keys(usedUp, "Return");

    // A ninth plate is asked about; "Nie", the default, prints nothing. It would carry the
    // eighth plate's texts still in the fields.
    testing_support::PdfJobWatch ninth(output, QStringLiteral("Quendrel"), stations[7]);
    desktop.Keys(main, "Tab Tab Tab Tab 1 alt+d");
    const qulonglong question = desktop.WaitForWindow(Title);
    ASSERT_NE(question, 0u) << "the ninth plate was not asked about";
    desktop.Keys(question, "Return");
    EXPECT_EQ(ninth.Wait(3000), QString());
    EXPECT_EQ(Sheet(0).UsedCount(), 8);

    // Each plate landed on the position chosen by its digit.
    for (int position = 1; position <= 8; ++position) {
        SCOPED_TRACE(position);
        QString pdf;
        WaitUntil(60000, [&] {
            for (const QFileInfo &file : QDir(output).entryInfoList({"Quendrel*-job_*.pdf"}))
                for (const auto &word : testing_support::PdfWords(file.filePath()))
                    if (word.text == stations[position - 1] &&
                        testing_support::PdfComplete(file.filePath()))
                        pdf = file.filePath();
            return !pdf.isEmpty();
        });
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF of " << stations[position - 1].toStdString();
        const double left = ColumnLeft[(position - 1) / 4];
        const double top = RowTop[(position - 1) % 4];
        for (const auto &word : testing_support::PdfWords(pdf))
            if (word.text == stations[position - 1]) {
                const double x = word.xMin * 25.4 / 72;
                const double y = word.yMin * 25.4 / 72;
                EXPECT_GT(x, left);
                EXPECT_LT(x, left + 93.4);
                EXPECT_GT(y, top + 40);
                EXPECT_LT(y, top + 52);
            }
        QFile::remove(pdf);
    }
}

} // namespace
