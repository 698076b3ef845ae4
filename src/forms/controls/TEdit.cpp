#include "forms/controls/TEdit.h"

#include "platform/Application.h"
#include "platform/Cp1250.h"

#include <QAction>
#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QValidator>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

// A letter whose capital the code page lacks (µ) stays as it is.
QChar Capital(QChar character) {
    const QChar capital = character.toUpper();
    return platform::IsCp1250Encodable(capital) ? capital : character;
}

// The standard menu's paste entry: named so by newer Qt, and captioned with the field's own
// (translated) caption and its shortcut after a tab by every Qt.
bool IsPasteAction(const QAction &action) {
    return action.objectName() == QLatin1String("edit-paste") ||
           action.text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste");
}

} // namespace

// Sees every change of the text. Only changes the operator makes are filtered: a QLineEdit
// limit would also cut text put in with setText.
class TEdit::InputFilter final : public QValidator {
public:
    explicit InputFilter(TEdit *edit) : QValidator(edit), edit_(edit) {}

    State validate(QString &input, int &cursor) const override {
        if (!edit_->operatorEditing_)
            return Acceptable;
        std::optional<QString> filtered = edit_->FilterUserEdit(input, cursor);
        if (!filtered)
            return Invalid; // nothing of the insertion is left: the edit is refused whole
        input = *std::move(filtered);
        return Acceptable;
    }

private:
    TEdit *edit_;
};

TEdit::TEdit(QWidget *parent) : QLineEdit(parent) {
    setFrame(false); // flat: a one-pixel line drawn in paintEvent
    setTextMargins(1, 1, 1, 1);
    // Qt's own limit (32767 by default) would cut long text put in with setText.
    QLineEdit::setMaxLength(std::numeric_limits<int>::max());
    setValidator(new InputFilter(this));
    connect(this, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
}

TEdit::~TEdit() = default;

std::optional<QString> TEdit::FilterUserEdit(const QString &edited, int &cursor) const {
    // The edit replaced the middle of the old text with what was inserted, which ends at the
    // cursor: what the old text shares with the new one beyond that is not kept, but typed
    // again (a capital typed over a selection ending in the same letter is an insertion).
    const qsizetype shorter = std::min(accepted_.size(), edited.size());
    const qsizetype before = std::min<qsizetype>(cursor, shorter);
    const qsizetype after = std::min<qsizetype>(edited.size() - cursor, shorter);
    qsizetype prefix = 0;
    while (prefix < before && accepted_[prefix] == edited[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < std::min(after, shorter - prefix) &&
           accepted_[accepted_.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    const QString inserted = edited.mid(prefix, edited.size() - prefix - suffix);
    const QString kept = FilterInserted(inserted, prefix + suffix);
    if (kept.isEmpty() && !inserted.isEmpty())
        return std::nullopt;
    cursor = int(prefix + kept.size());
    return edited.left(prefix) + kept + edited.right(suffix);
}

QString TEdit::FilterInserted(const QString &inserted, qsizetype staying) const {
    QString kept;
    for (QChar character : inserted) {
        if (!platform::IsCp1250Encodable(character) || character.category() == QChar::Other_Control)
            continue;
        kept.append(upperCase_ ? Capital(character) : character);
    }
    // What was already there is never cut, only what comes in.
    if (maxLength_ > 0)
        kept.truncate(std::max<qsizetype>(0, maxLength_ - staying));
    return kept;
}

// The field's own filter would rewrite a changed insertion as a new text, which forgets
// every undo step; filtered first, the insertion goes in unchanged as one step.
void TEdit::InsertAsOperator(const QString &text) {
    if (isReadOnly())
        return;
    const QString kept = FilterInserted(text, this->text().size() - selectedText().size());
    if (kept.isEmpty())
        return; // nothing of it may go in: the field stays as it was
    SeparateUndoStep();
    AsOperator([&] { insert(kept); });
    SeparateUndoStep();
}

// The field's undo merges neighbouring insertions into one step and keeps them apart only
// where the selection changed in between (its own paste does this inside): select all and
// put the selection and cursor back as they were.
void TEdit::SeparateUndoStep() {
    const int start = selectionStart();
    const int length = int(selectedText().size());
    const int cursor = cursorPosition();
    selectAll();
    if (start < 0)
        setCursorPosition(cursor);
    else if (cursor == start)
        setSelection(start + length, -length);
    else
        setSelection(start, length);
}

template <class Handler> void TEdit::AsOperator(Handler &&handler) {
    const QScopedValueRollback<bool> editing(operatorEditing_, true);
    handler();
}

bool TEdit::event(QEvent *event) {
    // Leaving late: the focus moved on while the window was inactive.
    if (event->type() == QEvent::WindowActivate && entered_ && window()->focusWidget() != this)
        Exit();
    return QLineEdit::event(event);
}

void TEdit::Enter() {
    if (entered_)
        return;
    entered_ = true;
    if (OnEnter)
        platform::Guarded([&] { OnEnter(this); });
}

void TEdit::Exit() {
    if (!entered_)
        return;
    entered_ = false;
    if (OnExit)
        platform::Guarded([&] { OnExit(this); });
}

void TEdit::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    // Entered from the keyboard or by the program, the whole text is selected, so typing
    // replaces it; a click puts the cursor where it points.
    if (!entered_ && event->reason() != Qt::MouseFocusReason)
        selectAll();
    Enter();
}

void TEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    // The window or a popup took the focus: the field stays its window's active control.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        Exit();
}

void TEdit::keyPressEvent(QKeyEvent *event) {
    if (OnKeyDown &&
        !platform::Guarded([&] { OnKeyDown(this, event->key(), event->modifiers()); })) {
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        InsertAsOperator(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    // Typed letters are converted before they go in, so typing keeps its undo steps.
    QString text = event->text();
    if (!upperCase_ || text.isEmpty()) {
        AsOperator([&] { QLineEdit::keyPressEvent(event); });
        return;
    }
    for (QChar &character : text)
        character = Capital(character);
    QKeyEvent converted(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                        event->nativeVirtualKey(), event->nativeModifiers(), text,
                        event->isAutoRepeat(), event->count());
    AsOperator([&] { QLineEdit::keyPressEvent(&converted); });
    event->setAccepted(converted.isAccepted());
}

void TEdit::inputMethodEvent(QInputMethodEvent *event) {
    AsOperator([&] { QLineEdit::inputMethodEvent(event); });
}

void TEdit::mouseReleaseEvent(QMouseEvent *event) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() &&
        rect().contains(event->position().toPoint())) {
        InsertAsOperator(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TEdit::dropEvent(QDropEvent *event) {
    // Text moved within the field is already the field's own; a copy within it adds to its
    // length, so it goes in as any other insertion does.
    const bool movedWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (movedWithin || isReadOnly() || !event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    InsertAsOperator(event->mimeData()->text());
    event->acceptProposedAction();
}

void TEdit::contextMenuEvent(QContextMenuEvent *event) {
    QMenu *menu = createStandardContextMenu();
    for (QAction *action : menu->actions()) {
        if (!IsPasteAction(*action))
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this,
                [this] { InsertAsOperator(QGuiApplication::clipboard()->text()); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void TEdit::paintEvent(QPaintEvent *event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
