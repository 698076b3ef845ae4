#include "forms/controls/DialogButton.h"

#include <QPushButton>

QPushButton *DialogButton(const char *name, const QString &caption, QWidget *parent) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}
