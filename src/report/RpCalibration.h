// A printer's registration error and its correction. Along each axis the printer puts a
// designed page position p at a + b·p (a shift a, a stretch b); a job corrected for it
// sends (p − a) / b, so the paper shows p. Stored as exact integers.
#pragma once

#include <QtGlobal>

struct TRpAxisCalibration {
    qint32 ShiftMicrometres = 0; // a
    qint32 StretchPpm = 0;       // b − 1, parts per million

    long double ShiftTenths() const { return (long double)ShiftMicrometres / 100; }
    long double Stretch() const { return 1 + (long double)StretchPpm / 1000000; }
    bool IsIdentity() const { return ShiftMicrometres == 0 && StretchPpm == 0; }
    // The position to send for a page position, both in tenths of a millimetre.
    long double Corrected(long double position) const {
        return IsIdentity() ? position : (position - ShiftTenths()) / Stretch();
    }
    long double CorrectedLength(long double length) const {
        return IsIdentity() ? length : length / Stretch();
    }
    friend bool operator==(const TRpAxisCalibration &, const TRpAxisCalibration &) = default;
};

struct TRpCalibration {
    TRpAxisCalibration X, Y;
    bool IsIdentity() const { return X.IsIdentity() && Y.IsIdentity(); }
    friend bool operator==(const TRpCalibration &, const TRpCalibration &) = default;
};
