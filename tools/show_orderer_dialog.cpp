// Shows the orderer data dialog on its own, for looking at it (screenshots under Xvfb).
// Any arguments fill the fields in order. Prints the modal result and the fields.
#include "forms/controls/TEdit.h"
#include "forms/uDaneZamawiajacego.h"
#include "platform/Fonts.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    platform::InstallFontSubstitutions();
    TfDaneZamawiajacego dialog;
    dialog.CLEARDATA();
    const QStringList fields = application.arguments().mid(1);
    for (int i = 0; i < fields.size() && i < TfDaneZamawiajacego::FieldCount; ++i)
        dialog.Edit(i + 1)->setText(fields[i]);
    const int result = dialog.exec();
    QTextStream out(stdout);
    out << "result " << result << '\n';
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        out << i << ": " << dialog.Edit(i)->text() << '\n';
    return 0;
}
