// The application object's process-wide values and its error display.
#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace platform {

// The application title: empty until the main window's first show sets it.
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// An error carrying one of the system's own messages.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The text the error display shows: a full stop is added when the message ends in a
// character above the full stop.
QString ErrorDisplayText(const QString &message);

// Shows an error in the error display (error icon, application title).
void ShowError(const QString &message);

// Runs one operation started from the user interface; an escaping error is shown in the
// error display and the operation is abandoned. Returns false when it was abandoned.
template <class Operation> bool Guarded(Operation &&operation)
{
    try {
        operation();
        return true;
    } catch (const Error &e) {
        ShowError(e.message());
    } catch (const std::exception &e) {
        ShowError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
    return false;
}

} // namespace platform
