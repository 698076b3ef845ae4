// The byte stream under the preview's page store: its bytes stay in memory up to a limit,
// then move into a private temporary file without a name and continue there, so the file is
// gone with the stream and cannot outlive the process. Every operation holds the stream's own
// lock.
#pragma once

#include <QByteArray>
#include <QMutex>

#include <memory>

class QFile;

class TRpStream {
public:
    explicit TRpStream(qint64 memoryLimit);
    ~TRpStream();
    TRpStream(const TRpStream &) = delete;
    TRpStream &operator=(const TRpStream &) = delete;

    qint64 Size() const;
    qint64 Position() const;
    void Seek(qint64 position);
    // Writes at the position, overwriting or extending, and moves past what was written.
    // Raises when the temporary file cannot be created or written.
    void Write(const QByteArray &bytes);
    // Up to `count` bytes from the position; fewer at the end of the stream.
    QByteArray Read(qint64 count);

    // Whether the bytes have moved into the temporary file.
    bool InFile() const;

private:
    void MoveToFile();

    mutable QMutex lock_;
    qint64 memoryLimit_;
    QByteArray memory_;
    std::unique_ptr<QFile> file_;
    qint64 position_ = 0;
};
