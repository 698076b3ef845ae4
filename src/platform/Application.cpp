#include "Application.h"

#include "Messages.h"

namespace platform {
namespace {
QString &title()
{
    static QString value;
    return value;
}
} // namespace

QString ApplicationTitle() { return title(); }

void SetApplicationTitle(const QString &value) { title() = value; }

QString ErrorDisplayText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}

void ShowError(const QString &message) { ShowMessage(MessageKind::Error, ErrorDisplayText(message)); }

} // namespace platform
