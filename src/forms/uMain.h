// The main window fMain: the four plate fields, the sheet picker, the printer choice and
// the four command buttons. It restores the operator's last state at its first show and
// saves it when it closes; it lives for the whole run.
#pragma once

#include "platform/Colour.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class TBitBtn;
class TEdit;
class TPanel;
class TPrinterList;
class TRpReport;
class TRadioGroup;
class TShape;

class TfMain : public QWidget {
    Q_OBJECT
public:
    explicit TfMain(QWidget *parent = nullptr);
    ~TfMain() override;

    // Handlers. Each raises what escapes it; the window runs them under the error display.
    void FormShow();
    void FormClose();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void RadioGroup1Click();
    void ShapeMouseDown(TShape *sender); // every marker's mouse-down handler
    void ResetShapeow();
    void Edit1Enter(QWidget *sender);
    void Edit1Exit(QWidget *sender);
    void Edit1KeyDown(QWidget *sender, int key, Qt::KeyboardModifiers shift);

    // The plate print job: mode 0 previews, any other mode prints.
    void Drukowanie(int mode);

    // What the print job and the tests read.
    static constexpr int FieldCount = 4;
    static constexpr int MarkerCount = 10;
    TEdit *Edit(int n) const; // 1 .. 4
    QString EditText(int n) const;
    int RadioGroup1ItemIndex() const;
    TShape *Shape(int n) const; // 1 .. 10
    platform::TColor ShapeColor(int n) const;
    int cbDrukarkaItemIndex() const;
    QString cbDrukarkaChosen() const; // the chosen printer's name; empty when none
    bool CheckBox1Checked() const;
    void SetCheckBox1Checked(bool checked);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void CreatePanels();
    void CreateSheetPicker();
    void CreatePlateFields();
    void CreatePrinterChoice();
    void CreateButtons();
    void SetTabOrder();
    void RestoreSettings();
    void CheckFont();

    bool shown_ = false;
    // The report whose print is being followed, while it is; the close it refuses meanwhile
    // waits for the cancelled print to end.
    TRpReport *printing_ = nullptr;
    bool closeAfterPrint_ = false;
    bool saveRefused_ = false;

    TPanel *Panel1 = nullptr;
    TPanel *Panel2 = nullptr;
    TPanel *Panel3 = nullptr;
    QLabel *Label1 = nullptr;
    TShape *Shape11 = nullptr;
    std::array<TShape *, MarkerCount> Shapes{};
    std::array<TEdit *, FieldCount> Edits{};
    TRadioGroup *RadioGroup1 = nullptr;
    TPrinterList *cbDrukarka = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    TBitBtn *BitBtn1 = nullptr;
    TBitBtn *BitBtn2 = nullptr;
    TBitBtn *BitBtn3 = nullptr;
    TBitBtn *BitBtn4 = nullptr;
};
