#include "TemporaryFile.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::unique_ptr<QFile> OpenNamelessTemporaryFile() {
    const QByteArray folder = QFile::encodeName(QDir::tempPath());
    // The kernel makes the file without a name where the file system can; elsewhere it gets
    // one for the moment between its creation and its removal.
    int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        QByteArray name = folder + "/merovan-pages-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0 && ::unlink(name.constData()) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return nullptr;
    auto file = std::make_unique<QFile>();
    if (::fchmod(fd, 0600) != 0 ||
        !file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

} // namespace platform
