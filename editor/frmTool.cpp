// The tool window: its bars and controls, tool choice, colours, pen and fill settings,
// sliders and the stamp picker.
#include "editor/frmTool.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <cmath>

#include "core/StoredValues.h"
#include "forms/CollapsibleBar.h"
#include "forms/ComCtrls.h"
#include "forms/ComboBox.h"
#include "forms/Controls.h"
#include "forms/Files.h"
#include "forms/FlatSpeedButton.h"
#include "forms/Graphics.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Picture.h"
#include "forms/ScrollBox.h"
#include "forms/Shape.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "forms/Strings.h"
#include "forms/ThumbView.h"
#include "resources/toolbar_images.h"

TToolForm* ToolForm = nullptr;

namespace {
constexpr int kToolGroup = 1;
constexpr int kWidthGroup = 2;
constexpr int kFillStyleGroup = 3;
constexpr int kArrowGroup = 4;
constexpr int kClientWidth = 188;
// The window's own background, around and below the bars.
constexpr COLORREF kToolColor = 16244694;
constexpr int kPaletteSize = 50;

// An image that reports the presses, moves and releases of the mouse over it.
class TMouseImage : public TImage {
public:
    using TImage::TImage;
    std::function<void(TMouseButton, int, int)> OnDown, OnUp;
    std::function<void(int, int)> OnMove;
    std::function<void()> OnCaptureLost;

protected:
    void MouseDown(TMouseButton b, int x, int y) override {
        if (OnDown)
            OnDown(b, x, y);
    }
    void MouseMove(int x, int y) override {
        if (OnMove)
            OnMove(x, y);
    }
    void MouseUp(TMouseButton b, int x, int y) override {
        if (OnUp)
            OnUp(b, x, y);
    }
    void MouseCaptureLost() override {
        if (OnCaptureLost)
            OnCaptureLost();
    }
};

TFormDesign ToolDesign(HWND dockSite) {
    TFormDesign d;
    d.Parent = dockSite;
    d.Caption = L"Tool Window";
    d.Width = kClientWidth + 2 * GetSystemMetrics(SM_CXFIXEDFRAME);
    d.Height = 852 + GetSystemMetrics(SM_CYSMCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
    d.Border = TBorderStyle::ToolWindow;
    return d;
}

// One channel of a colour mixed toward a target by t of 255.
std::uint8_t Mix(int from, int to, int t) {
    return static_cast<std::uint8_t>(from + (to - from) * t / 255);
}

// The palette: hues across, from white at the top through the pure hue to black at the
// bottom, and a grey column at the right.
TBitmap32 MakePalette() {
    TBitmap32 p(kPaletteSize, kPaletteSize);
    constexpr int hueColumns = 44;
    for (int y = 0; y < kPaletteSize; ++y) {
        const int grey = 255 - y * 255 / (kPaletteSize - 1);
        for (int x = 0; x < kPaletteSize; ++x) {
            if (x >= hueColumns) {
                p.SetPixel(x, y,
                           Color32(static_cast<std::uint8_t>(grey), static_cast<std::uint8_t>(grey),
                                   static_cast<std::uint8_t>(grey)));
                continue;
            }
            // Six hue sectors of the colour wheel.
            const int h = x * 6 * 255 / hueColumns;
            const int sector = h / 255, f = h % 255;
            int rgb[3] = {0, 0, 0};
            const int up = f, down = 255 - f;
            const int table[6][3] = {{255, up, 0},   {down, 255, 0}, {0, 255, up},
                                     {0, down, 255}, {up, 0, 255},   {255, 0, down}};
            for (int c = 0; c < 3; ++c)
                rgb[c] = table[std::min(sector, 5)][c];
            const int half = kPaletteSize / 2;
            std::uint8_t out[3];
            for (int c = 0; c < 3; ++c)
                out[c] =
                    y < half ? Mix(255, rgb[c], y * 255 / half) : Mix(rgb[c], 0, (y - half) * 255 / half);
            p.SetPixel(x, y, Color32(out[0], out[1], out[2]));
        }
    }
    return p;
}

// A TBitmap32 as the picture of an image control.
TPicture PictureOf(const TBitmap32& bits) {
    TBitmap bmp(bits.Width(), bits.Height(), TPixelFormat::pf24bit);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), bits.Width(), -bits.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(bmp.Canvas(), 0, 0, static_cast<DWORD>(bits.Width()), static_cast<DWORD>(bits.Height()),
                      0, 0, 0, static_cast<UINT>(bits.Height()), bits.Bits(), &bi, DIB_RGB_COLORS);
    TPicture picture;
    picture.Assign(bmp);
    return picture;
}

// The swap mark: a diagonal double-headed arrow on the face colour.
TBitmap32 MakeSwapMark() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    TBitmap32 mark(14, 14, Color32(GetRValue(face), GetGValue(face), GetBValue(face)));
    const TColor32 ink = Color32(0, 0, 0);
    for (int i = 2; i <= 11; ++i)
        mark.SetPixel(i, 13 - i, ink);
    // Each head is two short strokes along the box's edges from the line's end.
    for (int i = 0; i < 4; ++i) {
        mark.SetPixel(11 - i, 2, ink);
        mark.SetPixel(11, 2 + i, ink);
        mark.SetPixel(2 + i, 11, ink);
        mark.SetPixel(2, 11 - i, ink);
    }
    return mark;
}

bool RunColorDialog(HWND owner, TColor& color) {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = static_cast<COLORREF>(color);
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN | CC_RGBINIT | CC_ANYCOLOR;
    if (!ChooseColorW(&cc))
        return false;
    color = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    return true;
}
} // namespace

TToolForm::TToolForm(IToolHost& host, HWND dockSite)
    : TForm(nullptr, L"ToolForm", ToolDesign(dockSite)), host_(host) {
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnActivate = [this](TObject* s) { FormActivate(s); };
    ColorDialog1 = [this](TColor& color) { return RunColorDialog(Handle(), color); };
    toolImages_ = LoadImageStrip(kToolImagesResource, kToolbarImageSize);
    palette_ = MakePalette();

    ScrollBox1 = Make<TScrollBox>(L"ScrollBox1", this);
    ScrollBox1->SetColor(kToolColor);
    ScrollBox1->SetAlign(TAlign::Client);
    // The container takes the height of its visible bars.
    JvXPContainer1 = Make<TPanel>(L"JvXPContainer1", ScrollBox1, true);
    JvXPContainer1->SetColor(kToolColor);
    JvXPContainer1->SetBounds(0, 0, kClientWidth, 852);
    BuildToolBar();
    BuildOptionBars();
    ScrollBox1->SetContent(JvXPContainer1);
    StackBars();
}

TToolForm::~TToolForm() {
    if (toolImages_)
        ImageList_Destroy(toolImages_);
}

void TToolForm::BuildToolBar() {
    ToolBar = Make<TCollapsibleBar>(L"ToolBar", JvXPContainer1, L"Tool", 164);
    struct TButtonDef {
        TFlatSpeedButton** Field;
        const wchar_t* Name;
        const wchar_t* Hint;
        TToolCode Code;
    };
    // The grid of four columns, row by row.
    const TButtonDef defs[] = {
        {&btnHand, L"btnHand", L"Move", TToolCode::Move},
        {&btnZoom, L"btnZoom", L"Zoom", TToolCode::Zoom},
        {&btnSelect, L"btnSelect", L"Select", TToolCode::Select},
        {&btnText, L"btnText", L"Text", TToolCode::Text},
        {&btnPen, L"btnPen", L"Pen", TToolCode::Pen},
        {&btnErase, L"btnErase", L"Erase", TToolCode::Erase},
        {&btnDropper, L"btnDropper", L"Dropper", TToolCode::Dropper},
        {&btnFill, L"btnFill", L"Fill", TToolCode::Fill},
        {&btnRect, L"btnRect", L"Rectangle", TToolCode::Rectangle},
        {&btnRound, L"btnRound", L"Round Rectangle", TToolCode::RoundRect},
        {&btnCircle, L"btnCircle", L"Circle", TToolCode::Circle},
        {&btnHighlight, L"btnHighlight", L"Highlight", TToolCode::Highlight},
        {&btnLine, L"btnLine", L"Line", TToolCode::Line},
        {&btnArrow, L"btnArrow", L"Arrow", TToolCode::SingleArrow},
        {&btnStemp, L"btnStemp", L"Stemp", TToolCode::Stemp},
    };
    int i = 0;
    for (const TButtonDef& def : defs) {
        auto* b = Make<TFlatSpeedButton>(def.Name, ToolBar);
        b->SetBounds(8 + (i % 4) * 25, TCollapsibleBar::kHeaderHeight + 4 + (i / 4) * 25, 25, 25);
        b->SetHint(def.Hint);
        b->Tag = ToolButtonTag(def.Code);
        b->SetGroupIndex(kToolGroup);
        if (toolImages_)
            b->SetGlyph(toolImages_, static_cast<int>(def.Code));
        b->OnClick = [this](TObject* s) { SpeedButtonClick(s); };
        *def.Field = b;
        ++i;
    }
    btnHand->SetDown(true);

    // The colour area at the right of the buttons.
    const int left = 118, top = TCollapsibleBar::kHeaderHeight + 6;
    shFill = Make<TShape>(L"shFill", ToolBar);
    shFill->SetBounds(left + 16, top + 16, 32, 32);
    shFill->SetBrushColor(0xFFFFFF);
    shFill->SetHint(L"Fill Color");
    shPen = Make<TShape>(L"shPen", ToolBar);
    shPen->SetBounds(left, top, 32, 32);
    shPen->SetBrushColor(0);
    shPen->SetHint(L"Pen Color");
    for (TShape* s : {shPen, shFill})
        s->OnMouseDown = [this](TObject* o, TMouseButton b, int x, int y) { shPenMouseDown(o, b, x, y); };
    btnInvert = Make<TImage>(L"btnInvert", ToolBar);
    btnInvert->SetBounds(left + 36, top, 14, 14);
    btnInvert->SetHint(L"Invert");
    btnInvert->SetPicture(PictureOf(MakeSwapMark()));
    btnInvert->OnClick = [this](TObject* s) { btnInvertClick(s); };
    shDefaultFill = Make<TShape>(L"shDefaultFill", ToolBar);
    shDefaultFill->SetBounds(left + 6, top + 42, 10, 10);
    shDefaultFill->SetBrushColor(0xFFFFFF);
    shDefaultFill->SetHint(L"Default Fill Color (Right click change)");
    shDefaultPen = Make<TShape>(L"shDefaultPen", ToolBar);
    shDefaultPen->SetBounds(left, top + 36, 10, 10);
    shDefaultPen->SetBrushColor(0);
    shDefaultPen->SetHint(L"Default Pen Color (Right click change)");
    for (TShape* s : {shDefaultPen, shDefaultFill})
        s->OnMouseDown = [this](TObject* o, TMouseButton b, int x, int y) {
            shDefaultPenMouseDown(o, b, x, y);
        };

    auto* palette = Make<TMouseImage>(L"Image1", ToolBar);
    palette->SetBounds(left, top + 56, kPaletteSize, kPaletteSize);
    palette->SetPicture(PictureOf(palette_));
    palette->OnDown = [this](TMouseButton b, int x, int y) { Image1MouseDown(b, x, y); };
    palette->OnMove = [this](int x, int y) { Image1MouseMove(x, y); };
    palette->OnUp = [this](TMouseButton b, int x, int y) { Image1MouseUp(b, x, y); };
    palette->OnCaptureLost = [this] { Image1CaptureLost(); };
    Image1 = palette;
    auto* history = Make<TMouseImage>(L"imgColHis", ToolBar);
    history->SetBounds(left, top + 110, 50, 10);
    history->OnDown = [this](TMouseButton b, int x, int y) { imgColHisMouseDown(b, x, y); };
    imgColHis = history;
}

void TToolForm::BuildOptionBars() {
    const int top = TCollapsibleBar::kHeaderHeight + 6;
    PenBar = Make<TCollapsibleBar>(L"PenBar", JvXPContainer1, L"Pen", 64);
    for (int i = 0; i < 5; ++i) {
        auto* b = Make<TFlatSpeedButton>(L"FlatSpeedButton" + std::to_wstring(i + 1), PenBar);
        b->SetBounds(8 + i * 25, top, 25, 25);
        b->Tag = 2 * i + 1;
        b->SetHint(L"x " + std::to_wstring(b->Tag));
        b->SetCaption(std::to_wstring(b->Tag));
        b->SetGroupIndex(kWidthGroup);
        b->OnClick = [this](TObject* s) { SpeedButton02Click(s); };
        WidthButtons[static_cast<std::size_t>(i)] = b;
    }
    WidthButtons[0]->SetDown(true);
    SpinEdit1 = Make<TSpinEdit>(L"SpinEdit1", PenBar, 136, top + 2, 44, 1, 50, 1);
    SpinEdit1->OnChange = [this](TObject* s) { SpinEdit1Change(s); };

    FillBar = Make<TCollapsibleBar>(L"FillBar", JvXPContainer1, L"Fill", 64);
    const wchar_t* fillHints[] = {L"Just Line", L"Line + Fill", L"Just Fill"};
    for (int i = 0; i < 3; ++i) {
        auto* b = Make<TFlatSpeedButton>(L"btnFillStyle" + std::to_wstring(i + 1), FillBar);
        b->SetBounds(8 + i * 25, top, 25, 25);
        b->Tag = i + 1;
        b->SetHint(fillHints[i]);
        b->SetGroupIndex(kFillStyleGroup);
        b->OnClick = [this](TObject* s) { SpeedButton03Click(s); };
        FillStyleButtons[static_cast<std::size_t>(i)] = b;
    }
    FillStyleButtons[0]->SetDown(true);
    cbFrame = Make<TCheckBox>(L"cbFrame", FillBar, L"Uses Frame", 90, top + 4, 92);
    cbFrame->SetChecked(true);
    cbFrame->OnClick = [this](TObject* s) { cbFrameClick(s); };

    ArrowBar = Make<TCollapsibleBar>(L"ArrowBar", JvXPContainer1, L"Arrow", 119);
    const wchar_t* arrowHints[] = {L"Single Arrow",  L"Double Arrow",     L"Single Circle",
                                   L"Double Circle", L"Single Rectangle", L"Double Rectangle"};
    for (int i = 0; i < 6; ++i) {
        auto* b = Make<TFlatSpeedButton>(L"btnArrow" + std::to_wstring(i + 1), ArrowBar);
        b->SetBounds(8 + (i % 2) * 85, top + (i / 2) * 28, 80, 25);
        b->Tag = 31 + i;
        b->SetHint(arrowHints[i]);
        b->SetCaption(arrowHints[i]);
        b->SetGroupIndex(kArrowGroup);
        b->OnClick = [this](TObject* s) { btnArrowClick(s); };
        ArrowStyleButtons[static_cast<std::size_t>(i)] = b;
    }
    ArrowStyleButtons[0]->SetDown(true);

    ShadowBar = Make<TCollapsibleBar>(L"ShadowBar", JvXPContainer1, L"Shadow", 119);
    cbUseShadow = Make<TCheckBox>(L"cbUseShadow", ShadowBar, L"Uses Shadow", 8, top, 150);
    cbUseShadow->SetChecked(true);
    cbUseShadow->OnClick = [this](TObject* s) { cbUseShadowClick(s); };
    auto* group = Make<TGroupBox>(L"GroupBox1", ShadowBar, L"Transparency", 8, top + 22, 172, 60);
    JvxSlider3 = Make<TSlider>(L"JvxSlider3", group);
    JvxSlider3->SetBounds(6, 18, 124, 32);
    JvxSlider3->SetRange(0, 255, 1);
    JvxSlider3->SetValue(30);
    JvxSlider3->OnChange = [this](TObject* s) { JvxSlider3Change(s); };
    lblShadowTrans = Make<TLabel>(L"lblShadowTrans", group, L"30");
    lblShadowTrans->SetBounds(134, 22, 34, 14);

    StempBar = Make<TCollapsibleBar>(L"StempBar", JvXPContainer1, L"Stemp", 171);
    lblGroup = Make<TLabel>(L"lblGroup", StempBar, L"Group");
    lblGroup->SetBounds(8, top + 4, 40, 14);
    cbStemp = Make<TComboBox>(L"cbStemp", StempBar);
    cbStemp->SetBounds(50, top, 130, 200);
    cbStemp->OnChange = [this](TObject* s) { cbStempChange(s); };
    StempList = Make<TThumbView>(L"StempList", StempBar);
    StempList->SetBounds(8, top + 26, 172, 110);
    StempList->SetFilter({L"png", L"gif", L"jpg", L"jpeg", L"bmp"});

    TransBar = Make<TCollapsibleBar>(L"TransBar", JvXPContainer1, L"Transparency", 69);
    JvxSlider2 = Make<TSlider>(L"JvxSlider2", TransBar);
    JvxSlider2->SetBounds(8, top, 130, 32);
    JvxSlider2->SetRange(0, 255, 1);
    JvxSlider2->SetValue(255);
    JvxSlider2->OnChange = [this](TObject* s) { JvxSlider2Change(s); };
    lblTrans = Make<TLabel>(L"lblTrans", TransBar, L"255");
    lblTrans->SetBounds(142, top + 4, 40, 14);

    ZoomBar = Make<TCollapsibleBar>(L"ZoomBar", JvXPContainer1, L"Zoom", 69);
    JvxSlider1 = Make<TSlider>(L"JvxSlider1", ZoomBar);
    JvxSlider1->SetBounds(8, top, 130, 32);
    JvxSlider1->SetRange(25, 1000, 25);
    JvxSlider1->SetValue(100);
    JvxSlider1->OnChange = [this](TObject* s) { JvxSlider1Change(s); };
    lblZoom = Make<TLabel>(L"lblZoom", ZoomBar, L"100 %");
    lblZoom->SetBounds(142, top + 4, 44, 14);

    // Created in their fixed order, the top-aligned bars stack in it and take the width.
    for (TCollapsibleBar* bar :
         {ToolBar, PenBar, FillBar, ArrowBar, ShadowBar, StempBar, TransBar, ZoomBar}) {
        bar->SetAlign(TAlign::Top);
        bar->OnCollapsedChange = [this](TObject*) { StackBars(); };
    }
    for (TCollapsibleBar* bar : {PenBar, FillBar, ArrowBar, ShadowBar, StempBar, TransBar})
        bar->SetVisible(false);
}

void TToolForm::FormCreate(TObject*) {
    // The defaults go straight into the fields: the swatches keep their designed colours.
    PreviousTool = TToolCode::Move;
    FillColor = 0xFFFFFF;
    PaletteDrag = 0;
    FillStyle = 0;
    PenColor = 0;
    PenWidth = 1;
    Tool = TToolCode::Move;
    Transparency = 255;
    ClipsFolder = ProgramFolder() + L"Clips";
    TextFontName = L"MS Sans Serif";
    TextFontSize = 16;
    TextBold = TextItalic = TextUnderline = false;
    TextAlignment = 0;
    TextContent.clear();
    UseShadow = true;
    ShadowTransparency = 30;
    HistoryColors.fill(0);
}

void TToolForm::FormActivate(TObject*) {
    if (!OnActivate)
        return; // the stored colours arrive once
    OnActivate = nullptr;
    try {
        SetPenColor(StoredColor(host_.StoredInteger(SettingName::kForgColor), PenColor));
        SetFillColor(StoredColor(host_.StoredInteger(SettingName::kBackColor), FillColor));
        shDefaultPen->SetBrushColor(StoredColor(host_.StoredInteger(SettingName::kDefForgColor), 0));
        shDefaultFill->SetBrushColor(StoredColor(host_.StoredInteger(SettingName::kDefBackColor), 0xFFFFFF));
        const std::wstring_view names[] = {SettingName::kHistoryColor1, SettingName::kHistoryColor2,
                                           SettingName::kHistoryColor3, SettingName::kHistoryColor4,
                                           SettingName::kHistoryColor5};
        for (std::size_t i = 0; i < HistoryColors.size(); ++i)
            HistoryColors[i] = StoredColor(host_.StoredInteger(names[i]), 0);
    } catch (...) {
        // A store that cannot be read leaves the colours not yet read at their defaults.
    }
    PaintHistory();
}

// ---- Tools ----

void TToolForm::SetTool(TToolCode code) {
    if (code == Tool)
        return;
    PreviousTool = Tool;
    Tool = code;
    const TOptionBars bars = OptionBarsFor(code);
    PenBar->SetVisible(bars.Pen);
    FillBar->SetVisible(bars.Fill);
    ArrowBar->SetVisible(bars.Arrow);
    ShadowBar->SetVisible(bars.Shadow);
    StempBar->SetVisible(bars.Stemp);
    TransBar->SetVisible(bars.Trans);
    StackBars();
    if (IToolDocument* doc = host_.ActiveToolDocument())
        doc->CommitFloatingLayer();
    cbFrame->SetVisible(code == TToolCode::Text);
    host_.UpdateChildCursors();
}

void TToolForm::StackBars() {
    // The bars are top-aligned in their fixed order: laying the container out again
    // stacks the visible ones under the Tool bar and sizes it (and the scroll range).
    JvXPContainer1->Realign();
}

TFlatSpeedButton* TToolForm::ToolButton(TToolCode code) const {
    if (IsArrowTool(code))
        return btnArrow;
    for (TFlatSpeedButton* b : {btnHand, btnZoom, btnSelect, btnText, btnPen, btnErase, btnDropper, btnFill,
                                btnRect, btnRound, btnCircle, btnHighlight, btnLine, btnStemp})
        if (b->Tag == ToolButtonTag(code))
            return b;
    return nullptr;
}

void TToolForm::SpeedButtonClick(TObject* sender) {
    auto* button = dynamic_cast<TFlatSpeedButton*>(sender);
    if (!button)
        return;
    const std::optional<TToolCode> code = ToolCodeFromTag(button->Tag);
    if (!code)
        return;
    SetTool(*code);
    if (*code == TToolCode::Stemp) {
        SetFocus(StempBar->Handle());
        if (cbStemp->ItemIndex() < 0)
            FillStampGroups();
    }
}

void TToolForm::btnArrowClick(TObject* sender) {
    auto* button = dynamic_cast<TFlatSpeedButton*>(sender);
    if (!button || button->Tag < 31 || button->Tag > 36)
        return;
    btnArrow->Tag = button->Tag;
    Tool = static_cast<TToolCode>(button->Tag - 18);
}

void TToolForm::RestorePreviousTool() {
    // The Dropper's button is passed over: it is the tool being left.
    if (PreviousTool != TToolCode::Dropper)
        if (TFlatSpeedButton* b = ToolButton(PreviousTool))
            b->SetDown(true);
    SetTool(PreviousTool);
}

// ---- Colours ----

void TToolForm::RenderTextIfTextTool() {
    if (Tool != TToolCode::Text)
        return;
    if (IToolDocument* doc = host_.ActiveToolDocument())
        doc->RenderTextLayer(0, 0);
}

void TToolForm::SetPenColor(TColor color) {
    if (!ChangeProperty(PenColor, color))
        return;
    shPen->SetBrushColor(color);
    IToolDocument* doc = host_.ActiveToolDocument();
    if (doc && Tool == TToolCode::Highlight)
        doc->RenderHighlightLayer();
    else if (doc && Tool == TToolCode::Text)
        doc->RenderTextLayer(0, 0);
}

void TToolForm::SetFillColor(TColor color) {
    if (!ChangeProperty(FillColor, color))
        return;
    shFill->SetBrushColor(color);
    RenderTextIfTextTool();
}

void TToolForm::shPenMouseDown(TObject* sender, TMouseButton button, int, int) {
    auto* swatch = dynamic_cast<TShape*>(sender);
    if (button != TMouseButton::Left || !swatch)
        return;
    TColor color = swatch->BrushColor();
    if (!ColorDialog1(color))
        return;
    if (swatch == shPen)
        SetPenColor(color);
    else
        SetFillColor(color);
}

void TToolForm::shDefaultPenMouseDown(TObject* sender, TMouseButton button, int, int) {
    auto* swatch = dynamic_cast<TShape*>(sender);
    if (!swatch)
        return;
    if (button == TMouseButton::Left) {
        SetPenColor(shDefaultPen->BrushColor());
        SetFillColor(shDefaultFill->BrushColor());
    } else if (button == TMouseButton::Right) {
        TColor color = swatch->BrushColor();
        if (ColorDialog1(color))
            swatch->SetBrushColor(color);
    }
}

void TToolForm::btnInvertClick(TObject*) {
    const TColor pen = PenColor;
    SetPenColor(FillColor);
    SetFillColor(pen);
}

TColor TToolForm::PaletteColorAt(int x, int y) const {
    // Outside the picture the nearest edge pixel answers.
    const int px = std::clamp(x, 0, palette_.Width() - 1);
    const int py = std::clamp(y, 0, palette_.Height() - 1);
    return WinColor(palette_.Pixel(px, py));
}

void TToolForm::Image1MouseDown(TMouseButton button, int x, int y) {
    if (button == TMouseButton::Left) {
        shPen->SetBrushColor(PaletteColorAt(x, y));
        PaletteDrag = 1;
    } else if (button == TMouseButton::Right) {
        shFill->SetBrushColor(PaletteColorAt(x, y));
        PaletteDrag = 2;
    }
}

void TToolForm::Image1MouseMove(int x, int y) {
    if (PaletteDrag == 1)
        shPen->SetBrushColor(PaletteColorAt(x, y));
    else if (PaletteDrag == 2)
        shFill->SetBrushColor(PaletteColorAt(x, y));
}

void TToolForm::Image1MouseUp(TMouseButton, int, int) {
    SetPenColor(shPen->BrushColor());
    SetFillColor(shFill->BrushColor());
    PaletteDrag = 0;
}

void TToolForm::Image1CaptureLost() {
    // No release will come: the drag ends as if it never began, and the swatches show the
    // colours in use again.
    shPen->SetBrushColor(PenColor);
    shFill->SetBrushColor(FillColor);
    PaletteDrag = 0;
}

void TToolForm::imgColHisMouseDown(TMouseButton button, int x, int) {
    const int i = HistorySwatchAt(x);
    if (i == 0)
        return;
    const TColor color = HistoryColors[static_cast<std::size_t>(i - 1)];
    if (button == TMouseButton::Left)
        SetPenColor(color);
    else if (button == TMouseButton::Right)
        SetFillColor(color);
}

void TToolForm::AddHistoryColor(TColor color) {
    if (::AddHistoryColor(HistoryColors, color))
        PaintHistory();
}

void TToolForm::PaintHistory() {
    TBitmap32 strip(5 * kHistorySwatchWidth, kHistorySwatchWidth);
    for (int i = 0; i < 5; ++i)
        for (int y = 0; y < kHistorySwatchWidth; ++y)
            for (int x = i * kHistorySwatchWidth; x < (i + 1) * kHistorySwatchWidth; ++x)
                strip.SetPixel(x, y, Color32(HistoryColors[static_cast<std::size_t>(i)]));
    imgColHis->SetPicture(PictureOf(strip));
}

// ---- Pen width and fill style ----

void TToolForm::SetPenWidth(int width) {
    if (!ChangeProperty(PenWidth, width))
        return;
    SpinEdit1->SetValue(width); // its change handler comes back here and finds nothing to do
    RenderTextIfTextTool();
}

void TToolForm::SetFillStyle(std::uint8_t style) {
    if (ChangeProperty(FillStyle, style))
        RenderTextIfTextTool();
}

void TToolForm::SpeedButton02Click(TObject* sender) {
    if (auto* b = dynamic_cast<TFlatSpeedButton*>(sender))
        SetPenWidth(b->Tag);
}

void TToolForm::SpinEdit1Change(TObject*) {
    SetPenWidth(SpinEdit1->Value());
}

void TToolForm::SpeedButton03Click(TObject* sender) {
    if (auto* b = dynamic_cast<TFlatSpeedButton*>(sender); b && b->Tag >= 1 && b->Tag <= 3)
        SetFillStyle(static_cast<std::uint8_t>(b->Tag - 1));
}

void TToolForm::cbFrameClick(TObject*) {
    RenderTextIfTextTool();
}

void TToolForm::cbUseShadowClick(TObject*) {
    UseShadow = cbUseShadow->Checked();
}

// ---- Sliders ----

void TToolForm::JvxSlider1Change(TObject*) {
    const int value = JvxSlider1->Value();
    // The document's own activation sets the slider from its scale; that must not write back.
    if (IToolDocument* doc = host_.ActiveToolDocument(); doc && ZoomDiffersFromScale(value, doc->Scale()))
        doc->SetScale(value / 100.0);
    host_.SetStatusText(1, ZoomStatusText(value, LocaleThousandsSeparator()));
    lblZoom->SetCaption(ZoomLabelText(value));
}

void TToolForm::JvxSlider2Change(TObject*) {
    IToolDocument* doc = host_.ActiveToolDocument();
    if (!doc)
        return;
    Transparency = JvxSlider2->Value();
    lblTrans->SetCaption(std::to_wstring(Transparency));
    if (doc->HasFloatingLayer())
        doc->SetFloatingMasterAlpha(Transparency);
}

void TToolForm::JvxSlider3Change(TObject*) {
    ShadowTransparency = JvxSlider3->Value();
    lblShadowTrans->SetCaption(std::to_wstring(ShadowTransparency));
}

// ---- Stamps ----

void TToolForm::FillStampGroups() {
    std::vector<std::wstring> groups;
    WIN32_FIND_DATAW data{};
    const std::wstring pattern = ClipsFolder + L"\\*.*";
    if (TFindHandle find(FindFirstFileW(pattern.c_str(), &data)); find) {
        do {
            const std::wstring name = data.cFileName;
            // Only plain folders are groups: one with any other attribute is left out.
            if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY && name != L"." && name != L"..")
                groups.push_back(name);
        } while (FindNextFileW(find.Get(), &data));
    }
    cbStemp->SetItems(groups);
    // Selecting the first group raises the group change, which reads its pictures; running
    // the handler once more would decode every picture a second time.
    if (cbStemp->ItemCount() > 0)
        cbStemp->SetItemIndex(0);
}

void TToolForm::cbStempChange(TObject*) {
    const int index = cbStemp->ItemIndex();
    if (index < 0)
        return;
    StempList->SetDirectory(ClipsFolder + L"\\" + cbStemp->Items()[static_cast<std::size_t>(index)]);
}

std::wstring TToolForm::GetSelectedStamp() const {
    return StempList->SelectedFile();
}
