#include "Desktop.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace {

bool WaitFor(int milliseconds, const std::function<bool()> &done) {
    QDeadlineTimer deadline(milliseconds);
    for (;;) {
        if (done())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

} // namespace

Desktop::Desktop() {
    for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            why_ = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return;
        }
    // A display number of this process's own, free of any other server.
    int number = 100 + int(getpid() % 800);
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    display_ = QStringLiteral(":%1").arg(number);
    server_.start(QStringLiteral("Xvfb"), {display_, QStringLiteral("-screen"), QStringLiteral("0"),
                                           QStringLiteral("1024x768x24"),
                                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
    if (!WaitFor(10000, [&] { return QFile::exists(socket); })) {
        why_ = QStringLiteral("Xvfb did not start on %1").arg(display_);
        return;
    }
    windowManager_.setProcessEnvironment(Environment());
    windowManager_.start(QStringLiteral("openbox"), {});
    // The window manager is up once it announces itself on the root window.
    if (!WaitFor(10000, [&] {
            QProcess probe;
            probe.setProcessEnvironment(Environment());
            probe.start(QStringLiteral("xprop"),
                        {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            probe.waitForFinished();
            return probe.readAllStandardOutput().contains("window id");
        })) {
        why_ = QStringLiteral("openbox did not start");
        return;
    }
    ready_ = true;
}

Desktop::~Desktop() {
    for (QProcess *process : {&program_, &windowManager_, &server_})
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
}

QProcessEnvironment Desktop::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return environment;
}

bool Desktop::StartProgram() {
    program_.setProcessEnvironment(Environment());
    program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program_.start(QStringLiteral(MEROVAN_BINARY), {});
    return program_.waitForStarted() && WaitForWindow(QStringLiteral("Druk Tabliczki")) != 0;
}

void Desktop::StopProgram() {
    program_.kill();
    program_.waitForFinished();
}

bool Desktop::ProgramEnded(int milliseconds, int *exitCode) {
    if (!program_.waitForFinished(milliseconds))
        return false;
    if (exitCode)
        *exitCode = program_.exitStatus() == QProcess::NormalExit ? program_.exitCode() : -1;
    return true;
}

QString Desktop::Xdotool(const QStringList &arguments) {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished();
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

qulonglong Desktop::WaitForWindow(const QString &title, int milliseconds) {
    qulonglong found = 0;
    WaitFor(milliseconds, [&] {
        const QString ids =
            Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')});
        found = ids.section(QLatin1Char('\n'), 0, 0).toULongLong();
        return found != 0;
    });
    return found;
}

void Desktop::Click(qulonglong window, int x, int y) {
    const QString id = QString::number(window);
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), id, QString::number(x),
             QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
}

void Desktop::Keys(qulonglong window, const QString &keys) {
    const QString id = QString::number(window);
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    Xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}
