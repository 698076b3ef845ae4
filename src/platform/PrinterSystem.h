// The printers the platform offers the user, in the platform's order. A position in this
// list is a printer index everywhere in the system.
#pragma once

#include <QStringList>

namespace platform {

class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    // Read afresh on every call; empty when no printer is installed (or CUPS is not running).
    virtual QStringList printerNames() = 0;

    static PrinterSystem &real();
};

} // namespace platform
