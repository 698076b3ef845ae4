#include "PrinterDocument.h"

#include "Application.h"

namespace platform {

PrinterDocument::PrinterDocument(const std::function<void(QPrinter &)> &setUp) {
    setUp(printer_);
}

PrinterDocument::~PrinterDocument() {
    if (painter_.isActive())
        abortDocument();
}

bool PrinterDocument::startPage() {
    if (pages_++ == 0)
        return painter_.begin(&printer_);
    return painter_.isActive() && printer_.newPage();
}

int PrinterDocument::endDocument() {
    if (!painter_.isActive() || !painter_.end())
        throw Error(QStringLiteral("nie udało się zakończyć dokumentu"));
    return 0;
}

void PrinterDocument::abortDocument() {
    printer_.abort();
    if (painter_.isActive())
        painter_.end();
}

} // namespace platform
