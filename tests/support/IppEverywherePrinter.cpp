#include "IppEverywherePrinter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testing_support {
namespace {

// What the printer tells CUPS of itself: `media-size-supported` beside `media-col-database`,
// or CUPS refuses every job.
constexpr const char *Attributes = R"(ATTR mimeMediaType document-format-supported image/pwg-raster
ATTR mimeMediaType document-format-default image/pwg-raster
ATTR keyword media-supported iso_a4_210x297mm
ATTR keyword media-default iso_a4_210x297mm
ATTR collection media-size-supported { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 }
ATTR collection media-col-database { MEMBER collection media-size { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 } MEMBER integer media-bottom-margin 400 MEMBER integer media-left-margin 400 MEMBER integer media-right-margin 400 MEMBER integer media-top-margin 400 }
ATTR collection media-col-default { MEMBER collection media-size { MEMBER integer x-dimension 21000 MEMBER integer y-dimension 29700 } MEMBER integer media-bottom-margin 400 MEMBER integer media-left-margin 400 MEMBER integer media-right-margin 400 MEMBER integer media-top-margin 400 }
ATTR keyword pwg-raster-document-type-supported sgray_8
ATTR resolution pwg-raster-document-resolution-supported 600dpi
ATTR resolution printer-resolution-supported 600dpi
ATTR resolution printer-resolution-default 600dpi
ATTR keyword sides-supported one-sided
ATTR keyword print-color-mode-supported monochrome
ATTR keyword print-color-mode-default monochrome
ATTR keyword print-scaling-supported auto,fill,fit,none
ATTR keyword print-scaling-default auto
)";

bool Answers(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool answered =
        ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return answered;
}

} // namespace

IppEverywherePrinter::IppEverywherePrinter() {
    for (const char *tool : {"ippeveprinter", "dbus-daemon"})
        if (QStandardPaths::findExecutable(QLatin1String(tool), {"/usr/sbin", "/usr/bin"})
                .isEmpty()) {
            why_ = missing_ = QStringLiteral("%1 is not installed").arg(QLatin1String(tool));
            return;
        }
    const QString root = folder_.path();
    QDir(root).mkpath(QStringLiteral("spool"));
    QFile attributes(root + "/printer.conf");
    if (!attributes.open(QIODevice::WriteOnly) || attributes.write(Attributes) < 0) {
        why_ = QStringLiteral("cannot write the printer's attributes");
        return;
    }
    attributes.close();
    const QString bus = QStringLiteral("unix:path=") + root + "/bus";
    bus_.start(QStringLiteral("dbus-daemon"),
               {QStringLiteral("--session"), QStringLiteral("--nofork"),
                QStringLiteral("--address=") + bus});
    QDeadlineTimer ready(10000);
    while (bus_.waitForStarted() && !QFile::exists(root + "/bus") && !ready.hasExpired())
        QThread::msleep(20);
    if (!QFile::exists(root + "/bus")) {
        why_ = QStringLiteral("no private D-Bus");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), bus);
    printer_.setProcessEnvironment(environment);
    printer_.setProcessChannelMode(QProcess::MergedChannels);
    for (port_ = 20000 + int(::getpid() % 20000); port_ < 65000; port_ += 7)
        if (!Answers(port_))
            break;
    if (!Start())
        why_ = QStringLiteral("ippeveprinter did not start: ") +
               QString::fromLocal8Bit(printer_.readAll());
}

IppEverywherePrinter::~IppEverywherePrinter() {
    Stop();
    bus_.terminate();
    bus_.waitForFinished();
}

QString IppEverywherePrinter::Uri() const {
    return QStringLiteral("ipp://localhost:%1/ipp/print").arg(port_);
}

bool IppEverywherePrinter::Start() {
    const QString root = folder_.path();
    printer_.start(
        QStandardPaths::findExecutable(QStringLiteral("ippeveprinter"),
                                       {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")}),
        {QStringLiteral("-a"), root + "/printer.conf", QStringLiteral("-p"), QString::number(port_),
         QStringLiteral("-d"), root + "/spool", QStringLiteral("-k"), QStringLiteral("-n"),
         QStringLiteral("localhost"), QStringLiteral("-r"), QStringLiteral("off"),
         QStringLiteral("MerovanIPP")});
    printer_.waitForStarted();
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && printer_.state() == QProcess::Running)
        if (Answers(port_))
            return true;
        else
            QThread::msleep(50);
    return false;
}

void IppEverywherePrinter::Stop() {
    if (printer_.state() == QProcess::NotRunning)
        return;
    printer_.kill();
    printer_.waitForFinished();
}

QStringList IppEverywherePrinter::Documents() const {
    QDir spool(folder_.path() + "/spool");
    QStringList files;
    for (const QFileInfo &file :
         spool.entryInfoList({QStringLiteral("*.pwg")}, QDir::Files, QDir::Time | QDir::Reversed))
        files << file.absoluteFilePath();
    return files;
}

} // namespace testing_support
