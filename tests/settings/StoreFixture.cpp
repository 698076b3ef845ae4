#include "StoreFixture.h"

#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr uid_t kNobody = 65534;
}

void StoreTest::SetUp() {
    ASSERT_TRUE(home_.isValid());
    previousHome_ = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path()));
}

void StoreTest::TearDown() {
    qputenv("XDG_CONFIG_HOME", previousHome_);
}

QString RunUnprivileged(const std::function<QString()> &work) {
    int channel[2];
    if (pipe(channel) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = StartChild([&] {
        close(channel[0]);
        QByteArray report;
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            report = "could not drop root rights";
        else
            report = work().toUtf8();
        for (qsizetype done = 0; done < report.size();) {
            const ssize_t written =
                write(channel[1], report.constData() + done, size_t(report.size() - done));
            if (written <= 0)
                break;
            done += written;
        }
    });
    close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    close(channel[0]);
    const int code = WaitChild(child);
    if (code != 0)
        report += "child ended with " + QByteArray::number(code);
    return QString::fromUtf8(report);
}
