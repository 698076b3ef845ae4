// The per-user registry: typed, named values under key paths such as
// "SOFTWARE\ZOVI Software\Merovan\Setup\". Every call is complete in itself: it opens the
// store, does its one read or write and closes the store again.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

// The registry's type codes (REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD), stored with
// every value; a value may carry any other code too.
constexpr std::uint32_t RegSz = 1;
constexpr std::uint32_t RegExpandSz = 2;
constexpr std::uint32_t RegBinary = 3;
constexpr std::uint32_t RegDword = 4;

struct RegistryValue {
    std::uint32_t type = 0;
    QByteArray data;
    friend bool operator==(const RegistryValue &, const RegistryValue &) = default;
};

// One value to set: its key path, its name and what it holds.
struct RegistryWrite {
    QString keyPath;
    QString name;
    RegistryValue value;
};

class Registry {
public:
    virtual ~Registry() = default;

    // The value `name` of the key, or nothing when the key or the value is missing or the
    // store cannot be read. Creates nothing.
    virtual std::optional<RegistryValue> queryValue(const QString &keyPath,
                                                    const QString &name) = 0;

    // Creates every missing key on the paths and sets the values, all or nothing. False when
    // the store cannot be written; what it held before is then unchanged.
    virtual bool setValues(const std::vector<RegistryWrite> &values) = 0;

    // Removes the value; true also when there was none. False when the store cannot be
    // written; what it held before is then unchanged.
    virtual bool deleteValue(const QString &keyPath, const QString &name) = 0;

    static Registry &real();
};

// Where the real store lives: "$XDG_CONFIG_HOME/ZOVI Software/registry.db", the
// configuration folder defaulting to ~/.config.
QString RegistryStorePath();

} // namespace platform
