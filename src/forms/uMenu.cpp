// The main window's menu bar, above its client area: what was added beside the plate window,
// each under its own menu, none taking the buttons' Alt+P, Alt+D or Alt+Z.
#include "forms/uMain.h"

#include "forms/controls/TEdit.h"
#include "forms/controls/TPrinterList.h"
#include "forms/controls/TShape.h"
#include "forms/kalibracja/uKalibracja.h"
#include "forms/rejestr/uRejestr.h"
#include "platform/Application.h"
#include "platform/Messages.h"

#include <QMenu>
#include <QMenuBar>

void TfMain::CreateMenu() {
    MenuBar = new QMenuBar(this);
    MenuBar->setObjectName(QStringLiteral("MenuBar"));
    // Every entry runs under the error display, as the buttons do.
    const auto add = [this](QMenu *menu, const QString &text, const char *name, auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this,
                [this, handler] { platform::Guarded([&] { handler(); }); });
        return action;
    };
    // Alt+P, Alt+D and Alt+Z belong to the buttons.
    QMenu *sheet = MenuBar->addMenu(QStringLiteral("&Arkusz"));
    sheet->setObjectName(QStringLiteral("MenuArkusz"));
    add(sheet, QStringLiteral("&Nowy arkusz"), "ActionNowyArkusz", [this] { NowyArkusz(); });
    ActionMarkUsed = add(sheet, QStringLiteral("Oznacz jako &wykorzystaną"), "ActionWykorzystana",
                         [this] { OznaczPozycje(true); });
    ActionMarkFree = add(sheet, QStringLiteral("Oznacz jako wo&lną"), "ActionWolna",
                         [this] { OznaczPozycje(false); });
    QMenu *printer = MenuBar->addMenu(QStringLiteral("D&rukarka"));
    printer->setObjectName(QStringLiteral("MenuDrukarka"));
    add(printer, QStringLiteral("&Kalibracja drukarki…"), "ActionKalibracja",
        [this] { OpenCalibration(); });
    add(printer, QStringLiteral("&Odśwież listę drukarek"), "ActionOdswiez",
        [this] { cbDrukarka->Refresh(); });
    QMenu *plates = MenuBar->addMenu(QStringLiteral("R&ejestr"));
    plates->setObjectName(QStringLiteral("MenuRejestr"));
    add(plates, QStringLiteral("&Rejestr tabliczek…"), "ActionRejestr", [this] { OpenRegister(); });
    QMenu *help = MenuBar->addMenu(QStringLiteral("P&omoc"));
    help->setObjectName(QStringLiteral("MenuPomoc"));
    add(help, QStringLiteral("&O programie"), "ActionOProgramie", [] {
        platform::ShowMessage(
            platform::MessageKind::Information,
            QStringLiteral("Merovan %1\n\nDruk zastępczych tabliczek znamionowych pojazdów na "
                           "arkuszach folii aluminiowej.\n\n© 2026 ZOVI Software. Wszelkie prawa "
                           "zastrzeżone; program można używać wyłącznie na warunkach uzgodnionych "
                           "z ZOVI Software.")
                .arg(QStringLiteral(MEROVAN_VERSION)));
    });
    MenuBar->adjustSize();
    MenuBar->setGeometry(0, 0, ClientWidth, MenuBar->sizeHint().height());
}

void TfMain::OpenRegister() {
    TfRejestr dialog(this);
    // A plate to print again: its texts go into the fields, and the operator chooses a free
    // position on the sheet.
    dialog.OnReprint = [this](const std::array<QString, 4> &texts) {
        for (int n = 1; n <= FieldCount; ++n)
            Edit(n)->setText(texts[std::size_t(n - 1)]);
        Shape11->setFocus(Qt::OtherFocusReason);
    };
    dialog.exec();
}

void TfMain::OpenCalibration() {
    TfKalibracja dialog(cbDrukarka->Chosen(), this);
    dialog.exec();
}
