#include "TextMeasurer.h"

#include "Screen.h"

#include <QFontMetrics>

#include <optional>

namespace platform {
namespace {

// Measures with the font realised at the screen's logical resolution. Layout asks about
// one font many times in a row, so the metrics of the last font are kept.
class ScreenTextMeasurer final : public TextMeasurer {
public:
    QSize extent(const Font &font, const QString &text) override {
        const int dpi = ScreenDpi();
        if (!metrics_ || font_ != font || dpi_ != dpi) {
            metrics_.emplace(RealiseFont(font, dpi));
            font_ = font;
            dpi_ = dpi;
        }
        return {metrics_->horizontalAdvance(text), metrics_->ascent() + metrics_->descent()};
    }

private:
    std::optional<QFontMetrics> metrics_;
    Font font_;
    int dpi_ = 0;
};

} // namespace

TextMeasurer &TextMeasurer::real() {
    static ScreenTextMeasurer measurer;
    return measurer;
}

} // namespace platform
