// Printer calibration: the two sheets an operator measures, the readings taken from them, the
// correction they give, and the stored correction as a print job applies it.
//
// The model per axis: the printer puts a designed page position p at a + b·p. The calibration
// sheet, printed without correction, has two marks per axis far apart; their readings give a
// and b. The check sheet, printed with the stored correction, has its marks elsewhere, so its
// readings can never pass for a calibration sheet's (the fit would be off by more than any
// printer is) nor the other way round; its readings tell the error that remains, and compose
// with the stored correction to refine it. Neither sheet reads as plausible turned half round
// or measured from the other edge: the marks stand asymmetrically on the paper.
#pragma once

#include "report/RpCalibration.h"
#include "settings/PrinterCalibrationStore.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

enum class TCalibrationSheet { Calibration, Check };

// Where each sheet's marks are designed, in millimetres from the paper's left edge (A, B)
// and top edge (C, D).
constexpr std::array<double, 4> CalibrationMarks{20, 180, 20, 267};
constexpr std::array<double, 4> CheckMarks{30, 170, 30, 257};
constexpr std::array<const char *, 4> CalibrationMarkNames{"A", "B", "C", "D"};
const std::array<double, 4> &MarksOf(TCalibrationSheet sheet);

// A check reading within this of its mark means the calibration holds.
constexpr double CheckToleranceMm = 0.2;

// The readings as typed, in the order A, B, C, D.
using CalibrationReadings = std::array<QString, 4>;

// A reading as an operator types it: millimetres with a decimal comma or point, a sign (the
// true minus too), spaces and a trailing "mm" allowed; no exponent. None when it is not that.
std::optional<double> ParseReading(const QString &typed);

// What a sheet's readings say. On a calibration sheet: the printer's registration error,
// stored as the correction. On a check sheet: the error that remains under the correction it
// was printed with, and that correction refined by it. When the readings do not make sense,
// a Polish message that says why, and the field to go to.
struct TReadingsVerdict {
    std::optional<TCalibrationValues> values; // the correction to store; none when refused
    QString message;                          // empty when the readings are plausible
    int field = -1;                           // 0–3: the field at fault
    std::array<double, 4> remaining{};        // check sheet: each mark's error, millimetres
    bool correct = false; // check sheet: every mark within CheckToleranceMm
};

TReadingsVerdict JudgeReadings(TCalibrationSheet sheet, const CalibrationReadings &typed,
                               const TCalibrationValues &printedWith = {});

// What the printer does along one axis and that Merovan corrects it, in plain words:
// "Poziomo: drukarka przesuwa wydruk o 1,32 mm w prawo i rozciąga go o 1,18 ‰ — Merovan to
// koryguje."
QString DescribeAxis(bool across, qint32 shiftMicrometres, qint32 stretchPpm);
// Both axes of a stored correction, with the day it was saved; says so when there is none.
QString DescribeStored(const TStoredCalibration &stored);
// One line on whether a printer is calibrated and since when, for the printer list.
QString CalibrationNote(const QString &printer);

// The stored correction of a printer (all zero: none) and when it was saved, and its saving
// (dated today) and removal, which raise the store's error.
TStoredCalibration StoredCalibration(const QString &printer);
void SaveCalibration(const QString &printer, const TCalibrationValues &values);
void RemoveCalibration(const QString &printer);
// The stored correction as a print job applies it.
TRpCalibration StoredCorrection(const QString &printer);
