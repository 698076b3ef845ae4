// The report's Page: paper, orientation, margins and columns, in tenths of a millimetre.
#pragma once

#include "report/RpUnits.h"

class TRpPage final : public TRpUnitBase {
public:
    enum Index {
        BottomMarginIndex,
        LengthIndex,
        TopMarginIndex,
        WidthIndex,
        LeftMarginIndex,
        RightMarginIndex,
        ColumnSpaceIndex
    };
    explicit TRpPage(TRpReport *report);

    long double BottomMargin() const { return Read(BottomMarginIndex); }
    long double Length() const { return Read(LengthIndex); }
    long double TopMargin() const { return Read(TopMarginIndex); }
    long double Width() const { return Read(WidthIndex); }
    long double LeftMargin() const { return Read(LeftMarginIndex); }
    long double RightMargin() const { return Read(RightMarginIndex); }
    long double ColumnSpace() const { return Read(ColumnSpaceIndex); }

    void SetBottomMargin(long double value);
    // Length and Width are taken only for a Custom paper.
    void SetLength(long double value);
    void SetWidth(long double value);
    void SetTopMargin(long double value) { Store(TopMarginIndex, value); }
    void SetLeftMargin(long double value) { Store(LeftMarginIndex, value); }
    void SetRightMargin(long double value) { Store(RightMarginIndex, value); }
    void SetColumnSpace(long double value) { Store(ColumnSpaceIndex, value); }

    TRpPaperSize PaperSize() const { return paperSize_; }
    // A named size first takes its width and length from the paper table.
    void SetPaperSize(TRpPaperSize size);
    TRpOrientation Orientation() const { return orientation_; }
    void SetOrientation(TRpOrientation orientation);
    int Columns() const { return columns_; }
    void SetColumns(int columns);
    bool Ruler = true;
    bool Continuous = false;

    void ReadValues(const std::vector<long double> &values) override;
    void PushPixelBounds() override;

private:
    TRpPaperSize paperSize_ = TRpPaperSize::A4;
    TRpOrientation orientation_ = TRpOrientation::Portrait;
    int columns_ = 1;
};
