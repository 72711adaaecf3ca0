#pragma once
// A collapsible bar: a panel with a bold caption header that folds the bar to its header
// when clicked and unfolds it to its expanded height on the next click. The bar's
// controls sit below the header, in the panel.
#include <windows.h>

#include "forms/Handles.h"
#include "forms/PaintedControl.h"

class TCollapsibleBar : public TPaintedControl<TPanel> {
public:
    static constexpr int kHeaderHeight = 24;

    TCollapsibleBar(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption,
                    int expandedHeight);

    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& caption) override;
    bool Collapsed() const { return collapsed_; }
    // Folds or unfolds the bar; OnCollapsedChange follows a real change.
    void SetCollapsed(bool collapsed);
    int ExpandedHeight() const { return expandedHeight_; }

    TNotifyEvent OnCollapsedChange;

protected:
    void Paint(HDC dc) override;
    void MouseDown(TMouseButton button, int x, int y) override;

private:
    std::wstring caption_;
    int expandedHeight_;
    bool collapsed_ = false;
    TGdiObject boldFont_;
};
