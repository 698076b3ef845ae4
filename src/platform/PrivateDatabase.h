// A database file of this user's alone, as the settings store and the register keep theirs:
// never opened through a link, never someone else's file or journal, the folder 0700 and the
// file 0600. SQLite's rollback journal is kept, not WAL: a read needs nothing but the file
// itself (WAL needs a shared-memory file beside it, so reads would fail in a read-only folder
// and on network home folders), and a write killed at any moment leaves a journal that the
// next access rolls back. Writes run with synchronous=EXTRA, which also syncs the folder when
// the journal goes, so a finished write survives a power cut.
#pragma once

#include <QByteArray>
#include <QString>

#include <sqlite3.h>

#include <memory>
#include <optional>
#include <string>

namespace platform {

struct CloseDatabase {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

struct FinalizeStatement {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

// A prepared statement, bound and stepped; one that failed to prepare fails every step.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql) {
        sqlite3_stmt *prepared = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr);
        statement_.reset(prepared);
    }
    bool prepared() const { return statement_ != nullptr; }
    Statement &bind(int index, const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(statement_.get(), index, utf8.constData(), int(utf8.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Statement &bind(int index, sqlite3_int64 number) {
        sqlite3_bind_int64(statement_.get(), index, number);
        return *this;
    }
    Statement &bindNull(int index) {
        sqlite3_bind_null(statement_.get(), index);
        return *this;
    }
    Statement &bindBlob(int index, const QByteArray &bytes) {
        // A zero-length blob must not bind as NULL.
        if (bytes.isEmpty())
            sqlite3_bind_zeroblob(statement_.get(), index, 0);
        else
            sqlite3_bind_blob(statement_.get(), index, bytes.constData(), int(bytes.size()),
                              SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step() { return prepared() ? sqlite3_step(statement_.get()) : SQLITE_ERROR; }
    sqlite3_int64 integer(int column) { return sqlite3_column_int64(statement_.get(), column); }
    bool isNull(int column) { return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL; }
    QString text(int column) {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(statement_.get(), column)),
            sqlite3_column_bytes(statement_.get(), column));
    }
    QByteArray blob(int column) {
        const void *bytes = sqlite3_column_blob(statement_.get(), column);
        return QByteArray(static_cast<const char *>(bytes),
                          sqlite3_column_bytes(statement_.get(), column));
    }

private:
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement_;
};

bool Execute(sqlite3 *db, const std::string &sql);
// The one number a query yields, or nothing when it fails (a file that is no database).
std::optional<sqlite3_int64> Number(sqlite3 *db, const char *sql);

struct CloseDescriptor {
    void operator()(int *fd) const;
};
using Descriptor = std::unique_ptr<int, CloseDescriptor>;

// For a read: the database, when its folder and file are there, neither is a link, and any
// journal is the user's own; opened read-write without creating, so a journal left by a
// killed write is rolled back (a write-protected file opens for reading only). None
// otherwise; nothing is made.
Database OpenPrivateForReading(const QString &file);

// For a write: makes the folder 0700 and an empty file 0600 when they are missing. An existing
// folder must be this user's and no link, and loses every right of group and others, so
// nobody else can swap what is in it; the file must be this user's, a plain file and no link.
// The connection runs with synchronous=EXTRA. None when any of it fails.
struct PrivateWrite {
    Descriptor file;
    Database db;
};
std::optional<PrivateWrite> OpenPrivateForWriting(const QString &file);

// Once the file is known to be the right database: group and others lose their rights to it,
// the user's own bits (a write-protected file stays so) are kept. False when it is not the
// user's file.
bool TightenPrivateFile(int fd);

} // namespace platform
