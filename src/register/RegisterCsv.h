// The register's plates as a CSV file a Polish spreadsheet opens as it is: UTF-8 with a byte
// order mark, ";" between fields and CR LF between rows, a field quoted when it holds a ";", a
// quote or a line break (its quotes doubled). A text a spreadsheet would run as a formula
// (starting with "=", "+", "-" or "@") is written after an apostrophe, so opening the file
// never runs what an operator typed.
#pragma once

#include "register/PlateRegister.h"

#include <QByteArray>
#include <QIODevice>
#include <QStringList>

// One row of the file, without its line end.
QByteArray CsvRow(const QStringList &fields);

// The plates the filter shows, newest first, under a heading row; the number written.
// False when the device refuses to be written.
bool WriteRegisterCsv(TRegisterReader &reader, const TRegisterFilter &filter, QIODevice &out,
                      int *written = nullptr);

// What a plate's sheet position and correction read as, as the register window shows them.
QString SheetPositionText(const TRegisterEntry &entry);
QString CalibrationText(const TRegisterEntry &entry);
