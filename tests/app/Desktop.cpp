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
    for (const char *tool : {"Xvfb", "openbox", "xdotool", "xprop", "wmctrl"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            why_ = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            toolMissing_ = true;
            return;
        }
    const auto rootProperty = [&](const char *name) {
        QProcess probe;
        probe.setProcessEnvironment(Environment());
        probe.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QLatin1String(name)});
        probe.waitForFinished();
        return probe.exitCode() == 0 ? probe.readAllStandardOutput() : QByteArray();
    };
    // A display of this process's own: a server that finds its number taken (by another
    // test starting at the same moment) ends at once, and the next number is tried.
    for (int number = 100 + int(getpid() % 800), tries = 0; tries < 20; ++number, ++tries) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
            continue;
        display_ = QStringLiteral(":%1").arg(number);
        server_.start(QStringLiteral("Xvfb"), {display_, QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                               // Every probe below connects and leaves; a
                                               // server that resets each time refuses the
                                               // client that comes during the reset.
                                               QStringLiteral("-noreset")});
        server_.waitForStarted();
        // Taking clients, and still running: the display is this server's.
        const auto ended = [&] { return server_.waitForFinished(0); };
        const bool up =
            WaitFor(10000, [&] { return ended() || !rootProperty("RESOURCE_MANAGER").isNull(); });
        if (up && server_.state() == QProcess::Running)
            break;
        server_.kill();
        server_.waitForFinished();
        display_.clear();
    }
    if (display_.isEmpty()) {
        why_ = QStringLiteral("no Xvfb display could be started");
        return;
    }
    // The window manager is up once it announces itself on the root window; one that has
    // not after a few seconds is started again.
    for (int attempt = 0; attempt < 3 && !ready_; ++attempt) {
        if (windowManager_.state() != QProcess::NotRunning) {
            windowManager_.kill();
            windowManager_.waitForFinished();
        }
        windowManager_.setProcessEnvironment(Environment());
        windowManager_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        ready_ = WaitFor(
            5000, [&] { return rootProperty("_NET_SUPPORTING_WM_CHECK").contains("window id"); });
    }
    if (!ready_)
        why_ = QStringLiteral("openbox did not start on %1: %2")
                   .arg(display_, QString::fromLocal8Bit(windowManager_.readAllStandardError()));
    // The operator's keyboard.
    if (ready_ && !QStandardPaths::findExecutable(QStringLiteral("setxkbmap")).isEmpty())
        Run(QStringLiteral("setxkbmap"), {QStringLiteral("pl")});
}

Desktop::~Desktop() {
    // Ended, not killed: the server removes its lock and socket for the next desktop.
    for (QProcess *process : {&program_, &windowManager_, &server_, &bus_})
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished();
            }
        }
}

QProcessEnvironment Desktop::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), DataHome());
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!busAddress_.isEmpty()) {
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress_);
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    }
    return environment;
}

bool Desktop::StartAccessibility() {
    const QString socket = config_.path() + QStringLiteral("/session-bus");
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--address=unix:path=") + socket});
    if (!bus_.waitForStarted() || !WaitFor(10000, [&] { return QFile::exists(socket); }))
        return false;
    busAddress_ = QStringLiteral("unix:path=") + socket;
    return true;
}

void Desktop::Type(qulonglong window, const QString &text) {
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

QRect Desktop::Geometry(qulonglong window) {
    // xwininfo gives the client's own place on the screen; xdotool counts the frame in.
    const QString info =
        Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    const auto value = [&](const char *name) {
        const qsizetype at = info.indexOf(QLatin1String(name));
        return at < 0 ? 0 : info.mid(at + qstrlen(name)).section(u'\n', 0, 0).trimmed().toInt();
    };
    return {value("Absolute upper-left X:"), value("Absolute upper-left Y:"), value("Width:"),
            value("Height:")};
}

QImage Desktop::Screenshot() {
    QProcess import;
    import.setProcessEnvironment(Environment());
    import.start(QStringLiteral("import"),
                 {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    import.waitForFinished(30000);
    return QImage::fromData(import.readAllStandardOutput(), "PNG");
}

bool Desktop::StartProgram() {
    program_.setProcessEnvironment(Environment());
    program_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program_.start(QStringLiteral(MEROVAN_BINARY), {});
    if (!program_.waitForStarted())
        return false;
    const qulonglong window = WaitForWindow(QStringLiteral("Druk Tabliczki"));
    if (window == 0)
        return false;
    // Shown is not yet ready for the operator: the window manager gives it the focus.
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window)});
    QThread::msleep(300);
    return true;
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

QString Desktop::Run(const QString &program, const QStringList &arguments) const {
    QProcess tool;
    tool.setProcessEnvironment(Environment());
    tool.start(program, arguments);
    tool.waitForFinished();
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QString Desktop::Xdotool(const QStringList &arguments) {
    return Run(QStringLiteral("xdotool"), arguments);
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
    Xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QStringLiteral("--window"), id,
             QString::number(x), QString::number(y)});
    Xdotool({QStringLiteral("click"), QStringLiteral("1")});
}

void Desktop::Close(qulonglong window) {
    // The window manager's close request, as its title bar's button makes it. Its close key
    // is not used: a key sent soon after the manager starts can reach the window instead.
    Run(QStringLiteral("wmctrl"),
        {QStringLiteral("-i"), QStringLiteral("-c"), QString::number(window)});
}

void Desktop::Keys(qulonglong window, const QString &keys) {
    const QString id = QString::number(window);
    Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
    Xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--clearmodifiers")} +
            keys.split(u' ', Qt::SkipEmptyParts));
}
