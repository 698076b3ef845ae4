// Each printer's registration correction in the settings store: section "Kalibracja", a key
// per printer under the printer's name made safe for a key path, four exact integers and the
// day they were saved.
#pragma once

#include <QDate>
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

struct TStoredCalibration {
    TCalibrationValues values;
    QDate date; // invalid when unknown
    bool Stored() const { return values != TCalibrationValues{}; }
};

// The stored correction; all zero (none) when any value is missing, unreadable or beyond the
// plausible.
TStoredCalibration ReadCalibration(const QString &title, const QString &printer);
// All four values and the day in one write: a refused write leaves the earlier correction
// whole. Raise the store's error when it refuses.
void WriteCalibration(const QString &title, const QString &printer,
                      const TCalibrationValues &values, const QDate &date);
void DeleteCalibration(const QString &title, const QString &printer);
