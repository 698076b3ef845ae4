// The preview's page area (TRpPreview, a scroll box) and the page image inside it
// (TRpPreviewImage). The page area shows one page of a job at a time, at a zoom, and
// receives the job's notices.
#pragma once

#include "report/RpReport.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPicture>
#include <QWidget>

#include <functional>
#include <memory>

class TRpPrinter;

class TRpPreviewImage final : public QWidget {
public:
    explicit TRpPreviewImage(QWidget *parent);

    TRpPrinter *Job = nullptr;
    int Zoom = 100;
    int PageNumber() const { return pageNumber_; }
    bool HasPage() const { return picture_ != nullptr; }
    // Releases the page shown and asks the job for page n (which may not be stored yet).
    void LoadPage(int n);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The page stretched over `target`.
    void DrawPicture(QPainter &painter, const QRect &target);

    int pageNumber_ = 1;
    std::unique_ptr<QPicture> picture_;
    QImage raster_; // the page at its own size, for showing it smaller
};

class TRpPreview final : public QAbstractScrollArea {
public:
    using TRpPageAvailableEvent = std::function<void(TRpPreview *sender, int pageCount)>;
    using TRpProgressUpdateEvent = std::function<void(TRpPreview *sender, int progress)>;
    using TRpJobReleasedEvent = std::function<void(TRpPreview *sender)>;

    explicit TRpPreview(QWidget *parent);
    ~TRpPreview() override;

    TRpPreviewImage *Image() const { return image_; }
    TRpPrinter *Job() const { return job_; }
    // Attaches to a job, or detaches with none.
    void Attach(TRpPrinter *job);

    int PageNumber() const { return pageNumber_; }
    void SetPageNumber(int page);
    int Zoom() const { return zoom_; }
    // 2 to 2000 percent; other values are ignored.
    void SetZoom(int zoom);
    TRpZoomState ZoomMode() const { return zoomMode_; }
    void ZoomToFit();
    void ZoomToWidth();
    void Zoom100() { SetZoom(100); }

    // Scrolls the part of the page (tenths of a millimetre from the paper's corner) into
    // view, centred where it fits.
    void ShowPart(const QRectF &tenths);

    // The line step of the vertical scroll bar and the scroll range (the content's height).
    int LineStep() const;
    int ScrollRange() const;

    TRpPageAvailableEvent OnPageAvailable;
    TRpProgressUpdateEvent OnProgressUpdate;
    TRpJobReleasedEvent OnJobReleased;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The page image's size in pixels at zoom 100 and the paper in tenths of a millimetre.
    QSize PagePixels() const;
    QSize PaperTenths() const;
    long double FactorX() const;
    long double FactorY() const;
    void LayoutPage();
    void UpdateScrollBars();
    void PlaceImage();
    void PageAvailable(int pageCount);

    TRpPreviewImage *image_;
    TRpPrinter *job_ = nullptr;
    int pageNumber_ = 1;
    int zoom_ = 100;
    TRpZoomState zoomMode_ = TRpZoomState::rpZoomOther;
    QPoint imageOrigin_; // the image's place in the content, before scrolling
};
