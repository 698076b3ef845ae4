// A document drawn through a Qt printer: the printer is set up by the caller for one
// document, the painter begins on the first page.
#pragma once

#include "platform/PrinterSystem.h"

#include <QPainter>
#include <QPrinter>

#include <functional>

namespace platform {

class PrinterDocument final : public SpoolDocument {
public:
    // `setUp` configures the printer (name or output file, settings, title) before the first
    // page; the printer works at its high resolution.
    explicit PrinterDocument(const std::function<void(QPrinter &)> &setUp);
    ~PrinterDocument() override;

    bool startPage() override;
    void endPage() override {}
    // Finishes the drawing; 0, since the document is no job of a printer system. Raises when
    // the printer could not finish it.
    int endDocument() override;
    void abortDocument() override;
    QPainter &painter() override { return painter_; }

private:
    QPrinter printer_{QPrinter::HighResolution};
    QPainter painter_;
    int pages_ = 0;
};

} // namespace platform
