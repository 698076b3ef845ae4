// The text and shape printables: labels laid out in design pixels on the screen and drawn
// at the device's resolution, and rectangles.
#pragma once

#include "platform/Canvas.h"
#include "report/RpPrintable.h"

#include <QString>
#include <QStringList>

#include <functional>

class TRpCustomLabel;
struct TRpDeviceMapping;

// May replace the text about to be rendered, for this rendering only.
using TRpLabelOnPrintEvent = std::function<void(TRpCustomLabel &sender, QString &value)>;

class TRpCustomLabel : public TRpPrintable {
public:
    TRpCustomLabel();

    void SetName(const QString &name) override;

    const QString &Caption() const { return caption_; }
    // Sets the caption and the render text and lays the label out.
    void SetCaption(const QString &caption);
    // The text layout and rendering use.
    const QString &RenderText() const { return renderText_; }

    // The label's own font, or its band's while ParentFont is set.
    platform::Font Font() const;
    // Takes the font as the label's own and lays the label out.
    void SetFont(const platform::Font &font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);
    // Stream-only: a size in points above 0 becomes the font's size when loading ends.
    void SetFontSize(int points) { pendingFontSize_ = points; }
    int FontSize() const { return Font().size; }

    bool AutoSize = true;
    bool AutoStretch = false;
    bool WordWrap = true;
    bool Transparent = false;
    TRpLabelOnPrintEvent OnPrint;

    // The laid-out lines; every layout clears and refills them.
    const QStringList &FormattedLines() const { return formattedLines_; }
    bool LaidOut() const { return laidOut_; }
    // Breaks the render text into lines in design pixels and applies the auto size and the
    // minimum height.
    virtual void LayoutLines();

    void PlaceOn(TRpBand *band, TRpReport *report) override;
    void ParentFontChanged() override;
    void Loaded() override;
    void BeginRun() override;
    void RenderItem(int offsetX, int offsetY) override;

protected:
    void BoundsChanged(int oldWidth, int oldHeight) override;

private:
    // TW: the report's text width times the zoom, in design pixels.
    int TextWidthZoomed(const platform::Font &font, const QString &text) const;
    void Paragraph(const platform::Font &font, const QString &paragraph);
    void PlaceWord(const platform::Font &font, QString &line, QString word);
    void ApplyMinimumHeight(const platform::Font &font);
    void ApplyAutoSize(const platform::Font &font);
    void DrawLines(platform::Canvas &canvas, const TRpDeviceMapping &mapping, long double x,
                   long double top, long double width, long double height, long double pitch);

    QString caption_;
    QString renderText_;
    platform::Font font_;
    bool parentFont_ = true;
    int pendingFontSize_ = 0;
    QStringList formattedLines_;
    bool laidOut_ = false;
    bool nestedGuard_ = false;
};

class TRpLabel final : public TRpCustomLabel {};

enum class TRpShapeType {
    rpsRectangle,
    rpsCircle,
    rpsVertLine,
    rpsHorLine,
    rpsTopAndBottom,
    rpsRightAndLeft,
    rpsRoundRect,
    rpsLeftDiagonal,
    rpsRightDiagonal
};

class TRpShape final : public TRpPrintable {
public:
    TRpShape();

    TRpShapeType Shape = TRpShapeType::rpsRectangle;
    platform::Brush Brush;
    platform::Pen Pen;
    float RoundFactor = 0;
    int VertAdjust = 0; // stored only

    // Draws rpsRectangle; the other kinds draw nothing here, and a shape never draws its
    // frame.
    void RenderItem(int offsetX, int offsetY) override;
};
