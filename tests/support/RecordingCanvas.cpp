#include "RecordingCanvas.h"

#include <QFontMetrics>

namespace testing_support {

DrawCall &RecordingCanvas::record(DrawCall::Kind kind, int x1, int y1, int x2, int y2) {
    DrawCall call;
    call.kind = kind;
    call.x1 = x1;
    call.y1 = y1;
    call.x2 = x2;
    call.y2 = y2;
    call.pen = pen();
    call.brush = brush();
    call.font = font();
    calls.push_back(call);
    return calls.back();
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    record(DrawCall::Kind::Rectangle, x1, y1, x2, y2);
}

void RecordingCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    DrawCall &call = record(DrawCall::Kind::RoundRect, x1, y1, x2, y2);
    call.cornerWidth = cornerWidth;
    call.cornerHeight = cornerHeight;
}

void RecordingCanvas::FillRect(int x1, int y1, int x2, int y2) {
    record(DrawCall::Kind::FillRect, x1, y1, x2, y2);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
    record(DrawCall::Kind::Line, x1, y1, x2, y2);
}

void RecordingCanvas::TextOut(int x, int y, const QString &text, platform::TextAnchor anchor,
                              bool opaque) {
    DrawCall &call = record(DrawCall::Kind::Text, x, y, x, y);
    call.text = text;
    call.anchor = anchor;
    call.opaque = opaque;
}

QSize RecordingCanvas::TextExtent(const QString &text) {
    const QFontMetrics metrics(platform::RealiseFont(font(), dpiY_));
    return {metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()};
}

} // namespace testing_support
