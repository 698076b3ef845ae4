// Entry point: the application object, the main window, the message loop.
#include "forms/uMain.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    // The menu entry's id and icon, so the desktop shows the window under its launcher.
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.zovi.Merovan"));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/app/icons/%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    platform::InstallFontSubstitutions();
    TfMain fMain;
    fMain.show();
    return application.exec();
}
