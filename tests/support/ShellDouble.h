// The shell in tests: a recording double, and a fake xdg-open put first on PATH for tests
// that start the real hand-over.
#pragma once

#include "platform/Service.h"
#include "platform/Shell.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace testing_support {

class RecordingShell final : public platform::Shell {
public:
    void openMailtoLink(const QString &link) override { links << link; }
    QStringList links;

private:
    platform::ScopedService<platform::Shell> scope_{*this};
};

// While it lives, PATH starts with a folder whose xdg-open writes its arguments, one per
// line, to a file; or, built with `installed` false, PATH holds no xdg-open at all.
class FakeXdgOpen {
public:
    explicit FakeXdgOpen(bool installed = true) : oldPath_(qgetenv("PATH")) {
        if (installed) {
            QFile script(folder_.filePath(QStringLiteral("xdg-open")));
            script.open(QIODevice::WriteOnly);
            // Written aside and moved, so a reader never sees half of it.
            script.write("#!/bin/sh\nout='" + received().toLocal8Bit() +
                         "'\nprintf '%s\\n' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            qputenv("PATH", folder_.path().toLocal8Bit() + ':' + oldPath_);
        } else {
            qputenv("PATH", folder_.path().toLocal8Bit());
        }
    }
    ~FakeXdgOpen() { qputenv("PATH", oldPath_); }
    FakeXdgOpen(const FakeXdgOpen &) = delete;
    FakeXdgOpen &operator=(const FakeXdgOpen &) = delete;

    QString folder() const { return folder_.path(); }

    // The arguments the fake was started with; empty when it was not started in time.
    QStringList WaitForArguments(int milliseconds = 10000) const {
        QFile file(received());
        QDeadlineTimer deadline(milliseconds);
        while (!file.exists() && !deadline.hasExpired())
            QTest::qWait(10);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList arguments = QString::fromLocal8Bit(file.readAll()).split(u'\n');
        arguments.removeLast(); // after the last line break
        return arguments;
    }

private:
    QString received() const { return folder_.filePath(QStringLiteral("received")); }

    QTemporaryDir folder_;
    QByteArray oldPath_;
};

} // namespace testing_support
