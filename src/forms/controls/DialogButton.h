// A dialog's push button, named for the tests and never the default: Enter presses it only
// when it has the focus.
#pragma once

#include <QString>

class QPushButton;
class QWidget;

QPushButton *DialogButton(const char *name, const QString &caption, QWidget *parent);
