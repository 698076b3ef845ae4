// A single-line text field as the windows use it: flat, with a maximum length and an
// optional upper-case conversion that act on what the operator types, pastes or drops
// (text the program puts in is never cut or changed), characters Windows-1250 cannot hold
// refused at input, and the enter, exit and key-down handlers of the design.
#pragma once

#include <QLineEdit>

#include <functional>
#include <optional>

class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);
    ~TEdit() override;

    // 0: no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength) { maxLength_ = maxLength; }
    bool UpperCase() const { return upperCase_; }
    void SetUpperCase(bool upperCase) { upperCase_ = upperCase; }

    // Entering selects the whole text unless it is by a click. Entering and leaving follow the
    // window's active control: a field keeps its state while its window is inactive (a message box,
    // a context menu) and is left late when the focus moved on meanwhile. Each handler runs under
    // the error display; the key is passed on to the field afterwards unless its handler raised.
    std::function<void(QWidget *sender)> OnEnter;
    std::function<void(QWidget *sender)> OnExit;
    std::function<void(QWidget *sender, int key, Qt::KeyboardModifiers shift)> OnKeyDown;

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Qt's limit would also cut text put in by the program: SetMaxLength instead.
    using QLineEdit::setMaxLength;

    class InputFilter;
    friend class InputFilter;

    void Enter();
    void Exit();
    // The text an edit by the operator leaves, given the text before it; nothing when the
    // edit is refused.
    std::optional<QString> FilterUserEdit(const QString &edited, int &cursor) const;
    // What of an insertion the field takes when `staying` characters stay beside it.
    QString FilterInserted(const QString &inserted, qsizetype staying) const;
    // Pastes and drops: the text inserted at the cursor, over the selection.
    void InsertAsOperator(const QString &text);
    void SeparateUndoStep();
    template <class Handler> void AsOperator(Handler &&handler);

    int maxLength_ = 0;
    bool upperCase_ = false;
    bool entered_ = false;
    bool operatorEditing_ = false;
    QString accepted_; // the text before the edit being checked
};
