#include "Screen.h"

#include "Service.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {
namespace {
class QtScreen final : public Screen {
public:
    int logicalDpi() override
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    }
};
} // namespace

Screen &Screen::real()
{
    static QtScreen screen;
    return screen;
}

int ScreenDpi() { return Service<Screen>::get().logicalDpi(); }

} // namespace platform
