#pragma once
// The zoomable image view: shows a 32-bit bitmap at a scale with scroll bars, over a
// background painted by paint stages, with layers above it (positioned bitmaps and the
// movable, resizable frame of a floating picture). Mouse events come in view coordinates
// together with the layer under the mouse.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/Bitmap32.h"
#include "core/ImgViewGeometry.h"
#include "core/ImgViewPaint.h"
#include "forms/Controls.h"
#include "forms/MouseInput.h"

// Keys and buttons held with a mouse event.
using TShiftState = std::uint8_t;
constexpr TShiftState ssShift = 0x01;
constexpr TShiftState ssAlt = 0x02;
constexpr TShiftState ssCtrl = 0x04;
constexpr TShiftState ssLeft = 0x08;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;
constexpr TShiftState ssDouble = 0x40;

// The layer options: shown, taking mouse presses, not repainting the view by itself.
constexpr std::uint32_t LOB_VISIBLE = 0x80000000u;
constexpr std::uint32_t LOB_GDI_OVERLAY = 0x40000000u;
constexpr std::uint32_t LOB_MOUSE_EVENTS = 0x20000000u;
constexpr std::uint32_t LOB_NO_UPDATE = 0x10000000u;

// The stages of one repaint of the view, run in order into its back buffer.
constexpr unsigned PST_CUSTOM = 1;        // raises OnPaintStage
constexpr unsigned PST_CLEAR_BACKGND = 3; // fills the buffer with the view's colour
constexpr unsigned PST_DRAW_BITMAP = 4;   // the image
constexpr unsigned PST_DRAW_LAYERS = 5;   // the layers whose options hold all bits of Parameter
struct TPaintStage {
    unsigned Stage = PST_CUSTOM;
    std::uint32_t Parameter = 0;
};

class TImgView32;

class TCustomLayer : public TObject {
public:
    explicit TCustomLayer(TImgView32& view) : view_(view) {}
    TImgView32& View() const { return view_; }

    std::uint32_t LayerOptions() const { return options_; }
    void SetLayerOptions(std::uint32_t options);
    bool Visible() const { return (options_ & LOB_VISIBLE) != 0; }
    // The pointer over the layer; null leaves the view's own.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    // Draws the layer into the buffer, whose pixels lie on the view's pixels as mapping says.
    virtual void Paint(TBitmap32&, const TViewMapping&) {}
    // Whether a press at p (view coordinates) belongs to the layer.
    virtual bool HitTest(TPoint) const { return false; }
    // The pointer the layer shows at p; by default its own cursor.
    virtual HCURSOR CursorAt(TPoint) const { return cursor_; }
    virtual void MouseDown(TMouseButton, TShiftState, TPoint) {}
    virtual void MouseMove(TShiftState, TPoint) {}
    virtual void MouseUp(TMouseButton, TShiftState, TPoint) {}
    // Another layer of the view is being freed; drop any pointer to it.
    virtual void LayerRemoved(TCustomLayer*) {}
    // Makes this layer take every mouse event of the view until the buttons are released;
    // the layer that held the press so far loses it without a release.
    void SetAsMouseListener();
    // The press this layer held went to another layer: end any drag where it stands.
    virtual void MouseLost() {}

protected:
    // Repaints the view and raises its change event.
    void Changed();

private:
    TImgView32& view_;
    std::uint32_t options_ = LOB_VISIBLE;
    HCURSOR cursor_ = nullptr;
};

// A layer with a rectangle: in image coordinates when Scaled (it zooms and scrolls with the
// image), else in view coordinates.
class TPositionedLayer : public TCustomLayer {
public:
    using TCustomLayer::TCustomLayer;
    const TFloatRect& Location() const { return location_; }
    virtual void SetLocation(const TFloatRect& location);
    bool Scaled() const { return scaled_; }
    void SetScaled(bool scaled);
    // The location in view coordinates under a mapping (the view's own by default).
    TFloatRect GetAdjustedLocation(const TViewMapping& mapping) const;
    TFloatRect GetAdjustedLocation() const;
    bool HitTest(TPoint p) const override;

private:
    TFloatRect location_;
    bool scaled_ = false;
};

// A picture lying over the image, stretched to its location by nearest neighbour.
class TBitmapLayer : public TPositionedLayer {
public:
    using TPositionedLayer::TPositionedLayer;
    TBitmap32& Bitmap() { return bitmap_; }
    const TBitmap32& Bitmap() const { return bitmap_; }
    TDrawMode DrawMode() const { return drawMode_; }
    void SetDrawMode(TDrawMode mode);
    std::uint8_t MasterAlpha() const { return masterAlpha_; }
    void SetMasterAlpha(std::uint8_t alpha);
    // Repaints after the bitmap's pixels were changed in place.
    void BitmapChanged() { Changed(); }
    void Paint(TBitmap32& buffer, const TViewMapping& mapping) override;

private:
    TBitmap32 bitmap_;
    TDrawMode drawMode_ = TDrawMode::dmOpaque;
    std::uint8_t masterAlpha_ = 255;
};

// The frame of a floating picture: eight handles that resize it and an inside that moves
// it. Its child layer takes every location the frame gets.
class TRubberbandLayer : public TPositionedLayer {
public:
    explicit TRubberbandLayer(TImgView32& view);

    TPositionedLayer* ChildLayer() const { return child_; }
    // Sets the child; the frame takes the child's location and scaling.
    void SetChildLayer(TPositionedLayer* child);
    void SetLocation(const TFloatRect& location) override;
    double MinWidth() const { return minWidth_; }
    double MinHeight() const { return minHeight_; }
    void SetMinWidth(double value) { minWidth_ = value > 0 ? value : 0; }
    void SetMinHeight(double value) { minHeight_ = value > 0 ? value : 0; }
    // What the present drag grabs; dsNone between drags.
    TRBDragState DragState() const { return dragState_; }

    // Raised at every mouse move of a drag, before the frame takes newLocation, which the
    // handler may change.
    std::function<void(TObject* sender, const TFloatRect& oldLocation, TFloatRect& newLocation,
                       TRBDragState dragState, TShiftState shift)>
        OnResizing;

    void Paint(TBitmap32& buffer, const TViewMapping& mapping) override;
    bool HitTest(TPoint p) const override;
    HCURSOR CursorAt(TPoint p) const override;
    void MouseDown(TMouseButton button, TShiftState shift, TPoint p) override;
    void MouseMove(TShiftState shift, TPoint p) override;
    void MouseUp(TMouseButton button, TShiftState shift, TPoint p) override;
    void LayerRemoved(TCustomLayer* layer) override;
    void MouseLost() override { dragState_ = TRBDragState::dsNone; }

private:
    TRect FrameRect() const;
    // A view point in the units of the location (Left and Top hold it).
    TFloatRect ToLocationUnits(TPoint p) const;
    TPositionedLayer* child_ = nullptr;
    double minWidth_ = 10;
    double minHeight_ = 10;
    TRBDragState dragState_ = TRBDragState::dsNone;
    TFloatRect dragStartLocation_;
    TFloatRect dragStartPoint_;
};

class TImgView32 : public TControl {
public:
    TImgView32(TForm* owner, std::wstring name, TWindow* parent);
    ~TImgView32() override;

    // The image. After changing its pixels or size in place, call BitmapChanged.
    TBitmap32& Bitmap() { return bitmap_; }
    const TBitmap32& Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap32& bitmap);
    // Takes the pixels over without copying them.
    void SetBitmap(TBitmap32&& bitmap);
    void BitmapChanged();
    TDrawMode BitmapDrawMode() const { return drawMode_; }
    void SetBitmapDrawMode(TDrawMode mode);

    double Scale() const { return scale_; }
    // Clamped to the view's range of scales.
    void SetScale(double scale);
    TBitmapAlign BitmapAlign() const { return align_; }
    void SetBitmapAlign(TBitmapAlign align);
    // Moves the scroll positions by (dx, dy) view pixels, within their ranges.
    void Scroll(int dx, int dy);
    TPoint ScrollPosition() const { return {scrollX_, scrollY_}; }
    double OffsetHorz() const;
    double OffsetVert() const;
    TViewMapping Mapping() const { return {OffsetHorz(), OffsetVert(), scale_}; }
    // The visible area: the client area less the scroll bars.
    TRect GetViewportRect() const;
    TPoint ControlToBitmap(TPoint p) const { return Mapping().ControlToBitmap(p); }
    TPoint BitmapToControl(TPoint p) const { return Mapping().BitmapToControl(p); }

    std::vector<TPaintStage>& PaintStages() { return stages_; }
    // The part of the viewport that the image paints over whole at a repaint (it is drawn
    // opaque there); empty when the image is blended. A background stage may leave it.
    TRect OpaqueBitmapRect() const;
    // The back buffer, the size of the viewport, into which the stages paint.
    TBitmap32& Buffer() { return buffer_; }
    // Renders the image and the visible layers at scale 1 into dest, the image's top-left
    // corner at dest's (destRect.Left, destRect.Top), cut to destRect.
    void PaintTo(TBitmap32& dest, const TRect& destRect);
    // Repaints what is invalid at once.
    void Update();
    void Invalidate();

    // The layers, the first one lowest; the view owns them.
    template <class T> T* AddLayer() {
        auto layer = std::make_unique<T>(*this);
        T* result = layer.get();
        layers_.push_back(std::move(layer));
        Invalidate();
        return result;
    }
    std::size_t LayerCount() const { return layers_.size(); }
    TCustomLayer* Layer(std::size_t index) const { return layers_.at(index).get(); }
    void DeleteLayer(TCustomLayer* layer);
    void ClearLayers();
    // The topmost layer that takes mouse events at p, or null.
    TCustomLayer* FindLayerAt(TPoint p) const;
    // The layer that takes the mouse events of the present press, or null.
    TCustomLayer* MouseListener() const { return mouseLayer_; }
    // Hands the mouse to a layer of this view (null: to whatever lies under the mouse).
    void SetMouseListener(TCustomLayer* layer);

    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    // The size grip in the corner between the scroll bars: dragging it resizes the form that
    // holds the view. Shown only while that form can be resized and is not maximised.
    bool SizeGripVisible() const;
    // The corner between the scroll bars, in the view's window coordinates.
    RECT SizeGripRect() const;

    TNotifyEvent OnChange, OnMouseEnter, OnMouseLeave, OnDblClick;
    // Another window took the mouse while a press held it (not the view's own release at
    // the button-up); no release will come for that press.
    TNotifyEvent OnMouseCaptureLost;
    std::function<void(TObject*sender, TMouseButton button, TShiftState shift, int x, int y,
                       TCustomLayer*layer)>
        OnMouseDown, OnMouseUp;
    std::function<void(TObject* sender, TShiftState shift, int x, int y, TCustomLayer* layer)> OnMouseMove;
    std::function<void(TObject* sender, TBitmap32& buffer, unsigned stageNum)> OnPaintStage;

    // Raises the change event and repaints (layers call it when they move).
    void Changed();

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TScrollAxis HorzAxis() const;
    TScrollAxis VertAxis() const;
    void UpdateScrollBars();
    void ScrollTo(std::int64_t x, std::int64_t y);
    void HandleScrollBar(int bar, WORD code);
    void PaintView(HDC dc);
    void RenderStages();
    void MouseButton(UINT msg, WPARAM keys, TPoint p);
    void MouseMoved(WPARAM keys, TPoint p);
    void PaintSizeGrip();
    void DragSizeGrip(POINT screen);

    TBitmap32 bitmap_;
    TBitmap32 buffer_;
    TDrawMode drawMode_ = TDrawMode::dmOpaque;
    double scale_ = 1;
    TBitmapAlign align_ = TBitmapAlign::Center;
    int scrollX_ = 0;
    int scrollY_ = 0;
    std::vector<TPaintStage> stages_;
    std::vector<std::unique_ptr<TCustomLayer>> layers_;
    TCustomLayer* mouseLayer_ = nullptr; // the layer that took the press, until the release
    HCURSOR cursor_ = nullptr;
    bool over_ = false;
    bool releasing_ = false; // the view lets the mouse go itself, at the end of a press
    // A drag of the size grip: where it started on the screen and the form's size then.
    bool gripDragging_ = false;
    POINT gripStart_{};
    SIZE gripStartSize_{};
};
