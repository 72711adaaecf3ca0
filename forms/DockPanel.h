#pragma once
// The dock areas at the left and right edges of a form, as users of docked tool panes know
// them: a panel that holds one form under a caption strip (its title and a close button), a
// splitter at its inner edge, and the drag of either caption that floats the form as a tool
// window owned by the host or docks it again, on either side. A host's dock panels share
// the one form: the panel that holds it is the side where it docked last, so a closed or
// floating form comes back there. Panel and splitter hide while the form floats, is closed
// or docks on the other side; a floating form hides with its host and comes back with it.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "core/DockLayout.h"
#include "core/Geometry.h"
#include "forms/PaintedControl.h"

class TDockSplitter;
class TDragOutline;

enum class TDockState : std::uint8_t { Docked = 0, Floating = 1, Closed = 2 };

class TDockPanel : public TPaintedControl<TPanel> {
public:
    static constexpr int kCaptionHeight = 20;

    // A hidden panel of owner, the host form; its alignment (left or right) is its side.
    TDockPanel(TForm* owner, std::wstring name);
    ~TDockPanel() override;

    TForm* DockClient() const { return client_; }
    TDockState State() const { return state_; }
    TDockSplitter* Splitter() const { return splitter_; }
    TDockSide Side() const;
    // The host's dock panel that holds this form (the side where it docked last), or null.
    TDockPanel* HolderOf(const TForm* client) const;

    // Docks the form into the panel without its caption and border; panel and splitter show.
    // A form that another dock panel of the host holds moves over, its floating place with it.
    void ManualDock(TForm* client);
    // Floats the docked form as a tool window owned by the host, at this outer rectangle
    // (screen coordinates), brought onto a monitor when it would show on none.
    void Float(const RECT& outer);
    // Shows the form again: a closed one in its dock place, a floating one where it floats.
    void ShowDockForm();
    // Closes the form, as the close button of the strip does.
    void CloseDockForm();

    // The strip and its close button, in the panel's client coordinates.
    RECT CaptionRect() const;
    RECT CloseButtonRect() const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseCaptureLost() override;

private:
    friend class TDockSplitter;
    struct TDrag {
        bool Armed = false;
        bool Active = false;
        POINT Start{};
        POINT Grab{}; // the cursor's offset from the pane's top-left corner
        SIZE Size{};  // outer size of the floating pane
        HWND Capture = nullptr;
    };

    static LRESULT CALLBACK ClientProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR refData);
    static LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR refData);
    bool ClientMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HostShowing(bool show);
    void WatchHostRaise();
    void KeepAboveHost();
    void ClientShowing(bool show);
    void ReleaseClient();

    void ArmDrag(POINT screen, POINT grab, SIZE outer, HWND capture);
    void TrackDrag(POINT screen);
    void EndDrag(POINT screen, bool apply);
    void ToggleFloating();
    // Whether a pane released at this screen point docks on this panel's side.
    bool DocksAt(POINT screenPoint) const;
    // The host's dock panel where a pane released at this screen point docks, or null.
    TDockPanel* DockTargetAt(POINT screenPoint) const;
    static LRESULT CALLBACK EscapeHook(int code, WPARAM wParam, LPARAM lParam);
    // The outer rectangle the form floats in when it leaves the dock without a drag: where
    // it floated last, or beside its dock place.
    RECT UndockedRect() const;
    void ShowDockSite(bool visible);
    void PlaceClient();
    // The band of the host where the panels live, and the panel's place in it (screen).
    TRect DockBand() const;
    RECT DockTargetRect() const;
    // The outer size of the floating form for a client area of the docked pane's size.
    SIZE FloatingSize() const;

    TForm* client_ = nullptr;
    TDockSplitter* splitter_ = nullptr;
    TDockState state_ = TDockState::Closed;
    std::unique_ptr<TDragOutline> outline_;
    TDrag drag_;
    RECT floatingRect_{};
    bool hasFloatingRect_ = false;
    bool hiddenWithHost_ = false;
    bool switching_ = false;
    bool closePressed_ = false;
    int raiseChecks_ = 0;
    HWND host_ = nullptr;
    HHOOK escapeHook_ = nullptr; // watches the keyboard while a caption drag is armed
};

// The splitter at the dock panel's inner edge (right of a left panel, left of a right one),
// aligned as its panel: dragging it resizes the panel, never below the minimum width of the
// panel or of the document area beside it.
class TDockSplitter : public TPaintedControl<TPanel> {
public:
    static constexpr int kWidth = 4;

    TDockSplitter(TForm* owner, std::wstring name, TDockPanel* panel);
    ~TDockSplitter() override;

protected:
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseCaptureLost() override;

private:
    friend class TDockPanel;
    TDockPanel* panel_;
    bool dragging_ = false;
    int grab_ = 0;
};
