// A drop-down list of the printers the platform offers, in its order. It reads the list
// afresh whenever it is dropped down, so a queue added or removed since shows as it is now,
// and the chosen printer stays chosen by its name, not by its place in the list.
#pragma once

#include <QComboBox>

class TPrinterList : public QComboBox {
    Q_OBJECT
public:
    explicit TPrinterList(QWidget *parent = nullptr);

    // Reads the list again; the printer chosen stays chosen when it is still there, else
    // nothing is.
    void Refresh();
    // The chosen printer's name; empty when none is chosen.
    QString Chosen() const;
    // Chooses the printer of that name; false, with nothing chosen, when it is not listed.
    bool Choose(const QString &name);

    void showPopup() override;
};
