// A font registry that records what it was asked, with a configurable folder and files.
#pragma once

#include "platform/FontRegistry.h"
#include "platform/Service.h"

#include <QSet>
#include <QStringList>

namespace testing_support {

class RecordingFontRegistry final : public platform::FontRegistry {
public:
    QString fontsFolder() override { return folder; }
    bool fileExists(const QString &path) override {
        calls << QStringLiteral("exists ") + path;
        return existing.contains(path);
    }
    bool addFontResource(const QString &fileName) override {
        calls << QStringLiteral("add ") + fileName;
        return accepts;
    }
    void broadcastFontChange() override { calls << QStringLiteral("broadcast"); }

    QString folder = QStringLiteral("/home/operator/.local/share/fonts");
    QSet<QString> existing;
    bool accepts = true;
    QStringList calls;

private:
    platform::ScopedService<platform::FontRegistry> scope_{*this};
};

} // namespace testing_support
