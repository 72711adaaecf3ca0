// The document window's drawing: pen and eraser strokes, lines, boxes, ellipses, arrows with
// their heads, drop shadows, flood fill and the text tool's layer. The shapes go through GDI
// on a small device-independent copy of the part of the image they touch, so that a preview
// during a drag costs that part alone, never a pass over the whole image.
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "core/Bitmap32Ops.h"
#include "core/ShapeGeometry.h"
#include "editor/frmChild.h"
#include "editor/frmTool.h"
#include "forms/Graphics.h"
#include "forms/Handles.h"
#include "forms/StdCtrls.h"

namespace {

// A colour value may name a system colour; GDI and the bitmaps need its RGB.
TColor32 Opaque(TColor color) {
    return Color32(static_cast<TColor>(ColorToRgb(color)));
}

// A GDI surface over one part of the image: the part is copied into a DIB whose device
// context takes image coordinates. GDI writes alpha 0 into every pixel it touches, so the
// copy marks all pixels opaque first; those found with alpha 0 afterwards are the drawn
// ones and go back into the image opaque, the others stay exactly as they were.
class TImageCanvas {
public:
    TImageCanvas(TBitmap32& image, const TRect& box)
        : image_(image), box_(box.Intersect(TRect{0, 0, image.Width(), image.Height()})) {
        if (box_.IsEmpty())
            return;
        dib_ = TBitmap(box_.Width(), box_.Height(), TPixelFormat::pf32bit);
        for (int y = 0; y < box_.Height(); ++y) {
            const TColor32* from = image_.ScanLine(box_.Top + y) + box_.Left;
            auto* to = reinterpret_cast<TColor32*>(dib_.ScanLine(y));
            for (int x = 0; x < box_.Width(); ++x)
                to[x] = from[x] | 0xFF000000u;
        }
        SetViewportOrgEx(dib_.Canvas(), -box_.Left, -box_.Top, nullptr);
    }
    TImageCanvas(const TImageCanvas&) = delete;
    TImageCanvas& operator=(const TImageCanvas&) = delete;

    // Null when the box lies outside the image: there is nothing to draw on.
    HDC DC() const { return box_.IsEmpty() ? nullptr : dib_.Canvas(); }

    // Puts the drawn pixels into the image.
    void Commit() {
        if (box_.IsEmpty())
            return;
        for (int y = 0; y < box_.Height(); ++y) {
            const auto* from = reinterpret_cast<const TColor32*>(dib_.ScanLine(y));
            TColor32* to = image_.ScanLine(box_.Top + y) + box_.Left;
            for (int x = 0; x < box_.Width(); ++x)
                if (AlphaComponent(from[x]) == 0)
                    to[x] = from[x] | 0xFF000000u;
        }
    }

private:
    TBitmap32& image_;
    TRect box_;
    TBitmap dib_;
};

// Pen and brush selected into a device context for one drawing, put back afterwards.
class TDrawTools {
public:
    // A solid pen of width w (none when w is 0) and a solid brush (none when brush is false).
    TDrawTools(HDC dc, int w, COLORREF penColor, bool brush, COLORREF brushColor)
        : dc_(dc), pen_(w > 0 ? CreatePen(PS_SOLID, w, penColor) : nullptr),
          brush_(brush ? CreateSolidBrush(brushColor) : nullptr) {
        oldPen_ = SelectObject(dc, pen_ ? pen_.Get() : GetStockObject(NULL_PEN));
        oldBrush_ = SelectObject(dc, brush_ ? brush_.Get() : GetStockObject(NULL_BRUSH));
    }
    TDrawTools(const TDrawTools&) = delete;
    TDrawTools& operator=(const TDrawTools&) = delete;
    ~TDrawTools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
    }

private:
    HDC dc_;
    TGdiObject pen_;
    TGdiObject brush_;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
};

void Segment(HDC dc, TPoint a, TPoint b) {
    MoveToEx(dc, a.X, a.Y, nullptr);
    LineTo(dc, b.X, b.Y);
}

// The heads of the arrow styles from s to e with pen width w; pen and brush are selected.
void DrawHeads(HDC dc, TToolCode tool, TPoint s, TPoint e, int w) {
    const int t = ArrowAngle(s, e);
    const int r = w + 10;
    const auto triangle = [dc](TPoint tip, TPoint w1, TPoint w2) {
        const POINT points[4] = {{tip.X, tip.Y}, {w1.X, w1.Y}, {w2.X, w2.Y}, {tip.X, tip.Y}};
        Polygon(dc, points, 4);
    };
    const auto box = [dc, r](TPoint p, bool round) {
        const TRect b = HeadBox(p, r);
        if (round)
            Ellipse(dc, b.Left, b.Top, b.Right, b.Bottom);
        else
            Rectangle(dc, b.Left, b.Top, b.Right, b.Bottom);
    };
    TPoint w1, w2;
    switch (tool) {
    case TToolCode::DoubleArrow:
        ArrowStartWings(s, t, r, w1, w2);
        triangle(s, w1, w2);
        [[fallthrough]];
    case TToolCode::SingleArrow:
        ArrowEndWings(e, t, r, w1, w2);
        triangle(e, w1, w2);
        break;
    case TToolCode::DoubleCircle:
        box(s, true);
        [[fallthrough]];
    case TToolCode::SingleCircle:
        box(e, true);
        break;
    case TToolCode::DoubleRect:
        box(s, false);
        [[fallthrough]];
    case TToolCode::SingleRect:
        box(e, false);
        break;
    default:
        break;
    }
}

// A box shape from a to b by kind; pen and brush are selected.
void DrawBox(HDC dc, int kind, TPoint a, TPoint b, int w) {
    if (kind == 0)
        Rectangle(dc, a.X, a.Y, b.X, b.Y);
    else if (kind == 1)
        RoundRect(dc, a.X, a.Y, b.X, b.Y, 2 * w, 2 * w);
    else
        Ellipse(dc, a.X, a.Y, b.X, b.Y);
}

// The point (x, y) kept within a range that GDI's coordinates hold.
int GdiCoord(int v) {
    return std::clamp(v, -(1 << 26), 1 << 26);
}

} // namespace

// ---- Strokes ----

void TChildForm::StrokePenColor(int x, int y) {
    if (ToolForm)
        Stroke(x, y, ToolForm->PenColor);
}

void TChildForm::StrokeFillColor(int x, int y) {
    if (ToolForm)
        Stroke(x, y, ToolForm->FillColor);
}

void TChildForm::Stroke(int x, int y, TColor color) {
    ToolForm->AddHistoryColor(color);
    const TPoint from = StartPoint, to{GdiCoord(x), GdiCoord(y)};
    const int w = std::max(ToolForm->PenWidth, 1);
    TImageCanvas canvas(ImgView32->Bitmap(), PreviewRect(from, to, w + 1, INT_MAX, INT_MAX));
    if (HDC dc = canvas.DC()) {
        TDrawTools tools(dc, w, ColorToRgb(color), false, 0);
        Segment(dc, from, to);
        canvas.Commit();
    }
    StartPoint = to;
    ImageDrawn();
}

// ---- Shapes ----

void TChildForm::DrawLine(int x, int y, bool shadow) {
    DrawShape(TShapeKind::Line, x, y, shadow);
}
void TChildForm::DrawRectangle(int x, int y, bool shadow) {
    DrawShape(TShapeKind::Rectangle, x, y, shadow);
}
void TChildForm::DrawRoundRect(int x, int y, bool shadow) {
    DrawShape(TShapeKind::RoundRect, x, y, shadow);
}
void TChildForm::DrawEllipse(int x, int y, bool shadow) {
    DrawShape(TShapeKind::Ellipse, x, y, shadow);
}
void TChildForm::DrawArrow(int x, int y, bool shadow) {
    DrawShape(TShapeKind::Arrow, x, y, shadow);
}

void TChildForm::DrawShape(TShapeKind shape, int x, int y, bool shadow) {
    if (!ToolForm)
        return;
    const int w = std::max(ToolForm->PenWidth, 1);
    RestorePreview(w);
    LastPoint = {GdiCoord(x), GdiCoord(y)};
    if (shadow)
        DrawShadow(StartPoint.X, StartPoint.Y, LastPoint.X, LastPoint.Y);
    const TToolCode tool = ToolForm->Tool;
    // The area the shape may touch is the one the next preview restore takes back.
    TBitmap32& image = ImgView32->Bitmap();
    TImageCanvas canvas(image, PreviewRect(StartPoint, LastPoint, PreviewMargin(static_cast<int>(tool), w),
                                           INT_MAX, INT_MAX));
    if (HDC dc = canvas.DC()) {
        const COLORREF pen = ColorToRgb(ToolForm->PenColor);
        if (shape == TShapeKind::Line) {
            TDrawTools tools(dc, w, pen, false, 0);
            Segment(dc, StartPoint, LastPoint);
        } else if (shape == TShapeKind::Arrow) {
            TDrawTools tools(dc, w, pen, true, pen);
            Segment(dc, StartPoint, LastPoint);
            DrawHeads(dc, tool, StartPoint, LastPoint, w);
        } else {
            const int style = ToolForm->FillStyle;
            TDrawTools tools(dc, style == 2 ? 0 : w, pen, style != 0, ColorToRgb(ToolForm->FillColor));
            DrawBox(dc, static_cast<int>(shape) - static_cast<int>(TShapeKind::Rectangle), StartPoint,
                    LastPoint, w);
        }
        canvas.Commit();
    }
    ImageDrawn();
}

void TChildForm::DrawShadow(int x1, int y1, int x2, int y2) {
    if (!ToolForm)
        return;
    const TToolCode tool = ToolForm->Tool;
    const int code = static_cast<int>(tool);
    if (code < static_cast<int>(TToolCode::Rectangle) || code > static_cast<int>(TToolCode::DoubleRect))
        return;
    const int w = std::max(ToolForm->PenWidth, 1);
    const TShadowLayout layout = ShadowLayout(code, {x1, y1}, {x2, y2}, w);
    if (!TBitmap32::ValidSize(layout.Size.Width, layout.Size.Height) || layout.Size.Width == 0 ||
        layout.Size.Height == 0)
        return;
    // The shape in black on white, composed apart and blended in with the shadow's alpha.
    TBitmap dib(layout.Size.Width, layout.Size.Height, TPixelFormat::pf32bit);
    for (int y = 0; y < layout.Size.Height; ++y)
        std::fill_n(reinterpret_cast<TColor32*>(dib.ScanLine(y)), layout.Size.Width, 0xFFFFFFFFu);
    {
        HDC dc = dib.Canvas();
        if (tool == TToolCode::Line) {
            TDrawTools tools(dc, w, 0, false, 0);
            Segment(dc, layout.From, layout.To);
        } else if (IsArrowTool(tool)) {
            TDrawTools tools(dc, w, 0, true, 0);
            Segment(dc, layout.From, layout.To);
            DrawHeads(dc, tool, layout.From, layout.To, w);
        } else {
            const int style = ToolForm->FillStyle;
            TDrawTools tools(dc, style == 2 ? 0 : w, 0, style != 0, 0);
            DrawBox(dc, code - static_cast<int>(TToolCode::Rectangle), layout.From, layout.To, w);
        }
    }
    TBitmap32 shadow;
    AssignToBitmap32(dib, shadow);
    shadow.ResetAlpha();
    MakeColorTransparent(shadow, 0xFFFFFFFFu);
    Draw(ImgView32->Bitmap(), layout.Origin.X, layout.Origin.Y, shadow, TDrawMode::dmBlend,
         static_cast<std::uint8_t>(std::clamp(ToolForm->ShadowTransparency, 0, 255)));
}

void TChildForm::FloodFillAt(int x, int y, TColor color) {
    // The fill compares colours only, so a picture's alpha never stops it; what it fills is opaque.
    if (FloodFill(ImgView32->Bitmap(), x, y, Opaque(color)) > 0)
        ImageDrawn();
}

void TChildForm::DrawRubberRect(int x, int y) {
    RestorePreview(1);
    LastPoint = {GdiCoord(x), GdiCoord(y)};
    TImageCanvas canvas(ImgView32->Bitmap(), PreviewRect(StartPoint, LastPoint, 1, INT_MAX, INT_MAX));
    if (HDC dc = canvas.DC()) {
        TGdiObject pen(CreatePen(PS_DASH, 1, RGB(0, 0, 0)));
        TSelectObject selectedPen(dc, pen.Get());
        TSelectObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
        SetBkMode(dc, TRANSPARENT);
        Rectangle(dc, StartPoint.X, StartPoint.Y, LastPoint.X, LastPoint.Y);
        canvas.Commit();
    }
    ImageDrawn();
}

// ---- Floating layers ----

void TChildForm::RenderHighlightLayer() {
    TBitmapLayer* layer = GetFloatingLayer();
    // Only the Highlight tool's own rectangle is a highlight: a pasted or lifted picture,
    // a stamp or Select All keeps its pixels under a new pen colour.
    if (!layer || layer != highlightLayer_ || !ToolForm)
        return;
    layer->Bitmap().Clear(Opaque(ToolForm->PenColor));
    layer->SetMasterAlpha(static_cast<std::uint8_t>(std::clamp(ToolForm->Transparency, 0, 255)));
    layer->BitmapChanged();
}

void TChildForm::RenderTextLayer(int width, int height) {
    TBitmapLayer* layer = GetFloatingLayer();
    // Only the Text tool's own layer is text: a pasted picture or a stamp stays as it is.
    if (!layer || layer != textLayer_ || !ToolForm)
        return;
    const TFloatRect& loc = layer->Location();
    if (width <= 0)
        width = static_cast<int>(std::fabs(std::trunc(loc.Right - loc.Left)));
    if (height <= 0)
        height = static_cast<int>(std::fabs(std::trunc(loc.Bottom - loc.Top)));
    if (width <= 0 || height <= 0 || !TBitmap32::ValidSize(width, height))
        return;
    const int w = std::max(ToolForm->PenWidth, 1);
    const TTextLayerLayout layout =
        TextLayerLayout(ToolForm->FillStyle, ToolForm->cbFrame->Checked(), w, width, height);

    TBitmap dib(width, height, TPixelFormat::pf32bit);
    const TColor32 ground = layout.Opaque ? Opaque(ToolForm->FillColor) : 0;
    for (int y = 0; y < height; ++y)
        std::fill_n(reinterpret_cast<TColor32*>(dib.ScanLine(y)), width, ground);
    {
        HDC dc = dib.Canvas();
        // Without a ground the text is drawn white and becomes the alpha of the pen colour.
        const COLORREF ink = layout.Opaque ? ColorToRgb(ToolForm->PenColor) : RGB(255, 255, 255);
        if (layout.Frame) {
            TDrawTools tools(dc, w, ink, false, 0);
            const TRect& f = layout.FrameRect;
            Rectangle(dc, f.Left, f.Top, f.Right, f.Bottom);
        }
        const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
        TGdiObject font(CreateFontW(-MulDiv(ToolForm->TextFontSize, pixelsPerInch, 72), 0, 0, 0,
                                    ToolForm->TextBold ? FW_BOLD : FW_NORMAL, ToolForm->TextItalic,
                                    ToolForm->TextUnderline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                    ToolForm->TextFontName.c_str()));
        TSelectObject selected(dc, font ? font.Get() : GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(dc, ink);
        SetBkMode(dc, TRANSPARENT);
        RECT text{layout.TextRect.Left, layout.TextRect.Top, layout.TextRect.Right, layout.TextRect.Bottom};
        const UINT align = static_cast<UINT>(std::clamp(ToolForm->TextAlignment, 0, 2));
        DrawTextW(dc, ToolForm->TextContent.c_str(), static_cast<int>(ToolForm->TextContent.size()), &text,
                  align | DT_WORDBREAK | DT_EDITCONTROL);
    }
    TBitmap32 rendered;
    AssignToBitmap32(dib, rendered);
    rendered.ResetAlpha();
    if (layout.Opaque) {
        layer->Bitmap() = std::move(rendered);
    } else {
        TBitmap32 coloured(width, height, Opaque(ToolForm->PenColor));
        IntensityToAlpha(coloured, rendered);
        layer->Bitmap() = std::move(coloured);
    }
    layer->SetDrawMode(TDrawMode::dmBlend);
    layer->SetMasterAlpha(static_cast<std::uint8_t>(std::clamp(ToolForm->Transparency, 0, 255)));
    layer->BitmapChanged();
}
