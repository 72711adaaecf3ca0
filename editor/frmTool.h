#pragma once
// The tool window: the editor's palette of drawing tools, pen and fill colours with their
// default swatches, the colour palette and recent colours, pen width and fill style, the
// floating selection's transparency, the zoom, the shadow and arrow settings and the stamp
// picker. One exists for the whole program, in ToolForm; the documents read its fields.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

#include "core/Bitmap32.h"
#include "core/ToolOptions.h"
#include "editor/ToolHost.h"
#include "forms/Form.h"
#include "forms/MouseInput.h"

class TCheckBox;
class TCollapsibleBar;
class TComboBox;
class TFlatSpeedButton;
class TImage;
class TLabel;
class TPanel;
class TScrollBox;
class TShape;
class TSlider;
class TSpinEdit;
class TThumbView;

class TToolForm : public TForm {
public:
    // dockSite: the window the form is created in until it is docked (none: a top-level
    // window). Created inside it, the form never gets a taskbar entry, floating or docked.
    explicit TToolForm(IToolHost& host, HWND dockSite = nullptr);
    ~TToolForm() override;

    // ---- Fields the documents and the main window read ----
    TToolCode PreviousTool = TToolCode::Move;
    TColor FillColor = 0xFFFFFF;
    std::uint8_t PaletteDrag = 0; // 1 left button held on the palette, 2 right button
    std::uint8_t FillStyle = 0;   // 0 just line, 1 line and fill, 2 just fill
    TColor PenColor = 0;
    int PenWidth = 1;
    TToolCode Tool = TToolCode::Move;
    int Transparency = 255;
    std::wstring ClipsFolder;
    std::wstring TextFontName = L"MS Sans Serif";
    int TextFontSize = 16;
    bool TextBold = false, TextItalic = false, TextUnderline = false;
    int TextAlignment = 0;
    std::wstring TextContent;
    bool UseShadow = true;
    int ShadowTransparency = 30;
    THistoryColors HistoryColors{}; // index 0 is the design's colour 1, the newest

    // ---- Components ----
    TScrollBox* ScrollBox1; // scrolls the bars when the window is shorter than they are
    TPanel* JvXPContainer1;
    TCollapsibleBar *ToolBar, *PenBar, *FillBar, *ArrowBar, *ShadowBar, *StempBar, *TransBar, *ZoomBar;
    TFlatSpeedButton *btnHand, *btnZoom, *btnSelect, *btnText, *btnPen, *btnErase, *btnDropper, *btnFill,
        *btnRect, *btnRound, *btnCircle, *btnHighlight, *btnLine, *btnArrow, *btnStemp;
    std::array<TFlatSpeedButton*, 6> ArrowStyleButtons{}; // btnArrow1 to btnArrow6
    TShape *shPen, *shFill, *shDefaultPen, *shDefaultFill;
    TImage *btnInvert, *Image1, *imgColHis;
    std::array<TFlatSpeedButton*, 5> WidthButtons{}; // FlatSpeedButton1 to FlatSpeedButton5
    TSpinEdit* SpinEdit1;
    std::array<TFlatSpeedButton*, 3> FillStyleButtons{}; // btnFillStyle1 to btnFillStyle3
    TCheckBox* cbFrame;
    TCheckBox* cbUseShadow;
    TSlider *JvxSlider1, *JvxSlider2, *JvxSlider3;
    TLabel *lblZoom, *lblTrans, *lblShadowTrans, *lblGroup;
    TComboBox* cbStemp;
    TThumbView* StempList;

    // The colour dialog, preset with a colour; false when cancelled. Tests replace it.
    std::function<bool(TColor& color)> ColorDialog1;

    // ---- Operations ----
    void SetTool(TToolCode code);
    void RestorePreviousTool();
    void SetPenColor(TColor color);
    void SetFillColor(TColor color);
    void SetPenWidth(int width);
    void SetFillStyle(std::uint8_t style);
    void AddHistoryColor(TColor color);
    std::wstring GetSelectedStamp() const;
    void FillStampGroups();
    // The button that selects a tool (the arrow styles share btnArrow; the Dropper has one).
    TFlatSpeedButton* ToolButton(TToolCode code) const;
    // The palette's picture, whose pixels the palette hands out.
    const TBitmap32& PalettePicture() const { return palette_; }

    // ---- Handlers ----
    void FormCreate(TObject* sender);
    void FormActivate(TObject* sender);
    void SpeedButtonClick(TObject* sender);
    void btnArrowClick(TObject* sender);
    void shPenMouseDown(TObject* sender, TMouseButton button, int x, int y);
    void shDefaultPenMouseDown(TObject* sender, TMouseButton button, int x, int y);
    void btnInvertClick(TObject* sender);
    void Image1MouseDown(TMouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(TMouseButton button, int x, int y);
    // Another window took the mouse during a palette drag.
    void Image1CaptureLost();
    void imgColHisMouseDown(TMouseButton button, int x, int y);
    void SpeedButton02Click(TObject* sender);
    void SpinEdit1Change(TObject* sender);
    void SpeedButton03Click(TObject* sender);
    void cbFrameClick(TObject* sender);
    void cbUseShadowClick(TObject* sender);
    void JvxSlider1Change(TObject* sender);
    void JvxSlider2Change(TObject* sender);
    void JvxSlider3Change(TObject* sender);
    void cbStempChange(TObject* sender);

    // Stacks the visible bars in their fixed order under the Tool bar.
    void StackBars();

private:
    void BuildToolBar();
    void BuildOptionBars();
    void PaintHistory();
    TColor PaletteColorAt(int x, int y) const;
    void RenderTextIfTextTool();

    IToolHost& host_;
    TBitmap32 palette_;
    HIMAGELIST toolImages_ = nullptr;
};

extern TToolForm* ToolForm;
