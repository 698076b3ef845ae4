// A text measurer where every character is equally wide and every line equally high, so
// layout rules can be checked with exact numbers. Installed for its own lifetime.
#pragma once

#include "platform/Service.h"
#include "platform/TextMeasurer.h"

namespace testing_support {

class FixedWidthMeasurer final : public platform::TextMeasurer {
public:
    FixedWidthMeasurer(int characterWidth, int cellHeight)
        : characterWidth_(characterWidth), cellHeight_(cellHeight) {}
    QSize extent(const platform::Font &, const QString &text) override {
        return {int(text.size()) * characterWidth_, cellHeight_};
    }

private:
    int characterWidth_;
    int cellHeight_;
    platform::ScopedService<platform::TextMeasurer> scope_{*this};
};

} // namespace testing_support
