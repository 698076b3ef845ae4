// Each test gets its own configuration folder, so it starts with no store, and can run
// code in child processes (which may drop root rights so that file modes apply).
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "settings/uRegistry.h"
#include "support/FolderSnapshot.h"
#include "support/Processes.h"
#include "support/QtPrint.h"

#include <functional>
#include <ostream>
#include <sys/types.h>

inline void PrintTo(const TSettingsValue &value, std::ostream *out) {
    *out << "tag " << int(value.tag()) << " \"" << value.toText().toStdString() << '"';
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString home() const { return home_.path(); }
    QString storeFolder() const { return home() + QStringLiteral("/ZOVI Software"); }
    QString storeFile() const { return storeFolder() + QStringLiteral("/registry.db"); }

private:
    QTemporaryDir home_;
    QByteArray previousHome_;
};

// Runs `work` in a child process, as the unprivileged user "nobody" when the tests run as
// root (root ignores file modes), and returns what it reports; empty means all held.
QString RunUnprivileged(const std::function<QString()> &work);
