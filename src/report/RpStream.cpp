#include "RpStream.h"

#include "platform/Application.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

[[noreturn]] void Fail(const QTemporaryFile &file) {
    throw platform::Error(QStringLiteral("Cannot write the page store %1: %2")
                              .arg(file.fileName(), file.errorString()));
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
            Fail(*file_);
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

QString TRpStream::FileName() const {
    QMutexLocker locker(&lock_);
    return file_ ? file_->fileName() : QString();
}

void TRpStream::MoveToFile() {
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                 QStringLiteral("/merovan-pages-XXXXXX"));
    if (!file->open())
        Fail(*file);
    // Only the user may read the pages of a preview.
    file->setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file->write(memory_) != memory_.size())
        Fail(*file);
    file_ = std::move(file);
    memory_ = QByteArray();
}
