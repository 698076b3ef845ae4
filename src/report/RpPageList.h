// The preview's page store: page images appended one record per page to a TRpStream after
// a fixed header, and read back one page at a time by following the records' links.
//
// Header (128 bytes, little-endian): format 3 (2 bytes), 50 (2), reserved (4), pages
// stored (4), reserved (4), time of writing as days since 30 December 1899 (double),
// reserved (1), compressed flag (1), 100 x 'H', reserved (2).
// Record: page number (4), position of the next record (4), the picture's bytes (with
// compression: the uncompressed length (4) and the compressed bytes), position of this
// record's start (4).
#pragma once

#include "report/RpStream.h"

#include <QMutex>
#include <QPicture>

#include <memory>
#include <optional>

class TRpPageList {
public:
    static constexpr qint64 HeaderSize = 128;

    explicit TRpPageList(qint64 memoryLimit);
    // A store written before, from its bytes; none when its header is not one of a store.
    static std::unique_ptr<TRpPageList> Open(const QByteArray &stored, qint64 memoryLimit);
    // The largest page picture a record may claim to unpack to.
    static constexpr qint64 MaxPictureBytes = 64 * 1024 * 1024;

    // Page images are stored compressed; set before the first page.
    void SetCompression(bool compression) { compression_ = compression; }
    bool Compression() const { return compression_; }

    // Appends a page; the header is written before the first one.
    void AddPage(const QPicture &picture);
    // Writes the header with the number of pages stored.
    void WriteHeader();
    int Count() const;
    // A new copy of page n (1 = the first record after the header); none when it is not
    // stored or its record cannot be read.
    std::unique_ptr<QPicture> GetPage(int n);

    const TRpStream &Stream() const { return stream_; }

private:
    void WriteHeaderLocked();
    // The 32-bit number at the position, or none past the end.
    std::optional<qint64> ReadInt(qint64 position);
    bool MoveTo(int page);
    // Back to the first record; false, for the walk that gave up.
    bool Rewind();

    mutable QMutex lock_;
    TRpStream stream_;
    bool compression_ = false;
    int count_ = 0;
    int pageAtPosition_ = 1; // the page whose record starts at the stream's position
};
