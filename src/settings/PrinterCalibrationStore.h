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

// The printer's name as one key: letters, digits, '-', '_' and '.' stay, every other byte of
// its UTF-8 form becomes %XX, so no name can reach another key or nest one.
QString CalibrationKeyName(const QString &printer);

// The stored correction; all zero (none) when any value is missing or unreadable.
TCalibrationValues ReadCalibration(const QString &title, const QString &printer);
// Raise the store's error when it refuses the write.
void WriteCalibration(const QString &title, const QString &printer,
                      const TCalibrationValues &values);
void DeleteCalibration(const QString &title, const QString &printer);
