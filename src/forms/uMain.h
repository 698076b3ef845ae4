// The main window fMain: the four plate fields, the sheet picker, the printer choice and
// the four command buttons. It restores the operator's last state at its first show and
// saves it when it closes; it lives for the whole run. Above its client area a menu bar
// holds what was added beside it: the loaded sheet's memory, the printer's calibration and
// the help.
#pragma once

#include "platform/Colour.h"
#include "settings/SheetStore.h"

#include <QWidget>

#include <array>

class QAction;
class QCheckBox;
class QLabel;
class QMenuBar;
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

    // The loaded sheet's memory (menu "Arkusz"): a fresh sheet of the current type, and the
    // chosen position marked used or free. Each raises the store's error; what is shown is
    // what is stored either way.
    void NowyArkusz();
    void OznaczPozycje(bool used);
    // The current sheet as stored, and the chosen position on it (0: none chosen).
    TSheetState Sheet() const { return sheets_[RadioGroup1ItemIndex() == 0 ? 0 : 1]; }
    int ChosenPosition() const;

    // The client area, as the plate window has always had it.
    static constexpr int ClientWidth = 561;
    static constexpr int ClientHeight = 446;
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

    // The window's client area, as the plate window has always had it, below the menu bar.
    QWidget *ClientArea() const { return Client; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateMenu();
    void OpenCalibration();
    void CreatePanels();
    void CreateSheetPicker();
    void CreatePlateFields();
    void CreatePrinterChoice();
    void CreateButtons();
    void SetTabOrder();
    void RestoreSettings();
    void CheckFont();
    void CreateAccessibleNames();
    // The sheet's state on the markers: numbers, crosses over used positions, names and
    // tooltips, and which sheet actions apply.
    void ShowSheetState();
    void ReadSheets();
    void StoreSheet(const TSheetState &sheet);
    // The picker from the keyboard: the marker with the focus frame, moved and chosen.
    bool PickerKey(int key);
    void FocusMarker(int marker);
    // Before a print: nothing is printing, and the operator wants a used position or a
    // plate issued before printed again.
    bool MayPrint(int position);
    // After a plate printed on the chosen position: it is in the register, and the position
    // is used from now on.
    void PlatePrinted(const struct TRpPrinted &printed, int position);
    void PositionPrinted(int position);
    void OpenRegister();

    bool shown_ = false;
    std::array<TSheetState, 2> sheets_{TSheetState(0, 0), TSheetState(1, 0)};
    int focusedMarker_ = 0; // 0: the picker does not have the focus
    // The report whose print is being followed, while it is; the close it refuses meanwhile
    // waits for the cancelled print to end.
    TRpReport *printing_ = nullptr;
    bool closeAfterPrint_ = false;
    bool saveRefused_ = false;

    QMenuBar *MenuBar = nullptr;
    QWidget *Client = nullptr;
    QAction *ActionMarkUsed = nullptr;
    QAction *ActionMarkFree = nullptr;
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
