#include "Registry.h"

#include "PrivateDatabase.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <string>

// The store is one private SQLite database per user (PrivateDatabase.h says how it is kept).
// Writes are a handful at window close; their cost does not matter.

namespace platform {
namespace {

// Marks a database as this store; a write never touches a database marked otherwise.
constexpr int kApplicationId = 0x5A4F5649; // "ZOVI"

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
        const Database db = OpenPrivateForReading(RegistryStorePath());
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
        const std::optional<PrivateWrite> store = OpenPrivateForWriting(RegistryStorePath());
        if (!store)
            return false;
        sqlite3 *db = store->db.get();
        // IMMEDIATE takes the write lock up front, so a second writer waits in the busy
        // timeout instead of failing when it upgrades from reading.
        if (!Execute(db, "BEGIN IMMEDIATE"))
            return false;
        // Only a file that is this store loses the rights of group and others.
        if (EnsureSchema(db) && TightenPrivateFile(*store->file) && change(db) &&
            Execute(db, "COMMIT"))
            return true;
        Execute(db, "ROLLBACK");
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
