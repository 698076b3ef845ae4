// What each program does first: names its menu entry and takes the program's icon, so the
// desktop shows its window under its launcher, and makes the fonts the design names.
#pragma once

#include "platform/Fonts.h"

#include <QApplication>
#include <QIcon>

inline void StartDesktopProgram(const QString &desktopFileName) {
    QGuiApplication::setDesktopFileName(desktopFileName);
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/app/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    platform::InstallFontSubstitutions();
}
