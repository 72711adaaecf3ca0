#pragma once
// The events of a component that reports the mouse pointer moving onto and off it, and
// whether the pointer is over it now. TBase is a control that gets the pointer's enter
// and leave notifications.
#include "forms/Component.h"

template <class TBase> class TMouseHover : public TBase {
public:
    using TBase::TBase;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    void NotifyMouseEnter() override {
        TBase::NotifyMouseEnter();
        mouseInside_ = true;
        MouseEnter();
    }
    void NotifyMouseLeave() override {
        TBase::NotifyMouseLeave();
        mouseInside_ = false;
        MouseLeave();
    }
    // Fire the events; the hover looks of derived components hook in here.
    virtual void MouseEnter() {
        if (OnMouseEnter)
            OnMouseEnter(this);
    }
    virtual void MouseLeave() {
        if (OnMouseLeave)
            OnMouseLeave(this);
    }

    bool mouseInside_ = false;
};
