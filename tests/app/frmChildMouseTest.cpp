// The mouse tools of a document, driven with mouse messages on its image view: which
// buttons each tool takes, the pen's colours and undo states, shapes and their previews,
// shadows, the fill, the selections of Select, Highlight, Text and Stemp, and the autoscroll.
#include <windows.h>

#include <functional>
#include <string>

#include "../forms/FormsTestSupport.h"
#include "DocumentTestSupport.h"
#include "core/ShapeGeometry.h"
#include "core/StoredValues.h"
#include "editor/frmChild.h"
#include "editor/frmText.h"
#include "editor/frmTool.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/Dialogs.h"
#include "forms/Graphics.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "forms/Timer.h"
#include "shell/frmMain.h"

namespace {
constexpr TColor kGround = 0x00FF00; // green: the picture before any tool
constexpr TColor kPen = 0x0000FF;    // red
constexpr TColor kFill = 0xFF0000;   // blue

class MouseToolsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        form = CreateForm<TMainForm>();
        form->JvFormStorage1.SetStoredValue(SettingName::kIsSound, false);
        form->JvFormStorage1.SetStoredValue(SettingName::kOutputType, 0);
        ShutterSoundHook = [] {};
        MessageDlgHook = [this](const std::wstring& m, TMsgDlgType, TMsgDlgButtons) {
            messages.push_back(m);
            return mrNo;
        };
        tool = CreateForm<TToolForm>(*form);
        ToolForm = tool.get();
        tool->SetPenColor(kPen);
        tool->SetFillColor(kFill);
        tool->UseShadow = false;
    }
    void TearDown() override {
        MessageDlgHook = [](const std::wstring&, TMsgDlgType, TMsgDlgButtons) { return mrNo; };
        form->acFileCloseAll->Execute();
        PumpUntil([this] { return form->MDIChildren().empty(); });
        ToolForm = nullptr;
        tool.reset();
        form.reset();
        PumpPending();
        ShutterSoundHook = nullptr;
        MessageDlgHook = nullptr;
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tolvex");
        FormsTest::TearDown();
    }

    // A new document of w x h in the ground colour, its history still empty.
    TChildForm* Document(int w, int h) {
        doc = CaptureDocument(*form, w, h, Color32(kGround));
        return doc;
    }
    TBitmap32& Image() { return doc->ImgView32->Bitmap(); }
    TColor32 At(int x, int y) { return Image().Pixel(x, y); }

    // Mouse messages at image point (x, y) of the document's view, at scale 1.
    LPARAM Spot(int x, int y) {
        const TPoint p = doc->ImgView32->BitmapToControl({x, y});
        return MAKELPARAM(p.X, p.Y);
    }
    void Send(UINT msg, WPARAM keys, int x, int y) {
        SendMessageW(doc->ImgView32->Handle(), msg, keys, Spot(x, y));
    }
    // A left drag through the points; keys are those held during the moves.
    void Drag(std::initializer_list<TPoint> points, WPARAM keys = MK_LBUTTON) {
        const TPoint* p = points.begin();
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p->X, p->Y);
        for (++p; p != points.end(); ++p)
            Send(WM_MOUSEMOVE, keys, p->X, p->Y);
        Send(WM_LBUTTONUP, 0, (points.end() - 1)->X, (points.end() - 1)->Y);
    }
    void RightDrag(TPoint from, TPoint to) {
        Send(WM_RBUTTONDOWN, MK_RBUTTON, from.X, from.Y);
        Send(WM_MOUSEMOVE, MK_RBUTTON, to.X, to.Y);
        Send(WM_RBUTTONUP, 0, to.X, to.Y);
    }
    int Changed(const TBitmap32& before) {
        int n = 0;
        for (int y = 0; y < before.Height(); ++y)
            for (int x = 0; x < before.Width(); ++x)
                n += Image().Pixel(x, y) != before.Pixel(x, y);
        return n;
    }

    // Runs step once each text dialog is up (inside the release that opens it), and counts
    // the dialogs; one left open for 10 s is cancelled.
    void AnswerTextDialogs(std::function<void(TTextForm&)> step) {
        answer = std::move(step);
        seen = nullptr; // a new dialog may take the place of the last one
        if (answerTimer)
            return;
        answerTimer = form->Make<TTimer>(L"", 20, true);
        answerTimer->OnTimer = [this](TObject*) {
            if (!TextForm || !IsWindowVisible(TextForm->Handle()))
                return;
            if (seen != TextForm) {
                seen = TextForm;
                shownAt = GetTickCount();
                ++dialogs;
                answer(*TextForm);
            } else if (GetTickCount() - shownAt > deadlines::kStateTicks) {
                TextForm->ModalResult = mrCancel;
            }
        };
    }

    TFormPtr<TMainForm> form;
    TFormPtr<TToolForm> tool;
    TChildForm* doc = nullptr;
    std::vector<std::wstring> messages;
    int dialogs = 0;
    std::function<void(TTextForm&)> answer;
    TTimer* answerTimer = nullptr;
    const TTextForm* seen = nullptr;
    DWORD shownAt = 0;
};
} // namespace

TEST_F(MouseToolsTest, RightDragsWithTheLeftOnlyToolsDoNothing) {
    Document(40, 30);
    const TBitmap32 before = Image();
    for (const TToolCode code : {TToolCode::Select, TToolCode::Highlight, TToolCode::Text, TToolCode::Stemp,
                                 TToolCode::Rectangle, TToolCode::Line, TToolCode::DoubleArrow}) {
        tool->SetTool(code);
        RightDrag({5, 5}, {30, 20});
        EXPECT_EQ(Changed(before), 0) << static_cast<int>(code);
        EXPECT_EQ(doc->History->Count(), 0) << static_cast<int>(code);
        EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
        EXPECT_FALSE(doc->Dragging);
    }
}

TEST_F(MouseToolsTest, APressInsideTheFloatingSelectionMovesItAndRunsNoTool) {
    Document(40, 30);
    doc->SelectAll();
    doc->SelectionBand->SetLocation(TFloatRect{10, 10, 20, 20});
    const TBitmap32 before = Image();
    const int states = doc->History->Count();
    tool->Tool = TToolCode::Pen;
    Drag({{15, 15}, {18, 17}, {20, 19}});
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->GetFloatingLayer()->Location(), (TFloatRect{15, 14, 25, 24}));
    EXPECT_EQ(Changed(before), 0);
    EXPECT_EQ(doc->History->Count(), states);
}

TEST_F(MouseToolsTest, TheDropperPicksOnceAndHandsBackThePreviousTool) {
    Document(40, 30);
    Image().SetPixel(3, 4, Color32(1, 2, 3));
    Image().SetPixel(6, 7, Color32(9, 8, 7, 0)); // the colour without its alpha
    tool->SetTool(TToolCode::Line);
    tool->SetTool(TToolCode::Dropper);
    Drag({{3, 4}});
    EXPECT_EQ(tool->PenColor, 0x030201);
    EXPECT_EQ(tool->Tool, TToolCode::Line);
    tool->SetTool(TToolCode::Dropper);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 6, 7);
    Send(WM_RBUTTONUP, 0, 6, 7);
    EXPECT_EQ(tool->FillColor, 0x070809);
    EXPECT_EQ(tool->Tool, TToolCode::Line);
    // Released outside the image it picks nothing, and the tool still goes back.
    tool->SetTool(TToolCode::Dropper);
    Drag({{5, 5}, {45, 35}});
    EXPECT_EQ(tool->PenColor, 0x030201);
    EXPECT_EQ(tool->Tool, TToolCode::Line);
    EXPECT_EQ(doc->History->Count(), 0);
}

TEST_F(MouseToolsTest, ThePenRecordsTwoStatesDrawsOpaqueAndShiftSwitchesToTheFillColour) {
    Document(40, 30);
    Image().Clear(Color32(0, 255, 0, 0)); // a transparent picture: what is drawn must be opaque
    tool->SetTool(TToolCode::Pen);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, 20, 20);
    Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(doc->History->Count(), 2);
    EXPECT_EQ(At(12, 5), Color32(kPen));
    EXPECT_EQ(At(20, 12), Color32(kFill));
    EXPECT_EQ(At(12, 12), Color32(0, 255, 0, 0)); // untouched pixels keep their alpha
    EXPECT_EQ(tool->HistoryColors[0], kFill);
    EXPECT_EQ(tool->HistoryColors[1], kPen);
    // The eraser is the reverse: the fill colour under the left button alone.
    tool->SetTool(TToolCode::Erase);
    Drag({{35, 2}, {35, 28}});
    EXPECT_EQ(At(35, 15), Color32(kFill));
}

TEST_F(MouseToolsTest, ShapePreviewsAreTakenBackAndTheShapeIsDrawnOpaque) {
    Document(80, 60);
    Image().Clear(Color32(0, 255, 0, 0));
    tool->SetPenWidth(5);
    for (int code = 9; code <= 18; ++code) {
        tool->Tool = static_cast<TToolCode>(code);
        const TBitmap32 before = Image();
        // Far out and back: the far preview, heads and all, must leave no trace.
        Drag({{10, 10}, {70, 50}, {25, 20}});
        const TRect kept = PreviewRect({10, 10}, {25, 20}, PreviewMargin(code, 5), 80, 60);
        int stray = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x)
                if ((x < kept.Left || x >= kept.Right || y < kept.Top || y >= kept.Bottom) &&
                    At(x, y) != before.Pixel(x, y))
                    ++stray;
        EXPECT_EQ(stray, 0) << code;
        EXPECT_GT(Changed(before), 0) << code;
        Image() = before;
    }
    // A drawn rectangle outline is the pen colour, opaque; its inside is left as it was.
    tool->Tool = TToolCode::Rectangle;
    tool->SetPenWidth(1);
    Drag({{5, 5}, {30, 20}});
    EXPECT_EQ(At(5, 10), Color32(kPen));
    EXPECT_EQ(At(29, 10), Color32(kPen));
    EXPECT_EQ(At(15, 12), Color32(0, 255, 0, 0));
    // Line and fill: the inside takes the fill colour.
    tool->SetFillStyle(1);
    Drag({{40, 5}, {60, 20}});
    EXPECT_EQ(At(50, 12), Color32(kFill));
}

TEST_F(MouseToolsTest, TheArrowShadowKeepsItsHeads) {
    Document(80, 60);
    Image().Clear(Color32(255, 255, 255));
    tool->UseShadow = true;
    tool->ShadowTransparency = 255;
    tool->Tool = TToolCode::SingleArrow;
    Drag({{10, 30}, {60, 30}});
    // Below the lower wing, one pixel right and down of the head: only the shadow lies there.
    EXPECT_EQ(At(53, 34), Color32(0, 0, 0));
    EXPECT_EQ(At(55, 30), Color32(kPen));
    EXPECT_EQ(At(30, 31), Color32(0, 0, 0)); // the shaft's shadow
    EXPECT_EQ(At(5, 5), Color32(255, 255, 255));
}

TEST_F(MouseToolsTest, TheFillToolFillsAnOpaquePicture) {
    Document(20, 10);
    Image().Clear(Color32(0, 255, 0, 0));
    for (int y = 0; y < 10; ++y)
        Image().SetPixel(10, y, Color32(0, 0, 0, 0)); // a wall
    tool->SetTool(TToolCode::Fill);
    Drag({{3, 3}});
    EXPECT_EQ(At(0, 0), Color32(kPen));
    EXPECT_EQ(At(9, 9), Color32(kPen));
    EXPECT_EQ(At(15, 5), Color32(0, 255, 0, 0));
    EXPECT_EQ(doc->History->Count(), 2);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 15, 5);
    Send(WM_RBUTTONUP, 0, 15, 5);
    EXPECT_EQ(At(19, 0), Color32(kFill));
}

TEST_F(MouseToolsTest, SelectLiftsTheDraggedRectangleAndAnEmptyOneLiftsNothing) {
    Document(40, 30);
    Image().SetPixel(12, 8, Color32(1, 2, 3, 0));
    tool->SetTool(TToolCode::Select);
    Drag({{30, 20}, {20, 12}, {10, 5}});
    const TBitmapLayer* layer = doc->GetFloatingLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->Location(), (TFloatRect{10, 5, 30, 20}));
    EXPECT_EQ(layer->Bitmap().Pixel(2, 3), Color32(1, 2, 3)); // lifted opaque
    EXPECT_EQ(layer->Bitmap().Pixel(0, 0), Color32(kGround)); // no dashes left in it
    EXPECT_EQ(At(10, 5), Color32(kFill));
    EXPECT_EQ(At(29, 19), Color32(kFill));
    EXPECT_EQ(At(30, 20), Color32(kGround));
    EXPECT_EQ(doc->History->Count(), 1);

    // Wholly outside the image: the press merged the selection and recorded, nothing more.
    const int states = doc->History->Count();
    Drag({{45, 35}, {60, 50}});
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->History->Count(), states + 2); // the press's state and the merge's
    EXPECT_EQ(At(39, 29), Color32(kGround));
    EXPECT_TRUE(messages.empty());
    // A drag back to its own column leaves no dashed rectangle behind.
    const TBitmap32 before = Image();
    Drag({{5, 5}, {15, 15}, {5, 20}});
    EXPECT_EQ(Changed(before), 0);
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
}

TEST_F(MouseToolsTest, HighlightFloatsThePenColourAtTheToolTransparency) {
    Document(40, 30);
    tool->SetTool(TToolCode::Highlight);
    tool->Transparency = 100;
    Drag({{5, 5}, {25, 15}});
    const TBitmapLayer* layer = doc->GetFloatingLayer();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->Bitmap().Width(), 20);
    EXPECT_EQ(layer->Bitmap().Pixel(3, 3), Color32(kPen));
    EXPECT_EQ(layer->MasterAlpha(), 100);
    // A new pen colour under the Highlight tool repaints it.
    tool->SetPenColor(0x00FFFF);
    EXPECT_EQ(doc->GetFloatingLayer()->Bitmap().Pixel(3, 3), Color32(0x00FFFF));
}

TEST_F(MouseToolsTest, TextDragsFloatATextOnOkAndNothingOnCancel) {
    Document(120, 60);
    tool->SetTool(TToolCode::Text);
    tool->SetFillStyle(1);
    AnswerTextDialogs([](TTextForm& d) { d.ModalResult = mrCancel; });
    Drag({{10, 10}, {100, 50}});
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->History->Count(), 1);

    AnswerTextDialogs([](TTextForm& d) {
        d.Memo1->SetText(L"Hi");
        d.cbBackColor->SetChecked(true);
        d.ModalResult = mrOk;
    });
    Drag({{10, 10}, {100, 50}});
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(tool->TextContent, L"Hi");
    const TBitmapLayer* text = doc->GetFloatingLayer();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Location(), (TFloatRect{10, 10, 100, 50}));
    EXPECT_EQ(tool->TextContent, L"Hi");
    EXPECT_TRUE(tool->cbFrame->Checked());
    // Line and fill with a background: the fill colour inside the frame.
    EXPECT_EQ(text->Bitmap().Pixel(85, 35), Color32(tool->FillColor));

    // A double-click on it reopens the dialog and redraws the same layer in place.
    AnswerTextDialogs([](TTextForm& d) {
        d.Memo1->SetText(L"Again");
        d.ModalResult = mrOk;
    });
    const int states = doc->History->Count();
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 50, 30);
    Send(WM_LBUTTONUP, 0, 50, 30);
    EXPECT_EQ(dialogs, 3);
    EXPECT_EQ(doc->GetFloatingLayer(), text);
    EXPECT_EQ(tool->TextContent, L"Again");
    EXPECT_EQ(doc->History->Count(), states);
    // The frame took no drag from that press: a move without a button leaves it in place.
    Send(WM_MOUSEMOVE, 0, 70, 40);
    EXPECT_EQ(text->Location(), (TFloatRect{10, 10, 100, 50}));

    // Just line: a clear ground, the framed text in the pen colour with the mask as alpha.
    tool->SetFillStyle(0);
    const TColor32 pen = Color32(tool->PenColor);
    EXPECT_EQ(text->Bitmap().Pixel(0, 20), pen);
    EXPECT_EQ(text->Bitmap().Pixel(85, 35), pen & 0x00FFFFFFu);
    // Resizing the frame renders the text anew at the new size.
    TFloatRect loc{10, 10, 40, 30};
    doc->SelectionResizing(nullptr, text->Location(), loc, TRBDragState::dsSizeBR, 0);
    EXPECT_EQ(text->Bitmap().Width(), 30);
    EXPECT_EQ(text->Bitmap().Pixel(29, 10), pen);
}

TEST_F(MouseToolsTest, OnlyTheTextToolsOwnLayerIsRenderedAsText) {
    Document(40, 30);
    tool->SetTool(TToolCode::Text);
    tool->TextContent = L"Text";
    doc->SelectAll();
    const TBitmap32 picture = doc->GetFloatingLayer()->Bitmap();
    // Colours, fill style, pen width and the frame check all re-render under the Text tool.
    tool->SetPenColor(0x123456);
    tool->SetFillColor(0x654321);
    tool->SetFillStyle(2);
    tool->SetPenWidth(3);
    tool->cbFrame->SetChecked(!tool->cbFrame->Checked());
    TFloatRect loc{0, 0, 30, 20};
    doc->SelectionResizing(nullptr, TFloatRect{0, 0, 40, 30}, loc, TRBDragState::dsSizeBR, 0);
    AnswerTextDialogs([](TTextForm& d) { d.ModalResult = mrCancel; });
    doc->ImgView32DblClick(nullptr);
    PumpQuietPeriod();
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->GetFloatingLayer()->Bitmap(), picture);
    EXPECT_EQ(dialogs, 0);
}

TEST_F(MouseToolsTest, TheStampToolWithoutAStampPlacesNothing) {
    Document(40, 30);
    tool->SetTool(TToolCode::Stemp);
    ASSERT_TRUE(tool->GetSelectedStamp().empty());
    Drag({{20, 15}});
    EXPECT_EQ(doc->GetFloatingLayer(), nullptr);
    EXPECT_EQ(doc->ImgView32->LayerCount(), 0u);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(MouseToolsTest, TheStatusShowsThePositionAndTheDraggedSize) {
    Document(2000, 30);
    tool->SetTool(TToolCode::Rectangle);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 2, 3);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 1234, 20);
    EXPECT_EQ(form->StatusBar1->PanelText(3), L"Size (W:1,232,H:17)");
    Send(WM_LBUTTONUP, 0, 1234, 20);
    EXPECT_EQ(TChildForm::PositionText({-3, 1500}), L"Position (X:-3,Y:1,500)");
}

TEST_F(MouseToolsTest, ADocumentClosedWhileASelectDragScrollsItIsFreedAfterTheLoop) {
    Document(3000, 3000);
    tool->SetTool(TToolCode::Select);
    RECT view{};
    GetWindowRect(doc->ImgView32->Handle(), &view);
    const POINT outside{view.left - 30, view.top - 30};
    // The scrolling loop reads the pointer's place: it is there before the drag starts.
    ASSERT_TRUE(PumpUntil([&] {
        POINT at{};
        if (GetCursorPos(&at) && at.x == outside.x && at.y == outside.y)
            return true;
        SetCursorPos(outside.x, outside.y);
        return false;
    }));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 10, 10);
    // The close arrives inside the scrolling loop that the move out of the view starts.
    PostMessageW(doc->Handle(), WM_CLOSE, 0, 0);
    SendMessageW(doc->ImgView32->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -40));
    EXPECT_TRUE(PumpUntil([this] { return form->ActiveDocument() == nullptr; }));
    doc = nullptr;
}
