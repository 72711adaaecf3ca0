#pragma once
// An image that reports the mouse pointer moving onto and off it.
#include "forms/Image.h"

class TSImage : public TImage {
public:
    TSImage(TForm* owner, std::wstring name, TWindow* parent);

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void NotifyMouseEnter() override;
    void NotifyMouseLeave() override;
    // Fire the events; the picture swap of derived images hooks in here.
    virtual void MouseEnter();
    virtual void MouseLeave();

    bool mouseInside_ = false;
};
