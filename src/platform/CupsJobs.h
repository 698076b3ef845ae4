// Jobs at the CUPS scheduler, through libcups: a document handed over with every status
// checked, a job's state and its printer's asked over IPP, a job cancelled. Qt's own print
// engine hands its file over without looking at CUPS's answer, so a refused job would pass
// for printed; everything here reports the scheduler's own reason instead.
#pragma once

#include "platform/PrinterSystem.h"

#include <QIODevice>
#include <QStringList>

namespace platform {

// Hands a PDF document to the printer's queue as one job with the options (name, value,
// name, value, ...). Its job number; raises Error with CUPS's reason when the job is refused.
int SubmitPdfJob(const QString &printer, const QString &title, const QStringList &options,
                 QIODevice &document);

PrintJobStatus CupsJobStatus(int job);

// Raises Error with CUPS's reason when the scheduler refuses.
void CancelCupsJob(const QString &printer, int job);

} // namespace platform
