#include "Locale.h"

#include <QLocale>

namespace platform {

bool UsesUsMeasurement() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
}

} // namespace platform
