// Where a report run draws: a drawing surface and the mapping from page positions in tenths
// of a millimetre to the surface's device pixels. The job of a run implements TRpDevice.
#pragma once

#include "platform/Canvas.h"
#include "report/RpCalibration.h"
#include "report/RpTypes.h"

// The factor both directions start with, and the one a device that reports a useless
// resolution gets instead: 96 dots per inch in pixels per tenth of a millimetre.
constexpr long double DefaultPixelsPerTenth = 0.37795L;

struct TRpDeviceMapping {
    long double PixelsPerTenthX = DefaultPixelsPerTenth;
    long double PixelsPerTenthY = DefaultPixelsPerTenth;
    int LeftUnprintable = 0; // tenths of a millimetre from the paper's left edge
    int TopUnprintable = 0;  // tenths of a millimetre from the paper's top edge
    // The printer's registration error, corrected in the last step: every rule of the
    // report has placed the item before. None for page images.
    TRpCalibration Correction;

    // Device pixels per tenth of a millimetre at a resolution in dots per inch.
    static long double PixelsPerTenth(int dpi) { return (long double)dpi / 254; }
    // Device pixels (an unprintable offset, a physical paper size) in whole tenths of a
    // millimetre: round(pixels / dpi x 254).
    static int PixelsToTenths(int pixels, int dpi) {
        return int(RoundHalfEven((long double)pixels / dpi * 254));
    }
    // A page image or a screen: no unprintable margins, both factors dpi / 254.
    static TRpDeviceMapping ForResolution(int dpi) {
        return {PixelsPerTenth(dpi), PixelsPerTenth(dpi), 0, 0};
    }

    // A page position, counted from the paper's top-left corner, as a device column or row.
    int DeviceX(long double x) const {
        return int(RoundHalfEven((Correction.X.Corrected(x) - LeftUnprintable) * PixelsPerTenthX));
    }
    int DeviceY(long double y) const {
        return int(RoundHalfEven((Correction.Y.Corrected(y) - TopUnprintable) * PixelsPerTenthY));
    }
    // A length across or down in device pixels.
    int LengthX(long double length) const {
        return int(RoundHalfEven(Correction.X.CorrectedLength(length) * PixelsPerTenthX));
    }
    int LengthY(long double length) const {
        return int(RoundHalfEven(Correction.Y.CorrectedLength(length) * PixelsPerTenthY));
    }
};

class TRpDevice {
public:
    virtual ~TRpDevice() = default;
    // The surface of the page being drawn.
    virtual platform::Canvas &Canvas() = 0;
    virtual const TRpDeviceMapping &Mapping() const = 0;
    // Whether the pages become page images (a preview) rather than paper.
    virtual bool MakesPageImages() const { return false; }
};
