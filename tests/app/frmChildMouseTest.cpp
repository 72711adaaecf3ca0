// The mouse tools of a document, driven with mouse messages on its image view: which
// buttons each tool takes, the pen's colours and undo states, shapes and their previews,
// shadows, the fill, the selections of Select, Highlight, Text and Stemp, and the autoscroll.
#include <windows.h>

#include <functional>
#include <string>

#include "../forms/FormsTestSupport.h"
#include "../forms/ScratchFolder.h"
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
#include "forms/ImageCodecs.h"
#include "forms/Slider.h"
#include "forms/StdCtrls.h"
#include "forms/ThumbView.h"
#include "forms/Timer.h"
#include "shell/frmMain.h"

namespace {
constexpr TColor kGround = 0x00FF00; // green: the picture before any tool
constexpr TColor kPen = 0x0000FF;    // red
constexpr TColor kFill = 0xFF0000;   // blue

// Points the temporary folder at one where a file stands in the undo folder's place, so
// that no state can be written (as in a full temporary folder); puts it back afterwards.
class TBlockedUndoFolder {
public:
    TBlockedUndoFolder() : scratch_(L"tolvex-blocked-") {
        const DWORD size = GetEnvironmentVariableW(L"TMP", nullptr, 0);
        hadTmp_ = size != 0;
        if (hadTmp_) {
            oldTmp_.resize(size);
            oldTmp_.resize(GetEnvironmentVariableW(L"TMP", oldTmp_.data(), size));
        }
        CloseHandle(CreateFileW(scratch_.File(L"~Vrim").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        SetEnvironmentVariableW(L"TMP", scratch_.File(L"").c_str());
    }
    ~TBlockedUndoFolder() { SetEnvironmentVariableW(L"TMP", hadTmp_ ? oldTmp_.c_str() : nullptr); }
    TBlockedUndoFolder(const TBlockedUndoFolder&) = delete;
    TBlockedUndoFolder& operator=(const TBlockedUndoFolder&) = delete;

private:
    TScratchFolder scratch_;
    bool hadTmp_ = false;
    std::wstring oldTmp_;
};

class MouseToolsTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        form = QuietMainForm();
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

TEST_F(MouseToolsTest, ASelectDragOutOfTheViewScrollsItAndAClosedDocumentIsFreedAfterTheLoop) {
    Document(3000, 3000);
    tool->SetTool(TToolCode::Select);
    // Scrolled into the picture, so that the pointer up and left of the view scrolls back.
    doc->ImgView32->Scroll(200, 200);
    const TPoint from = doc->ImgView32->ScrollPosition();
    ASSERT_EQ(from, (TPoint{200, 200}));
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
    // Inside the loop: once the view has scrolled a few steps up and left, the document is
    // closed; without a scroll it is closed after the deadline all the same.
    TPoint scrolled = from;
    const DWORD started = GetTickCount();
    auto* watch = form->Make<TTimer>(L"", 20, true);
    watch->OnTimer = [&](TObject*) {
        if (!doc || !form->ActiveDocument())
            return;
        scrolled = doc->ImgView32->ScrollPosition();
        if ((scrolled.X <= from.X - 3 && scrolled.Y <= from.Y - 3) ||
            GetTickCount() - started > deadlines::kStateTicks) {
            watch->SetEnabled(false);
            PostMessageW(doc->Handle(), WM_CLOSE, 0, 0);
        }
    };
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 205, 205);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 210, 210);
    // The move out of the view starts the loop; the close arrives inside it.
    SendMessageW(doc->ImgView32->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -40));
    watch->SetEnabled(false);
    EXPECT_LE(scrolled.X, from.X - 3);
    EXPECT_LE(scrolled.Y, from.Y - 3);
    EXPECT_TRUE(PumpUntil([this] { return form->ActiveDocument() == nullptr; }));
    doc = nullptr;
}

TEST_F(MouseToolsTest, AStateThatCannotBeWrittenStillMarksTheChangeAndAPressThatCannotRecordDoesNothing) {
    Document(40, 30);
    tool->SetTool(TToolCode::Pen);
    const TBitmap32 before = Image();
    {
        const TBlockedUndoFolder blocked;
        // The press cannot record the untouched picture: it says so and does nothing more.
        Drag({{5, 5}, {20, 5}, {20, 20}});
        EXPECT_EQ(errors.size(), 1u);
        EXPECT_EQ(Changed(before), 0);
        EXPECT_FALSE(doc->Dragging);
        EXPECT_EQ(doc->BackupBitmap, nullptr);
        EXPECT_EQ(doc->History->Count(), 0);
    }
    doc->PushHistory();
    doc->SetModified(false); // as after a save
    {
        const TBlockedUndoFolder blocked;
        // The stroke's state cannot be written: the stroke stays, marked, and the error is told.
        Drag({{5, 5}, {20, 5}});
        EXPECT_EQ(At(12, 5), Color32(kPen));
        EXPECT_TRUE(doc->Modified);
        EXPECT_EQ(doc->Caption().substr(0, 1), L"*");
        EXPECT_EQ(errors.size(), 2u);
        EXPECT_FALSE(doc->Dragging);
        EXPECT_EQ(doc->History->Count(), 1);
    }
}

TEST_F(MouseToolsTest, AMouseCaptureTakenByAnotherWindowEndsTheDragKeepingStrokesAndTakingPreviewsBack) {
    Document(80, 60);
    // A window of the test's own takes the mouse, as a message box or Alt+Tab would.
    const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    tool->SetTool(TToolCode::Pen);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 5);
    SetCapture(other);
    // The stroke is kept and recorded, as at a release.
    EXPECT_FALSE(doc->Dragging);
    EXPECT_EQ(doc->History->Count(), 2);
    EXPECT_EQ(At(12, 5), Color32(kPen));
    // The mouse only hovers now: nothing more is drawn.
    const TBitmap32 stroke = Image();
    Send(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_EQ(Changed(stroke), 0);
    ReleaseCapture();

    // A shape's preview is taken back and nothing is placed, not even by a late release.
    tool->SetTool(TToolCode::Rectangle);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 30);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 60, 50);
    ASSERT_GT(Changed(stroke), 0);
    SetCapture(other);
    EXPECT_EQ(Changed(stroke), 0);
    EXPECT_FALSE(doc->Dragging);
    EXPECT_EQ(doc->BackupBitmap, nullptr);
    Send(WM_LBUTTONUP, 0, 60, 50);
    EXPECT_EQ(Changed(stroke), 0);
    EXPECT_EQ(doc->History->Count(), 2);
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(MouseToolsTest, APenColourChangeUnderHighlightRepaintsOnlyTheHighlightsOwnRectangle) {
    Document(40, 30);
    Image().SetPixel(3, 3, Color32(1, 2, 3));
    tool->SetTool(TToolCode::Highlight);
    Drag({{5, 5}, {25, 15}});
    ASSERT_NE(doc->GetFloatingLayer(), nullptr);
    // Select All merges the highlight and floats the whole picture: a picture, not a highlight.
    doc->SelectAll();
    const TBitmapLayer* layer = doc->GetFloatingLayer();
    ASSERT_NE(layer, nullptr);
    const TBitmap32 picture = layer->Bitmap();
    ASSERT_EQ(picture.Pixel(3, 3), Color32(1, 2, 3));
    const int states = doc->History->Count();
    tool->SetPenColor(0x00FFFF);
    EXPECT_EQ(doc->GetFloatingLayer(), layer);
    EXPECT_EQ(layer->Bitmap(), picture);
    EXPECT_EQ(layer->MasterAlpha(), 255);
    EXPECT_EQ(doc->History->Count(), states);
}

TEST_F(MouseToolsTest, MoveScrollsWithTheMouseAndZoomStepsByFiftyBetweenItsEnds) {
    Document(3000, 3000);
    const HWND view = doc->ImgView32->Handle();
    tool->SetTool(TToolCode::Move);
    // View coordinates: the picture follows the mouse, 20 left and 10 up.
    SendMessageW(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    SendMessageW(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 90));
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(80, 90));
    EXPECT_EQ(doc->ImgView32->ScrollPosition(), (TPoint{20, 10}));
    EXPECT_EQ(doc->ImgView32->ControlToBitmap({80, 90}), (TPoint{100, 100}));
    EXPECT_EQ(doc->History->Count(), 0);

    tool->SetTool(TToolCode::Zoom);
    Drag({{5, 5}});
    EXPECT_EQ(tool->JvxSlider1->Value(), 150);
    EXPECT_DOUBLE_EQ(doc->Scale(), 1.5);
    tool->JvxSlider1->SetValue(980);
    Drag({{5, 5}});
    Drag({{5, 5}});
    EXPECT_EQ(tool->JvxSlider1->Value(), 1000);
    EXPECT_DOUBLE_EQ(doc->Scale(), 10.0);
    tool->JvxSlider1->SetValue(60);
    Send(WM_RBUTTONDOWN, MK_RBUTTON, 1, 1);
    Send(WM_RBUTTONUP, 0, 1, 1);
    EXPECT_EQ(tool->JvxSlider1->Value(), 25);
    EXPECT_DOUBLE_EQ(doc->Scale(), 0.25);
    EXPECT_EQ(doc->History->Count(), 0);
}

TEST_F(MouseToolsTest, AStampFloatsCentredOnTheReleasePoint) {
    const TScratchFolder clips(L"tolvex-clips-");
    CreateDirectoryW(clips.File(L"Marks").c_str(), nullptr);
    SaveBitmapToFile(TBitmap32(7, 5, Color32(0x123456)), clips.File(L"Marks\\dot.bmp"), TImageFileType::Bmp,
                     85);
    tool->ClipsFolder = clips.File(L"").substr(0, clips.File(L"").size() - 1);
    tool->FillStampGroups();
    ASSERT_GT(tool->StempList->Count(), 0);
    tool->StempList->SetSelected(0);
    Document(40, 30);
    tool->SetTool(TToolCode::Stemp);
    // Pressed at one point and released at another: the release is the centre.
    Drag({{5, 5}, {20, 15}});
    const TBitmapLayer* stamp = doc->GetFloatingLayer();
    ASSERT_NE(stamp, nullptr);
    EXPECT_EQ(stamp->Location(), (TFloatRect{16.5, 12.5, 23.5, 17.5}));
    EXPECT_EQ(stamp->Bitmap().Pixel(3, 2), Color32(0x123456));
    EXPECT_EQ(At(20, 15), Color32(kGround));
    EXPECT_TRUE(doc->Modified);
}

TEST_F(MouseToolsTest, FillStyleTwoDrawsTheInsideOnlyOverItsShadow) {
    Document(80, 60);
    Image().Clear(Color32(255, 255, 255));
    tool->SetTool(TToolCode::Rectangle);
    tool->SetFillStyle(2);
    tool->SetPenWidth(5);
    tool->UseShadow = true;
    tool->ShadowTransparency = 255;
    Drag({{10, 10}, {40, 30}});
    // No outline: the fill colour up to the corner; the shadow, moved by half the pen,
    // shows right of and below it.
    EXPECT_EQ(At(10, 10), Color32(kFill));
    EXPECT_EQ(At(25, 20), Color32(kFill));
    EXPECT_EQ(At(42, 20), Color32(0, 0, 0));
    EXPECT_EQ(At(25, 31), Color32(0, 0, 0));
    EXPECT_EQ(At(42, 11), Color32(255, 255, 255));
    EXPECT_EQ(At(5, 5), Color32(255, 255, 255));
    EXPECT_EQ(doc->History->Count(), 2);
}
