// A CUPS scheduler of a test's own: its configuration, spool and queues in a temporary folder,
// listening on a socket there, which this process is pointed at. Its queues keep what they
// are sent in a folder, one file per job (a "capture" backend), so a test sees what was
// printed where; the test may stop the scheduler, reject or disable a queue, add and remove
// queues without touching the machine's own scheduler. Needs root, as cupsd does.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace testing_support {

class PrivateScheduler {
public:
    PrivateScheduler();
    ~PrivateScheduler();
    PrivateScheduler(const PrivateScheduler &) = delete;
    PrivateScheduler &operator=(const PrivateScheduler &) = delete;

    // Empty when the scheduler runs; else why it does not.
    QString Why() const { return why_; }

    bool Start();
    void Stop();
    // Runs a CUPS command-line tool against this scheduler; false when it fails.
    bool Tool(const QString &program, const QStringList &arguments);
    // A queue that keeps each job's document, as sent, in the output folder.
    bool AddQueue(const QString &name);
    // Another queue with a device URI and a model (lpadmin -v, -m).
    bool AddQueue(const QString &name, const QString &uri, const QString &model);
    // The jobs not yet done (lpstat -o), one line each.
    QStringList PendingJobs();
    // The documents a queue has printed: their files, in job order.
    QStringList Printed(const QString &queue) const;
    QString Socket() const { return folder_.path() + QStringLiteral("/cups.sock"); }

private:
    QString why_;
    QTemporaryDir folder_;
    QProcess cupsd_;
    QByteArray previousServer_;
};

} // namespace testing_support
