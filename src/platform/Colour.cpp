#include "Colour.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

QColor ToQColor(TColor colour)
{
    if (IsSystemColour(colour)) {
        const QPalette palette = QGuiApplication::palette();
        switch (colour & 0xFFu) {
        case 5: return palette.color(QPalette::Base);        // window background
        case 8: return palette.color(QPalette::Text);        // window text
        case 15: return palette.color(QPalette::Button);     // button face
        default: return palette.color(QPalette::WindowText);
        }
    }
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

TColor FromQColor(const QColor &colour) { return FromRgb(colour.red(), colour.green(), colour.blue()); }

} // namespace platform
