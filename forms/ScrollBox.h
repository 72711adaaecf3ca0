#pragma once
// A panel that shows one content control at its full height and scrolls it vertically
// when the panel is shorter: a scroll bar appears only then, and the content always takes
// the panel's width beside it.
#include <windows.h>

#include "forms/Controls.h"

class TScrollBox : public TPanel {
public:
    static constexpr int kLineStep = 20;

    TScrollBox(TForm* owner, std::wstring name, TWindow* parent);

    // The control that scrolls; a child of this panel.
    void SetContent(TControl* content);
    // How far the content is scrolled up, in pixels.
    int Position() const { return position_; }
    void ScrollTo(int position);
    void Realign() override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateScrollBar();
    TControl* content_ = nullptr;
    int position_ = 0;
    int wheelRest_ = 0;
    bool realigning_ = false;
};
