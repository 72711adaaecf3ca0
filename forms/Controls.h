#pragma once
// Visual child controls: caption, hint, visibility, enabled state, bounds and alignment
// inside their parent, the form's font, and the click event.
#include <cstdint>
#include <string>

#include "forms/Window.h"

enum class TAlign : std::uint8_t { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4, Client = 5 };

class TControl : public TWindow {
public:
    // parent: the form or a container control whose window holds this control.
    TControl(TForm* owner, std::wstring name, TWindow* parent);

    TWindow* Parent() const { return parent_; }

    // The control's text through its set-text and get-text messages.
    virtual std::wstring Caption() const;
    virtual void SetCaption(const std::wstring& caption);
    const std::wstring& Hint() const { return hint_; }
    virtual void SetHint(const std::wstring& hint);

    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    RECT BoundsRect() const; // in the parent's client coordinates
    void SetBounds(int left, int top, int width, int height);
    int Width() const;
    int Height() const;
    void SetWidth(int width);
    void SetHeight(int height);

    TNotifyEvent OnClick;

protected:
    // Sizes this control's own aligned children inside its client area.
    void RealignParent();
    std::wstring hint_;

private:
    TWindow* parent_;
    TAlign align_ = TAlign::None;
};

// Lays out the aligned child controls of a window inside a client rectangle: top, bottom,
// left and right ones stacked in creation order from the edges, then the client one in
// what is left. Returns what is left.
RECT AlignChildControls(TForm* owner, const TWindow* parent, RECT client);

// A plain container with an optional raised or lowered edge. With AutoHeight it takes the
// summed height of its visible top-aligned children (the bar area of the main window).
class TPanel : public TControl {
public:
    TPanel(TForm* owner, std::wstring name, TWindow* parent, bool autoHeight = false);
    ~TPanel() override;
    // Lays out the aligned children; a child whose size changed calls it.
    virtual void Realign();
    // The colour its background is painted in (a COLORREF); the button face until set.
    void SetColor(COLORREF color);

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool autoHeight_;
    HBRUSH background_ = nullptr;
};
