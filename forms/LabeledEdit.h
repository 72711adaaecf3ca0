#pragma once
// An edit box with its own label attached above it; the label moves and shows with it.
#include <windows.h>

#include <memory>
#include <string>

#include "forms/Controls.h"
#include "forms/Label.h"

class TLabeledEdit : public TControl {
public:
    TLabeledEdit(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& labelCaption = {});
    ~TLabeledEdit() override;

    TLabel* EditLabel() const { return label_.get(); }
    // Sets the label's text and keeps its bottom edge above the edit box.
    void SetLabelCaption(const std::wstring& caption);
    std::wstring Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }

    TNotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WORD code, WORD id) override;

private:
    void PlaceLabel();
    std::unique_ptr<TLabel> label_;
};
