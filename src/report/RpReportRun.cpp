// The run of a report: Print, Preview, and the band and page sequence they share.
#include "RpReport.h"

#include "platform/Finally.h"
#include "platform/PrinterSystem.h"
#include "report/RpJobWatch.h"
#include "report/RpPrev.h"
#include "report/RpPrinterSettings.h"
#include "report/RpPrntr.h"
#include "report/RpProgress.h"
#include "report/RpRunGeometry.h"

#include <QEventLoop>
#include <QPointer>

using platform::Finally;

void TRpReport::ApplyPrinterSettings() {
    ::ApplyPrinterSettings(*printerSettings_, page_, rpPrinter_->Settings());
}

void TRpReport::Print() {
    if (runInProgress_)
        return;
    lastPrinted_ = {};
    std::unique_ptr<TRpPrinter> remembered = std::move(rpPrinter_);
    std::unique_ptr<TRpProgressForm> progress;
    const Finally release([&] {
        rpPrinter_ = std::move(remembered);
        progress.reset();
    });
    auto job = std::make_unique<TRpPrinter>(*this);
    if (!job->PrintersInstalled()) {
        // Nothing installed and nothing asked for prints nothing; a printer asked for by its
        // name is not silently skipped.
        if (!printerSettings_->PrinterName.isEmpty())
            throw ERpError(platform::NoSuchPrinter(printerSettings_->PrinterName));
        return;
    }
    rpPrinter_ = std::move(job);
    rpPrinter_->Destination = TRpDestination::Printer;
    if (ShowProgress) {
        progress = std::make_unique<TRpProgressForm>(rpPrinter_.get());
        progress->show();
        rpPrinter_->SetClient(progress.get());
    }
    RunReport();
    const TRpHandedOver handedOver = rpPrinter_->HandedOver();
    if (handedOver.Job != 0) {
        TRpJobWatch watch(handedOver.Printer, handedOver.Job, progress.get());
        watch_ = &watch;
        const Finally unwatch([this] { watch_ = nullptr; });
        watch.Wait();
    }
    lastPrinted_ = {handedOver.Printer, handedOver.Job, handedOver.Correction};
}

bool TRpReport::CancelPrint() {
    if (!watch_)
        return false;
    watch_->Cancel();
    return true;
}

void TRpReport::Preview() {
    if ((rpPrinter_ && rpPrinter_->PreviewShowing()) || runInProgress_)
        return;
    rpPrinter_ = std::make_unique<TRpPrinter>(*this);
    rpPrinter_->Destination = TRpDestination::PageImages;
    rpPrinter_->Title = ReportTitle;
    try {
        ApplyPrinterSettings();
    } catch (...) {
        rpPrinter_.reset();
        throw;
    }
    const QPointer<TRpStandardPreview> window = TRpStandardPreview::ShowPreview(*rpPrinter_);
    try {
        RunReport();
    } catch (...) {
        // A run that fails only ends the preview: nothing was printed, so the caller has
        // nothing to undo.
        rpPrinter_.reset();
        if (window)
            window->close();
        return;
    }
    if (runCancelled_) {
        rpPrinter_.reset();
        return;
    }
    QEventLoop loop;
    if (rpPrinter_ && rpPrinter_->PreviewShowing()) {
        rpPrinter_->SetWaitLoop(&loop);
        // Ends when the window lets the job go, or when the application quits all loops;
        // then the job and the window are left for the report's destruction to release.
        loop.exec();
    }
}

void TRpReport::RunReport() {
    if (runInProgress_ || !rpPrinter_)
        return;
    if (page_.Width() - page_.LeftMargin() - page_.RightMargin() < 0) {
        page_.SetLeftMargin(0);
        page_.SetRightMargin(0);
    }
    if (page_.Length() - page_.TopMargin() - page_.BottomMargin() < 0) {
        page_.SetTopMargin(0);
        page_.SetBottomMargin(0);
    }
    runInProgress_ = true;
    runCancelled_ = false;
    finalPage_ = false;
    const TRpUnit previousUnits = Units();
    try {
        SetUnits(TRpUnit::Native);
        ApplyPrinterSettings();
        TRpPrinter &job = *rpPrinter_;
        job.Title = ReportTitle;
        job.Compression = Options.Compression;
        job.BeginJob();
        printY_ = -1;
        pageCount_ = 0;
        footerAllowance_ = PageFooterHeight();
        // Bands and items know their report from the moment they were placed on it.
        printX_ = MarginX(page_);
        SetDevice(&job);
        PrintablesBeginRun();
        PrintBands();
        printX_ = MarginX(page_);
        finalPage_ = true;
        if (!runCancelled_)
            FinishPage();
        SetUnits(previousUnits);
        PrintablesEndRun();
    } catch (...) {
        try {
            EndRunJob();
        } catch (...) {
            // The error that stopped the run is the one to report.
        }
        throw;
    }
    EndRunJob();
    runInProgress_ = false;
}

void TRpReport::EndRunJob() {
    if (runCancelled_)
        rpPrinter_->AbortJob();
    else
        rpPrinter_->EndJob();
}

void TRpReport::PrintBands() {
    if (!PrintIfEmpty)
        return;
    for (const TRpBandType type :
         {TRpBandType::rbTitle, TRpBandType::rbDetail, TRpBandType::rbSummary})
        if (TRpBand *band = FindBand(type))
            PrintBand(*band);
}

bool TRpReport::Fits(const TRpBand &band) const {
    const long double height = band.Size().NativeHeight();
    return BandTallerThanPage(height, page_) ||
           BandFits(height, page_, rpPrinter_->PaperSize().height(), footerAllowance_, printY_);
}

void TRpReport::PrintBand(TRpBand &band) {
    if (!band.Enabled)
        return;
    const bool pageBegun = printY_ >= 0;
    if (!pageBegun || (!Fits(band) && !page_.Continuous)) {
        printX_ = MarginX(page_);
        OpenPage();
    }
    RenderBand(band);
}

void TRpReport::RenderBand(TRpBand &band) {
    if (!band.Enabled)
        return;
    band.Render(printX_, printY_);
    printY_ = BelowBand(printY_, band.Size().NativeHeight());
}

void TRpReport::OpenPage() {
    if (printY_ >= 0)
        FinishPage();
    ++pageCount_;
    rpPrinter_->NewPage();
    printY_ = MarginY(page_);
    if (TRpBand *header = FindBand(TRpBandType::rbPageHeader))
        if (pageCount_ > 1 || Options.FirstPageHeader)
            RenderBand(*header);
}

void TRpReport::FinishPage() {
    if (printY_ < 0)
        return;
    printY_ = FooterY(page_, footerAllowance_);
    printX_ = MarginX(page_);
    if (TRpBand *footer = FindBand(TRpBandType::rbPageFooter))
        if (!finalPage_ || Options.LastPageFooter)
            RenderBand(*footer);
    for (const auto &item : Items())
        if (item->RendersOn(rpPrinter_.get()))
            item->RenderItem(0, 0);
    frame_.Draw(rpPrinter_->Canvas(), rpPrinter_->Mapping(), page_.LeftMargin(), page_.TopMargin(),
                page_.Width() - page_.RightMargin(), page_.Length() - page_.BottomMargin());
}

void TRpReport::CancelRun() {
    if (!runInProgress_)
        return;
    runCancelled_ = true;
    if (rpPrinter_)
        rpPrinter_->CancelRequested = true;
}

void TRpReport::PreviewClosed() {
    if (runInProgress_)
        CancelRun();
    else
        rpPrinter_.reset();
}
