// Text measurement on a surface compatible with the screen: the report lays its labels out
// in design pixels with it, so line breaks never depend on the output device.
#pragma once

#include "platform/Canvas.h"

#include <QSize>
#include <QString>

namespace platform {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Advance width and cell height (ascent + descent) of text in the font realised at the
    // screen's logical resolution, in screen pixels.
    virtual QSize extent(const Font &font, const QString &text) = 0;

    static TextMeasurer &real();
};

} // namespace platform
