// Where bands land on the page during a run: the print position and whether a band fits,
// in whole tenths of a millimetre from the paper's top-left corner.
#pragma once

#include "report/RpPage.h"

// The print position at the left and top margins: round(LeftMargin), round(TopMargin).
inline int MarginX(const TRpPage &page) {
    return int(RoundHalfEven(page.Native(TRpPage::LeftMarginIndex)));
}
inline int MarginY(const TRpPage &page) {
    return int(RoundHalfEven(page.Native(TRpPage::TopMarginIndex)));
}

// Where the page-footer bands begin: round(Length - BottomMargin - footer allowance).
inline int FooterY(const TRpPage &page, long double footerAllowance) {
    return int(RoundHalfEven(page.Native(TRpPage::LengthIndex) -
                             page.Native(TRpPage::BottomMarginIndex) - footerAllowance));
}

// A band fits below printY when round(height) <= round(paper length - BottomMargin -
// page-footer heights - printY); paperLength is the paper of the printer settings, as
// oriented.
inline bool BandFits(long double bandHeight, const TRpPage &page, long double paperLength,
                     long double pageFooterHeight, int printY) {
    return RoundHalfEven(bandHeight) <=
           RoundHalfEven(paperLength - page.Native(TRpPage::BottomMarginIndex) - pageFooterHeight -
                         printY);
}

// A band taller than the page's printable length prints where it is.
inline bool BandTallerThanPage(long double bandHeight, const TRpPage &page) {
    return RoundHalfEven(bandHeight) >
           page.Native(TRpPage::LengthIndex) -
               (page.Native(TRpPage::TopMarginIndex) + page.Native(TRpPage::BottomMarginIndex));
}

// The print position below a band: printY + round(height + growth of stretching items).
inline int BelowBand(int printY, long double bandHeight, long double growth = 0) {
    return printY + int(RoundHalfEven(bandHeight + growth));
}
