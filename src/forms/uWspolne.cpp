#include "uWspolne.h"

#include "forms/controls/TPanel.h"
#include "platform/Application.h"
#include "platform/Colour.h"
#include "platform/FontRegistry.h"
#include "platform/Service.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

using platform::TColor;

enum class Background { WindowBackground, ButtonFace };

struct ControlKind {
    bool (*matches)(const QWidget *);
    Background background;
};

template <class... Classes> bool IsA(const QWidget *control) {
    return ((qobject_cast<const Classes *>(control) != nullptr) || ...);
}

// Tested in this order, the first match decides; a class matches its derived classes too.
// A folder field with a browse button is a QLineEdit here and so already a text field.
constexpr ControlKind kControlKinds[] = {
    {IsA<QLineEdit>, Background::WindowBackground},
    {IsA<QComboBox>, Background::WindowBackground},
    {IsA<QListView>, Background::WindowBackground},
    {IsA<QDateEdit>, Background::WindowBackground},
    {IsA<QPlainTextEdit, QTextEdit>, Background::WindowBackground},
    {IsA<QDateTimeEdit>, Background::WindowBackground},
    {IsA<QCheckBox>, Background::ButtonFace},
    {IsA<TPanel>, Background::ButtonFace},
};

const ControlKind *KindOf(const QWidget *control) {
    for (const ControlKind &kind : kControlKinds)
        if (kind.matches(control))
            return &kind;
    return nullptr;
}

void Paint(QWidget *control, Background background, TColor colour) {
    QPalette colours = control->palette();
    if (background == Background::WindowBackground) {
        colours.setColor(QPalette::Base, platform::ToQColor(colour));
    } else {
        colours.setColor(control->backgroundRole(), platform::ToQColor(colour));
        control->setAutoFillBackground(true);
    }
    control->setPalette(colours);
}

} // namespace

void SetEnterColour(QWidget *control) {
    if (const ControlKind *kind = KindOf(control))
        Paint(control, kind->background, platform::FocusColour);
}

void SetExitColour(QWidget *control) {
    const ControlKind *kind = KindOf(control);
    if (!kind)
        return;
    Paint(control, kind->background,
          kind->background == Background::WindowBackground ? platform::clWindow
                                                           : platform::clBtnFace);
    if (auto *combo = qobject_cast<QComboBox *>(control); combo && combo->lineEdit())
        combo->lineEdit()->setSelection(0, 0);
}

namespace {

// A component that is not a control cannot take the focus either.
void Focus(QWidget *target) {
    if (!target || !target->isVisible() || !target->isEnabled())
        throw platform::Error(QStringLiteral("Cannot focus a disabled or invisible window"));
    target->setFocus(Qt::OtherFocusReason);
}

} // namespace

void NavigateOnEnter(QWidget *window, QObject *sender, int key, int lastNumber,
                     QWidget *lastTarget) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    const QString name = sender->objectName();
    const QString tail = name.mid(4);
    bool isNumber = false;
    const int number = tail.toInt(&isNumber, 10);
    if (!isNumber)
        throw platform::Error(QStringLiteral("'%1' is not a valid integer value").arg(tail));
    if (number == lastNumber) {
        Focus(lastTarget);
        return;
    }
    const QString next = name.left(4) + QString::number(number + 1);
    if (QObject *found = window->findChild<QObject *>(next))
        Focus(qobject_cast<QWidget *>(found));
}

void RegisterFontFile(const QString &fileName) {
    auto &fonts = platform::Service<platform::FontRegistry>::get();
    // The outcome is not examined: the font change is announced either way.
    fonts.addFontResource(fileName);
    fonts.broadcastFontChange();
}
