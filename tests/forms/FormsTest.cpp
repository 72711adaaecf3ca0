#include <windows.h>

#include <memory>

#include "FormsTestSupport.h"
#include "forms/Actions.h"
#include "forms/ComCtrls.h"
#include "forms/Controls.h"
#include "forms/Exceptions.h"
#include "forms/Form.h"
#include "forms/Menus.h"
#include "forms/Timer.h"

namespace {
TFormDesign Design(const wchar_t* caption) {
    TFormDesign d;
    d.Caption = caption;
    d.Width = 300;
    d.Height = 200;
    return d;
}

class TTestForm : public TForm {
public:
    explicit TTestForm(TForm* owner = nullptr) : TForm(owner, L"TestForm", Design(L"Test")) {}
    std::function<void()> OnPaintMessage;
    // A message whose handling fails.
    UINT FailOn = 0;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_APP + 5 && OnPaintMessage)
            OnPaintMessage();
        if (FailOn != 0 && msg == FailOn)
            throw Exception(L"Broken handler");
        return TForm::WndProc(msg, wParam, lParam);
    }
};
} // namespace

TEST_F(FormsTest, AnExceptionInAHandlerShowsTheErrorBoxAndTheLoopGoesOn) {
    auto form = CreateForm<TTestForm>();
    int handled = 0;
    form->OnPaintMessage = [&] {
        ++handled;
        if (handled == 1)
            throw Exception(L"Broken handler");
    };
    PostMessageW(form->Handle(), WM_APP + 5, 0, 0);
    PostMessageW(form->Handle(), WM_APP + 5, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return handled == 2; }));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"Broken handler");
}

TEST_F(FormsTest, AfterAFailedHandlerACloseDoesNothingLogOffGoesOnAndOtherMessagesGetTheirDefault) {
    auto form = CreateForm<TTestForm>();
    form->Show();
    const HWND wnd = form->Handle();
    // The close box: the window and its contents stay.
    form->OnCloseQuery = [](TObject*, bool&) { throw Exception(L"Cannot save"); };
    SendMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(wnd));
    // Alt+F4 and the system menu: no close follows a failed system command.
    form->OnCloseQuery = nullptr;
    form->FailOn = WM_SYSCOMMAND;
    SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE | 0x0002, 0); // the low bits are the system's own
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_EQ(errors.size(), 3u);

    // Log-off is never refused by a failing handler; other messages still reach the
    // default procedure (the text is set all the same).
    form->FailOn = WM_QUERYENDSESSION;
    EXPECT_EQ(SendMessageW(wnd, WM_QUERYENDSESSION, 0, 0), TRUE);
    form->FailOn = WM_SETTEXT;
    SetWindowTextW(wnd, L"Still set");
    EXPECT_EQ(form->Caption(), L"Still set");
    EXPECT_EQ(errors.size(), 5u);
}

TEST_F(FormsTest, ExceptionsFromTimersAndIdleWorkAreCaughtTooAndAbortIsSilent) {
    auto form = CreateForm<TTestForm>();
    auto* timer = form->Make<TTimer>(L"Timer1", 1, true);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 1)
            throw std::runtime_error("timer failed");
        if (ticks == 2)
            throw EAbort();
        timer->SetEnabled(false);
    };
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], L"timer failed");
}

TEST_F(FormsTest, AnActionRunsItsUpdateTestBeforeExecutingAndStaysQuietWhenDisabled) {
    auto form = CreateForm<TTestForm>();
    auto* list = form->Make<TActionList>();
    auto* action = form->Make<TAction>(L"acTest", L"1. File", L"Test", MakeShortCut('T', false, true, false));
    list->Add(action);
    bool allowed = false;
    int runs = 0;
    action->OnUpdate = [&](TObject*) { action->SetEnabled(allowed); };
    action->OnExecute = [&](TObject* sender) {
        EXPECT_EQ(sender, action);
        ++runs;
    };
    EXPECT_FALSE(action->Execute());
    EXPECT_FALSE(form->IsShortCut(MakeShortCut('T', false, true, false)));
    allowed = true;
    EXPECT_TRUE(form->IsShortCut(MakeShortCut('T', false, true, false)));
    EXPECT_FALSE(form->IsShortCut(MakeShortCut('T', true, true, false)));
    EXPECT_EQ(runs, 1);
    // Idle processing keeps the state current.
    allowed = false;
    App().DoIdle();
    EXPECT_FALSE(action->Enabled());
}

TEST_F(FormsTest, MenuItemsAndToolButtonsFollowTheirAction) {
    auto form = CreateForm<TTestForm>();
    auto* action =
        form->Make<TAction>(L"acSave", L"1. File", L"Save...", MakeShortCut('S', false, true, false));
    int runs = 0;
    action->OnExecute = [&](TObject*) { ++runs; };
    auto* menu = form->Make<TMainMenu>();
    auto* file = menu->Items()->Add(form->Make<TMenuItem>(L"File1", L"File"));
    TMenuItem* item = file->AddAction(action);
    menu->Rebuild();
    form->SetMenu(menu);

    wchar_t text[64] = {};
    GetMenuStringW(file->SubMenu(), item->Command(), text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Save...\tCtrl+S");
    action->SetEnabled(false);
    EXPECT_TRUE(GetMenuState(file->SubMenu(), item->Command(), MF_BYCOMMAND) & MF_GRAYED);

    auto* bar = form->Make<TToolBar>(L"ToolBar1", form.get(), nullptr);
    bar->AddButton(action);
    bar->AddButton(nullptr);
    EXPECT_FALSE(bar->ButtonEnabled(0));
    action->SetEnabled(true);
    EXPECT_TRUE(bar->ButtonEnabled(0));

    // A menu command arrives as WM_COMMAND with the item's id.
    SendMessageW(form->Handle(), WM_COMMAND, item->Command(), 0);
    EXPECT_EQ(runs, 1);
}

TEST_F(FormsTest, AlignedControlsStackFromTheEdgesAndTheClientControlTakesTheRest) {
    auto form = CreateForm<TTestForm>();
    auto* top = form->Make<TPanel>(L"Top", form.get());
    top->SetHeight(30);
    top->SetAlign(TAlign::Top);
    auto* bottom = form->Make<TPanel>(L"Bottom", form.get());
    bottom->SetHeight(20);
    bottom->SetAlign(TAlign::Bottom);
    auto* left = form->Make<TPanel>(L"Left", form.get());
    left->SetWidth(50);
    left->SetAlign(TAlign::Left);
    auto* client = form->Make<TPanel>(L"Client", form.get());
    client->SetAlign(TAlign::Client);
    RECT rc;
    GetClientRect(form->Handle(), &rc);
    const RECT c = client->BoundsRect();
    EXPECT_EQ(c.left, 50);
    EXPECT_EQ(c.top, 30);
    EXPECT_EQ(c.right, rc.right);
    EXPECT_EQ(c.bottom, rc.bottom - 20);
    // Hiding the top bar gives its room to the others.
    top->SetVisible(false);
    EXPECT_EQ(client->BoundsRect().top, 0);
    EXPECT_EQ(left->BoundsRect().top, 0);
}

TEST_F(FormsTest, ComponentsAreFoundByNameWithoutRegardToCase) {
    auto form = CreateForm<TTestForm>();
    auto* action = form->Make<TAction>(L"acFileOpen", L"1. File", L"Open...");
    EXPECT_EQ(form->FindComponent(L"ACFILEOPEN"), action);
    EXPECT_EQ(form->FindComponent(L"acFileOpen2"), nullptr);
    EXPECT_EQ(form->FindComponent(L""), nullptr);
}

TEST_F(FormsTest, AModalFormReturnsItsResultAndReenablesItsOwner) {
    auto owner = CreateForm<TTestForm>();
    owner->Show();
    auto dialog = CreateForm<TTestForm>(owner.get());
    auto* timer = dialog->Make<TTimer>(L"Timer1", 20, true);
    timer->OnTimer = [&](TObject*) {
        EXPECT_FALSE(IsWindowEnabled(owner->Handle()));
        dialog->ModalResult = mrOk;
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(dialog->Visible());
}

TEST_F(FormsTest, CloseAsksTheCloseQueryAndHidesAnOrdinaryForm) {
    auto form = CreateForm<TTestForm>();
    form->Show();
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->Visible());
    allow = true;
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormsTest, TheStatusBarKeepsItsPanelTextsAndIgnoresOtherIndexes) {
    auto form = CreateForm<TTestForm>();
    auto* bar = form->Make<TStatusBar>(L"StatusBar1", form.get(), std::vector<int>{160, 90, 150, 120});
    bar->SetPanelText(1, L"Zoom (100%)");
    bar->SetPanelText(7, L"nowhere");
    EXPECT_EQ(bar->PanelText(1), L"Zoom (100%)");
    EXPECT_EQ(bar->PanelCount(), 4);
}

TEST_F(FormsTest, AnErrorWhileAModalFormOpensReachesTheCallerAndLeavesTheOwnerUsable) {
    auto owner = CreateForm<TTestForm>();
    owner->Show();
    auto dialog = CreateForm<TTestForm>(owner.get());
    dialog->OnShow = [](TObject*) { throw Exception(L"cannot open"); };
    EXPECT_THROW(dialog->ShowModal(), Exception);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_EQ(App().ModalLevel, 0);
}

TEST_F(FormsTest, AnActivationHandlerThatClearsItselfLivesUntilItReturns) {
    auto form = CreateForm<TTestForm>();
    std::weak_ptr<int> watched;
    std::vector<bool> aliveAfterClearing;
    // The handler alone holds the pointer, as the once-only start-up handlers hold their work.
    const auto arm = [&] {
        auto held = std::make_shared<int>(1);
        watched = held;
        form->OnActivate = [held, self = form.get(), log = &aliveAfterClearing, weak = &watched](TObject*) {
            // Taken off the handler first: the next line clears it.
            TForm* const target = self;
            std::vector<bool>* const out = log;
            const std::weak_ptr<int>* const w = weak;
            target->OnActivate = nullptr;
            out->push_back(!w->expired());
        };
    };
    arm();
    SendMessageW(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    // The forms that start their work by a message of their own raise it the same way.
    arm();
    form->DoActivate();
    EXPECT_EQ(aliveAfterClearing, (std::vector<bool>{true, true}));
    EXPECT_TRUE(watched.expired());
}
