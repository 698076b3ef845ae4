#include "forms/kalibracja/uKalibracja.h"

#include "forms/controls/TPrinterList.h"
#include "forms/kalibracja/CalibrationSheet.h"
#include "forms/uDrukTabliczka.h"
#include "platform/Application.h"
#include "platform/Messages.h"
#include "platform/PrinterSystem.h"
#include "platform/Service.h"
#include "report/RpPrinterSettings.h"
#include "report/RpReport.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QPushButton *Button(const char *name, const QString &caption, QWidget *parent) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

const char *const ReadingCaptions[] = {
    "A – od lewej krawędzi do linii A:", "B – od lewej krawędzi do linii B:",
    "C – od górnej krawędzi do linii C:", "D – od górnej krawędzi do linii D:"};

} // namespace

TfKalibracja::TfKalibracja(const QString &printer, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fKalibracja"));
    setWindowTitle(QStringLiteral("Kalibracja drukarki"));
    auto *layout = new QVBoxLayout(this);

    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(new QLabel(QStringLiteral("Drukarka:"), this));
    cbDrukarka = new TPrinterList(this);
    cbDrukarka->setObjectName(QStringLiteral("cbDrukarka"));
    cbDrukarka->Refresh();
    if (!cbDrukarka->Choose(printer))
        cbDrukarka->setCurrentIndex(0);
    printerRow->addWidget(cbDrukarka, 1);
    layout->addLayout(printerRow);
    LabelZapisana = new QLabel(this);
    LabelZapisana->setObjectName(QStringLiteral("LabelZapisana"));
    layout->addWidget(LabelZapisana);

    auto *print = Button("BitBtnArkusz", QStringLiteral("Drukuj arkusz kalibracyjny"), this);
    layout->addWidget(print);

    auto *readings =
        new QGroupBox(QStringLiteral("Odczyty z arkusza (mm, z dokładnością 0,1)"), this);
    auto *form = new QFormLayout(readings);
    for (std::size_t i = 0; i < Readings.size(); ++i) {
        auto *edit = new QLineEdit(readings);
        edit->setObjectName(QStringLiteral("Edit") + QLatin1String(CalibrationMarkNames[i]));
        edit->setPlaceholderText(QString::number(CalibrationMarks[i], 'f', 1).replace(u'.', u','));
        connect(edit, &QLineEdit::textChanged, this, [this] { ReadingsChanged(); });
        form->addRow(QString::fromUtf8(ReadingCaptions[i]), edit);
        Readings[i] = edit;
    }
    layout->addWidget(readings);

    LabelPoziomo = new QLabel(this);
    LabelPoziomo->setObjectName(QStringLiteral("LabelPoziomo"));
    LabelPionowo = new QLabel(this);
    LabelPionowo->setObjectName(QStringLiteral("LabelPionowo"));
    layout->addWidget(LabelPoziomo);
    layout->addWidget(LabelPionowo);

    auto *buttons = new QHBoxLayout;
    auto *save = Button("BitBtnZapisz", QStringLiteral("Zapisz"), this);
    auto *check = Button("BitBtnSprawdz", QStringLiteral("Drukuj arkusz z korekcją"), this);
    auto *remove = Button("BitBtnUsun", QStringLiteral("Usuń kalibrację"), this);
    auto *close = Button("BitBtnZamknij", QStringLiteral("Zamknij"), this);
    for (QPushButton *button : {save, check, remove, close})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(print, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { PrintSheet(false); }); });
    connect(check, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { PrintSheet(true); }); });
    connect(save, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { SaveClick(); }); });
    connect(remove, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { RemoveClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbDrukarka, &QComboBox::currentIndexChanged, this, [this] { ShowStored(); });
    // Without a printer there is nothing to print on and no printer to keep a correction for.
    const bool anyPrinter = cbDrukarka->count() > 0;
    for (QPushButton *button : {print, save, check, remove})
        button->setEnabled(anyPrinter);
    ReadingsChanged();
    ShowStored();
}

TfKalibracja::~TfKalibracja() = default;

QString TfKalibracja::Printer() const {
    return cbDrukarka->Chosen();
}

void TfKalibracja::PrintSheet(bool corrected) {
    const auto sheet = MakeCalibrationSheet(Printer());
    TRpReport &report = *sheet->RpReport1;
    report.PrinterSettings().PrinterIndex = cbDrukarka->currentIndex();
    report.PrinterSettings().PrinterName = cbDrukarka->Chosen();
    if (corrected)
        report.PrinterCalibration = StoredCorrection;
    report.Print();
}

CalibrationReadings TfKalibracja::Typed() const {
    CalibrationReadings typed;
    for (std::size_t i = 0; i < Readings.size(); ++i)
        typed[i] = Readings[i]->text();
    return typed;
}

void TfKalibracja::ReadingsChanged() {
    // Nothing to show until every field holds something.
    const CalibrationReadings typed = Typed();
    const bool complete = std::none_of(typed.begin(), typed.end(), [](const QString &reading) {
        return reading.trimmed().isEmpty();
    });
    const auto result = CalibrationFromReadings(typed);
    const auto *values = complete ? std::get_if<TCalibrationValues>(&result) : nullptr;
    if (values) {
        LabelPoziomo->setText(QStringLiteral("Poziomo: ") +
                              DescribeAxis(values->ShiftXMicrometres, values->StretchXPpm));
        LabelPionowo->setText(QStringLiteral("Pionowo: ") +
                              DescribeAxis(values->ShiftYMicrometres, values->StretchYPpm));
    } else {
        LabelPoziomo->setText(QStringLiteral("Poziomo: —"));
        LabelPionowo->setText(QStringLiteral("Pionowo: —"));
    }
}

void TfKalibracja::ShowStored() {
    const TCalibrationValues stored = StoredCalibration(Printer());
    LabelZapisana->setText(
        stored == TCalibrationValues{}
            ? QStringLiteral("Zapisana korekcja: brak (drukarka drukuje bez korekcji)")
            : QStringLiteral("Zapisana korekcja\n  poziomo: %1\n  pionowo: %2")
                  .arg(DescribeAxis(stored.ShiftXMicrometres, stored.StretchXPpm),
                       DescribeAxis(stored.ShiftYMicrometres, stored.StretchYPpm)));
}

void TfKalibracja::SaveClick() {
    const auto result = CalibrationFromReadings(Typed());
    if (const auto *message = std::get_if<QString>(&result)) {
        platform::ShowMessage(platform::MessageKind::Error, *message);
        return;
    }
    // What is stored is shown whether the store took the change or refused it.
    const StoredShown shown(*this);
    SaveCalibration(Printer(), std::get<TCalibrationValues>(result));
}

void TfKalibracja::RemoveClick() {
    const StoredShown shown(*this);
    RemoveCalibration(Printer());
}
