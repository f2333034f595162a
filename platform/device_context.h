#pragma once

#include "platform/color.h"
#include "platform/geometry.h"
#include "platform/text_format.h"

#include <QString>
#include <cstdint>
#include <memory>

class QByteArray;
class QImage;

namespace plat {

class Font;

enum class StretchMode { Halftone, ColorOnColor }; // smooth, or nearest pixel

struct GradientVertex {
    int x = 0;
    int y = 0;
    ColorRef color = 0;
};

// A memory device context: a drawing surface (premultiplied 32-bit pixels) with the drawing state the skin
// code keeps on a device context (font, text colour, background mode, pen, stretch mode, clip). Every blit
// takes another device context as its source, the way the skin code copies from its atlas and surfaces. A new
// device context draws transparent text backgrounds with halftone stretching and the default font.
class DeviceContext {
  public:
    DeviceContext();
    DeviceContext(int width, int height);
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    ~DeviceContext();

    // (Re)makes the surface, cleared to transparent black; drawing state stays, the clip stack is emptied.
    // False (and an empty surface) for a size below 1 x 1 or when the memory cannot be had.
    bool create(int width, int height);
    // Loads a PNG or JPEG from a file or a Qt resource (":/skin/atlas.png"); false when it cannot be read.
    bool loadImage(const QString& path);
    // The same for a picture held in memory (PNG, JPEG or GIF bytes).
    bool loadImageData(const QByteArray& bytes);
    bool saveImage(const QString& path) const; // PNG

    int width() const;
    int height() const;
    Size size() const { return Size{width(), height()}; }
    bool isNull() const;

    // Pixels. getPixel answers kInvalidColor outside the surface; pixelArgb answers the premultiplied pixel
    // (0 outside); scanLine is one premultiplied row for bulk work (nullptr outside).
    ColorRef getPixel(int x, int y) const;
    void setPixel(int x, int y, ColorRef color);
    std::uint32_t pixelArgb(int x, int y) const;
    std::uint32_t* scanLine(int y);
    const std::uint32_t* constScanLine(int y) const;

    // Drawing state. selectFont answers the font selected before (nullptr = the default font), so callers
    // can select it back; the font must outlive its selection.
    const Font* selectFont(const Font* font);
    const Font* font() const;
    ColorRef setTextColor(ColorRef color);
    ColorRef textColor() const;
    StretchMode setStretchMode(StretchMode mode);
    void setPen(ColorRef color, int width = 1);

    // Clipping: pushClip narrows the drawable area to the intersection with rect until popClip.
    void pushClip(const Rect& rect);
    void popClip();
    Rect clipBox() const; // the drawable area: the current clip, or the whole surface

    // Blits. bitBlt and stretchBlt replace the target pixels (alpha included); bitBlt leaves the target alone
    // where the source rectangle lies outside the source surface, the stretching blits read such pixels as
    // transparent. transparentBlt leaves out source pixels of the key colour (nearest-pixel
    // stretch); alphaBlend composes source-over with a constant alpha 0..255 and, when perPixelAlpha is set,
    // the source's own alpha (else the source counts as opaque).
    void bitBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy);
    void stretchBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy, int sw, int sh);
    void transparentBlt(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy, int sw, int sh,
                        ColorRef key);
    void alphaBlend(int x, int y, int w, int h, const DeviceContext& src, int sx, int sy, int sw, int sh,
                    int constantAlpha, bool perPixelAlpha);

    // Shapes. Fills are opaque; lines use the pen and, as the skin code expects, leave out their end point.
    void fillSolidRect(const Rect& rect, ColorRef color);
    void frameRect(const Rect& rect, ColorRef color); // 1-px frame inside rect
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void polyline(const Point* points, int count);
    // Colours shaded across the triangle; triangles sharing an edge leave no gap and no overlap.
    void gradientFillTriangle(const GradientVertex& a, const GradientVertex& b, const GradientVertex& c);

    // Text in the selected font and text colour over what is already drawn; (x, y) is the top-left of the
    // text.
    void textOut(int x, int y, const QString& text);
    // Text in a rectangle (TextFormat flags). Answers the height of the text; with kTextCalcRect nothing is
    // drawn and rect's right and bottom are set to the text's extent.
    int drawText(const QString& text, Rect& rect, unsigned format);
    Size getTextExtent(const QString& text) const; // one line, tabs not expanded

    QImage& image();             // for the platform layer and tests
    const QImage& image() const; // for the platform layer and tests

  private:
    // Makes loaded the surface; false when it is null.
    bool adoptImage(QImage loaded);

    struct Data;
    std::unique_ptr<Data> m_d;
};

} // namespace plat
