#include "FolderSnapshot.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

QMap<QString, QString> Snapshot(const QString &folder) {
    QMap<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString entry = QString::number(int(info.permissions()), 16);
        if (info.isFile()) {
            QFile file(info.filePath());
            // Unreadable to this process: its size and time must do.
            entry += file.open(QIODevice::ReadOnly)
                         ? QString::fromLatin1(
                               QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                   .toHex())
                         : QString::number(info.size()) +
                               info.lastModified().toString(Qt::ISODateWithMs);
        }
        entries.insert(info.filePath().mid(folder.size()), entry);
    }
    return entries;
}
