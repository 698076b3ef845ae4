// The drawing surface the report engine draws a page on: pens, brushes and fonts as values
// and the few primitives a page needs, all in device pixels of the surface. PainterCanvas
// puts them on a QPainter over any paint device (printer, page picture, image).
#pragma once

#include "platform/Colour.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class QPainter;
class QPaintDevice;

namespace platform {

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Clear, InsideFrame };
enum class PenMode { Copy, NotCopy, Xor, Not };

struct Pen {
    TColor colour = clBlack;
    int width = 1; // device pixels; 0 and 1 both draw one pixel
    PenStyle style = PenStyle::Solid;
    PenMode mode = PenMode::Copy;
    bool operator==(const Pen &) const = default;
};

enum class BrushStyle {
    Solid,
    Clear,
    Horizontal,
    Vertical,
    FDiagonal,
    BDiagonal,
    Cross,
    DiagCross
};

struct Brush {
    TColor colour = clWhite;
    BrushStyle style = BrushStyle::Solid;
    bool operator==(const Brush &) const = default;
};

struct FontStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontStyle &) const = default;
};

constexpr int DEFAULT_CHARSET = 1;
constexpr int EASTEUROPE_CHARSET = 238;

// A font as the system stores it. The character set is kept for the definition's sake;
// text is Unicode here, so it selects nothing.
struct Font {
    QString face = QStringLiteral("MS Sans Serif");
    int size = 8; // points
    FontStyle style;
    TColor colour = clWindowText;
    int charset = DEFAULT_CHARSET;
    bool operator==(const Font &) const = default;
};

// The em height in pixels of a font of the given size at a resolution:
// round(points x dpi / 72), halves to even.
int FontPixelSize(int points, int dpi);

// The font realised for a device of the given vertical resolution, by pixel size. Kerning
// and ligatures are off: a string is as wide as the sum of its characters' advances.
QFont RealiseFont(const Font &font, int dpi);

// Where the point given to TextOut lies on the line: at its start, its end or its centre.
enum class TextAnchor { Left, Right, Centre };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;

    void setPen(const Pen &pen) { pen_ = pen; }
    void setBrush(const Brush &brush) { brush_ = brush; }
    // The font is realised for this surface's vertical resolution.
    void setFont(const Font &font) { font_ = font; }
    const Pen &pen() const { return pen_; }
    const Brush &brush() const { return brush_; }
    const Font &font() const { return font_; }

    // The figure covers x1..x2-1, y1..y2-1: the outline in the pen along the inside of that
    // box (one pixel for a pen width of 0 or 1), the inside filled with the brush. With a
    // clear pen the filled inside is one pixel smaller at the right and bottom.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    // The same box with its corners rounded by a cornerWidth x cornerHeight ellipse.
    virtual void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    // Fills x1..x2-1, y1..y2-1 with the brush; no outline.
    virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
    // A line in the pen from (x1, y1) up to, not including, (x2, y2).
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Draws text in the font's colour with the top of its character cell at y and the anchor
    // point at x. An opaque background fills the text's cell with the brush colour first.
    virtual void TextOut(int x, int y, const QString &text, TextAnchor anchor, bool opaque) = 0;
    // Advance width and cell height (ascent + descent) of text in the current font.
    virtual QSize TextExtent(const QString &text) = 0;

private:
    Pen pen_;
    Brush brush_;
    Font font_;
};

// The canvas on a QPainter. It either paints on a device of its own (begun here and ended
// when the canvas goes) or borrows a painter that someone else keeps active, such as the
// printer's across pages.
class PainterCanvas final : public Canvas {
public:
    // Paints on the device at the device's own logical resolution.
    explicit PainterCanvas(QPaintDevice &device);
    // Borrows an active painter; the resolution is the one its device pixels stand for.
    PainterCanvas(QPainter &painter, int dpiX, int dpiY);
    ~PainterCanvas() override;
    PainterCanvas(const PainterCanvas &) = delete;
    PainterCanvas &operator=(const PainterCanvas &) = delete;

    int dpiX() const override { return dpiX_; }
    int dpiY() const override { return dpiY_; }
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void FillRect(int x1, int y1, int x2, int y2) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const QString &text, TextAnchor anchor, bool opaque) override;
    QSize TextExtent(const QString &text) override;
    // Text drawn narrower or lower by these factors about its anchor point, for a printer
    // that stretches the page: the glyphs then land at their designed size. 1 by default.
    void SetTextScale(qreal x, qreal y) {
        textScaleX_ = x;
        textScaleY_ = y;
    }

private:
    void applyFont();
    void applyPenMode();
    void strokeInsideOutline(int x1, int y1, int x2, int y2);

    std::unique_ptr<QPainter> own_;
    QPainter *painter_;
    int dpiX_;
    int dpiY_;
    std::optional<Font> appliedFont_;
    qreal textScaleX_ = 1;
    qreal textScaleY_ = 1;
};

} // namespace platform
