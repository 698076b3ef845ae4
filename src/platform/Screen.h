// The screen's logical pixels per inch: the unit of design pixels. Qt keeps it at 96 on
// Linux and Windows whatever the monitor scaling, so the printed plate does not change
// with the operator's monitor.
#pragma once

namespace platform {

class Screen {
public:
    virtual ~Screen() = default;
    virtual int logicalDpi() = 0;

    static Screen &real();
};

int ScreenDpi();

} // namespace platform
