#include "OrderMessage.h"

#include "forms/controls/TEdit.h"
#include "platform/Application.h"
#include "platform/Shell.h"
#include "settings/uRegistry.h"
#include "uDaneZamawiajacego.h"

#include <memory>

namespace {

const QString kSection = QStringLiteral("Zamawiajacy");

QString ValueName(int field) {
    return QString::number(field);
}

} // namespace

QString OrderMailbox() {
    return QStringLiteral(MEROVAN_ORDER_MAILBOX);
}

QString OrderBody(const OrdererDetails &details, const QDate &today) {
    const QChar cr = u'\r';
    const QString date = QStringLiteral("%1.%2.%3")
                             .arg(today.day(), 2, 10, QLatin1Char('0'))
                             .arg(today.month(), 2, 10, QLatin1Char('0'))
                             .arg(today.year(), 4, 10, QLatin1Char('0'));
    return QStringLiteral("Ilość pakietów: 1  //  Cena jednostkowa brutto: 354,24 zł plus koszty "
                          "wysyłki") +
           cr + QStringLiteral("  //  ZAMAWIAJACY: ") + details[0] + cr +
           QStringLiteral("  //  KOD, MIEJSCOWOŚĆ: ") + details[1] + u' ' + details[2] + cr +
           QStringLiteral("  //  ADRES: ") + details[3] + cr + QStringLiteral("  //  NIP: ") +
           details[4] + cr + QStringLiteral("  //  TELEFON: ") + details[5] + cr +
           QStringLiteral("  //  MAIL: ") + details[6] + cr + QStringLiteral("  //  WYROZNIK: ") +
           details[7] + cr + QStringLiteral("  //  INNE: ") + details[8] + cr +
           QStringLiteral("  //  DATA ZAMÓWIENIA: ") + date;
}

QString OrderLink(const QString &body) {
    return QStringLiteral("mailto:") + OrderMailbox() +
           QStringLiteral("?subject=Zamowienie%20folii%20do%20druku%20tabliczek&body=") + body;
}

void OrderFoil(const std::function<QDate()> &today) {
    const auto dialog = std::make_unique<TfDaneZamawiajacego>();
    dialog->CLEARDATA();
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        dialog->Edit(i)->setText(ReadFromHKCUkey(platform::ApplicationTitle(), kSection,
                                                 ValueName(i), int(TSettingsTag::String),
                                                 TSettingsValue::Text(QString()))
                                     .toText());
    if (dialog->exec() != TfDaneZamawiajacego::mrOk)
        return;

    OrdererDetails details;
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        details[i - 1] = dialog->Edit(i)->text();
    platform::OpenMailtoLink(OrderLink(OrderBody(details, today())));
    for (int i = 1; i <= TfDaneZamawiajacego::FieldCount; ++i)
        WriteToHKCUkey(platform::ApplicationTitle(), kSection, ValueName(i),
                       TSettingsValue::Text(details[i - 1]));
}
