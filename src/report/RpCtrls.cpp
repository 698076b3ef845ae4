#include "RpCtrls.h"

#include "RpBand.h"
#include "RpDevice.h"
#include "RpReport.h"

#include <algorithm>

namespace {

// Holds a flag for the length of a scope.
class FlagGuard {
public:
    explicit FlagGuard(bool &flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &flag_;
};

bool EndsWord(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('-');
}

} // namespace

TRpCustomLabel::TRpCustomLabel() : TRpPrintable(10, 10) {}

void TRpCustomLabel::SetName(const QString &name) {
    const bool captionFollows = caption_.isEmpty() || caption_ == Name();
    TRpPrintable::SetName(name);
    if (captionFollows)
        SetCaption(name);
}

void TRpCustomLabel::SetCaption(const QString &caption) {
    caption_ = caption;
    renderText_ = caption;
    LayoutLines();
}

platform::Font TRpCustomLabel::Font() const {
    if (parentFont_) {
        if (Band())
            return Band()->Font();
        if (Report())
            return Report()->Font();
    }
    return font_;
}

void TRpCustomLabel::SetFont(const platform::Font &font) {
    font_ = font;
    parentFont_ = false;
    LayoutLines();
}

void TRpCustomLabel::SetParentFont(bool parentFont) {
    parentFont_ = parentFont;
    LayoutLines();
}

void TRpCustomLabel::PlaceOn(TRpBand *band, TRpReport *report) {
    TRpPrintable::PlaceOn(band, report);
    LayoutLines();
}

void TRpCustomLabel::ParentFontChanged() {
    if (parentFont_)
        LayoutLines();
}

void TRpCustomLabel::Loaded() {
    TRpPrintable::Loaded();
    if (pendingFontSize_ > 0) {
        platform::Font font = Font();
        font.size = pendingFontSize_;
        pendingFontSize_ = 0;
        SetFont(font);
    }
}

void TRpCustomLabel::BeginRun() {
    TRpPrintable::BeginRun();
    SetCaption(caption_);
}

void TRpCustomLabel::BoundsChanged(int oldWidth, int) {
    if (Width() != oldWidth)
        LayoutLines();
}

int TRpCustomLabel::TextWidthZoomed(const platform::Font &font, const QString &text) const {
    return int(
        RoundHalfEven((long double)Report()->TextWidth(font, text) * Report()->Zoom() / 100));
}

void TRpCustomLabel::LayoutLines() {
    if (!Band() || !Report()) {
        laidOut_ = true;
        return;
    }
    formattedLines_.clear();
    const platform::Font font = Font();
    QString text = renderText_;
    text.remove(QLatin1Char('\n'));
    for (const QString &paragraph : text.split(QLatin1Char('\r')))
        Paragraph(font, paragraph);
    laidOut_ = true;
    // Bounds changed here lay the label out again; that layout must not size it again.
    if (nestedGuard_)
        return;
    FlagGuard nested(nestedGuard_);
    ApplyMinimumHeight(font);
    if (AutoSize)
        ApplyAutoSize(font);
}

void TRpCustomLabel::Paragraph(const platform::Font &font, const QString &paragraph) {
    if (AutoSize || !WordWrap) {
        formattedLines_.append(paragraph);
        return;
    }
    QString line;
    qsizetype start = 0;
    while (start < paragraph.size()) {
        qsizetype end = start;
        while (end < paragraph.size() && !EndsWord(paragraph[end]))
            ++end;
        end = std::min(end + 1, paragraph.size()); // the space or hyphen stays with its word
        PlaceWord(font, line, paragraph.mid(start, end - start));
        start = end;
    }
    formattedLines_.append(line);
}

void TRpCustomLabel::PlaceWord(const platform::Font &font, QString &line, QString word) {
    const int boxWidth = Width();
    if (TextWidthZoomed(font, line + word) <= boxWidth) {
        line += word;
        return;
    }
    if (line.isEmpty()) {
        // A word wider than the box on a line of its own keeps what fits strictly inside.
        qsizetype i = 0;
        while (i < word.size() && TextWidthZoomed(font, line + word[i]) < boxWidth)
            line += word[i++];
        word.clear();
    }
    formattedLines_.append(line);
    line.clear();
    if (!word.isEmpty() && TextWidthZoomed(font, word) > boxWidth) {
        if (boxWidth == 0)
            word.clear();
        while (!word.isEmpty() && TextWidthZoomed(font, word) > boxWidth)
            word.chop(1);
        formattedLines_.append(word);
        word.clear();
    }
    line = word;
}

void TRpCustomLabel::ApplyMinimumHeight(const platform::Font &font) {
    const int minimum = Report()->LineHeight(font) * Report()->Zoom() / 100 + 1;
    if (Height() < minimum)
        SetHeight(minimum);
}

void TRpCustomLabel::ApplyAutoSize(const platform::Font &font) {
    int widest = 0;
    for (const QString &line : formattedLines_)
        widest = std::max(widest, TextWidthZoomed(font, line));
    if (Frame().DrawLeft)
        widest += Frame().Width;
    if (Frame().DrawRight)
        widest += Frame().Width;
    if (Alignment() == TAlignment::taRightJustify)
        SetLeft(Left() + (Width() - widest));
    else if (Alignment() == TAlignment::taCenter)
        SetLeft(Left() + (Width() - widest) / 2);
    SetWidth(widest);
    ApplyMinimumHeight(font);
}

void TRpCustomLabel::RenderItem(int offsetX, int offsetY) {
    if (!IsPrintable())
        return;
    TRpDevice *device = RunDevice();
    if (!device)
        return;
    platform::Canvas &canvas = device->Canvas();
    const TRpDeviceMapping &mapping = device->Mapping();
    const platform::Font font = Font();
    const QString lineProbe = QStringLiteral("W");

    canvas.setFont(font);
    const long double left = offsetX + Size().NativeLeft();
    const long double top = offsetY + Size().NativeTop();
    const long double designWidth = Size().NativeWidth();
    long double height = Size().NativeHeight();
    long double pitch = canvas.TextExtent(lineProbe).height() / mapping.PixelsPerTenthY;

    if (OnPrint) {
        QString value = renderText_;
        OnPrint(*this, value);
        if (value != renderText_)
            renderText_ = value;
        canvas.setFont(font);
        height = Size().NativeHeight();
        pitch = canvas.TextExtent(lineProbe).height() / mapping.PixelsPerTenthY;
    }

    LayoutLines();
    const long double width = Size().NativeWidth();
    long double x = left;
    if (AutoSize && Alignment() == TAlignment::taRightJustify)
        x = left - (width - designWidth);
    else if (AutoSize && Alignment() == TAlignment::taCenter)
        x = left - (width - designWidth) / 2;

    if (DrawsOnCanvas() && !Transparent) {
        canvas.setBrush({Color(), platform::BrushStyle::Solid});
        canvas.FillRect(mapping.DeviceX(x), mapping.DeviceY(top), mapping.DeviceX(x + width),
                        mapping.DeviceY(top + height));
    }
    DrawLines(canvas, mapping, x, top, width, height, pitch);
    Frame().Draw(canvas, mapping, x, top, x + width, top + height);
    renderText_ = caption_;
}

void TRpCustomLabel::DrawLines(platform::Canvas &canvas, const TRpDeviceMapping &mapping,
                               long double x, long double top, long double width,
                               long double height, long double pitch) {
    // A frame's left and top lines push the text inwards.
    const long double shiftX = Frame().DrawLeft ? Frame().Thickness() : 0;
    const long double shiftY = Frame().DrawTop ? Frame().Thickness() : 0;
    long double anchorX = x + shiftX;
    platform::TextAnchor anchor = platform::TextAnchor::Left;
    if (Alignment() == TAlignment::taRightJustify) {
        anchorX = x + shiftX + width;
        anchor = platform::TextAnchor::Right;
    } else if (Alignment() == TAlignment::taCenter) {
        anchorX = x + shiftX + width / 2;
        anchor = platform::TextAnchor::Centre;
    }
    // One tenth of a millimetre of tolerance below the box.
    const long double limit = top + height + 1;
    long double y = top + shiftY;
    for (const QString &line : formattedLines_) {
        if (y + pitch > limit)
            break;
        if (!line.isEmpty())
            canvas.TextOut(mapping.DeviceX(anchorX), mapping.DeviceY(y), line, anchor, false);
        y += pitch;
    }
}

TRpShape::TRpShape() : TRpPrintable(65, 65) {}

void TRpShape::RenderItem(int offsetX, int offsetY) {
    if (!DrawsOnCanvas() || !IsPrintable() || Shape != TRpShapeType::rpsRectangle)
        return;
    TRpDevice *device = RunDevice();
    if (!device)
        return;
    platform::Canvas &canvas = device->Canvas();
    const TRpDeviceMapping &mapping = device->Mapping();
    canvas.setBrush(Brush);
    canvas.setPen(Pen);
    const PageBox box = BoxAt(offsetX, offsetY);
    canvas.Rectangle(mapping.DeviceX(box.left), mapping.DeviceY(box.top),
                     mapping.DeviceX(box.right), mapping.DeviceY(box.bottom));
}
