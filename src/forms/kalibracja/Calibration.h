// Printer calibration: the four readings an operator takes from the calibration sheet, the
// correction they give, and the stored correction as a print job applies it.
#pragma once

#include "report/RpCalibration.h"
#include "settings/PrinterCalibrationStore.h"

#include <QString>

#include <array>
#include <variant>

// Where the sheet's marks are designed, in millimetres from the paper's left edge (A, B)
// and top edge (C, D).
constexpr std::array<double, 4> CalibrationMarks{20, 190, 20, 277};
constexpr std::array<const char *, 4> CalibrationMarkNames{"A", "B", "C", "D"};

// The readings as typed, in millimetres (comma or dot), in the order A, B, C, D.
using CalibrationReadings = std::array<QString, 4>;

// The correction the readings give, or the Polish message that names the field at fault:
// a reading that is no number, a shift beyond 5 mm, a stretch beyond 2 %.
std::variant<TCalibrationValues, QString> CalibrationFromReadings(const CalibrationReadings &r);

// "przesunięcie +1,23 mm, rozciągnięcie −0,45 ‰" for one axis of a correction.
QString DescribeAxis(qint32 shiftMicrometres, qint32 stretchPpm);

// The stored correction of a printer (all zero: none), and its saving and removal, which
// raise the store's error.
TCalibrationValues StoredCalibration(const QString &printer);
void SaveCalibration(const QString &printer, const TCalibrationValues &values);
void RemoveCalibration(const QString &printer);
// The stored correction as a print job applies it.
TRpCalibration StoredCorrection(const QString &printer);
