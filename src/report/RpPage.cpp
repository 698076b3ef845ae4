#include "RpPage.h"

#include "RpReport.h"

#include <utility>

namespace {

// New pages have margins of 10 mm, or half an inch where inches are the default unit.
long double DefaultMargin() {
    return DefaultUnits() == TRpUnit::Inches ? 127 : 100;
}

} // namespace

TRpPage::TRpPage(TRpReport *report)
    : TRpUnitBase(
          report,
          {TRpDirection::Down, TRpDirection::Down, TRpDirection::Down, TRpDirection::Across,
           TRpDirection::Across, TRpDirection::Across, TRpDirection::Across},
          {DefaultMargin(), 2970, DefaultMargin(), 2100, DefaultMargin(), DefaultMargin(), 0}) {}

void TRpPage::SetBottomMargin(long double value) {
    Store(BottomMarginIndex, value);
    PushPixelBounds();
}

void TRpPage::SetLength(long double value) {
    if (paperSize_ != TRpPaperSize::Custom)
        return;
    Store(LengthIndex, value);
    PushPixelBounds();
}

void TRpPage::SetWidth(long double value) {
    if (paperSize_ != TRpPaperSize::Custom)
        return;
    Store(WidthIndex, value);
    PushPixelBounds();
}

void TRpPage::SetPaperSize(TRpPaperSize size) {
    if (size != TRpPaperSize::Default && size != TRpPaperSize::Custom) {
        const PaperDimensions paper = PaperOf(size);
        long double width = paper.width;
        long double length = paper.length;
        if (orientation_ == TRpOrientation::Landscape)
            std::swap(width, length);
        // The table is in millimetres whatever the page's units.
        UnitsSwitch millimetres(*this, TRpUnit::MM);
        Store(WidthIndex, width);
        PushPixelBounds();
        Store(LengthIndex, length);
        PushPixelBounds();
    }
    paperSize_ = size;
}

void TRpPage::SetOrientation(TRpOrientation orientation) {
    if (paperSize_ == TRpPaperSize::Custom && orientation != orientation_) {
        const long double width = Native(WidthIndex);
        StoreNative(WidthIndex, Native(LengthIndex));
        StoreNative(LengthIndex, width);
        PushPixelBounds();
    }
    orientation_ = orientation;
    SetPaperSize(paperSize_);
}

void TRpPage::SetColumns(int columns) {
    if (columns <= 0 || columns == columns_)
        return;
    columns_ = columns;
}

void TRpPage::ReadValues(const std::vector<long double> &values) {
    TRpUnitBase::ReadValues(values);
    PushPixelBounds();
}

void TRpPage::PushPixelBounds() {
    if (PushingBounds() || !Report())
        return;
    Pushing pushing(*this);
    Report()->SetPixelWidth(PixelsOf(WidthIndex));
    Report()->SetPixelHeight(PixelsOf(LengthIndex));
}
