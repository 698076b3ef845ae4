#include "SheetStore.h"

#include "settings/uRegistry.h"

#include <bit>

namespace {

const QString Section = QStringLiteral("Arkusz");

QString ValueName(int sheetLayout) {
    return QStringLiteral("Wykorzystane%1").arg(TSheetState::PositionCount(sheetLayout));
}

} // namespace

bool TSheetState::Used(int position) const {
    return position >= 1 && position <= PositionCount(layout_) && (used_ >> (position - 1) & 1u);
}

TSheetState TSheetState::With(int position, bool used) const {
    if (position < 1 || position > PositionCount(layout_))
        return *this;
    const quint32 bit = 1u << (position - 1);
    return TSheetState(layout_, used ? used_ | bit : used_ & ~bit);
}

int TSheetState::UsedCount() const {
    return std::popcount(used_);
}

TSheetState ReadSheet(const QString &title, int sheetLayout) {
    const TSettingsValue stored = ReadFromHKCUkey(title, Section, ValueName(sheetLayout),
                                                  int(TSettingsTag::Integer), TSettingsValue());
    return TSheetState(sheetLayout, quint32(stored.toInt()));
}

void WriteSheet(const QString &title, const TSheetState &sheet) {
    WriteToHKCUkey(title, Section, ValueName(sheet.SheetLayout()),
                   TSettingsValue::Integer(qint32(sheet.Bits())));
}
