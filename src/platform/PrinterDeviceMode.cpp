#include "PrinterDeviceMode.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

#include <array>
#include <cmath>

namespace platform {
namespace {

constexpr int DMPAPER_USER = 256;
constexpr short DMBIN_AUTO = 7;
constexpr short DMRES_HIGH = -4;

// Driver source code (DMBIN) of each QPrinter paper source, in enum order.
constexpr std::array<short, 13> SourceCodes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15};

QPrinter::PaperSource SourceOf(short code) {
    for (std::size_t i = 0; i < SourceCodes.size(); ++i)
        if (SourceCodes[i] == code)
            return QPrinter::PaperSource(i);
    return QPrinter::Auto;
}

short TenthsOf(qreal millimetres) {
    return short(std::lround(millimetres * 10));
}

// The page the mode asks for; invalid when it names none.
QPageSize PageSizeOf(const DeviceMode &mode) {
    const bool hasDimensions = mode.declares(DM_PAPERWIDTH) && mode.declares(DM_PAPERLENGTH) &&
                               mode.dmPaperWidth > 0 && mode.dmPaperLength > 0;
    if (mode.declares(DM_PAPERSIZE)) {
        const QPageSize named(QPageSize::id(mode.dmPaperSize));
        if (named.isValid() && named.id() != QPageSize::Custom) {
            const QSizeF mm = named.size(QPageSize::Millimeter);
            if (!hasDimensions || (std::abs(TenthsOf(mm.width()) - mode.dmPaperWidth) <= 1 &&
                                   std::abs(TenthsOf(mm.height()) - mode.dmPaperLength) <= 1))
                return named;
        }
    }
    if (hasDimensions)
        return QPageSize(QSizeF(mode.dmPaperWidth / 10.0, mode.dmPaperLength / 10.0),
                         QPageSize::Millimeter);
    return QPageSize();
}

QPrinter::DuplexMode DuplexOf(short code) {
    switch (code) {
    case DMDUP_VERTICAL:
        return QPrinter::DuplexLongSide;
    case DMDUP_HORIZONTAL:
        return QPrinter::DuplexShortSide;
    default:
        return QPrinter::DuplexNone;
    }
}

short DuplexCodeOf(QPrinter::DuplexMode mode) {
    switch (mode) {
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto:
        return DMDUP_VERTICAL;
    case QPrinter::DuplexShortSide:
        return DMDUP_HORIZONTAL;
    default:
        return DMDUP_SIMPLEX;
    }
}

} // namespace

int PaperCodeOf(const QPageSize &size) {
    const int code = size.windowsId();
    return code > 0 ? code : DMPAPER_USER;
}

QList<int> PaperCodesOf(const QPrinterInfo &printer) {
    QList<int> codes;
    for (const QPageSize &size : printer.supportedPageSizes()) {
        const int code = size.windowsId();
        if (code > 0 && code < DMPAPER_USER && !codes.contains(code))
            codes.append(code);
    }
    if (printer.supportsCustomPageSizes())
        codes.append(DMPAPER_USER);
    return codes;
}

DeviceMode DefaultDeviceMode(const QPrinterInfo &printer) {
    DeviceMode mode;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                    DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLLATE;
    QPageSize paper = printer.defaultPageSize();
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    const QSizeF mm = paper.size(QPageSize::Millimeter);
    mode.dmPaperSize = short(PaperCodeOf(paper));
    mode.dmPaperWidth = TenthsOf(mm.width());
    mode.dmPaperLength = TenthsOf(mm.height());
    mode.dmDefaultSource = DMBIN_AUTO;
    mode.dmPrintQuality = DMRES_HIGH;
    mode.dmCollate = 1;
    if (printer.supportedColorModes().contains(QPrinter::Color)) {
        mode.dmFields |= DM_COLOR;
        mode.dmColor =
            printer.defaultColorMode() == QPrinter::Color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
    }
    const QList<QPrinter::DuplexMode> duplex = printer.supportedDuplexModes();
    if (duplex.size() > 1 || (duplex.size() == 1 && duplex[0] != QPrinter::DuplexNone)) {
        mode.dmFields |= DM_DUPLEX;
        mode.dmDuplex = DuplexCodeOf(printer.defaultDuplexMode());
    }
    return mode;
}

void ApplyDeviceMode(const DeviceMode &mode, QPrinter &printer) {
    const QPageSize paper = PageSizeOf(mode);
    if (paper.isValid())
        printer.setPageSize(paper);
    if (mode.declares(DM_ORIENTATION))
        printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE
                                       ? QPageLayout::Landscape
                                       : QPageLayout::Portrait);
    if (mode.declares(DM_COPIES))
        printer.setCopyCount(qMax<int>(1, mode.dmCopies));
    if (mode.declares(DM_DEFAULTSOURCE))
        printer.setPaperSource(SourceOf(mode.dmDefaultSource));
    if (mode.declares(DM_DUPLEX))
        printer.setDuplex(DuplexOf(mode.dmDuplex));
    // Any other colour code (a report's unset colour option is 0) leaves the driver's own.
    if (mode.declares(DM_COLOR) && mode.dmColor == DMCOLOR_COLOR)
        printer.setColorMode(QPrinter::Color);
    else if (mode.declares(DM_COLOR) && mode.dmColor == DMCOLOR_MONOCHROME)
        printer.setColorMode(QPrinter::GrayScale);
    if (mode.declares(DM_COLLATE))
        printer.setCollateCopies(mode.dmCollate != 0);
}

QStringList CupsOptionsOf(const DeviceMode &mode) {
    QStringList options;
    QPageSize paper = PageSizeOf(mode);
    if (!paper.isValid())
        paper = QPageSize(QPageSize::A4);
    options << QStringLiteral("media") << paper.key();
    const int copies = mode.declares(DM_COPIES) ? qMax<int>(1, mode.dmCopies) : 1;
    if (copies > 1) {
        options << QStringLiteral("copies") << QString::number(copies);
        if (mode.declares(DM_COLLATE) && mode.dmCollate != 0)
            options << QStringLiteral("Collate") << QStringLiteral("True");
    }
    switch (mode.declares(DM_DUPLEX) ? DuplexOf(mode.dmDuplex) : QPrinter::DuplexNone) {
    case QPrinter::DuplexLongSide:
        options << QStringLiteral("sides") << QStringLiteral("two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        options << QStringLiteral("sides") << QStringLiteral("two-sided-short-edge");
        break;
    default:
        options << QStringLiteral("sides") << QStringLiteral("one-sided");
        break;
    }
    if (mode.declares(DM_ORIENTATION) && mode.dmOrientation == DMORIENT_LANDSCAPE)
        options << QStringLiteral("landscape") << QString();
    options << QStringLiteral("print-scaling") << QStringLiteral("none");
    return options;
}

} // namespace platform
