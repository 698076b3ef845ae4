// Fonts: the named fonts of the windows and the report resolve to fixed metric-compatible
// counterparts, so line breaks and positions do not depend on what else fontconfig finds.
#pragma once

namespace platform {

// "Times New Roman" -> Liberation Serif, "Arial" and "MS Sans Serif" -> Liberation Sans,
// "Consolas" -> Liberation Mono. Call once after the application object exists.
void InstallFontSubstitutions();

} // namespace platform
