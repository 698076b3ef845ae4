// Fonts made available to the user's programs: the fonts folder, a file-existence test and
// the registration of one font file. On Linux the fonts folder is the user's fontconfig
// folder and a registration lasts for this process.
#pragma once

#include <QString>

namespace platform {

class FontRegistry {
public:
    virtual ~FontRegistry() = default;
    // The user's fonts folder, without a trailing separator.
    virtual QString fontsFolder() = 0;
    virtual bool fileExists(const QString &path) = 0;
    // Registers a font file; a bare name is looked for beside the executable. True when
    // the platform accepted it.
    virtual bool addFontResource(const QString &fileName) = 0;
    // Tells the other programs that the fonts changed.
    virtual void broadcastFontChange() = 0;

    static FontRegistry &real();
};

} // namespace platform
