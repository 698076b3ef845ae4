// Reads the pages of a PWG raster stream (what a driverless IPP Everywhere printer is sent)
// into images, 8-bit grey or RGB as the stream says.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace testing_support {

struct PwgPage {
    int dpiX = 0;
    int dpiY = 0;
    QImage image; // grey: 0 black, 255 white
};

// The pages of the file; none when it is no PWG raster of 8 bits per colour.
std::vector<PwgPage> ReadPwgRaster(const QString &path);

} // namespace testing_support
