// Fuzz target: the settings read path over any bytes as the store file, every value of the
// seeds read with every kind a caller may ask for.
#include "platform/Registry.h"
#include "settings/uRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QString StoreFile() {
    static QTemporaryDir home;
    static const QString path = [] {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        const QString folder = home.path() + QStringLiteral("/ZOVI Software");
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        return platform::RegistryStorePath();
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QString path = StoreFile();
    {
        QFile store(path);
        if (!store.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        store.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    QFile::remove(path + QStringLiteral("-journal"));
    const TSettingsTag kinds[] = {TSettingsTag::String,  TSettingsTag::Integer,
                                  TSettingsTag::Boolean, TSettingsTag::SmallInt,
                                  TSettingsTag::Byte,    TSettingsTag::Single,
                                  TSettingsTag::Double,  TSettingsTag::Currency,
                                  TSettingsTag::Date,    TSettingsTag::Unsupported};
    for (const char *name : {"CheckBox1", "RadioGroup1", "Edit1", "Nazwa"})
        for (const TSettingsTag kind : kinds)
            ReadFromHKCUkey(QStringLiteral("Merovan"), QStringLiteral("Setup"), QLatin1String(name),
                            int(kind), TSettingsValue::Text(QStringLiteral("default")));
    for (const char *section : {"Dane", "Zamawiajacy"})
        ReadFromHKCUkey(QStringLiteral("Merovan"), QLatin1String(section), QStringLiteral("Nazwa"),
                        int(TSettingsTag::String), TSettingsValue());
    return 0;
}
