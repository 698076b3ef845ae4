// How a printer's device mode maps onto Qt's printer settings: paper (QPageSize id <->
// driver paper code), orientation, copies, paper source (driver source code), duplex,
// colour and collation.
#pragma once

#include "PrinterSystem.h"

#include <QList>
#include <QStringList>

class QPageSize;
class QPrinter;
class QPrinterInfo;

namespace platform {

// The driver paper code of a page size; the user-defined code 256 when it has none.
int PaperCodeOf(const QPageSize &size);

// The paper codes a printer offers, in the printer's order, each once.
QList<int> PaperCodesOf(const QPrinterInfo &printer);

// The device mode a printer starts with: its default paper, orientation portrait, one
// copy, automatic source, its default duplex and colour, collated.
DeviceMode DefaultDeviceMode(const QPrinterInfo &printer);

// Applies every field the mode declares to `printer`. The paper is the named size of
// dmPaperSize unless dmPaperWidth and dmPaperLength ask for a different size.
void ApplyDeviceMode(const DeviceMode &mode, QPrinter &printer);

// The job options a CUPS queue is asked for with a document printed in the mode (name, value,
// name, value, ...): the options Qt's own CUPS engine sends for the same settings (media,
// copies and collation, sides, landscape), and no scaling: the page is placed exactly as
// drawn, never fitted to the printable area.
QStringList CupsOptionsOf(const DeviceMode &mode);

} // namespace platform
