// A band of a report: a strip the width of the page that holds printables and renders them
// in their creation order at the run's print position.
#pragma once

#include "platform/Canvas.h"
#include "report/RpFrame.h"
#include "report/RpPrintable.h"
#include "report/RpUnits.h"

#include <QString>

#include <memory>
#include <vector>

class TRpReport;

enum class TRpBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbWild,
    rbChild
};

class TRpBand {
public:
    TRpBand();
    TRpBand(const TRpBand &) = delete;
    TRpBand &operator=(const TRpBand &) = delete;

    QString Name;
    TRpBandType BandType = TRpBandType::rbDetail;
    platform::TColor Color = platform::clWhite;
    bool TransparentBand = false;
    bool Enabled = true;
    bool AlignToBottom = false;
    bool ForceNewColumn = false;
    bool ForceNewPage = false;
    bool KeepOnOnePage = false;
    bool PreCalculateBandHeight = false;

    TRpFrame &Frame() { return frame_; }
    const TRpFrame &Frame() const { return frame_; }
    TRpBandSize &Size() { return size_; }
    const TRpBandSize &Size() const { return size_; }

    // The font of labels that take their band's font: the band's own, or the report's.
    platform::Font Font() const;
    void SetFont(const platform::Font &font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    // The report's font has changed.
    void ParentFontChanged();

    // Size in design pixels, set from Size.
    int PixelWidth() const { return pixelWidth_; }
    int PixelHeight() const { return pixelHeight_; }
    void SetPixelSize(int width, int height);

    TRpReport *Report() const { return report_; }
    void SetReport(TRpReport *report);

    // Places an item on the band, after the ones already there.
    template <class Item> Item &Add(std::unique_ptr<Item> item) {
        Item &placed = *item;
        Place(std::move(item));
        return placed;
    }
    const std::vector<std::unique_ptr<TRpPrintable>> &Items() const { return items_; }

    // The definition has been loaded: the pixel size follows Size.
    void Loaded() { size_.Loaded(); }

    // Renders the band on the report's device with its top-left corner at (x, y), tenths of
    // a millimetre from the paper's corner: box, enabled items in order, frame.
    void Render(int x, int y);

private:
    void Place(std::unique_ptr<TRpPrintable> item);

    TRpFrame frame_;
    TRpBandSize size_{this};
    platform::Font font_;
    bool parentFont_ = true;
    int pixelWidth_ = 0;
    int pixelHeight_ = 0;
    TRpReport *report_ = nullptr;
    std::vector<std::unique_ptr<TRpPrintable>> items_;
};
