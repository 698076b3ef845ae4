// The printer calibration dialog "Kalibracja drukarki": choose a printer, print the
// calibration sheet, type the four readings, see the correction they give, save it, print the
// sheet again with it to check, or remove it. Opened from the main window's printer list and
// as a program of its own.
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

    TPrinterList *cbDrukarka = nullptr;
    std::array<QLineEdit *, 4> Readings{};
    QLabel *LabelPoziomo = nullptr;
    QLabel *LabelPionowo = nullptr;
    QLabel *LabelZapisana = nullptr;
};
