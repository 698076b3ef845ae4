// "Drukowanie" on a CUPS scheduler of the test's own, with what goes wrong at a station: a
// queue that rejects jobs, a disabled queue, the scheduler stopped, the chosen queue removed,
// a queue added before it. Each row: what the operator is told, whether the printer choice
// was kept as printed, what CUPS holds afterwards and what was printed where.
#include "forms/PlatePrintSupport.h"

#include "forms/controls/TShape.h"
#include "platform/Application.h"
#include "report/RpProgress.h"
#include "support/IppEverywherePrinter.h"
#include "support/PrivateScheduler.h"
#include "support/PwgRaster.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

using plate_print::PlateWindow;
using platform::MessageKind;

class RealPrintJob : public PlateWindow {
protected:
    // Presses "Drukowanie"; when the progress window asks about a stuck printer, the operator
    // answers "Anuluj wydruk", or closes the program and says yes to cancelling the print.
    // What the window asked; empty when it did not.
    QString PrintCancellingAStuckPrinter(bool byClosing = false) {
        QString asked;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (auto *progress = dynamic_cast<TRpProgressForm *>(top);
                    progress && !progress->Problem().isEmpty() && asked.isEmpty()) {
                    asked = progress->Problem();
                    if (byClosing)
                        window->close();
                    else
                        progress->BtnAnuluj->click();
                }
        });
        answer.start(50);
        messages.shown.clear();
        window->SetCheckBox1Checked(false);
        QTest::mouseClick(Child<QWidget>("BitBtn2"), Qt::LeftButton);
        QTest::qWait(50); // a close asked for meanwhile goes ahead once the print has ended
        return asked;
    }
};

TEST_F(RealPrintJob, EveryPrintIsPrintedOnTheChosenQueueOrAnError) {
    testing_support::PrivateScheduler cups;
    if (!cups.Why().isEmpty())
        GTEST_SKIP() << cups.Why().toStdString();
    enum class Change { None, Rejects, Disabled, Closed, SchedulerStopped, Removed, AddedBefore };
    struct Case {
        const char *queue;
        Change change;
        const char *told; // a pattern of what the operator is told; empty: nothing
        MessageKind kind;
        bool printed; // on the chosen queue; nothing is printed anywhere else
    };
    const Case cases[] = {
        {"Q1", Change::None, "", {}, true},
        {"Q2", Change::Rejects, "^Drukarka „Q2” nie przyjęła wydruku: .+", MessageKind::Error,
         false},
        {"Q3", Change::Disabled,
         "^Wydruk na drukarce „Q3” anulowano \\(zadanie \\d+\\): tabliczka nie została "
         "wydrukowana\\.$",
         MessageKind::Information, false},
        {"Q4", Change::Removed, "^Drukarka „Q4” jest niedostępna: ", MessageKind::Error, false},
        {"Q7", Change::Closed,
         "^Tabliczka jeszcze się drukuje\\. Anulować wydruk i zakończyć "
         "program\\?$",
         MessageKind::Question, false},
        {"Q5", Change::AddedBefore, "", {}, true},
        {"Q6", Change::SchedulerStopped, "^Drukarka „Q6” jest niedostępna: ", MessageKind::Error,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.queue);
        const QString queue = QLatin1String(c.queue);
        const QString before = QStringLiteral("A") + queue; // sorts before the chosen queue
        ASSERT_TRUE(cups.AddQueue(queue));
        ShowMain();
        Fill(plate_print::PositionOf(8, 2),
             {"FORD", "FOCUS", QStringLiteral("WF0AXXGCDA12345") + c.queue, c.queue});
        ChooseQueue(queue);
        switch (c.change) {
        case Change::Rejects:
            ASSERT_TRUE(cups.Tool("cupsreject", {queue}));
            break;
        case Change::Disabled:
        case Change::Closed:
            ASSERT_TRUE(cups.Tool("cupsdisable", {queue}));
            break;
        case Change::SchedulerStopped:
            cups.Stop();
            break;
        case Change::Removed:
            ASSERT_TRUE(cups.Tool("lpadmin", {"-x", queue}));
            break;
        case Change::AddedBefore:
            ASSERT_TRUE(cups.AddQueue(before));
            break;
        case Change::None:
            break;
        }
        messages.answers = {true};
        const QString asked = PrintCancellingAStuckPrinter(c.change == Change::Closed);

        if (QLatin1String(c.told).isEmpty()) {
            EXPECT_TRUE(messages.shown.empty());
        } else {
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_EQ(messages.shown[0].kind, c.kind);
            EXPECT_TRUE(messages.shown[0].text.contains(QRegularExpression(c.told)))
                << messages.shown[0].text.toStdString();
        }
        if (c.change == Change::Disabled || c.change == Change::Closed) {
            EXPECT_TRUE(asked.startsWith("Drukarka „" + queue + "” nie odpowiada: "))
                << asked.toStdString();
        }
        EXPECT_EQ(window->isVisible(), c.change != Change::Closed);
        EXPECT_EQ(window->CheckBox1Checked(), c.printed);
        if (c.change == Change::SchedulerStopped) {
            ASSERT_TRUE(cups.Start());
        }
        if (c.change == Change::Disabled || c.change == Change::Closed) {
            // Enabled again, the queue has nothing left to print.
            ASSERT_TRUE(cups.Tool("cupsenable", {queue}));
            QTest::qWait(2000);
        }
        // A printed plate is a whole PDF on the chosen queue and nowhere else.
        QDeadlineTimer settle(c.printed ? 10000 : 0);
        while (c.printed && cups.Printed(queue).isEmpty() && !settle.hasExpired())
            QTest::qWait(50);
        const QStringList printed = cups.Printed(queue);
        EXPECT_EQ(printed.size(), c.printed ? 1 : 0);
        if (!printed.isEmpty()) {
            QFile pdf(printed[0]);
            ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
            const QByteArray bytes = pdf.readAll();
            EXPECT_TRUE(bytes.startsWith("%PDF-"));
            EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
        }
        EXPECT_TRUE(cups.Printed(before).isEmpty());
        EXPECT_EQ(cups.PendingJobs(), QStringList());
        window.reset();
    }
}

// A driverless IPP Everywhere printer (PWG raster, 600 dpi, 4-mm margins): the plate's ink
// lands where the engine draws it; switched off, the job is stuck, the operator cancels it,
// and switched on again the printer prints nothing.
TEST_F(RealPrintJob, DriverlessPrinterPrintsThePlateAsDesignedOrIsCancelledWhenOff) {
    testing_support::PrivateScheduler cups;
    if (!cups.Why().isEmpty())
        GTEST_SKIP() << cups.Why().toStdString();
    testing_support::IppEverywherePrinter printer;
    if (!printer.Missing().isEmpty())
        GTEST_SKIP() << printer.Missing().toStdString();
    ASSERT_EQ(printer.Why(), QString());
    ASSERT_TRUE(cups.AddQueue("MerovanIPP", printer.Uri(), "everywhere"));
    ShowMain();
    const plate_print::Position &position = plate_print::PositionOf(10, 7);
    const plate_print::PlateTexts texts{"VOLKSWAGEN", "GOLF", "WVWZZZ1KZ6W000001", "KR/07"};
    Fill(position, texts);
    ChooseQueue("MerovanIPP");
    PlateWindow::Print();
    QDeadlineTimer deadline(30000);
    while (printer.Documents().isEmpty() && !deadline.hasExpired())
        QTest::qWait(100);
    ASSERT_EQ(printer.Documents().size(), 1);
    const std::vector<testing_support::PwgPage> pages =
        testing_support::ReadPwgRaster(printer.Documents()[0]);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].dpiX, 600);
    const plate_print::ExpectedPlate expected = plate_print::Expect(position, texts, 600);
    // Placement is measured where rasterising cannot move it: left-aligned lines by their
    // first ink column, right-aligned ones by their last, centred ones by their middle, every
    // line by its lowest ink row. Glyph widths are the rasteriser's own.
    double worstX = 0;
    int worstY = 0;
    for (std::size_t i = 0; i < expected.lines.size(); ++i) {
        const plate_print::ExpectedLine &line = expected.lines[i];
        SCOPED_TRACE(line.label.toStdString());
        const QRect printed = plate_print::LineInk(pages[0].image, {0, 0}, expected.lines, i, 600);
        const QRect drawn = plate_print::LineInk(expected.reference, expected.area.topLeft(),
                                                 expected.lines, i, 600);
        ASSERT_FALSE(printed.isNull());
        const auto anchor = [&](const QRect &ink) {
            return line.alignment == TAlignment::taLeftJustify    ? ink.left()
                   : line.alignment == TAlignment::taRightJustify ? ink.right()
                                                                  : ink.center().x();
        };
        const double dx = std::abs(anchor(printed) - anchor(drawn));
        const int dy = std::abs(printed.bottom() - drawn.bottom());
        EXPECT_LE(dx, line.alignment == TAlignment::taCenter ? 4 : 3);
        EXPECT_LE(dy, 1);
        worstX = std::max(worstX, dx);
        worstY = std::max(worstY, dy);
    }
    RecordProperty("WorstAnchorDevicePixels", QString::number(worstX).toStdString());
    RecordProperty("WorstBottomDevicePixels", worstY);

    // Off: the job for the next position waits on the unreachable printer until the
    // operator cancels it.
    printer.Stop();
    QTest::mousePress(window->Shape(8), Qt::LeftButton, {}, {20, 20});
    window->Edit(3)->setText(QStringLiteral("WVWZZZ1KZ6W000002"));
    const QString asked = PrintCancellingAStuckPrinter();
    EXPECT_TRUE(asked.startsWith(QStringLiteral("Drukarka „MerovanIPP” nie odpowiada: ")))
        << asked.toStdString();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Information);
    EXPECT_FALSE(window->CheckBox1Checked());
    EXPECT_EQ(cups.PendingJobs(), QStringList());
    ASSERT_TRUE(printer.Start());
    QTest::qWait(3000);
    EXPECT_EQ(printer.Documents().size(), 1);
}

} // namespace
