#include "PrinterSystem.h"

#include <QPrinterInfo>

namespace platform {
namespace {
class QtPrinterSystem final : public PrinterSystem {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
};
} // namespace

PrinterSystem &PrinterSystem::real()
{
    static QtPrinterSystem printers;
    return printers;
}

} // namespace platform
