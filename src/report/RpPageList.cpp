#include "RpPageList.h"

#include <QDateTime>
#include <QtEndian>

namespace {

constexpr quint16 FormatNumber = 3;
constexpr quint16 FormatSecond = 50;
constexpr int RecordOverhead = 12; // page number, next position, start position

QByteArray Int32(qint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

double DaysSince1899(const QDateTime &time) {
    return double(QDate(1899, 12, 30).daysTo(time.date())) +
           double(time.time().msecsSinceStartOfDay()) / 86400000.0;
}

} // namespace

TRpPageList::TRpPageList(qint64 memoryLimit) : stream_(memoryLimit) {}

int TRpPageList::Count() const {
    QMutexLocker locker(&lock_);
    return count_;
}

void TRpPageList::WriteHeader() {
    QMutexLocker locker(&lock_);
    WriteHeaderLocked();
}

void TRpPageList::WriteHeaderLocked() {
    QByteArray header(HeaderSize, '\0');
    char *at = header.data();
    qToLittleEndian(FormatNumber, at);
    qToLittleEndian(FormatSecond, at + 2);
    qToLittleEndian(qint32(count_), at + 8);
    qToLittleEndian(DaysSince1899(QDateTime::currentDateTime()), at + 16);
    at[25] = compression_ ? 1 : 0;
    std::fill(at + 26, at + 126, 'H');
    stream_.Seek(0);
    stream_.Write(header);
    pageAtPosition_ = 1;
}

void TRpPageList::AddPage(const QPicture &picture) {
    QMutexLocker locker(&lock_);
    if (count_ == 0)
        WriteHeaderLocked();
    const qint64 start = stream_.Size();
    const QByteArray image(picture.data(), picture.size());
    const QByteArray body =
        compression_ ? Int32(qint32(image.size())) + qCompress(image).mid(4) : image;
    const qint64 next = start + RecordOverhead + body.size();
    stream_.Seek(start);
    stream_.Write(Int32(count_ + 1) + Int32(qint32(next)) + body + Int32(qint32(start)));
    ++count_;
    pageAtPosition_ = count_ + 1;
}

qint32 TRpPageList::ReadInt(qint64 position) {
    stream_.Seek(position);
    const QByteArray bytes = stream_.Read(4);
    return bytes.size() == 4 ? qFromLittleEndian<qint32>(bytes.constData()) : -1;
}

bool TRpPageList::MoveTo(int page) {
    qint64 position = stream_.Position();
    const qint64 size = stream_.Size();
    // Each step must move through the records; a link that does not is a damaged store.
    while (pageAtPosition_ < page) {
        const qint32 next = ReadInt(position + 4);
        if (next <= position + RecordOverhead || next > size)
            return false;
        position = next;
        ++pageAtPosition_;
    }
    while (pageAtPosition_ > page) {
        const qint32 start = ReadInt(position - 4);
        if (start < HeaderSize || start + RecordOverhead > position)
            return false;
        position = start;
        --pageAtPosition_;
    }
    stream_.Seek(position);
    return true;
}

std::unique_ptr<QPicture> TRpPageList::GetPage(int n) {
    QMutexLocker locker(&lock_);
    if (n < 1 || n > count_)
        return nullptr;
    if (!MoveTo(n)) {
        // Start again from the first record.
        stream_.Seek(HeaderSize);
        pageAtPosition_ = 1;
        if (!MoveTo(n))
            return nullptr;
    }
    const qint64 start = stream_.Position();
    const qint32 number = ReadInt(start);
    const qint32 next = ReadInt(start + 4);
    if (number != n || next < start + RecordOverhead || next > stream_.Size())
        return nullptr;
    stream_.Seek(start + 8);
    QByteArray image = stream_.Read(next - RecordOverhead - start);
    stream_.Seek(next);
    pageAtPosition_ = n + 1;
    if (compression_) {
        if (image.size() < 4)
            return nullptr;
        // qUncompress expects the length big-endian in front.
        const qint32 length = qFromLittleEndian<qint32>(image.constData());
        QByteArray prefixed(4, '\0');
        qToBigEndian(length, prefixed.data());
        image = qUncompress(prefixed + image.mid(4));
        if (image.size() != length)
            return nullptr;
    }
    auto picture = std::make_unique<QPicture>();
    picture->setData(image.constData(), uint(image.size()));
    if (picture->isNull())
        return nullptr;
    return picture;
}
