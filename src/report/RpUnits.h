// Geometry holders of a report: every length is kept in tenths of a millimetre (Native) as
// an extended-precision number and read and written in the holder's Units.
#pragma once

#include "report/RpTypes.h"

#include <vector>

class TRpReport;
class TRpPrintable;
class TRpBand;

enum class TRpDirection { Across, Down };

// The numbers a conversion depends on besides the value itself.
struct TRpUnitScale {
    int ScreenDpi = 96;
    int Zoom = 100;      // percent
    int FontPoints = 10; // the report font's size, for Characters
};

// A value given in unit as tenths of a millimetre, and back; computed in extended
// precision in the order of the conversion table, without rounding.
long double NativeToUnit(TRpUnit unit, TRpDirection direction, long double value,
                         const TRpUnitScale &scale);
long double UnitToNative(TRpUnit unit, TRpDirection direction, long double value,
                         const TRpUnitScale &scale);

// The unit new report objects are designed in: Inches where the locale measures in the U.S.
// system, otherwise millimetres. Read once.
TRpUnit DefaultUnits();

class TRpUnitBase {
public:
    virtual ~TRpUnitBase() = default;
    TRpUnitBase(const TRpUnitBase &) = delete;
    TRpUnitBase &operator=(const TRpUnitBase &) = delete;

    long double NativeToUnit(TRpUnit unit, TRpDirection direction, long double value) const;
    long double UnitToNative(TRpUnit unit, TRpDirection direction, long double value) const;

    TRpUnit Units() const { return units_; }
    virtual void SetUnits(TRpUnit units) { units_ = units; }

    // Switches a holder's units for the length of a scope and then restores them. Each
    // switch keeps its own previous units, so switches may nest.
    class UnitsSwitch {
    public:
        UnitsSwitch(TRpUnitBase &holder, TRpUnit units)
            : holder_(holder), previous_(holder.units_) {
            holder_.units_ = units;
        }
        ~UnitsSwitch() { holder_.units_ = previous_; }
        UnitsSwitch(const UnitsSwitch &) = delete;
        UnitsSwitch &operator=(const UnitsSwitch &) = delete;

    private:
        TRpUnitBase &holder_;
        TRpUnit previous_;
    };

    int Zoom() const { return zoom_; }
    void SetZoom(int zoom) { zoom_ = zoom; }
    int ScreenDpi() const { return screenDpi_; }
    TRpReport *Report() const { return report_; }
    void SetReport(TRpReport *report) { report_ = report; }
    bool PushingBounds() const { return pushingBounds_; }

    // The stored form: the values in index order, in tenths of a millimetre.
    const std::vector<long double> &Values() const { return values_; }
    // Takes stored values unchanged; the count must be the holder's.
    virtual void ReadValues(const std::vector<long double> &values);
    long double Native(int index) const { return values_[std::size_t(index)]; }

    // The owner's definition has been loaded.
    void Loaded() { PushPixelBounds(); }
    // Applies the values to the owner as whole screen pixels.
    virtual void PushPixelBounds() = 0;

protected:
    TRpUnitBase(TRpReport *report, std::vector<TRpDirection> directions,
                std::vector<long double> initial);
    long double Read(int index) const;
    void Store(int index, long double value);
    void StoreNative(int index, long double value) { values_[std::size_t(index)] = value; }
    int PixelsOf(int index) const;

    // Holds PushingBounds for the length of a push.
    class Pushing {
    public:
        explicit Pushing(TRpUnitBase &holder) : holder_(holder) { holder_.pushingBounds_ = true; }
        ~Pushing() { holder_.pushingBounds_ = false; }
        Pushing(const Pushing &) = delete;
        Pushing &operator=(const Pushing &) = delete;

    private:
        TRpUnitBase &holder_;
    };

private:
    TRpUnitScale scale() const;

    int screenDpi_;
    TRpUnit units_;
    TRpReport *report_;
    bool pushingBounds_ = false;
    int zoom_ = 100;
    std::vector<TRpDirection> directions_;
    std::vector<long double> values_;
};

// A band's Size: Height and Width; the band's place on the page is the run's.
class TRpBandSize final : public TRpUnitBase {
public:
    enum Index { HeightIndex, WidthIndex };
    explicit TRpBandSize(TRpBand *owner);

    long double Height() const { return Read(HeightIndex); }
    long double Width() const { return Read(WidthIndex); }
    void SetHeight(long double value);
    void SetWidth(long double value);
    long double NativeHeight() const { return Native(HeightIndex); }
    long double NativeWidth() const { return Native(WidthIndex); }

    void PushPixelBounds() override;

private:
    TRpBand *owner_;
};

// A printable's Size: Height, Left, Top, Width, with Left and Top counted from the top-left
// corner of the band (or report) the printable sits on.
class TRpPrintableSize final : public TRpUnitBase {
public:
    enum Index { HeightIndex, LeftIndex, TopIndex, WidthIndex };
    explicit TRpPrintableSize(TRpPrintable *owner);

    long double Height() const { return Read(HeightIndex); }
    long double Left() const { return Read(LeftIndex); }
    long double Top() const { return Read(TopIndex); }
    long double Width() const { return Read(WidthIndex); }
    void SetHeight(long double value) { Write(HeightIndex, value); }
    void SetLeft(long double value) { Write(LeftIndex, value); }
    void SetTop(long double value) { Write(TopIndex, value); }
    void SetWidth(long double value) { Write(WidthIndex, value); }
    long double NativeHeight() const { return Native(HeightIndex); }
    long double NativeLeft() const { return Native(LeftIndex); }
    long double NativeTop() const { return Native(TopIndex); }
    long double NativeWidth() const { return Native(WidthIndex); }

    void PushPixelBounds() override;

private:
    void Write(Index index, long double value);

    TRpPrintable *owner_;
};
