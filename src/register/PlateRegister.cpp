#include "PlateRegister.h"

#include "platform/Application.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

using platform::Database;
using platform::Execute;
using platform::Number;
using platform::Statement;

namespace {

// Marks a database as the register; nothing is written to a database marked otherwise.
constexpr int ApplicationId = 0x4D52524A; // "MRRJ"
// The schema this program writes; a register of a later version is left alone, an earlier
// one would be migrated here.
constexpr int SchemaVersion = 1;

constexpr const char *Schema[] = {
    "CREATE TABLE plates ("
    " id INTEGER PRIMARY KEY,"
    " printed_at TEXT NOT NULL,"     // local, ISO 8601 with the offset from UTC
    " printed_utc INTEGER NOT NULL," // seconds since the epoch: order and date ranges
    " user_name TEXT NOT NULL,"
    " printer TEXT NOT NULL,"
    " shift_x INTEGER, stretch_x INTEGER, shift_y INTEGER, stretch_y INTEGER," // NULL: none
    " sheet INTEGER NOT NULL,"
    " position INTEGER NOT NULL,"
    " make TEXT NOT NULL, model TEXT NOT NULL, body TEXT NOT NULL, station TEXT NOT NULL,"
    " job INTEGER NOT NULL,"
    " search TEXT NOT NULL,"    // the four texts as searching compares them
    " body_key TEXT NOT NULL)", // the body number trimmed and upper case
    "CREATE INDEX plates_time ON plates (printed_utc)",
    "CREATE INDEX plates_body ON plates (body_key, printed_utc)",
};

constexpr const char *Columns =
    "SELECT id, printed_at, user_name, printer, shift_x, stretch_x, shift_y, stretch_y, sheet,"
    " position, make, model, body, station, job FROM plates";

platform::Error Refused(const QString &why) {
    return platform::Error(QStringLiteral("Rejestr tabliczek %1 %2").arg(RegisterPath(), why));
}

// Whether the database is the register, of a version this program knows; raises when it is
// something else. False for an empty database, which becomes the register on the first write.
bool IsRegister(sqlite3 *db) {
    const auto id = Number(db, "PRAGMA application_id");
    if (id == ApplicationId) {
        const auto version = Number(db, "PRAGMA user_version").value_or(0);
        if (version > SchemaVersion)
            throw Refused(QStringLiteral("pochodzi z nowszej wersji programu (wersja rejestru %1, "
                                         "ta wersja zna %2); pozostawiono go bez zmian")
                              .arg(version)
                              .arg(SchemaVersion));
        return true;
    }
    if (id == 0 && Number(db, "SELECT count(*) FROM sqlite_schema") == 0)
        return false;
    throw Refused(QStringLiteral("nie jest rejestrem tabliczek; pozostawiono go bez zmian"));
}

QString BodyKey(const QString &body) {
    return body.trimmed().toUpper();
}

// A LIKE pattern finding the text anywhere, its own wildcards taken literally.
QString Anywhere(const QString &text) {
    QString escaped = SearchForm(text);
    escaped.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'%', QStringLiteral("\\%"))
        .replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

// The WHERE clause of a filter and its values, in order.
struct Where {
    QString sql;
    QStringList texts;
    std::vector<qint64> numbers;
};

Where WhereOf(const TRegisterFilter &filter) {
    Where where;
    QStringList parts;
    if (!filter.Search.trimmed().isEmpty()) {
        parts << QStringLiteral("search LIKE ? ESCAPE '\\'");
        where.texts << Anywhere(filter.Search.trimmed());
    }
    if (filter.From.isValid()) {
        parts << QStringLiteral("printed_utc >= ?");
        where.numbers.push_back(filter.From.startOfDay().toSecsSinceEpoch());
    }
    if (filter.To.isValid()) {
        parts << QStringLiteral("printed_utc < ?");
        where.numbers.push_back(filter.To.addDays(1).startOfDay().toSecsSinceEpoch());
    }
    if (!parts.isEmpty())
        where.sql = QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
    return where;
}

// Binds a filter's values from the first placeholder on; the next free one.
int Bind(Statement &statement, const Where &where) {
    int index = 1;
    for (const QString &text : where.texts)
        statement.bind(index++, text);
    for (const qint64 number : where.numbers)
        statement.bind(index++, sqlite3_int64(number));
    return index;
}

TRegisterEntry EntryOf(Statement &row) {
    TRegisterEntry entry;
    entry.Id = row.integer(0);
    entry.PrintedAt = QDateTime::fromString(row.text(1), Qt::ISODate);
    entry.User = row.text(2);
    entry.Printer = row.text(3);
    if (!row.isNull(4))
        entry.Calibration = std::array<qint32, 4>{qint32(row.integer(4)), qint32(row.integer(5)),
                                                  qint32(row.integer(6)), qint32(row.integer(7))};
    entry.SheetPositions = int(row.integer(8));
    entry.Position = int(row.integer(9));
    for (int i = 0; i < 4; ++i)
        entry.Texts[std::size_t(i)] = row.text(10 + i);
    entry.Job = int(row.integer(14));
    return entry;
}

bool Exists(const QString &path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

QString SearchForm(const QString &text) {
    QString folded = text.toCaseFolded().normalized(QString::NormalizationForm_D);
    folded.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return folded.replace(u'ł', u'l');
}

QString RegisterPath() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    return dataHome + QStringLiteral("/merovan/rejestr.db");
}

void RecordPlate(const TRegisterEntry &entry) {
    const std::optional<platform::PrivateWrite> store =
        platform::OpenPrivateForWriting(RegisterPath());
    if (!store)
        throw Refused(QStringLiteral("nie daje się otworzyć do zapisu (dowiązanie, plik innego "
                                     "użytkownika albo brak dostępu)"));
    sqlite3 *db = store->db.get();
    if (!Execute(db, "BEGIN IMMEDIATE"))
        throw Refused(QStringLiteral("jest zajęty albo uszkodzony"));
    try {
        if (!IsRegister(db)) {
            for (const char *sql : Schema)
                if (!Execute(db, sql))
                    throw Refused(QStringLiteral("nie daje się założyć"));
            Execute(db, "PRAGMA application_id = " + std::to_string(ApplicationId));
            Execute(db, "PRAGMA user_version = " + std::to_string(SchemaVersion));
        }
        platform::TightenPrivateFile(*store->file);
        Statement insert(db, "INSERT INTO plates (printed_at, printed_utc, user_name, printer,"
                             " shift_x, stretch_x, shift_y, stretch_y, sheet, position, make,"
                             " model, body, station, job, search, body_key)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, entry.PrintedAt.toString(Qt::ISODate))
            .bind(2, sqlite3_int64(entry.PrintedAt.toSecsSinceEpoch()))
            .bind(3, entry.User)
            .bind(4, entry.Printer);
        for (int i = 0; i < 4; ++i)
            if (entry.Calibration)
                insert.bind(5 + i, sqlite3_int64((*entry.Calibration)[std::size_t(i)]));
            else
                insert.bindNull(5 + i);
        insert.bind(9, sqlite3_int64(entry.SheetPositions)).bind(10, sqlite3_int64(entry.Position));
        for (int i = 0; i < 4; ++i)
            insert.bind(11 + i, entry.Texts[std::size_t(i)]);
        QStringList searched;
        for (const QString &text : entry.Texts)
            searched << SearchForm(text);
        insert.bind(15, sqlite3_int64(entry.Job))
            .bind(16, searched.join(u'\n'))
            .bind(17, BodyKey(entry.Texts[2]));
        if (insert.step() != SQLITE_DONE || !Execute(db, "COMMIT"))
            throw Refused(QStringLiteral("nie przyjął zapisu: %1")
                              .arg(QString::fromUtf8(sqlite3_errmsg(db))));
    } catch (...) {
        Execute(db, "ROLLBACK");
        throw;
    }
}

TRegisterReader::TRegisterReader() {
    const QString path = RegisterPath();
    if (!Exists(path))
        return; // nothing issued yet
    db_ = platform::OpenPrivateForReading(path);
    if (!db_)
        throw Refused(QStringLiteral("nie daje się odczytać (dowiązanie, plik innego "
                                     "użytkownika albo brak dostępu)"));
    if (!IsRegister(db_.get()))
        db_.reset(); // an empty file: nothing issued yet
}

int TRegisterReader::Count(const TRegisterFilter &filter) {
    if (!db_)
        return 0;
    const Where where = WhereOf(filter);
    Statement count(
        db_.get(),
        (QStringLiteral("SELECT count(*) FROM plates") + where.sql).toUtf8().constData());
    Bind(count, where);
    return count.step() == SQLITE_ROW ? int(count.integer(0)) : 0;
}

std::vector<TRegisterEntry> TRegisterReader::Rows(const TRegisterFilter &filter, int offset,
                                                  int limit) {
    std::vector<TRegisterEntry> rows;
    if (!db_)
        return rows;
    const Where where = WhereOf(filter);
    Statement select(db_.get(),
                     (QLatin1String(Columns) + where.sql +
                      QStringLiteral(" ORDER BY printed_utc DESC, id DESC LIMIT ? OFFSET ?"))
                         .toUtf8()
                         .constData());
    const int next = Bind(select, where);
    select.bind(next, sqlite3_int64(limit)).bind(next + 1, sqlite3_int64(offset));
    while (select.step() == SQLITE_ROW)
        rows.push_back(EntryOf(select));
    return rows;
}

std::optional<TRegisterEntry> TRegisterReader::LastWithBody(const QString &body) {
    if (!db_)
        return std::nullopt;
    Statement select(db_.get(), (QLatin1String(Columns) +
                                 QStringLiteral(" WHERE body_key = ? ORDER BY printed_utc DESC,"
                                                " id DESC LIMIT 1"))
                                    .toUtf8()
                                    .constData());
    select.bind(1, BodyKey(body));
    if (select.step() != SQLITE_ROW)
        return std::nullopt;
    return EntryOf(select);
}
