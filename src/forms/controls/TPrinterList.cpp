#include "forms/controls/TPrinterList.h"

#include "platform/PrinterSystem.h"
#include "platform/Service.h"

TPrinterList::TPrinterList(QWidget *parent) : QComboBox(parent) {}

void TPrinterList::Refresh() {
    const QStringList names = platform::Service<platform::PrinterSystem>::get().printerNames();
    QStringList shown;
    for (int i = 0; i < count(); ++i)
        shown << itemText(i);
    if (names == shown)
        return;
    const QString chosen = Chosen();
    clear();
    addItems(names);
    setCurrentIndex(int(names.indexOf(chosen)));
}

QString TPrinterList::Chosen() const {
    return currentIndex() < 0 ? QString() : currentText();
}

bool TPrinterList::Choose(const QString &name) {
    setCurrentIndex(findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    return currentIndex() >= 0;
}

void TPrinterList::showPopup() {
    Refresh();
    QComboBox::showPopup();
}
