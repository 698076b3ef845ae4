#include "RpPreview.h"

#include "platform/Screen.h"
#include "report/RpPrntr.h"

#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>

namespace {

int Round(long double value) {
    return int(RoundHalfEven(value));
}

// Scroll bars 21 pixels thick, whatever the desktop style says.
class ScrollBarStyle final : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_ScrollBarExtent)
            return 21;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

constexpr QSize A4Tenths{2100, 2970};

// A step a tenth of nine tenths of the visible extent, as smooth scroll bars move.
int LineStepOf(int visible) {
    return visible * 9 / 10 / 10;
}

} // namespace

TRpPreviewImage::TRpPreviewImage(QWidget *parent) : QWidget(parent) {}

void TRpPreviewImage::LoadPage(int n) {
    pageNumber_ = n;
    picture_.reset();
    raster_ = QImage();
    if (Job)
        picture_ = Job->GetPage(n);
    update();
}

void TRpPreviewImage::DrawPicture(QPainter &painter, const QRect &target) {
    const QRect bounds = picture_->boundingRect();
    if (bounds.width() <= 0 || bounds.height() <= 0)
        return;
    if (target.width() >= bounds.width() && target.height() >= bounds.height()) {
        // Playing a picture scales it by the target's resolution over the picture's own,
        // so that part is taken out of the stretch.
        painter.save();
        painter.translate(target.topLeft());
        painter.scale(
            qreal(target.width()) * picture_->logicalDpiX() / (bounds.width() * logicalDpiX()),
            qreal(target.height()) * picture_->logicalDpiY() / (bounds.height() * logicalDpiY()));
        painter.drawPicture(0, 0, *picture_);
        painter.restore();
        return;
    }
    // Shrunk, a one-pixel line can fall between the screen's pixels and vanish: the page is
    // drawn at its own size once and scaled down smoothly instead.
    if (raster_.isNull()) {
        raster_ = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        raster_.setDotsPerMeterX(picture_->logicalDpiX() * 10000 / 254);
        raster_.setDotsPerMeterY(picture_->logicalDpiY() * 10000 / 254);
        raster_.fill(Qt::transparent);
        QPainter page(&raster_);
        page.drawPicture(-bounds.topLeft(), *picture_);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, raster_);
    painter.restore();
}

void TRpPreviewImage::paintEvent(QPaintEvent *) {
    if (!picture_)
        return;
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    DrawPicture(painter, rect());
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    const QPoint outline[] = {{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {0, 0}};
    painter.drawPolyline(outline, 5);
    painter.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
    painter.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
}

TRpPreview::TRpPreview(QWidget *parent)
    : QAbstractScrollArea(parent), image_(new TRpPreviewImage(viewport())) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setBackgroundRole(QPalette::Window);
    auto *style = new ScrollBarStyle;
    style->setParent(this);
    verticalScrollBar()->setStyle(style);
    horizontalScrollBar()->setStyle(style);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setTracking(true);
}

TRpPreview::~TRpPreview() {
    Attach(nullptr);
}

void TRpPreview::Attach(TRpPrinter *job) {
    if (job_ && job_->Client() == this) {
        job_->SetPreviewShowing(false);
        job_->SetClient(nullptr);
    }
    job_ = job;
    image_->Job = job;
    if (job) {
        job->SetClient(this);
        job->SetPreviewShowing(true);
    }
    pageNumber_ = 1;
    image_->LoadPage(1);
    viewport()->update();
}

void TRpPreview::SetPageNumber(int page) {
    if ((page == pageNumber_ && image_->HasPage()) || page <= 0 || !job_ ||
        page > job_->PageCount())
        return;
    image_->LoadPage(page);
    pageNumber_ = page;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void TRpPreview::SetZoom(int zoom) {
    if (zoom < 2 || zoom > 2000)
        return;
    zoomMode_ = TRpZoomState::rpZoomOther;
    zoom_ = zoom;
    LayoutPage();
}

void TRpPreview::ZoomToFit() {
    const QSize page = PagePixels();
    const int zx = Round((long double)width() * 95 / page.width());
    const int zy = Round((long double)height() * 95 / page.height());
    SetZoom(qMin(zx, zy));
    LayoutPage();
    zoomMode_ = TRpZoomState::rpZoomToFit;
}

void TRpPreview::ZoomToWidth() {
    const int percent = job_ ? 90 : 95;
    SetZoom(Round((long double)width() * percent / PagePixels().width()));
    LayoutPage();
    zoomMode_ = TRpZoomState::rpZoomToWidth;
}

QSize TRpPreview::PaperTenths() const {
    return job_ ? job_->PaperSize() : A4Tenths;
}

long double TRpPreview::FactorX() const {
    return job_ ? job_->Mapping().PixelsPerTenthX
                : TRpDeviceMapping::PixelsPerTenth(platform::ScreenDpi());
}

long double TRpPreview::FactorY() const {
    return job_ ? job_->Mapping().PixelsPerTenthY
                : TRpDeviceMapping::PixelsPerTenth(platform::ScreenDpi());
}

QSize TRpPreview::PagePixels() const {
    if (job_)
        return job_->PageImageSize();
    return {Round(A4Tenths.width() * FactorX()), Round(A4Tenths.height() * FactorY())};
}

void TRpPreview::LayoutPage() {
    const QSize paper = PaperTenths();
    const int w = Round((long double)paper.width() / 100 * zoom_ * FactorX()) + 4;
    const int h = Round((long double)paper.height() / 100 * zoom_ * FactorY()) + 4;
    image_->resize(w, h);
    image_->Zoom = zoom_;
    imageOrigin_ =
        QPoint(w < width() ? (width() - w) / 2 : 0, h < height() ? (height() - h) / 2 : 0);
    UpdateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    PlaceImage();
}

void TRpPreview::UpdateScrollBars() {
    // Showing one scroll bar narrows the view for the other: settle in a few rounds.
    for (int round = 0; round < 3; ++round) {
        const QSize view = viewport()->size();
        horizontalScrollBar()->setRange(0,
                                        qMax(0, imageOrigin_.x() + image_->width() - view.width()));
        horizontalScrollBar()->setPageStep(view.width());
        horizontalScrollBar()->setSingleStep(LineStepOf(view.width()));
        verticalScrollBar()->setRange(0, qMax(0, ScrollRange() - view.height()));
        verticalScrollBar()->setPageStep(view.height());
        verticalScrollBar()->setSingleStep(LineStep());
        if (viewport()->size() == view)
            break;
    }
}

int TRpPreview::LineStep() const {
    return LineStepOf(viewport()->height());
}

void TRpPreview::ShowPart(const QRectF &tenths) {
    const long double scale = (long double)zoom_ / 100;
    const auto scroll = [](QScrollBar *bar, int start, int length, int view) {
        bar->setValue(length < view ? start - (view - length) / 2 : start);
    };
    // The page is drawn 2 pixels inside the image's border.
    scroll(horizontalScrollBar(), imageOrigin_.x() + 2 + Round(tenths.left() * scale * FactorX()),
           Round(tenths.width() * scale * FactorX()), viewport()->width());
    scroll(verticalScrollBar(), imageOrigin_.y() + 2 + Round(tenths.top() * scale * FactorY()),
           Round(tenths.height() * scale * FactorY()), viewport()->height());
}

int TRpPreview::ScrollRange() const {
    return imageOrigin_.y() + image_->height();
}

void TRpPreview::PlaceImage() {
    image_->move(imageOrigin_ -
                 QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

void TRpPreview::scrollContentsBy(int, int) {
    PlaceImage();
}

void TRpPreview::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    switch (zoomMode_) {
    case TRpZoomState::rpZoomToFit:
        ZoomToFit();
        break;
    case TRpZoomState::rpZoomToWidth:
        ZoomToWidth();
        break;
    default:
        LayoutPage();
        break;
    }
}

void TRpPreview::PageAvailable(int pageCount) {
    if (pageCount == pageNumber_ && !image_->HasPage() &&
        job_->AvailablePages() >= image_->PageNumber()) {
        if (job_->Report() && job_->Report()->PrevInitialZoom == TRpZoomState::rpZoomToWidth)
            ZoomToWidth();
        image_->LoadPage(image_->PageNumber());
    }
    if (OnPageAvailable)
        OnPageAvailable(this, pageCount);
}

bool TRpPreview::event(QEvent *event) {
    switch (int(event->type())) {
    case RpPageAvailableNotice:
    case RpProgressNotice:
    case RpJobReleasedNotice:
        break;
    default:
        return QAbstractScrollArea::event(event);
    }
    const auto *notice = static_cast<TRpNotice *>(event);
    if (!job_ || notice->Job != job_)
        return true; // a notice of a job this page area no longer shows
    if (event->type() == QEvent::Type(RpPageAvailableNotice)) {
        PageAvailable(notice->Value);
    } else if (event->type() == QEvent::Type(RpProgressNotice)) {
        if (OnProgressUpdate)
            OnProgressUpdate(this, notice->Value);
    } else {
        Attach(nullptr);
        if (OnJobReleased)
            OnJobReleased(this);
    }
    return true;
}
