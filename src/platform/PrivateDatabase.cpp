#include "PrivateDatabase.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kBusyTimeoutMs = 5000;

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

// The write's open file, made and checked as OpenPrivateForWriting says; nothing when any
// check fails.
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

} // namespace

void CloseDescriptor::operator()(int *fd) const {
    ::close(*fd);
    delete fd;
}

bool Execute(sqlite3 *db, const std::string &sql) {
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The one number a query yields, or nothing when it fails (a file that is no database).
std::optional<sqlite3_int64> Number(sqlite3 *db, const char *sql) {
    Statement query(db, sql);
    if (query.step() != SQLITE_ROW)
        return std::nullopt;
    return query.integer(0);
}

Database OpenPrivateForReading(const QString &file) {
    if (!ReadableStore(file))
        return nullptr;
    return Open(file, SQLITE_OPEN_READWRITE);
}

std::optional<PrivateWrite> OpenPrivateForWriting(const QString &file) {
    PrivateWrite write{PrepareStoreFile(file), nullptr};
    if (!write.file)
        return std::nullopt;
    write.db = Open(file, SQLITE_OPEN_READWRITE);
    if (!write.db || !Execute(write.db.get(), "PRAGMA synchronous = EXTRA"))
        return std::nullopt;
    return write;
}

bool TightenPrivateFile(int fd) {
    return OwnAndTighten(fd, 0600);
}

} // namespace platform
