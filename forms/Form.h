#pragma once
// Forms: top-level windows, MDI frames and MDI children, and modal dialogs. A form owns
// its components (found by name, without regard to case), its font and its hint tooltip,
// and raises the events its handlers are bound to.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/ShortCut.h"
#include "forms/Handles.h"
#include "forms/Window.h"

class TControl;
class TMainMenu;

enum class TFormStyle : std::uint8_t { Normal = 0, MDIForm = 1, MDIChild = 2, StayOnTop = 3 };
enum class TBorderStyle : std::uint8_t {
    Sizeable = 0,
    Dialog = 1,
    Single = 2,
    None = 3,
    ToolWindow = 4,
    SizeToolWin = 5
};
enum class TPosition : std::uint8_t { Designed = 0, ScreenCenter = 1, OwnerFormCenter = 2, Default = 3 };
enum class TCloseAction : std::uint8_t { None = 0, Hide = 1, Free = 2, Minimize = 3 };

// Results of a modal form and of message boxes.
constexpr int mrNone = 0;
constexpr int mrOk = IDOK;
constexpr int mrCancel = IDCANCEL;
constexpr int mrAbort = IDABORT;
constexpr int mrRetry = IDRETRY;
constexpr int mrIgnore = IDIGNORE;
constexpr int mrYes = IDYES;
constexpr int mrNo = IDNO;

// The designed properties of a form.
struct TFormDesign {
    std::wstring Caption;
    int Left = CW_USEDEFAULT;
    int Top = CW_USEDEFAULT;
    int Width = 400; // outer size
    int Height = 300;
    TFormStyle Style = TFormStyle::Normal;
    TBorderStyle Border = TBorderStyle::Sizeable;
    TPosition Position = TPosition::Designed;
    std::wstring FontName = L"MS Sans Serif";
    int FontHeight = -11;
    // The character set the font is asked in; the face wins where the set would replace it.
    BYTE FontCharSet = DEFAULT_CHARSET;
    bool ShowInTaskbar = false; // a main window shows its own taskbar button
    HWND Parent = nullptr;      // for a form placed inside another window (a docked form)
    TForm* MDIFrame = nullptr;  // for an MDI child
    HICON Icon = nullptr;
};

// The design of a fixed-size dialog centred on the screen, from the size of its client area.
TFormDesign DialogDesign(std::wstring caption, int clientWidth, int clientHeight);

class TForm : public TWindow {
public:
    TForm(TForm* owner, std::wstring name, const TFormDesign& design);
    ~TForm() override;

    static TForm* FromHandle(HWND wnd);

    std::wstring Caption() const;
    void SetCaption(const std::wstring& caption);

    // Events, bound by each form to its handlers (FormCreate, FormActivate ...).
    TNotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnResize, OnDestroy;
    std::function<void(TObject* sender, bool& canClose)> OnCloseQuery;
    std::function<void(TObject* sender, TCloseAction& action)> OnClose;
    // A double click on the form, or on the empty document area of a document frame.
    TNotifyEvent OnDblClick;

    // Raises OnCreate; the creator calls it once the form object is complete.
    void DoCreate();
    // Raises OnDestroy and destroys the window; the form deleter calls it.
    void DoDestroy();
    // Raises OnActivate: at the window's activation, and from forms that start their work
    // by a message of their own. The handler runs from a copy, so that one that clears
    // itself (start-up work done once) lives on until it returns.
    void DoActivate();

    void Show();
    void Hide();
    bool Visible() const;
    // Asks OnCloseQuery, then OnClose; hides (or, for the main form, ends the program).
    void Close();
    // Shows the form modally: the other windows of the program are disabled until
    // ModalResult is set; returns it.
    int ShowModal();
    int ModalResult = mrNone;

    // Components in creation order, and the lookup by name used by the language files.
    const std::vector<TComponent*>& Components() const { return components_; }
    TComponent* FindComponent(std::wstring_view name) const;
    // Creates a component owned by this form.
    template <class T, class... A> T* Make(A&&... args) {
        auto c = std::make_unique<T>(this, std::forward<A>(args)...);
        T* p = c.get();
        owned_.push_back(std::move(c));
        return p;
    }

    // The form's font; child controls get it when created and when it changes.
    const std::wstring& FontName() const { return fontName_; }
    int FontHeight() const { return fontHeight_; }
    void SetFont(const std::wstring& name, int height);
    // Font size in points from and to the height at the screen's resolution.
    int FontSize() const;
    void SetFontSize(int points);
    HFONT FontHandle() const { return static_cast<HFONT>(font_.Get()); }

    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    // A key combination the form's actions or menus know; runs it and returns true.
    virtual bool IsShortCut(TShortCut shortCut);
    // The form whose shortcuts also work while this one is active, as long as that form is
    // enabled (no modal dialog open): the host of a floating tool pane, set by the dock area.
    TForm* ShortCutHost = nullptr;
    // Keyboard handling before translation (dialog navigation, MDI keys).
    virtual bool PreTranslateMessage(MSG& msg);

    // MDI frame: the client window and the document windows in child order.
    HWND ClientHandle() const { return clientHandle_; }
    std::vector<TForm*> MDIChildren() const;
    TForm* ActiveMDIChild() const;
    TFormStyle FormStyle() const { return style_; }

    // Lays out the aligned child controls (and an MDI frame's client window).
    void Realign();
    // Called by a control whose hint changed.
    void UpdateControlHint(TControl* control);
    // Sets the font of a newly created child window.
    void ApplyFontTo(HWND child) const;

    // The form's client rectangle left after the aligned controls.
    RECT ClientRemainder() const { return clientRemainder_; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void HandleDestroyed() override;

private:
    friend class TComponent;
    void AddComponent(TComponent* c) { components_.push_back(c); }
    void RemoveComponent(TComponent* c);
    void CreateFontHandle();
    bool ActivationMessage(WPARAM wParam);
    // The document area's hook: its double clicks become the frame's.
    static LRESULT CALLBACK ClientAreaProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR data);

    TFormStyle style_;
    TBorderStyle border_;
    std::vector<TComponent*> components_;
    std::vector<std::unique_ptr<TComponent>> owned_;
    std::wstring fontName_;
    int fontHeight_;
    BYTE fontCharSet_;
    TGdiObject font_;
    HWND tooltip_ = nullptr;
    HWND clientHandle_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TForm* frame_ = nullptr;
    RECT clientRemainder_{};
    bool destroyed_ = false;
    bool inModal_ = false;
};

// Deletes a form the way its design expects: OnDestroy first, then the object.
struct TFormDeleter {
    void operator()(TForm* form) const;
};
template <class T> using TFormPtr = std::unique_ptr<T, TFormDeleter>;
// Creates a form and raises its OnCreate.
template <class T, class... A> TFormPtr<T> CreateForm(A&&... args) {
    TFormPtr<T> form(new T(std::forward<A>(args)...));
    form->DoCreate();
    return form;
}
