// Routines shared by the windows: the focus colour of entry fields, the Enter navigation
// from field to field, and the registration of a font file.
#pragma once

#include <QString>
#include <Qt>

class QObject;
class QWidget;

// Give a control the focus colour, or its normal colour back, by its kind: text fields,
// combo boxes, list boxes, date fields, multi-line fields and date-time pickers go back to
// the window background, check boxes and panels to the button face. Any other control is
// left as it is.
void SetEnterColour(QWidget *control);
void SetExitColour(QWidget *control);

// Enter, with any modifier keys, in the field `sender` named prefix (four characters) and
// number N: from the field numbered `lastNumber` the focus goes to `lastTarget`, from any
// other to the first control of `window` named prefix + (N + 1), when there is one. Other
// keys do nothing. Raises platform::Error for a name without a number after the prefix
// and for a target that is hidden or disabled.
void NavigateOnEnter(QWidget *window, QObject *sender, int key, int lastNumber,
                     QWidget *lastTarget);

// Makes a font file available to the user's programs. A bare name is found beside the
// executable. Reports nothing: a missing or broken file changes nothing visible.
void RegisterFontFile(const QString &fileName);
