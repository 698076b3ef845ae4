#include "RpPrntr.h"

#include "platform/Service.h"
#include "report/RpReport.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <QPicture>

using platform::PrinterSystem;
using platform::Service;

// The page being drawn: a page image kept for the store, a page of the printer, or a page
// outside the printed range drawn into a picture that is thrown away.
struct TRpPrinter::Page {
    enum class Kind { Image, Device, Discarded };
    Kind kind = Kind::Image;
    int number = 0;
    std::unique_ptr<QPicture> picture;
    std::unique_ptr<QPainter> painter;
    std::unique_ptr<platform::PainterCanvas> canvas; // goes first: it uses the painter
};

TRpPrinter::TRpPrinter(TRpReport &report)
    : report_(&report), printersInstalled_(!Service<PrinterSystem>::get().printerNames().isEmpty()),
      pageList_(std::make_unique<TRpPageList>(report.MemoryLimit)), screenDpi_(report.ScreenDpi()) {
    settings_.UseStandardPrinter = !printersInstalled_;
    settings_.MemoryLimit = report.MemoryLimit;
    if (printersInstalled_) {
        QCoreApplication::processEvents();
        settings_.ReadPrinterSettings();
        QCoreApplication::processEvents();
    }
    mapping_.LeftUnprintable = settings_.LeftUnprintable;
    mapping_.TopUnprintable = settings_.TopUnprintable;
}

TRpPrinter::~TRpPrinter() {
    page_.reset();
    document_.reset(); // a document still open is aborted
    if (client_) {
        // Notices not yet handled would speak of a job that is gone.
        QCoreApplication::removePostedEvents(client_, RpProgressNotice);
        QCoreApplication::removePostedEvents(client_, RpPageAvailableNotice);
        TRpNotice released(RpJobReleasedNotice, 0, this);
        QCoreApplication::sendEvent(client_, &released);
    }
    if (waitLoop_)
        waitLoop_->quit();
}

void TRpPrinter::SetProgress(int progress) {
    progress_ = progress;
    Post(RpProgressNotice, progress);
}

void TRpPrinter::SetPreviewShowing(bool showing) {
    previewShowing_ = showing;
    if (!showing && waitLoop_)
        waitLoop_->quit();
}

void TRpPrinter::SetWaitLoop(QEventLoop *loop) {
    waitLoop_ = loop;
}

QSize TRpPrinter::PaperSize() const {
    int width = settings_.RequestedPaperWidth();
    int length = settings_.RequestedPaperLength();
    if (width <= 0 || length <= 0) {
        // No printer told us its paper: the table's A4.
        width = int(RoundHalfEven(PaperOf(TRpPaperSize::A4).width * 10));
        length = int(RoundHalfEven(PaperOf(TRpPaperSize::A4).length * 10));
    }
    if (settings_.Orientation == TRpOrientation::Landscape)
        std::swap(width, length);
    return {width, length};
}

QSize TRpPrinter::PageImageSize() const {
    const QSize paper = PaperSize();
    return {mapping_.LengthX(paper.width()), mapping_.LengthY(paper.height())};
}

bool TRpPrinter::InPrintedRange(int page) const {
    return (firstPage_ <= 0 || page >= firstPage_) && (lastPage_ <= 0 || page <= lastPage_);
}

void TRpPrinter::ReadFactors(bool jobStart) {
    PrinterSystem &printers = Service<PrinterSystem>::get();
    const platform::DeviceCaps caps =
        printers.deviceCaps(printers.currentPrinter()).value_or(platform::DeviceCaps{});
    const long double x = TRpDeviceMapping::PixelsPerTenth(caps.logPixelsX);
    const long double y = TRpDeviceMapping::PixelsPerTenth(caps.logPixelsY);
    if (jobStart) {
        mapping_.PixelsPerTenthX = x < 0.1L ? DefaultPixelsPerTenth : x;
        mapping_.PixelsPerTenthY = y < 0.1L ? DefaultPixelsPerTenth : y;
    } else {
        // A device that reports no usable resolution across keeps the factor of the job's
        // start rather than collapsing every column to 0.
        if (x >= 0.1L)
            mapping_.PixelsPerTenthX = x;
        mapping_.PixelsPerTenthY = y < 0.1L ? 1.0L : y;
    }
}

void TRpPrinter::BeginJob() {
    page_.reset();
    availablePages_ = 0;
    CancelRequested = false;
    if (Destination == TRpDestination::Printer)
        settings_.WriteDeviceMode();
    const bool printer = Destination == TRpDestination::Printer;
    mapping_.LeftUnprintable = printer ? settings_.LeftUnprintable : 0;
    mapping_.TopUnprintable = printer ? settings_.TopUnprintable : 0;
    mapping_.Correction = {};
    if (printer && report_->PrinterCalibration)
        mapping_.Correction =
            report_->PrinterCalibration(Service<PrinterSystem>::get().currentPrinter());
    if (status_ != TRpJobStatus::Idle)
        throw ERpError(QStringLiteral("RpPrinter not ready"));
    pageCount_ = 0;
    status_ = TRpJobStatus::Busy;
    firstPage_ = settings_.FirstPage;
    lastPage_ = settings_.LastPage;
    if (printer) {
        ReadFactors(true);
    } else {
        pageList_ = std::make_unique<TRpPageList>(report_->MemoryLimit);
        pageList_->SetCompression(Compression);
        mapping_.PixelsPerTenthX = mapping_.PixelsPerTenthY =
            TRpDeviceMapping::PixelsPerTenth(screenDpi_);
    }
}

std::unique_ptr<TRpPrinter::Page> TRpPrinter::PicturePage(bool kept) const {
    auto page = std::make_unique<Page>();
    page->kind = kept ? Page::Kind::Image : Page::Kind::Discarded;
    page->picture = std::make_unique<QPicture>();
    page->picture->setBoundingRect(QRect(QPoint(0, 0), PageImageSize()));
    page->painter = std::make_unique<QPainter>(page->picture.get());
    // Fonts are realised for the screen the page images are recorded for.
    page->canvas =
        std::make_unique<platform::PainterCanvas>(*page->painter, screenDpi_, screenDpi_);
    return page;
}

void TRpPrinter::CompleteOpenPage() {
    std::unique_ptr<Page> page = std::move(page_);
    page->canvas.reset();
    switch (page->kind) {
    case Page::Kind::Image:
        page->painter->end();
        pageList_->AddPage(*page->picture);
        break;
    case Page::Kind::Device:
        if (page->number != lastPage_)
            document_->endPage();
        break;
    case Page::Kind::Discarded:
        break;
    }
}

void TRpPrinter::NewPage() {
    if (status_ != TRpJobStatus::Busy)
        throw ERpError(QStringLiteral("Illegal call to NewPage"));
    if (page_) {
        CompleteOpenPage();
        Announce(availablePages_ + 1);
    }
    ++pageCount_;
    if (Destination == TRpDestination::PageImages) {
        page_ = PicturePage(true);
    } else if (InPrintedRange(pageCount_)) {
        PrinterSystem &printers = Service<PrinterSystem>::get();
        if (!document_) {
            handedOver_ = {printers.currentPrinter(), 0, mapping_.Correction};
            document_ = printers.startDocument(handedOver_.Printer, Title);
        }
        if (!document_->startPage())
            throw ERpError(
                QStringLiteral("Cannot start printing on %1").arg(printers.currentPrinter()));
        ReadFactors(false);
        page_ = std::make_unique<Page>();
        page_->kind = Page::Kind::Device;
        auto canvas = std::make_unique<platform::PainterCanvas>(
            document_->painter(), int(RoundHalfEven(mapping_.PixelsPerTenthX * 254)),
            int(RoundHalfEven(mapping_.PixelsPerTenthY * 254)));
        canvas->SetTextScale(qreal(1 / mapping_.Correction.X.Stretch()),
                             qreal(1 / mapping_.Correction.Y.Stretch()));
        page_->canvas = std::move(canvas);
    } else {
        page_ = PicturePage(false);
    }
    page_->number = pageCount_;
}

void TRpPrinter::EndJob() {
    if (status_ != TRpJobStatus::Busy)
        return;
    QString refusal;
    if (Destination == TRpDestination::Printer) {
        page_.reset();
        if (document_) {
            document_->endPage();
            try {
                handedOver_.Job = document_->endDocument();
            } catch (const platform::Error &refused) {
                refusal = refused.message();
            }
            document_.reset();
        }
    } else if (page_) {
        CompleteOpenPage();
    }
    status_ = TRpJobStatus::Finished;
    Announce(availablePages_ + 1);
    QCoreApplication::processEvents();
    if (Destination == TRpDestination::PageImages)
        pageList_->WriteHeader();
    // A document the printer did not take is not reported as printed; the printer system's
    // own words say why.
    if (!refusal.isNull())
        throw ERpError(QStringLiteral("Drukarka „%1” nie przyjęła wydruku: %2")
                           .arg(handedOver_.Printer, refusal));
}

void TRpPrinter::AbortJob() {
    if (Destination == TRpDestination::Printer) {
        page_.reset();
        if (document_) {
            document_->abortDocument();
            document_.reset();
        }
    } else if (page_) {
        CompleteOpenPage();
    }
    status_ = TRpJobStatus::Finished;
}

std::unique_ptr<QPicture> TRpPrinter::GetPage(int n) const {
    if (status_ == TRpJobStatus::Idle || n < 1 || n > pageCount_)
        return nullptr;
    return pageList_->GetPage(n);
}

void TRpPrinter::ClosePreview() {
    if (previewShowing_) {
        if (status_ == TRpJobStatus::Busy)
            CancelRequested = true;
        SetPreviewShowing(false);
    }
    if (report_)
        report_->PreviewClosed();
}

platform::Canvas &TRpPrinter::Canvas() {
    if (page_)
        return *page_->canvas;
    if (!scratch_)
        scratch_ = PicturePage(false);
    return *scratch_->canvas;
}

void TRpPrinter::Announce(int availablePages) {
    availablePages_ = availablePages;
    Post(RpPageAvailableNotice, availablePages);
}

void TRpPrinter::Post(TRpNoticeType type, int value) {
    if (client_)
        QCoreApplication::postEvent(client_, new TRpNotice(type, value, this));
}
