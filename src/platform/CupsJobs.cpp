#include "CupsJobs.h"

#include "Application.h"

#include <cups/cups.h>

#include <memory>
#include <vector>

namespace platform {
namespace {

struct DeleteIpp {
    void operator()(ipp_t *message) const { ippDelete(message); }
};
using Ipp = std::unique_ptr<ipp_t, DeleteIpp>;

QString LastCupsError() {
    return QString::fromUtf8(cupsLastErrorString());
}

bool Refused(ipp_status_t status) {
    return status > IPP_STATUS_OK_CONFLICTING;
}

// The values of a keyword or text attribute, "none" left out.
QStringList Values(ipp_t *response, const char *name) {
    QStringList values;
    ipp_attribute_t *attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i) {
        const QString value = QString::fromUtf8(ippGetString(attribute, i, nullptr));
        if (!value.isEmpty() && value != QLatin1String("none"))
            values << value;
    }
    return values;
}

int Enum(ipp_t *response, const char *name) {
    ipp_attribute_t *attribute = ippFindAttribute(response, name, IPP_TAG_ENUM);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

Ipp Request(ipp_op_t operation, const char *target, const char *uri,
            const std::vector<const char *> &attributes) {
    ipp_t *request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, target, nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(attributes.size()), nullptr, attributes.data());
    return Ipp(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
}

PrintJobStatus::State StateOf(int jobState) {
    switch (jobState) {
    case IPP_JSTATE_PENDING:
        return PrintJobStatus::State::Pending;
    case IPP_JSTATE_HELD:
        return PrintJobStatus::State::Held;
    case IPP_JSTATE_PROCESSING:
        return PrintJobStatus::State::Processing;
    case IPP_JSTATE_STOPPED:
        return PrintJobStatus::State::Stopped;
    case IPP_JSTATE_CANCELED:
        return PrintJobStatus::State::Cancelled;
    case IPP_JSTATE_ABORTED:
        return PrintJobStatus::State::Aborted;
    case IPP_JSTATE_COMPLETED:
        return PrintJobStatus::State::Completed;
    default:
        return PrintJobStatus::State::Unknown;
    }
}

} // namespace

int SubmitPdfJob(const QString &printer, const QString &title, const QStringList &options,
                 QIODevice &document) {
    const QByteArray name = printer.toUtf8();
    const QByteArray jobTitle = title.toUtf8();
    cups_option_t *settings = nullptr;
    int count = 0;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2)
        count = cupsAddOption(options[i].toUtf8().constData(), options[i + 1].toUtf8().constData(),
                              count, &settings);
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, name.constData(), jobTitle.constData(), count, settings);
    cupsFreeOptions(count, settings);
    if (job == 0)
        throw Error(LastCupsError());
    // A job that was created but never got its whole document is taken back, so the queue
    // holds nothing half-sent.
    const auto withdraw = [&](const QString &reason) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, name.constData(), job, 0);
        return Error(reason);
    };
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, jobTitle.constData(),
                          CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        throw withdraw(LastCupsError());
    document.seek(0);
    while (!document.atEnd()) {
        const QByteArray chunk = document.read(64 * 1024);
        if (chunk.isEmpty() || cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(),
                                                    size_t(chunk.size())) != HTTP_STATUS_CONTINUE) {
            const QString reason = chunk.isEmpty() ? document.errorString() : LastCupsError();
            cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData());
            throw withdraw(reason);
        }
    }
    if (Refused(cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData())))
        throw withdraw(LastCupsError());
    return job;
}

PrintJobStatus CupsJobStatus(int job) {
    PrintJobStatus status;
    const QByteArray jobUri = QByteArray("ipp://localhost/jobs/") + QByteArray::number(job);
    const Ipp answer =
        Request(IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", jobUri.constData(),
                {"job-state", "job-state-reasons", "job-printer-state-message", "job-printer-uri"});
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return status; // a job the scheduler no longer knows
    if (!answer || Refused(cupsLastError())) {
        status.failure = LastCupsError();
        return status;
    }
    status.state = StateOf(Enum(answer.get(), "job-state"));
    status.jobReasons = Values(answer.get(), "job-state-reasons");
    status.jobMessage = Values(answer.get(), "job-printer-state-message").join(u' ');
    const QByteArray printerUri = Values(answer.get(), "job-printer-uri").value(0).toUtf8();
    if (printerUri.isEmpty())
        return status;
    const Ipp printer =
        Request(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", printerUri.constData(),
                {"printer-state", "printer-state-reasons", "printer-state-message",
                 "printer-is-accepting-jobs"});
    if (!printer || Refused(cupsLastError()))
        return status;
    status.printerStopped = Enum(printer.get(), "printer-state") == IPP_PSTATE_STOPPED;
    if (ipp_attribute_t *accepting =
            ippFindAttribute(printer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        status.printerAccepting = ippGetBoolean(accepting, 0) != 0;
    status.printerReasons = Values(printer.get(), "printer-state-reasons");
    status.printerMessage = Values(printer.get(), "printer-state-message").join(u' ');
    return status;
}

void CancelCupsJob(const QString &printer, int job) {
    if (Refused(cupsCancelJob2(CUPS_HTTP_DEFAULT, printer.toUtf8().constData(), job, 0)))
        throw Error(LastCupsError());
}

} // namespace platform
