// A driverless IPP Everywhere printer on this machine (ippeveprinter): A4 only, PWG raster at
// 600 dpi, 4-mm margins, keeping every document it is sent. It needs a D-Bus system bus for
// DNS-SD even when it announces nothing, so it gets one of its own.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

class IppEverywherePrinter {
public:
    IppEverywherePrinter();
    ~IppEverywherePrinter();
    IppEverywherePrinter(const IppEverywherePrinter &) = delete;
    IppEverywherePrinter &operator=(const IppEverywherePrinter &) = delete;

    // Empty when the printer runs; else why it does not.
    QString Why() const { return why_; }
    // Why it cannot run here at all (its programs are missing); empty when it could.
    QString Missing() const { return missing_; }
    QString Uri() const;
    // Switched off and on again, as a printer at a station is.
    void Stop();
    bool Start();
    // The documents it has printed, oldest first.
    QStringList Documents() const;

private:
    QString why_;
    QString missing_;
    QTemporaryDir folder_;
    int port_ = 0;
    QProcess bus_;
    QProcess printer_;
};

} // namespace testing_support
