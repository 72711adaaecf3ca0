#pragma once
// One open image of the editor: a document window of the main window's document area with
// its image view, its tab, its undo history and its floating selection (a picture lying over
// the image in a frame that moves and resizes it, until it is merged into the image).
#include <memory>
#include <string>

#include "core/Bitmap32.h"
#include "core/ImgViewGeometry.h"
#include "core/ToolOptions.h"
#include "editor/DocumentHost.h"
#include "editor/ToolHost.h"
#include "editor/unitHistory.h"
#include "forms/Form.h"
#include "forms/ImgView32.h"

class TTabSheet;

class TChildForm : public TForm, public IToolDocument {
public:
    // The history keeps at most this many states: the first recorded one and the newest.
    static constexpr int kMaxHistory = 15;

    TChildForm(IDocumentHost& host, TForm& frame);
    ~TChildForm() override;

    TImgView32* ImgView32;

    // ---- State ----
    std::unique_ptr<TBitmap32> BackupBitmap;
    bool Modified = false;
    bool MouseInView = false;
    bool Dragging = false;
    TPoint LastMousePos{};
    TPoint StartPoint{};
    TPoint EndPoint{};
    TRubberbandLayer* SelectionBand = nullptr;
    TPoint LastPoint{};
    RECT ViewScreenRect{};
    std::unique_ptr<THistory> History;
    TTabSheet* TabSheet = nullptr;
    std::wstring FileName;
    // Closed, waiting for the posted release of its window.
    bool Released = false;

    // ---- Handlers ----
    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void ImgView32PaintStage(TObject* sender, TBitmap32& buffer, unsigned stageNum);
    void ImgView32Change(TObject* sender);
    void ImgView32MouseEnter(TObject* sender);
    void ImgView32MouseLeave(TObject* sender);

    // ---- Mouse tools ----
    // The press, moves and release of the tool window's current tool; layer is the layer
    // under the mouse (the floating selection's frame) or null.
    void ImgView32MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y,
                            TCustomLayer* layer);
    void ImgView32MouseMove(TObject* sender, TShiftState shift, int x, int y, TCustomLayer* layer);
    void ImgView32MouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y,
                          TCustomLayer* layer);
    // Another window took the mouse during a press: the drag ends as if released, except
    // that a preview is taken back and nothing is placed; strokes and fills are kept.
    void ImgView32MouseCaptureLost(TObject* sender);
    // Reopens the text dialog for a floating text made by the Text tool.
    void ImgView32DblClick(TObject* sender);
    // The copy of the image that drag previews are taken back from.
    void TakeBackup();
    // Copies the backup back over the area the last preview may have touched.
    void RestorePreview(int margin);
    // The dashed rectangle of Select, Highlight and Text, from StartPoint to (x, y).
    void DrawRubberRect(int x, int y);
    // The chosen stamp as floating selection centred on (x, y).
    void PlaceStamp(int x, int y);

    // ---- Drawing primitives (image coordinates) ----
    // A stroke segment from StartPoint to (x, y) in the pen or fill colour; StartPoint follows.
    void StrokePenColor(int x, int y);
    void StrokeFillColor(int x, int y);
    // Shapes from StartPoint to (x, y), taking the previous preview back first; with shadow
    // the tool's shadow is drawn under the shape.
    void DrawLine(int x, int y, bool shadow);
    void DrawRectangle(int x, int y, bool shadow);
    void DrawRoundRect(int x, int y, bool shadow);
    void DrawEllipse(int x, int y, bool shadow);
    void DrawArrow(int x, int y, bool shadow);
    void DrawShadow(int x1, int y1, int x2, int y2);
    // Fills the region of the colour at (x, y) around it with color.
    void FloodFillAt(int x, int y, TColor color);

    // ---- Modified mark and title ----
    // Sets the mark and shows it as a leading "*" on caption and tab.
    void SetModified(bool value);
    // The caption without the leading "*".
    std::wstring GetTitle() const;
    // Renames caption and tab, keeping the mark.
    void SetTitle(const std::wstring& title);

    // ---- Saving and closing ----
    // Saves to the name (asking before replacing a file) or, for an empty name, to
    // FileName; false when nothing was written. Write errors throw.
    bool SaveToFile(const std::wstring& fileName);
    void FormClose(TObject* sender, TCloseAction& action);

    // ---- Floating selection ----
    TBitmapLayer* GetFloatingLayer() const;
    // Puts the frame around a layer already in the view (null discards the selection).
    void SetFloatingLayer(TBitmapLayer* layer);
    // Merges the selection into the image and records the result.
    void CommitFloatingLayer() override;
    void SelectionResizing(TObject* sender, const TFloatRect& oldLocation, TFloatRect& newLocation,
                           TRBDragState dragState, TShiftState shift);

    // ---- History ----
    void PushHistory();
    void Undo();
    void Redo();

    // ---- Edit commands ----
    void CopySelection();
    void CutSelection();
    void DeleteSelection();
    void SelectAll();
    // Floats a picture from the clipboard (empty name) or from a file, centred in the view.
    void PasteImage(const std::wstring& fileName);

    // ---- Effects and transforms ----
    // Each works on the floating selection alone when one exists (recording nothing),
    // otherwise on the image with history: the unchanged image first when nothing is
    // recorded yet, the result afterwards.
    void AutoContrast();
    void InvertImage();
    void GrayscaleImage();
    // Runs the effect dialog for one effect ("Brightness", "Contrast", "Gamma", "Mosaic",
    // "Noise"); title is the dialog's caption, the text of the menu command.
    void ApplyEffect(const std::wstring& effectName, const std::wstring& title);
    void RotateImage();
    // Makes the floating selection's picture the whole image (nothing without one).
    void CropToSelection();
    void ResizeImage();
    void ResizeCanvas();

    // ---- What the tool window reads ----
    bool HasFloatingLayer() const override { return GetFloatingLayer() != nullptr; }
    void SetFloatingMasterAlpha(int alpha) override;
    // Fills the floating highlight with the pen colour at the tool transparency.
    void RenderHighlightLayer() override;
    // Renders the text tool's text into its floating text layer at width x height (0 or less:
    // the layer's own size); nothing for any other floating picture.
    void RenderTextLayer(int width, int height) override;
    double Scale() const override { return ImgView32->Scale(); }
    void SetScale(double scale) override { ImgView32->SetScale(scale); }
    void SetViewCursor(HCURSOR cursor) override { ImgView32->SetCursor(cursor); }

    // The status text of an image or selection size ("1,024" style numbers).
    static std::wstring ImageSizeText(int width, int height);
    static std::wstring SelectionSizeText(const TFloatRect& location);
    // The status texts of the mouse position and of a dragged size.
    static std::wstring PositionText(TPoint p);
    static std::wstring DragSizeText(int width, int height);

private:
    enum class TShapeKind : std::uint8_t { Line, Rectangle, RoundRect, Ellipse, Arrow };
    // The shape routine of a shape tool (9 to 18).
    void DrawToolShape(TToolCode tool, int x, int y, bool shadow);
    // A stroke segment to (x, y) in color.
    void Stroke(int x, int y, TColor color);
    // The shape step sequence shared by the shape primitives.
    void DrawShape(TShapeKind shape, int x, int y, bool shadow);
    // The releases of Select, Highlight and Text over the dragged rectangle r.
    void LiftSelection(const TRect& r);
    void PlaceHighlight(const TRect& r);
    void PlaceText(const TRect& r);
    // Runs the text dialog on the tool's text settings and copies its results back into the
    // tool window; false on Cancel or an empty text.
    bool EditText();
    // A new scaled layer over r, in blend mode, made the floating selection.
    TBitmapLayer* FloatNewLayer(const TRect& r);
    // Repaints the view after the image's pixels changed in place.
    void ImageDrawn();
    // Ends the present drag: no backup, no autoscroll.
    void EndDrag();
    // Scrolls the view while a Select drag holds the mouse outside it.
    void AutoScroll();

    // The floating layer that the Text tool made; only that one is re-rendered as text.
    const TBitmapLayer* textLayer_ = nullptr;
    // The floating layer that the Highlight tool made; only that one takes a new pen colour.
    const TBitmapLayer* highlightLayer_ = nullptr;
    // The preview restore has shown its error in the present drag.
    bool restoreErrorShown_ = false;
    bool autoScrolling_ = false;

    // Records around a change of the whole image, as the effects and transforms do.
    template <class TChange> void ChangeImageWithHistory(TChange&& change);

    IDocumentHost& host_;
};
