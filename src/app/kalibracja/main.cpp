// Entry point of the printer calibration program: the calibration dialog on its own.
#include "forms/uKalibracja.h"
#include "platform/Application.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.zovi.Merovan.Kalibracja"));
    platform::InstallFontSubstitutions();
    // The store and the messages go under the main program's name.
    platform::SetApplicationTitle(QStringLiteral("Merovan"));
    TfKalibracja dialog;
    dialog.show();
    return application.exec();
}
