#include "FontRegistry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>

namespace platform {
namespace {

class FontconfigRegistry final : public FontRegistry {
public:
    QString fontsFolder() override {
        QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        if (dataHome.isEmpty())
            dataHome = QDir::homePath() + QStringLiteral("/.local/share");
        return QDir::cleanPath(dataHome + QStringLiteral("/fonts"));
    }

    bool fileExists(const QString &path) override { return QFileInfo(path).isFile(); }

    bool addFontResource(const QString &fileName) override {
        const QString path = QFileInfo(fileName).isAbsolute()
                                 ? fileName
                                 : QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
        return QFontDatabase::addApplicationFont(path) != -1;
    }

    // Fontconfig notices new files by itself and an application font is this process's
    // own, so there is nobody to tell.
    void broadcastFontChange() override {}
};

} // namespace

FontRegistry &FontRegistry::real() {
    static FontconfigRegistry registry;
    return registry;
}

} // namespace platform
