// The preview window offscreen: layout, zoom modes with their numbers, page navigation by
// keys, buttons and wheel, painting, notices, closing and what Preview does around it.
#include "PreviewTestSupport.h"
#include "PrintTestReports.h"

#include "support/FakePrinter.h"

#include <QLabel>
#include <QPicture>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace print_test;
using testing_support::FakePrinter;
using testing_support::FakePrinterSystem;

namespace {

// The window with its page area at the given outer size.
void SizePageArea(TRpStandardPreview &window, int width, int height) {
    window.setWindowState(Qt::WindowNoState);
    window.resize(width, height + window.ToolBar1->height() + window.StatusBar->height());
    ASSERT_EQ(window.RpPreview->size(), QSize(width, height));
}

QString PageText(const TRpStandardPreview &window) {
    return window.Panels[1]->text();
}

// Everything that is deleted later is deleted now.
void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A job run by hand, shown in a preview window of its own.
struct HandDrivenPreview {
    explicit HandDrivenPreview(int pages) : report(PagesReport(pages)), job(*report) {
        job.BeginJob();
        window = TRpStandardPreview::ShowPreview(job);
    }
    ~HandDrivenPreview() {
        if (window)
            window->close();
        FlushDeletes();
    }
    std::unique_ptr<TRpReport> report;
    TRpPrinter job;
    QPointer<TRpStandardPreview> window;
};

} // namespace

TEST(PreviewWindow, OpensMaximizedZoomedToWidthWithThePageText) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1, "Quendrel");
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
        EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_FALSE(window.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(window.windowTitle(), "Report Preview : Quendrel");
        EXPECT_TRUE(window.ZoomToWidth->isChecked());
        EXPECT_FALSE(window.ZoomFit->isChecked());
        EXPECT_EQ(window.RpPreview->ZoomMode(), TRpZoomState::rpZoomToWidth);
        EXPECT_EQ(window.Panels[0]->text(), "0%");
        EXPECT_EQ(PageText(window), "Strona  1 z 1");
        EXPECT_TRUE(window.RpPreview->Image()->HasPage());
        EXPECT_TRUE(report->RpPrinter()->PreviewShowing());
        EXPECT_EQ(report->RpPrinter()->Client(), window.RpPreview);
        QTest::keyClick(window.RpPreview, Qt::Key_Escape);
    });
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_EQ(OpenPreview(), nullptr);
    FlushDeletes();
}

// A printer's registration correction is the paper's: the page images stay as they are.
TEST(PreviewWindow, PrinterCorrectionLeavesThePageImagesAlone) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    QByteArray pages[2];
    for (const bool corrected : {false, true}) {
        auto report = PagesReport(1, "Quendrel");
        AddWord(*report->Bands().front(), "Słowo", 500, 900);
        if (corrected)
            report->PrinterCalibration = [](const QString &) {
                return TRpCalibration{{2000, 5000}, {-2000, -5000}};
            };
        PreviewAndThen(*report, [&](TRpStandardPreview &window) {
            TRpPrinter *job = window.RpPreview->Job();
            EXPECT_TRUE(job->Mapping().Correction.IsIdentity());
            const std::unique_ptr<QPicture> page = job->GetPage(1);
            pages[corrected] = QByteArray(page->data(), page->size());
            QTest::keyClick(window.RpPreview, Qt::Key_Escape);
        });
        FlushDeletes();
    }
    EXPECT_FALSE(pages[0].isEmpty());
    EXPECT_EQ(pages[1], pages[0]);
}

TEST(PreviewWindow, ZoomModesGiveTheirNumbers) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        TRpPreview &area = *window.RpPreview;
        SizePageArea(window, 1280, 900);
        // round(1280 x 90 / 794) = 145; round(2100 / 100 x 145 x 96 / 254) + 4 = 1155.
        EXPECT_EQ(area.Zoom(), 145);
        EXPECT_EQ(area.Image()->width(), 1155);
        EXPECT_EQ(area.Image()->x(), 62);
        EXPECT_EQ(area.Image()->y(), 0);
        EXPECT_EQ(area.Image()->Zoom, 145);

        QTest::mouseClick(window.ZoomFit, Qt::LeftButton);
        // round(1280 x 95 / 794) = 153, round(900 x 95 / 1123) = 76.
        EXPECT_EQ(area.Zoom(), 76);
        EXPECT_EQ(area.ZoomMode(), TRpZoomState::rpZoomToFit);
        EXPECT_TRUE(window.ZoomFit->isChecked());
        EXPECT_FALSE(window.ZoomToWidth->isChecked());
        const QSize image = area.Image()->size(); // 607 x 857: centred both ways
        EXPECT_EQ(area.Image()->pos(),
                  QPoint((1280 - image.width()) / 2, (900 - image.height()) / 2));
        // A resize while fitted fits again; the toggles stay.
        SizePageArea(window, 1000, 700);
        EXPECT_EQ(area.Zoom(), 59); // min(round(1000 x 95 / 794), round(700 x 95 / 1123))
        EXPECT_TRUE(window.ZoomFit->isChecked());

        QTest::mouseClick(window.Zoom100, Qt::LeftButton);
        EXPECT_EQ(area.Zoom(), 100);
        EXPECT_EQ(area.ZoomMode(), TRpZoomState::rpZoomOther);
        EXPECT_EQ(area.Image()->size(), QSize(798, 1127));
        SizePageArea(window, 1280, 900);
        EXPECT_EQ(area.Zoom(), 100);

        for (const int ignored : {1, 2001, -5}) {
            area.SetZoom(ignored);
            EXPECT_EQ(area.Zoom(), 100) << ignored;
        }
        area.SetZoom(2000);
        EXPECT_EQ(area.Zoom(), 2000);
        window.ExitClick();
    });
}

TEST(PreviewWindow, ToolBarAndStatusBarAsDefined) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        const struct {
            QToolButton *button;
            int left;
            const char *caption;
            const char *hint;
        } buttons[] = {
            {window.ZoomFit, 0, "Wysokość", "Skaluj do wysokości strony"},
            {window.Zoom100, 77, "100%", "Skaluj do 100%"},
            {window.ZoomToWidth, 154, "Szerokość", "Skaluj do szerokości strony"},
            {window.FirstPage, 235, "Pierwsza", "Pierwsza strona"},
            {window.PreviousPage, 312, "Poprzednia", "Poprzednia strona"},
            {window.NextPage, 389, "Następna", "Następna strona"},
            {window.LastPage, 466, "Ostatnia", "Ostatnia strona"},
            {window.ExitButton, 639, "Zamknij <Esc>", "Zamknij podgląd"},
        };
        for (const auto &b : buttons) {
            EXPECT_EQ(b.button->geometry(), QRect(b.left, 0, 77, 36)) << b.caption;
            EXPECT_EQ(b.button->text(), QString::fromUtf8(b.caption));
            EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
            EXPECT_EQ(b.button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
            EXPECT_EQ(b.button->iconSize(), QSize(16, 16));
            EXPECT_FALSE(b.button->icon().isNull()) << b.caption;
        }
        EXPECT_EQ(window.ToolBar1->height(), 36);
        EXPECT_EQ(window.StatusBar->height(), 19);
        EXPECT_EQ(window.Panels[0]->width(), 50);
        EXPECT_EQ(window.Panels[1]->width(), 150);
        EXPECT_EQ(window.Panels[2]->width(), 50);
        EXPECT_EQ(
            window.RpPreview->verticalScrollBar()->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
            21);
        window.ExitClick();
    });
}

TEST(PreviewWindow, OnePageStaysOnItsPage) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        QWidget *area = window.RpPreview;
        const std::pair<int, Qt::KeyboardModifiers> keys[] = {
            {Qt::Key_PageDown, Qt::NoModifier},      {Qt::Key_End, Qt::NoModifier},
            {Qt::Key_PageDown, Qt::ControlModifier}, {Qt::Key_PageUp, Qt::NoModifier},
            {Qt::Key_Home, Qt::NoModifier},          {Qt::Key_PageUp, Qt::ControlModifier}};
        for (const auto &[key, modifiers] : keys) {
            QTest::keyClick(area, Qt::Key(key), modifiers);
            EXPECT_EQ(window.RpPreview->PageNumber(), 1) << key;
            EXPECT_EQ(PageText(window), "Strona  1 z 1") << key;
        }
        for (QToolButton *button :
             {window.FirstPage, window.PreviousPage, window.NextPage, window.LastPage}) {
            window.Panels[1]->clear();
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_EQ(window.RpPreview->PageNumber(), 1);
            EXPECT_EQ(PageText(window), "Strona  1 z 1"); // written also when nothing moved
        }
        // Up at the top of page 1 stays there.
        QTest::keyClick(area, Qt::Key_Up);
        EXPECT_EQ(window.RpPreview->PageNumber(), 1);
        EXPECT_EQ(window.RpPreview->verticalScrollBar()->value(), 0);
        window.ExitClick();
    });
}

TEST(PreviewWindow, ThreePagesByKeysAndButtons) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(3);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        QWidget *area = window.RpPreview;
        const auto key = [&](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            return [&window, area, k, m] {
                (void)window;
                QTest::keyClick(area, k, m);
            };
        };
        const auto click = [](QToolButton *button) {
            return [button] { QTest::mouseClick(button, Qt::LeftButton); };
        };
        const struct {
            std::function<void()> action;
            int page;
        } steps[] = {
            {key(Qt::Key_PageDown), 2},
            {key(Qt::Key_PageDown), 3},
            {key(Qt::Key_PageDown), 3},
            {key(Qt::Key_Home), 1},
            {key(Qt::Key_End), 3},
            {key(Qt::Key_PageUp), 2},
            {key(Qt::Key_PageUp, Qt::ControlModifier), 1},
            {key(Qt::Key_PageDown, Qt::ControlModifier), 3},
            {key(Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier), 3},
            {key(Qt::Key_PageUp, Qt::ControlModifier | Qt::AltModifier), 2},
            {click(window.FirstPage), 1},
            {click(window.NextPage), 2},
            {click(window.LastPage), 3},
            {click(window.PreviousPage), 2},
        };
        int step = 0;
        for (const auto &s : steps) {
            s.action();
            EXPECT_EQ(window.RpPreview->PageNumber(), s.page) << "step " << step;
            EXPECT_EQ(window.RpPreview->Image()->PageNumber(), s.page) << "step " << step;
            EXPECT_TRUE(window.RpPreview->Image()->HasPage()) << "step " << step;
            EXPECT_EQ(PageText(window), QString("Strona  %1 z 3").arg(s.page)) << "step " << step;
            ++step;
        }
        for (QToolButton *button :
             {window.FirstPage, window.PreviousPage, window.NextPage, window.LastPage})
            EXPECT_TRUE(button->isEnabled());
        window.ExitClick();
    });
}

TEST(PreviewWindow, UpAndDownScrollThenTurnThePage) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(2);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        SizePageArea(window, 1280, 900);
        TRpPreview &area = *window.RpPreview;
        QScrollBar *bar = area.verticalScrollBar();
        const int step = area.LineStep();
        EXPECT_EQ(step, area.viewport()->height() * 9 / 10 / 10);
        EXPECT_EQ(area.ScrollRange(), area.Image()->height());
        QTest::keyClick(&area, Qt::Key_Down);
        EXPECT_EQ(bar->value(), step);
        QTest::keyClick(&area, Qt::Key_Up); // step - step is not above 0: to page 0, top
        EXPECT_EQ(area.PageNumber(), 1);
        EXPECT_EQ(bar->value(), 0);
        // Down at the foot of page 1 turns to page 2 at its top.
        bar->setValue(bar->maximum());
        QTest::keyClick(&area, Qt::Key_Down);
        EXPECT_EQ(area.PageNumber(), 2);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(PageText(window), "Strona  2 z 2");
        // Up at the top of page 2 goes back to the foot of page 1.
        QTest::keyClick(&area, Qt::Key_Up);
        EXPECT_EQ(area.PageNumber(), 1);
        EXPECT_EQ(bar->value(), area.ScrollRange() - area.viewport()->height() - step);
        // Down at the foot of the last page does nothing.
        QTest::keyClick(&area, Qt::Key_End);
        bar->setValue(bar->maximum());
        QTest::keyClick(&area, Qt::Key_Down);
        EXPECT_EQ(area.PageNumber(), 2);
        EXPECT_EQ(bar->value(), bar->maximum());
        // The wheel acts as the keys: away from the user is Up.
        bar->setValue(5 * step);
        QWheelEvent towards(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120),
                            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area.viewport(), &towards);
        EXPECT_EQ(bar->value(), 6 * step);
        QWheelEvent away(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(area.viewport(), &away);
        EXPECT_EQ(bar->value(), 5 * step);
        window.ExitClick();
    });
}

TEST(PreviewWindow, PaintsAWhitePageWithOutlineAndShadow) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1); // rectangle at page (200..500, 300..700)
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        window.Zoom100->click();
        TRpPreviewImage &image = *window.RpPreview->Image();
        const int w = image.width();  // 798
        const int h = image.height(); // 1127
        QImage shot(image.size(), QImage::Format_RGB32);
        const QColor unpainted(255, 0, 255);
        shot.fill(unpainted);
        image.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
        const auto at = [&](int x, int y) { return QColor(shot.pixel(x, y)); };
        const qreal scale = qreal(w) / 794;
        // The page's own rectangle, stretched with the page.
        EXPECT_EQ(at(int(350 * 0.3779 * scale), int(500 * 0.3779 * scale)), Qt::black);
        EXPECT_EQ(at(int(150 * 0.3779 * scale), int(500 * 0.3779 * scale)), Qt::white);
        EXPECT_EQ(at(400, 900), Qt::white);
        // Outline along the left and top, and at w - 3 and h - 3.
        EXPECT_EQ(at(0, 400), Qt::black);
        EXPECT_EQ(at(400, 0), Qt::black);
        EXPECT_EQ(at(w - 3, 400), Qt::black);
        EXPECT_EQ(at(400, h - 3), Qt::black);
        // A two-pixel shadow right and below, starting two pixels in.
        EXPECT_EQ(at(w - 1, 400), Qt::black);
        EXPECT_EQ(at(w - 2, 2), Qt::black);
        EXPECT_EQ(at(400, h - 1), Qt::black);
        EXPECT_EQ(at(w - 1, 1), unpainted);
        EXPECT_EQ(at(1, h - 1), unpainted);
        window.ExitClick();
    });
}

TEST(PreviewWindow, ThinLinesStayVisibleOnAPageShownSmaller) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = NativeReport("Lines");
    // An outline one screen pixel thick, its top edge at page row 115.
    AddRectangle(AddBand(*report, TRpBandType::rbTitle, 800), 35, 205, 935, 582).Brush = {
        platform::clWhite, platform::BrushStyle::Solid};
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        TRpPreviewImage &image = *window.RpPreview->Image();
        for (const int zoom : {100, 82, 61, 40}) {
            window.RpPreview->SetZoom(zoom);
            QImage shot(image.size(), QImage::Format_RGB32);
            shot.fill(Qt::white);
            image.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
            // Down the middle of the box, from above its top edge to inside it.
            const qreal scale = qreal(image.width()) / 794;
            const int x = int(250 * 0.37795 * scale);
            int darkest = 255;
            for (int y = int(107 * scale); y < int(123 * scale); ++y)
                darkest = std::min(darkest, qGray(shot.pixel(x, y)));
            EXPECT_LT(darkest, 160) << "zoom " << zoom;
        }
        window.ExitClick();
    });
}

TEST(PreviewWindow, ProgressPanelMovesInStepsOfFive) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    HandDrivenPreview preview(1);
    const struct {
        int progress;
        const char *shown;
    } steps[] = {{3, "0%"}, {5, "5%"}, {7, "5%"}, {12, "12%"}, {16, "12%"}, {100, ""}};
    for (const auto &s : steps) {
        preview.job.SetProgress(s.progress);
        QCoreApplication::sendPostedEvents(preview.window->RpPreview);
        EXPECT_EQ(preview.window->Panels[0]->text(), s.shown) << s.progress;
    }
}

TEST(PreviewWindow, PageButtonsWaitForTheRunToFinish) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    HandDrivenPreview preview(1);
    TRpStandardPreview &window = *preview.window;
    EXPECT_TRUE(window.NextPage->isEnabled()); // enabled at creation
    preview.job.NewPage();
    preview.job.NewPage(); // page 1 announced
    QCoreApplication::sendPostedEvents(window.RpPreview);
    EXPECT_TRUE(window.RpPreview->Image()->HasPage());
    EXPECT_EQ(PageText(window), "Strona  1 z 2");
    for (QToolButton *button :
         {window.FirstPage, window.PreviousPage, window.NextPage, window.LastPage})
        EXPECT_FALSE(button->isEnabled());
    // While busy, the last page is one before the count: it is still being drawn.
    window.LastPageClick();
    EXPECT_EQ(window.RpPreview->PageNumber(), 1);
    // And the window will not close.
    window.close();
    EXPECT_TRUE(window.isVisible());
    preview.job.EndJob();
    for (QToolButton *button :
         {window.FirstPage, window.PreviousPage, window.NextPage, window.LastPage})
        EXPECT_TRUE(button->isEnabled());
    window.LastPageClick();
    EXPECT_EQ(window.RpPreview->PageNumber(), 2);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(preview.job.PreviewShowing());
}

TEST(PreviewWindow, InitialZoomToWidthZoomsAgainWhenTheFirstPageArrives) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    const std::pair<TRpZoomState, TRpZoomState> cases[] = {
        {TRpZoomState::rpZoomToWidth, TRpZoomState::rpZoomToWidth},
        {TRpZoomState::rpZoomToFit, TRpZoomState::rpZoomToFit}};
    for (const auto &[initial, after] : cases) {
        HandDrivenPreview preview(1);
        preview.report->PrevInitialZoom = initial;
        // Whatever the report asks for, the window opens zoomed to width.
        EXPECT_EQ(preview.window->RpPreview->ZoomMode(), TRpZoomState::rpZoomToWidth);
        preview.window->ZoomToFitClick();
        preview.job.NewPage();
        preview.job.EndJob();
        EXPECT_TRUE(preview.window->RpPreview->Image()->HasPage());
        EXPECT_EQ(preview.window->RpPreview->ZoomMode(), after) << int(initial);
    }
}

TEST(Preview, NoPrinterShowsOneA4Page) {
    FakePrinterSystem printers;
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        EXPECT_EQ(report->RpPrinter()->PageImageSize(), QSize(794, 1123));
        EXPECT_EQ(PageText(window), "Strona  1 z 1");
        EXPECT_TRUE(window.RpPreview->Image()->HasPage());
        window.ExitClick();
    });
    EXPECT_EQ(printers.callsStartingWith({"StartDoc"}), QStringList());
}

TEST(Preview, NothingToPrintShowsNoPage) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(2);
    report->PrintIfEmpty = false;
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        EXPECT_EQ(report->RpPrinter()->PageCount(), 0);
        EXPECT_FALSE(window.RpPreview->Image()->HasPage());
        EXPECT_EQ(PageText(window), "Strona  1 z 0");
        window.ExitClick();
    });
}

TEST(Preview, SecondPreviewOfTheSameReportReturnsAtOnce) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &window) {
        TRpPrinter *job = report->RpPrinter();
        report->Preview();
        EXPECT_EQ(report->RpPrinter(), job);
        int windows = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            windows += dynamic_cast<TRpStandardPreview *>(w) && w->isVisible();
        EXPECT_EQ(windows, 1);
        window.ExitClick();
    });
    EXPECT_EQ(report->RpPrinter(), nullptr);
}

TEST(Preview, PrinterIndexPastTheEndRaisesBeforeAnyWindow) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    report->PrinterSettings().PrinterIndex = 1;
    EXPECT_THROW(report->Preview(), platform::Error);
    EXPECT_EQ(OpenPreview(), nullptr);
    EXPECT_EQ(report->RpPrinter(), nullptr);
}

TEST(Preview, ErrorInTheRunClosesTheWindowAndIsNotPassedOn) {
    FakePrinterSystem printers({FakePrinter{"P1"}, FakePrinter{"P2"}});
    auto report = PagesReport(1);
    report->PrinterSettings().PrinterIndex = 1;
    // The second printer goes away once the window exists, before the run applies the
    // settings again.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (dynamic_cast<TRpStandardPreview *>(w) && printers.printers.size() == 2) {
                printers.printers.pop_back();
                printers.setPrinterIndex(0);
            }
    });
    watch.start(0);
    EXPECT_NO_THROW(report->Preview());
    watch.stop();
    EXPECT_EQ(printers.printers.size(), 1u);
    EXPECT_EQ(report->RpPrinter(), nullptr);
    EXPECT_EQ(OpenPreview(), nullptr);
    // The failed run leaves the report unable to run again.
    EXPECT_TRUE(report->RunInProgress());
    report->Preview();
    EXPECT_EQ(OpenPreview(), nullptr);
    FlushDeletes();
}

TEST(Preview, ApplicationQuittingLeavesNothingThatTouchesTheReport) {
    FakePrinterSystem printers({FakePrinter{"P1"}});
    auto report = PagesReport(1);
    PreviewAndThen(*report, [&](TRpStandardPreview &) { QCoreApplication::exit(0); });
    // Preview returned with its window and job still there.
    const QPointer<TRpStandardPreview> window = OpenPreview();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(report->RpPrinter(), nullptr);
    report.reset();
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_EQ(window ? window->RpPreview->Job() : nullptr, nullptr);
    FlushDeletes();
    EXPECT_EQ(window, nullptr);
    // Let the application's loop run once more, so later loops run again.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    auto next = PagesReport(1);
    PreviewAndThen(*next, [](TRpStandardPreview &w) { w.ExitClick(); });
    EXPECT_EQ(next->RpPrinter(), nullptr);
}
