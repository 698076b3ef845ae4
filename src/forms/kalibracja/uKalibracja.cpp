#include "uKalibracja.h"

#include "forms/controls/DialogButton.h"
#include "forms/controls/TPrinterList.h"
#include "forms/kalibracja/CalibrationSheet.h"
#include "forms/uDrukTabliczka.h"
#include "platform/Application.h"
#include "platform/Finally.h"
#include "platform/Messages.h"
#include "report/RpPrinterSettings.h"
#include "report/RpReport.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char *const ReadingCaptions[] = {
    "A – od lewej krawędzi do linii A:", "B – od lewej krawędzi do linii B:",
    "C – od górnej krawędzi do linii C:", "D – od górnej krawędzi do linii D:"};

QString Millimetres(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace(u'.', u',');
}

} // namespace

TfKalibracja::TfKalibracja(const QString &printer, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fKalibracja"));
    setWindowTitle(QStringLiteral("Kalibracja drukarki"));
    auto *layout = new QVBoxLayout(this);

    auto *printerRow = new QHBoxLayout;
    auto *printerLabel = new QLabel(QStringLiteral("D&rukarka:"), this);
    printerRow->addWidget(printerLabel);
    cbDrukarka = new TPrinterList(this);
    cbDrukarka->setObjectName(QStringLiteral("cbDrukarka"));
    printerLabel->setBuddy(cbDrukarka);
    cbDrukarka->Refresh();
    if (!cbDrukarka->Choose(printer))
        cbDrukarka->setCurrentIndex(0);
    printerRow->addWidget(cbDrukarka, 1);
    layout->addLayout(printerRow);
    LabelZapisana = new QLabel(this);
    LabelZapisana->setObjectName(QStringLiteral("LabelZapisana"));
    LabelZapisana->setWordWrap(true);
    layout->addWidget(LabelZapisana);

    layout->addWidget(MakePart(TCalibrationSheet::Calibration));
    layout->addWidget(MakePart(TCalibrationSheet::Check));

    auto *buttons = new QHBoxLayout;
    BitBtnUsun = DialogButton("BitBtnUsun", QStringLiteral("&Usuń kalibrację"), this);
    auto *close = DialogButton("BitBtnZamknij", QStringLiteral("Za&mknij"), this);
    buttons->addWidget(BitBtnUsun);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(BitBtnUsun, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { RemoveClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbDrukarka, &QComboBox::currentIndexChanged, this, [this] { ShowStored(); });
    ShowVerdict(TCalibrationSheet::Calibration);
    ShowStored();
}

TfKalibracja::~TfKalibracja() = default;

QWidget *TfKalibracja::MakePart(TCalibrationSheet sheet) {
    const bool calibration = sheet == TCalibrationSheet::Calibration;
    auto *group = new QGroupBox(calibration ? QStringLiteral("1. Kalibracja — arkusz kalibracyjny, "
                                                             "drukowany bez korekcji")
                                            : QStringLiteral("2. Sprawdzenie — arkusz kontrolny, "
                                                             "drukowany z zapisaną korekcją"),
                                this);
    group->setObjectName(calibration ? QStringLiteral("GroupKalibracja")
                                     : QStringLiteral("GroupSprawdzenie"));
    auto *grid = new QGridLayout(group);
    Part &part = PartOf(sheet);
    part.print = DialogButton(calibration ? "BitBtnArkusz" : "BitBtnSprawdz",
                              calibration ? QStringLiteral("&Drukuj arkusz kalibracyjny")
                                          : QStringLiteral("Drukuj arkusz &kontrolny"),
                              group);
    grid->addWidget(part.print, 0, 0, 1, 3, Qt::AlignLeft);
    const std::array<double, 4> &marks = MarksOf(sheet);
    for (std::size_t i = 0; i < part.readings.size(); ++i) {
        const int row = int(i) + 1;
        auto *caption = new QLabel(QString::fromUtf8(ReadingCaptions[i]), group);
        auto *edit = new QLineEdit(group);
        edit->setObjectName(
            (calibration ? QStringLiteral("Edit") : QStringLiteral("EditKontrola")) +
            QLatin1String(CalibrationMarkNames[i]));
        edit->setAccessibleName(QStringLiteral("Odczyt %1 z %2")
                                    .arg(QLatin1String(CalibrationMarkNames[i]),
                                         calibration ? QStringLiteral("arkusza kalibracyjnego")
                                                     : QStringLiteral("arkusza kontrolnego")));
        caption->setBuddy(edit);
        // The design's value beside the field, never in it: an empty field is an empty field.
        auto *nominal =
            new QLabel(QStringLiteral("mm (wzorcowo %1)").arg(Millimetres(marks[i], 1)), group);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(nominal, row, 2);
        connect(edit, &QLineEdit::textChanged, this, [this, sheet] {
            unsaved_ = true;
            ShowVerdict(sheet);
        });
        part.readings[i] = edit;
    }
    part.result = new QLabel(group);
    part.result->setObjectName(calibration ? QStringLiteral("LabelKalibracja")
                                           : QStringLiteral("LabelSprawdzenie"));
    part.result->setWordWrap(true);
    part.result->setMinimumHeight(part.result->fontMetrics().height() * 3);
    grid->addWidget(part.result, 5, 0, 1, 3);
    part.save = DialogButton(calibration ? "BitBtnZapisz" : "BitBtnPopraw",
                             calibration ? QStringLiteral("&Zapisz korekcję")
                                         : QStringLiteral("&Popraw korekcję"),
                             group);
    grid->addWidget(part.save, 6, 0, 1, 3, Qt::AlignLeft);
    connect(part.print, &QPushButton::clicked, this,
            [this, sheet] { platform::Guarded([&] { PrintSheet(sheet); }); });
    connect(part.save, &QPushButton::clicked, this,
            [this, sheet] { platform::Guarded([&] { SaveClick(sheet); }); });
    return group;
}

QString TfKalibracja::Printer() const {
    return cbDrukarka->Chosen();
}

void TfKalibracja::PrintSheet(TCalibrationSheet sheet) {
    const bool check = sheet == TCalibrationSheet::Check;
    const TCalibrationValues stored = StoredCalibration(Printer()).values;
    const auto plate =
        MakeCalibrationSheet(Printer(), sheet, check ? stored : TCalibrationValues{});
    TRpReport &report = *plate->RpReport1;
    report.PrinterSettings().PrinterIndex = cbDrukarka->currentIndex();
    report.PrinterSettings().PrinterName = Printer();
    if (check)
        report.PrinterCalibration = StoredCorrection;
    report.Print();
    if (report.LastPrinted().Printer.isEmpty())
        return;
    platform::ShowMessage(
        platform::MessageKind::Information,
        QStringLiteral("Arkusz %1 wysłano do drukarki „%2” i wydrukowano. Zmierz go i wpisz "
                       "odczyty w części %3.")
            .arg(check ? QStringLiteral("kontrolny") : QStringLiteral("kalibracyjny"),
                 report.LastPrinted().Printer,
                 check ? QStringLiteral("„Sprawdzenie”") : QStringLiteral("„Kalibracja”")));
}

CalibrationReadings TfKalibracja::Typed(TCalibrationSheet sheet) const {
    const Part &part = parts_[sheet == TCalibrationSheet::Calibration ? 0 : 1];
    CalibrationReadings typed;
    for (std::size_t i = 0; i < typed.size(); ++i)
        typed[i] = part.readings[i]->text();
    return typed;
}

TReadingsVerdict TfKalibracja::Judge(TCalibrationSheet sheet) const {
    // Only a check is judged against the stored correction: the calibration part reads no
    // store at every key.
    return JudgeReadings(sheet, Typed(sheet),
                         sheet == TCalibrationSheet::Check ? StoredCalibration(Printer()).values
                                                           : TCalibrationValues{});
}

void TfKalibracja::ShowVerdict(TCalibrationSheet sheet) {
    const CalibrationReadings typed = Typed(sheet);
    Part &part = PartOf(sheet);
    if (std::any_of(typed.begin(), typed.end(),
                    [](const QString &reading) { return reading.trimmed().isEmpty(); })) {
        part.result->setText(sheet == TCalibrationSheet::Calibration
                                 ? QStringLiteral("Wpisz cztery odczyty z arkusza kalibracyjnego.")
                                 : QStringLiteral("Wpisz cztery odczyty z arkusza kontrolnego."));
        return;
    }
    const TReadingsVerdict verdict = Judge(sheet);
    if (!verdict.message.isEmpty() && sheet == TCalibrationSheet::Calibration) {
        part.result->setText(verdict.message);
        return;
    }
    if (sheet == TCalibrationSheet::Calibration) {
        const TCalibrationValues &v = *verdict.values;
        part.result->setText(DescribeAxis(true, v.ShiftXMicrometres, v.StretchXPpm) + u'\n' +
                             DescribeAxis(false, v.ShiftYMicrometres, v.StretchYPpm));
        return;
    }
    if (!verdict.message.isEmpty() && verdict.field >= 0) {
        part.result->setText(verdict.message);
        return;
    }
    QStringList left;
    for (std::size_t i = 0; i < verdict.remaining.size(); ++i)
        left << QStringLiteral("%1 %2%3 mm")
                    .arg(QLatin1String(CalibrationMarkNames[i]),
                         verdict.remaining[i] < 0 ? QStringLiteral("−") : QStringLiteral("+"),
                         Millimetres(std::abs(verdict.remaining[i]), 2));
    part.result->setText(QStringLiteral("Pozostały błąd: ") + left.join(QStringLiteral(", ")) +
                         (verdict.correct
                              ? QStringLiteral(" — Kalibracja poprawna.")
                              : QStringLiteral(" — Powtórz kalibrację albo popraw korekcję.")) +
                         (verdict.message.isEmpty() ? QString() : u' ' + verdict.message));
}

void TfKalibracja::ShowStored() {
    const TStoredCalibration stored = StoredCalibration(Printer());
    LabelZapisana->setText(DescribeStored(stored));
    const bool anyPrinter = !Printer().isEmpty();
    for (Part &part : parts_)
        part.print->setEnabled(anyPrinter);
    PartOf(TCalibrationSheet::Calibration).save->setEnabled(anyPrinter);
    // A check needs a correction to check.
    PartOf(TCalibrationSheet::Check).print->setEnabled(anyPrinter && stored.Stored());
    PartOf(TCalibrationSheet::Check).save->setEnabled(anyPrinter && stored.Stored());
    BitBtnUsun->setEnabled(anyPrinter && stored.Stored());
    ShowVerdict(TCalibrationSheet::Check); // judged against the stored correction
}

void TfKalibracja::SaveClick(TCalibrationSheet sheet) {
    const TReadingsVerdict verdict = Judge(sheet);
    if (!verdict.values) {
        platform::ShowMessage(platform::MessageKind::Error, verdict.message);
        if (verdict.field >= 0)
            PartOf(sheet).readings[std::size_t(verdict.field)]->setFocus();
        return;
    }
    // What is stored is shown whether the store took the change or refused it.
    const platform::Finally shown([this] { ShowStored(); });
    SaveCalibration(Printer(), *verdict.values);
    unsaved_ = false;
}

void TfKalibracja::RemoveClick() {
    if (!platform::Ask(QStringLiteral("Usunąć kalibrację drukarki „%1”? Tabliczki będą "
                                      "drukowane na niej bez korekcji.")
                           .arg(Printer()),
                       false))
        return;
    const platform::Finally shown([this] { ShowStored(); });
    RemoveCalibration(Printer());
}

bool TfKalibracja::MayClose() {
    const bool typed = std::any_of(parts_.begin(), parts_.end(), [](const Part &part) {
        return std::any_of(part.readings.begin(), part.readings.end(),
                           [](const QLineEdit *edit) { return !edit->text().trimmed().isEmpty(); });
    });
    return !unsaved_ || !typed ||
           platform::Ask(QStringLiteral("Wpisanych odczytów nie zapisano. Zamknąć okno mimo to?"),
                         false);
}

void TfKalibracja::reject() {
    if (MayClose())
        QDialog::reject();
}
