#include "PrivateScheduler.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cups/cups.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace testing_support {
namespace {

bool Write(const QString &path, const QString &text, QFile::Permissions permissions = {}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(text.toUtf8());
    file.close();
    return permissions == QFile::Permissions() || file.setPermissions(permissions);
}

// Keeps each job's document as <folder>/<queue>-<job>.prn.
constexpr const char *CaptureBackend = R"(#!/bin/sh
[ $# -eq 0 ] && { echo 'direct capture "Unknown" "Keeps each job"'; exit 0; }
out="${DEVICE_URI#capture:}"
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$out/$PRINTER-$1.prn"
)";

} // namespace

PrivateScheduler::PrivateScheduler() : previousServer_(qgetenv("CUPS_SERVER")) {
    if (::geteuid() != 0) {
        why_ = QStringLiteral("a private CUPS scheduler needs root");
        return;
    }
    if (!QFile::exists(QStringLiteral("/usr/sbin/cupsd")) ||
        QStandardPaths::findExecutable(QStringLiteral("lpadmin")).isEmpty()) {
        why_ = QStringLiteral("CUPS is not installed");
        return;
    }
    const struct group *lp = ::getgrnam("lp");
    const QString root = folder_.path();
    QDir dir(root);
    for (const char *sub : {"spool/tmp", "cache", "state", "log", "ppd", "out", "bin/backend"})
        dir.mkpath(QLatin1String(sub));
    // The scheduler's filters run as lp: they pass through the folder and read the spool.
    ::chmod(QFile::encodeName(root).constData(), 0755);
    ::chmod(QFile::encodeName(root + "/out").constData(), 0777);
    if (lp) {
        ::chown(QFile::encodeName(root + "/spool").constData(), 0, lp->gr_gid);
        ::chown(QFile::encodeName(root + "/spool/tmp").constData(), 0, lp->gr_gid);
    }
    ::chmod(QFile::encodeName(root + "/spool").constData(), 0710);
    ::chmod(QFile::encodeName(root + "/spool/tmp").constData(), 01770);
    for (const char *sub : {"filter", "daemon", "cgi-bin", "notifier", "monitor"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(sub),
                    root + "/bin/" + QLatin1String(sub));
    QFile::link(QStringLiteral("/usr/lib/cups/backend/ipp"), root + "/bin/backend/ipp");
    const auto owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto others = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    Write(root + "/bin/backend/capture", QLatin1String(CaptureBackend), owner | others);
    Write(root + "/cupsd.conf", QStringLiteral("Listen %1\n"
                                               "LogLevel warn\n"
                                               "<Location />\n  Order allow,deny\n  Allow all\n"
                                               "</Location>\n"
                                               "<Policy default>\n  <Limit All>\n"
                                               "    Order deny,allow\n  </Limit>\n</Policy>\n")
                                    .arg(Socket()));
    Write(root + "/cups-files.conf", QStringLiteral("ServerRoot %1\nServerBin %1/bin\n"
                                                    "RequestRoot %1/spool\nTempDir %1/spool/tmp\n"
                                                    "CacheDir %1/cache\nStateDir %1/state\n"
                                                    "ErrorLog %1/log/error_log\n"
                                                    "AccessLog %1/log/access_log\n"
                                                    "PageLog %1/log/page_log\n"
                                                    "User lp\nGroup lp\nSystemGroup root\n")
                                         .arg(root));
    // This process and every tool it starts speak to this scheduler only.
    qputenv("CUPS_SERVER", Socket().toLocal8Bit());
    cupsSetServer(nullptr);
    if (!Start())
        why_ = QStringLiteral("the private CUPS scheduler did not start: ") +
               QString::fromLocal8Bit(cupsd_.readAllStandardError());
}

PrivateScheduler::~PrivateScheduler() {
    Stop();
    if (previousServer_.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", previousServer_);
    cupsSetServer(nullptr);
}

bool PrivateScheduler::Start() {
    QFile::remove(Socket());
    const QString root = folder_.path();
    cupsd_.start(QStringLiteral("/usr/sbin/cupsd"),
                 {QStringLiteral("-f"), QStringLiteral("-c"), root + "/cupsd.conf",
                  QStringLiteral("-s"), root + "/cups-files.conf"});
    if (!cupsd_.waitForStarted())
        return false;
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (cupsd_.state() != QProcess::Running)
            return false;
        if (QFile::exists(Socket()) && Tool(QStringLiteral("lpstat"), {QStringLiteral("-r")}))
            return true;
        QThread::msleep(30);
    }
    return false;
}

void PrivateScheduler::Stop() {
    if (cupsd_.state() == QProcess::NotRunning)
        return;
    cupsd_.terminate();
    if (!cupsd_.waitForFinished(10000)) {
        cupsd_.kill();
        cupsd_.waitForFinished();
    }
}

bool PrivateScheduler::Tool(const QString &program, const QStringList &arguments) {
    QProcess tool;
    tool.start(program, arguments);
    return tool.waitForFinished(30000) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}

bool PrivateScheduler::AddQueue(const QString &name) {
    return AddQueue(name, QStringLiteral("capture:") + folder_.path() + "/out",
                    QStringLiteral("raw"));
}

bool PrivateScheduler::AddQueue(const QString &name, const QString &uri, const QString &model) {
    return Tool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), name, QStringLiteral("-v"), uri,
                                            QStringLiteral("-m"), model, QStringLiteral("-E")});
}

QStringList PrivateScheduler::PendingJobs() {
    QProcess tool;
    tool.start(QStringLiteral("lpstat"), {QStringLiteral("-o")});
    tool.waitForFinished();
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

QStringList PrivateScheduler::Printed(const QString &queue) const {
    QStringList files =
        QDir(folder_.path() + "/out").entryList({queue + QStringLiteral("-*.prn")}, QDir::Files);
    const auto job = [&](const QString &file) {
        return file.mid(queue.size() + 1).chopped(4).toInt();
    };
    std::sort(files.begin(), files.end(),
              [&](const QString &a, const QString &b) { return job(a) < job(b); });
    for (QString &file : files)
        file = folder_.path() + "/out/" + file;
    return files;
}

} // namespace testing_support
