// The orderer data dialog TfDaneZamawiajacego: nine text fields with the orderer's details,
// "Anuluj <Esc>" and "Zatwierdź". It checks and stores nothing; the order routine fills it,
// shows it modally and reads it when the operator confirms.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class TBitBtn;
class TEdit;
class TPanel;

class TfDaneZamawiajacego : public QDialog {
    Q_OBJECT
public:
    // What a modal show returns.
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;
    static constexpr int FieldCount = 9;
    static constexpr int ClientWidth = 529;
    static constexpr int ClientHeight = 295;

    // Made without an owner, for one order.
    TfDaneZamawiajacego();
    ~TfDaneZamawiajacego() override;

    // Empties every text field.
    void CLEARDATA();
    void BitBtn1Click();
    void Edit1Enter(QWidget *sender);
    void Edit1Exit(QWidget *sender);
    void Edit1KeyDown(QWidget *sender, int key, Qt::KeyboardModifiers shift);

    TEdit *Edit(int n) const; // 1 .. 9

    // Every way of closing but "Zatwierdź" is a cancel.
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateFields();
    void CreateButtons();

    std::array<TEdit *, FieldCount> Edits{};
    TPanel *Panel1 = nullptr;
    TBitBtn *BitBtn1 = nullptr;
    TBitBtn *BitBtn2 = nullptr;
};
