// The printer calibration dialog "Kalibracja drukarki": choose a printer, print the
// calibration sheet, type the four readings, see the correction they give, save it, print the
// sheet again with it to check, or remove it. Opened from the main window's printer list and
// as a program of its own.
#pragma once

#include "forms/Calibration.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TfKalibracja : public QDialog {
    Q_OBJECT
public:
    // Opens on the printer of that position in the printer list (the first when none).
    explicit TfKalibracja(int printerIndex = 0, QWidget *parent = nullptr);
    ~TfKalibracja() override;

    void PrintSheet(bool corrected);
    void SaveClick();
    void RemoveClick();
    QString Printer() const;

private:
    struct StoredShown {
        TfKalibracja &dialog;
        ~StoredShown() { dialog.ShowStored(); }
    };

    CalibrationReadings Typed() const;
    void ReadingsChanged();
    void ShowStored();

    QComboBox *cbDrukarka = nullptr;
    std::array<QLineEdit *, 4> Readings{};
    QLabel *LabelPoziomo = nullptr;
    QLabel *LabelPionowo = nullptr;
    QLabel *LabelZapisana = nullptr;
};
