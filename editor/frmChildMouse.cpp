// The document window's mouse tools: what a press, the moves of a drag and the release do
// for the tool window's current tool, the previews taken back from a copy of the image, the
// floating selections made by Select, Highlight, Text and Stemp, and the status texts.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>

#include "core/Bitmap32Ops.h"
#include "core/ShapeGeometry.h"
#include "editor/frmChild.h"
#include "editor/frmText.h"
#include "editor/frmTool.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/ImageCodecs.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"

namespace {
bool InRange(TToolCode tool, TToolCode first, TToolCode last) {
    return static_cast<int>(tool) >= static_cast<int>(first) &&
           static_cast<int>(tool) <= static_cast<int>(last);
}
// The tools that take the left button alone: the rectangle tools, Stemp and the shapes.
bool LeftOnly(TToolCode tool) {
    return InRange(tool, TToolCode::Select, TToolCode::Stemp) ||
           InRange(tool, TToolCode::Rectangle, TToolCode::DoubleRect);
}
bool RectangleTool(TToolCode tool) {
    return InRange(tool, TToolCode::Select, TToolCode::Text);
}
bool ShapeTool(TToolCode tool) {
    return InRange(tool, TToolCode::Rectangle, TToolCode::DoubleRect);
}
} // namespace

// ---- Press, moves and release ----

void TChildForm::ImgView32MouseDown(TObject*, TMouseButton button, TShiftState, int x, int y,
                                    TCustomLayer* layer) {
    // A press on the floating selection's frame moves or resizes it; the tool stays out.
    if (layer || !ToolForm || Released)
        return;
    const TToolCode tool = ToolForm->Tool;
    const bool left = button == TMouseButton::Left;
    if (!left && LeftOnly(tool))
        return;
    Dragging = true;
    LastMousePos = {x, y};
    StartPoint = ToolImagePoint(ImgView32->Mapping(), x, y);
    LastPoint = StartPoint;
    restoreErrorShown_ = false;
    if (InRange(tool, TToolCode::Move, TToolCode::Zoom))
        return;
    try {
        if (InRange(tool, TToolCode::Select, TToolCode::Stemp)) {
            // The state before the press, before any floating selection is merged.
            PushHistory();
            CommitFloatingLayer();
            TakeBackup();
            return;
        }
        if (History->Index() < 0)
            PushHistory();
        CommitFloatingLayer();
        if (tool != TToolCode::Fill)
            TakeBackup();
    } catch (...) {
        // A state that cannot be written (a full temporary folder) ends the press here: no
        // drag follows and nothing is drawn, so no preview is left without its backup. The
        // error goes on to the error box.
        EndDrag();
        throw;
    }
    const TPoint p = StartPoint;
    switch (tool) {
    case TToolCode::Pen:
        left ? StrokePenColor(p.X, p.Y) : StrokeFillColor(p.X, p.Y);
        break;
    case TToolCode::Erase:
        left ? StrokeFillColor(p.X, p.Y) : StrokePenColor(p.X, p.Y);
        break;
    case TToolCode::Fill:
        FloodFillAt(p.X, p.Y, left ? ToolForm->PenColor : ToolForm->FillColor);
        break;
    default:
        DrawToolShape(tool, p.X, p.Y, false);
        break;
    }
}

void TChildForm::ImgView32MouseMove(TObject*, TShiftState shift, int x, int y, TCustomLayer*) {
    if (Released)
        return;
    RECT window{};
    GetWindowRect(ImgView32->Handle(), &window);
    ViewScreenRect = window;
    const TPoint p = ToolImagePoint(ImgView32->Mapping(), x, y);
    if (Dragging && ToolForm) {
        const TToolCode tool = ToolForm->Tool;
        // "Exactly the left button": a key or another button held too gives the other colour.
        const bool leftAlone = shift == ssLeft;
        if (tool == TToolCode::Move) {
            ImgView32->Scroll(LastMousePos.X - x, LastMousePos.Y - y);
            ImgView32->Update();
            LastMousePos = {x, y};
        } else if (RectangleTool(tool)) {
            DrawRubberRect(p.X, p.Y);
        } else if (tool == TToolCode::Pen) {
            leftAlone ? StrokePenColor(p.X, p.Y) : StrokeFillColor(p.X, p.Y);
        } else if (tool == TToolCode::Erase) {
            leftAlone ? StrokeFillColor(p.X, p.Y) : StrokePenColor(p.X, p.Y);
        } else if (ShapeTool(tool)) {
            DrawToolShape(tool, p.X, p.Y, false);
        }
        if (RectangleTool(tool) || InRange(tool, TToolCode::Rectangle, TToolCode::Circle))
            host_.SetStatusText(3, DragSizeText(std::abs(StartPoint.X - p.X), std::abs(StartPoint.Y - p.Y)));
    }
    host_.SetStatusText(2, PositionText(p));
}

namespace {
// Ends the drag when the release is done, also when recording its state failed.
class TDragEnder {
public:
    explicit TDragEnder(std::function<void()> end) : end_(std::move(end)) {}
    ~TDragEnder() { end_(); }
    TDragEnder(const TDragEnder&) = delete;
    TDragEnder& operator=(const TDragEnder&) = delete;

private:
    std::function<void()> end_;
};
} // namespace

void TChildForm::EndDrag() {
    BackupBitmap.reset();
    Dragging = false;
}

void TChildForm::ImgView32MouseUp(TObject*, TMouseButton button, TShiftState, int x, int y, TCustomLayer*) {
    EndPoint = ToolImagePoint(ImgView32->Mapping(), x, y);
    const TDragEnder ender([this] { EndDrag(); });
    if (Dragging && ToolForm && !Released) {
        const TToolCode tool = ToolForm->Tool;
        const bool left = button == TMouseButton::Left;
        if (tool == TToolCode::Dropper) {
            // Outside the image there is no colour to pick; the tool goes back all the same.
            const TBitmap32& image = ImgView32->Bitmap();
            if (image.Contains(EndPoint.X, EndPoint.Y)) {
                const TColor color = WinColor(image.Pixel(EndPoint.X, EndPoint.Y));
                left ? ToolForm->SetPenColor(color) : ToolForm->SetFillColor(color);
            }
            Dragging = false;
            ToolForm->RestorePreviousTool();
        } else if (tool == TToolCode::Zoom) {
            ToolForm->JvxSlider1->SetValue(ToolForm->JvxSlider1->Value() + (left ? 50 : -50));
        } else if (RectangleTool(tool)) {
            // The dashed rectangle goes in every case, also after a drag back to its start.
            RestorePreview(1);
            const TBitmap32& image = ImgView32->Bitmap();
            const TRect r = DraggedRect(StartPoint, EndPoint, image.Width(), image.Height());
            if (StartPoint.X != EndPoint.X && StartPoint.Y != EndPoint.Y && !r.IsEmpty()) {
                if (tool == TToolCode::Select)
                    LiftSelection(r);
                else if (tool == TToolCode::Highlight)
                    PlaceHighlight(r);
                else
                    PlaceText(r);
            }
        } else if (tool == TToolCode::Stemp) {
            PlaceStamp(EndPoint.X, EndPoint.Y);
        } else if (tool == TToolCode::Pen || tool == TToolCode::Erase || tool == TToolCode::Fill) {
            PushHistory();
        } else if (ShapeTool(tool)) {
            DrawToolShape(tool, EndPoint.X, EndPoint.Y, ToolForm->UseShadow);
            PushHistory();
        }
    }
}

void TChildForm::ImgView32MouseCaptureLost(TObject*) {
    if (!Dragging || Released)
        return;
    const TDragEnder ender([this] { EndDrag(); });
    const TToolCode tool = ToolForm ? ToolForm->Tool : TToolCode::Move;
    if (tool == TToolCode::Pen || tool == TToolCode::Erase || tool == TToolCode::Fill) {
        // What was drawn stays and is recorded, as at a release.
        PushHistory();
    } else if (BackupBitmap) {
        // The dashed rectangle or the shape's preview goes; nothing is placed. Nothing was
        // recorded since the press, so the whole backup is the picture to return to.
        TBitmap32& image = ImgView32->Bitmap();
        if (image.Width() == BackupBitmap->Width() && image.Height() == BackupBitmap->Height()) {
            image = *BackupBitmap;
            ImgView32->BitmapChanged();
        }
    }
}

void TChildForm::ImgView32DblClick(TObject*) {
    TBitmapLayer* layer = GetFloatingLayer();
    if (!layer || !ToolForm || ToolForm->Tool != TToolCode::Text || layer != textLayer_)
        return;
    // The frame let go of the press that opened the dialog: the text layer takes the mouse.
    layer->SetAsMouseListener();
    if (EditText())
        RenderTextLayer(0, 0);
}

void TChildForm::DrawToolShape(TToolCode tool, int x, int y, bool shadow) {
    switch (tool) {
    case TToolCode::Rectangle:
        DrawRectangle(x, y, shadow);
        break;
    case TToolCode::RoundRect:
        DrawRoundRect(x, y, shadow);
        break;
    case TToolCode::Circle:
        DrawEllipse(x, y, shadow);
        break;
    case TToolCode::Line:
        DrawLine(x, y, shadow);
        break;
    default:
        DrawArrow(x, y, shadow);
        break;
    }
}

// ---- Previews ----

void TChildForm::TakeBackup() {
    BackupBitmap = std::make_unique<TBitmap32>(ImgView32->Bitmap());
}

void TChildForm::RestorePreview(int margin) {
    if (!BackupBitmap)
        return;
    TBitmap32& image = ImgView32->Bitmap();
    const TBitmap32& backup = *BackupBitmap;
    const int m = PreviewMargin(static_cast<int>(ToolForm ? ToolForm->Tool : TToolCode::Move), margin);
    // Only the part both pictures hold; an area outside them copies nothing.
    const TRect r = PreviewRect(StartPoint, LastPoint, m, backup.Width(), backup.Height())
                        .Intersect(TRect{0, 0, image.Width(), image.Height()});
    if (r.IsEmpty())
        return;
    try {
        for (int y = r.Top; y < r.Bottom; ++y)
            std::copy_n(backup.ScanLine(y) + r.Left, r.Width(), image.ScanLine(y) + r.Left);
    } catch (...) {
        // Told once per drag; the drag goes on.
        if (!restoreErrorShown_) {
            restoreErrorShown_ = true;
            MessageDlg(host_.HistoryNotFoundMessage(), TMsgDlgType::Warning, mbOK);
        }
    }
    ImageDrawn();
}

void TChildForm::ImageDrawn() {
    ImgView32->Invalidate();
}

// ---- Floating selections of the rectangle tools and the stamp ----

TBitmapLayer* TChildForm::FloatNewLayer(const TRect& r) {
    auto* layer = ImgView32->AddLayer<TBitmapLayer>();
    layer->SetScaled(true);
    layer->Bitmap().SetSize(r.Width(), r.Height());
    layer->SetDrawMode(TDrawMode::dmBlend);
    layer->SetLocation(TFloatRect{static_cast<double>(r.Left), static_cast<double>(r.Top),
                                  static_cast<double>(r.Right), static_cast<double>(r.Bottom)});
    SetFloatingLayer(layer);
    return layer;
}

void TChildForm::LiftSelection(const TRect& r) {
    TBitmap32& image = ImgView32->Bitmap();
    TBitmap32 lifted = Crop(image, r, 0);
    lifted.ResetAlpha();
    TBitmapLayer* layer = FloatNewLayer(r);
    layer->Bitmap() = std::move(lifted);
    layer->BitmapChanged();
    ToolForm->JvxSlider2->SetValue(255);
    // The place left behind takes the fill colour, opaque like every pixel drawn on the image.
    const TColor32 fill = Color32(ToolForm->FillColor);
    for (int y = r.Top; y < r.Bottom; ++y)
        std::fill_n(image.ScanLine(y) + r.Left, r.Width(), fill);
    ImgView32->BitmapChanged();
}

void TChildForm::PlaceHighlight(const TRect& r) {
    highlightLayer_ = FloatNewLayer(r);
    RenderHighlightLayer();
    SetModified(true);
}

void TChildForm::PlaceText(const TRect& r) {
    if (!EditText())
        return;
    CommitFloatingLayer();
    TBitmapLayer* layer = FloatNewLayer(r);
    textLayer_ = layer;
    RenderTextLayer(0, 0);
    SetModified(true);
}

bool TChildForm::EditText() {
    TTextSettings settings;
    settings.Content = ToolForm->TextContent;
    settings.FontName = ToolForm->TextFontName;
    settings.FontSize = ToolForm->TextFontSize;
    settings.Bold = ToolForm->TextBold;
    settings.Italic = ToolForm->TextItalic;
    settings.Underline = ToolForm->TextUnderline;
    settings.Frame = ToolForm->cbFrame->Checked();
    settings.Alignment = ToolForm->TextAlignment;
    settings.PenColor = ToolForm->PenColor;
    settings.FillColor = ToolForm->FillColor;
    const std::optional<TTextSettings> result = RunTextForm(this, settings);
    if (!result)
        return false;
    ToolForm->TextFontName = result->FontName;
    ToolForm->TextFontSize = result->FontSize;
    ToolForm->TextBold = result->Bold;
    ToolForm->TextItalic = result->Italic;
    ToolForm->TextUnderline = result->Underline;
    ToolForm->cbFrame->SetChecked(result->Frame);
    ToolForm->TextAlignment = result->Alignment;
    ToolForm->TextContent = result->Content;
    ToolForm->SetPenColor(result->PenColor);
    ToolForm->SetFillColor(result->FillColor);
    return true;
}

void TChildForm::PlaceStamp(int x, int y) {
    const std::wstring name = ToolForm ? ToolForm->GetSelectedStamp() : std::wstring();
    auto* layer = ImgView32->AddLayer<TBitmapLayer>();
    try {
        std::wstring error;
        if (name.empty() || !LoadImageFile(name, layer->Bitmap(), error) || layer->Bitmap().Empty())
            throw Exception(error);
        layer->SetDrawMode(TDrawMode::dmBlend);
        const double w = layer->Bitmap().Width(), h = layer->Bitmap().Height();
        layer->SetLocation(TFloatRect{x - w / 2, y - h / 2, x + w / 2, y + h / 2});
        layer->SetScaled(true);
    } catch (...) {
        // No stamp chosen, or one that cannot be read: nothing is placed and nothing is said.
        ImgView32->DeleteLayer(layer);
        return;
    }
    SetFloatingLayer(layer);
    ToolForm->JvxSlider2->SetValue(255);
    SetModified(true);
}
