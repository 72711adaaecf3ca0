// The document window: its image view over the checkerboard, the modified mark, the
// floating selection with its frame, the undo policy and the edit commands.
#include "editor/frmChild.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "core/DocumentNames.h"
#include "core/ImageFileType.h"
#include "core/ImgViewPaint.h"
#include "core/NumberFormat.h"
#include "editor/frmTool.h"
#include "editor/unitClipboard.h"
#include "forms/Application.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Exceptions.h"
#include "forms/ImageCodecs.h"
#include "forms/Slider.h"
#include "forms/Strings.h"

namespace {
constexpr wchar_t kModifiedMark = L'*';

TFormDesign ChildDesign() {
    TFormDesign d;
    d.Width = 342;
    d.Height = 305;
    d.Style = TFormStyle::MDIChild;
    d.Position = TPosition::Default;
    return d;
}

// A whole number as the status bar shows it, "#,##0" with the locale's separator.
std::wstring Grouped(long long value) {
    return FormatWholeNumber(value, LocaleThousandsSeparator());
}

// The tool window may be missing (a test program, an early failure at start-up).
TColor FillColor() {
    return ToolForm ? ToolForm->FillColor : 0xFFFFFF;
}
TToolCode CurrentTool() {
    return ToolForm ? ToolForm->Tool : TToolCode::Move;
}
void SetZoomSlider(int value) {
    if (ToolForm)
        ToolForm->JvxSlider1->SetValue(value);
}
void SetTransparencySlider(int value) {
    if (ToolForm)
        ToolForm->JvxSlider2->SetValue(value);
}

} // namespace

TChildForm::TChildForm(IDocumentHost& host, TForm& frame)
    : TForm(nullptr, L"ChildForm",
            [&] {
                TFormDesign d = ChildDesign();
                d.MDIFrame = &frame;
                return d;
            }()),
      host_(host) {
    ImgView32 = Make<TImgView32>(L"ImgView32", this);
    ImgView32->SetAlign(TAlign::Client);
    ImgView32->SetBitmapAlign(TBitmapAlign::Custom);
    ImgView32->SetCursor(LoadCursorW(nullptr, IDC_CROSS));
    ImgView32->OnChange = [this](TObject* s) { ImgView32Change(s); };
    ImgView32->OnPaintStage = [this](TObject* s, TBitmap32& b, unsigned n) { ImgView32PaintStage(s, b, n); };
    ImgView32->OnMouseEnter = [this](TObject* s) { ImgView32MouseEnter(s); };
    ImgView32->OnMouseLeave = [this](TObject* s) { ImgView32MouseLeave(s); };
    ImgView32->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y,
                                    TCustomLayer* l) { ImgView32MouseDown(s, b, sh, x, y, l); };
    ImgView32->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y, TCustomLayer* l) {
        ImgView32MouseMove(s, sh, x, y, l);
    };
    ImgView32->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y, TCustomLayer* l) {
        ImgView32MouseUp(s, b, sh, x, y, l);
    };
    ImgView32->OnDblClick = [this](TObject* s) { ImgView32DblClick(s); };
    ImgView32->OnMouseCaptureLost = [this](TObject* s) { ImgView32MouseCaptureLost(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    Realign();
}

TChildForm::~TChildForm() {
    // The view outlives this object by a moment; a capture it loses while its window goes
    // must not reach the document's handlers.
    ImgView32->OnMouseCaptureLost = nullptr;
    // A document freed without its close handler (at the program's end) takes its tab along.
    if (TabSheet) {
        if (TabSheet->PageControl)
            TabSheet->PageControl->RemovePage(TabSheet);
        delete TabSheet;
    }
}

void TChildForm::FormCreate(TObject*) {
    SetCaption(host_.NewDocumentCaption());
    BackupBitmap.reset();
    History = std::make_unique<THistory>();
    Modified = false;
    Dragging = false;
    FileName.clear();
    // The checkerboard replaces the plain background under the image.
    auto& stages = ImgView32->PaintStages();
    if (!stages.empty() && stages.front().Stage == PST_CLEAR_BACKGND)
        stages.front().Stage = PST_CUSTOM;
    if (host_.DocumentCount() == 1)
        ShowWindow(Handle(), SW_MAXIMIZE);
}

void TChildForm::FormActivate(TObject*) {
    host_.SelectDocumentTab(TabSheet);
    SetZoomSlider(static_cast<int>(std::nearbyint(ImgView32->Scale() * 100)));
    const TBitmapLayer* layer = GetFloatingLayer();
    SetTransparencySlider(layer ? layer->MasterAlpha() : 255);
}

void TChildForm::ImgView32PaintStage(TObject*, TBitmap32&, unsigned) {
    PaintCheckerboard(ImgView32->Buffer(), ImgView32->OpaqueBitmapRect());
}

void TChildForm::ImgView32Change(TObject*) {
    host_.SetStatusText(0, ImageSizeText(ImgView32->Bitmap().Width(), ImgView32->Bitmap().Height()));
    const TBitmapLayer* layer = GetFloatingLayer();
    host_.SetStatusText(3, layer ? SelectionSizeText(layer->Location()) : std::wstring());
}

void TChildForm::ImgView32MouseEnter(TObject*) {
    MouseInView = true;
}

void TChildForm::ImgView32MouseLeave(TObject*) {
    MouseInView = false;
    // A selection dragged out of the view scrolls it until the mouse returns or the
    // release ends the drag.
    if (Dragging && CurrentTool() == TToolCode::Select && !autoScrolling_)
        AutoScroll();
}

void TChildForm::AutoScroll() {
    autoScrolling_ = true;
    bool releasePending = false;
    bool quit = false;
    int quitCode = 0;
    while (Dragging && !MouseInView && !Released && !quit && CurrentTool() == TToolCode::Select) {
        POINT p{};
        GetCursorPos(&p);
        const int dx = p.x < ViewScreenRect.left ? -1 : (p.x > ViewScreenRect.right ? 1 : 0);
        const int dy = p.y < ViewScreenRect.top ? -1 : (p.y > ViewScreenRect.bottom ? 1 : 0);
        ImgView32->Scroll(dx, dy);
        ImgView32->Update();
        MSG msg;
        while (!quit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // The document closed inside the loop is freed only once the loop and the view's
            // handler below it have returned: its release waits and is posted again.
            if (msg.message == kReleaseFormMessage && msg.lParam == reinterpret_cast<LPARAM>(this)) {
                releasePending = true;
                continue;
            }
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(msg.wParam);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!quit && !releasePending)
            Sleep(1);
    }
    autoScrolling_ = false;
    if (releasePending && Application)
        PostMessageW(Application->UtilWindow(), kReleaseFormMessage, 0, reinterpret_cast<LPARAM>(this));
    if (quit)
        PostQuitMessage(quitCode);
}

std::wstring TChildForm::ImageSizeText(int width, int height) {
    return L"Image Size (" + Grouped(width) + L"x" + Grouped(height) + L")";
}

std::wstring TChildForm::PositionText(TPoint p) {
    return L"Position (X:" + Grouped(p.X) + L",Y:" + Grouped(p.Y) + L")";
}

std::wstring TChildForm::DragSizeText(int width, int height) {
    return L"Size (W:" + Grouped(width) + L",H:" + Grouped(height) + L")";
}

std::wstring TChildForm::SelectionSizeText(const TFloatRect& r) {
    return L"Size (W:" + Grouped(std::llround(std::fabs(r.Right - r.Left))) + L",H:" +
           Grouped(std::llround(std::fabs(r.Bottom - r.Top))) + L")";
}

// ---- Modified mark and title ----

std::wstring TChildForm::GetTitle() const {
    std::wstring caption = Caption();
    if (!caption.empty() && caption.front() == kModifiedMark)
        caption.erase(0, 1);
    return caption;
}

void TChildForm::SetTitle(const std::wstring& title) {
    const std::wstring text = Modified ? kModifiedMark + title : title;
    SetCaption(text);
    if (TabSheet)
        TabSheet->SetCaption(text);
}

void TChildForm::SetModified(bool value) {
    const std::wstring title = GetTitle();
    Modified = value;
    SetTitle(title);
}

// ---- Saving and closing ----

bool TChildForm::SaveToFile(const std::wstring& fileName) {
    std::wstring target = FileName;
    if (!fileName.empty()) {
        if (GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES &&
            MessageDlg(FileNamePart(fileName) + L" " + host_.OverwriteQuestion(), TMsgDlgType::Confirmation,
                       mbYes | mbNo) != mrYes)
            return false;
        target = fileName;
    }
    if (target.empty())
        return false;
    const std::wstring ext = LowerExtensionOf(target);
    TImageFileType type = TImageFileType::Bmp;
    if (ext == L".gif")
        type = TImageFileType::Gif;
    else if (ext == L".jpg" || ext == L".jpeg")
        type = TImageFileType::Jpeg;
    else if (ext == L".png")
        type = TImageFileType::Png;
    CommitFloatingLayer();
    // The document takes the new name only once the file is written, so a failed write
    // leaves it as it was, still marked as changed.
    SaveBitmapToFile(ImgView32->Bitmap(), target, type, host_.JpegQuality());
    FileName = target;
    Modified = false;
    SetTitle(FileNamePart(FileName));
    return true;
}

void TChildForm::FormClose(TObject*, TCloseAction& action) {
    if (Modified) {
        host_.ShowForQuestion();
        const int answer = MessageDlg(L"'" + Caption() + L"' " + host_.SaveAfterExitQuestion(),
                                      TMsgDlgType::Confirmation, mbYes | mbNo | mbCancel);
        int result = answer == mrYes ? 6 : (answer == mrNo ? 7 : 2);
        if (answer == mrYes) {
            std::wstring name;
            bool saved = false;
            if (!FileName.empty())
                saved = SaveToFile(L"");
            else if (host_.AskSaveFileName(L"", name))
                saved = SaveToFile(name);
            // A save that did not happen keeps the document open rather than lose it.
            if (!saved)
                result = 2;
        }
        if (result == 2)
            action = TCloseAction::None;
        host_.SetCloseResult(result);
    }
    if (action == TCloseAction::None)
        return;
    ImgView32->SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    try {
        CommitFloatingLayer();
    } catch (...) {
    }
    if (TabSheet) {
        if (TabSheet->PageControl)
            TabSheet->PageControl->RemovePage(TabSheet);
        delete TabSheet;
    }
    TabSheet = nullptr;
    History.reset();
    action = TCloseAction::Free;
    Released = true;
}

// ---- Floating selection ----

TBitmapLayer* TChildForm::GetFloatingLayer() const {
    if (!SelectionBand)
        return nullptr;
    return dynamic_cast<TBitmapLayer*>(SelectionBand->ChildLayer());
}

void TChildForm::SetFloatingLayer(TBitmapLayer* layer) {
    // Whoever floats a layer says afresh whether it is text or a highlight.
    textLayer_ = nullptr;
    highlightLayer_ = nullptr;
    if (!layer) {
        if (SelectionBand) {
            SelectionBand->SetChildLayer(nullptr);
            SelectionBand = nullptr;
            ImgView32->ClearLayers();
        }
        return;
    }
    if (!SelectionBand) {
        SelectionBand = ImgView32->AddLayer<TRubberbandLayer>();
        SelectionBand->SetMinHeight(1.0);
        SelectionBand->SetMinWidth(1.0);
    }
    SelectionBand->SetChildLayer(layer);
    SelectionBand->SetLayerOptions(LOB_VISIBLE | LOB_MOUSE_EVENTS | LOB_NO_UPDATE);
    SelectionBand->SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
    SelectionBand->OnResizing = [this](TObject* s, const TFloatRect& o, TFloatRect& n, TRBDragState d,
                                       TShiftState sh) { SelectionResizing(s, o, n, d, sh); };
    ImgView32->Changed();
}

void TChildForm::CommitFloatingLayer() {
    if (!SelectionBand)
        return;
    textLayer_ = nullptr;
    highlightLayer_ = nullptr;
    SelectionBand->SetChildLayer(nullptr);
    SelectionBand->SetLayerOptions(LOB_NO_UPDATE);
    ImgView32->Invalidate();
    const TBitmap32& image = ImgView32->Bitmap();
    TBitmap32 merged(image.Width(), image.Height());
    ImgView32->PaintTo(merged, TRect{0, 0, image.Width(), image.Height()});
    SelectionBand = nullptr;
    ImgView32->ClearLayers();
    // The merged picture is drawn opaque from now on, as every freshly assigned image.
    ImgView32->SetBitmap(std::move(merged));
    ImgView32->SetBitmapDrawMode(TDrawMode::dmOpaque);
    PushHistory();
}

void TChildForm::SetFloatingMasterAlpha(int alpha) {
    if (TBitmapLayer* layer = GetFloatingLayer())
        layer->SetMasterAlpha(static_cast<std::uint8_t>(std::clamp(alpha, 0, 255)));
}

void TChildForm::SelectionResizing(TObject*, const TFloatRect& old, TFloatRect& loc, TRBDragState state,
                                   TShiftState shift) {
    if (state == TRBDragState::dsMove)
        return;
    if (shift & ssCtrl) {
        const double cx = (old.Left + old.Right) / 2, cy = (old.Top + old.Bottom) / 2;
        double hw = (old.Right - old.Left) / 2, hh = (old.Bottom - old.Top) / 2;
        switch (state) {
        case TRBDragState::dsSizeL:
            hw = cx - loc.Left;
            break;
        case TRBDragState::dsSizeT:
            hh = cy - loc.Top;
            break;
        case TRBDragState::dsSizeR:
            hw = loc.Right - cx;
            break;
        case TRBDragState::dsSizeB:
            hh = loc.Bottom - cy;
            break;
        case TRBDragState::dsSizeTL:
            hw = cx - loc.Left;
            hh = cy - loc.Top;
            break;
        case TRBDragState::dsSizeTR:
            hw = loc.Right - cx;
            hh = cy - loc.Top;
            break;
        case TRBDragState::dsSizeBL:
            hw = cx - loc.Left;
            hh = loc.Bottom - cy;
            break;
        case TRBDragState::dsSizeBR:
            hw = loc.Right - cx;
            hh = loc.Bottom - cy;
            break;
        default:
            break;
        }
        hw = std::max(hw, 2.0);
        hh = std::max(hh, 2.0);
        loc = TFloatRect{cx - hw, cy - hh, cx + hw, cy + hh};
    }
    if (CurrentTool() == TToolCode::Text)
        RenderTextLayer(static_cast<int>(std::fabs(std::trunc(loc.Right - loc.Left))),
                        static_cast<int>(std::fabs(std::trunc(loc.Bottom - loc.Top))));
}

// ---- History ----

void TChildForm::PushHistory() {
    // The change is marked before its state is written: a write that fails (a full
    // temporary folder) must not leave a changed picture that Save and Close know nothing of.
    SetModified(true);
    History->Add(ImgView32->Bitmap());
    if (History->Count() > kMaxHistory)
        History->Delete(1);
    History->SetIndex(History->Count() - 1);
}

void TChildForm::Undo() {
    if (!History->CanUndo())
        return;
    CommitFloatingLayer();
    History->SetIndex(History->Index() - 1);
    if (History->Restore(ImgView32->Bitmap()))
        ImgView32->BitmapChanged();
    SetModified(true);
}

void TChildForm::Redo() {
    if (!History->CanRedo())
        return;
    History->SetIndex(History->Index() + 1);
    if (History->Restore(ImgView32->Bitmap()))
        ImgView32->BitmapChanged();
    SetModified(true);
}

// ---- Edit commands ----

void TChildForm::CopySelection() {
    const TBitmapLayer* layer = GetFloatingLayer();
    if (!layer)
        return;
    const TBitmap32& source = layer->Bitmap();
    TBitmap32 copy(source.Width(), source.Height());
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            copy.SetPixel(x, y,
                          layer->DrawMode() == TDrawMode::dmBlend
                              ? BlendPixel(source.Pixel(x, y), 0, layer->MasterAlpha())
                              : source.Pixel(x, y));
    CopyBitmap32ToClipboard(copy, Handle());
}

void TChildForm::CutSelection() {
    CopySelection();
    DeleteSelection();
}

void TChildForm::DeleteSelection() {
    TBitmapLayer* layer = GetFloatingLayer();
    if (!layer)
        return;
    layer->Bitmap().Clear(Color32(FillColor()));
    layer->BitmapChanged();
    CommitFloatingLayer();
}

void TChildForm::SelectAll() {
    CommitFloatingLayer();
    TBitmap32& image = ImgView32->Bitmap();
    image.ResetAlpha();
    auto* layer = ImgView32->AddLayer<TBitmapLayer>();
    layer->SetScaled(true);
    layer->Bitmap() = image;
    layer->SetDrawMode(TDrawMode::dmBlend);
    layer->SetLocation(
        TFloatRect{0, 0, static_cast<double>(image.Width()), static_cast<double>(image.Height())});
    SetFloatingLayer(layer);
    SetTransparencySlider(255);
    image.Clear(Color32(FillColor()));
    ImgView32->BitmapChanged();
}

void TChildForm::PasteImage(const std::wstring& fileName) {
    if (fileName.empty() && !ClipboardHasBitmap())
        return;
    CommitFloatingLayer();
    auto* layer = ImgView32->AddLayer<TBitmapLayer>();
    std::wstring error;
    try {
        if (fileName.empty())
            PasteBitmap32FromClipboard(layer->Bitmap(), Handle());
        else if (!LoadImageFile(fileName, layer->Bitmap(), error))
            throw Exception(error);
        if (layer->Bitmap().Empty())
            throw Exception(L"Empty picture");
        layer->SetDrawMode(TDrawMode::dmBlend);
        const TRect view = ImgView32->GetViewportRect();
        const TPoint centre =
            ImgView32->ControlToBitmap(TPoint{(view.Left + view.Right) / 2, (view.Top + view.Bottom) / 2});
        const double w = layer->Bitmap().Width(), h = layer->Bitmap().Height();
        layer->SetScaled(true);
        layer->SetLocation(
            TFloatRect{centre.X - w / 2, centre.Y - h / 2, centre.X + w / 2, centre.Y + h / 2});
    } catch (...) {
        // An unreadable picture ends the paste without a selection. A file the user chose
        // is named in the error box, so that a damaged one is not taken for an empty one;
        // the clipboard's content was not chosen and goes without a word.
        ImgView32->DeleteLayer(layer);
        if (!error.empty())
            throw Exception(error);
        return;
    }
    SetFloatingLayer(layer);
    SetTransparencySlider(255);
    SetModified(true);
}
