// An in-memory registry behind the settings store, recording each access in order; it can
// refuse writes from a given one on, as a full disk or a read-only store does.
#pragma once

#include "platform/Registry.h"
#include "platform/Service.h"

#include <QMap>
#include <QStringList>

namespace testing_support {

class MemoryRegistry final : public platform::Registry {
public:
    std::optional<platform::RegistryValue> queryValue(const QString &keyPath,
                                                      const QString &name) override {
        accesses << QStringLiteral("read ") + name;
        const auto found = values.find(keyPath.toLower() + name.toLower());
        return found == values.end() ? std::nullopt : std::optional(*found);
    }

    bool setValues(const std::vector<platform::RegistryWrite> &set) override {
        for (const platform::RegistryWrite &named : set)
            accesses << QStringLiteral("write ") + named.name;
        ++writes;
        if (refuseFromWrite > 0 && writes >= refuseFromWrite)
            return false;
        for (const platform::RegistryWrite &named : set)
            values[named.keyPath.toLower() + named.name.toLower()] = named.value;
        return true;
    }

    bool deleteValue(const QString &keyPath, const QString &name) override {
        accesses << QStringLiteral("delete ") + name;
        ++writes;
        if (refuseFromWrite > 0 && writes >= refuseFromWrite)
            return false;
        values.remove(keyPath.toLower() + name.toLower());
        return true;
    }

    QMap<QString, platform::RegistryValue> values;
    QStringList accesses;
    int refuseFromWrite = 0; // 0: never; n: the n-th write and all after it
    int writes = 0;

private:
    platform::ScopedService<platform::Registry> scope_{*this};
};

} // namespace testing_support
