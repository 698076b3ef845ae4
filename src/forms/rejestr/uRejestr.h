// The window "Rejestr tabliczek": the plates issued, newest first, filtered as the operator
// types and by a range of days; the details of the chosen one; "Drukuj ponownie" hands its
// four texts to the main window, which prints it as any plate; "Eksportuj CSV…" writes what
// is shown to a file.
#pragma once

#include "register/PlateRegister.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TRegisterModel;

class TfRejestr : public QDialog {
    Q_OBJECT
public:
    // Opens the register; raises its error when it cannot be read.
    explicit TfRejestr(QWidget *parent = nullptr);
    ~TfRejestr() override;

    // Run with the chosen plate's four texts when "Drukuj ponownie" is pressed.
    std::function<void(const std::array<QString, 4> &)> OnReprint;

    TRegisterModel &Model() const { return *model_; }
    void ReprintClick();
    void ExportClick();

private:
    void FilterChanged();
    void SelectionChanged();

    std::unique_ptr<TRegisterReader> reader_;
    TRegisterModel *model_ = nullptr;
    QLineEdit *EditSzukaj = nullptr;
    QCheckBox *CheckOd = nullptr;
    QDateEdit *DateOd = nullptr;
    QCheckBox *CheckDo = nullptr;
    QDateEdit *DateDo = nullptr;
    QTableView *TableRejestr = nullptr;
    QLabel *LabelSzczegoly = nullptr;
    QPushButton *BitBtnPonownie = nullptr;
};
