// Message boxes: the kinds the system shows, always with the application title as caption.
#pragma once

#include <QString>

class QWidget;

namespace platform {

enum class MessageKind { Information, Error, Plain, Question };

class Messages {
public:
    virtual ~Messages() = default;
    // A modal box with an OK button and the icon of its kind (none for Plain).
    virtual void show(MessageKind kind, const QString &caption, const QString &text) = 0;
    // A modal question with the buttons "Tak" and "Nie", the default one taken by Enter;
    // true for "Tak". Esc or closing the box answers "Nie".
    virtual bool ask(const QString &caption, const QString &text, bool yesIsDefault) = 0;

    static Messages &real();
};

void ShowMessage(MessageKind kind, const QString &text);
bool Ask(const QString &text, bool yesIsDefault);

} // namespace platform
