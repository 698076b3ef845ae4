// The register of issued plates: one row for every plate whose print completed, in an SQLite
// database of its own at $XDG_DATA_HOME/merovan/rejestr.db, kept as privately as the settings
// store. It is opened when a print completes and when its window opens, never at start. The
// schema carries its version: a register made by a newer program is left untouched.
#pragma once

#include "platform/PrivateDatabase.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

// One plate the register holds.
struct TRegisterEntry {
    qint64 Id = 0;
    QDateTime PrintedAt; // local time, with its offset from UTC
    QString User;
    QString Printer;
    // The registration correction it was printed with: shift and stretch across, then down
    // (micrometres, parts per million); none when it was printed without one.
    std::optional<std::array<qint32, 4>> Calibration;
    int SheetPositions = 8;       // 8 or 10
    int Position = 0;             // on the sheet, 1 to 10
    std::array<QString, 4> Texts; // make, model, body number, station, exactly as printed
    int Job = 0;                  // the printer system's job number
    friend bool operator==(const TRegisterEntry &, const TRegisterEntry &) = default;
};

// Which plates to show: those with `Search` in any of the four texts (case and Polish
// diacritics aside), printed on a day from `From` to `To` (local days, both included; an
// invalid date leaves that end open).
struct TRegisterFilter {
    QString Search;
    QDate From;
    QDate To;
};

// The text as searching compares it: case folded, diacritics dropped (ł too).
QString SearchForm(const QString &text);

// The register's file: $XDG_DATA_HOME/merovan/rejestr.db, the data folder defaulting to
// ~/.local/share.
QString RegisterPath();

// Adds the plate in one transaction: it is there whole or not at all. Raises platform::Error
// with a Polish message when the register cannot be written.
void RecordPlate(const TRegisterEntry &entry);

// The register opened for reading, for as long as a window shows it. A register not made yet
// reads as empty; one that cannot be read (a link, someone else's file, no register at all,
// a newer version) raises platform::Error with a Polish message when opened.
class TRegisterReader {
public:
    TRegisterReader();

    int Count(const TRegisterFilter &filter);
    // Newest first.
    std::vector<TRegisterEntry> Rows(const TRegisterFilter &filter, int offset, int limit);
    // The newest plate issued for this body number, trimmed and case aside.
    std::optional<TRegisterEntry> LastWithBody(const QString &body);

private:
    platform::Database db_;
};
