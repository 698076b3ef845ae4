// Every entry below a folder, to prove a test changed nothing there.
#pragma once

#include <QMap>
#include <QString>

// Relative path -> mode and content (or size and time where it cannot be read).
QMap<QString, QString> Snapshot(const QString &folder);
