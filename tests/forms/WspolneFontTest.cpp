// Registering a font file: the routine over the registry, and the real registry on Linux.
#include "forms/uWspolne.h"
#include "platform/FontRegistry.h"
#include "support/FontRegistryDouble.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kLiberation =
    QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");

TEST(RegisterFontFile, RegistersTheNameAsGivenAndAnnouncesTheChangeEvenWhenRefused) {
    for (bool accepts : {true, false}) {
        testing_support::RecordingFontRegistry fonts;
        fonts.accepts = accepts;
        RegisterFontFile(QStringLiteral("Dravik_.ttf"));
        EXPECT_EQ(fonts.calls, QStringList({"add Dravik_.ttf", "broadcast"}));
    }
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnvironment() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

TEST(FontconfigRegistry, FontsFolderIsTheUsersFontconfigFolder) {
    auto &fonts = platform::FontRegistry::real();
    {
        ScopedEnvironment data("XDG_DATA_HOME", "/tmp/merovan-data/");
        EXPECT_EQ(fonts.fontsFolder(), QStringLiteral("/tmp/merovan-data/fonts"));
    }
    ScopedEnvironment data("XDG_DATA_HOME", QByteArray());
    EXPECT_EQ(fonts.fontsFolder(), QDir::homePath() + QStringLiteral("/.local/share/fonts"));
}

TEST(FontconfigRegistry, FileExistsOnlyForFiles) {
    QTemporaryDir folder;
    auto &fonts = platform::FontRegistry::real();
    const QString path = folder.filePath(QStringLiteral("dravik_.ttf"));
    EXPECT_FALSE(fonts.fileExists(path));
    EXPECT_FALSE(fonts.fileExists(folder.path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(fonts.fileExists(path));
}

TEST(FontconfigRegistry, ABareNameIsFoundBesideTheExecutable) {
    if (!QFile::exists(kLiberation))
        GTEST_SKIP() << "fonts-liberation is not installed";
    const QString bare =
        QStringLiteral("merovan-test-font-%1.ttf").arg(QCoreApplication::applicationPid());
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(bare);
    ASSERT_TRUE(QFile::copy(kLiberation, beside));
    const bool added = platform::FontRegistry::real().addFontResource(bare);
    QFile::remove(beside);
    EXPECT_TRUE(added);
}

TEST(FontconfigRegistry, MissingOrBrokenFilesAreRefused) {
    QTemporaryDir folder;
    QFile broken(folder.filePath(QStringLiteral("broken.ttf")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a font");
    broken.close();
    auto &fonts = platform::FontRegistry::real();
    EXPECT_FALSE(fonts.addFontResource(broken.fileName()));
    EXPECT_FALSE(fonts.addFontResource(QStringLiteral("no-such-font-Dravik_.ttf")));
}

} // namespace
