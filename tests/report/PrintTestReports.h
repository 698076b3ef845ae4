// Reports for the print and preview tests: pages of one band each, with black rectangles
// and words at known page positions, in tenths of a millimetre.
#pragma once

#include "report/RpCtrls.h"
#include "report/RpPrinterSettings.h"
#include "report/RpReport.h"

#include <memory>

namespace print_test {

// A report whose geometry is read and written in tenths of a millimetre.
inline std::unique_ptr<TRpReport> NativeReport(const QString &title) {
    auto report = std::make_unique<TRpReport>();
    report->SetUnits(TRpUnit::Native);
    report->ReportTitle = title;
    return report;
}

inline TRpBand &AddBand(TRpReport &report, TRpBandType type, long double height) {
    auto band = std::make_unique<TRpBand>();
    band->BandType = type;
    TRpBand &added = report.AddBand(std::move(band));
    added.Size().SetWidth(1900);
    added.Size().SetHeight(height);
    return added;
}

// A black rectangle on a band, its box counted from the band's corner.
inline TRpShape &AddRectangle(TRpBand &band, long double left, long double top, long double width,
                              long double height) {
    TRpShape &shape = band.Add(std::make_unique<TRpShape>());
    shape.Brush = {platform::clBlack, platform::BrushStyle::Solid};
    shape.Pen = {platform::clBlack, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
    shape.Size().SetLeft(left);
    shape.Size().SetTop(top);
    shape.Size().SetWidth(width);
    shape.Size().SetHeight(height);
    return shape;
}

inline TRpLabel &AddWord(TRpBand &band, const QString &word, long double left, long double top) {
    TRpLabel &label = band.Add(std::make_unique<TRpLabel>());
    label.Transparent = true;
    label.SetFont({QStringLiteral("Arial"), 12});
    label.SetCaption(word);
    label.Size().SetLeft(left);
    label.Size().SetTop(top);
    return label;
}

// One page per band: a title band, then a detail and a summary band too tall to share a
// page, each with one rectangle.
inline std::unique_ptr<TRpReport> PagesReport(int pages, const QString &title = "Pages") {
    auto report = NativeReport(title);
    const TRpBandType types[] = {TRpBandType::rbTitle, TRpBandType::rbDetail,
                                 TRpBandType::rbSummary};
    for (int i = 0; i < pages && i < 3; ++i)
        AddRectangle(AddBand(*report, types[i], 2000), 100 * (i + 1), 200, 300, 400);
    return report;
}

} // namespace print_test
