// The base of every report item: a name, a frame, a Size in tenths of a millimetre kept in
// step with the item's bounds in design pixels, and the virtual operations of a run.
#pragma once

#include "platform/Colour.h"
#include "report/RpDevice.h"
#include "report/RpFrame.h"
#include "report/RpUnits.h"

#include <QString>

#include <array>

class TRpBand;
class TRpReport;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TRpExportType { exptText, exptNumeric, exptFormula };

class TRpPrintable {
public:
    virtual ~TRpPrintable() = default;
    TRpPrintable(const TRpPrintable &) = delete;
    TRpPrintable &operator=(const TRpPrintable &) = delete;

    const QString &Name() const { return name_; }
    virtual void SetName(const QString &name) { name_ = name; }
    int Tag = 0;
    int XLColumn = 0; // spreadsheet export only
    TRpExportType ExportAs = TRpExportType::exptText;

    // Bounds in design pixels (screen pixels at the report's zoom).
    int Left() const { return bounds_[0]; }
    int Top() const { return bounds_[1]; }
    int Width() const { return bounds_[2]; }
    int Height() const { return bounds_[3]; }
    void SetLeft(int left) { SetPixelBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetPixelBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetPixelBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetPixelBounds(Left(), Top(), Width(), height); }
    // The one road of every pixel change: while the Size pushes its values the bounds are
    // taken as they are; while loading they are only remembered; otherwise the Size takes
    // the pixel values.
    void SetPixelBounds(int left, int top, int width, int height);
    // Pixel bounds remembered while loading (left, top, width, height; 0 = none).
    const std::array<int, 4> &PendingBounds() const { return pending_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    // Items are always visible here, so printable means enabled.
    virtual bool IsPrintable() const { return enabled_; }
    // Shown in page images only: a run onto paper leaves the item out.
    bool PreviewOnly() const { return previewOnly_; }
    void SetPreviewOnly(bool previewOnly) { previewOnly_ = previewOnly; }
    // Whether a run on the device draws the item at all.
    bool RendersOn(const TRpDevice *device) const {
        return enabled_ && (!previewOnly_ || (device && device->MakesPageImages()));
    }

    TRpFrame &Frame() { return frame_; }
    const TRpFrame &Frame() const { return frame_; }
    TRpPrintableSize &Size() { return size_; }
    const TRpPrintableSize &Size() const { return size_; }
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor color) { color_ = color; }

    TAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TAlignment alignment);
    bool AlignToBand() const { return alignToBand_; }
    void SetAlignToBand(bool align);
    // With AlignToBand, keeps the item at its band's left edge, right edge or centre.
    virtual void AlignWithinBand();

    TRpBand *Band() const { return band_; }
    TRpReport *Report() const { return report_; }
    // Called by the band or report the item is placed on.
    virtual void PlaceOn(TRpBand *band, TRpReport *report);
    // The font of the band or report the item sits on has changed.
    virtual void ParentFontChanged() {}

    // Loading from a definition: between the two, pixel changes only fill PendingBounds.
    void BeginLoading() { loading_ = true; }
    bool Loading() const { return loading_; }
    virtual void Loaded();

    // A run: BeginRun marks the item as rendering and captures the report's device.
    virtual void BeginRun();
    virtual void EndRun();
    bool Rendering() const { return rendering_; }
    TRpDevice *Device() const { return device_; }
    // Draws the item with its band's origin at (offsetX, offsetY), tenths of a millimetre.
    virtual void RenderItem(int offsetX, int offsetY) = 0;

protected:
    TRpPrintable(int newWidth, int newHeight);
    // After the item's pixel bounds have changed.
    virtual void BoundsChanged(int oldWidth, int oldHeight);
    // Whether rendering may draw at all.
    bool DrawsOnCanvas() const;
    // The captured device; a rendering before any BeginRun begins the run first.
    TRpDevice *RunDevice();
    // Page rectangle of the item at a band origin, in tenths of a millimetre.
    struct PageBox {
        long double left, top, right, bottom;
    };
    PageBox BoxAt(int offsetX, int offsetY) const;

private:
    QString name_;
    std::array<int, 4> bounds_{0, 0, 0, 0};
    std::array<int, 4> pending_{0, 0, 0, 0};
    bool enabled_ = true;
    bool previewOnly_ = false;
    TRpFrame frame_;
    TRpPrintableSize size_{this};
    platform::TColor color_ = platform::clWhite;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool alignToBand_ = false;
    bool aligning_ = false;
    TRpBand *band_ = nullptr;
    TRpReport *report_ = nullptr;
    bool loading_ = false;
    bool rendering_ = false;
    TRpDevice *device_ = nullptr;
};
