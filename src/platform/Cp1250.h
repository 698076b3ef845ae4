// Windows-1250, the system's fixed 8-bit code page (Polish): stored texts are held in it.
#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

namespace platform {

// Characters the code page cannot hold become '?' (one per character, also for a character
// outside the basic plane); callers that must not lose text check with IsCp1250Encodable first.
QByteArray ToCp1250(const QString &text);

// Every byte decodes to one character; the five bytes the code page leaves unassigned
// (0x81, 0x83, 0x88, 0x90, 0x98) decode to the control characters of the same number, as
// Windows does, so any stored bytes read back and written again stay exactly as they were.
QString FromCp1250(const QByteArray &bytes);

bool IsCp1250Encodable(QChar character);
bool IsCp1250Encodable(const QString &text);

} // namespace platform
