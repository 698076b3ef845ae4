// A device for rendering tests: a canvas of the test's choosing and a fixed mapping.
#pragma once

#include "report/RpDevice.h"

class TestDevice final : public TRpDevice {
public:
    TestDevice(platform::Canvas &canvas, const TRpDeviceMapping &mapping)
        : canvas_(canvas), mapping_(mapping) {}
    platform::Canvas &Canvas() override { return canvas_; }
    const TRpDeviceMapping &Mapping() const override { return mapping_; }
    bool MakesPageImages() const override { return pageImages_; }
    bool pageImages_ = false;

private:
    platform::Canvas &canvas_;
    TRpDeviceMapping mapping_;
};
