// Printing through the printer double: the spooler calls, the device mapping on paper, the
// printed range, the progress window and the job's status machine and notices.
#include "PrintTestReports.h"

#include "report/RpPrntr.h"
#include "report/RpProgress.h"

#include "support/Doubles.h"
#include "support/FakePrinter.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

using namespace print_test;
using testing_support::FakePrinter;
using testing_support::FakePrinterSystem;
using testing_support::Primitive;

namespace {

const QStringList SpoolerCalls{"StartDoc", "StartPage", "EndPage", "EndDoc", "AbortDoc"};

// What is drawn in black on a page, one box per shape: pieces that touch or overlap are
// one box. Device pixels.
std::vector<QRect> Boxes(const testing_support::RecordedPage &page) {
    std::vector<QRect> boxes;
    for (const Primitive &p : page.primitives) {
        if (p.kind != Primitive::Kind::Rect || p.brushColour != Qt::black)
            continue;
        const QRect piece = p.bounds.toRect();
        auto joined = std::find_if(boxes.begin(), boxes.end(), [&](const QRect &box) {
            return box.adjusted(-1, -1, 1, 1).intersects(piece);
        });
        if (joined == boxes.end())
            boxes.push_back(piece);
        else
            *joined |= piece;
    }
    return boxes;
}

// Collects the notices a job posts, in the order they are handled.
class NoticeRecorder final : public QObject {
public:
    std::vector<std::pair<int, int>> notices; // type offset from QEvent::User, value

protected:
    bool event(QEvent *event) override {
        if (event->type() < QEvent::User)
            return QObject::event(event);
        notices.emplace_back(event->type() - QEvent::User, static_cast<TRpNotice *>(event)->Value);
        return true;
    }
};

} // namespace

TEST(Print, PlateLikeReportIsOneDocumentOfOnePage) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = NativeReport("Quendrel");
    AddRectangle(AddBand(*report, TRpBandType::rbTitle, 800), 35, 205, 300, 100);
    report->Print();

    EXPECT_EQ(printers.callsStartingWith(SpoolerCalls),
              QStringList({"StartDoc P1 Quendrel", "StartPage", "EndPage", "EndDoc"}));
    ASSERT_EQ(printers.pages.size(), 1u);
    // The band at (100, 100): the rectangle's corner at page (135, 305), 600 dpi, no margin.
    const TRpDeviceMapping mapping = TRpDeviceMapping::ForResolution(600);
    const std::vector<QRect> boxes = Boxes(printers.pages[0]);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().topLeft(), QPoint(mapping.DeviceX(135), mapping.DeviceY(305)));
    EXPECT_EQ(boxes.back().topLeft(), QPoint(319, 720));
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_FALSE(report->RunInProgress());
}

TEST(Print, DeviceModeAsksForTheReportsPaperOneCopyAutomaticSource) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    printers.printers[0].mode.dmPaperSize = 1; // the driver stands on Letter
    printers.printers[0].mode.dmCopies = 3;
    auto report = PagesReport(1);
    report->Print();

    ASSERT_EQ(printers.written.size(), 1u);
    const platform::DeviceMode &mode = printers.written[0];
    EXPECT_EQ(mode.dmOrientation, platform::DMORIENT_PORTRAIT);
    EXPECT_EQ(mode.dmCopies, 1);
    EXPECT_EQ(mode.dmPaperSize, 9);
    EXPECT_EQ(mode.dmPaperLength, 2970);
    EXPECT_EQ(mode.dmPaperWidth, 2100);
    EXPECT_EQ(mode.dmDefaultSource, 7);
    EXPECT_EQ(mode.dmDuplex, platform::DMDUP_SIMPLEX);
    // Written before the document starts.
    EXPECT_LT(printers.calls.indexOf("setDeviceMode P1"),
              printers.calls.indexOf("StartDoc P1 Pages"));
}

TEST(Print, UnprintableMarginIsCountedFromThePapersEdge) {
    FakePrinter printer{"P1"};
    printer.offsetX = 100; // device pixels at 600 dpi: 42 tenths of a millimetre
    printer.offsetY = 50;  // 21 tenths
    FakePrinterSystem printers({printer});
    auto report = NativeReport("Quendrel");
    AddRectangle(AddBand(*report, TRpBandType::rbTitle, 800), 35, 205, 300, 100);
    report->Print();

    ASSERT_EQ(printers.pages.size(), 1u);
    const std::vector<QRect> boxes = Boxes(printers.pages[0]);
    ASSERT_FALSE(boxes.empty());
    // round(93 x 600 / 254) = 220, round(284 x 600 / 254) = 671.
    EXPECT_EQ(boxes.back().topLeft(), QPoint(220, 671));
}

TEST(Print, NoPrinterInstalledPrintsAndShowsNothing) {
    FakePrinterSystem printers;
    testing_support::RecordingMessages messages;
    auto report = PagesReport(1);
    report->Print();
    EXPECT_EQ(printers.callsStartingWith(SpoolerCalls), QStringList());
    EXPECT_EQ(printers.calls, QStringList({"printerNames"}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_FALSE(report->RunInProgress());
}

TEST(Print, PrinterIndexPastTheEndRaisesBeforeAnyDocument) {
    FakePrinterSystem printers({FakePrinter{"P1"}, FakePrinter{"P2"}});
    auto report = PagesReport(1);
    report->PrinterSettings().PrinterIndex = 2;
    try {
        report->Print();
        FAIL() << "no error";
    } catch (const platform::Error &e) {
        EXPECT_EQ(e.message(), "Printer index out of range");
    }
    EXPECT_EQ(printers.callsStartingWith(SpoolerCalls), QStringList());
    EXPECT_EQ(report->RpPrinter(), nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<TRpProgressForm *>(w), nullptr);
}

TEST(Print, ReportWithoutBandsToPrintSendsNoDocument) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(2);
    report->PrintIfEmpty = false;
    report->Print();
    EXPECT_EQ(printers.callsStartingWith(SpoolerCalls), QStringList());
}

TEST(Print, PrintedRangeSendsOnlyItsPages) {
    const struct {
        int first, last;
        QStringList calls;
        int pages;
    } cases[] = {
        {0,
         0,
         {"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage", "StartPage", "EndPage",
          "EndDoc"},
         3},
        {2, 0, {"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage", "EndDoc"}, 2},
        {0, 2, {"StartDoc", "StartPage", "EndPage", "StartPage", "EndPage", "EndDoc"}, 2},
        {2, 2, {"StartDoc", "StartPage", "EndPage", "EndDoc"}, 1},
        {4, 0, {}, 0},
    };
    for (const auto &c : cases) {
        FakePrinterSystem printers({FakePrinter{"P1"}});
        auto report = PagesReport(3);
        report->PrinterSettings().FirstPage = c.first;
        report->PrinterSettings().LastPage = c.last;
        report->Print();
        QStringList calls = printers.callsStartingWith(SpoolerCalls);
        for (QString &call : calls)
            call = call.section(' ', 0, 0);
        EXPECT_EQ(calls, c.calls) << c.first << ".." << c.last;
        ASSERT_EQ(int(printers.pages.size()), c.pages) << c.first << ".." << c.last;
        // Each printed page carries its own band's rectangle.
        for (int i = 0; i < c.pages; ++i) {
            const int page = std::max(c.first, 1) + i;
            const std::vector<QRect> boxes = Boxes(printers.pages[std::size_t(i)]);
            ASSERT_FALSE(boxes.empty());
            EXPECT_EQ(boxes.back().left(),
                      TRpDeviceMapping::ForResolution(600).DeviceX(100 + 100 * page))
                << "page " << page;
        }
    }
}

TEST(Print, ProgressWindowShowsWhileTheDocumentIsMadeAndGoesAfter) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    TRpProgressForm *seen = nullptr;
    printers.onStartPage = [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = dynamic_cast<TRpProgressForm *>(w); form && form->isVisible())
                seen = form;
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->windowTitle(), "Drukowanie");
        EXPECT_EQ(seen->size(), QSize(269, 71));
        EXPECT_TRUE(seen->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(seen->Gauge->geometry(), QRect(12, 10, 245, 22));
        EXPECT_EQ(seen->Gauge->value(), 0);
        EXPECT_EQ(seen->Info->geometry(), QRect(0, 44, 269, 13));
        EXPECT_EQ(seen->Info->text(), "");
        EXPECT_EQ(seen->Job(), report->RpPrinter());
        EXPECT_EQ(report->RpPrinter()->Client(), seen);
    };
    report->Print();
    EXPECT_NE(seen, nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<TRpProgressForm *>(w), nullptr);
}

TEST(Print, ProgressWindowFollowsEveryFifthPercent) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    TRpPrinter job(*report);
    TRpProgressForm form(&job);
    job.SetClient(&form);
    const struct {
        int progress;
        int gauge;
        const char *info;
    } steps[] = {
        {3, 0, ""}, {5, 5, "5% zakończone"}, {7, 5, "5% zakończone"}, {40, 40, "40% zakończone"}};
    for (const auto &s : steps) {
        job.SetProgress(s.progress);
        QCoreApplication::sendPostedEvents(&form);
        EXPECT_EQ(form.Gauge->value(), s.gauge) << s.progress;
        EXPECT_EQ(form.Info->text(), QString::fromUtf8(s.info)) << s.progress;
    }
}

TEST(Print, CancelledRunAbortsTheDocument) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(3);
    printers.onStartPage = [&] { report->CancelRun(); };
    report->Print();
    QStringList calls = printers.callsStartingWith(SpoolerCalls);
    EXPECT_EQ(calls.last(), "AbortDoc");
    EXPECT_FALSE(calls.contains("EndDoc"));
    EXPECT_FALSE(report->RunInProgress());
}

TEST(PrintJob, OutOfOrderCallsRaiseTheJobsErrors) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    {
        TRpPrinter job(*report);
        EXPECT_THROW(
            {
                try {
                    job.NewPage();
                } catch (const ERpError &e) {
                    EXPECT_EQ(e.message(), "Illegal call to NewPage");
                    throw;
                }
            },
            ERpError);
        job.BeginJob();
        EXPECT_EQ(job.Status(), TRpJobStatus::Busy);
        try {
            job.BeginJob();
            ADD_FAILURE() << "a second BeginJob was taken";
        } catch (const ERpError &e) {
            EXPECT_EQ(e.message(), "RpPrinter not ready");
        }
        job.NewPage();
        job.EndJob();
        EXPECT_EQ(job.Status(), TRpJobStatus::Finished);
        EXPECT_THROW(job.NewPage(), ERpError);
    }
}

TEST(PrintJob, NoticesArriveInOrderAndTheLastAfterTheJobHasFinished) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    TRpPrinter job(*report);
    NoticeRecorder client;
    job.SetClient(&client);
    job.BeginJob();
    job.SetProgress(10);
    for (int page = 0; page < 3; ++page)
        job.NewPage();
    EXPECT_TRUE(client.notices.empty()); // posted, not yet handled
    job.EndJob();                        // lets them through
    const std::vector<std::pair<int, int>> expected{{0, 10}, {1, 1}, {1, 2}, {1, 3}};
    EXPECT_EQ(client.notices, expected);
    EXPECT_EQ(job.AvailablePages(), 3);
    EXPECT_EQ(job.PageList()->Count(), 3);
}

TEST(PrintJob, PageImagesAreTheScreensPaperAtTheScreensResolution) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    const struct {
        int dpi;
        TRpOrientation orientation;
        QSize size;
    } cases[] = {{96, TRpOrientation::Portrait, {794, 1123}},
                 {96, TRpOrientation::Landscape, {1123, 794}},
                 {120, TRpOrientation::Portrait, {992, 1403}}};
    for (const auto &c : cases) {
        testing_support::FixedScreen screen(c.dpi);
        auto report = PagesReport(1);
        TRpPrinter job(*report);
        job.Settings().Orientation = c.orientation;
        job.BeginJob();
        job.NewPage();
        job.EndJob();
        EXPECT_EQ(job.PageImageSize(), c.size) << c.dpi;
        const std::unique_ptr<QPicture> page = job.GetPage(1);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->boundingRect(), QRect(QPoint(0, 0), c.size)) << c.dpi;
        EXPECT_EQ(job.Mapping().LeftUnprintable, 0);
        EXPECT_EQ(job.GetPage(2), nullptr);
        EXPECT_EQ(job.GetPage(0), nullptr);
    }
}

TEST(PrintJob, PrinterResolutionBelowAnInchFallsBack) {
    FakePrinter printer{"P1"};
    printer.dpiX = 0;
    printer.dpiY = 10;
    FakePrinterSystem printers({printer});
    auto report = PagesReport(1);
    TRpPrinter job(*report);
    job.Destination = TRpDestination::Printer;
    job.BeginJob();
    EXPECT_EQ(job.Mapping().PixelsPerTenthX, DefaultPixelsPerTenth);
    EXPECT_EQ(job.Mapping().PixelsPerTenthY, DefaultPixelsPerTenth);
    job.NewPage();
    // At a page start the vertical factor becomes 1; the horizontal one keeps its value.
    EXPECT_EQ(job.Mapping().PixelsPerTenthX, DefaultPixelsPerTenth);
    EXPECT_EQ(job.Mapping().PixelsPerTenthY, 1.0L);
    job.EndJob();
}

TEST(Print, APrinterThatRefusesTheDocumentIsAnError) {
    FakePrinter printer{"P1"};
    printer.refusesDocuments = true;
    FakePrinterSystem printers({printer});
    auto report = PagesReport(2);
    try {
        report->Print();
        FAIL() << "reported as printed";
    } catch (const ERpError &e) {
        EXPECT_EQ(e.message(), "Cannot start printing on P1");
    }
    // The document is still ended, and the job and the progress window are gone.
    EXPECT_EQ(printers.callsStartingWith(SpoolerCalls),
              QStringList({"StartDoc P1 Pages", "StartPage", "EndPage", "EndDoc"}));
    EXPECT_EQ(report->RpPrinter(), nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_EQ(dynamic_cast<TRpProgressForm *>(w), nullptr);
}
