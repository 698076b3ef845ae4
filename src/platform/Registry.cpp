#include "Registry.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// The store is one SQLite database per user. It keeps SQLite's default rollback journal
// rather than WAL: a read then needs nothing but the database file itself (WAL needs a
// shared-memory file beside it, so reads would fail in a read-only folder and on network
// home folders), and a write killed at any moment leaves a journal that the next access
// rolls back. synchronous=EXTRA also syncs the folder when the journal is deleted, so a
// finished write survives a power cut too. Writes are a handful at window close; their
// cost does not matter.

namespace platform {
namespace {

// Marks a database as this store; a write never touches a database marked otherwise.
constexpr int kApplicationId = 0x5A4F5649; // "ZOVI"
constexpr int kBusyTimeoutMs = 5000;

constexpr const char *kSchema[] = {
    "CREATE TABLE registry_keys ("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER REFERENCES registry_keys(id),"
    " path TEXT NOT NULL,"           // as first created, without the final separator
    " folded TEXT NOT NULL UNIQUE)", // the path case-folded: keys compare without case
    "CREATE TABLE registry_values ("
    " key INTEGER NOT NULL REFERENCES registry_keys(id),"
    " name TEXT NOT NULL,"   // as first set
    " folded TEXT NOT NULL," // the name case-folded
    " type INTEGER NOT NULL,"
    " data BLOB NOT NULL,"
    " PRIMARY KEY (key, folded))",
    "PRAGMA user_version = 1",
};

struct CloseDatabase {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, CloseDatabase>;

struct FinalizeStatement {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

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
    QByteArray blob(int column) {
        const void *bytes = sqlite3_column_blob(statement_.get(), column);
        return QByteArray(static_cast<const char *>(bytes),
                          sqlite3_column_bytes(statement_.get(), column));
    }

private:
    std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement_;
};

bool Execute(sqlite3 *db, const std::string &sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The key path's components: separated by '\', one final '\' allowed; nothing when a
// component is empty.
std::optional<QStringList> KeyComponents(const QString &keyPath) {
    QStringList components = keyPath.split(u'\\');
    if (components.size() > 1 && components.back().isEmpty())
        components.pop_back();
    for (const QString &component : components)
        if (component.isEmpty())
            return std::nullopt;
    return components;
}

QString Fold(const QString &text) {
    return text.toCaseFolded();
}

Database Open(const QString &file, int flags) {
    sqlite3 *db = nullptr;
    const int result = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr);
    Database database(db);
    if (result != SQLITE_OK)
        return nullptr;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return database;
}

// Creates the folder and any missing parents, each 0700 whatever the umask. False when a
// component is not a folder or cannot be made.
bool MakePrivateFolder(const QByteArray &path) {
    struct stat info;
    if (::stat(path.constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    if (errno != ENOENT)
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0 && !MakePrivateFolder(path.left(slash)))
        return false;
    if (::mkdir(path.constData(), 0700) != 0)
        return errno == EEXIST && ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
    return ::chmod(path.constData(), 0700) == 0;
}

struct CloseDescriptor {
    void operator()(int *fd) const {
        ::close(*fd);
        delete fd;
    }
};
using Descriptor = std::unique_ptr<int, CloseDescriptor>;

Descriptor Adopt(int fd) {
    return fd < 0 ? nullptr : Descriptor(new int(fd));
}

// The store file and its journal, as SQLite names them beside each other.
QByteArray JournalName(const QByteArray &file) {
    return file + "-journal";
}

// The store's journal: not there, or a plain file of this user's. A link is never followed:
// through it a write would land in someone else's file. Someone else's journal would be
// played back into the store by the next open.
bool OwnJournalAt(int folder, const QByteArray &name) {
    struct stat info;
    if (::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT;
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

// For a read: the store's folder and file are there, neither is a link, and any journal is
// the user's own. Nothing is made or changed.
bool ReadableStore(const QString &file) {
    const QByteArray path = QFile::encodeName(file);
    const qsizetype slash = path.lastIndexOf('/');
    const Descriptor folder = Adopt(
        ::open(path.left(slash).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder)
        return false;
    const QByteArray name = path.mid(slash + 1);
    struct stat info;
    return ::fstatat(*folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(info.st_mode) && OwnJournalAt(*folder, JournalName(name));
}

// The entry is this user's; whatever group and others may do with it is taken away, the
// user's own bits (a write-protected store stays so) are kept.
bool OwnAndTighten(int fd, mode_t userBits) {
    struct stat info;
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid())
        return false;
    const mode_t mode = info.st_mode & 07777;
    return (mode & ~userBits) == 0 || ::fchmod(fd, mode & userBits) == 0;
}

// For a write: makes the store's folder 0700 and an empty file 0600 when they are missing. An
// existing folder must be this user's and no link, and loses every right of group and others,
// so nobody else can swap what is in it; the file must be this user's, a plain file and no
// link. Gives the open file, or nothing.
Descriptor PrepareStoreFile(const QString &file) {
    const QByteArray path = QFile::encodeName(file);
    const qsizetype slash = path.lastIndexOf('/');
    if (!MakePrivateFolder(path.left(slash)))
        return nullptr;
    const Descriptor folder = Adopt(
        ::open(path.left(slash).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder || !OwnAndTighten(*folder, 0700))
        return nullptr;
    const QByteArray name = path.mid(slash + 1);
    if (!OwnJournalAt(*folder, JournalName(name)))
        return nullptr;
    if (Descriptor created = Adopt(::openat(
            *folder, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)))
        return ::fchmod(*created, 0600) == 0 ? std::move(created) : nullptr;
    Descriptor store =
        Adopt(::openat(*folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat info;
    if (!store || ::fstat(*store, &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid())
        return nullptr;
    return store;
}

// The one number a query yields, or nothing when it fails (a file that is no database).
std::optional<sqlite3_int64> Number(sqlite3 *db, const char *sql) {
    Statement query(db, sql);
    if (query.step() != SQLITE_ROW)
        return std::nullopt;
    return query.integer(0);
}

// Inside a write transaction: true when the database is this store, making it one when it
// is still empty. Any other database, or a file that is no database, is refused.
bool EnsureSchema(sqlite3 *db) {
    const auto id = Number(db, "PRAGMA application_id");
    if (id == kApplicationId)
        return true;
    if (id != 0 || Number(db, "SELECT count(*) FROM sqlite_schema") != 0)
        return false;
    for (const char *sql : kSchema)
        if (!Execute(db, sql))
            return false;
    return Execute(db, "PRAGMA application_id = " + std::to_string(kApplicationId));
}

// Inside a write transaction: the id of the key, created with its missing parents.
std::optional<sqlite3_int64> CreateKey(sqlite3 *db, const QStringList &components) {
    std::optional<sqlite3_int64> parent;
    QString path;
    for (const QString &component : components) {
        path = path.isEmpty() ? component : path + u'\\' + component;
        Statement insert(db, "INSERT INTO registry_keys (parent, path, folded) VALUES (?, ?, ?)"
                             " ON CONFLICT (folded) DO NOTHING");
        if (parent)
            insert.bind(1, *parent);
        if (insert.bind(2, path).bind(3, Fold(path)).step() != SQLITE_DONE)
            return std::nullopt;
        Statement select(db, "SELECT id FROM registry_keys WHERE folded = ?");
        if (select.bind(1, Fold(path)).step() != SQLITE_ROW)
            return std::nullopt;
        parent = select.integer(0);
    }
    return parent;
}

class SqliteRegistry final : public Registry {
public:
    std::optional<RegistryValue> queryValue(const QString &keyPath, const QString &name) override {
        const auto components = KeyComponents(keyPath);
        if (!components)
            return std::nullopt;
        // Read-write without creating: a journal left by a killed write is rolled back here.
        // A write-protected file still opens, for reading only.
        const QString file = RegistryStorePath();
        if (!ReadableStore(file))
            return std::nullopt;
        const Database db = Open(file, SQLITE_OPEN_READWRITE);
        if (!db)
            return std::nullopt;
        Statement select(db.get(), "SELECT v.type, v.data FROM registry_values v"
                                   " JOIN registry_keys k ON k.id = v.key"
                                   " WHERE k.folded = ? AND v.folded = ?");
        if (select.bind(1, Fold(components->join(u'\\'))).bind(2, Fold(name)).step() != SQLITE_ROW)
            return std::nullopt;
        return RegistryValue{std::uint32_t(select.integer(0)), select.blob(1)};
    }

    bool setValues(const std::vector<RegistryWrite> &values) override {
        return transact([&](sqlite3 *db) {
            return std::all_of(values.begin(), values.end(), [&](const RegistryWrite &value) {
                const auto components = KeyComponents(value.keyPath);
                return components && write(db, *components, value.name, value.value);
            });
        });
    }

    bool deleteValue(const QString &keyPath, const QString &name) override {
        const auto components = KeyComponents(keyPath);
        return components && transact([&](sqlite3 *db) {
                   Statement remove(db, "DELETE FROM registry_values WHERE folded = ? AND key ="
                                        " (SELECT id FROM registry_keys WHERE folded = ?)");
                   return remove.bind(1, Fold(name))
                              .bind(2, Fold(components->join(u'\\')))
                              .step() == SQLITE_DONE;
               });
    }

private:
    // Runs the change in one write transaction of the store file: all of it or nothing, and
    // only in a file that is this store.
    template <class Change> static bool transact(Change &&change) {
        const QString file = RegistryStorePath();
        const Descriptor store = PrepareStoreFile(file);
        if (!store)
            return false;
        const Database db = Open(file, SQLITE_OPEN_READWRITE);
        if (!db || !Execute(db.get(), "PRAGMA synchronous = EXTRA"))
            return false;
        // IMMEDIATE takes the write lock up front, so a second writer waits in the busy
        // timeout instead of failing when it upgrades from reading.
        if (!Execute(db.get(), "BEGIN IMMEDIATE"))
            return false;
        // Only a file that is this store loses the rights of group and others.
        if (EnsureSchema(db.get()) && OwnAndTighten(*store, 0600) && change(db.get()) &&
            Execute(db.get(), "COMMIT"))
            return true;
        Execute(db.get(), "ROLLBACK");
        return false;
    }

    static bool write(sqlite3 *db, const QStringList &components, const QString &name,
                      const RegistryValue &value) {
        const auto key = CreateKey(db, components);
        if (!key)
            return false;
        Statement upsert(db, "INSERT INTO registry_values (key, name, folded, type, data)"
                             " VALUES (?, ?, ?, ?, ?)"
                             " ON CONFLICT (key, folded) DO UPDATE"
                             " SET type = excluded.type, data = excluded.data");
        return upsert.bind(1, *key)
                   .bind(2, name)
                   .bind(3, Fold(name))
                   .bind(4, sqlite3_int64(value.type))
                   .bindBlob(5, value.data)
                   .step() == SQLITE_DONE;
    }
};

} // namespace

Registry &Registry::real() {
    static SqliteRegistry registry;
    return registry;
}

QString RegistryStorePath() {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty() || QDir::isRelativePath(configHome))
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/ZOVI Software/registry.db");
}

} // namespace platform
