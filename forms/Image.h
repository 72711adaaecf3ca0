#pragma once
// An image: a control that shows a picture at its top-left corner at its own size.
#include <windows.h>

#include "forms/PaintedControl.h"
#include "forms/Picture.h"

class TImage : public TPaintedControl<TControl> {
public:
    TImage(TForm* owner, std::wstring name, TWindow* parent);

    const TPicture& Picture() const { return picture_; }
    // Takes a copy of the picture and repaints.
    void SetPicture(const TPicture& picture);
    // The mouse pointer over the image; null shows the arrow.
    using TPaintedControl::Cursor;
    using TPaintedControl::SetCursor;

protected:
    void Paint(HDC dc) override;

private:
    TPicture picture_;
};
