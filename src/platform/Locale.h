// The locale's measurement setting, which picks the unit new report objects start in.
#pragma once

namespace platform {

// True where the system locale measures in the U.S. system (inches).
bool UsesUsMeasurement();

} // namespace platform
