#include "RpPrintable.h"

#include "RpBand.h"
#include "RpReport.h"

TRpPrintable::TRpPrintable(int newWidth, int newHeight) {
    SetPixelBounds(0, 0, newWidth, newHeight);
}

void TRpPrintable::SetPixelBounds(int left, int top, int width, int height) {
    if (size_.PushingBounds()) {
        const int oldWidth = Width();
        const int oldHeight = Height();
        const std::array<int, 4> bounds{left, top, width, height};
        if (bounds != bounds_) {
            bounds_ = bounds;
            BoundsChanged(oldWidth, oldHeight);
        }
        return;
    }
    if (loading_) {
        const std::array<int, 4> given{left, top, width, height};
        for (std::size_t i = 0; i < given.size(); ++i)
            if (given[i] != 0)
                pending_[i] = given[i];
        return;
    }
    {
        TRpUnitBase::UnitsSwitch pixels(size_, TRpUnit::Pixels);
        // Exact comparisons: a value off the pixel grid is put on it.
        if (size_.Height() != height)
            size_.SetHeight(height);
        if (size_.Width() != width)
            size_.SetWidth(width);
        if (size_.Top() != top)
            size_.SetTop(top);
        if (size_.Left() != left)
            size_.SetLeft(left);
    }
    if (alignToBand_)
        AlignWithinBand();
}

void TRpPrintable::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    AlignWithinBand();
}

void TRpPrintable::SetAlignToBand(bool align) {
    alignToBand_ = align;
    AlignWithinBand();
}

void TRpPrintable::AlignWithinBand() {
    if (!alignToBand_ || aligning_)
        return;
    aligning_ = true;
    switch (alignment_) {
    case TAlignment::taLeftJustify:
        SetLeft(0);
        break;
    case TAlignment::taRightJustify:
        if (band_)
            SetLeft(band_->PixelWidth() - Width());
        break;
    case TAlignment::taCenter:
        if (band_)
            SetLeft((band_->PixelWidth() - Width()) / 2);
        break;
    }
    aligning_ = false;
}

void TRpPrintable::PlaceOn(TRpBand *band, TRpReport *report) {
    band_ = band;
    report_ = report;
    size_.SetReport(report);
    if (band) {
        size_.SetUnits(band->Size().Units());
        size_.SetZoom(band->Size().Zoom());
    } else if (report) {
        size_.SetUnits(report->Units());
        size_.SetZoom(report->Zoom());
    }
}

void TRpPrintable::Loaded() {
    loading_ = false;
    size_.Loaded();
    // Stored pixel bounds count only where the stored Size gives a pixel value of 0.
    if (Left() == 0 && pending_[0] != 0)
        SetPixelBounds(pending_[0], Top(), Width(), Height());
    if (Top() == 0 && pending_[1] != 0)
        SetPixelBounds(Left(), pending_[1], Width(), Height());
    if (Width() == 0 && pending_[2] != 0)
        SetPixelBounds(Left(), Top(), pending_[2], Height());
    if (Height() == 0 && pending_[3] != 0)
        SetPixelBounds(Left(), Top(), Width(), pending_[3]);
}

void TRpPrintable::BeginRun() {
    rendering_ = true;
    device_ = report_ ? report_->Device() : nullptr;
}

void TRpPrintable::EndRun() {
    rendering_ = false;
}

void TRpPrintable::BoundsChanged(int, int) {}

TRpDevice *TRpPrintable::RunDevice() {
    if (!device_)
        BeginRun();
    return device_;
}

bool TRpPrintable::DrawsOnCanvas() const {
    return report_ && report_->DrawsOnCanvas();
}

TRpPrintable::PageBox TRpPrintable::BoxAt(int offsetX, int offsetY) const {
    const long double left = offsetX + size_.NativeLeft();
    const long double top = offsetY + size_.NativeTop();
    return {left, top, left + size_.NativeWidth(), top + size_.NativeHeight()};
}
