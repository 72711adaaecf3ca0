// The tool window under Wine: tools and their option bars, colours and the recent strip,
// pen width and fill style, the sliders, the stamp folders, the stored colours read at the
// first activation and written at the real exit, and its language section.
#include "editor/frmTool.h"

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>

#include "LanguageTestSupport.h"
#include "core/StoredValues.h"
#include "forms/Actions.h"
#include "forms/CollapsibleBar.h"
#include "forms/ComboBox.h"
#include "forms/DockPanel.h"
#include "forms/Files.h"
#include "forms/FlatSpeedButton.h"
#include "forms/Image.h"
#include "forms/ImageCodecs.h"
#include "forms/Label.h"
#include "forms/Shape.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "forms/ThumbView.h"
#include "shell/SLanguage.h"
#include "shell/frmMain.h"
#include "tests/forms/FormsTestSupport.h"

namespace {

struct TFakeDocument : IToolDocument {
    int commits = 0, highlights = 0, texts = 0, scaleWrites = 0;
    bool floating = false;
    int masterAlpha = -1;
    double scale = 1.0;
    void CommitFloatingLayer() override { ++commits; }
    bool HasFloatingLayer() const override { return floating; }
    void SetFloatingMasterAlpha(int alpha) override { masterAlpha = alpha; }
    void RenderHighlightLayer() override { ++highlights; }
    void RenderTextLayer(int, int) override { ++texts; }
    double Scale() const override { return scale; }
    void SetScale(double s) override {
        scale = s;
        ++scaleWrites;
    }
    void SetViewCursor(HCURSOR) override {}
};

struct TFakeHost : IToolHost {
    TFakeDocument* document = nullptr;
    std::map<std::wstring, std::wstring> status;
    int cursorUpdates = 0;
    std::map<std::wstring, std::int32_t> stored{{L"BackColor", 0xFFFFFF}, {L"DefBackColor", 0xFFFFFF}};
    std::wstring failOn; // reading this value throws
    IToolDocument* ActiveToolDocument() override { return document; }
    void SetStatusText(int index, const std::wstring& text) override {
        status[std::to_wstring(index)] = text;
    }
    void UpdateChildCursors() override { ++cursorUpdates; }
    std::int32_t StoredInteger(std::wstring_view name) const override {
        if (name == failOn)
            throw std::runtime_error("store unreadable");
        const auto it = stored.find(std::wstring(name));
        return it == stored.end() ? 0 : it->second;
    }
};

class ToolFormTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = CreateForm<TToolForm>(host);
        // The first activation (a click activates the hidden window) reads the store once;
        // it happens here, as the docking at start-up does it.
        form->FormActivate(form.get());
    }
    static void Click(TControl* c) { SendMessageW(c->Handle(), BM_CLICK, 0, 0); }
    static void Mouse(TControl* c, UINT msg, int x, int y) {
        SendMessageW(
            c->Handle(), msg, msg == WM_RBUTTONDOWN ? MK_RBUTTON : 0,
            MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))));
    }
    static int Top(TControl* c) { return static_cast<int>(c->BoundsRect().top); }
    // The visible bars from top to bottom, by caption.
    std::vector<std::wstring> ShownBars() const {
        std::vector<TCollapsibleBar*> shown;
        for (TCollapsibleBar* b : {form->ToolBar, form->PenBar, form->FillBar, form->ArrowBar,
                                   form->ShadowBar, form->StempBar, form->TransBar, form->ZoomBar})
            if (b->Visible())
                shown.push_back(b);
        std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return Top(a) < Top(b); });
        std::vector<std::wstring> names;
        for (auto* b : shown)
            names.push_back(b->Caption());
        return names;
    }
    TFakeHost host;
    TFormPtr<TToolForm> form;
};

using Bars = std::vector<std::wstring>;

} // namespace

TEST_F(ToolFormTest, StartsWithTheDesignedDefaults) {
    EXPECT_EQ(form->Tool, TToolCode::Move);
    EXPECT_EQ(form->PenColor, 0);
    EXPECT_EQ(form->FillColor, 0xFFFFFF);
    EXPECT_EQ(form->PenWidth, 1);
    EXPECT_EQ(form->Transparency, 255);
    EXPECT_EQ(form->ShadowTransparency, 30);
    EXPECT_TRUE(form->UseShadow);
    EXPECT_EQ(form->TextFontSize, 16);
    EXPECT_EQ(form->Caption(), L"Tool Window");
    EXPECT_TRUE(form->btnHand->Down());
    EXPECT_EQ(form->btnArrow->Tag, 31);
    EXPECT_EQ(ShownBars(), (Bars{L"Tool", L"Zoom"}));
    EXPECT_EQ(form->ClipsFolder.substr(form->ClipsFolder.size() - 6), L"\\Clips");
}

TEST_F(ToolFormTest, ChoosingAToolShowsItsOptionBarsStackedInOrder) {
    Click(form->btnText);
    EXPECT_EQ(form->Tool, TToolCode::Text);
    EXPECT_EQ(ShownBars(), (Bars{L"Tool", L"Pen", L"Fill", L"Transparency", L"Zoom"}));
    // Tool 164, Pen 64, Fill 64, Transparency 69: the Zoom bar sits at 361.
    EXPECT_EQ(Top(form->PenBar), 164);
    EXPECT_EQ(Top(form->FillBar), 228);
    EXPECT_EQ(Top(form->TransBar), 292);
    EXPECT_EQ(Top(form->ZoomBar), 361);
    EXPECT_TRUE(form->cbFrame->Visible());

    Click(form->btnArrow);
    Click(form->ArrowStyleButtons[3]); // Double Circle
    EXPECT_EQ(form->Tool, TToolCode::DoubleCircle);
    EXPECT_EQ(ShownBars(), (Bars{L"Tool", L"Pen", L"Arrow", L"Shadow", L"Zoom"}));
    EXPECT_EQ(Top(form->ZoomBar), 164 + 64 + 119 + 119);
    EXPECT_FALSE(form->cbFrame->Visible());

    Click(form->btnHand);
    EXPECT_EQ(ShownBars(), (Bars{L"Tool", L"Zoom"}));
    EXPECT_EQ(Top(form->ZoomBar), 164);
    EXPECT_TRUE(form->btnHand->Down());
    EXPECT_FALSE(form->btnText->Down());

    // A folded bar keeps its place in the stack with only its header.
    Click(form->btnPen);
    form->PenBar->SetCollapsed(true);
    EXPECT_EQ(Top(form->ZoomBar), 164 + TCollapsibleBar::kHeaderHeight);
}

TEST_F(ToolFormTest, OnlyARealToolChangeCommitsTheSelectionAndUpdatesTheCursors) {
    TFakeDocument doc;
    host.document = &doc;
    Click(form->btnHand);
    EXPECT_EQ(doc.commits, 0);
    EXPECT_EQ(host.cursorUpdates, 0);
    Click(form->btnSelect);
    EXPECT_EQ(doc.commits, 1);
    EXPECT_EQ(host.cursorUpdates, 1);
    EXPECT_EQ(form->PreviousTool, TToolCode::Move);
}

TEST_F(ToolFormTest, TheArrowButtonRemembersTheLastArrowStyle) {
    Click(form->btnArrow);
    EXPECT_EQ(form->Tool, TToolCode::SingleArrow);
    Click(form->ArrowStyleButtons[5]);
    EXPECT_EQ(form->Tool, TToolCode::DoubleRect);
    EXPECT_EQ(form->btnArrow->Tag, 36);
    EXPECT_EQ(form->PreviousTool, TToolCode::Move); // the style change is no tool change
    Click(form->btnPen);
    Click(form->btnArrow);
    EXPECT_EQ(form->Tool, TToolCode::DoubleRect);
}

TEST_F(ToolFormTest, TheDropperReturnsToThePreviousToolWithItsButtonPressed) {
    Click(form->btnCircle);
    Click(form->btnDropper);
    EXPECT_TRUE(form->btnDropper->Down());
    form->RestorePreviousTool();
    EXPECT_EQ(form->Tool, TToolCode::Circle);
    EXPECT_TRUE(form->btnCircle->Down());
    EXPECT_FALSE(form->btnDropper->Down());
    EXPECT_EQ(form->PreviousTool, TToolCode::Dropper);
}

TEST_F(ToolFormTest, ColoursSwapAndReRenderTheTextLayerOnlyForTheTextTool) {
    TFakeDocument doc;
    host.document = &doc;
    form->SetPenColor(0x0000FF);
    EXPECT_EQ(form->shPen->BrushColor(), 0x0000FF);
    EXPECT_EQ(doc.texts, 0);
    Click(form->btnText);
    form->SetFillColor(0x00FF00);
    EXPECT_EQ(doc.texts, 1);
    form->SetFillColor(0x00FF00); // no change, no render
    EXPECT_EQ(doc.texts, 1);
    form->btnInvert->OnClick(form->btnInvert);
    EXPECT_EQ(form->PenColor, 0x00FF00);
    EXPECT_EQ(form->FillColor, 0x0000FF);
    EXPECT_EQ(form->shFill->BrushColor(), 0x0000FF);
    Click(form->btnHighlight);
    form->SetPenColor(0x123456);
    EXPECT_EQ(doc.highlights, 1);
}

TEST_F(ToolFormTest, SwatchesUseTheColourDialogAndTheDefaults) {
    int dialogs = 0;
    TColor answer = 0x445566;
    bool confirm = true;
    form->ColorDialog1 = [&](TColor& c) {
        ++dialogs;
        c = answer;
        return confirm;
    };
    Mouse(form->shFill, WM_LBUTTONDOWN, 2, 2);
    Mouse(form->shFill, WM_LBUTTONUP, 2, 2);
    EXPECT_EQ(form->FillColor, 0x445566);
    confirm = false;
    Mouse(form->shPen, WM_LBUTTONDOWN, 2, 2);
    Mouse(form->shPen, WM_LBUTTONUP, 2, 2);
    EXPECT_EQ(form->PenColor, 0); // cancelled
    // The right button on a default swatch changes only that swatch.
    confirm = true;
    answer = 0x0000AA;
    Mouse(form->shDefaultPen, WM_RBUTTONDOWN, 2, 2);
    EXPECT_EQ(form->shDefaultPen->BrushColor(), 0x0000AA);
    EXPECT_EQ(form->PenColor, 0);
    // The left button on either sets both colours from the default swatches.
    Mouse(form->shDefaultFill, WM_LBUTTONDOWN, 2, 2);
    Mouse(form->shDefaultFill, WM_LBUTTONUP, 2, 2);
    EXPECT_EQ(form->PenColor, 0x0000AA);
    EXPECT_EQ(form->FillColor, 0xFFFFFF);
    EXPECT_EQ(dialogs, 3);
}

TEST_F(ToolFormTest, ThePaletteChangesTheColoursOnlyOnRelease) {
    const TColor corner = WinColor(form->PalettePicture().Pixel(0, 0));
    const TColor other = WinColor(form->PalettePicture().Pixel(20, 25));
    ASSERT_NE(corner, other);
    Mouse(form->Image1, WM_LBUTTONDOWN, 20, 25);
    EXPECT_EQ(form->PaletteDrag, 1);
    EXPECT_EQ(form->shPen->BrushColor(), other);
    EXPECT_EQ(form->PenColor, 0);
    // Off the picture the nearest edge pixel answers.
    Mouse(form->Image1, WM_MOUSEMOVE, -30, -4);
    EXPECT_EQ(form->shPen->BrushColor(), corner);
    Mouse(form->Image1, WM_LBUTTONUP, -30, -4);
    EXPECT_EQ(form->PenColor, corner);
    EXPECT_EQ(form->PaletteDrag, 0);
    Mouse(form->Image1, WM_RBUTTONDOWN, 20, 25);
    EXPECT_EQ(form->PaletteDrag, 2);
    Mouse(form->Image1, WM_RBUTTONUP, 20, 25);
    EXPECT_EQ(form->FillColor, other);
    EXPECT_EQ(form->PenColor, corner);
}

TEST_F(ToolFormTest, ARightDragOnThePaletteHoldsTheMouseAndALostCaptureEndsIt) {
    const TColor edge = WinColor(form->PalettePicture().Pixel(49, 49));
    const TColor other = WinColor(form->PalettePicture().Pixel(20, 25));
    ASSERT_NE(edge, other);
    ASSERT_NE(edge, form->FillColor);
    const HWND palette = form->Image1->Handle();
    // The right button holds the mouse like the left, so its release outside comes back here.
    Mouse(form->Image1, WM_RBUTTONDOWN, 20, 25);
    EXPECT_EQ(GetCapture(), palette);
    Mouse(form->Image1, WM_MOUSEMOVE, 60, 70);
    Mouse(form->Image1, WM_RBUTTONUP, 60, 70);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(form->FillColor, edge);

    // Another window takes the mouse mid-drag: the swatch shows the fill colour again, and
    // later moves over the palette no longer drag it.
    Mouse(form->Image1, WM_RBUTTONDOWN, 20, 25);
    EXPECT_EQ(form->shFill->BrushColor(), other);
    SetCapture(form->Handle());
    EXPECT_EQ(form->PaletteDrag, 0);
    EXPECT_EQ(form->shFill->BrushColor(), edge);
    ReleaseCapture();
    Mouse(form->Image1, WM_MOUSEMOVE, 20, 25);
    EXPECT_EQ(form->shFill->BrushColor(), edge);
    EXPECT_EQ(form->FillColor, edge);
}

TEST_F(ToolFormTest, TheRecentStripKeepsFiveColoursAndPicksByPosition) {
    for (TColor c : {1, 2, 3, 4, 5, 3, 6})
        form->AddHistoryColor(c);
    EXPECT_EQ(form->HistoryColors, (THistoryColors{6, 5, 4, 3, 2}));
    // The strip's picture shows colour 1 at the left.
    ASSERT_TRUE(form->imgColHis->Picture().HasGraphic());
    EXPECT_EQ(form->imgColHis->Picture().Width(), 50);
    Mouse(form->imgColHis, WM_LBUTTONDOWN, 49, 5);
    Mouse(form->imgColHis, WM_LBUTTONUP, 49, 5);
    EXPECT_EQ(form->PenColor, 2);
    Mouse(form->imgColHis, WM_RBUTTONDOWN, 0, 5);
    EXPECT_EQ(form->FillColor, 6);
    Mouse(form->imgColHis, WM_LBUTTONDOWN, 55, 5);
    Mouse(form->imgColHis, WM_LBUTTONUP, 55, 5);
    EXPECT_EQ(form->PenColor, 2);
}

TEST_F(ToolFormTest, PenWidthAndFillStyleFollowTheirButtonsAndTheBox) {
    Click(form->WidthButtons[2]);
    EXPECT_EQ(form->PenWidth, 5);
    EXPECT_EQ(form->SpinEdit1->Value(), 5);
    EXPECT_TRUE(form->WidthButtons[2]->Down());
    EXPECT_FALSE(form->WidthButtons[0]->Down());
    form->SpinEdit1->SetValue(12);
    EXPECT_EQ(form->PenWidth, 12);
    EXPECT_TRUE(form->WidthButtons[2]->Down()); // the pressed button does not follow the box
    Click(form->FillStyleButtons[2]);
    EXPECT_EQ(form->FillStyle, 2);
    Click(form->FillStyleButtons[1]);
    EXPECT_EQ(form->FillStyle, 1);
    form->cbUseShadow->SetChecked(false);
    EXPECT_FALSE(form->UseShadow);
}

TEST_F(ToolFormTest, SlidersKeepTheirRangesAndReportChanges) {
    EXPECT_EQ(form->JvxSlider1->MinValue(), 25);
    EXPECT_EQ(form->JvxSlider1->MaxValue(), 1000);
    EXPECT_EQ(form->JvxSlider1->Increment(), 25);
    EXPECT_EQ(form->JvxSlider1->Value(), 100);
    // Without a document the zoom still reaches the status bar and the label.
    form->JvxSlider1->SetValue(5000);
    EXPECT_EQ(form->JvxSlider1->Value(), 1000);
    EXPECT_EQ(host.status[L"1"], L"Zoom (1,000%)");
    EXPECT_EQ(form->lblZoom->Caption(), L"1000%");
    // ... and the transparency changes nothing.
    form->JvxSlider2->SetValue(100);
    EXPECT_EQ(form->Transparency, 255);
    EXPECT_EQ(form->lblTrans->Caption(), L"255");

    TFakeDocument doc;
    doc.floating = true;
    doc.scale = 2.0;
    host.document = &doc;
    form->JvxSlider2->SetValue(99);
    EXPECT_EQ(form->Transparency, 99);
    EXPECT_EQ(doc.masterAlpha, 99);
    EXPECT_EQ(form->lblTrans->Caption(), L"99");
    form->JvxSlider1->SetValue(200); // the document's own scale: not written back
    EXPECT_EQ(doc.scaleWrites, 0);
    form->JvxSlider1->SetValue(150);
    EXPECT_EQ(doc.scale, 1.5);
    form->JvxSlider3->SetValue(-4);
    EXPECT_EQ(form->ShadowTransparency, 0);
    EXPECT_EQ(form->lblShadowTrans->Caption(), L"0");
}

TEST_F(ToolFormTest, StoredColoursArriveOnceAtTheFirstActivation) {
    host.stored = {{L"ForgColor", 0x0000FF}, {L"BackColor", 0x00FF00},     {L"DefForgColor", 0x111111},
                   {L"DefBackColor", -1},    {L"HistoryColor1", 0xAAAAAA}, {L"HistoryColor5", 0x555555}};
    form = CreateForm<TToolForm>(host);
    form->FormActivate(form.get());
    EXPECT_EQ(form->PenColor, 0x0000FF);
    EXPECT_EQ(form->FillColor, 0x00FF00);
    EXPECT_EQ(form->shDefaultPen->BrushColor(), 0x111111);
    EXPECT_EQ(form->shDefaultFill->BrushColor(), 0xFFFFFF); // not a colour: the default
    EXPECT_EQ(form->HistoryColors, (THistoryColors{0xAAAAAA, 0, 0, 0, 0x555555}));
    host.stored[L"ForgColor"] = 7;
    form->FormActivate(form.get());
    EXPECT_EQ(form->PenColor, 0x0000FF);
}

TEST_F(ToolFormTest, AnUnreadableStoreKeepsTheColoursNotYetRead) {
    host.stored = {{L"ForgColor", 0x0000FF}, {L"BackColor", 0x00FF00}, {L"DefForgColor", 0x111111}};
    host.failOn = L"DefForgColor";
    form = CreateForm<TToolForm>(host);
    form->FormActivate(form.get());
    EXPECT_EQ(form->PenColor, 0x0000FF);
    EXPECT_EQ(form->FillColor, 0x00FF00);
    EXPECT_EQ(form->shDefaultPen->BrushColor(), 0);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(form->imgColHis->Picture().HasGraphic());
}

namespace {
class StampFolderTest : public ToolFormTest {
protected:
    void SetUp() override {
        ToolFormTest::SetUp();
        // The picture codecs are COM objects, as in the program.
        comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        root = TempFolder() + L"tolvex-clips-" + std::to_wstring(GetTickCount());
        ForceDirectories(root + L"\\Arrows");
        ForceDirectories(root + L"\\Single");
        ForceDirectories(root + L"\\Locked");
        SaveBitmapToFile(TBitmap32(4, 2, Color32(255, 0, 0)), root + L"\\Arrows\\b.png", TImageFileType::Png,
                         90);
        SaveBitmapToFile(TBitmap32(3, 3, Color32(0, 0, 255)), root + L"\\Arrows\\A.bmp", TImageFileType::Bmp,
                         90);
        SaveBitmapToFile(TBitmap32(3, 3), root + L"\\Single\\only.gif", TImageFileType::Gif, 90);
        const std::string junk = "not a picture at all";
        WriteFileAtomic(root + L"\\Arrows\\broken.png",
                        {reinterpret_cast<const std::uint8_t*>(junk.data()), junk.size()});
        WriteFileAtomic(root + L"\\Arrows\\note.txt",
                        {reinterpret_cast<const std::uint8_t*>(junk.data()), junk.size()});
        lockedTook = SetFileAttributesW((root + L"\\Locked").c_str(),
                                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY) &&
                     GetFileAttributesW((root + L"\\Locked").c_str()) != FILE_ATTRIBUTE_DIRECTORY;
    }
    void TearDown() override {
        SetFileAttributesW((root + L"\\Locked").c_str(), FILE_ATTRIBUTE_DIRECTORY);
        for (const wchar_t* f : {L"\\Arrows\\b.png", L"\\Arrows\\A.bmp", L"\\Arrows\\broken.png",
                                 L"\\Arrows\\note.txt", L"\\Single\\only.gif"})
            DeleteFileW((root + f).c_str());
        for (const wchar_t* d : {L"\\Arrows", L"\\Single", L"\\Locked", L""})
            RemoveDirectoryW((root + d).c_str());
        if (comReady)
            CoUninitialize();
        ToolFormTest::TearDown();
    }
    std::wstring root;
    bool lockedTook = false;
    bool comReady = false;
};
} // namespace

TEST_F(StampFolderTest, TheStempButtonListsPlainGroupFoldersAndTheirReadablePictures) {
    form->ClipsFolder = root;
    Click(form->btnStemp);
    EXPECT_EQ(form->Tool, TToolCode::Stemp);
    EXPECT_EQ(ShownBars(), (Bars{L"Tool", L"Stemp", L"Transparency", L"Zoom"}));
    std::vector<std::wstring> groups = form->cbStemp->Items();
    if (lockedTook) {
        EXPECT_EQ(std::count(groups.begin(), groups.end(), L"Locked"), 0);
    }
    std::erase(groups, L"Locked");
    std::sort(groups.begin(), groups.end());
    EXPECT_EQ(groups, (std::vector<std::wstring>{L"Arrows", L"Single"}));
    ASSERT_EQ(form->cbStemp->ItemIndex(), 0);

    form->cbStemp->SetItemIndex(
        static_cast<int>(std::find(form->cbStemp->Items().begin(), form->cbStemp->Items().end(), L"Arrows") -
                         form->cbStemp->Items().begin()));
    // Sorted by name without regard to case; the damaged file and the text file are left out.
    ASSERT_EQ(form->StempList->Count(), 2);
    EXPECT_EQ(form->StempList->FileName(0), root + L"\\Arrows\\A.bmp");
    EXPECT_EQ(form->StempList->FileName(1), root + L"\\Arrows\\b.png");
    // Every thumbnail is stretched to its square frame.
    const TBitmap32& thumb = form->StempList->Thumbnail(1);
    EXPECT_EQ(thumb.Width(), form->StempList->ThumbSize());
    EXPECT_EQ(thumb.Height(), form->StempList->ThumbSize());
    EXPECT_EQ(thumb.Pixel(thumb.Width() - 1, thumb.Height() - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(form->GetSelectedStamp(), L"");
    Mouse(form->StempList, WM_LBUTTONDOWN, TThumbView::kThumbGap + 2, 10);
    Mouse(form->StempList, WM_LBUTTONUP, TThumbView::kThumbGap + 2, 10);
    EXPECT_EQ(form->GetSelectedStamp(), root + L"\\Arrows\\A.bmp");
}

TEST_F(StampFolderTest, TheFirstStempPressReadsTheFirstGroupOnce) {
    form->ClipsFolder = root;
    // A picture that appears in the group after the group change has listed it shows only
    // if the group is read a second time.
    std::wstring extra;
    int listed = -1;
    auto change = form->cbStemp->OnChange;
    form->cbStemp->OnChange = [&](TObject* sender) {
        change(sender);
        listed = form->StempList->Count();
        extra = form->StempList->Directory() + L"\\late.bmp";
        SaveBitmapToFile(TBitmap32(2, 2, Color32(0, 255, 0)), extra, TImageFileType::Bmp, 90);
    };
    Click(form->btnStemp);
    ASSERT_GE(listed, 0);
    EXPECT_EQ(form->StempList->Count(), listed);
    DeleteFileW(extra.c_str());
}

TEST_F(StampFolderTest, TheProgramFolderShipsThreeGroupsOfSquareStampsWithTransparency) {
    const char* dist = std::getenv("TOLVEX_DIST_DIR");
    ASSERT_NE(dist, nullptr);
    form->ClipsFolder = L"Z:" + std::wstring(dist, dist + std::char_traits<char>::length(dist)) + L"\\Clips";
    Click(form->btnStemp);
    std::vector<std::wstring> groups = form->cbStemp->Items();
    std::sort(groups.begin(), groups.end());
    ASSERT_EQ(groups, (std::vector<std::wstring>{L"Arrows", L"Marks", L"Numbers"}));
    const std::map<std::wstring, int> counts{{L"Arrows", 4}, {L"Marks", 4}, {L"Numbers", 5}};
    for (int g = 0; g < form->cbStemp->ItemCount(); ++g) {
        form->cbStemp->SetItemIndex(g);
        const std::wstring group = form->cbStemp->Items()[static_cast<std::size_t>(g)];
        ASSERT_EQ(form->StempList->Count(), counts.at(group)) << group;
        for (int i = 0; i < form->StempList->Count(); ++i) {
            TBitmap32 stamp;
            std::wstring error;
            ASSERT_TRUE(LoadImageFile(form->StempList->FileName(i), stamp, error)) << error;
            // Square, so the thumbnail shows it undistorted; clear at the corner, solid inside.
            EXPECT_EQ(stamp.Width(), stamp.Height());
            EXPECT_EQ(stamp.Pixel(0, 0) >> 24, 0u) << form->StempList->FileName(i);
            int solid = 0;
            for (int y = 0; y < stamp.Height(); ++y)
                for (int x = 0; x < stamp.Width(); ++x)
                    solid += (stamp.Pixel(x, y) >> 24) == 255;
            EXPECT_GT(solid, stamp.Width() * stamp.Height() / 8) << form->StempList->FileName(i);
        }
    }
}

TEST_F(StampFolderTest, AMissingClipsFolderLeavesTheGroupsAndThePicturesEmpty) {
    form->ClipsFolder = root + L"\\Nowhere";
    Click(form->btnStemp);
    EXPECT_EQ(form->cbStemp->ItemCount(), 0);
    EXPECT_EQ(form->StempList->Count(), 0);
    EXPECT_EQ(form->GetSelectedStamp(), L"");
    EXPECT_TRUE(errors.empty());
}

TEST_F(ToolFormTest, TheKoreanSectionTranslatesBarsButtonsAndSwatches) {
    const TScopedLanguageFile korean(L"ToolKorea.dat",
                                     "[ToolForm]\r\nCaption=\xEB\x8F\x84\xEA\xB5\xAC \xEC\xB0\xBD\r\n"
                                     "PenBar=\xED\x8E\x9C\r\nbtnPen=P|\xED\x8E\x9C\r\n"
                                     "shPen=c|\xED\x8E\x9C \xEC\x83\x89\r\ncbFrame=F\r\n");
    TSLanguage language(nullptr);
    language.SetFileName(korean.Name());
    language.Apply(*form);
    EXPECT_EQ(form->Caption(), L"도구 창");
    EXPECT_EQ(form->PenBar->Caption(), L"펜");
    EXPECT_EQ(form->btnPen->Hint(), L"펜");
    EXPECT_EQ(form->shPen->Hint(), L"펜 색");
    EXPECT_EQ(form->cbFrame->Caption(), L"F");
}

TEST_F(ToolFormTest, TheRealExitStoresTheToolWindowsColours) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
    auto main = CreateForm<TMainForm>();
    auto tool = CreateForm<TToolForm>(*main);
    ToolForm = tool.get();
    tool->SetPenColor(0x010203);
    tool->SetFillColor(0x040506);
    tool->shDefaultPen->SetBrushColor(0x070809);
    tool->AddHistoryColor(0x0A0B0C);
    main->StoreToolColors();
    EXPECT_EQ(main->ReadInteger(SettingName::kForgColor), 0x010203);
    EXPECT_EQ(main->ReadInteger(SettingName::kBackColor), 0x040506);
    EXPECT_EQ(main->ReadInteger(SettingName::kDefForgColor), 0x070809);
    EXPECT_EQ(main->ReadInteger(SettingName::kDefBackColor), 0xFFFFFF);
    EXPECT_EQ(main->ReadInteger(SettingName::kHistoryColor1), 0x0A0B0C);
    EXPECT_EQ(main->ReadInteger(SettingName::kHistoryColor2), 0);
    // The docked window takes the stored colours back at start-up.
    auto again = CreateForm<TToolForm>(*main);
    ToolForm = again.get();
    main->DockToolWindow();
    EXPECT_EQ(again->PenColor, 0x010203);
    EXPECT_EQ(again->HistoryColors[0], 0x0A0B0C);
    EXPECT_EQ(GetParent(again->Handle()), main->DockPanelLeft->Handle());
    EXPECT_TRUE(main->DockPanelLeft->Visible());
    EXPECT_EQ(main->DockPanelLeft->Width(), 190);
    ToolForm = nullptr;
    again.reset();
    tool.reset();
    main.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
}

TEST_F(ToolFormTest, TheLanguageSwitchTranslatesTheToolWindowToo) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
    const TScopedLanguageFile korean(L"Korea.dat",
                                     "[ToolForm]\r\nCaption=\xEB\x8F\x84\xEA\xB5\xAC \xEC\xB0\xBD\r\n"
                                     "ZoomBar=\xED\x99\x95\xEB\x8C\x80\r\n");
    const TScopedLanguageFile english(L"English.dat",
                                      "[ToolForm]\r\nCaption=Tool Window\r\nZoomBar=Zoom\r\n");
    auto main = CreateForm<TMainForm>();
    auto tool = CreateForm<TToolForm>(*main);
    ToolForm = tool.get();
    main->acToolKorea->Execute();
    EXPECT_EQ(tool->Caption(), L"도구 창");
    EXPECT_EQ(tool->ZoomBar->Caption(), L"확대");
    main->acToolEnglish->Execute();
    EXPECT_EQ(tool->Caption(), L"Tool Window");
    EXPECT_EQ(tool->ZoomBar->Caption(), L"Zoom");
    ToolForm = nullptr;
    tool.reset();
    main.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
}

TEST_F(ToolFormTest, ShowToolWindowBringsTheWindowBackIntoItsDockPlace) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
    auto main = CreateForm<TMainForm>();
    auto tool = CreateForm<TToolForm>(*main);
    ToolForm = tool.get();
    main->acToolShowTool->Execute(); // not docked yet: the command docks it
    EXPECT_EQ(GetParent(tool->Handle()), main->DockPanelLeft->Handle());
    ShowWindow(tool->Handle(), SW_HIDE);
    main->DockPanelLeft->SetVisible(false);
    main->acToolShowTool->Execute();
    EXPECT_TRUE(main->DockPanelLeft->Visible());
    EXPECT_TRUE(GetWindowLongW(tool->Handle(), GWL_STYLE) & WS_VISIBLE);
    ToolForm = nullptr;
    tool.reset();
    main.reset();
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
}
