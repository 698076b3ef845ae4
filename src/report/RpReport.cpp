#include "RpReport.h"

#include "RpPrinterSettings.h"
#include "RpPrntr.h"

#include "platform/Screen.h"
#include "platform/Service.h"

TRpReport::TRpReport()
    : printerSettings_(std::make_unique<TRpReportPrinterSettings>()),
      screenDpi_(platform::ScreenDpi()),
      measurer_(platform::Service<platform::TextMeasurer>::get()) {
    page_.PushPixelBounds();
}

TRpReport::~TRpReport() {
    // The job may still look at its report while it goes; let it go first.
    rpPrinter_.reset();
}

void TRpReport::SetUnits(TRpUnit units) {
    page_.SetUnits(units);
    for (const auto &band : bands_)
        band->Size().SetUnits(units);
    ForEachPrintable([units](TRpPrintable &item) { item.Size().SetUnits(units); });
}

void TRpReport::SetZoom(int zoom) {
    if (zoom < 1 || zoom > 300)
        return;
    zoom_ = zoom;
    page_.SetZoom(zoom);
    for (const auto &band : bands_)
        band->Size().SetZoom(zoom);
    ForEachPrintable([zoom](TRpPrintable &item) { item.Size().SetZoom(zoom); });
}

void TRpReport::SetFont(const platform::Font &font) {
    font_ = font;
    for (const auto &band : bands_)
        band->ParentFontChanged();
    for (const auto &item : items_)
        item->ParentFontChanged();
}

TRpBand &TRpReport::AddBand(std::unique_ptr<TRpBand> band) {
    bands_.push_back(std::move(band));
    bands_.back()->SetReport(this);
    return *bands_.back();
}

TRpBand *TRpReport::FindBand(TRpBandType type) const {
    for (const auto &band : bands_)
        if (band->BandType == type)
            return band.get();
    return nullptr;
}

void TRpReport::PlaceItem(std::unique_ptr<TRpPrintable> item) {
    items_.push_back(std::move(item));
    items_.back()->PlaceOn(nullptr, this);
}

TRpPrintable *TRpReport::FindItem(const QString &name) const {
    TRpPrintable *found = nullptr;
    ForEachPrintable([&](TRpPrintable &item) {
        if (!found && item.Name() == name)
            found = &item;
    });
    return found;
}

int TRpReport::LineHeight(const platform::Font &font) const {
    return measurer_.extent(font, QStringLiteral("W")).height();
}

int TRpReport::TextWidth(const platform::Font &font, const QString &text) const {
    return measurer_.extent(font, text).width() + 1;
}

void TRpReport::PrintablesBeginRun() {
    ForEachPrintable([](TRpPrintable &item) { item.BeginRun(); });
}

void TRpReport::PrintablesEndRun() {
    ForEachPrintable([](TRpPrintable &item) { item.EndRun(); });
}

long double TRpReport::PageFooterHeight() const {
    long double height = 0;
    for (const auto &band : bands_)
        if (band->BandType == TRpBandType::rbPageFooter && band->Enabled)
            height += band->Size().NativeHeight();
    return height;
}
