// The foil order: the order e-mail's body and mailto link, and the order routine behind
// the main window's "Zamówienie folii".
#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <functional>

using OrdererDetails = std::array<QString, 9>; // the texts of Edit1 .. Edit9

// The vendor's order mailbox, fixed at build time.
QString OrderMailbox();

// The 28 pieces of the order, lines separated by a bare carriage return; the date as
// "DD.MM.YYYY" whatever the locale.
QString OrderBody(const OrdererDetails &details, const QDate &today);

// "mailto:" + mailbox + the fixed, already encoded subject + "&body=" + the body as it is.
QString OrderLink(const QString &body);

// Shows the orderer dialog filled with the details saved at the last order; when the
// operator confirms, hands the order to the mail program and saves the details, after the
// hand-over. Raises the store's error when a write is refused (the values before it are
// saved). The date is asked for when the order is composed.
void OrderFoil(const std::function<QDate()> &today = &QDate::currentDate);
