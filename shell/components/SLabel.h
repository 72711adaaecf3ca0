#pragma once
// A label that reports the mouse pointer moving onto and off it.
#include "forms/Label.h"

class TSLabel : public TLabel {
public:
    TSLabel(TForm* owner, std::wstring name, TWindow* parent, const std::wstring& caption = {});

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void NotifyMouseEnter() override;
    void NotifyMouseLeave() override;
    // Fire the events; hover looks of derived labels hook in here.
    virtual void MouseEnter();
    virtual void MouseLeave();
};
