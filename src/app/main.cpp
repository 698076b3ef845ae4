// Entry point: the application object, the main window, the message loop.
#include "ProgramStart.h"
#include "forms/uMain.h"

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    StartDesktopProgram(QStringLiteral("pl.zovi.Merovan"));
    TfMain fMain;
    fMain.show();
    return application.exec();
}
