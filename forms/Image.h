#pragma once
// An image: a control that shows a picture at its top-left corner at its own size.
#include <windows.h>

#include "forms/Controls.h"
#include "forms/MouseInput.h"
#include "forms/Picture.h"

class TImage : public TControl, protected TMouseInput {
public:
    TImage(TForm* owner, std::wstring name, TWindow* parent);

    const TPicture& Picture() const { return picture_; }
    // Takes a copy of the picture and repaints.
    void SetPicture(const TPicture& picture);
    // The mouse pointer over the image; null shows the arrow.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // A click raises OnClick.
    void Click() override;

private:
    TPicture picture_;
    HCURSOR cursor_ = nullptr;
};
