#include "uRejestr.h"

#include "forms/controls/DialogButton.h"
#include "forms/rejestr/RegisterModel.h"
#include "platform/Application.h"
#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/Service.h"
#include "register/RegisterCsv.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A day's end of the range: off until its box is ticked.
std::pair<QCheckBox *, QDateEdit *> DayBox(const char *check, const char *date,
                                           const QString &caption, QWidget *parent) {
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(check));
    auto *edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QLatin1String(date));
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    QObject::connect(box, &QCheckBox::toggled, edit, &QWidget::setEnabled);
    return {box, edit};
}

} // namespace

TfRejestr::TfRejestr(QWidget *parent)
    : QDialog(parent), reader_(std::make_unique<TRegisterReader>()) {
    setObjectName(QStringLiteral("fRejestr"));
    setWindowTitle(QStringLiteral("Rejestr tabliczek"));
    resize(860, 560);
    auto *layout = new QVBoxLayout(this);

    auto *filters = new QHBoxLayout;
    auto *searchLabel = new QLabel(QStringLiteral("&Szukaj:"), this);
    EditSzukaj = new QLineEdit(this);
    EditSzukaj->setObjectName(QStringLiteral("EditSzukaj"));
    EditSzukaj->setPlaceholderText(QStringLiteral("marka, model, numer nadwozia, wyróżnik"));
    EditSzukaj->setClearButtonEnabled(true);
    searchLabel->setBuddy(EditSzukaj);
    std::tie(CheckOd, DateOd) = DayBox("CheckOd", "DateOd", QStringLiteral("&od"), this);
    std::tie(CheckDo, DateDo) = DayBox("CheckDo", "DateDo", QStringLiteral("d&o"), this);
    filters->addWidget(searchLabel);
    filters->addWidget(EditSzukaj, 1);
    for (QWidget *widget : std::initializer_list<QWidget *>{CheckOd, DateOd, CheckDo, DateDo})
        filters->addWidget(widget);
    layout->addLayout(filters);

    model_ = new TRegisterModel(*reader_, this);
    TableRejestr = new QTableView(this);
    TableRejestr->setObjectName(QStringLiteral("TableRejestr"));
    TableRejestr->setModel(model_);
    TableRejestr->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableRejestr->setSelectionMode(QAbstractItemView::SingleSelection);
    TableRejestr->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRejestr->verticalHeader()->hide();
    // Rows of one height: the view never asks the register for every row to size them.
    TableRejestr->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableRejestr->horizontalHeader()->setStretchLastSection(true);
    TableRejestr->setWordWrap(false);
    // Columns as wide as the newest plates need: measured on the first page only.
    TableRejestr->horizontalHeader()->setResizeContentsPrecision(TRegisterModel::PageRows);
    TableRejestr->resizeColumnsToContents();
    TableRejestr->setAccessibleName(QStringLiteral("Wydane tabliczki"));
    layout->addWidget(TableRejestr, 1);

    LabelSzczegoly = new QLabel(this);
    LabelSzczegoly->setObjectName(QStringLiteral("LabelSzczegoly"));
    LabelSzczegoly->setTextFormat(Qt::PlainText);
    LabelSzczegoly->setWordWrap(true);
    LabelSzczegoly->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelSzczegoly->setMinimumHeight(LabelSzczegoly->fontMetrics().height() * 4);
    layout->addWidget(LabelSzczegoly);

    auto *buttons = new QHBoxLayout;
    BitBtnPonownie = DialogButton("BitBtnPonownie", QStringLiteral("Drukuj &ponownie"), this);
    auto *exportButton = DialogButton("BitBtnEksport", QStringLiteral("&Eksportuj CSV…"), this);
    auto *close = DialogButton("BitBtnZamknij", QStringLiteral("Za&mknij"), this);
    buttons->addWidget(BitBtnPonownie);
    buttons->addWidget(exportButton);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(EditSzukaj, &QLineEdit::textChanged, this, [this] { FilterChanged(); });
    for (QCheckBox *box : {CheckOd, CheckDo})
        connect(box, &QCheckBox::toggled, this, [this] { FilterChanged(); });
    for (QDateEdit *edit : {DateOd, DateDo})
        connect(edit, &QDateEdit::dateChanged, this, [this] { FilterChanged(); });
    connect(TableRejestr->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { SelectionChanged(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { SelectionChanged(); });
    connect(TableRejestr, &QTableView::doubleClicked, this,
            [this] { platform::Guarded([this] { ReprintClick(); }); });
    connect(BitBtnPonownie, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { ReprintClick(); }); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { platform::Guarded([this] { ExportClick(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (model_->rowCount() > 0)
        TableRejestr->selectRow(0);
    SelectionChanged();
    EditSzukaj->setFocus();
}

TfRejestr::~TfRejestr() = default;

void TfRejestr::FilterChanged() {
    model_->SetFilter({EditSzukaj->text(), CheckOd->isChecked() ? DateOd->date() : QDate(),
                       CheckDo->isChecked() ? DateDo->date() : QDate()});
    if (model_->rowCount() > 0)
        TableRejestr->selectRow(0);
}

void TfRejestr::SelectionChanged() {
    const std::optional<TRegisterEntry> entry =
        model_->Entry(TableRejestr->selectionModel()->currentIndex().row());
    BitBtnPonownie->setEnabled(entry.has_value());
    if (!entry) {
        LabelSzczegoly->setText(
            model_->rowCount() == 0 ? QStringLiteral("Brak tabliczek do pokazania.") : QString());
        return;
    }
    LabelSzczegoly->setText(
        QStringLiteral("%1 %2, nadwozie %3, wyróżnik %4\n"
                       "Wydrukowano %5 przez %6 na drukarce „%7” (zadanie %8), arkusz %9 szt., "
                       "pozycja %10\nKorekcja drukarki: %11")
            .arg(entry->Texts[0], entry->Texts[1], entry->Texts[2], entry->Texts[3],
                 entry->PrintedAt.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss t")), entry->User,
                 entry->Printer, QString::number(entry->Job))
            .arg(entry->SheetPositions)
            .arg(entry->Position)
            .arg(CalibrationText(*entry)));
}

void TfRejestr::ReprintClick() {
    const std::optional<TRegisterEntry> entry =
        model_->Entry(TableRejestr->selectionModel()->currentIndex().row());
    if (!entry)
        return;
    if (OnReprint)
        OnReprint(entry->Texts);
    accept();
}

void TfRejestr::ExportClick() {
    const QString file = platform::Service<platform::FileDialogs>::get().saveFileName(
        QStringLiteral("Eksportuj rejestr tabliczek"),
        QStringLiteral("rejestr-tabliczek-%1.csv").arg(QDate::currentDate().toString(Qt::ISODate)),
        QStringLiteral("Pliki CSV (*.csv)"));
    if (file.isEmpty())
        return;
    // Written whole or not at all: a file left half written would pass for the register.
    QSaveFile out(file);
    int written = 0;
    if (!out.open(QIODevice::WriteOnly) ||
        !WriteRegisterCsv(*reader_, model_->Filter(), out, &written) || !out.commit())
        throw platform::Error(
            QStringLiteral("Nie udało się zapisać pliku %1: %2").arg(file, out.errorString()));
    platform::ShowMessage(
        platform::MessageKind::Information,
        QStringLiteral("Zapisano %1 tabliczek do pliku %2.").arg(written).arg(file));
}
