// Each printer's registration correction in the settings store: section "Kalibracja", a key
// per printer under the printer's name made safe for a key path, four exact integers.
#pragma once

#include <QString>
#include <QtGlobal>

struct TCalibrationValues {
    qint32 ShiftXMicrometres = 0;
    qint32 StretchXPpm = 0;
    qint32 ShiftYMicrometres = 0;
    qint32 StretchYPpm = 0;
    friend bool operator==(const TCalibrationValues &, const TCalibrationValues &) = default;
};

// The largest correction that is plausible: a printer off by more than 5 mm or stretching
// by more than 2 % is misread or broken, not misregistered.
constexpr qint32 MaxShiftMicrometres = 5000;
constexpr qint32 MaxStretchPpm = 20000;

// The printer's name as one key: letters, digits, '-', '_' and '.' stay, every other byte of
// its UTF-8 form becomes %XX, so no name can reach another key or nest one.
QString CalibrationKeyName(const QString &printer);

// The stored correction; all zero (none) when any value is missing, unreadable or beyond the
// plausible.
TCalibrationValues ReadCalibration(const QString &title, const QString &printer);
// All four values in one write: a refused write leaves the earlier correction whole. Raise the
// store's error when it refuses.
void WriteCalibration(const QString &title, const QString &printer,
                      const TCalibrationValues &values);
void DeleteCalibration(const QString &title, const QString &printer);
