#include "forms/Form.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "forms/Actions.h"
#include "forms/Application.h"
#include "forms/Controls.h"
#include "forms/Exceptions.h"
#include "forms/Fonts.h"
#include "forms/Menus.h"
#include "forms/Strings.h"

namespace {
constexpr wchar_t kFormClass[] = L"TolvexForm";
// Menu commands of the MDI frame's window list start here, far above our own ids.
constexpr UINT kFirstMDIChildId = 0xFF00;

DWORD StyleOf(const TFormDesign& d) {
    DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (d.Parent)
        return style | WS_CHILD;
    switch (d.Border) {
    case TBorderStyle::Sizeable:
        style |= WS_OVERLAPPEDWINDOW;
        break;
    case TBorderStyle::Dialog:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        break;
    case TBorderStyle::Single:
        style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case TBorderStyle::None:
        style |= WS_POPUP;
        break;
    case TBorderStyle::ToolWindow:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        break;
    case TBorderStyle::SizeToolWin:
        style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        break;
    }
    if (d.Style == TFormStyle::MDIChild)
        style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return style;
}

DWORD ExStyleOf(const TFormDesign& d) {
    DWORD ex = WS_EX_CONTROLPARENT;
    if (d.Parent)
        return ex;
    if (d.Border == TBorderStyle::Dialog)
        ex |= WS_EX_DLGMODALFRAME;
    if (d.Border == TBorderStyle::ToolWindow || d.Border == TBorderStyle::SizeToolWin)
        ex |= WS_EX_TOOLWINDOW;
    if (d.Style == TFormStyle::StayOnTop)
        ex |= WS_EX_TOPMOST;
    if (d.Style == TFormStyle::MDIChild)
        ex |= WS_EX_MDICHILD;
    if (d.ShowInTaskbar)
        ex |= WS_EX_APPWINDOW;
    return ex;
}

int ScreenLogPixelsY() {
    TWindowDC dc(nullptr);
    return dc ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : 96;
}
} // namespace

TFormDesign DialogDesign(std::wstring caption, int clientWidth, int clientHeight) {
    TFormDesign d;
    d.Caption = std::move(caption);
    d.Border = TBorderStyle::Dialog;
    d.Position = TPosition::ScreenCenter;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, StyleOf(d), FALSE, ExStyleOf(d));
    d.Width = outer.right - outer.left;
    d.Height = outer.bottom - outer.top;
    return d;
}

TForm::TForm(TForm* owner, std::wstring name, const TFormDesign& design)
    : TWindow(owner, std::move(name)), style_(design.Style), border_(design.Border),
      fontName_(design.FontName), fontHeight_(design.FontHeight), fontCharSet_(design.FontCharSet),
      frame_(design.MDIFrame) {
    CreateFontHandle();
    RegisterOwnClass(kFormClass, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                     design.Icon ? design.Icon : LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
    const DWORD style = StyleOf(design);
    const DWORD exStyle = ExStyleOf(design);
    int left = design.Left;
    int top = design.Top;
    if (design.Position == TPosition::ScreenCenter || design.Position == TPosition::OwnerFormCenter) {
        RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (design.Position == TPosition::OwnerFormCenter && owner && owner->Handle() && !design.Parent)
            GetWindowRect(owner->Handle(), &area);
        else
            SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        left = area.left + (area.right - area.left - design.Width) / 2;
        top = area.top + (area.bottom - area.top - design.Height) / 2;
    }
    if (style_ == TFormStyle::MDIChild) {
        if (!frame_ || !frame_->ClientHandle())
            throw Exception(L"A document window needs a frame");
        MDICREATESTRUCTW mcs{};
        mcs.szClass = kFormClass;
        mcs.szTitle = design.Caption.c_str();
        mcs.hOwner = GetModuleHandleW(nullptr);
        mcs.x = left;
        mcs.y = top;
        mcs.cx = design.Width;
        mcs.cy = design.Height;
        mcs.style = style;
        mcs.lParam = reinterpret_cast<LPARAM>(static_cast<TWindow*>(this));
        if (!SendMessageW(frame_->ClientHandle(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)) ||
            !Handle())
            RaiseLastOSError(L"Create document window");
    } else {
        HWND parent = design.Parent;
        if (!parent && owner && owner->Handle())
            parent = owner->Handle(); // owned top-level window: stays above its owner
        CreateOwnWindow(kFormClass, style, exStyle, parent, left, top, design.Width, design.Height, nullptr,
                        CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    }
    SetCaption(design.Caption);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    if (style_ == TFormStyle::MDIForm) {
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = kFirstMDIChildId;
        clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                                            WS_VSCROLL | WS_HSCROLL,
                                        0, 0, 100, 100, Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
        if (!clientHandle_)
            RaiseLastOSError(L"Create document area");
        // The document area is the system's window: it tells its double clicks only once
        // its class asks for them, and it passes them to the frame through this hook.
        SetClassLongPtrW(clientHandle_, GCL_STYLE,
                         static_cast<LONG_PTR>(GetClassLongPtrW(clientHandle_, GCL_STYLE) | CS_DBLCLKS));
        SetWindowSubclass(clientHandle_, ClientAreaProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
}

LRESULT CALLBACK TForm::ClientAreaProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR data) {
    if (msg == WM_LBUTTONDBLCLK) {
        auto* frame = reinterpret_cast<TForm*>(data);
        Guarded([&] {
            if (frame->OnDblClick)
                frame->OnDblClick(frame);
        });
        return 0;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(wnd, ClientAreaProc, 1);
    return DefSubclassProc(wnd, msg, wParam, lParam);
}

TForm::~TForm() {
    if (!destroyed_ && Handle())
        DestroyWindow(Handle());
    // Components go in reverse creation order, while this form still exists for them.
    while (!owned_.empty())
        owned_.pop_back();
}

void TFormDeleter::operator()(TForm* form) const {
    if (!form)
        return;
    form->DoDestroy();
    delete form;
}

TForm* TForm::FromHandle(HWND wnd) {
    return dynamic_cast<TForm*>(TWindow::FromHandle(wnd));
}

std::wstring TForm::Caption() const {
    return WindowText();
}

void TForm::SetCaption(const std::wstring& caption) {
    if (Handle())
        SetWindowTextW(Handle(), caption.c_str());
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::DoActivate() {
    if (const TNotifyEvent handler = OnActivate)
        handler(this);
}

void TForm::DoDestroy() {
    if (destroyed_)
        return;
    if (Application)
        Application->RemoveIdleHandlers(this);
    if (OnDestroy)
        Guarded([&] { OnDestroy(this); });
    destroyed_ = true;
    if (Handle())
        DestroyWindow(Handle());
}

void TForm::HandleDestroyed() {
    if (tooltip_)
        DestroyWindow(tooltip_);
    tooltip_ = nullptr;
}

void TForm::Show() {
    if (Visible()) {
        if (IsIconic(Handle()))
            ShowWindow(Handle(), SW_RESTORE);
        return;
    }
    if (OnShow)
        OnShow(this);
    ShowWindow(Handle(), SW_SHOW);
    if (style_ == TFormStyle::MDIChild && frame_)
        SendMessageW(frame_->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(Handle()), 0);
    Realign();
}

void TForm::Hide() {
    if (!Visible())
        return;
    if (OnHide)
        OnHide(this);
    ShowWindow(Handle(), SW_HIDE);
}

bool TForm::Visible() const {
    return Handle() && IsWindowVisible(Handle());
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    if (!canClose)
        return;
    const bool isMain = Application && Application->MainForm == this;
    TCloseAction action =
        isMain ? TCloseAction::Free
               : (style_ == TFormStyle::MDIChild ? TCloseAction::Minimize : TCloseAction::Hide);
    if (OnClose)
        OnClose(this, action);
    if (inModal_) {
        if (action != TCloseAction::None && ModalResult == mrNone)
            ModalResult = mrCancel;
        return;
    }
    switch (action) {
    case TCloseAction::None:
        break;
    case TCloseAction::Hide:
        Hide();
        break;
    case TCloseAction::Minimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case TCloseAction::Free:
        if (isMain) {
            Application->Terminate();
            PostQuitMessage(0);
        } else {
            // The active document window hands the activation on to the next one at once, so
            // that it is never the active one while it waits for its release.
            if (style_ == TFormStyle::MDIChild && frame_ && frame_->ActiveMDIChild() == this)
                SendMessageW(frame_->ClientHandle(), WM_MDINEXT, reinterpret_cast<WPARAM>(Handle()), 0);
            Hide();
            if (Application)
                PostMessageW(Application->UtilWindow(), kReleaseFormMessage, 0,
                             reinterpret_cast<LPARAM>(this));
        }
        break;
    }
}

int TForm::ShowModal() {
    if (!Application)
        throw Exception(L"No application");
    // Disable every other enabled top-level window of this thread while the form runs.
    struct Ctx {
        HWND self;
        std::vector<HWND> disabled;
    } ctx{Handle(), {}};
    struct Enum {
        static BOOL CALLBACK Proc(HWND wnd, LPARAM lParam) {
            auto* c = reinterpret_cast<Ctx*>(lParam);
            if (wnd != c->self && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
                try {
                    c->disabled.push_back(wnd);
                    EnableWindow(wnd, FALSE);
                } catch (...) {
                    return FALSE; // out of memory: leave the rest enabled
                }
            }
            return TRUE;
        }
    };
    EnumThreadWindows(GetCurrentThreadId(), Enum::Proc, reinterpret_cast<LPARAM>(&ctx));
    inModal_ = true;
    ModalResult = mrNone;
    ++Application->ModalLevel;
    // However the run ends, also by an exception from showing the form (which goes on to
    // the caller), the other windows are enabled again and the form is hidden.
    struct TModalEnd {
        TForm* Form;
        std::vector<HWND>& Disabled;
        ~TModalEnd() {
            --Application->ModalLevel;
            for (HWND wnd : Disabled)
                if (IsWindow(wnd))
                    EnableWindow(wnd, TRUE);
            Form->inModal_ = false;
            if (Form->Handle()) {
                // Activate the owner before hiding, so the activation does not go elsewhere.
                if (HWND owner = GetWindow(Form->Handle(), GW_OWNER))
                    SetActiveWindow(owner);
                Guarded([this] { Form->Hide(); });
            }
        }
    } modalEnd{this, ctx.disabled};
    Show();
    SetActiveWindow(Handle());
    while (ModalResult == mrNone && !Application->Terminated() && Handle())
        Application->HandleMessage(true);
    return ModalResult;
}

TComponent* TForm::FindComponent(std::wstring_view name) const {
    if (name.empty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->Name(), name))
            return c;
    return nullptr;
}

void TForm::RemoveComponent(TComponent* c) {
    std::erase(components_, c);
}

void TForm::CreateFontHandle() {
    LOGFONTW lf{};
    lf.lfHeight = fontHeight_;
    lf.lfCharSet = fontCharSet_;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, fontName_.c_str(), LF_FACESIZE);
    font_.Reset(CreateFontKeepingFace(lf));
}

void TForm::SetFont(const std::wstring& name, int height) {
    fontName_ = name;
    fontHeight_ = height;
    CreateFontHandle();
    if (!Handle())
        return;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    for (TComponent* c : components_)
        if (auto* w = dynamic_cast<TControl*>(c); w && w->Handle())
            SendMessageW(w->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
}

int TForm::FontSize() const {
    return -MulDiv(fontHeight_, 72, ScreenLogPixelsY());
}

void TForm::SetFontSize(int points) {
    SetFont(fontName_, -MulDiv(points, ScreenLogPixelsY(), 72));
}

void TForm::ApplyFontTo(HWND child) const {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
}

void TForm::SetMenu(TMainMenu* menu) {
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
    if (menu && clientHandle_) {
        // The "Window" menu of an MDI frame lists the document windows.
        if (HMENU windowMenu = menu->WindowMenu())
            SendMessageW(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu->Handle()),
                         reinterpret_cast<LPARAM>(windowMenu));
    }
    DrawMenuBar(Handle());
}

bool TForm::IsShortCut(TShortCut shortCut) {
    if (shortCut == 0)
        return false;
    for (TComponent* c : components_) {
        if (auto* action = dynamic_cast<TAction*>(c); action && action->ShortCut == shortCut) {
            action->Update();
            if (!action->Enabled())
                return false;
            action->Execute();
            return true;
        }
    }
    return false;
}

bool TForm::PreTranslateMessage(MSG& msg) {
    if (clientHandle_ && TranslateMDISysAccel(clientHandle_, &msg))
        return true;
    // Top-level forms, owned ones included (GetParent would name their owner), get the
    // dialog keys: Tab between controls, Enter for the default button, Esc to cancel.
    const bool child = (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_CHILD) != 0;
    if (style_ != TFormStyle::MDIForm && style_ != TFormStyle::MDIChild && !child &&
        (msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && IsDialogMessageW(Handle(), &msg))
        return true;
    return false;
}

std::vector<TForm*> TForm::MDIChildren() const {
    std::vector<TForm*> children;
    if (!clientHandle_)
        return children;
    for (HWND w = GetWindow(clientHandle_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (TForm* f = FromHandle(w); f && GetWindow(w, GW_OWNER) == nullptr)
            children.push_back(f);
    return children;
}

TForm* TForm::ActiveMDIChild() const {
    if (!clientHandle_)
        return nullptr;
    return FromHandle(reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0)));
}

void TForm::Realign() {
    if (!Handle())
        return;
    RECT client;
    GetClientRect(Handle(), &client);
    clientRemainder_ = AlignChildControls(this, this, client);
    if (clientHandle_)
        MoveWindow(clientHandle_, clientRemainder_.left, clientRemainder_.top,
                   clientRemainder_.right - clientRemainder_.left,
                   clientRemainder_.bottom - clientRemainder_.top, TRUE);
}

void TForm::UpdateControlHint(TControl* control) {
    if (!control->Handle())
        return;
    if (!tooltip_) {
        tooltip_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                            0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!tooltip_)
            return;
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 400);
        if (Application)
            SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, Application->HintHidePause());
    }
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = Handle();
    ti.uId = reinterpret_cast<UINT_PTR>(control->Handle());
    std::wstring text = control->Hint();
    ti.lpszText = text.data();
    // One tool per control: the old one goes, a non-empty hint comes back as a new one.
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    if (!text.empty())
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool TForm::ActivationMessage(WPARAM wParam) {
    if (LOWORD(wParam) != WA_INACTIVE) {
        DoActivate();
    } else if (const TNotifyEvent handler = OnDeactivate) {
        handler(this);
    }
    return true;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        if (style_ != TFormStyle::MDIChild)
            ActivationMessage(wParam);
        break;
    case WM_MDIACTIVATE:
        if (style_ == TFormStyle::MDIChild) {
            const bool activating = reinterpret_cast<HWND>(lParam) == Handle();
            ActivationMessage(activating ? WA_ACTIVE : WA_INACTIVE);
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) {
            OnDblClick(this);
            return 0;
        }
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        // The owner-drawn items of a pop-up menu this form shows.
        if (wParam == 0 && TMenuItem::HandleOwnerDraw(msg, lParam))
            return TRUE;
        break;
    case WM_SIZE:
        if (style_ == TFormStyle::MDIForm) {
            Realign();
            if (OnResize)
                OnResize(this);
            return 0; // the frame places its document area itself
        }
        Realign();
        if (OnResize)
            OnResize(this);
        break;
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) < kFirstMDIChildId) {
            if (TMenuItem* item = TMenuItem::FindByCommand(LOWORD(wParam))) {
                item->Click();
                return 0;
            }
        }
        // Esc in a modal form (the dialog manager's cancel command) cancels it.
        if (inModal_ && lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) == IDCANCEL) {
            ModalResult = mrCancel;
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        TMenuItem::RefreshPopup(reinterpret_cast<HMENU>(wParam));
        break;
    case WM_DESTROY:
        if (Application && Application->MainForm == this)
            PostQuitMessage(0);
        break;
    default:
        break;
    }
    return TWindow::WndProc(msg, wParam, lParam);
}

LRESULT TForm::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (style_ == TFormStyle::MDIForm)
        return DefFrameProcW(Handle(), clientHandle_, msg, wParam, lParam);
    if (style_ == TFormStyle::MDIChild)
        return DefMDIChildProcW(Handle(), msg, wParam, lParam);
    return TWindow::DefaultHandler(msg, wParam, lParam);
}
