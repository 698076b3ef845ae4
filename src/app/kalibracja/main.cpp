// Entry point of the printer calibration program: the calibration dialog on its own.
#include "app/ProgramStart.h"
#include "forms/kalibracja/uKalibracja.h"
#include "platform/Application.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    StartDesktopProgram(QStringLiteral("pl.zovi.Merovan.Kalibracja"));
    // The store and the messages go under the main program's name.
    platform::SetApplicationTitle(QStringLiteral("Merovan"));
    TfKalibracja dialog;
    dialog.show();
    return application.exec();
}
