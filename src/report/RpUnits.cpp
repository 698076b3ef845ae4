#include "RpUnits.h"

#include "RpBand.h"
#include "RpPrintable.h"
#include "RpReport.h"

#include "platform/Application.h"
#include "platform/Locale.h"
#include "platform/Screen.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Tenths of a millimetre per character cell across and down for a font of s points.
long double CharacterWidth(int points) {
    return 80.0L / points / 2.54L;
}
long double CharacterHeight(int points) {
    return 145.3L / points / 2.54L;
}

long double CharacterCell(TRpDirection direction, const TRpUnitScale &scale) {
    const int points = std::max(1, std::abs(scale.FontPoints));
    return direction == TRpDirection::Across ? CharacterWidth(points) : CharacterHeight(points);
}

} // namespace

long double NativeToUnit(TRpUnit unit, TRpDirection direction, long double value,
                         const TRpUnitScale &scale) {
    switch (unit) {
    case TRpUnit::MM:
        return value / 10;
    case TRpUnit::Inches:
        return value / 254;
    case TRpUnit::Pixels:
        return value / (254.0L / scale.ScreenDpi) * scale.Zoom / 100;
    case TRpUnit::Characters:
        return value / CharacterCell(direction, scale) / 10;
    case TRpUnit::Native:
        return value;
    }
    return value;
}

long double UnitToNative(TRpUnit unit, TRpDirection direction, long double value,
                         const TRpUnitScale &scale) {
    switch (unit) {
    case TRpUnit::MM:
        return value * 10;
    case TRpUnit::Inches:
        return value * 254;
    case TRpUnit::Pixels:
        return value * (254.0L / scale.ScreenDpi) / scale.Zoom * 100;
    case TRpUnit::Characters:
        return value * CharacterCell(direction, scale) * 10;
    case TRpUnit::Native:
        return value;
    }
    return value;
}

TRpUnit DefaultUnits() {
    static const TRpUnit units = platform::UsesUsMeasurement() ? TRpUnit::Inches : TRpUnit::MM;
    return units;
}

TRpUnitBase::TRpUnitBase(TRpReport *report, std::vector<TRpDirection> directions,
                         std::vector<long double> initial)
    : screenDpi_(platform::ScreenDpi()), units_(DefaultUnits()), report_(report),
      directions_(std::move(directions)), values_(std::move(initial)) {}

TRpUnitScale TRpUnitBase::scale() const {
    return {screenDpi_, zoom_, report_ ? report_->Font().size : platform::Font{}.size};
}

long double TRpUnitBase::NativeToUnit(TRpUnit unit, TRpDirection direction,
                                      long double value) const {
    return ::NativeToUnit(unit, direction, value, scale());
}

long double TRpUnitBase::UnitToNative(TRpUnit unit, TRpDirection direction,
                                      long double value) const {
    return ::UnitToNative(unit, direction, value, scale());
}

void TRpUnitBase::ReadValues(const std::vector<long double> &values) {
    if (values.size() != values_.size())
        throw platform::Error(QStringLiteral("Values holds %1 numbers where %2 are expected")
                                  .arg(values.size())
                                  .arg(values_.size()));
    values_ = values;
}

long double TRpUnitBase::Read(int index) const {
    return NativeToUnit(units_, directions_[std::size_t(index)], values_[std::size_t(index)]);
}

void TRpUnitBase::Store(int index, long double value) {
    values_[std::size_t(index)] = UnitToNative(units_, directions_[std::size_t(index)], value);
}

int TRpUnitBase::PixelsOf(int index) const {
    return int(RoundHalfEven(NativeToUnit(TRpUnit::Pixels, directions_[std::size_t(index)],
                                          values_[std::size_t(index)])));
}

TRpBandSize::TRpBandSize(TRpBand *owner)
    : TRpUnitBase(nullptr, {TRpDirection::Down, TRpDirection::Across}, {20, 40}), owner_(owner) {}

void TRpBandSize::SetHeight(long double value) {
    Store(HeightIndex, value);
    PushPixelBounds();
}

void TRpBandSize::SetWidth(long double value) {
    Store(WidthIndex, value);
    PushPixelBounds();
}

void TRpBandSize::PushPixelBounds() {
    if (!owner_)
        return;
    Pushing pushing(*this);
    owner_->SetPixelSize(PixelsOf(WidthIndex), PixelsOf(HeightIndex));
}

TRpPrintableSize::TRpPrintableSize(TRpPrintable *owner)
    : TRpUnitBase(
          nullptr,
          {TRpDirection::Down, TRpDirection::Across, TRpDirection::Down, TRpDirection::Across},
          {20, 20, 20, 20}),
      owner_(owner) {}

void TRpPrintableSize::Write(Index index, long double value) {
    Store(index, value);
    PushPixelBounds();
}

void TRpPrintableSize::PushPixelBounds() {
    if (!owner_)
        return;
    Pushing pushing(*this);
    owner_->SetPixelBounds(PixelsOf(LeftIndex), PixelsOf(TopIndex), PixelsOf(WidthIndex),
                           PixelsOf(HeightIndex));
}
