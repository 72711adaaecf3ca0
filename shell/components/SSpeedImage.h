#pragma once
// An image that swaps its picture while the mouse pointer is over it and while the left
// button is held on it, and shows its normal picture again afterwards.
#include "shell/components/SImage.h"

class TSSpeedImage : public TSImage {
public:
    TSSpeedImage(TForm* owner, std::wstring name, TWindow* parent);

    // Called by the form once the designed picture is set: that picture becomes the normal
    // one (only when it holds a graphic). A picture set later in code is not taken.
    virtual void Loaded();

    const TPicture& MouseDownPicture() const { return mouseDownPicture_; }
    const TPicture& MouseEnterPicture() const { return mouseEnterPicture_; }
    // Take a copy of the given picture; a missing one (null) changes nothing.
    void SetMouseDownPicture(const TPicture* picture);
    void SetMouseEnterPicture(const TPicture* picture);

protected:
    void MouseDown(TMouseButton button, int x, int y) override;
    void MouseUp(TMouseButton button, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseCaptureLost() override;

private:
    // Back to the look of a control that is not pressed.
    void Unpress();
    bool held_ = false;
    TPicture normalPicture_;
    TPicture mouseDownPicture_;
    TPicture mouseEnterPicture_;
};
