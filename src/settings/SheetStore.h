// The foil sheet now loaded, for each sheet type: which of its positions are already used. A
// position is used once a plate printed on it has completed; the operator can also mark one
// used or free and start a new sheet. Kept in the settings store, section "Arkusz", one
// integer per sheet type whose bit n−1 stands for position n.
#pragma once

#include <QString>
#include <QtGlobal>

class TSheetState {
public:
    // Positions on a sheet, numbered down the left column and then down the right one, as
    // the plates lie on the foil: 1–8 on the 8-position sheet, 1–10 on the other.
    static int PositionCount(int sheetLayout) { return sheetLayout == 0 ? 8 : 10; }

    TSheetState() = default;
    TSheetState(int sheetLayout, quint32 used)
        : layout_(sheetLayout), used_(used & AllOf(sheetLayout)) {}

    int SheetLayout() const { return layout_; }
    quint32 Bits() const { return used_; }
    bool Used(int position) const;
    TSheetState With(int position, bool used) const;
    int UsedCount() const;
    // The sheet has no free position left.
    bool UsedUp() const { return used_ == AllOf(layout_); }
    friend bool operator==(const TSheetState &, const TSheetState &) = default;

private:
    static quint32 AllOf(int sheetLayout) { return (1u << PositionCount(sheetLayout)) - 1; }

    int layout_ = 0;
    quint32 used_ = 0;
};

// The sheet of that type as stored; nothing used when nothing (or nothing readable) is.
TSheetState ReadSheet(const QString &title, int sheetLayout);
// Raises the store's error when it refuses; what it held is then unchanged.
void WriteSheet(const QString &title, const TSheetState &sheet);
