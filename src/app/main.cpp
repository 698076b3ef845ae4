// Entry point: the application object, the main window, the message loop.
#include "forms/uMain.h"
#include "platform/Fonts.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    TfMain fMain;
    fMain.show();
    return application.exec();
}
