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

std::unique_ptr<TRpPageList> TRpPageList::Open(const QByteArray &stored, qint64 memoryLimit) {
    if (stored.size() < HeaderSize ||
        qFromLittleEndian<quint16>(stored.constData()) != FormatNumber ||
        qFromLittleEndian<quint16>(stored.constData() + 2) != FormatSecond)
        return nullptr;
    const qint32 count = qFromLittleEndian<qint32>(stored.constData() + 8);
    if (count < 0)
        return nullptr;
    auto list = std::make_unique<TRpPageList>(memoryLimit);
    list->stream_.Write(stored);
    list->stream_.Seek(HeaderSize);
    list->count_ = count;
    list->compression_ = stored[25] != 0;
    return list;
}

std::optional<qint64> TRpPageList::ReadInt(qint64 position) {
    if (position < 0)
        return std::nullopt;
    stream_.Seek(position);
    const QByteArray bytes = stream_.Read(4);
    if (bytes.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(bytes.constData());
}

// Every position below is a 64-bit number made from 32-bit fields, so no sum of a damaged
// record's fields can overflow; each link must move through the records. A walk that meets
// a damaged link leaves the reader at the first record.
bool TRpPageList::MoveTo(int page) {
    qint64 position = stream_.Position();
    int at = pageAtPosition_;
    const qint64 size = stream_.Size();
    while (at < page) {
        const std::optional<qint64> next = ReadInt(position + 4);
        if (!next || *next < position + RecordOverhead || *next > size)
            return Rewind();
        position = *next;
        ++at;
    }
    while (at > page) {
        const std::optional<qint64> start = ReadInt(position - 4);
        if (!start || *start < HeaderSize || *start + RecordOverhead > position)
            return Rewind();
        position = *start;
        --at;
    }
    stream_.Seek(position);
    pageAtPosition_ = at;
    return true;
}

bool TRpPageList::Rewind() {
    stream_.Seek(HeaderSize);
    pageAtPosition_ = 1;
    return false;
}

std::unique_ptr<QPicture> TRpPageList::GetPage(int n) {
    QMutexLocker locker(&lock_);
    if (n < 1 || n > count_)
        return nullptr;
    // A walk that failed from where the reader stood may succeed from the first record.
    if (!MoveTo(n) && !MoveTo(n))
        return nullptr;
    const qint64 start = stream_.Position();
    const std::optional<qint64> number = ReadInt(start);
    const std::optional<qint64> next = ReadInt(start + 4);
    if (number != n || !next || *next < start + RecordOverhead || *next > stream_.Size()) {
        Rewind();
        return nullptr;
    }
    stream_.Seek(start + 8);
    QByteArray image = stream_.Read(*next - RecordOverhead - start);
    stream_.Seek(*next);
    pageAtPosition_ = n + 1;
    if (compression_) {
        if (image.size() < 4)
            return nullptr;
        // A damaged length must not make the reader ask for gigabytes.
        const qint32 length = qFromLittleEndian<qint32>(image.constData());
        if (length <= 0 || length > MaxPictureBytes)
            return nullptr;
        // qUncompress expects the length big-endian in front.
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
