// A device mode onto Qt's printer settings: paper codes, named and custom paper, and the
// fields applied only when the mode declares them.
#include "platform/PrinterDeviceMode.h"

#include <QPageSize>
#include <QPrinter>

#include <gtest/gtest.h>

using namespace platform;

namespace {

DeviceMode Declaring(std::uint32_t fields) {
    DeviceMode mode;
    mode.dmFields = fields;
    return mode;
}

// A printer that writes a file, so no print system is asked.
std::unique_ptr<QPrinter> FilePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(QPageSize::Letter));
    return printer;
}

} // namespace

TEST(PrinterDeviceMode, PaperCodesAreTheDriverCodes) {
    const std::pair<QPageSize::PageSizeId, int> cases[] = {
        {QPageSize::Letter, 1}, {QPageSize::Legal, 5}, {QPageSize::A3, 8},
        {QPageSize::A4, 9},     {QPageSize::A5, 11},   {QPageSize::JisB5, 13}};
    for (const auto &[id, code] : cases)
        EXPECT_EQ(PaperCodeOf(QPageSize(id)), code) << code;
    EXPECT_EQ(PaperCodeOf(QPageSize(QSizeF(123, 45), QPageSize::Millimeter)), 256);
}

TEST(PrinterDeviceMode, NamedPaperUnlessTheLengthsAskForAnother) {
    const struct {
        std::uint32_t fields;
        short code, width, length;
        QSizeF millimetres;
    } cases[] = {
        {DM_PAPERSIZE, 9, 0, 0, {210, 297}},
        {DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH, 9, 2100, 2970, {210, 297}},
        {DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH, 9, 1000, 1500, {100, 150}},
        {DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH, 256, 1234, 2345, {123.4, 234.5}},
        {DM_PAPERWIDTH | DM_PAPERLENGTH, 9, 1480, 2100, {148, 210}},
        {0, 9, 1480, 2100, {215.9, 279.4}}, // nothing declared: the printer's own paper
    };
    for (const auto &c : cases) {
        DeviceMode mode = Declaring(c.fields);
        mode.dmPaperSize = c.code;
        mode.dmPaperWidth = c.width;
        mode.dmPaperLength = c.length;
        auto printer = FilePrinter();
        ApplyDeviceMode(mode, *printer);
        const QSizeF size = printer->pageLayout().pageSize().size(QPageSize::Millimeter);
        EXPECT_NEAR(size.width(), c.millimetres.width(), 0.05) << c.code << " " << c.width;
        EXPECT_NEAR(size.height(), c.millimetres.height(), 0.05) << c.code << " " << c.width;
    }
}

TEST(PrinterDeviceMode, FieldsApplyOnlyWhenDeclared) {
    DeviceMode mode;
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmCopies = 3;
    mode.dmDuplex = DMDUP_HORIZONTAL;
    mode.dmCollate = 0;
    mode.dmDefaultSource = 4;
    mode.dmColor = DMCOLOR_MONOCHROME;

    auto untouched = FilePrinter();
    untouched->setCollateCopies(true);
    ApplyDeviceMode(mode, *untouched);
    EXPECT_EQ(untouched->pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(untouched->copyCount(), 1);
    EXPECT_TRUE(untouched->collateCopies());
    EXPECT_EQ(untouched->colorMode(), QPrinter::Color);

    mode.dmFields =
        DM_ORIENTATION | DM_COPIES | DM_DUPLEX | DM_COLLATE | DM_DEFAULTSOURCE | DM_COLOR;
    auto applied = FilePrinter();
    ApplyDeviceMode(mode, *applied);
    EXPECT_EQ(applied->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(applied->copyCount(), 3);
    EXPECT_FALSE(applied->collateCopies());
    EXPECT_EQ(applied->paperSource(), QPrinter::Manual);
    EXPECT_EQ(applied->colorMode(), QPrinter::GrayScale);

    // (A file printer keeps no duplex setting, so duplex is not seen here.)
    // A colour code that names no colour mode leaves the printer's own.
    mode.dmColor = 0;
    auto colour = FilePrinter();
    ApplyDeviceMode(mode, *colour);
    EXPECT_EQ(colour->colorMode(), QPrinter::Color);
}
