// The printer calibration dialog "Kalibracja drukarki". Two parts, each with the sheet it is
// about: "Kalibracja" prints the calibration sheet, takes its four readings and saves the
// correction they give; "Sprawdzenie" prints the check sheet with the stored correction,
// takes its readings, judges them and may refine the correction. Readings are only ever
// taken against the sheet they came from. Opened from the main window's "Drukarka" menu and
// its printer list, and as a program of its own.
#pragma once

#include "forms/kalibracja/Calibration.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class TPrinterList;

class TfKalibracja : public QDialog {
    Q_OBJECT
public:
    // Opens on the printer of that name (the first listed when it is not listed).
    explicit TfKalibracja(const QString &printer = {}, QWidget *parent = nullptr);
    ~TfKalibracja() override;

    void PrintSheet(TCalibrationSheet sheet);
    // Saves the calibration sheet's correction; or the check sheet's refinement of it.
    void SaveClick(TCalibrationSheet sheet);
    void RemoveClick();
    QString Printer() const;

    // Esc, "Zamknij" and the window's close box: readings typed and not saved are asked about.
    void reject() override;

private:
    struct Part {
        std::array<QLineEdit *, 4> readings{};
        QLabel *result = nullptr;
        QPushButton *print = nullptr;
        QPushButton *save = nullptr;
    };

    QWidget *MakePart(TCalibrationSheet sheet);
    Part &PartOf(TCalibrationSheet sheet) {
        return parts_[sheet == TCalibrationSheet::Calibration ? 0 : 1];
    }
    CalibrationReadings Typed(TCalibrationSheet sheet) const;
    TReadingsVerdict Judge(TCalibrationSheet sheet) const;
    void ShowVerdict(TCalibrationSheet sheet);
    void ShowStored();
    // True when nothing typed would be lost, or the operator says to go anyway.
    bool MayClose();

    TPrinterList *cbDrukarka = nullptr;
    QLabel *LabelZapisana = nullptr;
    QPushButton *BitBtnUsun = nullptr;
    std::array<Part, 2> parts_;
    bool unsaved_ = false;
};
