#include "RpBand.h"

#include "RpDevice.h"
#include "RpReport.h"

TRpBand::TRpBand() = default;

platform::Font TRpBand::Font() const {
    return parentFont_ && report_ ? report_->Font() : font_;
}

void TRpBand::SetFont(const platform::Font &font) {
    font_ = font;
    parentFont_ = false;
    for (const auto &item : items_)
        item->ParentFontChanged();
}

void TRpBand::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    for (const auto &item : items_)
        item->ParentFontChanged();
}

void TRpBand::ParentFontChanged() {
    if (!parentFont_)
        return;
    for (const auto &item : items_)
        item->ParentFontChanged();
}

void TRpBand::SetPixelSize(int width, int height) {
    pixelWidth_ = width;
    pixelHeight_ = height;
}

void TRpBand::SetReport(TRpReport *report) {
    report_ = report;
    size_.SetReport(report);
    if (report) {
        size_.SetUnits(report->Units());
        size_.SetZoom(report->Zoom());
    }
    for (const auto &item : items_)
        item->PlaceOn(this, report);
}

void TRpBand::Place(std::unique_ptr<TRpPrintable> item) {
    items_.push_back(std::move(item));
    items_.back()->PlaceOn(this, report_);
}

void TRpBand::Render(int x, int y) {
    if (!Enabled || pixelHeight_ == 0 || !report_)
        return;
    TRpDevice *device = report_->Device();
    const long double right = x + size_.NativeWidth();
    const long double bottom = y + size_.NativeHeight();
    if (device && report_->DrawsOnCanvas() && !TransparentBand) {
        const TRpDeviceMapping &mapping = device->Mapping();
        platform::Canvas &canvas = device->Canvas();
        canvas.setBrush({Color, platform::BrushStyle::Solid});
        canvas.FillRect(mapping.DeviceX(x), mapping.DeviceY(y), mapping.DeviceX(right),
                        mapping.DeviceY(bottom));
    }
    for (const auto &item : items_)
        if (item->RendersOn(device))
            item->RenderItem(x, y);
    if (device && report_->DrawsOnCanvas())
        frame_.Draw(device->Canvas(), device->Mapping(), x, y, right, bottom);
}
