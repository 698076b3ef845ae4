// The byte stream under the preview's page store: its bytes stay in memory up to a limit,
// then move into a private temporary file and continue there. The file is deleted when the
// stream goes. Every operation holds the stream's own lock.
#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>

#include <memory>

class QTemporaryFile;

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

    // Whether the bytes have moved into the temporary file, and its name (empty before).
    bool InFile() const;
    QString FileName() const;

private:
    void MoveToFile();

    mutable QMutex lock_;
    qint64 memoryLimit_;
    QByteArray memory_;
    std::unique_ptr<QTemporaryFile> file_;
    qint64 position_ = 0;
};
