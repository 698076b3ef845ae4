#include "RpStream.h"

#include "platform/Application.h"
#include "platform/TemporaryFile.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace {

[[noreturn]] void Fail(const QString &reason) {
    throw platform::Error(
        QStringLiteral("Cannot write the page store in %1: %2").arg(QDir::tempPath(), reason));
}

} // namespace

TRpStream::TRpStream(qint64 memoryLimit) : memoryLimit_(memoryLimit) {}

TRpStream::~TRpStream() = default;

qint64 TRpStream::Size() const {
    QMutexLocker locker(&lock_);
    return file_ ? file_->size() : memory_.size();
}

qint64 TRpStream::Position() const {
    QMutexLocker locker(&lock_);
    return position_;
}

void TRpStream::Seek(qint64 position) {
    QMutexLocker locker(&lock_);
    position_ = qMax<qint64>(0, position);
}

void TRpStream::Write(const QByteArray &bytes) {
    QMutexLocker locker(&lock_);
    const qint64 end = position_ + bytes.size();
    if (!file_ && qMax<qint64>(end, memory_.size()) > memoryLimit_)
        MoveToFile();
    if (file_) {
        if (!file_->seek(position_) || file_->write(bytes) != bytes.size())
            Fail(file_->errorString());
    } else {
        if (end > memory_.size())
            memory_.resize(end, '\0');
        std::copy(bytes.begin(), bytes.end(), memory_.begin() + position_);
    }
    position_ = end;
}

QByteArray TRpStream::Read(qint64 count) {
    QMutexLocker locker(&lock_);
    QByteArray bytes;
    if (file_) {
        if (file_->seek(position_))
            bytes = file_->read(count);
    } else if (position_ < memory_.size()) {
        bytes = memory_.mid(position_, count);
    }
    position_ += bytes.size();
    return bytes;
}

bool TRpStream::InFile() const {
    QMutexLocker locker(&lock_);
    return file_ != nullptr;
}

void TRpStream::MoveToFile() {
    // Only the user may read the pages of a preview.
    std::unique_ptr<QFile> file = platform::OpenNamelessTemporaryFile();
    if (!file)
        Fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (file->write(memory_) != memory_.size())
        Fail(file->errorString());
    file_ = std::move(file);
    memory_ = QByteArray();
}
